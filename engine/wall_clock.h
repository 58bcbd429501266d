#pragma once

#include <cstdint>
#include <ctime>
#include <optional>

// Reading a wall-clock time as local time, by one rule that depends on nothing but the zone.

// The platform's local time of an instant: false when it cannot be represented. The UTC offset
// in force at the instant is the wall time of `fields` less the instant.
using LocalTimeFunction = bool (*)(std::time_t instant, std::tm& fields);

// Seconds from 1970-01-01 00:00:00 to the wall-clock time of `fields`, each field carried into
// the next larger one as mktime() carries it (61 minutes are an hour and a minute, month 12 is
// January of the next year, day 0 the last day of the month before). The zone plays no part.
std::int64_t WallSeconds(const std::tm& fields);

// The instant at which local clocks showed the wall time `wall` (as WallSeconds() gives it):
// - the one instant, when there is one;
// - the earlier of two, when clocks went back over it (the first pass);
// - when clocks went forward past it, the instant that the UTC offset in force just before the
//   change gives, so that it shows as much later as the change skipped.
// Needs the zone to change its offset at most once in any stretch of a day. Returns nullopt when
// `localTime` cannot represent the instants around it.
std::optional<std::time_t> ReadWallClock(std::int64_t wall, LocalTimeFunction localTime);
