#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

// Why a listed clip gave no subtitle file without that being a failure.
enum class SkipReason {
  kTooShort,        // fewer than 18 bytes
  kNotRegularFile,  // a folder, FIFO, device or socket, or a link to none of these
  kVanished,        // removed since the folder was listed
  kCombinedFile,    // the combined file of this run, which is never read as a clip
};

// A file the run set out to read or write but could not.
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
  bool listed = false;                 // the folder could be listed
  std::error_code listingError{};      // why it could not
  std::vector<std::string> written{};  // subtitle files written completely, in the order written
  std::vector<FileFailure> failed{};   // unreadable clips and unwritable subtitle files
  std::vector<SkippedClip> skipped{};
  bool cancelled = false;  // the progress callback stopped the run

  // The run did all it set out to do.
  bool Succeeded() const { return listed && failed.empty() && !cancelled; }
};

// Called before each clip with its index (from 0), the clip count and the clip's path. Returning
// false stops the run before that clip: the files finished so far stay, later clips keep their
// old subtitle files and the combined file is not replaced.
using ProgressCallback =
    std::function<bool(std::size_t index, std::size_t count, const std::string& path)>;
