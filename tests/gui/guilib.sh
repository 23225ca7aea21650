# Shared by the GUI checks (sourced): the prerequisites, the pass and fail tally and the wait
# for a window, the start of the program. Expects $exe, $build, $src and $work to be set; skips
# with exit 77 when anything is missing.
skip() { echo "SKIPPED: $*"; exit 77; }
[ -f "$exe" ] || skip "$exe not built"
[ -n "${DISPLAY:-}" ] || skip "DISPLAY is not set (run under xvfb-run)"
command -v xdotool >/dev/null 2>&1 || skip "xdotool is not installed"
command -v import >/dev/null 2>&1 || skip "ImageMagick is not installed"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

# Waits up to $2 seconds for a top-level window whose name matches $1; prints its id.
wait_window() {
  i=0
  while [ $i -lt $(($2 * 4)) ]; do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.25
    i=$((i + 1))
  done
  return 1
}

# Starts the program in the background, its output into $work/draxel.out; on exit the program
# and its Wine server are stopped.
start_program() {
  "$src/cmake/wine-run.sh" "$exe" >"$work/draxel.out" 2>&1 &
  app=$!
  trap 'kill "$app" 2>/dev/null; WINEPREFIX=$build/wineprefix /usr/lib/wine/wineserver64 -k 2>/dev/null' EXIT
}
