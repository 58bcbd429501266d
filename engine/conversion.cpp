#include "engine/conversion.h"

#include <optional>
#include <vector>

#include "engine/clip_listing.h"
#include "engine/path_text.h"
#include "engine/subtitle_file.h"

ConversionSettings NormaliseSettings(ConversionSettings settings) {
  if (!settings.folder.empty() && settings.folder.back() == kPathSeparator) {
    settings.folder.pop_back();
  }
  if (settings.combinedName == kDefaultCombinedName) {
    settings.combinedName = JoinPath(settings.folder, std::string(kDefaultCombinedName));
  }
  if (settings.timeFormat.empty()) settings.timeFormat = kDefaultTimeFormat;
  return settings;
}

bool ConvertFolder(ConversionSettings settings) {
  settings = NormaliseSettings(std::move(settings));
  // The listing is taken before the combined file is created.
  const std::optional<std::vector<std::string>> names = ListClipFiles(settings.folder);
  bool complete = names.has_value();

  std::optional<SubtitleFile> combined;
  if (!settings.combinedName.empty()) {
    combined = SubtitleFile::Create(settings.combinedName);
    if (!combined) complete = false;
  }

  std::uint32_t runningFrameOffset = 0;
  for (const std::string& name : names.value_or(std::vector<std::string>{})) {
    const ClipResult result = WriteClipSubtitles(
        JoinPath(settings.folder, name), settings.timeFormat, combined ? &*combined : nullptr,
        settings.videoSystem, runningFrameOffset, settings.minuteOffset);
    runningFrameOffset = result.runningFrameOffset;
    if (result.outcome == ClipOutcome::kFailed) complete = false;
  }

  if (combined && !combined->Close()) complete = false;
  return complete;
}
