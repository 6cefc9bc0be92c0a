#!/usr/bin/env python3
"""Draws the program's icon (a 32 x 32, 16-colour flower) and its fully
transparent cursor, and writes them as flower.ico and invisible.cur.
The committed files are the output of this script; run it again after a change."""
import math
import os
import struct
import sys

# The 16 standard colours, by index.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
DARK_GREEN, GREEN, MAROON, YELLOW, MAGENTA, PURPLE, WHITE = 2, 10, 1, 11, 13, 5, 15
SIZE = 32
TRANSPARENT = None


def draw_flower():
    pixels = [[TRANSPARENT] * SIZE for _ in range(SIZE)]

    def put(x, y, colour):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            pixels[y][x] = colour

    # Stem, curving slightly, and two leaves.
    for y in range(14, 32):
        x = 15 + round(1.5 * math.sin((y - 14) / 6.0))
        put(x, y, DARK_GREEN)
        put(x + 1, y, GREEN)
    for cx, cy, direction in ((11, 24, -1), (20, 21, 1)):
        for t in range(-5, 6):
            for w in range(-2, 3):
                if abs(w) <= 2 - abs(t) // 3:
                    put(cx + t, cy + w - direction * t // 3, GREEN if w < 1 else DARK_GREEN)
    # Six petals around the centre.
    cx, cy = 15.5, 10.5
    for k in range(6):
        angle = k * math.pi / 3
        px, py = cx + 6.0 * math.cos(angle), cy + 6.0 * math.sin(angle)
        for y in range(SIZE):
            for x in range(SIZE):
                dx, dy = x + 0.5 - px, y + 0.5 - py
                u = dx * math.cos(angle) + dy * math.sin(angle)
                v = -dx * math.sin(angle) + dy * math.cos(angle)
                e = (u / 4.6) ** 2 + (v / 3.0) ** 2
                if e <= 1.0:
                    put(x, y, PURPLE if e > 0.7 else MAGENTA)
    # The disc.
    for y in range(SIZE):
        for x in range(SIZE):
            d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
            if d <= 3.2:
                put(x, y, MAROON if d > 2.3 else YELLOW)
    put(14, 9, WHITE)
    return pixels


def icon_image(pixels):
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in PALETTE)
    xor_rows, and_rows = [], []
    for y in reversed(range(SIZE)):  # bottom-up
        row = pixels[y]
        xor = bytearray()
        for x in range(0, SIZE, 2):
            hi, lo = row[x] or 0, row[x + 1] or 0
            xor.append((hi << 4) | lo)
        xor_rows.append(bytes(xor))
        bits = 0
        for x in range(SIZE):
            bits = (bits << 1) | (1 if row[x] is TRANSPARENT else 0)
        and_rows.append(struct.pack(">I", bits))
    return header + palette + b"".join(xor_rows) + b"".join(and_rows)


def cursor_image():
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack("BBBB", 0, 0, 0, 0) + struct.pack("BBBB", 255, 255, 255, 0)
    xor = b"\x00" * (4 * SIZE)  # all zeros ...
    and_mask = b"\xff" * (4 * SIZE)  # ... and all ones: every pixel shows what is beneath
    return header + palette + xor + and_mask


def write_icon_file(path, kind, image, colours, plane_or_hotx, bits_or_hoty):
    directory = struct.pack("<HHH", 0, kind, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, colours, 0, plane_or_hotx, bits_or_hoty,
                        len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(directory + entry + image)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    write_icon_file(os.path.join(out, "flower.ico"), 1, icon_image(draw_flower()), 16, 1, 4)
    write_icon_file(os.path.join(out, "invisible.cur"), 2, cursor_image(), 2, 0, 0)


if __name__ == "__main__":
    main()
