#include "tests/support/test_support.h"

#include <stdlib.h>
#include <time.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

ScopedTimeZone::ScopedTimeZone(const std::string& zone) {
  if (const char* previous = std::getenv("TZ")) m_previous = previous;
  ::setenv("TZ", zone.c_str(), 1);
  ::tzset();
}

ScopedTimeZone::~ScopedTimeZone() {
  if (m_previous) {
    ::setenv("TZ", m_previous->c_str(), 1);
  } else {
    ::unsetenv("TZ");
  }
  ::tzset();
}

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "clipstamp-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  m_path = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  // Restore permissions a test may have taken away, so everything can be removed.
  for (auto it = std::filesystem::recursive_directory_iterator(
           m_path, std::filesystem::directory_options::skip_permission_denied, ignored);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
    if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
      std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ignored);
    }
  }
  std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(m_path, ignored);
}

std::vector<std::uint8_t> EncodeClipFile(const ClipSpec& clip) {
  std::vector<std::uint8_t> bytes(256, 0);
  const auto put16 = [&](std::size_t at, unsigned value) {
    bytes[at] = static_cast<std::uint8_t>(value >> 8);
    bytes[at + 1] = static_cast<std::uint8_t>(value);
  };
  const auto put32 = [&](std::size_t at, std::uint32_t value) {
    put16(at, value >> 16);
    put16(at + 2, value & 0xFFFF);
  };
  bytes[0] = 'V';
  bytes[1] = '6';
  put32(2, static_cast<std::uint32_t>(bytes.size()));
  put16(6, static_cast<unsigned>(clip.year));
  bytes[8] = static_cast<std::uint8_t>(clip.month);
  bytes[9] = static_cast<std::uint8_t>(clip.day);
  bytes[10] = static_cast<std::uint8_t>(clip.hour);
  bytes[11] = static_cast<std::uint8_t>(clip.minute);
  put16(12, static_cast<unsigned>(clip.milliseconds));
  put32(14, clip.durationMs);
  return bytes;
}

void WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

void WriteFileText(const std::string& path, const std::string& text) {
  WriteFileBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

void WriteClipFile(const std::string& path, const ClipSpec& clip) {
  WriteFileBytes(path, EncodeClipFile(clip));
}

std::optional<std::string> ReadFileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string CrLfLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}
