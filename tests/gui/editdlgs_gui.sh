#!/bin/sh
# The editing tools' dialogs as a user opens them, under X (Xvfb in the test run) with xdotool:
# a rectangle is drawn and selected, then each of the selection, point, resize, skew and rotate
# tools' buttons is double-clicked, values are typed and confirmed, and the saved drawing is read
# back with drxconv info. Reopening shows zeros (OK then changes nothing); refused values keep the
# dialog open and leave the saved file byte for byte as it was; Cancel changes nothing; Undo
# takes back a typed rotation.
# Usage: editdlgs_gui.sh BUILD/Draxel.exe. Exit 77 (skipped) without a display or the tools.
set -u
exe=$(readlink -f "$1")
build=$(dirname "$exe")
src=$(cd "$(dirname "$0")/../.." && pwd)

. "$src/tests/gui/guilib.sh"
gui_setup editdlgs
drawing=work.drx

# snap NAME: saves the drawing and keeps a copy as NAME.drx with drxconv's reading beside it.
snap() {
  save
  cp "$work/$drawing" "$work/$1.drx"
  "$src/cmake/wine-run.sh" "$build/drxconv.exe" info "$work/$1.drx" 2>/dev/null | tr -d '\r' >"$work/$1.drx.json"
}
# choose TITLE ID: clicks the radio button ID of the open dialog and goes back to its first
# field (two fields before the choices).
choose() {
  rect_dialog "$1" "$2" || { fail "no button $2 in $1"; return 1; }
  click_at $(((L + R) / 2)) $(((T + B) / 2))
  xdotool windowfocus --sync "$dialog" 2>/dev/null
  xdotool key shift+Tab shift+Tab
}
# same A B: the two saved drawings are byte for byte the same.
same() {
  cmp -s "$work/$1.drx" "$work/$2.drx" && pass "$3" || fail "$3"
}

start_with_first_drawing
rect MainClass 1 || { fail "no drawing pane"; exit 1; }
ox=$((R - 460)) oy=$((B - 250))

# A rectangle, everything selected, saved under the working name.
tool 300 && drag $ox $oy $((ox + 144)) $((oy + 72))
keys "$frame" ctrl+a
save_as "$drawing"
snap start

# Selection Tool: 1 right and 1 up (an inch each: 72 page units, y down on the page).
open_tool_dialog 200 "Selection Tool" && fill 1 1 && accept "Selection Tool"
snap moved
# Reopened, its fields are 0 again: OK moves nothing.
open_tool_dialog 200 "Selection Tool" && accept "Selection Tool"
snap reopened
same moved reopened "the reopened Selection Tool starts at 0 and OK changes nothing"
# Point Select Tool, polar: the selected points 1 down (270 degrees).
open_tool_dialog 201 "Point Select Tool" && choose "Point Select Tool" 10 && fill 270 1 &&
  accept "Point Select Tool"
snap pointmoved
check "typed moves go right and up, then the points down" '
s, m, p = box(objs("start")[0]), box(objs("moved")[0]), box(objs("pointmoved")[0])
print("start", s, "moved", m, "points moved", p)
assert near(m[0] - s[0], 72) and near(m[1] - s[1], -72) and near(m[2], s[2]) and near(m[3], s[3])
assert near(p[0], m[0]) and near(p[1] - m[1], 72)
'

# Resize Tool: 200 % wide and 50 % high from the upper left corner.
open_tool_dialog 202 "Resize Tool" && fill 200 50 && accept "Resize Tool"
snap resized
check "the resize keeps the upper left corner" '
p, r = box(objs("pointmoved")[0]), box(objs("resized")[0])
print("before", p, "after", r)
assert near(r[0], p[0]) and near(r[1], p[1]) and near(r[2], 2 * p[2]) and near(r[3], p[3] / 2)
'

# Skew Tool: 0.5 to the right (the default direction): the top edge 36 right, the bottom 36 left.
open_tool_dialog 203 "Skew Tool" && fill 0.5 && accept "Skew Tool"
snap skewed
check "the skew widens the bounds by the distance each way" '
r, k = box(objs("resized")[0]), box(objs("skewed")[0])
print("before", r, "after", k)
assert near(k[0], r[0] - 36) and near(k[2], r[2] + 72) and near(k[1], r[1]) and near(k[3], r[3])
'

# Rotate Tool: 90 degrees about the centre; then Undo brings the skewed shape back.
open_tool_dialog 204 "Rotate Tool" && fill 90 && accept "Rotate Tool"
snap rotated
check "a quarter turn swaps width and height about the centre" '
k, t = box(objs("skewed")[0]), box(objs("rotated")[0])
print("before", k, "after", t)
assert near(t[2], k[3]) and near(t[3], k[2])
assert near(t[0] + t[2] / 2, k[0] + k[2] / 2) and near(t[1] + t[3] / 2, k[1] + k[3] / 2)
'
keys "$frame" ctrl+z
snap undone
check "Undo takes the typed rotation back" '
k, u = objs("skewed")[0], objs("undone")[0]
assert all(near(a[0], b[0], 0.01) and near(a[1], b[1], 0.01) for a, b in zip(pts(k), pts(u)))
'

# Refused values: the dialog stays open and the drawing is untouched.
save
cp "$work/$drawing" "$work/before.drx"
open_tool_dialog 202 "Resize Tool" && fill 0 100 && refused "Resize Tool" "0 percent"
open_tool_dialog 202 "Resize Tool" && fill 100 && xdotool key Tab BackSpace && refused "Resize Tool" "an empty field"
open_tool_dialog 200 "Selection Tool" && fill abc 1 && refused "Selection Tool" "abc"
open_tool_dialog 202 "Resize Tool" && choose "Resize Tool" 8 && fill 0 2 && refused "Resize Tool" "a width of 0"

# Cancel changes nothing.
open_tool_dialog 204 "Rotate Tool" && fill 45 && xdotool key Escape && wait_fewer "^Rotate Tool$" 1
open_tool_dialog 203 "Skew Tool" && fill 3 && xdotool key Escape && wait_fewer "^Skew Tool$" 1
snap cancelled
same before cancelled "Cancel leaves the drawing as it was"

import -window root "$work/end.png" 2>/dev/null
echo "$failures failure(s)"
[ $failures -eq 0 ]
