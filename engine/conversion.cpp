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
      if (!result.path.empty()) ++report.written;
      break;
    case ClipOutcome::kSkipped:
      report.skipped.push_back({std::move(result.path), result.skipReason});
      break;
    case ClipOutcome::kUnreadable:
      report.unreadable.push_back({std::move(result.path), result.error});
      break;
    case ClipOutcome::kUnwritten:
      report.unwritten.push_back({std::move(result.path), result.error});
      break;
  }
}

void RemoveLeftovers(const std::string& folderPrefix, RunReport& report) {
  for (FileFailure& leftover : RemoveStaleTemporaryFiles(folderPrefix)) {
    report.leftovers.push_back(std::move(leftover));
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

RunReport ConvertFolder(ConversionSettings settings, const ProgressCallback& progress) {
  settings = NormaliseSettings(std::move(settings));
  RunReport report;
  // Nothing at all is written, not even an empty combined file, unless the folder can be listed.
  const std::optional<std::vector<std::string>> names =
      ListClipFiles(settings.folder, report.listingError);
  report.listed = names.has_value();
  if (!names) return report;
  RemoveLeftovers(settings.folder + kPathSeparator, report);

  std::optional<SubtitleFile> combined;
  if (!settings.combinedName.empty()) {
    std::error_code error;
    combined = SubtitleFile::Create(settings.combinedName, error);
    if (!combined) {
      report.unwritten.push_back({settings.combinedName, error});
    } else if (const std::optional<std::string> folder = combined->TemporaryFolder()) {
      RemoveLeftovers(*folder, report);
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
      ++report.written;
    } else {
      report.unwritten.push_back({settings.combinedName, error});
    }
  }
  return report;
}
