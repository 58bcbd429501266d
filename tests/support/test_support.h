#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// Sets TZ for the lifetime of the object (and calls tzset), then restores the previous value.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const std::string& zone);
  ~ScopedTimeZone();
  ScopedTimeZone(const ScopedTimeZone&) = delete;
  ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

 private:
  std::optional<std::string> m_previous;
};

// Zones given as POSIX rules, so tests need no time-zone database.
inline constexpr char kNewYork[] = "EST5EDT,M3.2.0,M11.1.0";
inline constexpr char kBerlin[] = "CET-1CEST,M3.5.0,M10.5.0/3";

// A fresh folder under the system's temporary folder, removed with everything in it on
// destruction.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return m_path; }
  std::string operator/(const std::string& name) const { return (m_path / name).string(); }

 private:
  std::filesystem::path m_path;
};

// Start of a recording and running time, as a test writes them into a clip information file.
struct ClipSpec {
  int year = 2007;
  int month = 11;
  int day = 12;
  int hour = 13;
  int minute = 45;
  int milliseconds = 0;  // seconds * 1000 + milliseconds
  std::uint32_t durationMs = 0;
};

// The bytes of a 256-byte clip information file: "V6", the file size and the header, all
// big-endian, written byte by byte.
std::vector<std::uint8_t> EncodeClipFile(const ClipSpec& clip);

void WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
void WriteFileText(const std::string& path, const std::string& text);
void WriteClipFile(const std::string& path, const ClipSpec& clip);

// The whole file as bytes; nullopt when it cannot be read.
std::optional<std::string> ReadFileText(const std::string& path);

// Lines joined with CR LF line ends, as subtitle files store them.
std::string CrLfLines(const std::vector<std::string>& lines);
