#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>
#include <windows.h>
// After windows.h, which it builds on.
#include <shlobj.h>

#include <cstdio>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/settings/command_line.h"
#include "app/settings/usage.h"
#include "app/win32/clipstamp_dialog.h"
#include "app/win32/ui_session.h"
#include "engine/file_paths.h"
#include "engine/win32_calls.h"
#include "res/resource.h"
#include "res/version.h"
#include "tests/support/test_support.h"

namespace {

namespace fs = std::filesystem;
using Step = std::function<bool()>;  // false: not ready yet, try again on the next tick

constexpr UINT kTick = 20;      // milliseconds
constexpr int kPatience = 250;  // ticks a step may wait before the test program gives up
constexpr int kMessageBoxText = 0xFFFF;
constexpr int kChooserStatusText = 0x3743;  // the folder chooser's status line
constexpr int kFileNameBox = 0x47C;         // the save chooser's file name box (cmb13)

std::deque<Step> g_steps;
int g_waited = 0;
HWND g_dialog = nullptr;

// Runs the next step inside whichever modal loop is running, so a step may open a window that
// the following step answers.
void CALLBACK RunNextStep(HWND, UINT, UINT_PTR, DWORD) {
  if (g_steps.empty()) return;
  Step step = std::move(g_steps.front());
  g_steps.pop_front();
  if (step()) {
    g_waited = 0;
  } else if (++g_waited > kPatience) {
    std::fputs("A dialog step waited in vain.\n", stderr);
    ::ExitProcess(3);
  } else {
    g_steps.push_front(std::move(step));
  }
}

// Shows the dialog modally, driven by `steps`; returns how it was closed.
INT_PTR RunDialog(CClipstampDialog& dialog, std::vector<Step> steps) {
  steps.insert(steps.begin(), [&dialog] { return (g_dialog = dialog.Window()) != nullptr; });
  g_steps.assign(steps.begin(), steps.end());
  g_waited = 0;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, kTick, RunNextStep);
  const INT_PTR result = dialog.DoModal();
  ::KillTimer(nullptr, timer);
  EXPECT_TRUE(g_steps.empty()) << g_steps.size() << " steps not taken";
  g_steps.clear();
  return result;
}

// The window the dialog has opened over itself (a message box, a chooser); null when none.
HWND Popup() {
  const HWND active = ::GetActiveWindow();
  return active == g_dialog ? nullptr : active;
}

// Runs `action` on the dialog once no other window is open over it.
Step Do(std::function<void(HWND)> action) {
  return [action] {
    if (Popup() != nullptr) return false;
    action(g_dialog);
    return true;
  };
}

// Runs `action` on the window open over the dialog once there is one, until it returns true.
Step OnPopup(std::function<bool(HWND)> action) {
  return [action] { return Popup() != nullptr && action(Popup()); };
}

Step Press(int id) {
  return Do(
      [id](HWND window) { ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); });
}

std::string WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return Utf8Text(text);
}

std::string Text(HWND window, int id) { return WindowText(::GetDlgItem(window, id)); }

void SetText(HWND window, int id, const std::string& text) {
  ::SetDlgItemTextW(window, id, WideText(text).c_str());
}

// The dialog's controls in one line: the four boxes, the subtitle format, PAL or NTSC.
std::string Fields(HWND window) {
  std::string fields;
  for (int id :
       {IDC_FOLDER, IDC_TIME_FORMAT, IDC_COMBINED_NAME, IDC_MINUTE_OFFSET, IDC_SUBTITLE_FORMAT}) {
    fields += Text(window, id) + "|";
  }
  return fields + (::IsDlgButtonChecked(window, IDC_NTSC) ? "NTSC" : "PAL");
}

// Answers a message box or the about box with OK, adding its title and text to `shown`.
Step Answer(std::string& shown) {
  return OnPopup([&shown](HWND box) {
    shown += WindowText(box) + "|" + Text(box, kMessageBoxText) + "\n";
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    return true;
  });
}

// Every control reaches the run: the dialog starts from the command line, OK without a folder
// asks for one, the user types a folder and an offset (one that is no number first, after which
// the offset box has the focus) and picks PAL and SubRip, and OK converts exactly as the silent
// run with those values; Cancel converts nothing.
TEST(Win32Dialog, OkConvertsWhatTheControlsShowExactlyAsTheSilentRunAndCancelNothing) {
  const TempFolder root;
  for (const char* name : {"silent", "dialog"}) {
    fs::copy(TestData("e2e/dst_new_york/in/clips"), root.Path() / name);
  }
  const std::string options = " -c MOVALL.SUB -f \" %A %B %X \" ";
  ASSERT_TRUE(
      ConvertFolder(ParseCommandLine("-d \"" + root / "silent" + "\"" + options + "-o -61 --srt"))
          .Succeeded());
  for (const int button : {IDCANCEL, IDOK}) {
    CClipstampDialog dialog(ParseCommandLine(options + "-ntsc -o 5 --vtt"));
    std::string shown;
    EXPECT_EQ(RunDialog(dialog, {Do([&](HWND window) { shown = Fields(window) + "\n"; }),
                                 Press(IDOK), Answer(shown), Do([&](HWND window) {
                                   SetText(window, IDC_FOLDER, root / "dialog");
                                   SetText(window, IDC_MINUTE_OFFSET, "half an hour");
                                   ::SendDlgItemMessageW(window, IDC_PAL, BM_CLICK, 0, 0);
                                   ::SendDlgItemMessageW(window, IDC_SUBTITLE_FORMAT, CB_SETCURSEL,
                                                         1, 0);
                                 }),
                                 Press(IDOK), Answer(shown), Do([&](HWND window) {
                                   shown += std::to_string(::GetDlgCtrlID(::GetFocus()));
                                   SetText(window, IDC_MINUTE_OFFSET, "-61");
                                 }),
                                 Press(button)}),
              button);
    EXPECT_EQ(shown, std::string("|%A %B %X|MOVALL.SUB|5|VTT|NTSC\nClipstamp|") +
                         kChooseFolderMessage + "\nClipstamp|" + kOffsetPrompt + "\n" +
                         std::to_string(IDC_MINUTE_OFFSET));
    EXPECT_EQ(FileTree(root / "dialog").size(), button == IDCANCEL ? 3u : 7u);
  }
  EXPECT_EQ(FileTree(root / "dialog"), FileTree(root / "silent"));
}

// The shell's folder chooser starts at the nearest existing parent of the typed folder with OK
// enabled, and its OK takes the choice, the combined name following it; the save chooser gives
// a typed name ".SUB".
TEST(Win32Dialog, ChoosersStartFromTheBoxesAndFillThem) {
  // Folders that exist already: wine's chooser does not always find one made just before.
  const fs::path root = fs::temp_directory_path().parent_path();
  const fs::path chosen = root.parent_path();
  CClipstampDialog dialog(ParseCommandLine("-d \"" + PathText(root / "missing\\b") + "\""));
  std::string shown;
  // The chooser shows the selected folder in its status line once it has selected it.
  RunDialog(dialog,
            {Press(IDC_BROWSE_FOLDER), OnPopup([&](HWND chooser) {
               shown = Text(chooser, kChooserStatusText);
               if (shown.empty()) return false;
               shown += ::IsWindowEnabled(::GetDlgItem(chooser, IDOK)) ? "|OK\n" : "\n";
               ::SendMessageW(chooser, BFFM_SETSELECTIONW, TRUE,
                              reinterpret_cast<LPARAM>(chosen.c_str()));
               return true;
             }),
             OnPopup([&](HWND chooser) {
               if (Text(chooser, kChooserStatusText) != PathText(chosen)) return false;
               ::PostMessageW(chooser, WM_COMMAND, IDOK, 0);
               return true;
             }),
             Do([&](HWND window) {
               shown += Text(window, IDC_FOLDER) + "|" + Text(window, IDC_COMBINED_NAME) + "\n";
               SetText(window, IDC_COMBINED_NAME, "");
             }),
             Press(IDC_BROWSE_COMBINED), OnPopup([](HWND chooser) {
               SetText(chooser, kFileNameBox, "all");
               ::PostMessageW(chooser, WM_COMMAND, IDOK, 0);
               return true;
             }),
             Do([&](HWND window) { shown += Text(window, IDC_COMBINED_NAME); }), Press(IDCANCEL)});
  const std::string folder = PathText(chosen);
  EXPECT_EQ(shown, PathText(root) + "|OK\n" + folder + "|" + folder + "\\MOVALL.SUB\n" + folder +
                       "\\all.SUB");
}

// Tab visits the tab stops from OK, also after a radio button was chosen with the mouse; the
// last item of the system menu is the about item, which opens the about box.
TEST(Win32Dialog, TabOrderAndAboutBox) {
  CClipstampDialog dialog(ParseCommandLine(""));
  std::vector<int> order;
  std::string about;
  std::vector<Step> steps = {Do([](HWND window) {
    ::SendDlgItemMessageW(window, IDC_NTSC, BM_CLICK, 0, 0);
    ::SendMessageW(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(window, IDOK)),
                   TRUE);
  })};
  steps.insert(steps.end(), 10, Do([&](HWND) {
                 order.push_back(::GetDlgCtrlID(::GetFocus()));
                 ::PostMessageW(::GetFocus(), WM_KEYDOWN, VK_TAB, 0);
               }));
  steps.push_back(Do([&](HWND window) {
    const HMENU system = ::GetSystemMenu(window, FALSE);
    const int last = ::GetMenuItemCount(system) - 1;
    wchar_t item[64] = L"";
    ::GetMenuStringW(system, last, item, 64, MF_BYPOSITION);
    about = Utf8Text(item) + "\n";
    // The low four bits of the command belong to the system.
    ::PostMessageW(window, WM_SYSCOMMAND, ::GetMenuItemID(system, last) | 0x3, 0);
  }));
  steps.insert(steps.end(), {Answer(about), Press(IDCANCEL)});
  RunDialog(dialog, steps);
  EXPECT_EQ(order, (std::vector<int>{IDOK, IDCANCEL, IDC_FOLDER, IDC_BROWSE_FOLDER, IDC_TIME_FORMAT,
                                     IDC_COMBINED_NAME, IDC_BROWSE_COMBINED, IDC_MINUTE_OFFSET,
                                     IDC_SUBTITLE_FORMAT, IDOK}));
  EXPECT_EQ(about, "&About Clipstamp...\nAbout Clipstamp|\n");
}

// "--help", "-h" and "--version" alone answer in a message box titled "Clipstamp" instead of
// the dialog, and the program ends with status 0 once it is closed.
TEST(Win32Dialog, StandardRequestsAnswerInAMessageBox) {
  for (const auto& [tail, expected] :
       {std::pair{"--help", UsageText("clipstamp.exe")},
        {" -h ", UsageText("clipstamp.exe")},
        {"--version", std::string("clipstamp.exe ") + kClipstampVersion}}) {
    std::wstring commandLine = WideText(std::string("clipstamp.exe ") + tail);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(::CreateProcessW(WideText(CLIPSTAMP_EXE).c_str(), commandLine.data(), nullptr,
                                 nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    HWND box = nullptr;
    std::string shown;  // once the box has its text
    for (int tick = 0; tick < kPatience && shown.empty(); ++tick) {
      ::Sleep(kTick);
      box = ::FindWindowW(L"#32770", L"Clipstamp");
      if (box != nullptr) shown = Text(box, kMessageBoxText);
    }
    EXPECT_EQ(shown, expected) << tail;
    if (box != nullptr) ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    // Whatever it showed, the program does not outlive the test.
    if (::WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
      ::TerminateProcess(process.hProcess, 3);
      ::WaitForSingleObject(process.hProcess, INFINITE);
    }
    DWORD status = 0;
    ::GetExitCodeProcess(process.hProcess, &status);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    EXPECT_EQ(status, 0u) << tail;
  }
}

}  // namespace

int main(int argc, char** argv) {
  _putenv_s("TZ", "UTC0");
  _tzset();
  const UiSession session;
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
