#!/bin/sh
# Draws and edits with the mouse as a user does, under X (Xvfb in the test run) with xdotool:
# each draw tool picked in its toolbox and dragged or clicked in the drawing pane, then the
# rectangle selected, moved, resized by its corner handle and rotated, undone and redone, a drag
# abandoned with Escape, rectangles started on another's corners with the end-point snap, and each
# stage saved and read back with drxconv info. Child windows are found by class and control id
# through winfind.exe.
# Usage: track_gui.sh BUILD/Draxel.exe. Exit 77 (skipped) without a display or the tools.
set -u
exe=$(readlink -f "$1")
build=$(dirname "$exe")
src=$(cd "$(dirname "$0")/../.." && pwd)

. "$src/tests/gui/guilib.sh"
gui_setup track
"$src/cmake/wine-run.sh" "$exe" >"$work/draxel.out" 2>&1 &
app=$!
trap stop_program EXIT

frame=$(wait_window '^Draxel Pro 2\.0 - \[Untitled1\]$' 90) || { fail "no frame with Untitled1"; exit 1; }
sleep 3
rect MainClass 1 || { fail "no drawing pane"; exit 1; }
# Work in the lower right of the pane, clear of the floating toolboxes.
ox=$((R - 460)) oy=$((B - 330))
echo "pane $L $T $R $B; drawing from $ox,$oy"

# 1. Each shape tool, as a user draws it.
tool 300 && drag $ox $oy $((ox + 100)) $((oy + 60))
tool 301 && drag $((ox + 150)) $oy $((ox + 230)) $((oy + 60))
tool 305 && drag $ox $((oy + 100)) $((ox + 100)) $((oy + 140))
tool 303 && drag $((ox + 320)) $((oy + 50)) $((ox + 360)) $((oy + 50))
tool 304 && drag $((ox + 150)) $((oy + 100)) $((ox + 210)) $((oy + 150))
# The polygon: a click places the first vertex, clicks add vertices, a click on the first closes.
tool 302
xdotool mousemove --sync $ox $((oy + 200))
sleep 0.15
xdotool mousedown 1
sleep 0.4
xdotool mouseup 1
sleep 0.7
click_at $((ox + 80)) $((oy + 200))
sleep 0.7
click_at $((ox + 80)) $((oy + 260))
sleep 0.7
click_at $((ox + 2)) $((oy + 201))
sleep 1
# The spline: ended open by a double click.
tool 306
xdotool mousemove --sync $((ox + 150)) $((oy + 200))
sleep 0.15
xdotool mousedown 1
sleep 0.4
xdotool mouseup 1
sleep 0.7
click_at $((ox + 200)) $((oy + 260))
sleep 0.7
xdotool mousemove --sync $((ox + 260)) $((oy + 210))
sleep 0.3
xdotool click --repeat 2 --delay 80 1
sleep 1.2
save_as shapes.drx
check "each draw tool drew its figure where it was dragged" '
o = objs("shapes")
kinds = [x["kind"] for x in o]
print("kinds", kinds)
assert kinds == [1, 2, 6, 4, 5, 3, 7], kinds
rl, rt, rw, rh = box(o[0])
print("rect", box(o[0]), "oval", box(o[1]))
assert near(rw, 100) and near(rh, 60)
ol, ot, ow, oh = box(o[1])
assert near(ow, 80) and near(oh, 60) and near(ol - rl, 150) and near(ot, rt)
p = o[2]["points"]
assert near(p[0]["x"], rl) and near(p[0]["y"], rt + 100) and near(p[1]["x"] - p[0]["x"], 100) and near(p[1]["y"] - p[0]["y"], 40), p
m = o[3]["points"]
assert len(m) == 8 and near(m[-1]["x"], rl + 360) and near(m[-1]["y"], rt + 50), m[-1]
a = o[4]
ends = [(q["x"], q["y"]) for q in a["points"] if q["pointKind"] == 5]
print("arc ends", ends[0], ends[-1])
assert near(ends[-1][0], rl + 150) and near(ends[-1][1], rt + 100) and near(ends[0][0], rl + 210) and near(ends[0][1], rt + 150)
g = o[5]
print("polygon", [(q["x"], q["y"]) for q in g["points"]], "closed", g["closed"])
assert g["closed"] == 1 and len(g["points"]) == 3
s = o[6]
print("spline", len(s["points"]), "points, closed", s["closed"])
assert s["closed"] == 0 and len(s["points"]) == 3
'

# 2. The rectangle selected with the arrow, moved, resized by its corner handle, rotated.
tool 200
click_at $((ox + 50)) $oy
drag $((ox + 50)) $oy $((ox + 80)) $((oy + 20))
save_as moved.drx
tool 200
drag $((ox + 130)) $((oy + 80)) $((ox + 170)) $((oy + 100))
save_as resized.drx
tool 204
drag $((ox + 100)) $((oy + 20)) $((ox + 140)) $((oy + 60))
sleep 0.3
save_as rotated.drx
check "the rectangle moved, resized by its handle and rotated as dragged" '
s, m, z, r = objs("shapes")[0], objs("moved")[0], objs("resized")[0], objs("rotated")[0]
print("shapes", box(s), "moved", box(m), "resized", box(z), "rotated", box(r))
assert near(box(m)[0] - box(s)[0], 30) and near(box(m)[1] - box(s)[1], 20)
assert near(box(m)[2], 100) and near(box(m)[3], 60)
assert near(box(z)[0], box(m)[0]) and near(box(z)[1], box(m)[1]) and near(box(z)[2], 140) and near(box(z)[3], 80)
cx, cy = box(z)[0] + 70, box(z)[1] + 40
assert near(box(r)[2], 80) and near(box(r)[3], 140) and near(box(r)[0] + 40, cx) and near(box(r)[1] + 70, cy)
'

# 3. Undo takes the rotation back, the next Undo redoes it.
keys "$frame" ctrl+z
save_as undone.drx
keys "$frame" ctrl+z
save_as redone.drx
check "Undo and Redo of the rotation" '
u, d, z = objs("undone")[0], objs("redone")[0], objs("resized")[0]
print("undone", box(u), "redone", box(d))
assert all(near(a, b) for a, b in zip(box(u), box(z)))
assert near(box(d)[2], 80) and near(box(d)[3], 140)
'

# 4. Escape in the middle of a drag leaves the drawing as it was.
tool 200
xdotool mousemove --sync $((ox + 100)) $((oy - 10))
sleep 0.2
click_at $((ox + 100)) $((oy - 10))
xdotool mousedown 1
sleep 0.25
xdotool mousemove --sync $((ox + 60)) $((oy + 30))
sleep 0.2
xdotool mousemove --sync $((ox + 20)) $((oy + 60))
sleep 0.2
xdotool key Escape
sleep 0.3
xdotool mousemove --sync $((ox + 10)) $((oy + 70))
sleep 0.2
xdotool mouseup 1
sleep 0.5
save_as escaped.drx
check "Escape during a drag changes nothing" '
a, b = objs("redone"), objs("escaped")
print([box(o) for o in a][:2], [box(o) for o in b][:2])
assert len(a) == len(b)
for x, y in zip(a, b):
    assert [(p["x"], p["y"]) for p in x["points"]] == [(p["x"], p["y"]) for p in y["points"]]
'

# 5. Snapping to end points: the drawing cleared and one rectangle drawn; a single click on the
# end-point snap snaps the next press only, a double click locks it for every press after.
keys "$frame" ctrl+a
keys "$frame" alt+e a
tool 300 && drag $ox $oy $((ox + 100)) $((oy + 60))
keys "$frame" alt+w o Down Down Return
if rect SnapPaneClass 501 && [ "$V" -eq 1 ]; then
  sx=$(((L + R) / 2)) sy=$(((T + B) / 2))
  click_at $sx $sy
  tool 300 && drag $((ox + 103)) $((oy + 62)) $((ox + 180)) $((oy + 120))
  tool 300 && drag $((ox + 3)) $((oy + 63)) $((ox + 60)) $((oy + 120))
  xdotool mousemove --sync $sx $sy
  sleep 0.2
  xdotool click --repeat 2 --delay 80 1
  sleep 0.4
  tool 300 && drag $((ox + 97)) $((oy - 3)) $((ox + 180)) $((oy - 60))
  tool 300 && drag $((ox - 3)) $((oy + 2)) $((ox - 60)) $((oy - 60))
  # The lock ends with a click on no snap.
  rect SnapPaneClass 500 && click_at $(((L + R) / 2)) $(((T + B) / 2))
  save_as snapped.drx
  check "presses near a corner start exactly on it: once after a click, always after a double click" '
a, b, c, d, e = objs("snapped")
pts = lambda o: [(p["x"], p["y"]) for p in o["points"]]
ca = pts(a)
left, top = min(x for x, y in ca), min(y for x, y in ca)
right, bottom = max(x for x, y in ca), max(y for x, y in ca)
print("rectangle", ca)
for name, o, corner in (("one click", b, (right, bottom)), ("locked", d, (right, top)), ("still locked", e, (left, top))):
    print(name, pts(o))
    assert corner in pts(o), (name, corner)
print("after the one press", pts(c))
assert not any(near(x, left) and near(y, bottom) for x, y in pts(c))
assert any(near(x, left + 3) and near(y, bottom + 3) for x, y in pts(c))
'
else
  fail "the Snap toolbox did not show from the menu"
fi

import -window root "$work/end.png" 2>/dev/null
echo "$failures failure(s)"
[ $failures -eq 0 ]
