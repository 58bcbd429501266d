#include <locale.h>
#include <stdlib.h>
#include <time.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "app/qt/about_box.h"
#include "app/qt/clipstamp_dialog.h"
#include "app/qt/folder_chooser.h"
#include "app/settings/command_line.h"
#include "tests/support/test_support.h"

namespace {

// Runs `action` on each window of type T that becomes the active modal one while the timer lives,
// looking every `interval` milliseconds (0: on every pass of the event loop).
template <typename T>
std::unique_ptr<QTimer> WhenShown(std::function<void(T*)> action, int interval = 10) {
  auto timer = std::make_unique<QTimer>();
  // A window of the same type may be made where the last one was.
  QObject::connect(timer.get(), &QTimer::timeout, [action, last = QPointer<QWidget>()]() mutable {
    auto* shown = qobject_cast<T*>(QApplication::activeModalWidget());
    if (shown == nullptr || shown == last || !shown->isVisible()) return;
    last = shown;
    action(shown);
  });
  timer->start(interval);
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
  // Every control reaches the run: the dialog starts from the command line. OK without a folder
  // asks for one, an offset that is no whole number is pointed out (the offset box then has the
  // focus, its text selected) and a missing folder is named, each in a message box over the dialog,
  // which stays open. The progress window names the clip and its Cancel stops the run, the dialog
  // staying open; OK then converts as the silent run with the values typed (a folder, an offset,
  // NTSC, WebVTT) and closes the dialog.
  void okConvertsWhatTheControlsShowExactlyAsTheSilentRun() {
    locale_t german = newlocale(LC_ALL_MASK, "de_DE.UTF-8", nullptr);
    if (german == nullptr) QSKIP("the locale de_DE.UTF-8 is missing (scripts/install-deps.sh)");
    freelocale(german);
    const TempFolder root;
    for (const char* name : {"silent", "dialog"}) {
      std::filesystem::copy(TestData("e2e/dst_new_york/in/clips"), root / name);
    }
    RunOptions silent;
    silent.arguments = {"-d",           root / "silent", "-c", "MOVALL.SUB", "-f",
                        "%A %B%n%T %Z", "-ntsc",         "-o", "-61",        "--vtt"};
    silent.environment = {std::string("TZ=") + kBerlin, "LC_ALL=de_DE.UTF-8"};
    QCOMPARE(RunClipstamp(silent).exitStatus, 0);
    CClipstampDialog dialog(ParseArguments(
        std::vector<const char*>{"-c", "MOVALL.SUB", "-f", "%A %B%n%T %Z", "-o", "5", "--srt"}));
    auto* format = Control<QComboBox>(&dialog, "subtitleFormatCombo");
    QCOMPARE(Text(&dialog, "folderEdit") + "|" + Text(&dialog, "formatEdit") + "|" +
                 Text(&dialog, "combinedNameEdit") + "|" + Text(&dialog, "offsetEdit") + "|" +
                 format->currentText().toStdString() +
                 (Control<QRadioButton>(&dialog, "palRadio")->isChecked() ? "|PAL" : ""),
             "|%A %B%n%T %Z|MOVALL.SUB|5|SRT|PAL");
    dialog.show();
    QStringList shown;
    const auto boxes = WhenShown<QMessageBox>([&](QMessageBox* box) {
      shown << box->windowTitle() + "|" + box->text().section('"', 0, 0);
      box->accept();
    });
    Click(&dialog, "okButton");
    Type(&dialog, "folderEdit", root / "missing");
    Type(&dialog, "offsetEdit", "half an hour");
    Click(&dialog, "okButton");
    QCOMPARE(dialog.focusWidget(), Control(&dialog, "offsetEdit"));
    QCOMPARE(Control(&dialog, "offsetEdit")->selectedText(), QStringLiteral("half an hour"));
    Type(&dialog, "offsetEdit", "-61");
    Click(&dialog, "okButton");

    Type(&dialog, "folderEdit", root / "dialog");
    Click(&dialog, "ntscRadio");
    format->setCurrentText(QStringLiteral("VTT"));
    dialog.m_progressDelay = std::chrono::milliseconds(0);
    QString label;
    const auto progress = WhenShown<QProgressDialog>(
        [&](QProgressDialog* window) {
          if (!label.isEmpty()) return;  // the first run only
          label = window->labelText();
          QTest::mouseClick(window->findChild<QPushButton*>(), Qt::LeftButton);
        },
        0);
    Click(&dialog, "okButton");
    QVERIFY(dialog.isVisible());
    const std::size_t finished = FileTree(root / "dialog").size() - 3;
    QVERIFY(finished < 3);
    QCOMPARE(label.toStdString(),
             DescribeProgress(finished, 3, root / "dialog/" + "ABC"[finished] + ".MOI"));
    Click(&dialog, "okButton");
    QVERIFY(!dialog.isVisible());
    QCOMPARE(FileTree(root / "dialog"), FileTree(root / "silent"));
    QCOMPARE(shown, (QStringList{QStringLiteral("Clipstamp|") + kChooseFolderMessage,
                                 QStringLiteral("Clipstamp|") + kOffsetPrompt,
                                 QStringLiteral("Clipstamp|The folder ")}));
  }

  // The folder chooser starts at the nearest existing parent of the typed folder with OK
  // enabled, and its OK takes the choice; the combined file's chooser gives a typed name ".SUB".
  // Cancel then converts nothing (OK would write the combined file).
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
    Click(&dialog, "cancelButton");
    QVERIFY(!dialog.isVisible() && FileTree(root.Path()).empty());
  }

  // The preselected folder ends up selected and in view once the model has read the folders
  // above it, here more than the tree shows at once, in the background.
  void folderChooserScrollsThePreselectedFolderIntoView() {
    const TempFolder root;
    for (int i = 0; i < 40; ++i)
      std::filesystem::create_directories(root / ("1/2/3/4/" + std::to_string(i)));
    std::filesystem::create_directories(root / "1/2/3/4/z");
    FolderChooser chooser(QString::fromStdString(root / "1/2/3/4/z"));
    chooser.show();
    auto* tree = Control<QTreeView>(&chooser, "folderTree");
    QCOMPARE(chooser.SelectedFolder().toStdString(), root / "1/2/3/4/z");
    QVERIFY(tree->selectionModel()->isSelected(tree->currentIndex()));
    // Sorted in after its 40 siblings, once they are read.
    QTRY_VERIFY(tree->currentIndex().row() == 40 &&
                tree->viewport()->rect().contains(tree->visualRect(tree->currentIndex())));
  }

  // Started through clipstamp with no display, or one that cannot be opened (a stale forwarded
  // one), the dialog program says so in one line and exits with status 2.
  void withoutAUsableDisplayOneLineAndStatus2() {
    for (const auto& [variable, problem] :
         {std::pair{"DISPLAY=", "no display"},
          {"DISPLAY=:12345", "cannot open the display \":12345\""},
          {"WAYLAND_DISPLAY=wayland-12345", "cannot open the display \"wayland-12345\""}}) {
      RunOptions options;
      options.environment = {variable};
      const RunResult result = RunClipstamp(options);
      QCOMPARE(std::to_string(result.exitStatus) + " " + result.output,
               std::string("2 clipstamp: ") + problem +
                   " for the settings dialog; to convert without it, name the folder: clipstamp "
                   "-d FOLDER\n");
    }
  }

  // Tab follows the template; F1 opens the about box, which shows the icon; neither window can
  // be resized.
  void tabOrderAndAboutBox() {
    CClipstampDialog dialog(ConversionSettings{});
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QStringList order{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 9; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      order << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(order, (QStringList{"okButton", "cancelButton", "folderEdit", "browseFolderButton",
                                 "formatEdit", "combinedNameEdit", "browseCombinedButton",
                                 "offsetEdit", "subtitleFormatCombo", "okButton"}));
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
