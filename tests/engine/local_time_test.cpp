#include "engine/local_time.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include <deque>
#include <string>
#include <vector>

#include "engine/caption_clock.h"
#include "engine/caption_format.h"
#include "tests/support/test_support.h"

namespace {

struct Stretch {
  const char* name;
  const char* zone;  // a POSIX rule, so that no time-zone database is needed
  ClipHeader start;
  int seconds;  // how long the clock runs; it must cross a change of offset
};

// Runs the clock beside fields that mktime() normalises after every added second. The captions,
// in formats cut at "%S" and formatted whole and together showing every field, must equal those
// that strftime() makes of these fields.
void ExpectStepsAsMktime(const Stretch& s) {
  ::setenv("TZ", s.zone, 1);
  ::tzset();
  CaptionClock clock(s.start, 0);
  // Stepping starts from the normalised start time, as the clock does.
  std::tm expected = clock.Time();
  const long startOffset = expected.tm_gmtoff;
  // Each conversion that shows the seconds beside a plain "%S", flagged ones, a lone "%", and
  // the longest caption that fits beside the shortest that does not.
  std::vector<std::string> formats = {
      "%S %T", "%S %r", "%S %s", "%S %c", "%S %X", "%_S|%-S|%OS|%10S", "%H%"};
  formats.push_back("%Y-%m-%d | %H:%M:%S %z %Z %j %V %a %S");
  formats.push_back(std::string(252, 'x') + "%S");
  formats.push_back("x" + formats.back());
  std::deque<CaptionFormat> captions(formats.begin(), formats.end());
  const ClassicLocale classic;
  for (int i = 0; i < s.seconds; ++i) {
    const std::tm& got = clock.Time();
    for (std::size_t f = 0; f < captions.size(); ++f) {
      char text[256];
      const std::size_t length = classic.FormatTime(text, 255, formats[f].c_str(), expected);
      ASSERT_EQ(captions[f].Format(got), std::string_view(text, length))
          << s.name << " after " << i << " s, format " << f;
    }
    clock.Advance();
    ++expected.tm_sec;
    std::mktime(&expected);
  }
  EXPECT_NE(expected.tm_gmtoff, startOffset) << s.name << " crosses no change";
}

TEST(LocalTimeTest, StepsAsMktimeAcrossOffsetChanges) {
  const Stretch stretches[] = {
      {"New York autumn", kNewYork, {2007, 11, 4, 0, 58}, 3900},
      {"Berlin spring", kBerlin, {2007, 3, 25, 1, 50}, 1200},
      {"half-hour change", "<+1030>-10:30<+11>-11,M10.1.0,M4.1.0", {2024, 4, 7, 1, 25}, 2400},
      {"two-hour change", "<+00>0<+02>-2,M3.5.0/1,M10.5.0/3", {2024, 3, 31, 0, 50}, 1200},
      {"negative saving", "IST-1GMT0,M10.5.0,M3.5.0/1", {2024, 10, 27, 0, 55}, 3900},
      {"offsets and change with seconds",
       "XMT-0:19:32XST-1:19:32,M3.5.0/2:00:17,M10.5.0/3",
       {2024, 3, 31, 1, 59},
       600},
  };
  for (const Stretch& s : stretches) ExpectStepsAsMktime(s);
}

}  // namespace
