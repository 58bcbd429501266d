#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

#include "engine/clip_header.h"

// The wall-clock time that captions show: one broken-down local time, started at the recorded
// time and advanced one second per caption step. Depends on the process's time zone (TZ).
class CaptionClock {
 public:
  // Starts at the recorded date and time with `minuteOffset` added to the minute field, then
  // normalised by mktime() with the daylight-saving flag left to the library, so the recorded
  // wall-clock time is kept. The offset never overflows: whole days go into the day field.
  CaptionClock(const ClipHeader& header, std::int32_t minuteOffset);

  // Adds one second and normalises again, keeping the flag the last normalisation set. When the
  // start could not be normalised, the fields are kept as set and each step tries again.
  void Advance();

  // Formats the time with strftime() in the classic "C" locale, whatever the process's locale.
  // The caption is empty when its expansion needs 255 bytes or more; 254 still fit.
  std::string Format(const std::string& timeFormat) const;

  const std::tm& Time() const { return m_time; }

 private:
  void BreakDown(std::time_t instant);

  std::tm m_time{};
  // The instant the fields show; unset when they are not those of a known instant.
  std::optional<std::time_t> m_instant;
  // Up to this instant a step only adds one to the seconds field.
  std::time_t m_plainUntil = 0;
};
