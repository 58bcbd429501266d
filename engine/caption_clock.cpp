#include "engine/caption_clock.h"

#include "engine/caption_format.h"
#include "engine/local_time.h"
#include "engine/wall_clock.h"

namespace {

constexpr std::int32_t kMinutesPerDay = 24 * 60;
constexpr int kLastSecondOfMinute = 59;

// The recorded start with the offset added to the minutes; whole days of the offset go into the
// day field, so no field leaves its type's range.
std::tm StartFields(const ClipHeader& header, std::int32_t minuteOffset) {
  std::tm fields{};
  fields.tm_year = header.year - 1900;
  fields.tm_mon = header.month - 1;
  fields.tm_mday = header.day + minuteOffset / kMinutesPerDay;
  fields.tm_hour = header.hour;
  fields.tm_min = header.minute + minuteOffset % kMinutesPerDay;
  fields.tm_sec = static_cast<int>(header.StartSecond());
  fields.tm_isdst = -1;
  return fields;
}

}  // namespace

CaptionClock::CaptionClock(const ClipHeader& header, std::int32_t minuteOffset)
    : m_time(StartFields(header, minuteOffset)) {
  const std::optional<std::time_t> start = ReadWallClock(WallSeconds(m_time), &BreakDownLocalTime);
  if (start && Show(*start)) return;
  // Times the platform cannot represent keep their fields; mktime() may still carry them.
  m_instant = NormaliseLocalTime(m_time);
  if (m_instant) m_plainUntil = *m_instant;
}

void CaptionClock::Advance() {
  if (m_instant) {
    const std::time_t next = *m_instant + 1;
    if (next <= m_plainUntil) {
      ++m_time.tm_sec;
      m_instant = next;
      return;
    }
    if (Show(next)) return;
    m_instant.reset();
  }
  ++m_time.tm_sec;
  NormaliseLocalTime(m_time);
}

// Breaks the instant down and finds how far the seconds field alone then follows the clock: to
// the end of the minute when the end shows the same minute in the same zone state. A zone never
// changes its offset and changes it back within one minute, so nothing changes in between.
bool CaptionClock::Show(std::time_t instant) {
  std::tm fields{};
  if (!BreakDownLocalTime(instant, fields)) return false;
  m_time = fields;
  m_instant = instant;
  m_plainUntil = instant;
  if (fields.tm_sec < 0 || fields.tm_sec >= kLastSecondOfMinute) return true;
  const std::time_t minuteEnd = instant + (kLastSecondOfMinute - fields.tm_sec);
  std::tm end{};
  if (BreakDownLocalTime(minuteEnd, end) && end.tm_sec == kLastSecondOfMinute &&
      SameButSeconds(end, fields)) {
    m_plainUntil = minuteEnd;
  }
  return true;
}
