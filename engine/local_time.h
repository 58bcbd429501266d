#pragma once

#include <cstddef>
#include <ctime>
#include <optional>

// The platform's local-time and formatting calls. Local time follows the process's time zone.

// Normalises the fields as mktime() does, the daylight-saving flag used and set as it uses and
// sets it, and returns the instant they name. Returns nullopt when mktime() gives -1: the time
// cannot be represented (the fields are then left as they were), or it is the instant -1.
std::optional<std::time_t> NormaliseLocalTime(std::tm& time);

// The local time of `instant`; false when it cannot be represented. Depends on nothing but the
// instant and the zone (unlike mktime(), which starts from the offset it found last).
bool BreakDownLocalTime(std::time_t instant, std::tm& time);

// True when `a` and `b` agree in every field but the seconds, the zone's offset and name included.
bool SameButSeconds(const std::tm& a, const std::tm& b);

// The classic "C" locale, for names that are English whatever the process's locale.
class ClassicLocale {
 public:
  ClassicLocale();
  ~ClassicLocale();
  ClassicLocale(const ClassicLocale&) = delete;
  ClassicLocale& operator=(const ClassicLocale&) = delete;

  // False when the locale could not be made; formatting then uses the process's locale.
  bool IsClassic() const { return m_locale != nullptr; }

  // strftime(): writes at most `limit` bytes, the terminator included, and returns the length of
  // the text; 0 when it does not fit.
  std::size_t FormatTime(char* buffer, std::size_t limit, const char* format,
                         const std::tm& time) const;

 private:
  void* m_locale;  // the platform's locale object
};
