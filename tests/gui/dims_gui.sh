#!/bin/sh
# Places each of the six dimension kinds with the mouse as a user does, under X (Xvfb in the test
# run) with xdotool: a rectangle and a circle drawn, the Dimension toolbox shown from the menu,
# then an offset dimension each way, a length, an angle, a diameter, a radius and a leader placed
# on them, one dimension abandoned with Escape, and the drawing saved and read back with drxconv
# info: every dimension linked both ways with its label and reading its measure.
# Usage: dims_gui.sh BUILD/Draxel.exe. Exit 77 (skipped) without a display or the tools.
set -u
exe=$(readlink -f "$1")
build=$(dirname "$exe")
src=$(cd "$(dirname "$0")/../.." && pwd)

. "$src/tests/gui/guilib.sh"
gui_setup dims
start_program

frame=$(wait_window '^Draxel Pro 2\.0 - \[Untitled1\]$' 90) || { fail "no frame with Untitled1"; exit 1; }
sleep 3
rect MainClass 1 || { fail "no drawing pane"; exit 1; }
# Work in the lower right of the pane, clear of the floating toolboxes.
ox=$((R - 460)) oy=$((B - 330))
echo "pane $L $T $R $B; drawing from $ox,$oy"

# The second phase of a dimension: the mouse goes to the place and a click puts it there.
place() {
  xdotool mousemove --sync $(($1 - 10)) $(($2 - 10))
  sleep 0.2
  click_at "$1" "$2"
  sleep 0.4
}

# 1. A rectangle 200 by 100 and a circle 100 across.
tool 300 && drag $ox $oy $((ox + 200)) $((oy + 100))
tool 301 && drag $((ox + 260)) $oy $((ox + 360)) $((oy + 100))

# 2. The Dimension toolbox, from the Toolboxes menu (the fourth item).
keys "$frame" alt+w o Down Down Down Return
rect ToolPaneClass 400 && [ "$V" -eq 1 ] || fail "the Dimension toolbox did not show from the menu"

# 3. Each dimension tool.
# Offset, horizontal: along the top edge, the dimension line above it.
tool 400 && drag $ox $oy $((ox + 200)) $oy && place $((ox + 100)) $((oy - 40))
# Offset, vertical: down the right edge (one x is always vertical), the line right of it.
tool 400 && drag $((ox + 200)) $oy $((ox + 200)) $((oy + 100)) && place $((ox + 230)) $((oy + 50))
# Length: the diagonal, the line above it; Tab toggles snapping on the way (no snap is chosen).
tool 401 && drag $ox $((oy + 100)) $((ox + 200)) $oy
xdotool key Tab
sleep 0.3
place $((ox + 60)) $((oy + 20))
# Angle: the vertex at the bottom-left corner, the first leg along the bottom edge, the second up
# the left edge, then the arc's radius.
tool 402 && drag $ox $((oy + 100)) $((ox + 200)) $((oy + 100))
place $ox $oy
place $((ox + 50)) $((oy + 50))
# Diameter: pressed on the circle's right, released outside (a shoulder).
tool 403 && drag $((ox + 360)) $((oy + 50)) $((ox + 420)) $((oy + 20))
# Radius: pressed on the circle's bottom, released inside.
tool 404 && drag $((ox + 310)) $((oy + 100)) $((ox + 310)) $((oy + 80))
# Leader: from inside the rectangle down and right.
tool 405 && drag $((ox + 100)) $((oy + 50)) $((ox + 150)) $((oy + 150)) && place $((ox + 230)) $((oy + 150))
# An offset dimension abandoned with Escape in its second phase.
tool 400 && drag $ox $((oy + 200)) $((ox + 100)) $((oy + 200))
xdotool mousemove --sync $((ox + 50)) $((oy + 240))
sleep 0.3
xdotool key Escape
sleep 0.5
save_as dims.drx

check "each dimension kind is linked with its label and reads its measure" '
o = objs("dims")
print("kinds", [x["kind"] for x in o])
rect, circle = o[0], o[1]
assert rect["kind"] == 1 and circle["kind"] == 2, (rect["kind"], circle["kind"])
rw, rh = box(rect)[2:]
cw = box(circle)[2]
dims = [(i, x) for i, x in enumerate(o) if 100 <= x["kind"] <= 108]
kinds = [x["kind"] for _, x in dims]
assert kinds == [101, 100, 102, 103, 106, 105, 108], kinds
expected = {101: rw / 72, 100: rh / 72, 102: (rw * rw + rh * rh) ** 0.5 / 72, 103: 90.0, 106: cw / 72, 105: cw / 144}
labels = [x for x in o if x["kind"] == 201]
assert len(labels) == 6, len(labels)
for i, d in dims:
    k = d["kind"]
    if k == 108:
        assert d["textObject"] is None and d["value"] is None and len(d["points"]) == 3, d
        continue
    t = d["textObject"]
    assert t is not None and o[t]["kind"] == 201 and o[t]["ownerDimension"] == i, (k, t)
    v = d["value"]
    unit = "" if k == 103 else "\""
    print(k, "reads", d["readout"], "value", v, "expected", expected[k])
    assert abs(v - expected[k]) <= (0.5 if k == 103 else 1.5 / 72), (k, v, expected[k])
    assert d["readout"] == "%.2f%s" % (v, unit), (k, d["readout"])
'
check "the dimension points follow the clicks" '
o = objs("dims")
d = {x["kind"]: x for x in o}
rl, rt = box(o[0])[:2]
pts = lambda k: [(p["x"], p["y"]) for p in d[k]["points"]]
h = pts(101)
print("horizontal", h)
assert near(h[1][1], rt - 40, 2) and near(h[2][1], rt - 40, 2)
v = pts(100)
print("vertical", v)
assert near(v[1][0], rl + 230, 2) and near(v[2][0], rl + 230, 2)
a = pts(103)
print("angle", a)
assert near(a[0][0], rl, 2) and near(a[0][1], rt + 100, 2)
r = pts(105)
print("radius", r)
assert len(r) == 2 and near(r[0][0], rl + 310, 2) and near(r[0][1], rt + 50, 2)
s = pts(106)
print("diameter", s)
assert len(s) == 4 and near(abs(s[3][0] - s[2][0]), 25, 0.01)
'

import -window root "$work/end.png" 2>/dev/null
echo "$failures failure(s)"
[ $failures -eq 0 ]
