#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include <QDialog>
#include <QIcon>

#include "app/settings/settings_form.h"

class QAction;
class QLineEdit;

namespace Ui {
class CClipstampDialog;
}

// The settings dialog (template 102) in Qt: binds the template's controls to a SettingsForm,
// which holds the fields and what OK and the two "?" buttons do. Cancel converts nothing.
class CClipstampDialog : public QDialog, private SettingsView {
  Q_OBJECT

 public:
  explicit CClipstampDialog(const ConversionSettings& settings, QWidget* parent = nullptr);
  ~CClipstampDialog() override;

  QIcon m_icon;
  std::chrono::milliseconds m_progressDelay = kProgressDelay;

 private:
  // The form's controls: the widgets that uic made from the template.
  std::string BoxText(SettingsBox box) const override;
  void SetBoxText(SettingsBox box, const std::string& text) override;
  VideoSystem CheckedSystem() const override;
  void CheckSystem(VideoSystem system) override;
  SubtitleFormat ChosenFormat() const override;
  void ChooseFormat(SubtitleFormat format) override;
  // Message boxes and the progress window, modal over the dialog.
  void PromptForOffset() override;
  void ShowMessage(const std::string& text) override;
  RunReport RunWithProgress(const std::function<RunReport(const ProgressCallback&)>& run) override;
  // Qt's own choosers rather than the desktop's, the same on every desktop.
  std::optional<std::string> ChooseFolder(const std::string& start) override;
  std::optional<std::string> ChooseCombinedFile(const std::string& start) override;
  void CloseDialog() override;

  QLineEdit* Box(SettingsBox box) const;
  void ShowAboutBox();

  std::unique_ptr<Ui::CClipstampDialog> m_ui;
  QAction* m_aboutAction;
  SettingsForm m_form;
};

// The application icon (icon 128) in its 32 x 32 and 16 x 16 images.
QIcon LoadApplicationIcon();
