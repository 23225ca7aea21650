#!/bin/sh
# The clipboard as a user works it, under X (Xvfb in the test run) with xdotool: a rectangle drawn
# in one drawing is copied with Ctrl+C and pasted twice with Ctrl+V into a second drawing, half an
# inch further each time; Ctrl+X there takes the selection out and Ctrl+Z brings it back; "Show
# Clipboard" opens the viewer, which shows the copied rectangle. Each stage is saved and read back
# with drxconv info.
# Usage: clipboard_gui.sh BUILD/Draxel.exe. Exit 77 (skipped) without a display or the tools.
set -u
exe=$(readlink -f "$1")
build=$(dirname "$exe")
src=$(cd "$(dirname "$0")/../.." && pwd)

. "$src/tests/gui/guilib.sh"
gui_setup clipboard

start_with_first_drawing
rect MainClass 1 || { fail "no drawing pane"; exit 1; }
ox=$((R - 460)) oy=$((B - 250))

# 1. A rectangle in the first drawing, saved as it is, then selected and copied.
tool 300 && drag $ox $oy $((ox + 100)) $((oy + 60))
save_as source.drx
keys "$frame" ctrl+a ctrl+c

# 2. A second drawing gets two pastes.
keys "$frame" ctrl+n
wait_window '\[Untitled2\]$' 20 >/dev/null || fail "no Untitled2 after New"
sleep 1
keys "$frame" ctrl+v
keys "$frame" ctrl+v
save_as pasted.drx
check "two pastes land 36 and 72 page units right of and below the copied rectangle" '
s, p = objs("source"), objs("pasted")
print("source", [pts(x) for x in s], "pasted", [pts(x) for x in p])
assert [x["kind"] for x in s] == [1] and [x["kind"] for x in p] == [1, 1]
for copy, offset in zip(p, (36, 72)):
    assert all(near(c[0] - o[0], offset) and near(c[1] - o[1], offset) for o, c in zip(pts(s[0]), pts(copy)))
'

# 3. Cut takes the selection (the second paste) out; Undo brings it back.
keys "$frame" ctrl+x
save_as cut.drx
keys "$frame" ctrl+z
save_as uncut.drx
check "Cut takes the selected copy out and Undo puts it back" '
p, c, u = objs("pasted"), objs("cut"), objs("uncut")
print("cut", [pts(x) for x in c], "undone", [pts(x) for x in u])
assert [pts(x) for x in c] == [pts(p[0])]
assert [pts(x) for x in u] == [pts(x) for x in p]
'

# 4. Show Clipboard opens the viewer, which paints the copied rectangle in black on white.
keys "$frame" alt+e b
sleep 1
if rect ClipboardClass 8 && [ "$V" -eq 1 ]; then
  pass "Show Clipboard opens the viewer"
  import -window root -crop $((R - L - 30))x$((B - T - 60))+$((L + 5))+$((T + 30)) "$work/viewer.png" 2>/dev/null
  darkest=$(convert "$work/viewer.png" -colorspace gray -format '%[fx:minima]' info: 2>/dev/null)
  echo "viewer's darkest pixel: $darkest"
  case "$darkest" in
    0 | 0.0*) pass "the viewer shows the clipboard's rectangle" ;;
    *) fail "the viewer shows nothing dark" ;;
  esac
else
  fail "no visible clipboard viewer"
fi

import -window root "$work/end.png" 2>/dev/null
echo "$failures failure(s)"
[ $failures -eq 0 ]
