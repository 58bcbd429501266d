#include "engine/wall_clock.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A small zone: 0 until 1,000,000, then +1 h (a skipped hour), back to 0 at 2,000,000 (a
// repeated hour), -30 min at 3,000,000 with nothing else changing (a repeated half hour), then
// +23.5 h at 4,000,000 (a skipped day). Instants before 0 cannot be represented.
bool FakeLocalTime(std::time_t instant, std::tm& fields) {
  if (instant < 0) return false;
  const int offset = instant < 1'000'000   ? 0
                     : instant < 2'000'000 ? 3600
                     : instant < 3'000'000 ? 0
                     : instant < 4'000'000 ? -1800
                                           : 84600;
  fields = std::tm{};
  fields.tm_sec = static_cast<int>(instant) + offset;
  fields.tm_mday = 1;
  fields.tm_year = 70;
  return true;
}

TEST(WallClockTest, ReadsEachWallTimeAsTheFirstInstantThatShowsIt) {
  struct Row {
    std::int64_t wall;
    std::optional<std::time_t> instant;
  };
  const std::vector<Row> rows = {
      {999'999, 999'999},               // before the skipped hour
      {1'000'010, 1'000'010},           // skipped: read with the offset before, shows 1 h later
      {1'003'600, 1'000'000},           // the first wall time after it
      {2'003'595, 1'999'995},           // repeated: the first pass
      {2'003'600, 2'003'600},           // once again
      {2'999'900, 2'999'900},           // repeated half hour, the first pass
      {4'001'000, 4'002'800},           // skipped day: read with -30 min
      {4'100'000, 4'100'000 - 84'600},  // after it
      {-10, std::nullopt},              // cannot be represented
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ReadWallClock(row.wall, &FakeLocalTime), row.instant) << row.wall;
  }
}

}  // namespace
