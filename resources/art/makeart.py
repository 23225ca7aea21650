#!/usr/bin/python3
"""Draws Draxel's cursors, icon and arrowhead pictures (run from anywhere; writes beside this
script). The splash picture is drawn by makesplash.sh. Everything is drawn from geometry here:
no picture is taken from elsewhere."""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def rows_bottom_up(height):
    return range(height - 1, -1, -1)


# ---- cursors: 32x32, 1 bit; each pixel is ' ' (transparent), 'B' (black) or 'W' (white)
def write_cursor(name, pixels, hot_x, hot_y):
    size = 32
    xor_rows, and_rows = b"", b""
    for y in rows_bottom_up(size):
        xor_bits, and_bits = 0, 0
        for x in range(size):
            p = pixels[y][x]
            xor_bits = (xor_bits << 1) | (1 if p == "W" else 0)
            and_bits = (and_bits << 1) | (1 if p == " " else 0)
        xor_rows += struct.pack(">I", xor_bits)
        and_rows += struct.pack(">I", and_bits)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, len(xor_rows) + len(and_rows), 0, 0, 2, 2)
    palette = struct.pack("<BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0)
    image = header + palette + xor_rows + and_rows
    directory = struct.pack("<HHH", 0, 2, 1) + struct.pack("<BBBBHHII", size, size, 0, 0, hot_x, hot_y, len(image), 22)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(directory + image)


def blank(size=32):
    return [[" "] * size for _ in range(size)]


def put(pixels, x, y, value):
    if 0 <= x < len(pixels) and 0 <= y < len(pixels):
        pixels[y][x] = value


def outlined_disc(pixels, cx, cy, r_out, r_in):
    """A ring: black edge, white inside the ring band, transparent centre."""
    for y in range(32):
        for x in range(32):
            d = math.hypot(x - cx, y - cy)
            if d <= r_out + 0.5:
                if d >= r_out - 0.5 or d <= r_in + 0.5 and d >= r_in - 0.5:
                    put(pixels, x, y, "B")
                elif d > r_in:
                    put(pixels, x, y, "W")
                else:
                    put(pixels, x, y, "W")


def thick_line(pixels, x0, y0, x1, y1, width, value):
    steps = int(max(abs(x1 - x0), abs(y1 - y0)) * 4) + 1
    for i in range(steps + 1):
        t = i / steps
        x, y = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
        for dy in range(-width, width + 1):
            for dx in range(-width, width + 1):
                if dx * dx + dy * dy <= width * width:
                    put(pixels, int(round(x + dx)), int(round(y + dy)), value)


def magnifier(sign):
    p = blank()
    thick_line(p, 17, 17, 27, 27, 3, "B")
    thick_line(p, 17, 17, 27, 27, 1, "W")
    outlined_disc(p, 11, 11, 9, 0)
    for y in range(32):
        for x in range(32):
            if math.hypot(x - 11, y - 11) <= 7.5:
                put(p, x, y, "W")
    if sign in "+-":
        for x in range(7, 16):
            put(p, x, 11, "B")
    if sign == "+":
        for y in range(7, 16):
            put(p, 11, y, "B")
    return p


def dropper():
    p = blank()
    thick_line(p, 3, 28, 16, 15, 2, "B")
    thick_line(p, 4, 27, 15, 16, 1, "W")
    thick_line(p, 16, 15, 24, 7, 4, "B")
    thick_line(p, 17, 14, 23, 8, 2, "W")
    thick_line(p, 13, 12, 19, 18, 1, "B")
    put(p, 2, 29, "B")
    return p


def move_cross():
    p = blank()
    c = 15
    for d in range(-13, 14):
        for w in (-1, 0, 1):
            put(p, c + d, c + w, "B")
            put(p, c + w, c + d, "B")
    for s in range(1, 6):
        for w in range(-s, s + 1):
            put(p, c + w, c - 13 + s, "B")
            put(p, c + w, c + 13 - s, "B")
            put(p, c - 13 + s, c + w, "B")
            put(p, c + 13 - s, c + w, "B")
    for d in range(-11, 12):
        put(p, c + d, c, "W")
        put(p, c, c + d, "W")
    return p


# ---- colour bitmaps (24 bits) and the icon
def write_bmp(name, width, height, pixel):
    row_size = (width * 3 + 3) & ~3
    data = b""
    for y in rows_bottom_up(height):
        row = b"".join(struct.pack("<BBB", *reversed(pixel(x, y))) for x in range(width))
        data += row + b"\0" * (row_size - width * 3)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(header + info + data)


def icon_pixel(x, y):
    # A drawing sheet with a dog-ear, a blue set square and a red drafting line.
    if 3 <= x <= 26 and 1 <= y <= 30:
        if x + (30 - y) > 50 and x > 20 and y < 8:
            return (160, 160, 160)
        if x in (3, 26) or y in (1, 30):
            return (0, 0, 0)
        if 6 <= x <= 22 and 25 - (x - 6) <= y <= 25 and (x == 6 or y == 25 or y == 25 - (x - 6)):
            return (0, 64, 192)
        if abs((y - 6) - (x - 5) * 0.5) < 0.6 and 5 <= x <= 24:
            return (200, 0, 0)
        if (x - 4) % 4 == 0 or (y - 2) % 4 == 0:
            return (215, 230, 250)
        return (255, 255, 255)
    return None


def write_icon(name):
    size = 32
    xor_data, and_data = b"", b""
    for y in rows_bottom_up(size):
        bits = 0
        for x in range(size):
            colour = icon_pixel(x, y)
            xor_data += struct.pack("<BBB", *reversed(colour or (0, 0, 0)))
            bits = (bits << 1) | (1 if colour is None else 0)
        and_data += struct.pack(">I", bits)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 24, 0, len(xor_data) + len(and_data), 0, 0, 0, 0)
    image = header + xor_data + and_data
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size, size, 0, 0, 1, 24, len(image), 22)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(directory + image)


ARROW_W, ARROW_H = 48, 13


def arrow_picture(style):
    """A dimension line ending at the left in one of seven arrowhead styles."""
    mid = ARROW_H // 2
    ink = set()

    def dot(x, y):
        ink.add((int(round(x)), int(round(y))))

    for x in range(4, ARROW_W - 3):
        dot(x, mid)
    tip = 4
    if style in (0, 1, 2):  # filled, open and line arrows
        for i in range(0, 13):
            dot(tip + i, mid - i * 0.4)
            dot(tip + i, mid + i * 0.4)
        if style == 0:
            for i in range(13):
                for j in range(int(i * 0.4) + 1):
                    dot(tip + i, mid - j)
                    dot(tip + i, mid + j)
        if style == 1:
            for j in range(-5, 6):
                dot(tip + 12, mid + j)
    elif style == 3:  # architectural tick
        for i in range(-5, 6):
            dot(tip + 4 + i, mid - i)
            dot(tip + 5 + i, mid - i)
    elif style == 4:  # filled dot
        for y in range(ARROW_H):
            for x in range(ARROW_W):
                if math.hypot(x - (tip + 3), y - mid) <= 3.2:
                    dot(x, y)
    elif style == 5:  # open circle
        for a in range(0, 360, 6):
            dot(tip + 3 + 3.5 * math.cos(math.radians(a)), mid + 3.5 * math.sin(math.radians(a)))
    elif style == 6:  # no head, a short end stroke
        for j in range(-5, 6):
            dot(tip, mid + j)
    return lambda x, y: (0, 0, 0) if (x, y) in ink else (255, 255, 255)


def main():
    write_cursor("zoom.cur", magnifier(""), 11, 11)
    write_cursor("zoomplus.cur", magnifier("+"), 11, 11)
    write_cursor("zoomminus.cur", magnifier("-"), 11, 11)
    write_cursor("dropper.cur", dropper(), 2, 29)
    write_cursor("drag.cur", move_cross(), 15, 15)
    write_icon("draxel.ico")
    for style in range(7):
        write_bmp("arrow%d.bmp" % (style + 1), ARROW_W, ARROW_H, arrow_picture(style))


if __name__ == "__main__":
    main()
