#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <system_error>

// Recording start and running time of one clip, as stored in bytes 6-17 of its clip information
// (".MOI") file. No field is range-checked: the caption clock normalises whatever is stored.
struct ClipHeader {
  std::uint16_t year = 0;
  std::uint8_t month = 0;  // 1 = January, as stored
  std::uint8_t day = 0;
  std::uint8_t hour = 0;
  std::uint8_t minute = 0;
  std::uint16_t milliseconds = 0;  // seconds * 1000 + milliseconds within the minute
  std::uint32_t durationMs = 0;

  std::uint32_t StartSecond() const { return milliseconds / 1000u; }
  std::uint32_t SubSecond() const { return milliseconds % 1000u; }
};

// Only the first 18 bytes of a clip information file matter; the header is bytes 6-17.
inline constexpr std::size_t kClipHeaderBytes = 18;

// Decodes the header from the first bytes of a clip information file. Returns nullopt when fewer
// than 18 bytes are given.
std::optional<ClipHeader> DecodeClipHeader(std::span<const std::uint8_t> fileStart);

// Why a path gave no header without that being a failure.
enum class SkipReason {
  kTooShort,        // fewer than 18 bytes
  kNotRegularFile,  // a folder, FIFO, device or socket, or a link that leads to none of these
  kVanished,        // removed since the folder was listed
  kCombinedFile,    // the combined file of this run, which is never read as a clip
};

// What reading a clip information file gave: its header, a reason why the path is no clip to
// read, or the error that kept a clip from being read.
struct ClipReading {
  std::optional<ClipHeader> header;
  std::error_code error;  // set when neither header nor skip reason applies
  SkipReason skipReason = SkipReason::kNotRegularFile;  // when there is neither header nor error
};

// Reads the header of the clip information file at `path`. The path is no clip to read when it
// is not a regular file (a symbolic link to one counts), is gone since it was listed or is
// shorter than 18 bytes; a clip that cannot be opened or read (no permission, too many open
// files, an I/O error) gives the error. Never blocks on a FIFO or device; the file is closed
// before this returns.
ClipReading ReadClipHeader(const std::string& path);
