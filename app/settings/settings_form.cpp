#include "app/settings/settings_form.h"

#include <charconv>
#include <filesystem>
#include <system_error>
#include <utility>

#include "app/settings/run_summary.h"
#include "engine/file_paths.h"

std::string g_initialFolder;

namespace {

// g_initialFolder, or the current folder when that is empty; for a folder that does not exist,
// its nearest existing parent. Relative paths are taken from the current folder.
std::string FolderChooserStart() {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::path folder = g_initialFolder.empty() ? fs::current_path(error)
                                            : fs::absolute(NativePath(g_initialFolder), error);
  while (!fs::is_directory(folder, error) && folder.has_relative_path()) {
    folder = folder.parent_path();
  }
  return PathText(folder);
}

std::string FolderDefaultName(const std::string& folder) {
  return JoinPath(folder, std::string(kDefaultCombinedName));
}

}  // namespace

std::string DescribeProgress(std::size_t index, std::size_t count, const std::string& path) {
  return "Converting clip " + std::to_string(index + 1) + " of " + std::to_string(count) + "\n" +
         path.substr(ParentFolder(path).size());
}

std::optional<std::int32_t> ParseMinuteOffset(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  // from_chars takes a minus sign but no plus sign.
  if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

SettingsForm::SettingsForm(SettingsView& view, const ConversionSettings& initial)
    : m_folder(initial.folder),
      m_timeFormat(NormaliseSettings(initial).timeFormat),
      m_combinedName(initial.combinedName.empty() ? std::string(kDefaultCombinedName)
                                                  : initial.combinedName),
      m_videoSystem(initial.videoSystem == kPal ? kPal : kNtsc),
      m_minuteOffset(initial.minuteOffset),
      m_subtitleFormat(initial.format),
      m_view(view) {}

bool SettingsForm::UpdateData(bool saveAndValidate) {
  if (!saveAndValidate) {
    m_view.SetBoxText(SettingsBox::kFolder, m_folder);
    m_view.SetBoxText(SettingsBox::kTimeFormat, m_timeFormat);
    m_view.SetBoxText(SettingsBox::kCombinedName, m_combinedName);
    m_view.CheckSystem(m_videoSystem);
    m_view.ChooseFormat(m_subtitleFormat);
    m_view.SetBoxText(SettingsBox::kMinuteOffset, std::to_string(m_minuteOffset));
    return true;
  }
  m_folder = m_view.BoxText(SettingsBox::kFolder);
  m_timeFormat = m_view.BoxText(SettingsBox::kTimeFormat);
  m_combinedName = m_view.BoxText(SettingsBox::kCombinedName);
  m_videoSystem = m_view.CheckedSystem();
  m_subtitleFormat = m_view.ChosenFormat();
  const std::optional<std::int32_t> offset =
      ParseMinuteOffset(m_view.BoxText(SettingsBox::kMinuteOffset));
  if (!offset) {
    m_view.PromptForOffset();
    return false;
  }
  m_minuteOffset = *offset;
  return true;
}

void SettingsForm::OnOK() {
  if (!UpdateData(true)) return;
  // An empty folder would be the root of the file system.
  if (m_folder.empty()) {
    m_view.ShowMessage(kChooseFolderMessage);
    return;
  }
  const ConversionSettings settings{m_folder,      m_timeFormat,   m_combinedName,
                                    m_videoSystem, m_minuteOffset, m_subtitleFormat};
  const RunReport report = m_view.RunWithProgress(
      [&settings](const ProgressCallback& progress) { return ConvertFolder(settings, progress); });
  const std::string failure = DescribeRunFailure(report, settings.folder);
  if (!failure.empty()) m_view.ShowMessage(failure);
  if (report.Succeeded()) m_view.CloseDialog();
}

void SettingsForm::OnBrowseFolder() {
  UpdateData(true);
  g_initialFolder = m_folder;
  const std::optional<std::string> chosen = m_view.ChooseFolder(FolderChooserStart());
  if (!chosen) return;
  const std::string previous = std::exchange(m_folder, *chosen);
  if (m_combinedName == kDefaultCombinedName || m_combinedName == FolderDefaultName(previous)) {
    m_combinedName = FolderDefaultName(m_folder);
  }
  UpdateData(false);
}

void SettingsForm::OnBrowseCombinedName() {
  const std::string name = m_view.BoxText(SettingsBox::kCombinedName);
  const std::string folder = m_view.BoxText(SettingsBox::kFolder);
  std::string start = name;
  if (name.empty()) {
    start = folder;
  } else if (name == kDefaultCombinedName && !folder.empty()) {
    start = IsPathSeparator(folder.back()) ? folder + name : FolderDefaultName(folder);
  }
  if (const std::optional<std::string> file = m_view.ChooseCombinedFile(start)) {
    m_view.SetBoxText(SettingsBox::kCombinedName, *file);
  }
}
