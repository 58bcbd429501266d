#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// Big-endian (most significant byte first) field readers. The caller guarantees that the field
// lies inside `bytes`.
inline std::uint16_t ReadBigEndian16(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return static_cast<std::uint16_t>((bytes[offset] << 8) | bytes[offset + 1]);
}

inline std::uint32_t ReadBigEndian32(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return (std::uint32_t{bytes[offset]} << 24) | (std::uint32_t{bytes[offset + 1]} << 16) |
         (std::uint32_t{bytes[offset + 2]} << 8) | std::uint32_t{bytes[offset + 3]};
}
