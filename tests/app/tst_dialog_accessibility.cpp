#include <QAccessible>
#include <QTest>

#include "app/clipstamp_dialog.h"

class TestDialogAccessibility : public QObject {
  Q_OBJECT

 private slots:
  void controlsAreNamedForScreenReaders() {
    // Control, accessible name, tool tip.
    const char* const rows[][3] = {
        {"folderEdit", "Directory", ""},
        {"formatEdit", "Format", ""},
        {"combinedNameEdit", "Combined SUB file", ""},
        {"offsetEdit", "Time offset in minutes", ""},
        {"browseFolderButton", "Choose folder", "Choose folder..."},
        {"browseCombinedButton", "Choose combined file", "Choose combined file..."}};
    CClipstampDialog dialog(QString(), QString(), QString(), false, 0);
    for (const auto& [control, name, toolTip] : rows) {
      auto* widget = dialog.findChild<QWidget*>(control);
      QVERIFY2(widget != nullptr, control);
      QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
      QCOMPARE(accessible->text(QAccessible::Name), QString::fromLatin1(name));
      QCOMPARE(widget->toolTip(), QString::fromLatin1(toolTip));
    }
  }
};

QTEST_MAIN(TestDialogAccessibility)
#include "tst_dialog_accessibility.moc"
