#include "app/clipstamp_app.h"

#include <optional>
#include <span>
#include <string>
#include <utility>

#include "app/dialog_launcher.h"
#include "app/program_options.h"
#include "app/standard_options.h"
#include "engine/conversion.h"

CClipstampApp::CClipstampApp(int& argc, char** argv) : m_argc(argc), m_argv(argv) {}

int CClipstampApp::InitInstance() {
  const std::size_t count = m_argc > 1 ? static_cast<std::size_t>(m_argc - 1) : 0;
  const std::span<const char* const> arguments(m_argv + 1, count);
  if (const std::optional<int> status = AnswerStandardOption(arguments)) return *status;

  const CommandLineOptions options = TrimOptions(ReadProgramOptions(arguments));
  if (options.folder.empty()) return RunSettingsDialog(options, m_argc, m_argv);

  ConversionSettings settings;
  settings.folder = options.folder;
  settings.timeFormat = options.timeFormat;
  settings.combinedName = options.combinedName;
  settings.videoSystem = options.ntsc ? kNtsc : kPal;
  settings.minuteOffset = options.minuteOffset;
  return ConvertFolder(std::move(settings)).Succeeded() ? 0 : 1;
}
