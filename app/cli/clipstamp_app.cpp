#include "app/cli/clipstamp_app.h"

#include <cstdio>
#include <string>
#include <utility>

#include "app/settings/run_summary.h"

CClipstampApp::CClipstampApp(ConversionSettings settings, std::function<int()> showSettingsDialog)
    : m_settings(std::move(settings)), m_showSettingsDialog(std::move(showSettingsDialog)) {}

int CClipstampApp::InitInstance() {
  if (m_settings.folder.empty()) return m_showSettingsDialog();
  const RunReport report = ConvertFolder(m_settings);
  if (report.Succeeded()) return 0;
  // Standard output may be the combined file (-c /dev/stdout); failures go to standard error.
  for (const std::string& line : ReportRunFailures(report, m_settings.folder)) {
    std::fprintf(stderr, "%s\n", line.c_str());
  }
  return 1;
}
