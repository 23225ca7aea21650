#!/bin/sh
# The fillet and chamfer tools as a user works them, under X (Xvfb in the test run) with xdotool:
# a rectangle drawn, one corner rounded by dragging the fillet tool from it, and Undo; then the
# Fillet Tool and Chamfer Tool dialogs opened by double-clicking their tool buttons, a typed
# radius and length applied, and refused values that leave the saved file byte for byte as it was;
# last the trim tool cuts the figure open.
# Each stage is saved and read back with drxconv info. Child windows are found by class and
# control id through winfind.exe.
# Usage: fillet_gui.sh BUILD/Draxel.exe. Exit 77 (skipped) without a display or the tools.
set -u
exe=$(readlink -f "$1")
build=$(dirname "$exe")
src=$(cd "$(dirname "$0")/../.." && pwd)

. "$src/tests/gui/guilib.sh"
gui_setup fillet

# The outline of every object of a saved drawing, selection left aside.
OUTLINE='
def outline(name):
    return [(o["kind"], o["closed"], [(p["pointKind"], p["x"], p["y"], p["inTangent"], p["outTangent"])
                                      for p in o["points"]]) for o in objs(name)]
def fillet_radius(o):
    p = o["points"]
    k = [q["pointKind"] for q in p]
    i = k.index(2)
    c, t1, m, t2 = p[i], p[i + 2], p[i + 3], p[i + 4]
    d = [((q["x"] - c["x"]) ** 2 + (q["y"] - c["y"]) ** 2) ** 0.5 for q in (t1, m, t2)]
    print("kinds", k, "distances from the centre", d)
    assert k.count(2) == 2 and k.count(3) == 1 and max(d) - min(d) < 0.05
    return d[0]
'

start_with_first_drawing
rect MainClass 1 || { fail "no drawing pane"; exit 1; }
ox=$((R - 460)) oy=$((B - 250))
echo "pane $L $T $R $B; drawing from $ox,$oy"

# 1. A rectangle, then the fillet tool dragged from its top-left corner inward; Undo.
tool 300 && drag $ox $((oy - 100)) $((ox + 100)) $oy
save_as rect.drx
# The new rectangle's points are selected: the press on its corner starts the fillet at once.
tool 205
drag $ox $((oy - 100)) $((ox + 30)) $((oy - 70))
save_as filleted.drx
keys "$frame" ctrl+z
save_as undone.drx
check "the dragged fillet rounds one corner: a Poly of 8 points; Undo brings the rectangle back" "$OUTLINE"'
r, f, u = objs("rect"), objs("filleted"), objs("undone")
print("rectangle", outline("rect"))
assert len(r) == 1 and r[0]["kind"] == 1 and len(r[0]["points"]) == 4
assert len(f) == 1 and f[0]["kind"] == 3 and len(f[0]["points"]) == 8
assert fillet_radius(f[0]) > 5
assert outline("undone") == outline("rect")
'

# 2. The dialogs: refused values first, then a typed radius and length on the selected rectangle.
drawing=undone.drx  # the file `save` writes and `refused` compares
cp "$work/undone.drx" "$work/before.drx"
open_tool_dialog 205 "Fillet Tool" && fill abc && refused "Fillet Tool" abc
open_tool_dialog 206 "Chamfer Tool" && fill 0 && refused "Chamfer Tool" 0
keys "$frame" ctrl+a
open_tool_dialog 205 "Fillet Tool" && xdotool type --delay 40 "0.25" && xdotool key Return
sleep 1
save_as radius.drx
keys "$frame" ctrl+z
keys "$frame" ctrl+a
open_tool_dialog 206 "Chamfer Tool" && xdotool type --delay 40 "0.5" && xdotool key Return
sleep 1
save_as chamfer.drx
check "the dialogs fillet with the typed radius (0.25 in = 18 units) and chamfer one corner" "$OUTLINE"'
f, c = objs("radius"), objs("chamfer")
assert len(f) == 1 and f[0]["kind"] == 3 and len(f[0]["points"]) == 8
assert near(fillet_radius(f[0]), 18, 0.05)
print("chamfered", pts(c[0]))
assert len(c) == 1 and c[0]["kind"] == 3 and len(c[0]["points"]) == 5
'

# 3. The trim tool pressed on the chamfered figure's bottom edge (the figure is still selected)
# opens it there: one open Poly that starts and ends at the cut.
tool 207
xdotool mousemove --sync $((ox + 50)) $oy
sleep 0.15
xdotool mousedown 1
sleep 0.3
xdotool mouseup 1
sleep 0.5
save_as trimmed.drx
check "the trim tool opens the closed figure at the pressed edge" '
t = objs("trimmed")
print("trimmed", [(o["kind"], o["closed"], pts(o)) for o in t])
assert len(t) == 1 and t[0]["kind"] == 3 and t[0]["closed"] == 0 and len(t[0]["points"]) == 7
first, last = pts(t[0])[0], pts(t[0])[-1]
assert near(first[0], last[0], 0.01) and near(first[1], last[1], 0.01) and near(first[1], 413)
'

import -window root "$work/end.png" 2>/dev/null
echo "$failures failure(s)"
[ $failures -eq 0 ]
