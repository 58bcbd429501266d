#include "app/cli/clipstamp_app.h"

#include <utility>

CClipstampApp::CClipstampApp(ConversionSettings settings, std::function<int()> showSettingsDialog)
    : m_settings(std::move(settings)), m_showSettingsDialog(std::move(showSettingsDialog)) {}

int CClipstampApp::InitInstance() {
  if (m_settings.folder.empty()) return m_showSettingsDialog();
  return ConvertFolder(m_settings).Succeeded() ? 0 : 1;
}
