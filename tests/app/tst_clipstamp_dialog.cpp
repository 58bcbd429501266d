#include <stdlib.h>
#include <time.h>

#include <filesystem>
#include <map>

#include <QAbstractButton>
#include <QAction>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

#include "app/about_box.h"
#include "app/clipstamp_dialog.h"
#include "app/command_line.h"
#include "app/dialog_program.h"
#include "app/dialog_units.h"
#include "app/folder_chooser.h"
#include "tests/app/modal_helper.h"
#include "tests/support/run_process.h"
#include "tests/support/test_support.h"

namespace {

template <typename T>
T* Control(QWidget* dialog, const char* name) {
  T* widget = dialog->findChild<T*>(QString::fromLatin1(name));
  if (widget == nullptr) qFatal("no control named %s", name);
  return widget;
}

QString Text(QWidget* dialog, const char* name) { return Control<QLineEdit>(dialog, name)->text(); }

// Names and contents of the files in a folder.
std::map<std::string, std::string> Contents(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    files[entry.path().filename().string()] = ReadFileText(entry.path().string()).value_or("?");
  }
  return files;
}

void WriteSampleClips(const std::string& folder) {
  std::filesystem::create_directories(folder);
  WriteClipFile(
      folder + "/a.MOI",
      {.month = 3, .day = 25, .hour = 1, .minute = 59, .milliseconds = 57250, .durationMs = 3500});
  WriteClipFile(folder + "/b.moi", {.month = 10,
                                    .day = 28,
                                    .hour = 2,
                                    .minute = 59,
                                    .milliseconds = 58900,
                                    .durationMs = 40000});
}

}  // namespace

class TestClipstampDialog : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    g_initialFolder.clear();
    m_root = std::make_unique<TempFolder>();
  }
  void cleanup() { m_root.reset(); }

  void prefillsFromTheCommandLine_data();
  void prefillsFromTheCommandLine();
  void dataExchangeRoundTrip();
  void readsTheOffsetAsAWholeNumber_data();
  void readsTheOffsetAsAWholeNumber();
  void okConvertsExactlyAsTheSilentRun_data();
  void okConvertsExactlyAsTheSilentRun();
  void cancelConvertsNothing();
  void invalidOffsetShowsOnePromptAndKeepsTheDialogOpen();
  void folderChoicesMoveTheDefaultCombinedFile();
  void browsingWithAnInvalidOffsetRestoresTheLastValidOne();
  void chooserPreselectsAndShowsTheSelectedPath();
  void combinedFileChooserSetsTheField();
  void aboutBoxFromTheContextMenuAndF1();
  void layoutFollowsTheTemplate_data();
  void layoutFollowsTheTemplate();
  void controlsDoNotOverlapAndTextsFit();
  void tabOrderAndInitialFocus();

 private:
  std::string Path(const std::string& name) const { return (*m_root) / name; }

  std::unique_ptr<TempFolder> m_root;
};

void TestClipstampDialog::prefillsFromTheCommandLine_data() {
  QTest::addColumn<QString>("tail");
  QTest::addColumn<QString>("folder");
  QTest::addColumn<QString>("format");
  QTest::addColumn<QString>("combined");
  QTest::addColumn<bool>("ntsc");
  QTest::addColumn<QString>("offset");
  QTest::newRow("no options") << ""
                              << ""
                              << "%Y-%m-%d | %H:%M:%S"
                              << "MOVALL.SUB" << false << "0";
  QTest::newRow("combined name and offset") << "-c all.sub -o 5"
                                            << ""
                                            << "%Y-%m-%d | %H:%M:%S"
                                            << "all.sub" << false << "5";
  QTest::newRow("format, NTSC, negative offset") << "-f \" %H:%M \" -NTSC -o -90"
                                                 << ""
                                                 << "%H:%M"
                                                 << "MOVALL.SUB" << true << "-90";
  QTest::newRow("options after an unclosed quote are quoted text") << "-o 3 -d \"/v -c x.sub"
                                                                   << ""
                                                                   << "%Y-%m-%d | %H:%M:%S"
                                                                   << "MOVALL.SUB" << false << "3";
}

void TestClipstampDialog::prefillsFromTheCommandLine() {
  QFETCH(QString, tail);
  const CommandLineOptions options = TrimOptions(ParseCommandLine(tail.toStdString()));
  QVERIFY(options.folder.empty());
  const std::unique_ptr<CClipstampDialog> dialog = CreateSettingsDialog(options);
  QTEST(Text(dialog.get(), "folderEdit"), "folder");
  QTEST(Text(dialog.get(), "formatEdit"), "format");
  QTEST(Text(dialog.get(), "combinedNameEdit"), "combined");
  QTEST(Control<QRadioButton>(dialog.get(), "ntscRadio")->isChecked(), "ntsc");
  QFETCH(bool, ntsc);
  QCOMPARE(Control<QRadioButton>(dialog.get(), "palRadio")->isChecked(), !ntsc);
  QTEST(Text(dialog.get(), "offsetEdit"), "offset");
}

void TestClipstampDialog::dataExchangeRoundTrip() {
  CClipstampDialog dialog(QString(), QString(), QString(), false, 0);
  dialog.m_folder = QStringLiteral(" /v/Sommer \u00e9t\u00e9 ");
  dialog.m_timeFormat = QStringLiteral("%d.%m.%Y");
  dialog.m_combinedName = QStringLiteral("/out/all.sub");
  dialog.m_videoSystem = 1;
  dialog.m_minuteOffset = -2147483647 - 1;
  QVERIFY(dialog.UpdateData(false));
  QCOMPARE(Text(&dialog, "folderEdit"), dialog.m_folder);
  QCOMPARE(Text(&dialog, "offsetEdit"), QStringLiteral("-2147483648"));
  QVERIFY(Control<QRadioButton>(&dialog, "ntscRadio")->isChecked());
  QVERIFY(!Control<QRadioButton>(&dialog, "palRadio")->isChecked());

  Control<QLineEdit>(&dialog, "formatEdit")->setText(QStringLiteral("%H "));
  Control<QLineEdit>(&dialog, "combinedNameEdit")->setText(QString());
  Control<QLineEdit>(&dialog, "offsetEdit")->setText(QStringLiteral(" +42 "));
  Control<QRadioButton>(&dialog, "palRadio")->click();
  QVERIFY(dialog.UpdateData(true));
  QCOMPARE(dialog.m_folder, QStringLiteral(" /v/Sommer \u00e9t\u00e9 "));
  QCOMPARE(dialog.m_timeFormat, QStringLiteral("%H "));
  QCOMPARE(dialog.m_combinedName, QString());
  QCOMPARE(dialog.m_videoSystem, 0);
  QCOMPARE(dialog.m_minuteOffset, 42);

  const ConversionSettings settings = dialog.Settings();
  QCOMPARE(settings.folder, std::string(" /v/Sommer \xc3\xa9t\xc3\xa9 "));
  QCOMPARE(settings.timeFormat, std::string("%H "));
  QCOMPARE(settings.combinedName, std::string());
  QCOMPARE(settings.videoSystem, 0);
  QCOMPARE(settings.minuteOffset, 42);
}

void TestClipstampDialog::readsTheOffsetAsAWholeNumber_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<bool>("valid");
  QTest::addColumn<int>("value");
  QTest::newRow("zero") << "0" << true << 0;
  QTest::newRow("spaces around") << " \t-15 " << true << -15;
  QTest::newRow("plus sign") << "+30" << true << 30;
  QTest::newRow("smallest") << "-2147483648" << true << -2147483647 - 1;
  QTest::newRow("too large") << "2147483648" << false << 0;
  QTest::newRow("empty") << "" << false << 0;
  QTest::newRow("sign only") << "-" << false << 0;
  QTest::newRow("fraction") << "1.5" << false << 0;
  QTest::newRow("word") << "ten" << false << 0;
  QTest::newRow("inner space") << "1 0" << false << 0;
}

void TestClipstampDialog::readsTheOffsetAsAWholeNumber() {
  QFETCH(QString, text);
  QFETCH(bool, valid);
  CClipstampDialog dialog(QString(), QString(), QString(), false, 7);
  Control<QLineEdit>(&dialog, "offsetEdit")->setText(text);
  QString prompt;
  const WhenShown<QMessageBox> shown([&](QMessageBox* box) {
    prompt = box->text();
    box->accept();
  });
  QCOMPARE(dialog.UpdateData(true), valid);
  QCOMPARE(shown.Count(), valid ? 0 : 1);
  if (valid) {
    QTEST(dialog.m_minuteOffset, "value");
  } else {
    QCOMPARE(dialog.m_minuteOffset, 7);
    QVERIFY2(prompt.contains(QStringLiteral("Time offset")), qPrintable(prompt));
  }
}

void TestClipstampDialog::okConvertsExactlyAsTheSilentRun_data() {
  QTest::addColumn<QStringList>("options");
  QTest::newRow("defaults") << QStringList{"-c", "MOVALL.SUB"};
  QTest::newRow("NTSC, offset, names and a line feed")
      << QStringList{"-c", "MOVALL.SUB", "-f", "%A %d %B%n%H:%M:%S %Z", "-ntsc", "-o", "-61"};
  QTest::newRow("no combined file") << QStringList{"-c", "", "-o", "1440"};
}

void TestClipstampDialog::okConvertsExactlyAsTheSilentRun() {
  QFETCH(QStringList, options);
  const std::string silent = Path("silent");
  const std::string viaDialog = Path("dialog");
  WriteSampleClips(silent);
  WriteSampleClips(viaDialog);

  RunOptions run;
  run.arguments = {"-d", silent};
  for (const QString& option : options) run.arguments.push_back(option.toStdString());
  run.environment = {std::string("TZ=") + kBerlin, "LC_ALL=de_DE.UTF-8", "HOME=" + Path("")};
  const RunResult result = RunProgram(CLIPSTAMP_EXE, run);
  QCOMPARE(result.exitStatus, 0);

  std::vector<const char*> arguments;
  for (std::size_t i = 2; i < run.arguments.size(); ++i)
    arguments.push_back(run.arguments[i].c_str());
  CommandLineOptions parsed = TrimOptions(ParseCommandLine(BuildCommandTail(arguments)));
  const std::unique_ptr<CClipstampDialog> dialog = CreateSettingsDialog(parsed);
  dialog->show();
  Control<QLineEdit>(dialog.get(), "folderEdit")->setText(QString::fromStdString(viaDialog));
  if (parsed.combinedName.empty()) Control<QLineEdit>(dialog.get(), "combinedNameEdit")->clear();
  QTest::mouseClick(Control<QPushButton>(dialog.get(), "okButton"), Qt::LeftButton);
  QCOMPARE(dialog->result(), int(QDialog::Accepted));
  QVERIFY(!dialog->isVisible());

  const auto expected = Contents(silent);
  QVERIFY(expected.size() >= 4);
  QCOMPARE(Contents(viaDialog), expected);
}

void TestClipstampDialog::cancelConvertsNothing() {
  const std::string folder = Path("clips");
  WriteSampleClips(folder);
  CClipstampDialog dialog(QString::fromStdString(folder), QString(), QString(), false, 0);
  dialog.show();
  QTest::mouseClick(Control<QPushButton>(&dialog, "cancelButton"), Qt::LeftButton);
  QCOMPARE(dialog.result(), int(QDialog::Rejected));
  QCOMPARE(Contents(folder).size(), std::size_t{2});
}

void TestClipstampDialog::invalidOffsetShowsOnePromptAndKeepsTheDialogOpen() {
  const std::string folder = Path("clips");
  WriteSampleClips(folder);
  CClipstampDialog dialog(QString::fromStdString(folder), QString(), QString(), false, 0);
  dialog.show();
  Control<QLineEdit>(&dialog, "formatEdit")->setText(QStringLiteral("%H typed"));
  Control<QLineEdit>(&dialog, "offsetEdit")->setText(QStringLiteral("half an hour"));
  const WhenShown<QMessageBox> prompts([](QMessageBox* box) { box->accept(); });
  QTest::mouseClick(Control<QPushButton>(&dialog, "okButton"), Qt::LeftButton);
  QTest::qWait(300);
  QCOMPARE(prompts.Count(), 1);
  QVERIFY(dialog.isVisible());
  QCOMPARE(Contents(folder).size(), std::size_t{2});
  QCOMPARE(Text(&dialog, "formatEdit"), QStringLiteral("%H typed"));
  QCOMPARE(Text(&dialog, "offsetEdit"), QStringLiteral("half an hour"));
  QCOMPARE(dialog.focusWidget(), Control<QLineEdit>(&dialog, "offsetEdit"));
}

void TestClipstampDialog::folderChoicesMoveTheDefaultCombinedFile() {
  const QString first = QString::fromStdString(Path("first"));
  const QString second = QString::fromStdString(Path("second"));
  QDir().mkpath(first);
  QDir().mkpath(second);
  CClipstampDialog dialog(QString(), QString(), QString(), false, 0);
  const auto choose = [&](const QString& folder) {
    const WhenShown<FolderChooser> chosen([&](FolderChooser* chooser) {
      chooser->SelectFolder(folder);
      chooser->accept();
    });
    QTest::mouseClick(Control<QPushButton>(&dialog, "browseFolderButton"), Qt::LeftButton);
    QCOMPARE(chosen.Count(), 1);
  };

  choose(first);
  QCOMPARE(Text(&dialog, "folderEdit"), first);
  QCOMPARE(Text(&dialog, "combinedNameEdit"), first + "/MOVALL.SUB");
  QCOMPARE(g_initialFolder, QString());
  choose(second);
  QCOMPARE(Text(&dialog, "folderEdit"), second);
  QCOMPARE(Text(&dialog, "combinedNameEdit"), second + "/MOVALL.SUB");
  QCOMPARE(g_initialFolder, first);

  Control<QLineEdit>(&dialog, "combinedNameEdit")->setText(QStringLiteral("/out/all.sub"));
  choose(first);
  QCOMPARE(Text(&dialog, "combinedNameEdit"), QStringLiteral("/out/all.sub"));

  const WhenShown<FolderChooser> cancelled([](FolderChooser* chooser) {
    chooser->SelectFolder(QDir::rootPath());
    chooser->reject();
  });
  QTest::mouseClick(Control<QPushButton>(&dialog, "browseFolderButton"), Qt::LeftButton);
  QCOMPARE(cancelled.Count(), 1);
  QCOMPARE(Text(&dialog, "folderEdit"), first);
  QCOMPARE(Text(&dialog, "combinedNameEdit"), QStringLiteral("/out/all.sub"));
}

void TestClipstampDialog::browsingWithAnInvalidOffsetRestoresTheLastValidOne() {
  const QString folder = QString::fromStdString(Path("clips"));
  QDir().mkpath(folder);
  CClipstampDialog dialog(QString(), QString(), QString(), false, 25);
  Control<QLineEdit>(&dialog, "offsetEdit")->setText(QStringLiteral("x"));
  const WhenShown<QMessageBox> prompted([](QMessageBox* box) { box->accept(); });
  const WhenShown<FolderChooser> chosen([&](FolderChooser* chooser) {
    chooser->SelectFolder(folder);
    chooser->accept();
  });
  QTest::mouseClick(Control<QPushButton>(&dialog, "browseFolderButton"), Qt::LeftButton);
  QCOMPARE(prompted.Count(), 1);
  QCOMPARE(chosen.Count(), 1);
  QCOMPARE(Text(&dialog, "folderEdit"), folder);
  QCOMPARE(Text(&dialog, "offsetEdit"), QStringLiteral("25"));
}

void TestClipstampDialog::chooserPreselectsAndShowsTheSelectedPath() {
  const QString folder = QString::fromStdString(Path("a/b"));
  QDir().mkpath(folder);
  struct Case {
    QString initial;
    QString expected;
  };
  const Case cases[] = {
      {folder, folder},
      {folder + "/missing/deeper", folder},
      {QString(), QDir::currentPath()},
      {QDir::rootPath(), QDir::rootPath()},
  };
  for (const Case& c : cases) {
    g_initialFolder = c.initial;
    FolderChooser chooser;
    QCOMPARE(chooser.SelectedFolder(), c.expected);
    QCOMPARE(chooser.StatusText(), c.expected);
  }

  g_initialFolder = folder;
  FolderChooser chooser;
  chooser.show();
  QTreeView* tree = Control<QTreeView>(&chooser, "folderTree");
  tree->setFocus();
  QTest::keyClick(tree, Qt::Key_Left);
  QTest::keyClick(tree, Qt::Key_Left);
  QCOMPARE(chooser.StatusText(), QString::fromStdString(Path("a")));
  chooser.SelectFolder(QDir::rootPath());
  QCOMPARE(chooser.StatusText(), QDir::rootPath());
}

void TestClipstampDialog::combinedFileChooserSetsTheField() {
  const QString folder = QString::fromStdString(Path("clips"));
  QDir().mkpath(folder);
  CClipstampDialog dialog(folder, QString(), QString(), false, 0);
  QString preselected;
  {
    const WhenShown<QFileDialog> chosen([&](QFileDialog* chooser) {
      preselected = chooser->directory().absolutePath();
      Control<QLineEdit>(chooser, "fileNameEdit")->setText(QStringLiteral("all"));
      static_cast<QDialog*>(chooser)->accept();
    });
    QTest::mouseClick(Control<QPushButton>(&dialog, "browseCombinedButton"), Qt::LeftButton);
    QCOMPARE(chosen.Count(), 1);
  }
  QCOMPARE(preselected, folder);
  QCOMPARE(Text(&dialog, "combinedNameEdit"), folder + "/all.SUB");

  const WhenShown<QFileDialog> cancelled([&](QFileDialog* chooser) {
    preselected = chooser->directory().absolutePath();
    chooser->reject();
  });
  QTest::mouseClick(Control<QPushButton>(&dialog, "browseCombinedButton"), Qt::LeftButton);
  QCOMPARE(cancelled.Count(), 1);
  QCOMPARE(preselected, folder);
  QCOMPARE(Text(&dialog, "combinedNameEdit"), folder + "/all.SUB");
}

void TestClipstampDialog::aboutBoxFromTheContextMenuAndF1() {
  CClipstampDialog dialog(QString(), QString(), QString(), false, 0);
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  const auto checkAbout = [](CAboutBox* about) {
    QCOMPARE(about->windowTitle(), QStringLiteral("About Clipstamp"));
    QCOMPARE(Control<QLabel>(about, "versionLabel")->text(),
             QStringLiteral("Clipstamp Version 0.1"));
    QVERIFY(!Control<QLabel>(about, "iconLabel")->pixmap().isNull());
    QTest::mouseClick(Control<QPushButton>(about, "okButton"), Qt::LeftButton);
  };

  QString item;
  {
    const WhenShown<QMenu> menuShown([&](QMenu* menu) {
      QCOMPARE(menu->actions().size(), 1);
      item = menu->actions().first()->text();
      menu->setActiveAction(menu->actions().first());
      QTest::keyClick(menu, Qt::Key_Return);
    });
    const WhenShown<CAboutBox> aboutFromMenu(checkAbout);
    const QPoint background(4, dialog.height() - 4);
    QContextMenuEvent event(QContextMenuEvent::Mouse, background, dialog.mapToGlobal(background));
    QApplication::sendEvent(&dialog, &event);
    QTRY_COMPARE(aboutFromMenu.Count(), 1);
    QCOMPARE(menuShown.Count(), 1);
  }
  QCOMPARE(item, QStringLiteral("&About Clipstamp..."));

  QApplication::setActiveWindow(&dialog);
  QVERIFY(QTest::qWaitForWindowActive(&dialog));
  const WhenShown<CAboutBox> aboutFromF1(checkAbout);
  QTest::keyClick(&dialog, Qt::Key_F1);
  QTRY_COMPARE(aboutFromF1.Count(), 1);
}

void TestClipstampDialog::layoutFollowsTheTemplate_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QRect>("dialogUnits");
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("controlId");
  QTest::newRow("OK") << "okButton" << QRect(246, 7, 50, 14) << "OK" << 1;
  QTest::newRow("Cancel") << "cancelButton" << QRect(246, 24, 50, 14) << "Cancel" << 2;
  QTest::newRow("folder") << "folderEdit" << QRect(43, 7, 161, 14) << "" << 1000;
  QTest::newRow("browse folder") << "browseFolderButton" << QRect(212, 7, 21, 14) << "?" << 1001;
  QTest::newRow("Directory") << "directoryLabel" << QRect(7, 9, 32, 11) << "Directory:" << 0;
  QTest::newRow("Format label") << "formatLabel" << QRect(7, 27, 32, 11) << "Format:" << 0;
  QTest::newRow("format") << "formatEdit" << QRect(43, 24, 161, 14) << "" << 1002;
  QTest::newRow("combined") << "combinedNameEdit" << QRect(43, 41, 161, 14) << "" << 1003;
  QTest::newRow("SUB file") << "subFileLabel" << QRect(7, 48, 30, 9) << "SUB file:" << 0;
  QTest::newRow("Combined") << "combinedLabel" << QRect(7, 39, 36, 9) << "Combined" << 0;
  QTest::newRow("browse combined")
      << "browseCombinedButton" << QRect(212, 41, 21, 14) << "?" << 1004;
  QTest::newRow("System") << "systemGroup" << QRect(7, 64, 99, 38) << "System" << 0;
  QTest::newRow("PAL") << "palRadio" << QRect(11, 76, 29, 10) << "PAL" << 1005;
  QTest::newRow("NTSC") << "ntscRadio" << QRect(11, 89, 73, 10) << "NTSC (not tested)" << 1006;
  QTest::newRow("offset") << "offsetEdit" << QRect(150, 66, 26, 14) << "" << 1007;
  QTest::newRow("Time offset") << "timeOffsetLabel" << QRect(111, 68, 38, 8) << "Time offset:" << 0;
  QTest::newRow("minutes") << "minutesLabel" << QRect(178, 68, 25, 8) << "minutes" << 0;
}

void TestClipstampDialog::layoutFollowsTheTemplate() {
  QFETCH(QString, name);
  QFETCH(QRect, dialogUnits);
  QFETCH(QString, text);
  QFETCH(int, controlId);
  CClipstampDialog dialog(QString(), QString(), QString(), false, 0);
  const DialogBaseUnits base = DialogBaseUnitsFor(dialog.font());
  QCOMPARE(dialog.font().pointSize(), 8);
  QCOMPARE(dialog.windowTitle(), QStringLiteral("Clipstamp"));
  QCOMPARE(dialog.size(), MapDialogRect(QRect(0, 0, 303, 110), base).size());
  QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
  QVERIFY(!(dialog.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
  QWidget* control = Control<QWidget>(&dialog, name.toLatin1().constData());
  QCOMPARE(control->parentWidget(), &dialog);
  QCOMPARE(control->geometry(), MapDialogRect(dialogUnits, base));
  QCOMPARE(control->property("controlId").toInt(), controlId);
  if (auto* button = qobject_cast<QAbstractButton*>(control)) QCOMPARE(button->text(), text);
  if (auto* label = qobject_cast<QLabel*>(control)) QCOMPARE(label->text(), text);
  if (auto* group = qobject_cast<QGroupBox*>(control)) QCOMPARE(group->title(), text);
  if (auto* edit = qobject_cast<QLineEdit*>(control)) QVERIFY(edit->hasFrame());
  QVERIFY(Control<QPushButton>(&dialog, "okButton")->isDefault());
  const QList<QSize> sizes = dialog.windowIcon().availableSizes();
  QVERIFY(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(32, 32)));
}

void TestClipstampDialog::controlsDoNotOverlapAndTextsFit() {
  // Texts must fit at the default font; the arrangement must hold at any font.
  for (const QString& family : {QString(), QStringLiteral("DejaVu Serif")}) {
    const bool defaultFont = family.isEmpty();
    if (!defaultFont) {
      QFont font = QApplication::font();
      font.setFamily(family);
      font.setPointSize(14);
      QApplication::setFont(font);
    }
    CClipstampDialog dialog(QString(), QString(), QString(), false, 0);
    CAboutBox about(dialog.m_icon);
    for (QWidget* window : {static_cast<QWidget*>(&dialog), static_cast<QWidget*>(&about)}) {
      const QList<QWidget*> controls = window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
      for (QWidget* a : controls) {
        QVERIFY2(window->rect().contains(a->geometry()), qPrintable(a->objectName()));
        for (QWidget* b : controls) {
          if (a == b || !a->geometry().intersects(b->geometry())) continue;
          const bool nested = a->objectName() == "systemGroup" &&
                              (b->objectName() == "palRadio" || b->objectName() == "ntscRadio");
          QVERIFY2(nested || (b->objectName() == "systemGroup" &&
                              (a->objectName() == "palRadio" || a->objectName() == "ntscRadio")),
                   qPrintable(a->objectName() + " overlaps " + b->objectName()));
        }
        const QFontMetrics metrics(a->font());
        if (!defaultFont) continue;
        if (auto* label = qobject_cast<QLabel*>(a); label && !label->text().isEmpty()) {
          QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->width(),
                   qPrintable(family + " " + label->text()));
          QVERIFY2(metrics.height() <= label->height(), qPrintable(label->text()));
        }
        if (auto* radio = qobject_cast<QRadioButton*>(a)) {
          QVERIFY2(radio->sizeHint().width() <= radio->width(), qPrintable(radio->text()));
        }
        if (auto* button = qobject_cast<QPushButton*>(a)) {
          QVERIFY2(metrics.horizontalAdvance(button->text()) + 4 <= button->width(),
                   qPrintable(button->text()));
        }
        if (auto* group = qobject_cast<QGroupBox*>(a)) {
          QVERIFY(metrics.horizontalAdvance(group->title()) + 8 <= group->width());
        }
      }
    }
  }
  QApplication::setFont(QFont());
}

void TestClipstampDialog::tabOrderAndInitialFocus() {
  CClipstampDialog dialog(QString(), QString(), QString(), false, 0);
  dialog.show();
  QApplication::setActiveWindow(&dialog);
  QVERIFY(QTest::qWaitForWindowActive(&dialog));
  QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("okButton"));
  QStringList order;
  for (int i = 0; i < 8; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    order << QApplication::focusWidget()->objectName();
  }
  QCOMPARE(order,
           (QStringList{"cancelButton", "folderEdit", "browseFolderButton", "formatEdit",
                        "combinedNameEdit", "browseCombinedButton", "offsetEdit", "okButton"}));
}

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
