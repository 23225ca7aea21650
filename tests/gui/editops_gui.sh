#!/bin/sh
# The editing commands as a user gives them, under X (Xvfb in the test run) with xdotool: two
# lines drawn end to end, duplicated with Ctrl+D, the originals joined and split again with the
# toolbar's Join and Unjoin buttons, and a rectangle drawn with Draw Parallel (Ctrl+Y) on and then
# undone with its copy. Each stage is saved and read back with drxconv info. Child windows are
# found by class and control id through winfind.exe.
# Usage: editops_gui.sh BUILD/Draxel.exe. Exit 77 (skipped) without a display or the tools.
set -u
exe=$(readlink -f "$1")
build=$(dirname "$exe")
src=$(cd "$(dirname "$0")/../.." && pwd)

. "$src/tests/gui/guilib.sh"
gui_setup editops

# The toolbar strip's buttons by their x offset.
toolbar_click() {
  if rect ToolbarClass 2; then
    click_at $((L + 1 + $1)) $((T + 1 + 10))
  else
    fail "no toolbar"
  fi
}

start_with_first_drawing
rect MainClass 1 || { fail "no drawing pane"; exit 1; }
ox=$((R - 460)) oy=$((B - 250))
echo "pane $L $T $R $B; drawing from $ox,$oy"

# 1. Two lines end to end, then Select All and Duplicate: copies 0.5 inch right and up.
tool 305 && drag $ox $oy $((ox + 100)) $oy
tool 305 && drag $((ox + 100)) $oy $((ox + 100)) $((oy + 60))
keys "$frame" ctrl+a
keys "$frame" ctrl+d
save_as duplicated.drx
check "Duplicate copies the selection 36 page units right and up" '
o = objs("duplicated")
print("kinds", [x["kind"] for x in o], "points", [pts(x) for x in o])
assert [x["kind"] for x in o] == [6, 6, 6, 6]
for src, dup in ((o[0], o[2]), (o[1], o[3])):
    assert all(near(d[0] - s[0], 36) and near(d[1] - s[1], -36) for s, d in zip(pts(src), pts(dup)))
assert not any(p["selected"] for p in o[2]["points"] + o[3]["points"])
'

# 2. The originals stay selected: the toolbar's Join welds them into one polyline; then
# everything selected and Unjoin splits every shape into lines again.
toolbar_click 188
save_as joined.drx
keys "$frame" ctrl+a
toolbar_click 209
save_as unjoined.drx
check "Join welds the two lines, Unjoin splits them again" '
j, u, d = objs("joined"), objs("unjoined"), objs("duplicated")
print("joined", [(x["kind"], pts(x)) for x in j])
assert [x["kind"] for x in j] == [3, 6, 6]
assert pts(j[0]) == pts(d[0]) + pts(d[1])[1:]
print("unjoined", [(x["kind"], pts(x)) for x in u])
assert [x["kind"] for x in u] == [6, 6, 6, 6]
assert sorted(map(pts, u)) == sorted(map(pts, d))
'

# 3. Draw Parallel on: a rectangle comes with its copy 0.25 inch inside; Undo takes both.
keys "$frame" ctrl+y
tool 300 && drag $((ox + 200)) $((oy - 60)) $((ox + 300)) $oy
save_as parallel.drx
keys "$frame" ctrl+z
save_as undone.drx
keys "$frame" ctrl+y
check "Draw Parallel adds the inside copy and Undo takes both away" '
p, u = objs("parallel"), objs("undone")
rect, inner = p[-2], p[-1]
print("rectangle", rect["bounds"], "copy", inner["bounds"])
assert len(p) == 6 and rect["kind"] == 1 and inner["kind"] == 1
assert all(near(a + s * 18, b) for a, b, s in zip(rect["bounds"], inner["bounds"], (1, 1, -1, -1)))
assert len(u) == 4
'

import -window root "$work/end.png" 2>/dev/null
echo "$failures failure(s)"
[ $failures -eq 0 ]
