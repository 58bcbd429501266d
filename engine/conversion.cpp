#include "engine/conversion.h"

#include <optional>
#include <vector>

#include "engine/clip_listing.h"
#include "engine/file_paths.h"
#include "engine/subtitle_file.h"
#include "engine/temporary_file.h"

namespace {

void RecordClipResult(ClipResult result, RunReport& report) {
  switch (result.outcome) {
    case ClipOutcome::kWritten:
      if (!result.path.empty()) report.written.push_back(std::move(result.path));
      break;
    case ClipOutcome::kSkipped:
      report.skipped.push_back({std::move(result.path), result.skipReason});
      break;
    case ClipOutcome::kFailed:
      report.failed.push_back({std::move(result.path), result.error});
      break;
  }
}

}  // namespace

ConversionSettings NormaliseSettings(ConversionSettings settings) {
  if (!settings.folder.empty() && IsPathSeparator(settings.folder.back())) {
    settings.folder.pop_back();
  }
  if (settings.combinedName == kDefaultCombinedName) {
    settings.combinedName = JoinPath(settings.folder, std::string(kDefaultCombinedName));
  }
  if (settings.timeFormat.empty()) settings.timeFormat = kDefaultTimeFormat;
  return settings;
}

RunReport ConvertFolder(ConversionSettings settings) {
  return ConvertFolder(std::move(settings), ProgressCallback());
}

RunReport ConvertFolder(ConversionSettings settings, const ProgressCallback& progress) {
  settings = NormaliseSettings(std::move(settings));
  RunReport report;
  // Nothing at all is written, not even an empty combined file, unless the folder can be listed.
  const std::optional<std::vector<std::string>> names =
      ListClipFiles(settings.folder, report.listingError);
  report.listed = names.has_value();
  if (!names) return report;
  RemoveStaleTemporaryFiles(settings.folder + kPathSeparator);

  std::optional<SubtitleFile> combined;
  if (!settings.combinedName.empty()) {
    std::error_code error;
    combined = SubtitleFile::Create(settings.combinedName, error);
    if (!combined) {
      report.failed.push_back({settings.combinedName, error});
    } else if (const std::optional<std::string> folder = combined->TemporaryFolder()) {
      RemoveStaleTemporaryFiles(*folder);
    }
  }

  std::uint32_t runningFrameOffset = 0;
  for (std::size_t index = 0; index < names->size(); ++index) {
    const std::string path = JoinPath(settings.folder, (*names)[index]);
    if (progress && !progress(index, names->size(), path)) {
      // Dropping the unfinished combined file removes its temporary; the old one stays.
      report.cancelled = true;
      return report;
    }
    ClipResult result =
        WriteClipSubtitles(path, settings.timeFormat, combined ? &*combined : nullptr,
                           settings.videoSystem, runningFrameOffset, settings.minuteOffset);
    runningFrameOffset = result.runningFrameOffset;
    RecordClipResult(std::move(result), report);
  }

  if (combined) {
    std::error_code error;
    if (combined->Commit(error)) {
      report.written.push_back(settings.combinedName);
    } else {
      report.failed.push_back({settings.combinedName, error});
    }
  }
  return report;
}
