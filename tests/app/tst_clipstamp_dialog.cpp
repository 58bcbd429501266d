#include <locale.h>
#include <stdlib.h>
#include <time.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "app/qt/about_box.h"
#include "app/qt/clipstamp_dialog.h"
#include "app/qt/folder_chooser.h"
#include "app/settings/command_line.h"
#include "tests/support/test_support.h"

namespace {

// Runs `action` on each window of type T that becomes the active modal one while the timer lives.
template <typename T>
std::unique_ptr<QTimer> WhenShown(std::function<void(T*)> action) {
  auto timer = std::make_unique<QTimer>();
  QObject::connect(timer.get(), &QTimer::timeout, [action, last = (QWidget*)nullptr]() mutable {
    auto* shown = qobject_cast<T*>(QApplication::activeModalWidget());
    if (shown == nullptr || shown == last || !shown->isVisible()) return;
    last = shown;
    action(shown);
  });
  timer->start(10);
  return timer;
}

template <typename T = QLineEdit>
T* Control(QWidget* window, const char* name) {
  return window->findChild<T*>(QString::fromLatin1(name));
}

std::string Text(QWidget* dialog, const char* box) {
  return Control(dialog, box)->text().toStdString();
}

void Type(QWidget* dialog, const char* box, const std::string& text) {
  Control(dialog, box)->setText(QString::fromStdString(text));
}

void Click(QWidget* window, const char* button) {
  QTest::mouseClick(Control<QAbstractButton>(window, button), Qt::LeftButton);
}

}  // namespace

class TestClipstampDialog : public QObject {
  Q_OBJECT

 private slots:
  // Every control reaches the run: the dialog starts from the command line, the user types a
  // folder and an offset and picks NTSC, and OK converts as the silent run with those values.
  void okConvertsWhatTheControlsShowExactlyAsTheSilentRunAndCancelNothing() {
    locale_t german = newlocale(LC_ALL_MASK, "de_DE.UTF-8", nullptr);
    if (german == nullptr) QSKIP("the locale de_DE.UTF-8 is missing (scripts/install-deps.sh)");
    freelocale(german);
    const TempFolder root;
    for (const char* name : {"silent", "dialog"}) {
      std::filesystem::copy(TestData("e2e/dst_new_york/in/clips"), root / name);
    }
    RunOptions silent;
    silent.arguments = {"-d",           root / "silent", "-c", "MOVALL.SUB", "-f",
                        "%A %B%n%T %Z", "-ntsc",         "-o", "-61"};
    silent.environment = {std::string("TZ=") + kBerlin, "LC_ALL=de_DE.UTF-8"};
    QCOMPARE(RunClipstamp(silent).exitStatus, 0);
    for (const char* button : {"cancelButton", "okButton"}) {
      CClipstampDialog dialog(ParseArguments(
          std::vector<const char*>{"-c", "MOVALL.SUB", "-f", "%A %B%n%T %Z", "-o", "5"}));
      QCOMPARE(Text(&dialog, "formatEdit") + "|" + Text(&dialog, "combinedNameEdit") + "|" +
                   Text(&dialog, "offsetEdit"),
               "%A %B%n%T %Z|MOVALL.SUB|5");
      QVERIFY(Control<QRadioButton>(&dialog, "palRadio")->isChecked());
      dialog.show();
      Type(&dialog, "folderEdit", root / "dialog");
      Type(&dialog, "offsetEdit", "-61");
      Click(&dialog, "ntscRadio");
      Click(&dialog, button);
      QVERIFY(!dialog.isVisible());
      QCOMPARE(FileTree(root / "dialog").size(), button[0] == 'c' ? 3u : 7u);
    }
    QCOMPARE(FileTree(root / "dialog"), FileTree(root / "silent"));
  }

  // The offset prompt, a failure and the run's progress are windows over the dialog, which stays
  // open: after the prompt the offset box has the focus with its text selected; the progress
  // window names the clip, and its Cancel stops the run.
  void promptFailureAndProgressAreWindowsOverTheOpenDialog() {
    const TempFolder root;
    std::filesystem::copy(TestData("e2e/dst_new_york/in/clips"), root.Path());
    CClipstampDialog dialog({root / "missing", "", "", kPal, 0});
    dialog.show();
    QStringList shown;
    const auto boxes = WhenShown<QMessageBox>([&](QMessageBox* box) {
      shown << box->windowTitle() + "|" + box->text().section('"', 0, 0);
      box->accept();
    });
    Type(&dialog, "offsetEdit", "half an hour");
    Click(&dialog, "okButton");
    QCOMPARE(dialog.focusWidget(), Control(&dialog, "offsetEdit"));
    QCOMPARE(Control(&dialog, "offsetEdit")->selectedText(), QStringLiteral("half an hour"));
    Type(&dialog, "offsetEdit", "0");
    Click(&dialog, "okButton");
    QCOMPARE(shown, (QStringList{QStringLiteral("Clipstamp|") + kOffsetPrompt,
                                 QStringLiteral("Clipstamp|The folder ")}));

    Type(&dialog, "folderEdit", root.Path().string());
    dialog.m_progressDelay = std::chrono::milliseconds(0);
    QString label;
    QTimer canceller;  // a zero timer runs on every pass of the event loop
    QObject::connect(&canceller, &QTimer::timeout, [&] {
      auto* progress = dialog.findChild<QProgressDialog*>("runProgress");
      if (!label.isEmpty() || progress == nullptr || !progress->isVisible()) return;
      label = progress->labelText();
      QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
    });
    canceller.start(0);
    Click(&dialog, "okButton");
    QVERIFY(dialog.isVisible());
    const std::size_t finished = FileTree(root.Path()).size() - 3;
    QVERIFY(finished < 3);
    QCOMPARE(label.toStdString(),
             DescribeProgress(finished, 3, root / std::string(1, "ABC"[finished]) + ".MOI"));
  }

  // The folder chooser starts at the nearest existing parent of the typed folder with OK
  // enabled, and its OK takes the choice; the combined file's chooser gives a typed name ".SUB".
  void choosersStartFromTheBoxesAndFillThem() {
    const TempFolder root;
    std::filesystem::create_directories(root / "chosen");
    CClipstampDialog dialog({root / "a/b", "", "", kPal, 0});
    dialog.show();
    QString preselected;
    const auto folders = WhenShown<FolderChooser>([&](FolderChooser* chooser) {
      QPushButton* ok = chooser->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
      preselected = chooser->SelectedFolder() + "|" +
                    Control<QLabel>(chooser, "statusText")->text() + "|" +
                    QString::number(ok->isEnabled());
      chooser->SelectFolder(QString::fromStdString(root / "chosen"));
      QTest::mouseClick(ok, Qt::LeftButton);
      if (chooser->isVisible()) chooser->reject();
    });
    Click(&dialog, "browseFolderButton");
    QCOMPARE(preselected.toStdString(), root.Path().string() + "|" + root.Path().string() + "|1");
    QCOMPARE(Text(&dialog, "folderEdit"), root / "chosen");

    const auto files = WhenShown<QFileDialog>([&](QFileDialog* chooser) {
      QTest::keyClicks(Control(chooser, "fileNameEdit"), "all");
      QTest::keyClick(Control(chooser, "fileNameEdit"), Qt::Key_Return);
    });
    Type(&dialog, "combinedNameEdit", "");
    Click(&dialog, "browseCombinedButton");
    QCOMPARE(Text(&dialog, "combinedNameEdit"), root / "chosen/all.SUB");
  }

  // Tab follows the template; F1 opens the about box, which shows the icon; in neither window
  // does anything overlap or a text not fit, and neither can be resized.
  void tabOrderAboutBoxAndLayout() {
    CClipstampDialog dialog(ConversionSettings{});
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QStringList order{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 8; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      order << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(order, (QStringList{"okButton", "cancelButton", "folderEdit", "browseFolderButton",
                                 "formatEdit", "combinedNameEdit", "browseCombinedButton",
                                 "offsetEdit", "okButton"}));
    QCOMPARE(dialog.actions().first()->text(), QStringLiteral("&About Clipstamp..."));
    QSize icon;
    const auto about = WhenShown<CAboutBox>([&](CAboutBox* box) {
      icon = Control<QLabel>(box, "iconLabel")->pixmap().size();
      box->accept();
    });
    QTest::keyClick(&dialog, Qt::Key_F1);
    QTRY_COMPARE(icon, QSize(32, 32));

    CAboutBox box(dialog.m_icon);
    for (QWidget* window : {static_cast<QWidget*>(&dialog), static_cast<QWidget*>(&box)}) {
      QCOMPARE(window->minimumSize(), window->maximumSize());
      const QList<QWidget*> controls = window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
      for (QWidget* a : controls) {
        QVERIFY(window->rect().contains(a->geometry()));
        for (QWidget* b : controls) {
          // The radio buttons sit inside the group box.
          const auto inside = [](QWidget* radio, QWidget* group) {
            return radio->inherits("QRadioButton") && group->objectName() == "systemGroup";
          };
          QVERIFY2(
              a == b || inside(a, b) || inside(b, a) || !a->geometry().intersects(b->geometry()),
              qPrintable(a->objectName() + " overlaps " + b->objectName()));
        }
        const int needed = a->inherits("QRadioButton")
                               ? a->sizeHint().width()
                               : a->fontMetrics().horizontalAdvance(a->property("text").toString());
        QVERIFY2(needed <= a->width(), qPrintable(a->objectName()));
      }
    }
  }
};

int main(int argc, char** argv) {
  // Qt sets the process locale from the environment; captions must stay English regardless.
  setenv("LC_ALL", "de_DE.UTF-8", 1);
  setenv("TZ", kBerlin, 1);
  tzset();
  QApplication application(argc, argv);
  TestClipstampDialog test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_clipstamp_dialog.moc"
