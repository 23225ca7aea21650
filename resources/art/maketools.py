#!/usr/bin/python3
"""Draws the pictures of Draxel's toolboxes and panes (run from anywhere; writes beside this
script): one button per tool (23 x 18), the close box, the toolbar strip, the misc pane and the
fill pattern chart. Everything is drawn from geometry here; the pattern chart reads the tiles
from render/patterns.cpp so the chart and the fills always agree."""
import math
import os
import re

from makeart import write_bmp

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.normpath(os.path.join(HERE, "..", ".."))

GREY = (192, 192, 192)
DARK = (128, 128, 128)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
BLUE = (0, 0, 160)
RED = (192, 0, 0)

BUTTON_W, BUTTON_H = 23, 18


class Canvas:
    def __init__(self, width, height, paper=GREY):
        self.w, self.h = width, height
        self.px = [[paper] * width for _ in range(height)]

    def put(self, x, y, colour=BLACK):
        x, y = int(round(x)), int(round(y))
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = colour

    def line(self, x0, y0, x1, y1, colour=BLACK):
        steps = int(max(abs(x1 - x0), abs(y1 - y0)) * 2) + 1
        for i in range(steps + 1):
            t = i / steps
            self.put(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, colour)

    def poly(self, points, colour=BLACK, closed=True):
        pairs = list(zip(points, points[1:] + (points[:1] if closed else [])))
        for (x0, y0), (x1, y1) in pairs:
            self.line(x0, y0, x1, y1, colour)

    def rect(self, left, top, right, bottom, colour=BLACK):
        self.poly([(left, top), (right, top), (right, bottom), (left, bottom)], colour)

    def fill(self, left, top, right, bottom, colour):
        for y in range(top, bottom + 1):
            for x in range(left, right + 1):
                self.put(x, y, colour)

    def arc(self, cx, cy, rx, ry, start, end, colour=BLACK):
        """Degrees counterclockwise from the right, y up on screen."""
        steps = max(8, int(abs(end - start) / 3))
        for i in range(steps + 1):
            a = math.radians(start + (end - start) * i / steps)
            self.put(cx + rx * math.cos(a), cy - ry * math.sin(a), colour)

    def glyph(self, x, y, rows, colour=BLACK):
        for dy, row in enumerate(rows):
            for dx, c in enumerate(row):
                if c == "#":
                    self.put(x + dx, y + dy, colour)

    def sunken(self, left, top, right, bottom, inside=WHITE):
        self.fill(left, top, right, bottom, inside)
        self.line(left - 1, top - 1, right, top - 1, DARK)
        self.line(left - 1, top - 1, left - 1, bottom, DARK)
        self.line(left - 1, bottom + 1, right + 1, bottom + 1, WHITE)
        self.line(right + 1, top - 1, right + 1, bottom + 1, WHITE)

    def save(self, name):
        write_bmp(name, self.w, self.h, lambda x, y: self.px[y][x])


# ---- small shapes shared by several buttons
ARROW = ["#", "##", "#.#", "#..#", "#...#", "#....#", "#..###", "#.#", "##", "#"]


def pointer(c, x, y, colour=BLACK):
    for dy, row in enumerate(ARROW):
        for dx, ch in enumerate(row):
            if ch == "#":
                c.put(x + dx, y + dy, colour)
            elif ch == ".":
                c.put(x + dx, y + dy, WHITE)
    c.line(x + 3, y + 7, x + 5, y + 11, colour)


def handle(c, x, y, colour=BLACK):
    c.fill(x - 1, y - 1, x + 1, y + 1, colour)


def arrowhead(c, x, y, dx, dy, size=3, colour=BLACK):
    """A filled arrowhead with its tip at (x, y) pointing along (dx, dy)."""
    length = math.hypot(dx, dy) or 1
    ux, uy = dx / length, dy / length
    for i in range(size + 1):
        for j in range(-i, i + 1):
            c.put(x - ux * i * 1.2 + uy * j * 0.6, y - uy * i * 1.2 - ux * j * 0.6, colour)


def dim_line(c, x0, y0, x1, y1):
    c.line(x0, y0, x1, y1)
    arrowhead(c, x0, y0, x0 - x1, y0 - y1, 2)
    arrowhead(c, x1, y1, x1 - x0, y1 - y0, 2)


# ---- the buttons: each draws into a 23 x 18 canvas; the pane shows it at (1, 1), so the
# picture keeps inside 21 x 16.
def b200(c):  # selection
    pointer(c, 8, 3)


def b201(c):  # point selection
    pointer(c, 10, 4)
    handle(c, 6, 4)
    c.line(3, 12, 6, 4)


def b202(c):  # resize
    c.rect(3, 6, 12, 14)
    c.rect(3, 2, 18, 14, DARK)
    c.line(9, 9, 16, 3)
    arrowhead(c, 17, 2, 1, -1, 2)
    handle(c, 12, 6)


def b203(c):  # skew
    c.poly([(3, 14), (12, 14), (18, 3), (9, 3)])
    c.line(9, 3, 13, 3, BLUE)
    arrowhead(c, 19, 3, 1, 0, 2, BLUE)


def b204(c):  # rotate
    c.arc(10, 8, 6, 6, 110, 400)
    arrowhead(c, 8, 2, -1, -0.3, 3)
    c.fill(9, 7, 11, 9, BLUE)


def b205(c):  # fillet
    c.line(3, 2, 3, 6)
    c.arc(12, 6, 9, 9, 180, 270)
    c.line(12, 15, 19, 15)
    c.line(3, 6, 3, 15, DARK)
    c.line(3, 15, 12, 15, DARK)


def b206(c):  # chamfer
    c.line(3, 3, 3, 9)
    c.line(3, 9, 9, 15)
    c.line(9, 15, 18, 15)
    c.line(3, 9, 3, 15, DARK)
    c.line(3, 15, 9, 15, DARK)


def b207(c):  # trim
    c.line(2, 12, 19, 12)
    c.line(11, 2, 11, 15)
    for x in range(13, 20, 2):
        c.put(x, 12, GREY)
    c.line(14, 6, 18, 10, RED)
    c.line(18, 6, 14, 10, RED)


def b208(c):  # zoom
    c.arc(8, 7, 5, 5, 0, 360)
    c.line(12, 11, 17, 15)
    c.line(12, 12, 16, 15)
    c.line(6, 7, 10, 7)
    c.line(8, 5, 8, 9)


def b209(c):  # text
    c.glyph(5, 2, ["....##....", "...#..#...", "...#..#...", "..#....#..", "..#....#..",
                   ".########.", ".#......#.", "#........#", "#........#", "#........#", "##......##"])
    c.line(16, 3, 16, 14, BLUE)


def b300(c):  # rectangle
    c.rect(3, 3, 18, 13)


def b301(c):  # oval
    c.arc(10.5, 8, 8, 5, 0, 360)


def b302(c):  # polygon
    c.poly([(2, 13), (6, 3), (11, 10), (15, 2), (19, 13)], closed=False)


def b303(c):  # multigon (a regular hexagon)
    c.poly([(10.5 + 8 * math.cos(math.radians(a)), 8 + 6.5 * math.sin(math.radians(a)))
            for a in range(0, 360, 60)])


def b304(c):  # arc
    c.arc(10, 13, 8, 9, 0, 180)
    handle(c, 10, 13, DARK)


def b305(c):  # line
    c.line(3, 14, 18, 2)


def b306(c):  # spline
    pts = [(2 + t, 8 - 5 * math.sin(t / 17 * 2 * math.pi)) for t in range(0, 18)]
    for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
        c.line(x0, y0, x1, y1)


def b400(c):  # offset dimension: horizontal, with extension lines
    c.line(3, 14, 3, 4)
    c.line(18, 14, 18, 4)
    dim_line(c, 4, 7, 17, 7)
    c.line(2, 15, 19, 15, DARK)


def b401(c):  # length dimension: along a slanted edge
    c.line(2, 15, 12, 5)
    c.line(12, 5, 16, 9, DARK)
    c.line(2, 15, 5, 18, DARK)
    dim_line(c, 6, 16, 15, 7)


def b402(c):  # angle dimension
    c.line(3, 15, 19, 15)
    c.line(3, 15, 14, 3)
    c.arc(3, 15, 11, 11, 0, 48, BLUE)
    arrowhead(c, 14, 15, 0, 1, 2, BLUE)


def b403(c):  # diameter dimension
    c.arc(10.5, 8, 7, 7, 0, 360)
    dim_line(c, 5, 13, 16, 3)


def b404(c):  # radius dimension
    c.arc(10.5, 8, 7, 7, 0, 360)
    c.put(10, 8)
    c.line(10.5, 8, 15.5, 3)
    arrowhead(c, 15.5, 3, 1, -1, 2)


def b405(c):  # leader
    c.line(3, 13, 9, 5)
    c.line(9, 5, 13, 5)
    arrowhead(c, 3, 13, -1, 1, 2)
    c.rect(14, 2, 19, 8, BLUE)


def b500(c):  # no snap: a bare cross-hair
    c.line(10, 3, 10, 14)
    c.line(5, 8, 16, 8)


def target(c, x, y):
    c.rect(x - 2, y - 2, x + 2, y + 2, RED)


def b501(c):  # end point
    c.line(3, 14, 15, 4)
    target(c, 16, 4)


def b502(c):  # on outline
    c.arc(10, 8, 6, 6, 0, 360)
    target(c, 16, 8)


def b503(c):  # object centre
    c.rect(3, 3, 18, 13)
    c.line(8, 8, 13, 8, RED)
    c.line(10.5, 6, 10.5, 10, RED)


def b504(c):  # object corner
    c.arc(10.5, 8, 6, 5, 0, 360)
    c.rect(4, 3, 17, 13, DARK)
    target(c, 4, 3)


def b505(c):  # intersection
    c.line(3, 14, 18, 2)
    c.line(3, 2, 18, 14)
    target(c, 10.5, 8)


def b506(c):  # perpendicular
    c.line(3, 14, 18, 14)
    c.line(10, 3, 10, 14)
    c.rect(10, 11, 13, 14, RED)


def b507(c):  # segment centre
    c.line(2, 8, 19, 8)
    c.line(10, 4, 10, 12, RED)
    handle(c, 2, 8)
    handle(c, 19, 8)


def b508(c):  # segment percentage
    c.line(2, 14, 19, 14)
    c.glyph(7, 2, ["##...#", "##..#.", "...#..", "..#...", ".#..##", "#...##"], RED)
    c.line(12, 11, 12, 15)


def b509(c):  # origin
    c.line(2, 8, 19, 8, DARK)
    c.line(10, 2, 10, 15, DARK)
    c.arc(10, 8, 3, 3, 0, 360, RED)


BUTTONS = {
    200: b200, 201: b201, 202: b202, 203: b203, 204: b204, 205: b205, 206: b206, 207: b207,
    208: b208, 209: b209, 300: b300, 301: b301, 302: b302, 303: b303, 304: b304, 305: b305,
    306: b306, 400: b400, 401: b401, 402: b402, 403: b403, 404: b404, 405: b405, 500: b500,
    501: b501, 502: b502, 503: b503, 504: b504, 505: b505, 506: b506, 507: b507, 508: b508,
    509: b509,
}


def close_box():
    c = Canvas(14, 11, GREY)
    c.rect(2, 0, 12, 10)
    c.line(4, 2, 10, 8)
    c.line(10, 2, 4, 8)
    return c


# ---- the toolbar strip: the buttons the strip's click test knows, left and right edges
TOOLBAR_W, TOOLBAR_H = 492, 20


def toolbar():
    c = Canvas(TOOLBAR_W, TOOLBAR_H, GREY)

    def button(left, right):
        c.line(left, 1, right - 1, 1, WHITE)
        c.line(left, 1, left, 18, WHITE)
        c.line(left, 18, right - 1, 18, DARK)
        c.line(right - 1, 1, right - 1, 18, DARK)

    # Mirror: a triangle and its dashed copy.
    button(7, 27)
    c.poly([(10, 14), (15, 5), (15, 14)])
    c.poly([(24, 14), (19, 5), (19, 14)], DARK)
    c.line(17, 3, 17, 16, BLUE)
    # Flip vertically and horizontally: an arrow pair across an axis.
    button(34, 55)
    c.line(37, 10, 51, 10, BLUE)
    c.line(44, 3, 44, 17)
    arrowhead(c, 44, 3, 0, -1, 2)
    arrowhead(c, 44, 17, 0, 1, 2)
    button(55, 76)
    c.line(65, 3, 65, 16, BLUE)
    c.line(58, 10, 72, 10)
    arrowhead(c, 58, 10, -1, 0, 2)
    arrowhead(c, 72, 10, 1, 0, 2)
    # Group and ungroup: two shapes inside and outside a frame.
    button(82, 103)
    c.rect(85, 4, 99, 15, BLUE)
    c.rect(87, 6, 92, 10)
    c.arc(95, 11, 2.5, 2.5, 0, 360)
    button(103, 124)
    c.rect(106, 4, 111, 9)
    c.arc(116, 12, 3, 3, 0, 360)
    # Lock and unlock: a padlock closed and open.
    for left, shut in ((130, True), (151, False)):
        button(left, left + 21)
        c.fill(left + 6, 9, left + 14, 15, BLACK)
        c.arc(left + 10, 8, 3, 4, 0, 180)
        c.line(left + 7, 8, left + 7, 9)
        c.line(left + 13, 8 if shut else 5, left + 13, 9 if shut else 5)
        if not shut:
            c.fill(left + 13, 6, left + 13, 8, GREY)
    # Join and unjoin: two segments meeting or apart.
    button(178, 199)
    c.line(181, 14, 188, 6)
    c.line(188, 6, 195, 14)
    handle(c, 188, 6, RED)
    button(199, 220)
    c.line(202, 14, 207, 7)
    c.line(211, 7, 216, 14)
    # Colour dropper.
    button(226, 247)
    c.line(230, 15, 238, 7)
    c.line(231, 15, 239, 7)
    c.fill(238, 4, 242, 8, BLACK)
    # Fill and pen swatch frames with their labels.
    c.glyph(259, 6, ["####", "#...", "###.", "#...", "#...", "#..."])
    c.rect(270, 3, 281, 18)
    c.glyph(289, 6, ["###.", "#..#", "###.", "#...", "#...", "#..."])
    c.rect(300, 3, 311, 18)
    # Grid, snap to grid, axis lines.
    button(318, 339)
    for v in (5, 10, 15):
        c.line(321, v, 335, v, DARK)
        c.line(316 + v, 3, 316 + v, 16, DARK)
    button(339, 360)
    for y in (5, 10, 15):
        for x in (342, 347, 352, 357):
            c.put(x, y)
    pointer(c, 347, 6, BLUE)
    button(366, 387)
    c.line(369, 10, 384, 10)
    c.line(376, 3, 376, 17)
    # Fit to window and actual size.
    button(393, 414)
    c.rect(396, 4, 410, 15)
    c.rect(399, 7, 407, 12, BLUE)
    arrowhead(c, 397, 5, -1, -1, 2)
    arrowhead(c, 409, 14, 1, 1, 2)
    button(414, 435)
    c.glyph(418, 5, [".#.....#.", "##....##.", ".#..#..#.", ".#.....#.", ".#..#..#.", ".#.....#.", "###...###"])
    # The toolbox pop-up.
    button(472, 491)
    c.rect(476, 4, 482, 15)
    c.rect(484, 4, 488, 9)
    arrowhead(c, 485, 15, 0, 1, 2)
    return c


# ---- the misc pane: two sunken boxes for the zoom and scale texts
def misc():
    c = Canvas(176, 16, GREY)
    c.sunken(3, 2, 36, 12)
    c.sunken(41, 2, 170, 12)
    return c


# ---- the fill pattern chart: 5 columns by 16 rows of 15-pixel cells
PATTERN_COLUMNS, PATTERN_ROWS, CELL = 5, 16, 15


def pattern_tiles():
    text = open(os.path.join(SOURCE, "render", "patterns.cpp")).read()
    tiles = {}
    for rows, number in re.findall(r"\{\{([^}]*)\}\},\s*//\s*(\d+)", text):
        tiles[int(number)] = [int(v, 16) for v in rows.split(",")]
    return tiles


def patterns():
    tiles = pattern_tiles()
    c = Canvas(PATTERN_COLUMNS * CELL + 1, PATTERN_ROWS * CELL + 1, BLACK)
    for row in range(PATTERN_ROWS):
        for col in range(PATTERN_COLUMNS):
            left, top = col * CELL + 1, row * CELL + 1
            number = 0 if row == col == 0 else 1 + row * PATTERN_COLUMNS + col
            tile = tiles.get(number)
            for y in range(CELL - 1):
                for x in range(CELL - 1):
                    ink = tile is not None and not (tile[y % 8] >> (7 - x % 8)) & 1
                    c.put(left + x, top + y, BLACK if ink else WHITE)
            if number == 0:  # no fill: an empty cell struck through
                c.line(left + 2, top + 11, left + 11, top + 2, RED)
    return c


def main():
    for number, draw in BUTTONS.items():
        c = Canvas(BUTTON_W, BUTTON_H, GREY)
        draw(c)
        c.save("tool%d.bmp" % number)
    close_box().save("closebox.bmp")
    toolbar().save("toolbar.bmp")
    misc().save("miscpane.bmp")
    patterns().save("patterns.bmp")


if __name__ == "__main__":
    main()
