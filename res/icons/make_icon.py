#!/usr/bin/env python3
"""Draws Clipstamp's application icon (a film frame with a clock) at 32 x 32 and 16 x 16 pixels
in the 16 standard VGA colours, and writes clipstamp-32.png, clipstamp-16.png and, for a Windows
build, clipstamp.ico (4-bit images with a transparency mask). Needs only Python's standard
library: python3 res/icons/make_icon.py"""

import os
import struct
import zlib

PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, TEAL, SILVER, GRAY, RED, YELLOW, WHITE, GREEN = 0, 4, 6, 7, 8, 9, 11, 15, 2
CLEAR = None


# Pixel geometry of each size: film rows, sprocket holes, picture, caption, clock.
GEOMETRY = {
    32: dict(film=(4, 28), holes=([6, 7], [24, 25], range(2, 32, 6), 3), picture=(9, 23, 2, 30),
             land=17, caption=(19, 21, 4, 14), clock=(22, 17, 8.5), minute=6, hour=4,
             ticks=True),
    16: dict(film=(2, 14), holes=([3], [12], range(1, 16, 3), 1), picture=(5, 11, 1, 15),
             land=9, caption=(9, 10, 2, 7), clock=(11, 8, 4.5), minute=3, hour=2, ticks=False),
}


def draw(size):
    g = GEOMETRY[size]
    pixels = [[CLEAR] * size for _ in range(size)]

    def rect(x0, y0, x1, y1, colour):
        for y in range(y0, y1):
            for x in range(x0, min(x1, size)):
                pixels[y][x] = colour

    top, bottom = g["film"]
    rect(0, top, size, bottom, BLACK)
    upper, lower, columns, width = g["holes"]
    for x in columns:
        for y in upper + lower:
            rect(x, y, x + width, y + 1, SILVER)
    y0, y1, x0, x1 = g["picture"]
    rect(x0, y0, x1, y1, TEAL)
    rect(x0, g["land"], x1, y1, GREEN)
    c0, c1, c2, c3 = g["caption"]
    rect(c2, c0, c3, c1, YELLOW)

    # Clock face: its hands at three o'clock, a red centre, ticks at the quarters.
    cx, cy, r = g["clock"]
    for y in range(size):
        for x in range(size):
            d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
            if d <= r - 1.0:
                pixels[y][x] = WHITE
            elif d <= r:
                pixels[y][x] = NAVY
    for step in range(1, g["minute"] + 1):
        pixels[cy - step][cx] = BLACK
    for step in range(1, g["hour"] + 1):
        pixels[cy][cx + step] = BLACK
    if g["ticks"]:
        for x, y in ((cx, cy - 7), (cx + 7, cy), (cx, cy + 7), (cx - 7, cy)):
            pixels[y][x] = GRAY
    pixels[cy][cx] = RED
    return pixels


def png(pixels):
    size = len(pixels)
    raw = b""
    for row in pixels:
        raw += b"\0" + b"".join(
            bytes(PALETTE[c]) + (b"\xff" if c is not None else b"\0")
            if c is not None else b"\0\0\0\0" for c in row)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def ico_image(pixels):
    size = len(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in PALETTE)
    xor = b""
    for row in reversed(pixels):
        line = b""
        for x in range(0, size, 2):
            hi, lo = row[x] or 0, row[x + 1] or 0
            line += bytes([(hi << 4) | lo])
        xor += line + b"\0" * (-len(line) % 4)
    mask = b""
    for row in reversed(pixels):
        bits = 0
        line = b""
        for x, c in enumerate(row):
            bits = (bits << 1) | (1 if c is None else 0)
            if x % 8 == 7:
                line += bytes([bits])
                bits = 0
        mask += line + b"\0" * (-len(line) % 4)
    return header + palette + xor + mask


def ico(images):
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    bodies = b""
    for pixels in images:
        body = ico_image(pixels)
        size = len(pixels)
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(body), offset)
        offset += len(body)
        bodies += body
    return out + bodies


here = os.path.dirname(os.path.abspath(__file__))
big, small = draw(32), draw(16)
with open(os.path.join(here, "clipstamp-32.png"), "wb") as f:
    f.write(png(big))
with open(os.path.join(here, "clipstamp-16.png"), "wb") as f:
    f.write(png(small))
with open(os.path.join(here, "clipstamp.ico"), "wb") as f:
    f.write(ico([big, small]))
