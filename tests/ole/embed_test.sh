#!/bin/sh
# The embedding server driven by a container of our own (olecontainer.exe): the program registers
# itself in the test prefix, then the container embeds drawings, saves and reloads them, gives
# objects through SetData and offers damaged streams. The drawings it gets back must hold the
# fixture's objects: drxconv reads both. Usage: embed_test.sh BUILD/Draxel.exe.
# Exit 77 (skipped) without a display (the server's windows need one) or when OLE cannot start.
set -u
exe=$(readlink -f "$1")
build=$(dirname "$exe")
src=$(cd "$(dirname "$0")/../.." && pwd)

. "$src/tests/gui/guilib.sh"
[ -f "$exe" ] || skip "$exe not built"
[ -n "${DISPLAY:-}" ] || skip "DISPLAY is not set (the server's windows need one)"
[ -x "$build/olecontainer.exe" ] || skip "olecontainer.exe not built"
[ -x "$build/drxconv.exe" ] || skip "drxconv.exe not built"
run() { "$src/cmake/wine-run.sh" "$@"; }
trap 'WINEPREFIX=$build/wineprefix /usr/lib/wine/wineserver64 -k 2>/dev/null' EXIT

work=$build/ole-embed-test
rm -rf "$work"
mkdir -p "$work"
/usr/bin/python3 "$src/tests/gui/make_fixture.py" "$work/fixture.drx" || { echo "cannot write the fixture"; exit 1; }

run "$exe" /RegServer && pass "Draxel.exe /RegServer" || fail "Draxel.exe /RegServer"
run "$exe" -UNREGSERVER && pass "Draxel.exe -UnregServer" || fail "Draxel.exe -UnregServer"
run "$exe" /RegServer || fail "registration again"

run "$build/olecontainer.exe" embed "$(winpath "$work/fixture.drx")" "$(winpath "$work")" >"$work/container.out" 2>&1
status=$?
tr -d '\r' <"$work/container.out"
[ $status -eq 77 ] && skip "OLE cannot start in this prefix"
[ $status -eq 0 ] && pass "the container's checks" || fail "the container's checks (exit $status)"

# The objects a drawing got back are the fixture's: kinds and bounds.
for name in loaded direct closed; do
  run "$build/drxconv.exe" info "$work/fixture.drx" 2>/dev/null | tr -d '\r' >"$work/fixture.json"
  run "$build/drxconv.exe" info "$work/$name.drx" 2>/dev/null | tr -d '\r' >"$work/$name.json"
  if /usr/bin/python3 "$src/tests/ole/same_objects.py" "$work/fixture.json" "$work/$name.json"; then pass "$name.drx holds the fixture's objects"; else fail "$name.drx holds the fixture's objects"; fi
done
[ $failures -eq 0 ] || exit 1
exit 0
