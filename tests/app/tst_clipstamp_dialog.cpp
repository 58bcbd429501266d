#include <stdlib.h>
#include <time.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "app/about_box.h"
#include "app/clipstamp_dialog.h"
#include "app/command_line.h"
#include "app/dialog_program.h"
#include "app/folder_chooser.h"
#include "tests/support/test_support.h"

namespace {

// Runs `action` on every modal window of type T that opens while the watcher lives.
template <typename T>
class WhenShown {
 public:
  explicit WhenShown(std::function<void(T*)> action) {
    QObject::connect(&m_timer, &QTimer::timeout, [this, action] {
      auto* widget = qobject_cast<T*>(QApplication::activeModalWidget());
      if (widget == nullptr || !widget->isVisible() || widget == m_last) return;
      m_last = widget;
      ++m_count;
      action(widget);
    });
    m_timer.start(10);
  }
  int m_count = 0;

 private:
  QTimer m_timer;
  QPointer<QWidget> m_last;
};

template <typename T = QLineEdit>
T* Control(QWidget* dialog, const char* name) {
  return dialog->findChild<T*>(QString::fromLatin1(name));
}

QString Text(QWidget* dialog, const char* name) { return Control(dialog, name)->text(); }

// The fields as the user sees them: folder, format, combined name, offset, video system.
QStringList Fields(QWidget* dialog) {
  QStringList fields;
  for (const char* name : {"folderEdit", "formatEdit", "combinedNameEdit", "offsetEdit"}) {
    fields << Text(dialog, name);
  }
  return fields << (Control<QRadioButton>(dialog, "ntscRadio")->isChecked() ? "NTSC" : "PAL");
}

// The clips of the New York daylight-saving case.
std::string SampleFolder(const TempFolder& root, const std::string& name) {
  std::filesystem::copy(TestData("e2e/dst_new_york/in/clips"), root / name);
  return root / name;
}

std::unique_ptr<CClipstampDialog> DialogFor(std::vector<const char*> arguments) {
  return CreateSettingsDialog(TrimOptions(ParseArguments(arguments)));
}

void Click(QWidget* dialog, const char* button) {
  QTest::mouseClick(Control<QPushButton>(dialog, button), Qt::LeftButton);
}

}  // namespace

class TestClipstampDialog : public QObject {
  Q_OBJECT

 private slots:
  void showsTheCommandLineAndOkConvertsExactlyAsTheSilentRunAndCancelNothing() {
    const TempFolder root;
    const std::vector<const char*> options = {"-c",    "MOVALL.SUB", "-f", "%A %B%n%T %Z",
                                              "-ntsc", "-o",         "-61"};
    RunOptions silent;
    silent.arguments = {"-d", SampleFolder(root, "silent")};
    silent.arguments.insert(silent.arguments.end(), options.begin(), options.end());
    silent.environment = {std::string("TZ=") + kBerlin, "LC_ALL=de_DE.UTF-8"};
    QCOMPARE(RunClipstamp(silent).exitStatus, 0);

    const std::string folder = SampleFolder(root, "dialog");
    for (const char* button : {"cancelButton", "okButton"}) {
      const auto dialog = DialogFor(options);
      QCOMPARE(Fields(dialog.get()),
               (QStringList{"", "%A %B%n%T %Z", "MOVALL.SUB", "-61", "NTSC"}));
      dialog->show();
      Control(dialog.get(), "folderEdit")->setText(QString::fromStdString(folder));
      Click(dialog.get(), button);
      QVERIFY(!dialog->isVisible());
      QCOMPARE(FileTree(folder).size(), button[0] == 'c' ? std::size_t{3} : std::size_t{7});
    }
    QCOMPARE(FileTree(folder), FileTree(silent.arguments[1]));
  }

  void invalidOffsetPromptsOnceAndKeepsTheDialogOpen() {
    const TempFolder root;
    const std::string folder = SampleFolder(root, "clips");
    CClipstampDialog dialog(QString::fromStdString(folder), QString(), QString(), false, 0);
    dialog.show();
    Control(&dialog, "offsetEdit")->setText(QStringLiteral("half an hour"));
    const WhenShown<QMessageBox> prompts([](QMessageBox* box) { box->accept(); });
    Click(&dialog, "okButton");
    QTest::qWait(300);
    QCOMPARE(prompts.m_count, 1);
    QVERIFY(dialog.isVisible());
    QCOMPARE(FileTree(folder).size(), std::size_t{3});
  }

  void failureIsShownAndTheDialogStaysOpenUntilMended() {
    const TempFolder root;
    const std::string folder = SampleFolder(root, "clips");
    // A folder in place of a subtitle file cannot be replaced, even by root.
    const std::string blocked = folder + "/B.SUB";
    std::filesystem::create_directory(blocked);
    CClipstampDialog dialog(QString::fromStdString(folder), QString(), QString(), false, 0);
    dialog.show();
    QString message;
    const WhenShown<QMessageBox> box([&](QMessageBox* shown) {
      message = shown->windowTitle() + "|" + shown->text();
      shown->accept();
    });
    Click(&dialog, "okButton");
    QCOMPARE(message.toStdString(), "Clipstamp|1 of 4 subtitle files could not be written:\n" +
                                        blocked + ": " +
                                        std::make_error_code(std::errc::is_a_directory).message());
    QVERIFY(dialog.isVisible());
    QCOMPARE(Text(&dialog, "folderEdit").toStdString(), folder);

    std::filesystem::remove(blocked);
    Click(&dialog, "okButton");
    QVERIFY(!dialog.isVisible());
    QCOMPARE(FileTree(folder).size(), std::size_t{7});
  }

  void cancelInTheProgressWindowKeepsFinishedAndOldFiles() {
    const TempFolder root;
    const std::string clip = ReadFile(TestData("e2e/dst_new_york/in/clips/A.MOI")).value();
    const auto name = [](int i, const char* type) {
      return "MOV" + std::to_string(100 + i) + type;
    };
    for (int i = 0; i < 20; ++i) {
      std::ofstream(root / name(i, ".MOI")) << clip;
      std::ofstream(root / name(i, ".SUB")) << "old";
    }
    std::ofstream(root / "MOVALL.SUB") << "old";
    CClipstampDialog dialog(QString::fromStdString(root / ""), QString(), QString(), false, 0);
    dialog.m_progressDelay = std::chrono::milliseconds(0);
    dialog.show();
    QString label;
    QTimer canceller;  // a zero timer runs on every pass of the event loop
    QObject::connect(&canceller, &QTimer::timeout, [&] {
      auto* progress = dialog.findChild<QProgressDialog*>("runProgress");
      if (!label.isEmpty() || progress == nullptr || progress->value() < 2) return;
      label = progress->labelText();
      QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
    });
    canceller.start(0);
    Click(&dialog, "okButton");
    QVERIFY(dialog.isVisible());
    std::map<std::string, std::string> cancelled = FileTree(root.Path());
    dialog.m_progressDelay = std::chrono::hours(1);
    Click(&dialog, "okButton");

    int finished = 0;
    while (finished < 20 && cancelled[name(finished, ".SUB")] != "old") ++finished;
    QCOMPARE(label, QString::fromStdString("Converting clip " + std::to_string(finished + 1) +
                                           " of 20\n" + name(finished, ".MOI")));
    std::map<std::string, std::string> expected = FileTree(root.Path());
    for (int i = finished; i < 20; ++i) expected[name(i, ".SUB")] = "old";
    expected["MOVALL.SUB"] = "old";
    QCOMPARE(cancelled, expected);
  }

  void combinedNameFollowsTheChosenFolder() {
    const TempFolder root;
    CClipstampDialog dialog(QString(), QString(), QString(), false, 0);
    // The folder and combined name shown after choosing root / `name`.
    const auto choose = [&](const std::string& name) {
      std::filesystem::create_directories(root / name);
      const WhenShown<FolderChooser> chosen([&](FolderChooser* chooser) {
        chooser->SelectFolder(QString::fromStdString(root / name));
        chooser->accept();
      });
      Click(&dialog, "browseFolderButton");
      return (Text(&dialog, "folderEdit") + " " + Text(&dialog, "combinedNameEdit")).toStdString();
    };
    const std::string first = root / "first";
    QCOMPARE(choose("first"), first + " " + first + "/MOVALL.SUB");
  }

  void aboutBoxOpensFromF1AndTabFollowsTheTemplate() {
    CClipstampDialog dialog(QString(), QString(), QString(), false, 0);
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
    const WhenShown<CAboutBox> about([](CAboutBox* box) { box->accept(); });
    QTest::keyClick(&dialog, Qt::Key_F1);
    QTRY_COMPARE(about.m_count, 1);
  }

  void nothingOverlapsAndEveryTextFits() {
    CClipstampDialog dialog(QString(), QString(), QString(), false, 0);
    CAboutBox about(dialog.m_icon);
    for (QWidget* window : {static_cast<QWidget*>(&dialog), static_cast<QWidget*>(&about)}) {
      const QList<QWidget*> controls = window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
      for (QWidget* a : controls) {
        QVERIFY(window->rect().contains(a->geometry()));
        for (QWidget* b : controls) {
          const auto nested = [](QWidget* group, QWidget* radio) {
            return group->objectName() == "systemGroup" && radio->inherits("QRadioButton");
          };
          QVERIFY2(
              a == b || nested(a, b) || nested(b, a) || !a->geometry().intersects(b->geometry()),
              qPrintable(a->objectName() + " overlaps " + b->objectName()));
        }
        const QString text = a->property("text").toString();
        const int needed = a->inherits("QRadioButton") ? a->sizeHint().width()
                                                       : a->fontMetrics().horizontalAdvance(text);
        QVERIFY2(needed <= a->width(), qPrintable(text));
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
