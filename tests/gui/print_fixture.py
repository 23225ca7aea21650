#!/usr/bin/python3
"""Writes the drawing the printing test prints: `print_fixture.py OUT.drx`.

An 11 by 17 inch sheet (the mechanical "B" paper) holding a frame with a thick black outline and
two red diagonals, so that every one of the four letter pages it tiles over has its own part."""
import struct
import sys

import make_fixture


def main():
    data = struct.pack(">ih", 150, 2) + make_fixture.doc_state(page=(1224.0, 792.0), paper=(11, 2))
    data += struct.pack(">h", 100) + b"Sheet".ljust(256, b"\0") + struct.pack(">BB", 1, 1)
    data += make_fixture.obj(1, 1, 4.0, (0, 0, 0), [(60, 60), (730, 60), (730, 1160), (60, 1160)])
    data += make_fixture.obj(6, 0, 3.0, (65535, 0, 0), [(100, 100), (690, 1120)])
    data += make_fixture.obj(6, 0, 3.0, (65535, 0, 0), [(690, 100), (300, 700)])
    data += struct.pack(">h", 400)
    with open(sys.argv[1], "wb") as out:
        out.write(data)


if __name__ == "__main__":
    main()
