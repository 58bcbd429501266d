#!/usr/bin/env python3
"""Checks that players read Clipstamp's .srt and .vtt files at the times the .SUB frames give:
ffmpeg (ffprobe's packets), mpv (the sub-start property while a generated video of the right
frame rate plays; cues of no length are never shown) and a browser (headless chromium listing a <track>'s cues). Runs the
sample clips as PAL and NTSC, each clip and the combined file. Not part of the test run: it needs
Debian's ffmpeg, mpv and chromium. Usage: check_players.py CLIPSTAMP [CLIPS_FOLDER]
"""
import glob
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

TOLERANCE = 0.0011  # seconds: the formats keep milliseconds
RATES = {"pal": (25, 1), "ntsc": (30000, 1001)}
LUA = """
local last = nil
mp.observe_property("sub-start", "number", function(_, start)
  if start ~= nil and start ~= last then
    print(string.format("cue %.3f", start))
    last = start
  end
end)
"""
PAGE = """<!doctype html><video src="video.webm" preload="auto">
<track id="t" kind="subtitles" src="%s" default></video><script>
const t = document.getElementById("t");
t.track.mode = "hidden";
const done = text => { document.body.setAttribute("data-cues", text); };
t.addEventListener("load", () => done(JSON.stringify(Array.from(t.track.cues,
    c => [c.startTime, c.endTime]))));
t.addEventListener("error", () => done("error"));
</script>"""


def expected_cues(sub, system):
    numerator, denominator = RATES[system]
    cues = []
    with open(sub, encoding="utf-8", errors="replace", newline="") as f:
        for line in f.read().split("\r\n"):
            match = re.match(r"\{(-?\d+)\}\{(-?\d+)\}", line)
            if match:
                start, end = (int(v) % (1 << 32) for v in match.groups())
                cues.append((start * denominator / numerator, end * denominator / numerator))
    return cues


def same(got, want):
    return len(got) == len(want) and all(
        abs(a - c) <= TOLERANCE and abs(b - d) <= TOLERANCE for (a, b), (c, d) in zip(got, want))


def seen(starts, shown, want):
    """Every cue of some length shows, and nothing shows where no cue starts."""
    near = lambda t, cues: any(abs(t - a) <= TOLERANCE for a, _ in cues)
    return all(near(a, [(t, t) for t in starts]) for a, _ in shown) and all(
        near(t, want) for t in starts)


def ffmpeg_cues(path):
    out = subprocess.run(["ffprobe", "-v", "error", "-of", "json", "-show_entries",
                          "packet=pts_time,duration_time", path],
                         check=True, capture_output=True, text=True).stdout
    packets = json.loads(out)["packets"]
    # A cue of no length has no duration.
    return [(float(p["pts_time"]), float(p["pts_time"]) + float(p.get("duration_time", 0)))
            for p in packets]


def mpv_cues(path, video, work):
    script = os.path.join(work, "cues.lua")
    with open(script, "w") as f:
        f.write(LUA)
    # Untimed playback sometimes misses a cue on the first frame; eight times real time does not.
    out = subprocess.run(["mpv", "--no-config", "--vo=null", "--ao=null", "--speed=8",
                          "--framedrop=no",
                          "--msg-level=all=no,cues=info", "--script=" + script,
                          "--sub-file=" + path, video],
                         capture_output=True, text=True, timeout=120).stdout
    return [float(line.split()[-1]) for line in out.splitlines() if "cue " in line]


def browser_cues(path, work):
    page = os.path.join(work, "page.html")
    with open(page, "w") as f:
        f.write(PAGE % os.path.basename(path))
    shutil.copy(path, work)
    dom = subprocess.run(["chromium", "--headless", "--no-sandbox", "--disable-gpu",
                          "--allow-file-access-from-files", "--disable-background-networking",
                          "--virtual-time-budget=5000", "--dump-dom", "file://" + page],
                         capture_output=True, text=True, timeout=120).stdout
    match = re.search(r'data-cues="([^"]*)"', dom)
    if not match or match.group(1) == "error":
        return None
    return [tuple(c) for c in json.loads(match.group(1).replace("&quot;", '"'))]


def main():
    clipstamp = os.path.abspath(sys.argv[1])
    clips = sys.argv[2] if len(sys.argv) > 2 else os.path.join(
        os.path.dirname(__file__), "..", "..", "examples", "clips")
    failures = checked = 0
    with tempfile.TemporaryDirectory() as work:
        for system, (numerator, denominator) in RATES.items():
            folder = os.path.join(work, system)
            shutil.copytree(clips, folder)
            ntsc = ["-ntsc"] if system == "ntsc" else []
            for option in ([], ["--srt"], ["--vtt"]):
                subprocess.run([clipstamp, "-d", folder, "-c", "MOVALL.SUB"] + ntsc + option,
                               check=True, env=dict(os.environ, TZ="UTC"))
            longest = max(expected_cues(s, system)[-1][1]
                          for s in glob.glob(os.path.join(folder, "*.SUB")))
            video = os.path.join(work, system + ".mkv")
            webm = os.path.join(work, "video.webm")
            rate = "%d/%d" % (numerator, denominator)
            for out, codec in ((video, "libx264"), (webm, "libvpx")):
                subprocess.run(["ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i",
                                "color=c=black:s=64x64:r=%s:d=%d" % (rate, longest + 2),
                                "-c:v", codec, out], check=True)
            for sub in sorted(glob.glob(os.path.join(folder, "*.SUB"))):
                want = expected_cues(sub, system)
                shown = [c for c in want if c[1] > c[0]]
                for extension in (".srt", ".vtt"):
                    path = sub[:-4] + extension
                    starts = mpv_cues(path, video, work)
                    results = {"ffmpeg": same(ffmpeg_cues(path), want),
                               "mpv": seen(starts, shown, want)}
                    if extension == ".vtt":
                        # A track lists cues that start together with the longest first.
                        results["chromium"] = same(sorted(browser_cues(path, work) or []),
                                                   sorted(want))
                    for player, ok in results.items():
                        checked += 1
                        if not ok:
                            failures += 1
                            print(f"FAILED: {player} reads {system} {os.path.basename(path)} "
                                  "at other times")
                print(f"{system} {os.path.basename(sub)}: {len(want)} cues, "
                      f"{len(want) - len(shown)} of no length; "
                      + ", ".join(sorted(results)) + " checked")
    print(f"{checked} player checks, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
