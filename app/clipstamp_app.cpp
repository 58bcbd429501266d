#include "app/clipstamp_app.h"

#include <span>

#include "app/command_line.h"
#include "engine/conversion.h"

CClipstampApp::CClipstampApp(int& argc, char** argv) : m_argc(argc), m_argv(argv) {}

int CClipstampApp::InitInstance() {
  const std::size_t count = m_argc > 1 ? static_cast<std::size_t>(m_argc - 1) : 0;
  const std::string tail = BuildCommandTail(std::span<const char* const>(m_argv + 1, count));
  const CommandLineOptions options =
      TrimOptions(tail.empty() ? CommandLineOptions{} : ParseCommandLine(tail));
  if (options.folder.empty()) return 0;

  ConversionSettings settings;
  settings.folder = options.folder;
  settings.timeFormat = options.timeFormat;
  settings.combinedName = options.combinedName;
  settings.videoSystem = options.ntsc ? kNtsc : kPal;
  settings.minuteOffset = options.minuteOffset;
  return ConvertFolder(std::move(settings)) ? 0 : 1;
}
