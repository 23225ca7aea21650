"""Writes DXF test drawings with ezdxf and the extents ezdxf computes for each.

usage: make_dxf.py OUTDIR
Writes OUTDIR/<name>.dxf for every case and version, and OUTDIR/extents.txt with one line per
file: name min_x min_y max_x max_y units_code figures, where figures is the number of entities
that draw something (texts and hatches are left out of the extents: they do not come across).
"""
import math
import os
import sys

import ezdxf
from ezdxf import bbox

VERSIONS = ["R12", "R2000", "R2004", "R2007", "R2010", "R2013", "R2018"]


def every_kind(doc, msp):
    msp.add_line((0, 0), (100, 40), dxfattribs={"color": 1})
    msp.add_circle((150, 20), 25, dxfattribs={"color": 5})
    msp.add_arc((40, 90), 30, 20, 200)
    msp.add_point((-20, -10))
    if doc.dxfversion > "AC1009":
        msp.add_lwpolyline([(0, 150), (60, 150), (60, 190), (0, 190)], close=True)
        msp.add_lwpolyline([(100, 150, 0, 0, 0.5), (160, 150), (160, 200)], format="xyseb")
        msp.add_ellipse((250, 100), major_axis=(40, 0), ratio=0.5, start_param=0, end_param=math.pi)
        msp.add_ellipse((250, 200), major_axis=(0, 30), ratio=0.6)
        msp.add_ellipse((350, 150), major_axis=(30, 30), ratio=0.4)
        msp.add_open_spline([(300, 0), (320, 40), (360, -20), (400, 30)], degree=3)
    msp.add_polyline2d([(200, -50), (260, -50), (260, -20)], close=True)
    msp.add_text("not a figure", dxfattribs={"insert": (0, -40)})


def nested_blocks(doc, msp):
    inner = doc.blocks.new("INNER", base_point=(5, 5))
    inner.add_line((0, 0), (20, 0))
    inner.add_circle((10, 10), 5)
    inner.add_arc((10, 10), 8, 0, 90)
    outer = doc.blocks.new("OUTER")
    outer.add_blockref("INNER", (30, 0), dxfattribs={"xscale": 2, "yscale": 0.5, "rotation": 30})
    outer.add_blockref("INNER", (0, 40), dxfattribs={"rotation": 90})
    outer.add_line((0, 0), (0, 60))
    msp.add_blockref("OUTER", (100, 100), dxfattribs={"xscale": 1.5, "yscale": 1.5, "rotation": 45})
    msp.add_blockref("OUTER", (-50, 0), dxfattribs={"xscale": -1, "rotation": 10})
    msp.add_blockref("INNER", (0, -80), dxfattribs={"xscale": 3, "yscale": 3})


def figures(msp):
    count = 0
    for e in msp:
        if e.dxftype() in ("TEXT", "MTEXT", "HATCH"):
            continue
        count += 1
    return count


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    lines = []
    for case, build, units in (("kinds", every_kind, 4), ("blocks", nested_blocks, 1)):
        for version in VERSIONS:
            doc = ezdxf.new(version)
            doc.units = units
            msp = doc.modelspace()
            build(doc, msp)
            name = f"{case}-{version}"
            doc.saveas(os.path.join(out, name + ".dxf"))
            shapes = [e for e in msp if e.dxftype() not in ("TEXT", "MTEXT", "HATCH")]
            box = bbox.extents(shapes)
            lines.append(f"{name} {box.extmin.x!r} {box.extmin.y!r} {box.extmax.x!r} {box.extmax.y!r} "
                         f"{units} {figures(msp)}")
    with open(os.path.join(out, "extents.txt"), "w") as f:
        f.write("\n".join(lines) + "\n")


main()
