#!/usr/bin/env python3
"""Draws the program icon (a magnifier over a list on a blue tile) as an .ico file
with 32x32 and 16x16 images of 32 bits per pixel. Usage: make_icon.py OUT.ico"""
import math
import struct
import sys

BLUE = (0x2F, 0x6F, 0xCE)
DARK = (0x10, 0x21, 0x3A)
WHITE = (0xFF, 0xFF, 0xFF)


def coverage(size, x, y, inside, samples=4):
    """The share of the pixel (x, y) for which inside(u, v) holds, u and v in 0..1."""
    hits = 0
    for i in range(samples):
        for j in range(samples):
            u = (x + (i + 0.5) / samples) / size
            v = (y + (j + 0.5) / samples) / size
            hits += inside(u, v)
    return hits / (samples * samples)


def tile(u, v):
    r = 0.18
    cx, cy = min(max(u, r), 1 - r), min(max(v, r), 1 - r)
    return (u - cx) ** 2 + (v - cy) ** 2 <= r * r


def lines(u, v):
    return 0.16 <= u <= 0.62 and any(abs(v - y) <= 0.035 for y in (0.24, 0.38, 0.52))


def ring(u, v):
    d = math.hypot(u - 0.58, v - 0.56)
    return 0.15 <= d <= 0.23


def lens(u, v):
    return math.hypot(u - 0.58, v - 0.56) < 0.15


def handle(u, v):
    # a thick segment from the ring towards the lower right corner
    ax, ay, bx, by = 0.73, 0.71, 0.88, 0.86
    t = max(0.0, min(1.0, ((u - ax) * (bx - ax) + (v - ay) * (by - ay)) / ((bx - ax) ** 2 + (by - ay) ** 2)))
    return math.hypot(u - (ax + t * (bx - ax)), v - (ay + t * (by - ay))) <= 0.07


def blend(under, over, share):
    return tuple(round(a + (b - a) * share) for a, b in zip(under, over))


def pixels(size):
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            alpha = coverage(size, x, y, tile)
            colour = BLUE
            colour = blend(colour, WHITE, coverage(size, x, y, lines) * 0.85)
            colour = blend(colour, (0x9F, 0xC2, 0xF0), coverage(size, x, y, lens) * 0.5)
            colour = blend(colour, WHITE, coverage(size, x, y, ring))
            handle_share = coverage(size, x, y, handle)
            colour = blend(colour, DARK, handle_share)
            alpha = max(alpha, handle_share)
            row.append(colour + (round(alpha * 255),))
        rows.append(row)
    return rows


def dib(size):
    """A BITMAPINFOHEADER image of double height: colour rows bottom up, then the mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(bytes((b, g, r, a)) for row in reversed(pixels(size)) for (r, g, b, a) in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytes(mask_stride * size)  # the alpha channel carries the shape
    return header + colour + mask


def main():
    images = [dib(32), dib(16)]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((32, 16), images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(sys.argv[1], "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main()
