#pragma once

#include <locale.h>

#include <cstdint>
#include <ctime>
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
  ~CaptionClock();
  CaptionClock(const CaptionClock&) = delete;
  CaptionClock& operator=(const CaptionClock&) = delete;

  // Adds one second and normalises again, keeping the flag the last normalisation set.
  void Advance();

  // Formats the time with strftime() in the classic "C" locale, whatever the process's locale.
  // The caption is empty when its expansion needs 255 bytes or more; 254 still fit.
  std::string Format(const std::string& timeFormat) const;

  const std::tm& Time() const { return m_time; }

 private:
  std::tm m_time{};
  locale_t m_classicLocale;
};
