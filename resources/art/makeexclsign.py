#!/usr/bin/python3
"""Draws the warning sign of the export warning (exclsign.bmp, 32x32, 16 colours): a yellow
triangle edged in black with an exclamation mark, on dialog grey. Writes beside this script."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
SIZE = 32
BLACK, WHITE, YELLOW, GREY = 0, 1, 2, 3
PALETTE = [(0, 0, 0), (255, 255, 255), (0, 210, 255), (192, 192, 192)]  # blue, green, red


def draw():
    pixels = [[GREY] * SIZE for _ in range(SIZE)]
    for y in range(2, 30):
        half = (y - 2) * 15 / 27
        for x in range(SIZE):
            if abs(x - 15.5) <= half + 0.5:
                edge = abs(abs(x - 15.5) - half) < 1.0 or y == 29
                pixels[y][x] = BLACK if edge else YELLOW
    for y in list(range(10, 22)) + list(range(24, 27)):
        pixels[y][15] = pixels[y][16] = BLACK
    return pixels


def write_bitmap(path, pixels):
    row_bytes = ((SIZE * 4 + 31) // 32) * 4
    data = b""
    for y in range(SIZE - 1, -1, -1):
        row = bytes((pixels[y][x] << 4) | pixels[y][x + 1] for x in range(0, SIZE, 2))
        data += row + b"\0" * (row_bytes - len(row))
    palette = b"".join(bytes(c) + b"\0" for c in PALETTE) + b"\0\0\0\0" * (16 - len(PALETTE))
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 4, 0, len(data), 2835, 2835, 16, 0)
    offset = 14 + len(info) + len(palette)
    with open(path, "wb") as out:
        out.write(b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset) + info + palette + data)


if __name__ == "__main__":
    write_bitmap(os.path.join(HERE, "exclsign.bmp"), draw())
