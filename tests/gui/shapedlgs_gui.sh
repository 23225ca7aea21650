#!/bin/sh
# The shape tools' dialogs as a user opens them, under X (Xvfb in the test run) with xdotool: a
# double click on a tool's button opens its dialog, numbers are typed in the user's units from
# the user origin (y upward), and the drawing saved and read back with drxconv info. A refused
# value keeps the dialog open and leaves the drawing byte for byte as it was; a reopened dialog
# starts at 0; Undo takes a typed shape away; Cancel takes away a polygon already started.
# Usage: shapedlgs_gui.sh BUILD/Draxel.exe. Exit 77 (skipped) without a display or the tools.
set -u
exe=$(readlink -f "$1")
build=$(dirname "$exe")
src=$(cd "$(dirname "$0")/../.." && pwd)

. "$src/tests/gui/guilib.sh"
gui_setup shapedlgs

# press_item TITLE ID: clicks control ID of the dialog captioned TITLE.
press_item() {
  if rect_dialog "$1" "$2"; then
    click_at $(((L + R) / 2)) $(((T + B) / 2))
  else
    fail "no control $2 in '$1'"
  fi
}
# The checks read the user origin (page units) from the saved drawing; one inch is 72 units.
origin='
d = json.load(open(os.path.join(work, "rect.drx.json")))["docState"]
oh, ov = d["originH"], d["originV"]
def at(x, y):
    return (oh + 72 * x, ov - 72 * y)
def same(a, b):
    return all(near(p, q) for p, q in zip(a, b))
'

start_with_first_drawing

RECT='Rectangle / Square Tool'
# 1. Start point (1, 1), size 2 x 3 from the upper left: the rectangle's top-left corner is one
# inch right of and above the origin, and it extends 2 right and 3 down.
open_tool_dialog 300 "$RECT" && {
  fill 1 1
  press_item "$RECT" 7
  fill 2 3
  xdotool key Return
  sleep 1
}
save_as rect.drx
check "the typed rectangle lies where its numbers put it" "$origin"'
o = objs("rect")
print("kinds", [x["kind"] for x in o], "points", pts(o[-1]))
assert [x["kind"] for x in o] == [1]
assert all(same(p, q) for p, q in zip(pts(o[0]), [at(1, 1), at(3, 1), at(3, -2), at(1, -2)]))
'

# 2. Refused values: a field that is not a number, an empty one and a zero size each keep the
# dialog open with a message; Cancel then leaves the drawing as it was.
open_tool_dialog 300 "$RECT" && {
  press_item "$RECT" 7
  fill abc
  refusal "$RECT" "a field that is not a number"
  xdotool key BackSpace
  refusal "$RECT" "an empty field"
  fill 0 2
  refusal "$RECT" "a width of 0"
  xdotool key Escape
  sleep 1
}
save_as refused.drx
cmp -s "$work/rect.drx" "$work/refused.drx" && pass "refused values leave the drawing byte for byte as it was" \
  || fail "refused values changed the drawing"

# 3. Reopened, the start point shows 0 again: only a size typed, the square sits at the origin.
open_tool_dialog 300 "$RECT" && {
  press_item "$RECT" 7
  fill 1 1
  xdotool key Return
  sleep 1
}
# 4. A circle of radius 1 about the origin, a line from (1, 1) at 90 degrees for 2, and an arc
# starting at (1, 0) of radius 1 sweeping a quarter turn about the origin.
open_tool_dialog 301 'Oval / Circle Tool' && {
  press_item 'Oval / Circle Tool' 19
  fill 1
  xdotool key Return
  sleep 1
}
open_tool_dialog 305 'Line Tool' && {
  fill 1 1
  press_item 'Line Tool' 3
  press_item 'Line Tool' 10
  fill 90 2
  xdotool key Return
  sleep 1
}
open_tool_dialog 304 'Arc Tool' && {
  fill 1 0 1 0 90
  xdotool key Return
  sleep 1
}
# 5. A polygon of three entered points, closed.
open_tool_dialog 302 'Polygon Tool' && {
  for point in "0 0" "2 0" "1 1"; do
    fill $point
    xdotool key Return
    sleep 0.4
  done
  press_item 'Polygon Tool' 20
  sleep 1
}
save_as shapes.drx
check "reopened at 0, the oval, line, arc and polygon lie where their numbers put them" "$origin"'
o = objs("shapes")
print("kinds", [x["kind"] for x in o])
assert [x["kind"] for x in o] == [1, 1, 2, 6, 5, 3]
square, oval, line, arc, poly = o[1:]
print("square", box(square), "oval", box(oval))
assert same(box(square), (oh, ov, 72, 72))
assert same(box(oval), (oh - 72, ov - 72, 144, 144))
print("line", pts(line))
assert same(pts(line)[0], at(1, 1)) and same(pts(line)[1], at(1, 3))
print("arc", pts(arc))
assert same(pts(arc)[0], at(0, 1)) and same(pts(arc)[-2], at(1, 0)) and same(pts(arc)[-1], at(0, 0))
print("polygon", pts(poly), "closed", poly["closed"])
assert poly["closed"] == 1 and len(pts(poly)) == 3
assert all(same(p, q) for p, q in zip(pts(poly), [at(0, 0), at(2, 0), at(1, 1)]))
'

# 6. Undo takes the typed polygon away; a polygon started and cancelled leaves nothing behind.
keys "$frame" ctrl+z
save_as undone.drx
open_tool_dialog 302 'Polygon Tool' && {
  for point in "3 3" "4 3"; do
    fill $point
    xdotool key Return
    sleep 0.4
  done
  xdotool key Escape
  sleep 1
}
save_as cancelled.drx
check "Undo takes the typed polygon away" '
print("kinds", [x["kind"] for x in objs("undone")])
assert [x["kind"] for x in objs("undone")] == [1, 1, 2, 6, 5]
'
cmp -s "$work/undone.drx" "$work/cancelled.drx" && pass "a cancelled polygon leaves the drawing as it was" \
  || fail "a cancelled polygon changed the drawing"

[ "$failures" -eq 0 ] || exit 1
echo "all shape dialog checks passed"
