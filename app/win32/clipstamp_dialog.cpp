#include "app/win32/clipstamp_dialog.h"

#include <iterator>
#include <optional>
#include <string>
#include <utility>

#include "app/run_summary.h"
#include "app/win32/about_box.h"
#include "app/win32/choosers.h"
#include "app/win32/run_progress.h"
#include "app/win32/window_placement.h"
#include "engine/win32_calls.h"
#include "res/resource.h"

namespace {

constexpr wchar_t kTitle[] = L"Clipstamp";

HINSTANCE ThisModule() { return ::GetModuleHandleW(nullptr); }

// Checking a radio button makes it a tab stop; these stay out of the Tab order.
void KeepRadioButtonsOffTabOrder(HWND dialog) {
  for (const int id : {IDC_PAL, IDC_NTSC}) {
    const HWND button = ::GetDlgItem(dialog, id);
    ::SetWindowLongPtrW(button, GWL_STYLE,
                        ::GetWindowLongPtrW(button, GWL_STYLE) & ~LONG_PTR{WS_TABSTOP});
  }
}

}  // namespace

CClipstampDialog::CClipstampDialog(std::string folder, std::string timeFormat,
                                   std::string combinedName, bool ntsc, std::int32_t minuteOffset,
                                   HWND parent)
    : m_icon(::LoadIconW(ThisModule(), MAKEINTRESOURCEW(IDR_MAINFRAME))), m_parent(parent) {
  DialogFields fields = InitialFields(std::move(folder), std::move(timeFormat),
                                      std::move(combinedName), ntsc, minuteOffset);
  m_folder = std::move(fields.folder);
  m_timeFormat = std::move(fields.timeFormat);
  m_combinedName = std::move(fields.combinedName);
  m_videoSystem = fields.videoSystem;
  m_minuteOffset = fields.minuteOffset;
}

INT_PTR CClipstampDialog::DoModal() {
  return ::DialogBoxParamW(ThisModule(), MAKEINTRESOURCEW(IDD_CLIPSTAMP_DIALOG), m_parent,
                           &CClipstampDialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

bool CClipstampDialog::UpdateData(bool saveAndValidate) {
  if (!saveAndValidate) {
    ::SetDlgItemTextW(m_window, IDC_FOLDER, WideText(m_folder).c_str());
    ::SetDlgItemTextW(m_window, IDC_TIME_FORMAT, WideText(m_timeFormat).c_str());
    ::SetDlgItemTextW(m_window, IDC_COMBINED_NAME, WideText(m_combinedName).c_str());
    ::CheckRadioButton(m_window, IDC_PAL, IDC_NTSC, m_videoSystem == kPal ? IDC_PAL : IDC_NTSC);
    KeepRadioButtonsOffTabOrder(m_window);
    ::SetDlgItemTextW(m_window, IDC_MINUTE_OFFSET, std::to_wstring(m_minuteOffset).c_str());
    return true;
  }
  m_folder = ControlText(IDC_FOLDER);
  m_timeFormat = ControlText(IDC_TIME_FORMAT);
  m_combinedName = ControlText(IDC_COMBINED_NAME);
  m_videoSystem = ::IsDlgButtonChecked(m_window, IDC_NTSC) == BST_CHECKED ? kNtsc : kPal;
  const std::optional<std::int32_t> offset = ParseMinuteOffset(ControlText(IDC_MINUTE_OFFSET));
  if (!offset) {
    ::MessageBoxW(m_window,
                  L"Time offset: please enter a whole number of minutes, for example 0, 30 or -60.",
                  kTitle, MB_OK | MB_ICONEXCLAMATION);
    const HWND box = ::GetDlgItem(m_window, IDC_MINUTE_OFFSET);
    ::SendMessageW(m_window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(box), TRUE);
    ::SendMessageW(box, EM_SETSEL, 0, -1);
    return false;
  }
  m_minuteOffset = *offset;
  return true;
}

ConversionSettings CClipstampDialog::Settings() const { return SettingsFromFields(Fields()); }

void CClipstampDialog::OnFolderChosen(const std::string& folder) {
  const std::string previous = std::exchange(m_folder, folder);
  m_combinedName = CombinedNameAfterChoice(m_combinedName, previous, m_folder, '\\');
  UpdateData(false);
}

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

DialogFields CClipstampDialog::Fields() const {
  return {m_folder, m_timeFormat, m_combinedName, m_videoSystem, m_minuteOffset};
}

std::string CClipstampDialog::ControlText(int id) const {
  const HWND control = ::GetDlgItem(m_window, id);
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      ::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return Utf8Text(text);
}

BOOL CClipstampDialog::OnInitDialog() {
  UpdateData(false);
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
      OnOK();
      return true;
    case IDCANCEL:
      ::EndDialog(m_window, IDCANCEL);
      return true;
    case IDC_BROWSE_FOLDER:
      OnBrowseFolder();
      return true;
    case IDC_BROWSE_COMBINED:
      OnBrowseCombinedName();
      return true;
    case IDC_PAL:
    case IDC_NTSC:
      KeepRadioButtonsOffTabOrder(m_window);
      return false;
    default:
      return false;
  }
}

void CClipstampDialog::OnOK() {
  if (!UpdateData(true)) return;
  const ConversionSettings settings = Settings();
  RunReport report;
  {
    RunProgress progress(m_window, m_progressDelay);
    report = ConvertFolder(
        settings, [&progress](std::size_t index, std::size_t count, const std::string& path) {
          return progress.Report(index, count, path);
        });
  }
  const std::string failure = DescribeRunFailure(report, settings.folder);
  if (!failure.empty()) {
    ::MessageBoxW(m_window, WideText(failure).c_str(), kTitle, MB_OK | MB_ICONWARNING);
  }
  // After a failure or Cancel the fields stay as entered, for another try.
  if (report.Succeeded()) ::EndDialog(m_window, IDOK);
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

void CClipstampDialog::OnBrowseFolder() {
  UpdateData(true);
  g_initialFolder = m_folder;
  if (const std::optional<std::string> folder = ChooseFolder()) OnFolderChosen(*folder);
}

void CClipstampDialog::OnBrowseCombinedName() {
  const std::string start =
      ProposedCombinedFile(ControlText(IDC_COMBINED_NAME), ControlText(IDC_FOLDER), '\\');
  if (const std::optional<std::string> file = ChooseCombinedFile(m_window, start)) {
    ::SetDlgItemTextW(m_window, IDC_COMBINED_NAME, WideText(*file).c_str());
  }
}
