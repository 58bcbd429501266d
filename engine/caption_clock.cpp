#include "engine/caption_clock.h"

#include "engine/caption_format.h"
#include "engine/local_time.h"

namespace {

constexpr std::int32_t kMinutesPerDay = 24 * 60;
constexpr int kLastSecondOfMinute = 59;

}  // namespace

CaptionClock::CaptionClock(const ClipHeader& header, std::int32_t minuteOffset) {
  m_time.tm_year = header.year - 1900;
  m_time.tm_mon = header.month - 1;
  m_time.tm_mday = header.day + minuteOffset / kMinutesPerDay;
  m_time.tm_hour = header.hour;
  m_time.tm_min = header.minute + minuteOffset % kMinutesPerDay;
  m_time.tm_sec = static_cast<int>(header.StartSecond());
  m_time.tm_isdst = -1;
  m_instant = NormaliseLocalTime(m_time);
  if (m_instant) m_plainUntil = *m_instant;
}

void CaptionClock::Advance() {
  if (!m_instant) {
    ++m_time.tm_sec;
    NormaliseLocalTime(m_time);
    return;
  }
  const std::time_t next = *m_instant + 1;
  if (next <= m_plainUntil) {
    ++m_time.tm_sec;
    m_instant = next;
    return;
  }
  BreakDown(next);
}

// Breaks the instant down and finds how far the seconds field alone then follows the clock: to
// the end of the minute when the end shows the same minute in the same zone state. A zone never
// changes its offset and changes it back within one minute, so nothing changes in between.
void CaptionClock::BreakDown(std::time_t instant) {
  std::tm fields{};
  if (!BreakDownLocalTime(instant, fields)) {
    m_instant.reset();
    ++m_time.tm_sec;
    NormaliseLocalTime(m_time);
    return;
  }
  m_time = fields;
  m_instant = instant;
  m_plainUntil = instant;
  if (fields.tm_sec < 0 || fields.tm_sec >= kLastSecondOfMinute) return;
  const std::time_t minuteEnd = instant + (kLastSecondOfMinute - fields.tm_sec);
  std::tm end{};
  if (BreakDownLocalTime(minuteEnd, end) && end.tm_sec == kLastSecondOfMinute &&
      SameButSeconds(end, fields)) {
    m_plainUntil = minuteEnd;
  }
}

std::string CaptionClock::Format(const std::string& timeFormat) const {
  CaptionFormat format(timeFormat);
  return std::string(format.Format(m_time));
}
