#include "engine/wall_clock.h"

#include <algorithm>
#include <array>
#include <limits>

namespace {

constexpr std::int64_t kSecondsPerDay = 24 * 60 * 60;

// Floor division, for fields below their range.
std::int64_t FloorDivide(std::int64_t a, std::int64_t b) { return a / b - (a % b < 0 ? 1 : 0); }

// Days from 1970-01-01 to the first day of `month` (1-12) of the proleptic Gregorian `year`.
std::int64_t DaysToMonthStart(std::int64_t year, std::int64_t month) {
  const std::int64_t y = month <= 2 ? year - 1 : year;
  const std::int64_t era = FloorDivide(y, 400);
  const std::int64_t yearOfEra = y - era * 400;
  const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

// The UTC offset in force at `instant`, in seconds; nullopt when it cannot be represented.
std::optional<std::int64_t> OffsetAt(std::int64_t instant, LocalTimeFunction localTime) {
  if (instant < std::numeric_limits<std::time_t>::min() ||
      instant > std::numeric_limits<std::time_t>::max()) {
    return std::nullopt;
  }
  std::tm fields{};
  if (!localTime(static_cast<std::time_t>(instant), fields)) return std::nullopt;
  return WallSeconds(fields) - instant;
}

}  // namespace

std::int64_t WallSeconds(const std::tm& fields) {
  const std::int64_t months = std::int64_t{fields.tm_mon};
  const std::int64_t year = std::int64_t{fields.tm_year} + 1900 + FloorDivide(months, 12);
  const std::int64_t month = months - FloorDivide(months, 12) * 12 + 1;
  const std::int64_t days = DaysToMonthStart(year, month) + fields.tm_mday - 1;
  return days * kSecondsPerDay + std::int64_t{fields.tm_hour} * 3600 +
         std::int64_t{fields.tm_min} * 60 + fields.tm_sec;
}

// Every offset in force within a day of the wall time is among three: the one at the wall time
// read as UTC, the one at the instant that offset gives, and the one a day before the earlier of
// the two instants they give (which is where a repeated hour's first pass lies).
std::optional<std::time_t> ReadWallClock(std::int64_t wall, LocalTimeFunction localTime) {
  const std::optional<std::int64_t> guess = OffsetAt(wall, localTime);
  if (!guess) return std::nullopt;
  const std::optional<std::int64_t> found = OffsetAt(wall - *guess, localTime);
  if (!found) return std::nullopt;
  const std::optional<std::int64_t> dayBefore =
      OffsetAt(wall - std::max(*guess, *found) - kSecondsPerDay, localTime);

  std::optional<std::int64_t> earliest;
  for (const std::optional<std::int64_t>& offset : std::array{guess, found, dayBefore}) {
    if (!offset || OffsetAt(wall - *offset, localTime) != offset) continue;
    if (!earliest || wall - *offset < *earliest) earliest = wall - *offset;
  }
  // None shows the wall time: it lies in a gap, between the smaller offset (before the change)
  // and the larger one.
  const std::int64_t instant = earliest ? *earliest : wall - std::min(*guess, *found);
  if (instant < std::numeric_limits<std::time_t>::min() ||
      instant > std::numeric_limits<std::time_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::time_t>(instant);
}
