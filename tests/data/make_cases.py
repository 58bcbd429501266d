#!/usr/bin/env python3
"""Writes the end-to-end cases under tests/data/e2e/ from the table below.

Each case folder holds `args` (one argument per line), `env` (NAME=value lines), `status` (the
expected exit status), `in/` (the tree the run starts from: clips/ and work/, the working
folder), `out/` (the whole tree expected afterwards) and, where the case needs them, `run` (an
sh script run in work/ that starts "$CLIPSTAMP" "$@" after preparing what git cannot store)
and `check` (an sh script run in the tree afterwards that must succeed). The expected subtitles are computed
here by a separate implementation of the caption rules, written from the format description
and using zoneinfo and the C library's localtime/strftime through Python, so that the program is
compared with something other than itself. Run it from anywhere; it rewrites tests/data/e2e.
"""
import datetime
import os
import shutil
import struct
import time
import zoneinfo

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "e2e")
DEFAULT_FORMAT = "%Y-%m-%d | %H:%M:%S"
NEW_YORK = "EST5EDT,M3.2.0,M11.1.0"
BERLIN = "CET-1CEST,M3.5.0,M10.5.0/3"


def clip(year, month, day, hour, minute, ms, duration, size=256):
    """A clip information file: bytes 6-17 hold the big-endian header."""
    data = b"V6" + struct.pack(">I", 256) + struct.pack(">HBBBBHI", year, month, day, hour,
                                                         minute, ms, duration)
    return (data + bytes(256 - len(data)))[:size]


def frames(duration, sub, ntsc):
    wrap = lambda v: v % (1 << 32)
    if ntsc:
        return wrap(30 * duration + 500) // 1001, wrap(30500 - 30 * sub) // 1001, 30
    return wrap(25 * duration + 500) // 1000, wrap(25500 - 25 * sub) // 1000, 25


def wall_seconds(year, month, day, hour, minute, second):
    """Seconds from 1970-01-01 00:00 to the wall time, fields carried as mktime() carries them."""
    months = year * 12 + month - 1
    days = (datetime.date(months // 12, months % 12 + 1, 1) - datetime.date(1970, 1, 1)).days
    return (days + day - 1) * 86400 + hour * 3600 + minute * 60 + second


def local_wall(t):
    lt = time.localtime(t)
    return wall_seconds(lt.tm_year, lt.tm_mon, lt.tm_mday, lt.tm_hour, lt.tm_min, lt.tm_sec)


def read_wall(wall, zone):
    """The first instant whose local time shows `wall`; for a skipped wall time, the instant the
    offset before the change gives. Named zones ask zoneinfo (fold=0); POSIX rules are searched
    with time.localtime: the first instant whose local time reaches the wall time."""
    if os.path.exists(os.path.join("/usr/share/zoneinfo", zone)):
        naive = datetime.datetime(1970, 1, 1) + datetime.timedelta(seconds=wall)
        return int(naive.replace(tzinfo=zoneinfo.ZoneInfo(zone), fold=0).timestamp())
    t = wall - 27 * 3600
    while True:
        step = 60 if local_wall(t + 60) - (t + 60) == local_wall(t) - t else 1
        if local_wall(t + step) >= wall:
            break
        t += step
    while local_wall(t) < wall:
        t += 1
    return t if local_wall(t) == wall else wall - (local_wall(t - 1) - (t - 1))


def caption(lt, fmt):
    text = time.strftime(fmt, lt).encode()
    return b"" if len(text) >= 255 else text


def line(start, end, text):
    signed = lambda v: v - (1 << 32) if v >= 1 << 31 else v
    return b"{%d}{%d} " % (signed(start), signed(end)) + text.replace(b"\n", b"\r\n") + b"\r\n"


def clip_lines(header, fmt, ntsc, offset, minutes, zone):
    year, month, day, hour, minute, ms, duration = header
    total, first, step = frames(duration, ms % 1000, ntsc)
    start = read_wall(wall_seconds(year, month, day, hour, minute + minutes, ms // 1000), zone)
    seconds = 0
    own, combined = [], []

    def second(d, i, combined_end):
        text = caption(time.localtime(start + seconds), fmt)
        own.append(line(d, i, text))
        combined.append(line(d + offset, combined_end + offset, text))

    d = 0
    if first < total:
        second(0, first, first)
        seconds += 1
        d = first
        while (d + step) % (1 << 32) < total:
            i = d + step
            drop = ntsc and d % 1000 > 970
            second(d, i, i - 1 if drop else i)
            d = i - 1 if drop else i
            seconds += 1
    second(d, total, total)
    return b"".join(own), b"".join(combined), (offset + total) % (1 << 32)


def sort_key(name):
    raw = name.encode()
    return bytes(c - 32 if 97 <= c <= 122 else c for c in raw), raw


def convert(tree, folder, fmt, combined_name, ntsc, minutes, unwritable, zone):
    """Runs the conversion over `tree` (a dict path -> bytes, or a directory marker)."""
    clips = sorted({p.split("/", 1)[1].split("/")[0] for p in tree
                    if p.startswith(folder + "/") and p.split("/", 1)[1].split("/")[0]
                    .upper().endswith(".MOI")}, key=sort_key)
    combined, offset, targets = [], 0, set()
    for name in clips:
        path = folder + "/" + name
        data = tree.get(path)
        # The file the combined file replaces is never read as a clip.
        if not isinstance(data, bytes) or len(data) < 18 or path == combined_name:
            continue
        header = struct.unpack(">HBBBBHI", data[6:18])
        own, shifted, offset = clip_lines(header, fmt, ntsc, offset, minutes, zone)
        target = path[:-4] + ".SUB"
        target = tree.get(target + "@link", target)
        # A subtitle file that an earlier clip of the run writes stays that clip's.
        if target not in unwritable and target not in targets:
            tree[target] = own
        targets.add(target)
        combined.append(shifted)
    if combined_name and combined_name not in unwritable:
        tree[combined_name] = b"".join(combined)


def write_tree(base, tree):
    for path, data in tree.items():
        full = os.path.join(base, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        if path.endswith("@link"):
            continue
        if isinstance(data, bytes):
            with open(full, "wb") as f:
                f.write(data)
    for path, target in tree.items():
        if path.endswith("@link"):
            link = os.path.join(base, path[:-5])
            os.symlink(os.path.relpath(os.path.join(base, target), os.path.dirname(link)), link)


def case(name, args, clips, zone="UTC0", status=0, fmt=DEFAULT_FORMAT, combined="", ntsc=False,
         minutes=0, extra=None, unwritable=(), removed=(), run=None, check=None, lang="C.UTF-8",
         stderr=()):
    tree = {"clips/" + n: d for n, d in clips.items()}
    tree.update(extra or {})
    tree["work/.keep"] = b""
    folder = os.path.join(ROOT, name)
    write_tree(os.path.join(folder, "in"), tree)
    os.environ["TZ"] = zone
    time.tzset()
    convert(tree, "clips", fmt, combined, ntsc, minutes, set(unwritable), zone)
    for path in removed:
        del tree[path]
    write_tree(os.path.join(folder, "out"), tree)
    with open(os.path.join(folder, "args"), "w") as f:
        f.write("".join(a + "\n" for a in args))
    with open(os.path.join(folder, "env"), "w") as f:
        f.write(f"TZ={zone}\nLC_ALL={lang}\n")
    with open(os.path.join(folder, "status"), "w") as f:
        f.write(f"{status}\n")
    if stderr:
        with open(os.path.join(folder, "stderr"), "w") as f:
            f.write("".join("clipstamp: " + line + "\n" for line in stderr))
    for script, text in (("run", run), ("check", check)):
        if text:
            with open(os.path.join(folder, script), "w") as f:
                f.write(text + "\n")


def main():
    import locale
    locale.setlocale(locale.LC_ALL, "C")
    shutil.rmtree(ROOT, ignore_errors=True)
    # PAL: the worked example after a 100-frame clip, a year end, wrapped and tiny durations, a
    # first whole second at frame 0, entries that are skipped, and the name order.
    case("pal_folder", ["-d", "../clips", "-c", "MOVALL.SUB"], {
        "A.MOI": clip(2007, 11, 12, 13, 44, 56000, 4000),
        "B.MOI": clip(2007, 11, 12, 13, 45, 7250, 3500),
        "c.moi": clip(2007, 12, 31, 23, 59, 58500, 2500),
        "D.MOI": clip(2007, 11, 12, 13, 45, 0, 5000, size=17),
        "E.MOI": clip(2007, 11, 12, 13, 46, 0, 20, size=18),
        "F.MOI": clip(2007, 11, 12, 13, 47, 0, 171798672),
        "G.MOI": clip(2007, 11, 12, 13, 48, 990, 1500),
        "H.MOI": clip(2007, 11, 12, 13, 49, 0, 19),
        "y.MOI": clip(2008, 0, 0, 24, 0, 0, 1000),
        "z.MOI": clip(2007, 2, 30, 25, 61, 65535, 3000),
        "_a.MOI": clip(2007, 11, 12, 13, 50, 0, 1000),
        "\u00c4.MOI": clip(2007, 11, 12, 13, 51, 0, 1000),
        ".MOI": clip(2007, 11, 12, 13, 52, 0, 1000),
        "notes.txt": b"not a clip\n",
        "old.MOI/keep": b"a folder named like a clip\n",
    }, combined="clips/MOVALL.SUB")
    # NTSC: the worked example, steps that start at remainders 970 and 971, and a last step
    # that starts past 970.
    case("ntsc_drop", ["-d", "../clips/", "-c", "all.sub", "-ntsc"], {
        "A.MOI": clip(2007, 11, 12, 13, 45, 0, 40000),
        "B.MOI": clip(2007, 11, 12, 13, 46, 680, 40000),
        "C.MOI": clip(2007, 11, 12, 13, 47, 640, 40000),
        "D.MOI": clip(2007, 11, 12, 13, 48, 0, 33680),
    }, combined="work/all.sub", ntsc=True)
    # Daylight saving in New York: an offset into the spring gap, and a clip across the
    # autumn change.
    fmt = "%Y-%m-%d %H:%M:%S %Z"
    case("dst_new_york", ["-d", "../clips", "-f", fmt, "-o", "150", "-c", "MOVALL.SUB"], {
        "A.MOI": clip(2007, 3, 11, 0, 30, 0, 2000),
        "B.MOI": clip(2007, 11, 3, 23, 29, 58000, 4000),
        "C.MOI": clip(2007, 7, 4, 12, 0, 0, 1000),
    }, zone=NEW_YORK, fmt=fmt, combined="clips/MOVALL.SUB", minutes=150)
    # Two clips in the hour New York repeats, after clips of other seasons: both show its first
    # pass.
    case("dst_repeated_hour", ["-d", "../clips", "-f", fmt, "-c", "MOVALL.SUB"], {
        "A.MOI": clip(2007, 7, 4, 12, 0, 0, 1000),
        "B.MOI": clip(2007, 11, 4, 1, 20, 0, 2000),
        "C.MOI": clip(2007, 12, 24, 18, 0, 0, 1000),
        "D.MOI": clip(2007, 11, 4, 1, 59, 58000, 3000),
    }, zone="America/New_York", fmt=fmt, combined="clips/MOVALL.SUB")
    # Names that differ only in letter case take the byte order; the combined file named with
    # another spelling of a clip's subtitle file takes its place; an offset beyond the 32-bit
    # minute range is carried through whole days.
    case("names_and_spellings", ["-d", "../clips", "-c", "../clips/./B.SUB", "-o", "2147483647"], {
        "a.MOI": clip(2007, 11, 12, 13, 59, 30000, 1000),
        "A.MOI": clip(2007, 11, 12, 13, 45, 0, 1000),
        "B.MOI": clip(2007, 11, 12, 13, 46, 0, 1000),
    }, combined="clips/B.SUB", minutes=2147483647)
    # The combined file in a folder of its own, whose stale temporary file goes too; the program
    # starts with standard input, output and error closed, and writes exactly what it writes
    # otherwise.
    case("combined_elsewhere", ["-d", "../clips", "-c", "../out/all.sub"], {
        "A.MOI": clip(2007, 11, 12, 13, 45, 0, 2000),
    }, combined="out/all.sub", extra={"out/.clipstamp-Stale1.tmp": b""},
        removed=["out/.clipstamp-Stale1.tmp"], run='exec "$CLIPSTAMP" "$@" <&- >&- 2>&-')
    # A combined file named like a clip replaces it, and is not read as a clip first.
    case("combined_over_a_clip", ["-d", "../clips", "-c", "../clips/B.MOI"], {
        "A.MOI": clip(2007, 11, 12, 13, 45, 0, 2000),
        "B.MOI": clip(2007, 11, 12, 13, 46, 0, 2000),
    }, combined="clips/B.MOI")
    # The root folder, named "/", is listed (it holds no clips).
    case("root_folder", ["-d", "/"], {})
    # Names stay English whatever the locale; a line feed from the format is stored as CR LF.
    fmt = "%a %d %b %Y%n%H:%M:%S %p"
    case("names_and_line_feed", ["-d", "../clips", "-f", fmt, "-o", "-1500"], {
        "A.MOI": clip(2008, 3, 1, 0, 10, 59000, 1500),
    }, zone=BERLIN, fmt=fmt, minutes=-1500, lang="de_DE.UTF-8")
    # Captions of 255 bytes or more come out empty; a format without conversions is the text.
    case("caption_limit", ["-d", "../clips", "-f", "%H" + "x" * 253], {
        "A.MOI": clip(2007, 11, 12, 13, 45, 0, 1000),
    }, fmt="%H" + "x" * 253)
    case("plain_text", ["-d", "../clips", "-f", "no conversion", "-c", "movall.sub"], {
        "A.MOI": clip(2007, 11, 12, 13, 45, 0, 2000),
    }, fmt="no conversion", combined="work/movall.sub")
    # Failures: a mistyped folder writes nothing at all; a combined file that cannot be written.
    case("missing_folder", ["-d", "../nowhere", "-c", "all.sub"], {}, status=1,
         stderr=["../nowhere: No such file or directory"],
         extra={"work/all.sub": b"old\n"}, unwritable=["work/all.sub"], combined="work/all.sub")
    case("combined_on_full_device", ["-d", "../clips", "-c", "/dev/full"], {
        "A.MOI": clip(2007, 11, 12, 13, 45, 0, 2000),
    }, status=1, combined="/dev/full", unwritable=["/dev/full"],
        stderr=["/dev/full: No space left on device"])
    # A subtitle file that is a relative link: its target is replaced, the link stays, and a
    # leftover beside the target goes. Clip links that lead nowhere (dangling, or through a file)
    # are skipped, no failure.
    case("linked_subtitle", ["-d", "../clips"], {
        "A.MOI": clip(2007, 11, 12, 13, 45, 0, 2000),
    }, extra={"clips/real/A.txt": b"old\n", "clips/A.SUB@link": "clips/real/A.txt",
              "clips/real/.clipstamp-Stale2.tmp": b""},
        removed=["clips/real/.clipstamp-Stale2.tmp"],
        # The links that lead nowhere exist during the run only, so that no checkout holds one.
        run='ln -s gone.MOI ../clips/B.MOI && ln -s real/A.txt/C.MOI ../clips/C.MOI\n'
            '"$CLIPSTAMP" "$@"\nstatus=$?\nrm ../clips/B.MOI ../clips/C.MOI\nexit $status')
    # Two clips, one subtitle file (names that differ in the extension's case, and a link to an
    # earlier clip's file): the first clip's file stays, the second's lines go only into the
    # combined file, and the run fails.
    case("clashing_subtitles", ["-d", "../clips", "-c", "MOVALL.SUB"], {
        "A.MOI": clip(2007, 11, 12, 13, 45, 0, 1000),
        "B.MOI": clip(2007, 11, 12, 13, 46, 0, 1000),
        "CLASH.MOI": clip(2007, 11, 12, 13, 47, 0, 1000),
        "CLASH.moi": clip(2007, 11, 12, 13, 48, 0, 1000),
    }, status=1, extra={"clips/B.SUB@link": "clips/A.SUB"}, combined="clips/MOVALL.SUB",
        run='ln -s A.SUB ../clips/B.SUB && exec "$CLIPSTAMP" "$@"',
        stderr=["../clips/%s.SUB: Also the subtitle file of an earlier clip of this run" % n
                for n in ("B", "CLASH")])
    # The link leads nowhere until the run writes A.SUB: it is made then, so no checkout holds it.
    os.remove(os.path.join(ROOT, "clashing_subtitles", "in", "clips", "B.SUB"))

    # Faults: the old file stays whole and the run says it failed; no temporary file is left.
    longest = clip(2007, 11, 12, 13, 45, 0, 171798671)  # 171,799 lines, 5 MB
    old = {"clips/A.SUB": b"old\n"}
    case("file_size_limit", ["-d", "../clips"], {"A.MOI": longest}, status=1, extra=old,
         stderr=["../clips/A.SUB: File too large"],
         unwritable=["clips/A.SUB"], run='ulimit -f 2048; exec "$CLIPSTAMP" "$@"')
    # A read-only subtitle file stays, even for root; its clip still takes its place in the
    # combined file.
    case("read_only_subtitle", ["-d", "../clips", "-c", "MOVALL.SUB"], {
        "A.MOI": clip(2007, 11, 12, 13, 45, 0, 1000),
        "B.MOI": clip(2007, 11, 12, 13, 46, 0, 2000),
    }, status=1, extra=old, unwritable=["clips/A.SUB"], combined="clips/MOVALL.SUB",
         stderr=["../clips/A.SUB: Permission denied"],
         run='chmod 444 ../clips/A.SUB; exec "$CLIPSTAMP" "$@"')
    # A folder the user cannot write (root runs it as nobody): the clip's file fails, and the
    # reason is named.
    case("unwritable_folder", ["-d", "../clips"], {"A.MOI": clip(2007, 11, 12, 13, 45, 0, 1000)},
         status=1, unwritable=["clips/A.SUB"], stderr=["../clips/A.SUB: Permission denied"],
         run='chmod 555 ../clips\nif [ "$(id -u)" = 0 ]; then\n'
             '  exec setpriv --reuid=65534 --regid=65534 --clear-groups "$CLIPSTAMP" "$@"\nfi\n'
             'exec "$CLIPSTAMP" "$@"',
         check="chmod 755 clips")
    case("permissions_kept", ["-d", "../clips"], {"A.MOI": clip(2007, 11, 12, 13, 45, 0, 1000)},
         extra=old, run='chmod 640 ../clips/A.SUB; exec "$CLIPSTAMP" "$@"',
         check='[ "$(stat -c %a clips/A.SUB)" = 640 ]')
    case("fifo_without_reader", ["-d", "../clips", "-c", "../fifo"],
         {"A.MOI": clip(2007, 11, 12, 13, 45, 0, 1000)}, status=1, unwritable=["fifo"],
         stderr=["../fifo: No such device or address"],
         combined="fifo", run='mkfifo ../fifo; exec "$CLIPSTAMP" "$@"')
    # Clean-up removes temporary files of killed runs, never one a live run holds locked.
    case("stale_temporary_files", ["-d", "../clips"], {
        ".clipstamp-Live00.tmp": b"", ".clipstamp-Stale0.tmp": b"",
        ".clipstamp-notes123.tmp": b"not one of ours\n"},
        removed=["clips/.clipstamp-Stale0.tmp"],
        run='touch -d 2001-01-01 ../clips/.clipstamp-*.tmp\n'
            'exec flock ../clips/.clipstamp-Live00.tmp "$CLIPSTAMP" "$@"')


if __name__ == "__main__":
    main()
