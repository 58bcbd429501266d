#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

#include "engine/clip_header.h"

// Reasons of the run's own for leaving a file unwritten, beside the system's.
enum class RunError {
  kSubtitleFileOfAnotherClip = 1,  // an earlier clip of the run writes the same subtitle file
};

// The error code of a RunError, in a category of its own.
std::error_code MakeRunError(RunError error);

// A file the run set out to read, write or remove but could not, and why.
struct FileFailure {
  std::string path;
  std::error_code error;
};

struct SkippedClip {
  std::string path;
  SkipReason reason = SkipReason::kNotRegularFile;
};

// What one conversion run did. Paths are the clip or subtitle paths as the run formed them.
struct RunReport {
  bool listed = false;                    // the folder could be listed
  std::error_code listingError{};         // why it could not
  std::size_t written = 0;                // subtitle files written completely
  std::vector<FileFailure> unreadable{};  // clip files that could not be read
  std::vector<FileFailure> unwritten{};   // subtitle files that could not be written
  std::vector<FileFailure> leftovers{};   // stale temporary files that could not be removed
  std::vector<SkippedClip> skipped{};     // entries that are no clips
  bool cancelled = false;                 // the progress callback stopped the run

  // The run did all it set out to do: it listed the folder, read every clip and wrote every
  // subtitle file. Leftovers of earlier runs that stay do not count against it.
  bool Succeeded() const { return listed && unreadable.empty() && unwritten.empty() && !cancelled; }
};

// Called before each clip with its index (from 0), the clip count and the clip's path. Returning
// false stops the run before that clip: the files finished so far stay, later clips keep their
// old subtitle files and the combined file is not replaced.
using ProgressCallback =
    std::function<bool(std::size_t index, std::size_t count, const std::string& path)>;
