#include "engine/clip_header.h"

#include "engine/byte_order.h"

std::optional<ClipHeader> DecodeClipHeader(std::span<const std::uint8_t> fileStart) {
  if (fileStart.size() < kClipHeaderBytes) return std::nullopt;
  ClipHeader header;
  header.year = ReadBigEndian16(fileStart, 6);
  header.month = fileStart[8];
  header.day = fileStart[9];
  header.hour = fileStart[10];
  header.minute = fileStart[11];
  header.milliseconds = ReadBigEndian16(fileStart, 12);
  header.durationMs = ReadBigEndian32(fileStart, 14);
  return header;
}
