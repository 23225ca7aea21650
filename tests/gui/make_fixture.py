#!/usr/bin/python3
"""Writes a small drawing file for the GUI tests: `make_fixture.py OUT.drx`.

One layer "Walls" holding a rectangle with a thick black outline and a red line, on a letter
sheet with the default settings. Everything is big-endian, as the drawing format stores it."""
import struct
import sys


def doc_state(page=(792.0, 612.0), paper=(19, 1)):
    """`page`: the sheet's bottom and right in page units; `paper`: paperKind and the selection
    of every named family."""
    f = b""
    f += struct.pack(">ffh", 0.5, -0.5, 1)                 # duplicate offsets, repeat
    f += struct.pack(">ff", 0.0, page[0])                  # origin
    f += struct.pack(">BBBB", 0, 0, 0, 0)                  # axis, page breaks, grid, snap
    f += struct.pack(">ff", 1.0, 1.0)                      # grid spacing
    f += struct.pack(">h", 50)                             # scroll speed
    f += struct.pack(">f", 0.25)                           # nudge rate
    f += struct.pack(">hh", 6, 1)                          # line type, weight
    f += struct.pack(">ffff", 0.0, 0.0, page[0], page[1])  # page rectangle
    f += struct.pack(">h", paper[0]) + struct.pack(">hhhhh", paper[1], paper[1], paper[1], paper[1], 1)
    f += struct.pack(">ff", 8.5, 11.0)                     # custom paper
    f += struct.pack(">h", 5086)                           # arrow style
    f += struct.pack(">ff", 0.0, 0.0) + struct.pack(">h", 5053)
    f += struct.pack(">f", 0.25) + struct.pack(">h", 7)    # parallel width, side
    f += struct.pack(">hhh", -1, -1, -1)                   # fill colour (65535 as signed)
    f += struct.pack(">hhh", -1, -1, -1)                   # background colour
    f += struct.pack(">hh", 5060, 24)                      # readout style, stored value
    f += struct.pack(">B", 1)                              # toolbar shown
    f += struct.pack(">f", 1.0) + struct.pack(">hh", 1, 1) + struct.pack(">B", 0)
    f += struct.pack(">ff", 1.0, 1.0)                      # screen and world scale
    f += struct.pack(">hhhhh", 8, 8, 50, 5, 5)             # smoothness .. tension
    f += struct.pack(">f", 1.0) + struct.pack(">h", 100)   # zoom, zoom percentage
    f += struct.pack(">BB", 0, 0)
    f += struct.pack(">I", (1 << 19) | 1 | (1 << 14))      # dimension flags
    f += struct.pack(">h", 5100)                           # title style
    f += struct.pack(">hhh", 0, 0, 0)                      # pen colour
    f += struct.pack(">ff", 1.0, 1.0)                      # snap spacing
    f += struct.pack(">BB", 0, 0) + struct.pack(">h", 8)   # rulers, minor divisions
    assert len(f) == 170, len(f)
    return struct.pack(">i", 217) + f


def obj(kind, closed, weight, pen, points):
    f = struct.pack(">h", 200)
    f += struct.pack(">hBB", kind, closed, 1)
    f += struct.pack(">HHH", 65535, 65535, 65535)
    f += struct.pack(">f", weight) + struct.pack(">hh", 6, 0)
    f += struct.pack(">HHH", *pen)
    f += struct.pack(">i", len(points))
    for x, y in points:
        f += struct.pack(">hBBB", 1, 0, 1, 0) + struct.pack(">ffffff", 0, 0, x, y, 0, 0)
    return f


def main():
    data = struct.pack(">ih", 150, 2) + doc_state()
    data += struct.pack(">h", 100) + b"Walls".ljust(256, b"\0") + struct.pack(">BB", 1, 1)
    data += obj(1, 1, 4.0, (0, 0, 0), [(100, 100), (400, 100), (400, 300), (100, 300)])
    data += obj(6, 0, 2.0, (65535, 0, 0), [(120, 500), (450, 420)])
    data += struct.pack(">h", 400)
    with open(sys.argv[1], "wb") as out:
        out.write(data)


if __name__ == "__main__":
    main()
