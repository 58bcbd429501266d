#include "engine/local_time.h"

#include <time.h>

#include <clocale>
#include <cstring>

// Captions after 2038 need a 64-bit time_t on 32-bit Windows too.
static_assert(sizeof(std::time_t) == 8, "build with __MINGW_USE_VC2005_COMPAT on 32-bit Windows");

std::optional<std::time_t> NormaliseLocalTime(std::tm& time) {
  // The runtime's mktime() fails outside 1970-3000 and then leaves the fields as they were.
  const std::time_t instant = std::mktime(&time);
  if (instant == static_cast<std::time_t>(-1)) return std::nullopt;
  return instant;
}

bool BreakDownLocalTime(std::time_t instant, std::tm& time) {
  return ::localtime_s(&time, &instant) == 0;
}

// The Windows runtime's fields carry no offset or zone name; the daylight-saving flag stands
// for both.
bool SameButSeconds(const std::tm& a, const std::tm& b) {
  return a.tm_min == b.tm_min && a.tm_hour == b.tm_hour && a.tm_mday == b.tm_mday &&
         a.tm_mon == b.tm_mon && a.tm_year == b.tm_year && a.tm_wday == b.tm_wday &&
         a.tm_yday == b.tm_yday && a.tm_isdst == b.tm_isdst;
}

namespace {

// The system runtime has no strftime() with a locale of its own; its global locale starts as "C"
// and this program never changes it.
constexpr char kRuntimeLocale[] = "C";

// The runtime's strftime() treats a conversion it does not know, or a field out of its range,
// as an invalid parameter, which ends the process.
bool RuntimeCanFormat(const char* format, const std::tm& time) {
  for (const char* p = std::strchr(format, '%'); p != nullptr; p = std::strchr(p + 1, '%')) {
    ++p;
    if (*p == '#') ++p;
    if (*p == '\0' || std::strchr("aAbBcdHIjmMpSUwWxXyYzZ%", *p) == nullptr) return false;
  }
  return time.tm_sec >= 0 && time.tm_sec <= 59 && time.tm_min >= 0 && time.tm_min <= 59 &&
         time.tm_hour >= 0 && time.tm_hour <= 23 && time.tm_mday >= 1 && time.tm_mday <= 31 &&
         time.tm_mon >= 0 && time.tm_mon <= 11 && time.tm_year >= -1900 && time.tm_year <= 8099 &&
         time.tm_wday >= 0 && time.tm_wday <= 6 && time.tm_yday >= 0 && time.tm_yday <= 365;
}

bool RuntimeLocaleIsClassic() {
  const char* current = std::setlocale(LC_TIME, nullptr);
  return current != nullptr && std::strcmp(current, "C") == 0;
}

}  // namespace

ClassicLocale::ClassicLocale()
    : m_locale(RuntimeLocaleIsClassic() ? const_cast<char*>(kRuntimeLocale) : nullptr) {}

ClassicLocale::~ClassicLocale() = default;

// What the runtime cannot format gives 0, an empty caption.
std::size_t ClassicLocale::FormatTime(char* buffer, std::size_t limit, const char* format,
                                      const std::tm& time) const {
  if (!RuntimeCanFormat(format, time)) return 0;
  return std::strftime(buffer, limit, format, &time);
}
