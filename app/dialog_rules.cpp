#include "app/dialog_rules.h"

#include <charconv>
#include <utility>

DialogFields InitialFields(std::string folder, std::string timeFormat, std::string combinedName,
                           bool ntsc, std::int32_t minuteOffset) {
  DialogFields fields;
  fields.folder = std::move(folder);
  fields.timeFormat = timeFormat.empty() ? std::string(kDefaultTimeFormat) : std::move(timeFormat);
  fields.combinedName =
      combinedName.empty() ? std::string(kDefaultCombinedName) : std::move(combinedName);
  fields.videoSystem = ntsc ? kNtsc : kPal;
  fields.minuteOffset = minuteOffset;
  return fields;
}

std::string CombinedNameAfterChoice(const std::string& combinedName, const std::string& previous,
                                    const std::string& chosen, char separator) {
  const std::string previousDefault = previous + separator + std::string(kDefaultCombinedName);
  if (combinedName != kDefaultCombinedName && combinedName != previousDefault) {
    return combinedName;
  }
  return chosen + separator + std::string(kDefaultCombinedName);
}

std::string ProposedCombinedFile(const std::string& combinedName, const std::string& folder,
                                 char separator) {
  if (combinedName.empty()) return folder;
  if (combinedName != kDefaultCombinedName || folder.empty()) return combinedName;
  return folder.back() == separator ? folder + combinedName : folder + separator + combinedName;
}

ConversionSettings SettingsFromFields(const DialogFields& fields) {
  ConversionSettings settings;
  settings.folder = fields.folder;
  settings.timeFormat = fields.timeFormat;
  settings.combinedName = fields.combinedName;
  settings.videoSystem = fields.videoSystem;
  settings.minuteOffset = fields.minuteOffset;
  return settings;
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

bool IsTimeToShowProgress(std::chrono::milliseconds elapsed, std::chrono::milliseconds delay) {
  return elapsed >= delay;
}
