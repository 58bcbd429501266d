#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include <QDialog>
#include <QIcon>
#include <QString>

#include "app/dialog_rules.h"
#include "engine/conversion.h"

class QAction;

namespace Ui {
class CClipstampDialog;
}

// The settings dialog (template 102): folder, caption format, combined file, video system and
// minute offset. OK converts the folder as the command line would and closes the dialog, or, when
// something could not be written or the user cancelled the run, says so and stays open; Cancel
// converts nothing. The fields hold the dialog's data; UpdateData() moves them to and from the
// controls.
class CClipstampDialog : public QDialog {
  Q_OBJECT

 public:
  // An empty format becomes kDefaultTimeFormat and an empty combined name "MOVALL.SUB".
  CClipstampDialog(const QString& folder, const QString& timeFormat, const QString& combinedName,
                   bool ntsc, qint32 minuteOffset, QWidget* parent = nullptr);
  ~CClipstampDialog() override;

  // Moves the fields to the controls (false) or reads the controls into the fields (true), in
  // the order folder, format, combined name, video system, offset. Reading stops at an offset
  // that is not a whole number, after telling the user and focusing that box, and returns false.
  bool UpdateData(bool saveAndValidate = true);

  // The fields as a conversion run takes them, exactly as read (not trimmed).
  ConversionSettings Settings() const;

  // Text fields in the file system's encoding, as the engine takes them.
  std::string m_folder;
  std::string m_timeFormat;
  std::string m_combinedName;
  int m_videoSystem = kPal;  // index of the checked radio button: 0 PAL, 1 NTSC
  std::int32_t m_minuteOffset = 0;
  QIcon m_icon;
  std::chrono::milliseconds m_progressDelay = kProgressDelay;

 private:
  DialogFields Fields() const;
  void OnOK();
  void OnBrowseFolder();
  void OnBrowseCombinedName();
  void ShowAboutBox();

  std::unique_ptr<Ui::CClipstampDialog> m_ui;
  QAction* m_aboutAction;
};

// The application icon (icon 128) in its 32 x 32 and 16 x 16 images.
QIcon LoadApplicationIcon();
