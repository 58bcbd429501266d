#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <string>

#include "app/dialog_rules.h"
#include "engine/conversion.h"

// The settings dialog (template 102): folder, caption format, combined file, video system and
// minute offset. OK converts the folder as the command line would and closes the dialog, or, when
// something could not be written or the user cancelled the run, says so and stays open; Cancel
// converts nothing. The fields hold the dialog's data; UpdateData() moves them to and from the
// controls.
class CClipstampDialog {
 public:
  // An empty format becomes kDefaultTimeFormat and an empty combined name "MOVALL.SUB". Text is
  // UTF-8.
  CClipstampDialog(std::string folder, std::string timeFormat, std::string combinedName, bool ntsc,
                   std::int32_t minuteOffset, HWND parent = nullptr);
  CClipstampDialog(const CClipstampDialog&) = delete;
  CClipstampDialog& operator=(const CClipstampDialog&) = delete;

  // Shows the dialog modally and returns IDOK or IDCANCEL when it closes, -1 when it could not
  // be created.
  INT_PTR DoModal();

  // The dialog's window while it is shown, else null.
  HWND Window() const { return m_window; }

  // Moves the fields to the controls (false) or reads the controls into the fields (true), in
  // the order folder, format, combined name, video system, offset. Reading stops at an offset
  // that is not a whole number, after telling the user and focusing that box, and returns false.
  bool UpdateData(bool saveAndValidate = true);

  // The fields as a conversion run takes them, exactly as read (not trimmed).
  ConversionSettings Settings() const;

  // What choosing `folder` in the folder chooser does: it becomes the folder, the combined name
  // follows it and the controls show the fields.
  void OnFolderChosen(const std::string& folder);

  std::string m_folder;
  std::string m_timeFormat;
  std::string m_combinedName;
  int m_videoSystem = kPal;  // index of the checked radio button: 0 PAL, 1 NTSC
  std::int32_t m_minuteOffset = 0;
  HICON m_icon;  // shared by the system; never destroyed
  std::chrono::milliseconds m_progressDelay = kProgressDelay;

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  DialogFields Fields() const;
  std::string ControlText(int id) const;
  BOOL OnInitDialog();
  bool OnCommand(int id);
  void OnOK();
  bool OnSysCommand(WPARAM command);
  bool OnPaint();
  void OnBrowseFolder();
  void OnBrowseCombinedName();

  HWND m_parent;
  HWND m_window = nullptr;
};
