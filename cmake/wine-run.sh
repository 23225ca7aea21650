#!/bin/sh
# Runs a Windows program of the build under Wine: `wine-run.sh PROGRAM.exe [ARGS...]`.
#
# The prefix is private to the build folder (the nearest folder above the program that holds a
# CMakeCache.txt; DRX_WINEPREFIX overrides it). On first use the prefix is created, the crash
# dialog is switched off (a crashing test then exits at once instead of waiting for a click) and
# Wine's own fonts are copied in (this Wine never reads them from /usr/share/wine/fonts).
#
# Debian's wineserver wrapper forces `-p0`, which restarts the server for every program (about
# 2.6 s each). We keep one persistent server per prefix instead, and boot the prefix with stdio
# detached right after starting it: otherwise the helper processes Wine starts on demand
# (services.exe, rpcss.exe...) inherit the first test's stdout and ctest waits for them forever.
# The server is restarted when the display changes (headless work and Xvfb runs need a fresh
# explorer.exe each).
#
# Once the build has made wineprinter.exe (beside the prefix, or DRX_PRINTER_TOOL), the prefix
# gets a printer that writes PostScript to a file, so printing works with no printer set up.
# This happens once per prefix (the mark .drx-printer): a test may take the printer away.
#
# Wine runs without address-space randomization where the system allows it. Recent Linux kernels
# place the heap of a program linked at a fixed address (wine64, at 0x7d000000) anywhere in the
# gigabyte above it; about one start in a few hundred then finds its heap on the page where Wine
# must map the shared user data (0x7ffe0000), and the program dies before it starts ("failed to
# map the shared user data", status 1, no other output). Without randomization the heap follows
# wine64 at once.
set -u

WINE64=/usr/lib/wine/wine64
WINESERVER64=/usr/lib/wine/wineserver64
WINE_FONTS=/usr/share/wine/fonts
PERSIST_SECONDS=${DRX_WINE_PERSIST:-120}

if [ $# -lt 1 ]; then
  echo "usage: $0 PROGRAM.exe [ARGS...]" >&2
  exit 2
fi
if [ ! -x "$WINE64" ]; then
  echo "$0: $WINE64 not found (install wine64)" >&2
  exit 127
fi

find_build_dir() {
  dir=$(dirname "$(readlink -f "$1")")
  while [ "$dir" != "/" ]; do
    if [ -f "$dir/CMakeCache.txt" ]; then
      echo "$dir"
      return 0
    fi
    dir=$(dirname "$dir")
  done
  return 1
}

if [ -n "${DRX_WINEPREFIX:-}" ]; then
  prefix=$DRX_WINEPREFIX
elif build_dir=$(find_build_dir "$1"); then
  prefix=$build_dir/wineprefix
else
  echo "$0: $1 is not inside a build folder; set DRX_WINEPREFIX" >&2
  exit 2
fi

export WINEPREFIX="$prefix"
export WINEARCH=win64
# DRX_WINEDEBUG lets a test read a channel of Wine's own log (Wine is quiet otherwise).
export WINEDEBUG="${DRX_WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINESERVER="$WINESERVER64"

display_key="${DISPLAY:-none} ${XAUTHORITY:-}"

# `setarch -R` is refused where a sandbox forbids the personality call: plain Wine there.
wine=$WINE64
if setarch "$(uname -m)" -R true 2>/dev/null; then
  wine="setarch $(uname -m) -R $WINE64"
fi

# Runs a Wine tool quietly, with no stdio a helper process could inherit, nor the lock (a server
# left holding it would block every later run until it exits).
quiet() {
  "$@" </dev/null >/dev/null 2>&1 9>&-
}

# Creates the prefix when needed and makes sure a persistent server for the current display runs.
# Called under the lock, so parallel tests do not race to create or boot the prefix.
prepare_prefix() {
  mkdir -p "$prefix" || return 1
  if [ -f "$prefix/.drx-ready" ] && [ "$(cat "$prefix/.drx-display" 2>/dev/null)" != "$display_key" ]; then
    quiet "$WINESERVER64" -k
    quiet "$WINESERVER64" -w
  fi
  quiet "$WINESERVER64" -p"$PERSIST_SECONDS"
  started=$?
  # 0: we started a fresh server; 2: one is running already.
  if [ $started -eq 0 ] || [ ! -f "$prefix/.drx-ready" ]; then
    quiet $wine wineboot || return 1
    if [ ! -f "$prefix/.drx-ready" ]; then
      quiet $wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
      fonts_dir="$prefix/drive_c/windows/Fonts"
      if [ -d "$WINE_FONTS" ]; then
        mkdir -p "$fonts_dir" && cp -n "$WINE_FONTS"/* "$fonts_dir"/ 2>/dev/null
      fi
      touch "$prefix/.drx-ready"
    fi
    printf '%s\n' "$display_key" >"$prefix/.drx-display"
  fi
  printer_tool=${DRX_PRINTER_TOOL:-$(dirname "$prefix")/wineprinter.exe}
  if [ ! -f "$prefix/.drx-printer" ] && [ -f "$printer_tool" ]; then
    quiet $wine "$printer_tool" add && touch "$prefix/.drx-printer"
  fi
  return 0
}

lock_file="$prefix.lock"
mkdir -p "$(dirname "$prefix")"
(
  flock -w 300 9 || { echo "$0: cannot lock $lock_file" >&2; exit 1; }
  # A server the previous program's clean-up was still stopping can fail the boot: once more
  # with that server gone.
  prepare_prefix || { quiet "$WINESERVER64" -k; quiet "$WINESERVER64" -w; prepare_prefix; } ||
    { echo "$0: cannot prepare the Wine prefix $prefix" >&2; exit 1; }
) 9>"$lock_file" || exit 1

exec $wine "$@"
