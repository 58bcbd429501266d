#!/usr/bin/env python3
"""Compares clipstamp's captions around every clock change of the time-zone database with
Python's zoneinfo (fold=0: a repeated wall time is its first pass, a skipped one is read with
the offset in force before the change), which reads the zone files on its own.

For each zone it writes clips that start just before, inside and just after each change (and,
with a minute offset, starts that the offset moves there), runs clipstamp once over them and
checks the first three captions of each. Usage: compare_zones.py CLIPSTAMP [ZONE...]
"""
import os
import random
import struct
import subprocess
import sys
import tempfile
import zoneinfo
from datetime import datetime, timedelta, timezone

FORMAT = "%Y-%m-%d %H:%M:%S %Z"
EPOCH = datetime(1970, 1, 1)
FIRST, LAST = datetime(1900, 1, 2), datetime(2037, 12, 30)


def transitions(zone):
    """The zone file's 64-bit transition times."""
    with open(os.path.join("/usr/share/zoneinfo", zone), "rb") as f:
        data = f.read()
    counts = struct.unpack(">6l", data[20:44])
    isutc, isstd, leap, times, types, chars = counts
    skip = 44 + times * 5 + types * 6 + chars + leap * 8 + isstd + isutc
    if data[4:5] >= b"2":
        counts = struct.unpack(">6l", data[skip + 20:skip + 44])
        return list(struct.unpack(">%dq" % counts[3], data[skip + 44:skip + 44 + counts[3] * 8]))
    return list(struct.unpack(">%dl" % times, data[44:44 + times * 4]))


def starts(zone, tz, rng):
    """Wall times (naive datetimes) around the zone's changes, and a few ordinary ones."""
    walls = []
    for t in transitions(zone):
        if not -2208902400 < t < 2145830400:
            continue
        before = datetime.fromtimestamp(t - 1, tz).utcoffset()
        after = datetime.fromtimestamp(t, tz).utcoffset()
        at = datetime(1970, 1, 1) + timedelta(seconds=t)
        for offset in (before, after):
            for delta in (-61, -1, 0, 1, 59):
                walls.append(at + offset + timedelta(seconds=delta))
        walls.append(at + (before + after) / 2)
    for _ in range(5):
        walls.append(FIRST + timedelta(seconds=rng.randrange(int((LAST - FIRST).total_seconds()))))
    return [w.replace(microsecond=0) for w in walls if FIRST <= w <= LAST]


def clip(wall):
    header = struct.pack(">HBBBBHI", wall.year, wall.month, wall.day, wall.hour, wall.minute,
                         wall.second * 1000, 2500)
    return b"V6" + struct.pack(">I", 256) + header + bytes(238)


def expected(wall, minutes, tz):
    shifted = wall + timedelta(minutes=minutes)
    instant = shifted.replace(tzinfo=tz, fold=0).timestamp()
    lines = []
    for k, (start, end) in enumerate(((0, 25), (25, 50), (50, 63))):
        local = datetime.fromtimestamp(instant + k, tz)
        lines.append("{%d}{%d} %s" % (start, end, local.strftime("%Y-%m-%d %H:%M:%S ") +
                                      local.tzname()))
    return lines


def compare(exe, zone, rng):
    tz = zoneinfo.ZoneInfo(zone)
    walls = starts(zone, tz, rng)
    checked = failed = 0
    for minutes in (0, -90):
        with tempfile.TemporaryDirectory(dir="/dev/shm") as folder:
            names = []
            for i, wall in enumerate(walls):
                recorded = wall - timedelta(minutes=minutes)
                if not FIRST <= recorded <= LAST:
                    continue
                name = "C%05d" % i
                with open(os.path.join(folder, name + ".MOI"), "wb") as f:
                    f.write(clip(recorded))
                names.append((name, recorded))
            rng.shuffle(names)
            subprocess.run([exe, "-d", folder, "-f", FORMAT, "-o", str(minutes)], check=True,
                           env={"TZ": zone, "LC_ALL": "C"})
            for name, recorded in names:
                with open(os.path.join(folder, name + ".SUB"), "rb") as f:
                    got = f.read().decode("utf-8", "replace").split("\r\n")[:3]
                want = expected(recorded, minutes, tz)
                checked += 1
                if got != want:
                    failed += 1
                    if failed <= 3:
                        print(f"{zone} {recorded} -o {minutes}: got {got}, want {want}")
    return checked, failed


def main():
    exe = os.path.abspath(sys.argv[1])
    zones = sys.argv[2:] or sorted(z for z in zoneinfo.available_timezones()
                                   if os.path.exists(os.path.join("/usr/share/zoneinfo", z)))
    rng = random.Random(1)
    total = bad = 0
    for zone in zones:
        checked, failed = compare(exe, zone, rng)
        total += checked
        bad += failed
    print(f"{len(zones)} zones, {total} starts compared, {bad} differ")
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
