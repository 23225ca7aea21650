#!/bin/sh
# Builds the benchmarks on both builds and prints one table: write, read (best of 3 and first),
# bounds of all layers, file size and peak memory for 10,000, 100,000 and 1,000,000 objects.
#
#   bench/run.sh                      both builds, all sizes
#   SIZES="10000 100000" bench/run.sh
#   BUILDS=host bench/run.sh          host only (BUILDS=win: Windows only)
#   PEER_SIZES="10000" bench/run.sh   sizes of the comparison with a peer (PEER_SIZES="": none)
#
# Build folders: $HOST_BUILD and $WIN_BUILD (default build/bench-host and build/bench-win).
# The Windows programs run under Wine through cmake/wine-run.sh. Text blocks are EDIT controls
# on the Windows build, so it measures each size without text blocks (each replaced by a
# rectangle) and, up to $WIN_TEXT_MAX objects, with them as well (each control costs
# milliseconds under Wine).
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
HOST_BUILD=${HOST_BUILD:-$ROOT/build/bench-host}
WIN_BUILD=${WIN_BUILD:-$ROOT/build/bench-win}
SIZES=${SIZES:-10000 100000 1000000}
BUILDS=${BUILDS:-host win}
WIN_TEXT_MAX=${WIN_TEXT_MAX:-10000}
PEER_SIZES=${PEER_SIZES-10000 100000}
PEER_TIMEOUT=${PEER_TIMEOUT:-600}
JOBS=${JOBS:-2}
RESULTS=$(mktemp)
trap 'rm -f "$RESULTS"' EXIT

build() {  # folder, extra cmake arguments...
  dir=$1
  shift
  cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j"$JOBS" --target ${TARGETS:-drxbench drxbenchgen} >/dev/null
}

# measure LABEL SIZE TEXTFLAG RUNNER PROGRAM DATAFILE
measure() {
  label=$1 size=$2 text=$3 runner=$4 program=$5 data=$6
  w=$($runner "$program" write "$size" "$data" $text) || { echo "$label $size: write failed" >&2; return 1; }
  r=$($runner "$program" read "$data") || { echo "$label $size: read failed" >&2; return 1; }
  echo "$label $w $r" | tr -d '\r' >>"$RESULTS"
}

for b in $BUILDS; do
  case $b in
    host)
      build "$HOST_BUILD"
      mkdir -p "$HOST_BUILD/benchdata"
      for n in $SIZES; do
        measure host "$n" "" "" "$HOST_BUILD/bench/drxbench" "$HOST_BUILD/benchdata/bench-$n.drx"
        measure host "$n" --no-text "" "$HOST_BUILD/bench/drxbench" "$HOST_BUILD/benchdata/bench-$n-notext.drx"
      done
      ;;
    win)
      build "$WIN_BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake"
      mkdir -p "$WIN_BUILD/benchdata"
      for n in $SIZES; do
        measure wine "$n" --no-text "$ROOT/cmake/wine-run.sh" "$WIN_BUILD/bench/drxbench.exe" \
          "Z:$WIN_BUILD/benchdata/bench-$n-notext.drx"
        if [ "$n" -le "$WIN_TEXT_MAX" ]; then
          measure wine "$n" "" "$ROOT/cmake/wine-run.sh" "$WIN_BUILD/bench/drxbench.exe" \
            "Z:$WIN_BUILD/benchdata/bench-$n.drx"
        fi
      done
      ;;
    *) echo "unknown build $b" >&2; exit 1 ;;
  esac
done

# One row per measurement: the name=value pairs of both lines, picked by name.
awk '
function v(name,   i, kv) {
  for (i = 2; i <= NF; i++) { split($i, kv, "="); if (kv[1] == name) return kv[2] }
  return ""
}
BEGIN {
  printf "%-5s %8s %5s %8s %8s %8s %8s %8s %8s %8s %7s %8s %8s\n", "build", "objects", "text", "write_s", "wcpu_s",
         "read_s", "rcpu_s", "first_s", "fcpu_s", "bounds_s", "file_MB", "wpeak_MB", "rpeak_MB"
}
{
  # The write fields come first on the line, the read fields after the word "read".
  label = $1
  split($0, halves, " read ")
  $0 = halves[1]; obj = v("objects"); text = v("text"); ws = v("write_s"); wc = v("write_cpu_s")
  bytes = v("bytes"); wp = v("peak_mb")
  $0 = "x " halves[2]; rs = v("read_s"); rc = v("read_cpu_s"); fs = v("first_read_s"); fc = v("first_read_cpu_s")
  bs = v("bounds_s")
  rp = v("peak_mb")
  printf "%-5s %8s %5s %8s %8s %8s %8s %8s %8s %8s %7.1f %8s %8s\n", label, obj, text, ws, wc, rs, rc, fs, fc,
         bs, bytes / 1048576, wp, rp
}' "$RESULTS"

# Redraw of the same drawing into a 1920 x 1080 picture (Windows build: the renderer is GDI), one
# row per size; REDRAW_SIZES picks the sizes (default: those of $SIZES up to 1,000,000).
case " $BUILDS " in
  *" win "*)
    cmake --build "$WIN_BUILD" -j"$JOBS" --target render_bench >/dev/null
    echo
    printf '%-8s %8s %9s %9s %9s %9s %9s %9s %9s %9s %9s %9s %9s %9s %9s %9s %9s\n' redraw objects fitted_s fit_cpu \
      floor_cpu tenth_cpu corner1_cpu corner4_cpu strip_cpu culled_cpu left_out all_cpu tenth_1st c4_1st \
      tenth_s tenth_flr tenth_wide
    for n in ${REDRAW_SIZES:-$SIZES}; do
      "$ROOT/cmake/wine-run.sh" "$WIN_BUILD/bench/render_bench.exe" "$n" --runs 2 | tr -d '\r' | awk '
        { for (i = 1; i <= NF; i++) { split($i, kv, "="); v[kv[1]] = kv[2] } }
        END { printf "%-8s %8s %9s %9s %9s %9s %9s %9s %9s %9s %9s %9s %9s %9s %9s %9s %9s\n", "wine", v["objects"],
              v["fitted_s"], v["fitted_cpu_s"], v["floor_cpu_s"], v["tenth_cpu_s"], v["corner_zoom1_cpu_s"],
              v["corner_zoom4_cpu_s"], v["scroll_strip_cpu_s"], v["all_culled_cpu_s"], v["fitted_left_out"],
              v["fitted_all_cpu_s"], v["tenth_first_s"], v["corner_zoom4_first_s"], v["tenth_s"],
              v["tenth_floor_s"], v["tenth_wide_floor_s"] }'
    done
    ;;
esac

# The peer: the benchmark drawing (without text blocks) exported to DXF by drxconv, then loaded
# and printed to PDF by LibreCAD's dxf2pdf, against our opening of the same drawing: its read and
# first fitted paint into a 1920 x 1080 picture in a fresh process (render_bench --file, Windows
# build under Wine, best of three processes). ratio = peer / ours: how many times faster we open
# and paint.
peer_compare() {
  if [ -z "$PEER_SIZES" ]; then return 0; fi
  if ! command -v librecad >/dev/null 2>&1; then
    echo "peer comparison skipped: librecad is not installed (apt-get install librecad)"
    return 0
  fi
  case " $BUILDS " in
    *" win "*) ;;
    *) echo "peer comparison skipped: it needs the Windows build (BUILDS must include win)"; return 0 ;;
  esac
  TARGETS="drxbench drxbenchgen render_bench drxconv" build "$WIN_BUILD" \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake"
  data=$WIN_BUILD/benchdata
  mkdir -p "$data"
  printf "\n%-8s %8s %8s %8s %8s %8s %8s %8s\n" objects read_s paint_s ours_s peer_s peer_cpu_s ratio target
  for n in $PEER_SIZES; do
    drx=$data/bench-$n-notext.drx dxf=$data/bench-$n-notext.dxf out=$data/peer-$n
    "$ROOT/cmake/wine-run.sh" "$WIN_BUILD/bench/drxbench.exe" write "$n" "Z:$drx" --no-text --runs 1 >/dev/null ||
      { echo "peer $n: write failed" >&2; continue; }
    "$ROOT/cmake/wine-run.sh" "$WIN_BUILD/drxconv.exe" convert "Z:$drx" "Z:$dxf" >/dev/null ||
      { echo "peer $n: DXF export failed" >&2; continue; }
    # Each open is a fresh process; the best of three, as every other figure here is a best.
    p=""
    for run in 1 2 3; do
      q=$("$ROOT/cmake/wine-run.sh" "$WIN_BUILD/bench/render_bench.exe" --file "Z:$drx" --runs 1 | tr -d '\r')
      p=$(printf '%s\n%s\n' "$p" "$q" | awk '
        function v(line, name,   n, f, i, kv) {
          n = split(line, f, " ")
          for (i = 1; i <= n; i++) { split(f[i], kv, "="); if (kv[1] == name) return kv[2] + 0 }
          return -1
        }
        NF { o = v($0, "open_s"); if (o >= 0 && (best == "" || o < bo)) { best = $0; bo = o } }
        END { print best }')
    done
    # The peer's best of three runs too.
    best_wall="" cpu="" status=0
    for run in 1 2 3; do
      rm -rf "$out"
      mkdir -p "$out"
      t=$(mktemp)
      start=$(date +%s.%N)
      QT_QPA_PLATFORM=offscreen /usr/bin/time -f "%U %S" -o "$t" timeout "$PEER_TIMEOUT" \
        librecad dxf2pdf -a -t "$out" "$dxf" >/dev/null 2>&1 || status=$?
      end=$(date +%s.%N)
      if [ "$status" -ne 0 ] || [ -z "$(ls "$out")" ]; then rm -f "$t"; break; fi
      wall=$(echo "$start $end" | awk '{print $2 - $1}')
      if [ -z "$best_wall" ] || awk -v a="$wall" -v b="$best_wall" 'BEGIN { exit !(a < b) }'; then
        best_wall=$wall
        cpu=$(awk '{print $1 + $2}' "$t" 2>/dev/null)
      fi
      rm -f "$t"
    done
    if [ "$status" -ne 0 ] || [ -z "$best_wall" ]; then
      echo "peer $n: dxf2pdf failed or timed out after ${PEER_TIMEOUT} s (status $status)"
      continue
    fi
    echo "$p" | awk -v n="$n" -v start=0 -v end="$best_wall" -v cpu="$cpu" '
      function v(name,   i, kv) {
        for (i = 1; i <= NF; i++) { split($i, kv, "="); if (kv[1] == name) return kv[2] }
        return ""
      }
      { read = v("read_s"); paint = v("first_fitted_s"); ours = v("open_s"); peer = end - start
        printf "%-8s %8.3f %8.3f %8.3f %8.2f %8.2f %8.1f %8s\n", n, read, paint, ours, peer, cpu,
               peer / ours, (peer / ours >= 20 ? "met" : "MISSED") }'
  done
}
peer_compare
