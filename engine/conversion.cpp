#include "engine/conversion.h"

#include <optional>
#include <vector>

#include "engine/clip_listing.h"
#include "engine/file_paths.h"
#include "engine/subtitle_file.h"
#include "engine/temporary_file.h"

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
  // Nothing at all is written, not even an empty combined file, unless the folder can be listed.
  const std::optional<std::vector<std::string>> names = ListClipFiles(settings.folder);
  if (!names) return false;
  RemoveStaleTemporaryFiles(settings.folder + kPathSeparator);

  bool complete = true;
  std::optional<SubtitleFile> combined;
  if (!settings.combinedName.empty()) {
    combined = SubtitleFile::Create(settings.combinedName);
    if (!combined) {
      complete = false;
    } else if (const std::optional<std::string> folder = combined->TemporaryFolder()) {
      RemoveStaleTemporaryFiles(*folder);
    }
  }

  std::uint32_t runningFrameOffset = 0;
  for (const std::string& name : *names) {
    const ClipResult result = WriteClipSubtitles(
        JoinPath(settings.folder, name), settings.timeFormat, combined ? &*combined : nullptr,
        settings.videoSystem, runningFrameOffset, settings.minuteOffset);
    runningFrameOffset = result.runningFrameOffset;
    if (result.outcome == ClipOutcome::kFailed) complete = false;
  }

  if (combined && !combined->Commit()) complete = false;
  return complete;
}
