#pragma once

#include <cstdint>
#include <ctime>
#include <optional>

#include "engine/clip_header.h"

// The wall-clock time that captions show: one broken-down local time, started at the recorded
// time and advanced one second per caption step. Depends on the process's time zone (TZ).
class CaptionClock {
 public:
  // Starts at the recorded date and time with `minuteOffset` added to the minutes, carried into
  // range as mktime() carries fields and read as local time by ReadWallClock(): the same start
  // always shows the same, whatever was read before. When the platform cannot represent it, the
  // fields stay as set (or as mktime() carries them).
  CaptionClock(const ClipHeader& header, std::int32_t minuteOffset);

  // Moves on to the local time of the next second. When that cannot be represented, adds one
  // to the seconds field and lets mktime() carry the fields, if it can.
  void Advance();

  const std::tm& Time() const { return m_time; }

 private:
  // Shows the local time of `instant`; false when the platform cannot represent it.
  bool Show(std::time_t instant);

  std::tm m_time{};
  // The instant the fields show; unset when they are not those of a known instant.
  std::optional<std::time_t> m_instant;
  // Up to this instant a step only adds one to the seconds field.
  std::time_t m_plainUntil = 0;
};
