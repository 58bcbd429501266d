#include "app/win32/clipstamp_dialog.h"

#include <functional>
#include <iterator>

#include "app/win32/about_box.h"
#include "app/win32/choosers.h"
#include "app/win32/run_progress.h"
#include "app/win32/window_placement.h"
#include "engine/win32_calls.h"
#include "res/resource.h"

namespace {

HINSTANCE ThisModule() { return ::GetModuleHandleW(nullptr); }

int BoxId(SettingsBox box) {
  constexpr int kIds[] = {IDC_FOLDER, IDC_TIME_FORMAT, IDC_COMBINED_NAME,
                          IDC_MINUTE_OFFSET};  // in the order of SettingsBox
  return kIds[static_cast<int>(box)];
}

// Checking a radio button makes it a tab stop; these stay out of the Tab order.
void KeepRadioButtonsOffTabOrder(HWND dialog) {
  for (const int id : {IDC_PAL, IDC_NTSC}) {
    const HWND button = ::GetDlgItem(dialog, id);
    ::SetWindowLongPtrW(button, GWL_STYLE,
                        ::GetWindowLongPtrW(button, GWL_STYLE) & ~LONG_PTR{WS_TABSTOP});
  }
}

}  // namespace

CClipstampDialog::CClipstampDialog(const ConversionSettings& settings, HWND parent)
    : m_icon(::LoadIconW(ThisModule(), MAKEINTRESOURCEW(IDR_MAINFRAME))),
      m_parent(parent),
      m_form(*this, settings) {}

INT_PTR CClipstampDialog::DoModal() {
  return ::DialogBoxParamW(ThisModule(), MAKEINTRESOURCEW(IDD_CLIPSTAMP_DIALOG), m_parent,
                           &CClipstampDialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

std::string CClipstampDialog::BoxText(SettingsBox box) const {
  const HWND control = ::GetDlgItem(m_window, BoxId(box));
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      ::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return Utf8Text(text);
}

void CClipstampDialog::SetBoxText(SettingsBox box, const std::string& text) {
  ::SetDlgItemTextW(m_window, BoxId(box), WideText(text).c_str());
}

VideoSystem CClipstampDialog::CheckedSystem() const {
  return ::IsDlgButtonChecked(m_window, IDC_NTSC) == BST_CHECKED ? kNtsc : kPal;
}

void CClipstampDialog::CheckSystem(VideoSystem system) {
  ::CheckRadioButton(m_window, IDC_PAL, IDC_NTSC, system == kPal ? IDC_PAL : IDC_NTSC);
  KeepRadioButtonsOffTabOrder(m_window);
}

SubtitleFormat CClipstampDialog::ChosenFormat() const {
  const LRESULT item = ::SendDlgItemMessageW(m_window, IDC_SUBTITLE_FORMAT, CB_GETCURSEL, 0, 0);
  return item == CB_ERR ? SubtitleFormat::kMicroDvd : static_cast<SubtitleFormat>(item);
}

void CClipstampDialog::ChooseFormat(SubtitleFormat format) {
  ::SendDlgItemMessageW(m_window, IDC_SUBTITLE_FORMAT, CB_SETCURSEL, static_cast<WPARAM>(format),
                        0);
}

void CClipstampDialog::PromptForOffset() {
  ::MessageBoxW(m_window, WideText(kOffsetPrompt).c_str(), WideText(kDialogTitle).c_str(),
                MB_OK | MB_ICONEXCLAMATION);
  const HWND box = ::GetDlgItem(m_window, IDC_MINUTE_OFFSET);
  ::SendMessageW(m_window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(box), TRUE);
  ::SendMessageW(box, EM_SETSEL, 0, -1);
}

void CClipstampDialog::ShowMessage(const std::string& text) {
  ::MessageBoxW(m_window, WideText(text).c_str(), WideText(kDialogTitle).c_str(),
                MB_OK | MB_ICONWARNING);
}

RunReport CClipstampDialog::RunWithProgress(
    const std::function<RunReport(const ProgressCallback&)>& run) {
  RunProgress progress(m_window, m_progressDelay);
  return run(std::bind_front(&RunProgress::Report, &progress));
}

std::optional<std::string> CClipstampDialog::ChooseFolder(const std::string& start) {
  return ::ChooseFolder(start);
}

std::optional<std::string> CClipstampDialog::ChooseCombinedFile(const std::string& start) {
  return ::ChooseCombinedFile(m_window, start);
}

void CClipstampDialog::CloseDialog() { ::EndDialog(m_window, IDOK); }

INT_PTR CALLBACK CClipstampDialog::DialogProc(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* dialog = reinterpret_cast<CClipstampDialog*>(lParam);
    ::SetWindowLongPtrW(window, DWLP_USER, lParam);
    dialog->m_window = window;
    return dialog->OnInitDialog();
  }
  auto* dialog = reinterpret_cast<CClipstampDialog*>(::GetWindowLongPtrW(window, DWLP_USER));
  if (dialog == nullptr) return FALSE;
  const INT_PTR result = dialog->HandleMessage(message, wParam, lParam);
  if (message == WM_NCDESTROY) dialog->m_window = nullptr;
  return result;
}

INT_PTR CClipstampDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  switch (message) {
    case WM_COMMAND:
      return HIWORD(wParam) == BN_CLICKED && OnCommand(LOWORD(wParam));
    case WM_SYSCOMMAND:
      return OnSysCommand(wParam);
    case WM_PAINT:
      return OnPaint();
    case WM_QUERYDRAGICON:
      return reinterpret_cast<INT_PTR>(m_icon);
    default:
      return FALSE;
  }
}

BOOL CClipstampDialog::OnInitDialog() {
  for (const char* name : kSubtitleFormatNames) {
    ::SendDlgItemMessageW(m_window, IDC_SUBTITLE_FORMAT, CB_ADDSTRING, 0,
                          reinterpret_cast<LPARAM>(WideText(name).c_str()));
  }
  m_form.UpdateData(false);
  if (const HMENU menu = ::GetSystemMenu(m_window, FALSE)) {
    wchar_t text[64];
    if (::LoadStringW(ThisModule(), IDS_ABOUTBOX, text, static_cast<int>(std::size(text))) > 0) {
      ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      ::AppendMenuW(menu, MF_STRING, IDM_ABOUTBOX, text);
    }
  }
  ::SendMessageW(m_window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
  ::SendMessageW(m_window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));
  CenterWindow(m_window);
  return TRUE;  // the dialog manager focuses the first tab stop, OK
}

bool CClipstampDialog::OnCommand(int id) {
  switch (id) {
    case IDOK:
      m_form.OnOK();
      return true;
    case IDCANCEL:
      ::EndDialog(m_window, IDCANCEL);
      return true;
    case IDC_BROWSE_FOLDER:
      m_form.OnBrowseFolder();
      return true;
    case IDC_BROWSE_COMBINED:
      m_form.OnBrowseCombinedName();
      return true;
    case IDC_PAL:
    case IDC_NTSC:
      KeepRadioButtonsOffTabOrder(m_window);
      return false;
    default:
      return false;
  }
}

bool CClipstampDialog::OnSysCommand(WPARAM command) {
  if ((command & 0xFFF0) != IDM_ABOUTBOX) return false;
  CAboutBox about;
  about.DoModal(m_window);
  return true;
}

bool CClipstampDialog::OnPaint() {
  if (!::IsIconic(m_window)) return false;
  PAINTSTRUCT paint;
  const HDC context = ::BeginPaint(m_window, &paint);
  ::SendMessageW(m_window, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(context), 0);
  RECT client;
  ::GetClientRect(m_window, &client);
  // Signed divisions that truncate toward zero.
  const int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
  ::DrawIcon(context, x, y, m_icon);
  ::EndPaint(m_window, &paint);
  return true;
}
