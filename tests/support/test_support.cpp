#include "tests/support/test_support.h"

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  std::random_device random;
  for (int attempt = 0; attempt < 100 && m_path.empty(); ++attempt) {
    const fs::path path =
        fs::temp_directory_path() / ("clipstamp-test-" + std::to_string(random()));
    if (fs::create_directory(path)) m_path = path;
  }
  if (m_path.empty()) throw std::runtime_error("no temporary folder");
  fs::permissions(m_path, fs::perms::all);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  fs::remove_all(m_path, ignored);
}

std::optional<std::string> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> ReadLines(const fs::path& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::map<std::string, std::string> FileTree(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const std::u8string relative = fs::relative(entry.path(), root).generic_u8string();
    const std::string name(relative.begin(), relative.end());
    if (entry.is_symlink()) {
      files[name] = "-> " + fs::read_symlink(entry.path()).string();
    } else if (entry.is_regular_file() && entry.path().filename() != ".keep") {
      files[name] = ReadFile(entry.path()).value_or("?");
    }
  }
  return files;
}

fs::path TestData(const std::string& name) { return fs::path(CLIPSTAMP_DATA) / name; }
