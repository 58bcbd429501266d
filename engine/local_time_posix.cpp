#include "engine/local_time.h"

#include <locale.h>
#include <time.h>

#include <cstring>

std::optional<std::time_t> NormaliseLocalTime(std::tm& time) {
  const std::time_t instant = ::mktime(&time);
  if (instant == static_cast<std::time_t>(-1)) return std::nullopt;
  return instant;
}

bool BreakDownLocalTime(std::time_t instant, std::tm& time) {
  return ::localtime_r(&instant, &time) != nullptr;
}

bool SameButSeconds(const std::tm& a, const std::tm& b) {
  const bool sameZoneName =
      a.tm_zone == b.tm_zone ||
      (a.tm_zone != nullptr && b.tm_zone != nullptr && std::strcmp(a.tm_zone, b.tm_zone) == 0);
  return a.tm_min == b.tm_min && a.tm_hour == b.tm_hour && a.tm_mday == b.tm_mday &&
         a.tm_mon == b.tm_mon && a.tm_year == b.tm_year && a.tm_wday == b.tm_wday &&
         a.tm_yday == b.tm_yday && a.tm_isdst == b.tm_isdst && a.tm_gmtoff == b.tm_gmtoff &&
         sameZoneName;
}

ClassicLocale::ClassicLocale()
    : m_locale(::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr))) {}

ClassicLocale::~ClassicLocale() {
  if (m_locale != nullptr) ::freelocale(static_cast<locale_t>(m_locale));
}

std::size_t ClassicLocale::FormatTime(char* buffer, std::size_t limit, const char* format,
                                      const std::tm& time) const {
  if (m_locale == nullptr) return std::strftime(buffer, limit, format, &time);
  return ::strftime_l(buffer, limit, format, &time, static_cast<locale_t>(m_locale));
}
