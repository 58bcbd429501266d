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
#include "app/win32/clipstamp_dialog.h"
#include "app/win32/ui_session.h"
#include "engine/file_paths.h"
#include "engine/win32_calls.h"
#include "res/resource.h"
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

std::string Text(HWND window, int id) {
  wchar_t text[512];
  ::GetDlgItemTextW(window, id, text, 512);
  return Utf8Text(text);
}

void SetText(HWND window, int id, const std::string& text) {
  ::SetDlgItemTextW(window, id, WideText(text).c_str());
}

// Answers a message box or the about box with OK, keeping its title and text.
Step Answer(std::string& shown) {
  return OnPopup([&shown](HWND box) {
    wchar_t title[128];
    ::GetWindowTextW(box, title, 128);
    shown = Utf8Text(title) + "|" + Text(box, kMessageBoxText);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    return true;
  });
}

// Every control reaches the run: the dialog starts from the command line, the user types a
// folder and an offset (one that is no number first) and picks NTSC, and OK converts exactly as
// the silent run with those values.
TEST(Win32Dialog, OkConvertsWhatTheControlsShowExactlyAsTheSilentRunAndCancelNothing) {
  const TempFolder root;
  for (const char* name : {"silent", "dialog"}) {
    fs::copy(TestData("e2e/dst_new_york/in/clips"), root.Path() / name);
  }
  const std::string options = " -c MOVALL.SUB -f \" %A %B %X \" ";
  ASSERT_TRUE(
      ConvertFolder(ParseCommandLine("-d \"" + root / "silent" + "\"" + options + "-ntsc -o -61"))
          .Succeeded());
  std::string prompt;
  int focus = 0;
  for (const int button : {IDCANCEL, IDOK}) {
    CClipstampDialog dialog(ParseCommandLine(options + "-o 5"));
    std::string shown;
    EXPECT_EQ(
        RunDialog(
            dialog,
            {Do([&](HWND window) {
               for (int id : {IDC_FOLDER, IDC_TIME_FORMAT, IDC_COMBINED_NAME, IDC_MINUTE_OFFSET}) {
                 shown += Text(window, id) + "|";
               }
               shown += ::IsDlgButtonChecked(window, IDC_NTSC) ? "NTSC" : "PAL";
               SetText(window, IDC_FOLDER, root / "dialog");
               SetText(window, IDC_MINUTE_OFFSET, "half an hour");
               ::SendDlgItemMessageW(window, IDC_NTSC, BM_CLICK, 0, 0);
             }),
             Press(IDOK), Answer(prompt), Do([&](HWND window) {
               focus = ::GetDlgCtrlID(::GetFocus());
               SetText(window, IDC_MINUTE_OFFSET, "-61");
             }),
             Press(button)}),
        button);
    EXPECT_EQ(shown, "|%A %B %X|MOVALL.SUB|5|PAL");
    EXPECT_EQ(FileTree(root / "dialog").size(), button == IDCANCEL ? 3u : 7u);
  }
  EXPECT_EQ(prompt, std::string("Clipstamp|") + kOffsetPrompt);
  EXPECT_EQ(focus, IDC_MINUTE_OFFSET);
  EXPECT_EQ(FileTree(root / "dialog"), FileTree(root / "silent"));
}

// The shell's folder chooser starts at the nearest existing parent of the typed folder with OK
// enabled, and its OK takes the choice; the save chooser gives a typed name ".SUB".
TEST(Win32Dialog, ChoosersStartFromTheBoxesAndFillThem) {
  // Folders that exist already: wine's chooser does not always find one made just before.
  const fs::path root = fs::temp_directory_path().parent_path();
  const fs::path chosen = root.parent_path();
  CClipstampDialog dialog(ParseCommandLine("-d \"" + PathText(root / "missing\\b") + "\""));
  std::string preselected;
  std::string shown;
  // The chooser shows the selected folder in its status line once it has selected it.
  RunDialog(dialog, {Press(IDC_BROWSE_FOLDER), OnPopup([&](HWND chooser) {
                       preselected = Text(chooser, kChooserStatusText);
                       if (preselected.empty()) return false;
                       preselected += ::IsWindowEnabled(::GetDlgItem(chooser, IDOK)) ? "|OK" : "";
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
                       shown = Text(window, IDC_FOLDER) + "|" + Text(window, IDC_COMBINED_NAME);
                       SetText(window, IDC_COMBINED_NAME, "");
                     }),
                     Press(IDC_BROWSE_COMBINED), OnPopup([](HWND chooser) {
                       SetText(chooser, kFileNameBox, "all");
                       ::PostMessageW(chooser, WM_COMMAND, IDOK, 0);
                       return true;
                     }),
                     Do([&](HWND window) { shown += '|' + Text(window, IDC_COMBINED_NAME); }),
                     Press(IDCANCEL)});
  EXPECT_EQ(preselected, PathText(root) + "|OK");
  const std::string folder = PathText(chosen);
  EXPECT_EQ(shown, folder + "|" + folder + "\\MOVALL.SUB|" + folder + "\\all.SUB");
}

// Tab visits the tab stops from OK, also after a radio button was chosen with the mouse; the
// about item at the end of the system menu opens the about box, which shows the icon; neither
// window can be resized.
TEST(Win32Dialog, TabOrderSystemMenuAndAboutBox) {
  CClipstampDialog dialog(ParseCommandLine(""));
  std::vector<LONG_PTR> order;
  std::vector<LONG_PTR> seen;  // separator, about item, 3 icons, sizing of both, about's icon
  wchar_t item[64] = L"";
  std::string about;
  const auto sizing = [](HWND window) {
    return ::GetWindowLongPtrW(window, GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX);
  };
  std::vector<Step> steps = {Do([](HWND window) {
    ::SendDlgItemMessageW(window, IDC_NTSC, BM_CLICK, 0, 0);
    ::SendMessageW(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(window, IDOK)),
                   TRUE);
  })};
  steps.insert(steps.end(), 9, Do([&](HWND) {
                 order.push_back(::GetDlgCtrlID(::GetFocus()));
                 ::PostMessageW(::GetFocus(), WM_KEYDOWN, VK_TAB, 0);
               }));
  steps.push_back(Do([&](HWND window) {
    const HMENU system = ::GetSystemMenu(window, FALSE);
    const int last = ::GetMenuItemCount(system) - 1;
    ::GetMenuStringW(system, IDM_ABOUTBOX, item, 64, MF_BYCOMMAND);
    seen = {static_cast<LONG_PTR>(::GetMenuState(system, last - 1, MF_BYPOSITION) & MF_SEPARATOR),
            static_cast<LONG_PTR>(::GetMenuItemID(system, last)),
            ::SendMessageW(window, WM_GETICON, ICON_BIG, 0),
            ::SendMessageW(window, WM_GETICON, ICON_SMALL, 0),
            ::SendMessageW(window, WM_QUERYDRAGICON, 0, 0),
            sizing(window)};
    // The low four bits belong to the system.
    ::PostMessageW(window, WM_SYSCOMMAND, IDM_ABOUTBOX | 0x3, 0);
  }));
  steps.push_back(OnPopup([&](HWND box) {
    seen.push_back(sizing(box));
    bool icon = false;
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
      icon |= ::SendMessageW(child, STM_GETICON, 0, 0) != 0;
    }
    seen.push_back(icon);
    return true;
  }));
  steps.insert(steps.end(), {Answer(about), Press(IDCANCEL)});
  RunDialog(dialog, steps);
  EXPECT_EQ(order, (std::vector<LONG_PTR>{IDOK, IDCANCEL, IDC_FOLDER, IDC_BROWSE_FOLDER,
                                          IDC_TIME_FORMAT, IDC_COMBINED_NAME, IDC_BROWSE_COMBINED,
                                          IDC_MINUTE_OFFSET, IDOK}));
  ASSERT_NE(dialog.m_icon, nullptr);
  const auto icon = reinterpret_cast<LONG_PTR>(dialog.m_icon);
  EXPECT_EQ(seen, (std::vector<LONG_PTR>{MF_SEPARATOR, IDM_ABOUTBOX, icon, icon, icon, 0, 0, 1}));
  EXPECT_EQ(Utf8Text(item), "&About Clipstamp...");
  EXPECT_EQ(about, "About Clipstamp|");
}

}  // namespace

int main(int argc, char** argv) {
  _putenv_s("TZ", "UTC0");
  _tzset();
  const UiSession session;
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
