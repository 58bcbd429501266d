#include "engine/temporary_file.h"

#include <algorithm>

namespace {

constexpr std::string_view kPrefix = ".clipstamp-";
constexpr std::string_view kSuffix = ".tmp";
constexpr std::size_t kRandomLength = 6;
constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

}  // namespace

TemporaryFile::TemporaryFile(std::shared_ptr<const OutputFolder> folder, std::string name,
                             UniqueFd fd)
    : m_folder(std::move(folder)), m_name(std::move(name)), m_fd(std::move(fd)) {}

TemporaryFile::TemporaryFile(TemporaryFile&& other) noexcept
    : m_folder(std::move(other.m_folder)),
      m_name(std::exchange(other.m_name, std::string())),
      m_fd(std::move(other.m_fd)) {}

TemporaryFile& TemporaryFile::operator=(TemporaryFile&& other) noexcept {
  if (this != &other) {
    Remove();
    m_folder = std::move(other.m_folder);
    m_name = std::exchange(other.m_name, std::string());
    m_fd = std::move(other.m_fd);
  }
  return *this;
}

TemporaryFile::~TemporaryFile() { Remove(); }

std::string RandomTemporaryName(std::mt19937& generator) {
  std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
  std::string name(kPrefix);
  for (std::size_t i = 0; i < kRandomLength; ++i) name.push_back(kAlphabet[pick(generator)]);
  name.append(kSuffix);
  return name;
}

bool IsTemporaryFileName(std::string_view name) {
  if (name.size() != kPrefix.size() + kRandomLength + kSuffix.size()) return false;
  if (!name.starts_with(kPrefix) || !name.ends_with(kSuffix)) return false;
  const std::string_view random = name.substr(kPrefix.size(), kRandomLength);
  return std::all_of(random.begin(), random.end(),
                     [](char c) { return kAlphabet.find(c) != std::string_view::npos; });
}
