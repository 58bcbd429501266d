#include "engine/conversion.h"

#include <optional>
#include <unordered_set>
#include <vector>

#include "engine/clip_listing.h"
#include "engine/durable_writes.h"
#include "engine/file_paths.h"
#include "engine/pending_files.h"
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

// Removes the leftovers of killed runs from each folder the run writes into, once.
class FolderCleaner {
 public:
  void Clean(const OutputFolder& folder, RunReport& report) {
    for (const FileIdentity& cleaned : m_cleaned) {
      if (cleaned == folder.Identity()) return;
    }
    m_cleaned.push_back(folder.Identity());
    for (FileFailure& leftover : RemoveStaleTemporaryFiles(folder)) {
      report.leftovers.push_back(std::move(leftover));
    }
  }

 private:
  std::vector<FileIdentity> m_cleaned;
};

// Finishes the combined file: a stream is done, a file joins the last commit.
void FinishCombined(std::optional<SubtitleFile>& combined, const std::string& path,
                    RunReport& report) {
  std::error_code error;
  if (!combined->Finish(error)) {
    report.unwritten.push_back({path, error});
    combined.reset();
  } else if (combined->IsStream()) {
    ++report.written;
    combined.reset();
  }
}

}  // namespace

ConversionSettings NormaliseSettings(ConversionSettings settings) {
  if (!settings.folder.empty() && IsPathSeparator(settings.folder.back())) {
    settings.folder.pop_back();
  }
  const std::string ownDefault = "MOVALL" + std::string(SubtitleExtension(settings.format));
  if (settings.combinedName == kDefaultCombinedName || settings.combinedName == ownDefault) {
    settings.combinedName = JoinPath(settings.folder, ownDefault);
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
  FolderCleaner cleaner;
  std::error_code error;
  if (const auto folder = OutputFolder::Open(settings.folder + kPathSeparator, error)) {
    cleaner.Clean(*folder, report);
  }

  std::optional<SubtitleFile> combined;
  if (!settings.combinedName.empty()) {
    combined =
        SubtitleFile::Create(settings.combinedName, settings.format, settings.videoSystem, error);
    if (!combined) {
      report.unwritten.push_back({settings.combinedName, error});
    } else if (combined->Folder()) {
      cleaner.Clean(*combined->Folder(), report);
    }
  }

  PendingFiles pending(BatchCapacity());
  // The per-clip files of the run: a second clip whose file is one of them leaves it alone.
  std::unordered_set<std::uint64_t> targets;
  std::uint32_t runningFrameOffset = 0;
  for (std::size_t index = 0; index < names->size(); ++index) {
    const std::string path = JoinPath(settings.folder, (*names)[index]);
    if (progress && !progress(index, names->size(), path)) {
      // The clips finished so far are put in place; the combined file keeps its old contents.
      report.cancelled = true;
      combined.reset();
      break;
    }
    ClipResult result = WriteClipSubtitles(
        path, settings.timeFormat, combined ? &*combined : nullptr, settings.videoSystem,
        runningFrameOffset, settings.minuteOffset, settings.format);
    runningFrameOffset = result.runningFrameOffset;
    if (result.file && !targets.insert(result.file->TargetKey()).second) {
      result.file.reset();
      result.outcome = ClipOutcome::kUnwritten;
      result.error = MakeRunError(RunError::kSubtitleFileOfAnotherClip);
    }
    if (!result.file) {
      RecordClipResult(std::move(result), report);
      continue;
    }
    cleaner.Clean(*result.file->Folder(), report);
    pending.Add(std::move(*result.file), std::move(result.path));
    if (pending.IsFull()) pending.Commit(report);
  }

  if (combined) FinishCombined(combined, settings.combinedName, report);
  pending.Commit(report, combined ? &*combined : nullptr, settings.combinedName);
  pending.SyncFolders(report);
  return report;
}
