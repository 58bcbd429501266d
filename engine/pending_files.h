#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/run_report.h"
#include "engine/subtitle_file.h"

// Finished subtitle files waiting to be put in place. A commit makes the contents of all of them
// durable with one wait for the medium, then renames each over its target; the folders renamed
// into are synced once, at the end of the run, so that the renames survive a power cut too.
// Until its rename every file keeps its old contents; a killed run leaves only temporary files,
// which the next run removes.
class PendingFiles {
 public:
  explicit PendingFiles(std::size_t capacity) : m_capacity(capacity) {}

  bool IsFull() const { return m_files.size() >= m_capacity; }

  // Adds a finished file that is not a stream; `path` names it in the report.
  void Add(SubtitleFile file, std::string path);

  // Puts every pending file in place, then `last` when given (it was opened before them): one
  // wait for all, then the renames in order. When the wait fails nothing is renamed and every
  // file fails. Counts the files written in `report` and lists those that failed.
  void Commit(RunReport& report, SubtitleFile* last = nullptr, const std::string& lastPath = {});

  // Syncs each folder renamed into; a folder that fails is listed with the unwritten files.
  void SyncFolders(RunReport& report);

 private:
  std::size_t m_capacity;
  std::vector<std::pair<SubtitleFile, std::string>> m_files;
  std::vector<std::shared_ptr<const OutputFolder>> m_folders;  // renamed into, each once
};
