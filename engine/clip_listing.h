#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

// True for a name of at least four bytes that ends in ".MOI", ignoring ASCII letter case.
bool IsClipFileName(std::string_view name);

// Orders names with the ASCII letters a-z folded to upper case, ties broken byte for byte
// (unsigned), so "_" sorts after letters.
bool ClipNameLess(std::string_view a, std::string_view b);

// The entries of one folder whose names are clip file names, one at a time in directory order.
// "." and ".." are never returned. Entries are returned whatever their type.
class ClipFileSearch {
 public:
  // Begins listing `folder`; an empty folder means the file-system root.
  explicit ClipFileSearch(const std::string& folder);

  // The next matching name, or nullopt at the end of the listing or on an error.
  std::optional<std::string> Next();

  // The error that stopped the listing (the folder is missing, not a folder, not readable).
  std::error_code Error() const { return m_error; }

 private:
  std::error_code m_error;  // declared first: the iterator's construction sets it
  std::filesystem::directory_iterator m_entry;
};

// The folder's clip file names in ClipNameLess order; nullopt when the folder cannot be listed.
std::optional<std::vector<std::string>> ListClipFiles(const std::string& folder,
                                                      std::error_code& error);
