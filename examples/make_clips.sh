#!/bin/sh
# Writes the synthetic clip information files in examples/clips. Each is 256 bytes: "V6", the
# file size as a big-endian 32-bit number, then the recording start (year as big-endian 16 bits,
# month, day, hour, minute, seconds * 1000 + milliseconds as big-endian 16 bits) and the running
# time in milliseconds (big-endian 32 bits); the rest is zero.
set -eu
cd "$(dirname "$0")/clips"

byte() { printf "\\$(printf '%03o' "$1")"; }
be16() { byte $(($1 >> 8 & 255)); byte $(($1 & 255)); }
be32() { be16 $(($1 >> 16 & 65535)); be16 $(($1 & 65535)); }

# clip NAME YEAR MONTH DAY HOUR MINUTE MILLISECONDS DURATION_MS
clip() {
  {
    printf 'V6'
    be32 256
    be16 "$2"; byte "$3"; byte "$4"; byte "$5"; byte "$6"; be16 "$7"
    be32 "$8"
    head -c 238 /dev/zero
  } > "$1"
}

clip MOV001.MOI 2007 11 12 13 45 7250 3500     # 13:45:07.250, 3.5 s
clip MOV002.MOI 2007 11 12 13 52 3480 14250    # 13:52:03.480, 14.25 s
clip MOV003.MOI 2007 12 31 23 59 56000 8000    # New Year's Eve 23:59:56, 8 s, into 2008
clip MOV004.MOI 2008 7 19 9 5 30900 61020      # 09:05:30.900, just over a minute
