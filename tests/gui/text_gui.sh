#!/bin/sh
# Types a text block as a user does, under X (Xvfb in the test run) with xdotool: the text tool
# clicked in the drawing pane opens an edit control, the typed lines grow the block, the font
# dialog (found by its title) and "Align Center" change it, and the drawing is saved, opened
# again, cleared and undone, each stage read back with drxconv info. The edit control is found by
# its class through winfind.exe.
# Usage: text_gui.sh BUILD/Draxel.exe. Exit 77 (skipped) without a display or the tools.
set -u
exe=$(readlink -f "$1")
build=$(dirname "$exe")
src=$(cd "$(dirname "$0")/../.." && pwd)

. "$src/tests/gui/guilib.sh"
gui_setup text
# Types a path into the file dialog titled $1.
file_dialog() {
  dialog=$(wait_window "^$1\$" 20) || { fail "no $1 dialog"; return 1; }
  type_path "$dialog" "$(winpath "$2")"
  sleep 1
}
# check_texts NAME 'python body': guilib's check, with `texts(name)`, the text blocks of NAME.drx.json.
check_texts() {
  check "$1" 'def texts(name):
    return [o for o in objs(name) if o["kind"] == 200]
'"$2"
}

start_with_first_drawing
rect MainClass 1 || { fail "no drawing pane"; exit 1; }
ox=$((R - 420)) oy=$((B - 300))

# 1. A click with the text tool opens an edit control at the press; typing goes into it.
rect Edit 0 && fail "an edit control exists before any typing"
tool 209
xdotool mousemove --sync $ox $oy
sleep 0.15
xdotool mousedown 1
sleep 0.3
xdotool mouseup 1
sleep 0.8
if rect Edit 0; then
  pass "the text tool opened an edit control"
  [ $((L - ox)) -le 4 ] && [ $((ox - L)) -le 4 ] && [ $((R - L)) -eq 200 ] || fail "edit control at $L $T $R $B, pressed at $ox $oy"
else
  fail "no edit control after the text tool's click"
fi
xdotool type --delay 40 "Hello plan"
xdotool key Return
xdotool type --delay 40 "second line"
sleep 0.5
rect Edit 0 && edit_height=$((B - T)) || edit_height=0
save_as typed.drx
check_texts "typing made a two-line block that grew with it" '
t = texts("typed")
print([(o["text"], o["alignment"], o["bounds"]) for o in t])
assert len(t) == 1 and t[0]["text"] == "Hello plan\r\nsecond line", t
top, left, bottom, right = t[0]["bounds"]
assert right - left == 206, t[0]["bounds"]
assert bottom - top > 31 - 6, t[0]["bounds"]  # two lines of the default font
'

# 2. "Align Center" and a font from the font dialog: typing ends and the block changes.
keys "$frame" alt+t c
sleep 0.5
rect Edit 0 && fail "the edit control stayed after a text command"
keys "$frame" alt+t f
font=$(wait_window '^Font$' 20) || fail "no Font dialog"
if [ -n "${font:-}" ]; then
  xdotool windowfocus --sync "$font" 2>/dev/null
  xdotool key Tab Tab
  xdotool type --delay 40 "20"
  xdotool key Return
  sleep 1
fi
save_as styled.drx
check_texts "the block is centred and has the chosen size" '
t = texts("styled")
print([(o["text"], o["alignment"], o["font"]) for o in t])
assert len(t) == 1 and t[0]["text"] == "Hello plan\r\nsecond line"
assert t[0]["alignment"] == 1, t[0]["alignment"]
assert t[0]["font"]["height"] != -11, t[0]["font"]
'

# 3. Opened again: the same text, alignment and font.
keys "$frame" ctrl+o
file_dialog "Open" "$work/styled.drx"
sleep 2
wait_window 'styled' 20 >/dev/null || fail "the saved drawing did not open"
save_as reopened.drx
check_texts "the reopened drawing keeps the block" '
a, b = texts("styled"), texts("reopened")
assert [(o["text"], o["alignment"], o["font"], o["bounds"]) for o in a] == \
       [(o["text"], o["alignment"], o["font"], o["bounds"]) for o in b], (a, b)
'

# 4. Cleared and undone: the block comes back with its text.
tool 200
keys "$frame" ctrl+a
keys "$frame" Delete
save_as cleared.drx
keys "$frame" ctrl+z
save_as undone.drx
check_texts "a cleared block comes back with its text on Undo" '
assert texts("cleared") == [], texts("cleared")
u = texts("undone")
assert len(u) == 1 and u[0]["text"] == "Hello plan\r\nsecond line" and u[0]["alignment"] == 1, u
'

[ $failures -eq 0 ] || { cat "$work/draxel.out"; exit 1; }
echo "all text GUI checks passed"
