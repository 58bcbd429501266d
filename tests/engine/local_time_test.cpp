#include "engine/local_time.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "engine/caption_clock.h"
#include "engine/caption_format.h"

namespace {

struct Stretch {
  const char* zone;  // a tz-database name or a POSIX rule
  ClipHeader start;
  std::int32_t minuteOffset;
  std::map<int, std::string> captions;  // after so many seconds, in kZoneFormat; the last ends
};

constexpr char kZoneFormat[] = "%Y-%m-%d %H:%M:%S %z %Z";

// Captions of every format, cut at "%S" or formatted whole: each conversion that shows the
// seconds beside a plain "%S", flagged ones, a lone "%", and the longest caption that fits
// beside the shortest that does not.
std::vector<std::string> StepFormats() {
  std::vector<std::string> formats = {
      kZoneFormat,        "%S %T", "%S %r", "%S %s", "%S %c", "%S %X",
      "%_S|%-S|%OS|%10S", "%H%",   "%-M %S"};
  formats.push_back("%Y-%m-%d | %H:%M:%S %j %V %a %S");
  formats.push_back(std::string(252, 'x') + "%S");
  formats.push_back("x" + formats.back());
  return formats;
}

// Runs the clock after mktime() has read a time of another season, which glibc remembers. The
// start must show as the zone's clock showed it (checked against zdump), whatever was read
// before, and every step the local time of the next second in every format.
void ExpectZoneClock(const Stretch& s, int otherSeason) {
  ::setenv("TZ", s.zone, 1);
  ::tzset();
  std::tm other{};
  other.tm_mday = 1;
  other.tm_mon = otherSeason;
  other.tm_year = 107;
  other.tm_isdst = -1;
  std::mktime(&other);
  const std::vector<std::string> formats = StepFormats();
  std::deque<CaptionFormat> captions(formats.begin(), formats.end());
  CaptionClock clock(s.start, s.minuteOffset);
  std::tm first = clock.Time();
  const std::time_t start = ::timegm(&first) - clock.Time().tm_gmtoff;
  const ClassicLocale classic;
  for (int i = 0; i <= s.captions.rbegin()->first; ++i) {
    const std::time_t instant = start + i;
    std::tm expected{};
    ASSERT_TRUE(::localtime_r(&instant, &expected));
    for (std::size_t f = 0; f < captions.size(); ++f) {
      char text[256];
      const std::size_t length = classic.FormatTime(text, 255, formats[f].c_str(), expected);
      ASSERT_EQ(captions[f].Format(clock.Time()), std::string_view(text, length))
          << s.zone << " after " << i << " s, format " << f;
    }
    if (s.captions.contains(i)) {
      EXPECT_EQ(captions[0].Format(clock.Time()), s.captions.at(i))
          << s.zone << " after " << i << " s, other season " << otherSeason;
    }
    clock.Advance();
  }
}

TEST(LocalTimeTest, CaptionsShowTheZonesClockAcrossChanges) {
  // clang-format off
  const Stretch stretches[] = {
      {"America/New_York", {2007, 11, 4, 1, 30}, 0, {{0, "2007-11-04 01:30:00 -0400 EDT"},
          {1799, "2007-11-04 01:59:59 -0400 EDT"}, {1800, "2007-11-04 01:00:00 -0500 EST"},
          {2460, "2007-11-04 01:11:00 -0500 EST"}}},
      {"America/New_York", {2007, 11, 4, 0, 30}, 60, {{0, "2007-11-04 01:30:00 -0400 EDT"}}},
      {"Europe/Berlin", {2008, 3, 30, 2, 30}, 0, {{0, "2008-03-30 03:30:00 +0200 CEST"}}},
      {"Europe/Berlin", {2008, 3, 30, 4, 0}, -90, {{0, "2008-03-30 03:30:00 +0200 CEST"}}},
      {"Asia/Pyongyang", {2015, 8, 14, 23, 59}, 0, {{0, "2015-08-14 23:59:00 +0900 KST"},
          {59, "2015-08-14 23:59:59 +0900 KST"}, {60, "2015-08-14 23:30:00 +0830 KST"},
          {61, "2015-08-14 23:30:01 +0830 KST"}}},
      {"Pacific/Apia", {2011, 12, 30, 2, 0}, 0, {{0, "2011-12-31 02:00:00 +1400 +14"}}},
      {"Asia/Kathmandu", {1986, 1, 1, 0, 5}, 0, {{0, "1986-01-01 00:20:00 +0545 +0545"}}},
      {"Australia/Lord_Howe", {2023, 10, 1, 1, 0}, 75, {{0, "2023-10-01 02:45:00 +1100 +11"}}},
      {"Australia/Lord_Howe", {2024, 4, 7, 1, 45}, 0, {{0, "2024-04-07 01:45:00 +1100 +11"},
          {900, "2024-04-07 01:30:00 +1030 +1030"}}},
      {"Antarctica/Troll", {2024, 3, 31, 1, 30}, 0, {{0, "2024-03-31 03:30:00 +0200 +02"}}},
      {"Antarctica/Troll", {2024, 10, 27, 2, 0}, 0, {{0, "2024-10-27 02:00:00 +0200 +02"}}},
      {"Europe/Dublin", {2024, 10, 27, 1, 30}, 0, {{0, "2024-10-27 01:30:00 +0100 IST"}}},
      {"America/St_Johns", {2024, 11, 3, 1, 30}, 0, {{0, "2024-11-03 01:30:00 -0230 NDT"}}},
      {"CET-1CEST,M3.5.0,M10.5.0/3", {2024, 10, 27, 2, 30}, 0,
          {{0, "2024-10-27 02:30:00 +0200 CEST"}}},
      {"XMT-0:19:32XST-1:19:32,M3.5.0/2:00:17,M10.5.0/3", {2024, 3, 31, 1, 59}, 0,
          {{76, "2024-03-31 02:00:16 +0019 XMT"}, {77, "2024-03-31 03:00:17 +0119 XST"}}},
  };
  // clang-format on
  for (const Stretch& s : stretches) {
    for (const int otherSeason : {6, 11}) ExpectZoneClock(s, otherSeason);
  }
}

}  // namespace
