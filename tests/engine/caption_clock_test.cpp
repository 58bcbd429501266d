#include "engine/caption_clock.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace {

constexpr char kFull[] = "%Y-%m-%d %H:%M:%S";

ClipHeader Recorded(int year, int month, int day, int hour, int minute, int milliseconds) {
  return ClipHeader{static_cast<std::uint16_t>(year),
                    static_cast<std::uint8_t>(month),
                    static_cast<std::uint8_t>(day),
                    static_cast<std::uint8_t>(hour),
                    static_cast<std::uint8_t>(minute),
                    static_cast<std::uint16_t>(milliseconds),
                    0};
}

TEST(CaptionClockTest, NormalisesRecordedTimeAndOffset) {
  ScopedTimeZone zone("UTC0");
  struct Case {
    const char* name;
    ClipHeader header;
    std::int32_t offset;
    const char* expected;
  };
  const Case cases[] = {
      {"as recorded", Recorded(2007, 11, 12, 13, 45, 7250), 0, "2007-11-12 13:45:07"},
      {"back one hour", Recorded(2007, 11, 12, 13, 45, 7250), -60, "2007-11-12 12:45:07"},
      {"across midnight", Recorded(2007, 11, 12, 23, 50, 0), 15, "2007-11-13 00:05:00"},
      {"back across midnight and month", Recorded(2007, 3, 1, 0, 30, 0), -60,
       "2007-02-28 23:30:00"},
      {"into a leap day", Recorded(2008, 2, 28, 23, 59, 0), 1, "2008-02-29 00:00:00"},
      {"across the year end", Recorded(2007, 12, 31, 23, 30, 59000), 45, "2008-01-01 00:15:59"},
      {"back across the year start", Recorded(2008, 1, 1, 0, 0, 0), -1, "2007-12-31 23:59:00"},
      {"whole days", Recorded(2007, 11, 12, 13, 45, 0), 3 * 1440 + 20, "2007-11-15 14:05:00"},
      {"negative whole days", Recorded(2007, 11, 12, 13, 45, 0), -(400 * 1440 + 50),
       "2006-10-08 12:55:00"},
      {"month 13 is next January", Recorded(2007, 13, 1, 0, 0, 0), 0, "2008-01-01 00:00:00"},
      {"month 0 is last December", Recorded(2007, 0, 31, 0, 0, 0), 0, "2006-12-31 00:00:00"},
      {"hour 30", Recorded(2007, 11, 12, 30, 0, 0), 0, "2007-11-13 06:00:00"},
      {"seconds 65 carry", Recorded(2007, 11, 12, 13, 45, 65535), 0, "2007-11-12 13:46:05"},
      {"day 0", Recorded(2007, 3, 0, 12, 0, 0), 0, "2007-02-28 12:00:00"},
  };
  for (const Case& c : cases) {
    const CaptionClock clock(c.header, c.offset);
    EXPECT_EQ(clock.Format(kFull), c.expected) << c.name;
  }
}

TEST(CaptionClockTest, ExtremeOffsetsDoNotOverflow) {
  ScopedTimeZone zone("UTC0");
  const ClipHeader header = Recorded(2007, 11, 12, 13, 45, 7000);
  for (const std::int32_t offset :
       {std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::min(), 1439,
        -1439, 1440 * 1000003 + 7}) {
    // The same instant computed independently: seconds since the epoch, then broken down.
    std::tm recorded{};
    recorded.tm_year = 2007 - 1900;
    recorded.tm_mon = 10;
    recorded.tm_mday = 12;
    recorded.tm_hour = 13;
    recorded.tm_min = 45;
    recorded.tm_sec = 7;
    const std::time_t expected = ::timegm(&recorded) + std::time_t{offset} * 60;
    std::tm broken{};
    ASSERT_NE(::gmtime_r(&expected, &broken), nullptr);
    const CaptionClock clock(header, offset);
    EXPECT_EQ(clock.Time().tm_year, broken.tm_year) << offset;
    EXPECT_EQ(clock.Time().tm_mon, broken.tm_mon) << offset;
    EXPECT_EQ(clock.Time().tm_mday, broken.tm_mday) << offset;
    EXPECT_EQ(clock.Time().tm_hour, broken.tm_hour) << offset;
    EXPECT_EQ(clock.Time().tm_min, broken.tm_min) << offset;
    EXPECT_EQ(clock.Time().tm_sec, 7) << offset;
  }
}

std::vector<std::string> Captions(CaptionClock& clock, int count, const char* format) {
  std::vector<std::string> captions;
  for (int i = 0; i < count; ++i) {
    captions.push_back(clock.Format(format));
    clock.Advance();
  }
  return captions;
}

TEST(CaptionClockTest, OffsetGoesIntoWallClockBeforeDaylightSavingNormalisation) {
  struct Case {
    const char* name;
    const char* zone;
    ClipHeader header;
    std::int32_t offset;
    const char* expected;
  };
  const Case cases[] = {
      // Adding 150 minutes of elapsed time would give 04:00; the wall clock gives 03:00.
      {"New York spring", kNewYork, Recorded(2007, 3, 11, 0, 30, 0), 150,
       "2007-03-11 03:00:00 EDT"},
      {"New York summer kept", kNewYork, Recorded(2007, 7, 4, 12, 0, 0), 0,
       "2007-07-04 12:00:00 EDT"},
      {"New York winter kept", kNewYork, Recorded(2007, 1, 4, 12, 0, 0), 0,
       "2007-01-04 12:00:00 EST"},
      {"Berlin summer back into winter", kBerlin, Recorded(2007, 10, 28, 12, 0, 0), -1440,
       "2007-10-27 12:00:00 CEST"},
      {"Berlin winter kept", kBerlin, Recorded(2007, 12, 24, 18, 0, 0), 0,
       "2007-12-24 18:00:00 CET"},
  };
  for (const Case& c : cases) {
    ScopedTimeZone zone(c.zone);
    const CaptionClock clock(c.header, c.offset);
    EXPECT_EQ(clock.Format("%Y-%m-%d %H:%M:%S %Z"), c.expected) << c.name;
  }
}

TEST(CaptionClockTest, AdvancesSecondBySecondAcrossDaylightSavingChanges) {
  {
    ScopedTimeZone zone(kNewYork);
    CaptionClock clock(Recorded(2007, 11, 4, 0, 59, 58000), 0);
    const std::vector<std::string> captions = Captions(clock, 3603, "%H:%M:%S %Z");
    EXPECT_EQ(captions.front(), "00:59:58 EDT");
    EXPECT_EQ(captions[3601], "01:59:59 EDT");
    EXPECT_EQ(captions[3602], "01:00:00 EST");
  }
  {
    ScopedTimeZone zone(kBerlin);
    CaptionClock clock(Recorded(2007, 3, 25, 1, 59, 58000), 0);
    EXPECT_EQ(Captions(clock, 3, "%H:%M:%S %Z"),
              (std::vector<std::string>{"01:59:58 CET", "01:59:59 CET", "03:00:00 CEST"}));
  }
}

TEST(CaptionClockTest, FormatsUpTo254BytesAndNothingLonger) {
  ScopedTimeZone zone("UTC0");
  const CaptionClock clock(Recorded(2007, 11, 12, 13, 45, 7000), 0);
  struct Case {
    const char* name;
    std::string format;
    std::string expected;
  };
  const Case cases[] = {
      {"plain text", "Holiday", "Holiday"},
      {"254 bytes fit", std::string(250, 'x') + "%Y", std::string(250, 'x') + "2007"},
      {"255 bytes do not", std::string(251, 'x') + "%Y", ""},
      {"expansion beyond the limit", "%c%c%c%c%c%c%c%c%c%c%c", ""},
      {"line feed kept", "%H\n%M", "13\n45"},
      {"percent sign", "100%%", "100%"},
  };
  for (const Case& c : cases) EXPECT_EQ(clock.Format(c.format), c.expected) << c.name;
}

TEST(CaptionClockTest, NamesAreEnglishWhateverTheLocale) {
  ScopedTimeZone zone("UTC0");
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  const char* german = nullptr;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
    if (std::setlocale(LC_ALL, name) != nullptr) {
      german = name;
      break;
    }
  }
  const CaptionClock clock(Recorded(2007, 3, 12, 13, 45, 0), 0);
  const std::string caption = clock.Format("%A %d %B %Y %p");
  std::setlocale(LC_ALL, previous.c_str());
  EXPECT_EQ(caption, "Monday 12 March 2007 PM");
  if (german == nullptr) GTEST_SKIP() << "no German or French locale installed";
}

}  // namespace
