#include "engine/pending_files.h"

#include <algorithm>

#include "engine/durable_writes.h"

void PendingFiles::Add(SubtitleFile file, std::string path) {
  m_files.emplace_back(std::move(file), std::move(path));
}

void PendingFiles::Commit(RunReport& report, SubtitleFile* last, const std::string& lastPath) {
  std::vector<std::pair<SubtitleFile*, const std::string*>> order;
  std::vector<const UniqueFd*> waitFor;
  if (last != nullptr) waitFor.push_back(last->Temporary());
  for (auto& [file, path] : m_files) {
    order.emplace_back(&file, &path);
    waitFor.push_back(file.Temporary());
  }
  if (last != nullptr) order.emplace_back(last, &lastPath);

  const std::error_code waitError = WaitForMedium(waitFor);
  for (auto& [file, path] : order) {
    std::error_code error = waitError;
    if (!error && file->Replace(error)) {
      ++report.written;
      const auto& folder = file->Folder();
      if (std::none_of(m_folders.begin(), m_folders.end(), [&](const auto& known) {
            return known->Identity() == folder->Identity();
          })) {
        m_folders.push_back(folder);
      }
    } else {
      report.unwritten.push_back({*path, error});
    }
  }
  m_files.clear();
}

void PendingFiles::SyncFolders(RunReport& report) {
  for (const std::shared_ptr<const OutputFolder>& folder : m_folders) {
    std::error_code error;
    if (!folder->Sync(error)) {
      report.unwritten.push_back({folder->Prefix().empty() ? "." : folder->Prefix(), error});
    }
  }
  m_folders.clear();
}
