#include <windows.h>

#include <string>
#include <string_view>

#include "app/cli/clipstamp_app.h"
#include "app/settings/command_line.h"
#include "app/settings/settings_form.h"
#include "app/settings/usage.h"
#include "app/win32/clipstamp_dialog.h"
#include "app/win32/ui_session.h"
#include "engine/win32_calls.h"
#include "res/version.h"

namespace {

// "--help", "-h" or "--version" alone: a program with windows has no console to print on, so
// the answer is a message box. False for any other tail, which then parses as usual.
bool AnswerStandardRequest(std::string_view tail) {
  const StandardRequest request = StandardRequestOf(tail);
  if (request == StandardRequest::kNone) return false;
  const std::string text = request == StandardRequest::kHelp
                               ? UsageText("clipstamp.exe")
                               : std::string("clipstamp.exe ") + kClipstampVersion;
  ::MessageBoxW(nullptr, WideText(text).c_str(), WideText(kDialogTitle).c_str(),
                MB_OK | MB_ICONINFORMATION);
  return true;
}

}  // namespace

int main() {
  // A card reader without a card fails like a missing folder, without a message box.
  ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  // The arguments as the runtime split them lost their quotes and their UTF-8; the command line
  // itself has both.
  const std::string commandLine = Utf8Text(::GetCommandLineW());
  const std::string_view tail = CommandLineTail(commandLine);
  if (AnswerStandardRequest(tail)) return 0;
  const ConversionSettings settings = ParseCommandLine(tail);
  // The dialog is native here and lives in this program.
  CClipstampApp app(settings, [&settings] {
    const UiSession session;
    CClipstampDialog dialog(settings);
    dialog.DoModal();
    return 0;
  });
  return app.InitInstance();
}
