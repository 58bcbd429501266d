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

// Reads the header of the clip information file at `path`. Returns nullopt with `error` clear
// when the path is no clip to read: not a regular file (a symbolic link to one counts), gone
// since it was listed, or shorter than 18 bytes. Returns nullopt with `error` set when a regular
// file cannot be opened or read (no permission, too many open files, an I/O error). Never
// blocks on a FIFO or device; the file is closed before this returns.
std::optional<ClipHeader> ReadClipHeader(const std::string& path, std::error_code& error);
