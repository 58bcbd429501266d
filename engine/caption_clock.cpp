#include "engine/caption_clock.h"

#include <time.h>

namespace {

constexpr std::int32_t kMinutesPerDay = 24 * 60;
// strftime() writes into a 256-byte buffer with a limit of 255 bytes, terminator included.
constexpr std::size_t kCaptionBufferSize = 256;
constexpr std::size_t kCaptionLimit = 255;

}  // namespace

CaptionClock::CaptionClock(const ClipHeader& header, std::int32_t minuteOffset)
    : m_classicLocale(::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr))) {
  m_time.tm_year = header.year - 1900;
  m_time.tm_mon = header.month - 1;
  m_time.tm_mday = header.day + minuteOffset / kMinutesPerDay;
  m_time.tm_hour = header.hour;
  m_time.tm_min = header.minute + minuteOffset % kMinutesPerDay;
  m_time.tm_sec = static_cast<int>(header.StartSecond());
  m_time.tm_isdst = -1;
  // Only the normalised fields are used; a failure leaves them as set.
  std::mktime(&m_time);
}

CaptionClock::~CaptionClock() {
  if (m_classicLocale != static_cast<locale_t>(nullptr)) ::freelocale(m_classicLocale);
}

void CaptionClock::Advance() {
  ++m_time.tm_sec;
  std::mktime(&m_time);
}

std::string CaptionClock::Format(const std::string& timeFormat) const {
  char buffer[kCaptionBufferSize];
  const std::size_t length =
      m_classicLocale != static_cast<locale_t>(nullptr)
          ? ::strftime_l(buffer, kCaptionLimit, timeFormat.c_str(), &m_time, m_classicLocale)
          : std::strftime(buffer, kCaptionLimit, timeFormat.c_str(), &m_time);
  return std::string(buffer, length);
}
