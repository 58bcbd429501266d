#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>

#include "app/settings/settings_form.h"

// The settings dialog (template 102), native: binds the template's controls to a SettingsForm,
// which holds the fields and what OK and the two "?" buttons do. Cancel converts nothing.
class CClipstampDialog : private SettingsView {
 public:
  explicit CClipstampDialog(const ConversionSettings& settings, HWND parent = nullptr);
  CClipstampDialog(const CClipstampDialog&) = delete;
  CClipstampDialog& operator=(const CClipstampDialog&) = delete;

  // Shows the dialog modally and returns IDOK or IDCANCEL when it closes, -1 when it could not
  // be created.
  INT_PTR DoModal();

  // The dialog's window while it is shown, else null.
  HWND Window() const { return m_window; }

  HICON m_icon;  // shared by the system; never destroyed
  std::chrono::milliseconds m_progressDelay = kProgressDelay;

 private:
  // The shell's folder chooser and the system's save chooser; closing with IDOK.
  std::optional<std::string> ChooseFolder(const std::string& start) override;
  std::optional<std::string> ChooseCombinedFile(const std::string& start) override;
  void CloseDialog() override;
  // The system's message boxes; the progress window, which disables the dialog while it shows.
  void PromptForOffset() override;
  void ShowMessage(const std::string& text) override;
  RunReport RunWithProgress(const std::function<RunReport(const ProgressCallback&)>& run) override;
  // The form's controls, by their identifiers in the template.
  std::string BoxText(SettingsBox box) const override;
  void SetBoxText(SettingsBox box, const std::string& text) override;
  VideoSystem CheckedSystem() const override;
  void CheckSystem(VideoSystem system) override;
  SubtitleFormat ChosenFormat() const override;
  void ChooseFormat(SubtitleFormat format) override;

  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  BOOL OnInitDialog();
  bool OnCommand(int id);
  bool OnSysCommand(WPARAM command);
  bool OnPaint();

  HWND m_parent;
  HWND m_window = nullptr;
  SettingsForm m_form;
};
