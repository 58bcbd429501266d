#include "engine/clip_listing.h"

#include <algorithm>

#include "engine/file_paths.h"

namespace {

char ToUpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool IsClipFileName(std::string_view name) {
  constexpr std::string_view kSuffix = ".MOI";
  if (name.size() < kSuffix.size()) return false;
  const std::string_view tail = name.substr(name.size() - kSuffix.size());
  return std::equal(tail.begin(), tail.end(), kSuffix.begin(),
                    [](char a, char b) { return ToUpperAscii(a) == b; });
}

bool ClipNameLess(std::string_view a, std::string_view b) {
  const auto folded = [](char c) { return static_cast<unsigned char>(ToUpperAscii(c)); };
  const auto byte = [](char c) { return static_cast<unsigned char>(c); };
  const auto foldedOrder = std::lexicographical_compare_three_way(
      a.begin(), a.end(), b.begin(), b.end(),
      [&](char x, char y) { return folded(x) <=> folded(y); });
  if (foldedOrder != 0) return foldedOrder < 0;
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [&](char x, char y) { return byte(x) < byte(y); });
}

ClipFileSearch::ClipFileSearch(const std::string& folder)
    : m_entry(NativePath(folder + kPathSeparator), m_error) {}

std::optional<std::string> ClipFileSearch::Next() {
  while (!m_error && m_entry != std::filesystem::directory_iterator()) {
    std::string name = PathText(m_entry->path().filename());
    m_entry.increment(m_error);
    if (IsClipFileName(name)) return name;
  }
  return std::nullopt;
}

std::optional<std::vector<std::string>> ListClipFiles(const std::string& folder,
                                                      std::error_code& error) {
  ClipFileSearch search(folder);
  std::vector<std::string> names;
  while (std::optional<std::string> name = search.Next()) names.push_back(std::move(*name));
  error = search.Error();
  if (error) return std::nullopt;
  std::sort(names.begin(), names.end(), ClipNameLess);
  return names;
}
