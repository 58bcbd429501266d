#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>
#include <windows.h>

#include <cstdio>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/command_line.h"
#include "app/win32/clipstamp_dialog.h"
#include "app/win32/ui_session.h"
#include "engine/conversion.h"
#include "engine/win32_calls.h"
#include "res/resource.h"
#include "tests/support/test_support.h"

namespace {

using Step = std::function<bool()>;  // false: not ready yet, try again on the next tick

constexpr UINT kTick = 20;      // milliseconds
constexpr int kPatience = 250;  // ticks a step may wait before the test program gives up
constexpr int kMessageBoxText = 0xFFFF;

std::deque<Step> g_steps;
int g_waited = 0;

// Runs the next step inside whichever modal loop is running, so a step may open a message box
// that the following step answers.
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
  g_steps.assign(steps.begin(), steps.end());
  g_waited = 0;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, kTick, RunNextStep);
  const INT_PTR result = dialog.DoModal();
  ::KillTimer(nullptr, timer);
  EXPECT_TRUE(g_steps.empty()) << g_steps.size() << " steps not taken";
  g_steps.clear();
  return result;
}

CClipstampDialog DialogFor(const char* tail) {
  const CommandLineOptions options = TrimOptions(ParseCommandLine(tail));
  return CClipstampDialog(options.folder, options.timeFormat, options.combinedName, options.ntsc,
                          options.minuteOffset);
}

std::string Text(HWND window, int id) {
  wchar_t text[512];
  ::GetDlgItemTextW(window, id, text, 512);
  return Utf8Text(text);
}

void SetText(HWND window, int id, const std::string& text) {
  ::SetDlgItemTextW(window, id, WideText(text).c_str());
}

Step Press(CClipstampDialog& dialog, int id) {
  return [&dialog, id] {
    ::PostMessageW(dialog.Window(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    return true;
  };
}

// The dialog or message box that `owner` has open; null when none.
HWND Popup(HWND owner) {
  const HWND popup = ::GetLastActivePopup(owner);
  return popup == owner ? nullptr : popup;
}

// Answers the popup of `owner` with OK once it is open, keeping its title and text.
Step Answer(CClipstampDialog& dialog, std::string& shown) {
  return [&dialog, &shown] {
    const HWND popup = Popup(dialog.Window());
    if (popup == nullptr) return false;
    wchar_t title[128];
    ::GetWindowTextW(popup, title, 128);
    shown = Utf8Text(title) + "|" + Text(popup, kMessageBoxText);
    ::PostMessageW(popup, WM_COMMAND, IDOK, 0);
    return true;
  };
}

std::string ClipFolder(const TempFolder& root, const std::string& name) {
  std::filesystem::copy(TestData("e2e/dst_new_york/in/clips"), root.Path() / name);
  return root / name;
}

// The fields as the user sees them: folder, format, combined name, offset, video system.
std::vector<std::string> Fields(HWND window) {
  std::vector<std::string> shown;
  for (int id : {IDC_FOLDER, IDC_TIME_FORMAT, IDC_COMBINED_NAME, IDC_MINUTE_OFFSET}) {
    shown.push_back(Text(window, id));
  }
  shown.push_back(::IsDlgButtonChecked(window, IDC_NTSC) ? "NTSC" : "PAL");
  return shown;
}

TEST(Win32Dialog, ShowsTheCommandLineAndOkConvertsExactlyAsTheSilentRunAndCancelNothing) {
  const TempFolder root;
  const char* const tail = "-c MOVALL.SUB -f \" %A %B %X \" -ntsc -o -61";
  const std::string silent = ClipFolder(root, "silent");
  const CommandLineOptions options = TrimOptions(ParseCommandLine(tail));
  ASSERT_TRUE(
      ConvertFolder({silent, options.timeFormat, options.combinedName, kNtsc, options.minuteOffset})
          .Succeeded());

  const std::string folder = ClipFolder(root, "dialog");
  for (const int button : {IDCANCEL, IDOK}) {
    CClipstampDialog dialog = DialogFor(tail);
    std::vector<std::string> shown;
    const Step typeFolder = [&] {
      shown = Fields(dialog.Window());
      SetText(dialog.Window(), IDC_FOLDER, folder);
      return true;
    };
    EXPECT_EQ(RunDialog(dialog, {typeFolder, Press(dialog, button)}), button);
    EXPECT_EQ(FileTree(folder).size(), button == IDCANCEL ? 3u : 7u);
    EXPECT_EQ(shown, (std::vector<std::string>{"", "%A %B %X", "MOVALL.SUB", "-61", "NTSC"}));
  }
  EXPECT_EQ(FileTree(folder), FileTree(silent));
}

TEST(Win32Dialog, InvalidOffsetPromptsAndKeepsTheDialogOpen) {
  const TempFolder root;
  const std::string folder = ClipFolder(root, "clips");
  CClipstampDialog dialog(folder, "", "", false, 0);
  std::string prompt;
  int focus = 0;
  RunDialog(dialog, {[&] {
                       SetText(dialog.Window(), IDC_MINUTE_OFFSET, "half an hour");
                       return true;
                     },
                     Press(dialog, IDOK), Answer(dialog, prompt),
                     [&] {
                       if (Popup(dialog.Window()) != nullptr) return false;
                       focus = ::GetDlgCtrlID(::GetFocus());
                       return true;
                     },
                     Press(dialog, IDCANCEL)});
  EXPECT_EQ(prompt,
            "Clipstamp|Time offset: please enter a whole number of minutes, for example 0, 30 or "
            "-60.");
  EXPECT_EQ(focus, IDC_MINUTE_OFFSET);
  EXPECT_EQ(FileTree(folder).size(), 3u);
}

TEST(Win32Dialog, CombinedNameFollowsAChosenFolder) {
  CClipstampDialog dialog("", "", "", false, 0);
  std::string shown;
  RunDialog(dialog, {[&] {
                       dialog.OnFolderChosen("D:\\");
                       shown = Text(dialog.Window(), IDC_FOLDER) + " " +
                               Text(dialog.Window(), IDC_COMBINED_NAME);
                       return true;
                     },
                     Press(dialog, IDCANCEL)});
  EXPECT_EQ(shown, "D:\\ D:\\\\MOVALL.SUB");
}

TEST(Win32Dialog, TabVisitsTheTabStopsFromOk) {
  CClipstampDialog dialog("", "", "", false, 0);
  std::vector<int> order;
  std::vector<Step> steps(9, [&] {
    const HWND focus = ::GetFocus();
    order.push_back(::GetDlgCtrlID(focus));
    ::PostMessageW(focus, WM_KEYDOWN, VK_TAB, 0);
    return true;
  });
  steps.push_back(Press(dialog, IDCANCEL));
  // A radio button chosen with the mouse stays out of the Tab order too.
  steps.insert(steps.begin(), [&] {
    ::SendDlgItemMessageW(dialog.Window(), IDC_NTSC, BM_CLICK, 0, 0);
    ::SendMessageW(dialog.Window(), WM_NEXTDLGCTL,
                   reinterpret_cast<WPARAM>(::GetDlgItem(dialog.Window(), IDOK)), TRUE);
    return true;
  });
  RunDialog(dialog, steps);
  EXPECT_EQ(order,
            (std::vector<int>{IDOK, IDCANCEL, IDC_FOLDER, IDC_BROWSE_FOLDER, IDC_TIME_FORMAT,
                              IDC_COMBINED_NAME, IDC_BROWSE_COMBINED, IDC_MINUTE_OFFSET, IDOK}));
}

TEST(Win32Dialog, SystemMenuOpensTheAboutBox) {
  CClipstampDialog dialog("", "", "", false, 0);
  std::vector<UINT> menu;  // the last two items: separator, about item
  wchar_t item[64] = L"";
  std::vector<LRESULT> icons;
  std::string about;
  RunDialog(dialog, {[&] {
                       const HWND window = dialog.Window();
                       const HMENU system = ::GetSystemMenu(window, FALSE);
                       const int last = ::GetMenuItemCount(system) - 1;
                       menu = {::GetMenuState(system, last - 1, MF_BYPOSITION) & MF_SEPARATOR,
                               ::GetMenuItemID(system, last)};
                       ::GetMenuStringW(system, IDM_ABOUTBOX, item, 64, MF_BYCOMMAND);
                       icons = {::SendMessageW(window, WM_GETICON, ICON_BIG, 0),
                                ::SendMessageW(window, WM_GETICON, ICON_SMALL, 0),
                                ::SendMessageW(window, WM_QUERYDRAGICON, 0, 0)};
                       // The low four bits belong to the system.
                       ::PostMessageW(window, WM_SYSCOMMAND, IDM_ABOUTBOX | 0x3, 0);
                       return true;
                     },
                     Answer(dialog, about), Press(dialog, IDCANCEL)});
  EXPECT_EQ(menu, (std::vector<UINT>{MF_SEPARATOR, IDM_ABOUTBOX}));
  EXPECT_EQ(Utf8Text(item), "&About Clipstamp...");
  EXPECT_EQ(about, "About Clipstamp|");
  ASSERT_NE(dialog.m_icon, nullptr);
  EXPECT_EQ(icons, std::vector<LRESULT>(3, reinterpret_cast<LRESULT>(dialog.m_icon)));
}

}  // namespace

int main(int argc, char** argv) {
  _putenv_s("TZ", "UTC0");
  _tzset();
  const UiSession session;
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
