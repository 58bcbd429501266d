#include "engine/temporary_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <random>

namespace {

constexpr std::string_view kPrefix = ".clipstamp-";
constexpr std::string_view kSuffix = ".tmp";
constexpr std::size_t kRandomLength = 6;
constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr int kAttempts = 100;

std::string RandomName(std::mt19937& generator) {
  std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
  std::string name(kPrefix);
  for (std::size_t i = 0; i < kRandomLength; ++i) name.push_back(kAlphabet[pick(generator)]);
  name.append(kSuffix);
  return name;
}

}  // namespace

std::optional<TemporaryFile> TemporaryFile::Create(const std::string& folderPrefix) {
  // Names need only differ between concurrent writers; O_EXCL settles any collision.
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  std::mt19937 generator(static_cast<std::uint32_t>(ticks) ^
                         (static_cast<std::uint32_t>(::getpid()) << 16));
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    std::string path = folderPrefix + RandomName(generator);
    UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666));
    if (!fd.IsOpen()) {
      if (errno == EEXIST) continue;
      return std::nullopt;
    }
    TemporaryFile file(std::move(fd), std::move(path));
    // A file system without locks still gets a working temporary file.
    ::flock(file.Fd(), LOCK_EX | LOCK_NB);
    return file;
  }
  return std::nullopt;
}

TemporaryFile::TemporaryFile(UniqueFd fd, std::string path)
    : m_fd(std::move(fd)), m_path(std::move(path)) {}

TemporaryFile::TemporaryFile(TemporaryFile&& other) noexcept
    : m_fd(std::move(other.m_fd)), m_path(std::exchange(other.m_path, std::string())) {}

TemporaryFile& TemporaryFile::operator=(TemporaryFile&& other) noexcept {
  if (this != &other) {
    Remove();
    m_fd = std::move(other.m_fd);
    m_path = std::exchange(other.m_path, std::string());
  }
  return *this;
}

TemporaryFile::~TemporaryFile() { Remove(); }

void TemporaryFile::Remove() {
  m_fd.Reset();
  if (!m_path.empty()) ::unlink(m_path.c_str());
  m_path.clear();
}

bool IsTemporaryFileName(std::string_view name) {
  if (name.size() != kPrefix.size() + kRandomLength + kSuffix.size()) return false;
  if (!name.starts_with(kPrefix) || !name.ends_with(kSuffix)) return false;
  const std::string_view random = name.substr(kPrefix.size(), kRandomLength);
  return std::all_of(random.begin(), random.end(),
                     [](char c) { return kAlphabet.find(c) != std::string_view::npos; });
}

void RemoveStaleTemporaryFiles(const std::string& folderPrefix, std::time_t runStart) {
  std::error_code error;
  std::filesystem::directory_iterator entry(folderPrefix.empty() ? "." : folderPrefix, error);
  for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
    const std::string name = entry->path().filename().native();
    if (!IsTemporaryFileName(name)) continue;
    const std::string path = folderPrefix + name;
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
    struct stat info {};
    if (!fd.IsOpen() || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
    // A live writer holds the lock; a file written after this run began may belong to a
    // run that started meanwhile and has not taken its lock yet.
    if (info.st_mtime >= runStart || ::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) continue;
    ::unlink(path.c_str());
  }
}
