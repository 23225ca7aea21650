#!/bin/bash
# One judge of the exports: converts the sample drawing with drxconv and lets a program we did
# not write read the result.
#   judge.sh JUDGE DRXCONV FOLDER [EMULATOR]
# FOLDER holds sample.drx, preview.eps and the far-*.drx drawings (made by drxexportsample).
# EMULATOR runs DRXCONV when it is a Windows program. Exit 0: passed; 77: the judging program is missing (the message names
# its Debian package); anything else: failed.
#
# The sample, in page units with y downward: a square 20..60 at the top left, a line along the
# bottom (y 400, x 20..500), shapes in between, a dimension at y 380 and a hidden layer beyond
# x 600. The exports mirror it about y 210, so y counts upward: the square lies at y 360..400,
# the bottom line at y 20, the dimension would be at y 40.
set -u
judge=$1
drxconv=$2
folder=$3
emulator=${4:-}
# Each judge works on its own copy of the samples in a folder of its own: the judges run side by
# side and several write outputs of the same names.
work=$folder/judge-$judge
rm -rf "$work" && mkdir -p "$work" || exit 1
for sample in sample.drx preview.eps far-1e30.drx far-minus-1e30.drx far-3e9.drx; do
  [ ! -e "$folder/$sample" ] || cp "$folder/$sample" "$work/" || exit 1
done
cd "$work" || exit 1

run_drxconv() { ${emulator:+"$emulator"} "$drxconv" "$@"; }

fail() { echo "FAILED: $*"; exit 1; }
need() {  # need PROGRAM PACKAGE
  command -v "$1" >/dev/null 2>&1 || { echo "SKIPPED: $1 is not installed (Debian package $2)"; exit 77; }
}
convert_to() {  # convert_to FILE
  rm -f "$1"
  run_drxconv convert sample.drx "$1" || fail "drxconv convert sample.drx $1 exited $?"
  [ -s "$1" ] || fail "drxconv wrote no $1"
}
# The mean brightness (0 black .. 1 white) of a region WxH+X+Y of a picture.
mean() { convert "$1" -crop "$2" +repage -colorspace Gray -format '%[fx:mean]' info:; }
darker() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }

# epstool finds the PostScript and metafile sections, the PostScript passes as EPS, and the
# extracted preview is a metafile libwmf draws, not a blank one.
judge_preview() {  # judge_preview FILE.eps
  need epstool epstool
  need gs ghostscript
  need wmf2gd libwmf-bin
  local base=${1%.eps}
  epstool --dump "$1" >"$base-dump.log" 2>&1 || fail "epstool --dump: $(tail -3 "$base-dump.log")"
  # "doseps: ps=OFFSET LENGTH  wmf=OFFSET LENGTH  tiff=0 0" and "preview type Windows MetaFile".
  sed -n 's/^doseps: ps=[0-9]* \([0-9]*\) *wmf=[0-9]* \([0-9]*\).*/\1 \2/p' "$base-dump.log" |
    awk '{ exit !($1 > 1000 && $2 > 18) }' && grep -q "preview type Windows MetaFile" "$base-dump.log" ||
    fail "epstool finds no PostScript and metafile sections: $(cat "$base-dump.log")"
  epstool --test-eps "$1" >"$base-test.log" 2>&1 && grep -q "^PASS" "$base-test.log" ||
    fail "the PostScript section fails the EPS test: $(tail -3 "$base-test.log")"
  rm -f "$base.wmf" "$base.png"
  epstool --extract-preview "$1" "$base.wmf" >"$base-extract.log" 2>&1 ||
    fail "epstool --extract-preview: $(cat "$base-extract.log")"
  [ -s "$base.wmf" ] || fail "no preview extracted"
  wmf2gd -t png -o "$base.png" "$base.wmf" || fail "wmf2gd cannot draw the preview"
  [ -s "$base.png" ] || fail "wmf2gd drew nothing"
  if command -v convert >/dev/null; then
    local shade
    shade=$(mean "$base.png" "$(identify -format %wx%h "$base.png")+0+0")
    darker "$shade" 0.999 || fail "the preview picture is blank"
  fi
}

case $judge in
dxf-ezdxf)
  [ -x /usr/bin/python3 ] && /usr/bin/python3 -c 'import ezdxf' 2>/dev/null ||
    { echo "SKIPPED: ezdxf is not installed (Debian package python3-ezdxf)"; exit 77; }
  convert_to sample.dxf
  # A strict load; any error or repair found by the audit fails.
  /usr/bin/python3 - sample.dxf <<'EOF' || fail "ezdxf"
import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
for item in auditor.errors + auditor.fixes:
    print("audit:", item.message)
if auditor.errors or auditor.fixes:
    sys.exit(1)
lines = doc.modelspace().query("LINE")
points = [(l.dxf.start.x, l.dxf.start.y) for l in lines] + [(l.dxf.end.x, l.dxf.end.y) for l in lines]
print(len(lines), "lines")
assert len(lines) > 20, "too few lines"
assert all(x < 600 for x, y in points), "the hidden layer was written"
assert not any(abs(l.dxf.start.y - 40) < 1e-6 and abs(l.dxf.end.y - 40) < 1e-6 for l in lines), "the dimension was written"
top = max(y for x, y in points)
assert abs(top - 400) < 1e-3 and all(x <= 60 for x, y in points if y > 355), "the square is not at the top left"
assert any(abs(l.dxf.start.y - 20) < 1e-3 and abs(l.dxf.end.x - 500) < 1e-3 for l in lines), "no bottom line"
EOF
  # The judge must tell a broken file: half of one fails the strict load.
  head -c 4000 sample.dxf > truncated.dxf
  /usr/bin/python3 -c 'import sys, ezdxf; ezdxf.readfile(sys.argv[1])' truncated.dxf >/dev/null 2>&1 &&
    fail "ezdxf accepted a truncated file: the judge proves nothing"
  ;;
dxf-dime)
  need dxf2vrml dime
  convert_to sample.dxf
  rm -f sample.wrl
  dxf2vrml sample.dxf -o sample.wrl || fail "dxf2vrml exited $?"
  grep -q "Coordinate" sample.wrl || fail "dxf2vrml wrote no coordinates"
  ;;
dxf-librecad)
  need librecad librecad
  convert_to sample.dxf
  rm -rf librecad && mkdir librecad
  QT_QPA_PLATFORM=offscreen timeout 60 librecad dxf2pdf -a -t librecad sample.dxf >librecad.log 2>&1 ||
    fail "librecad dxf2pdf exited $? ($(tail -1 librecad.log))"
  [ -s librecad/sample.pdf ] || fail "librecad wrote no PDF"
  ;;
hpgl-hp2xx)
  need hp2xx hp2xx
  need convert imagemagick
  convert_to sample.plt
  rm -f sample.png
  hp2xx -m png -t -f sample.png sample.plt </dev/null >hp2xx.log 2>&1 || fail "hp2xx exited $?"
  grep -q "HPGL command(s) ignored: 0" hp2xx.log || fail "hp2xx ignored commands: $(grep ignored hp2xx.log)"
  [ -s sample.png ] || fail "hp2xx drew nothing"
  # The picture spans x 20..500 and y 20..400: the square must be at its top left, where a
  # drawing upside down would leave white.
  width=$(identify -format %w sample.png) height=$(identify -format %h sample.png)
  corner=$(mean sample.png "$((width / 10))x$((height / 10))+0+0")
  darker "$corner" 0.999 || fail "no square at the top left (mean $corner): the plot is empty or upside down"
  low=$(mean sample.png "$((width / 10))x$((height / 10))+0+$((height * 8 / 10))")
  darker "$low" 0.999 && fail "marks at the bottom left (mean $low): the plot is upside down"
  ;;
eps-epstool)
  need epstool epstool
  need gs ghostscript
  convert_to sample.eps
  epstool --test-eps sample.eps >epstool.log 2>&1 || fail "epstool --test-eps: $(tail -3 epstool.log)"
  grep -q "^PASS" epstool.log || fail "epstool did not pass the file: $(grep -E 'PASS|FAIL' epstool.log)"
  ;;
eps-bbox)
  need gs ghostscript
  convert_to sample.eps
  gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=bbox sample.eps >bbox.log 2>&1 || fail "gs exited $?: $(head -3 bbox.log)"
  drawn=$(sed -n 's/^%%HiResBoundingBox: //p' bbox.log)
  stated=$(sed -n 's/^%%BoundingBox: //p' sample.eps | head -1 | tr -d '\r')
  [ -n "$drawn" ] && [ -n "$stated" ] || fail "no bounding box (drawn '$drawn', stated '$stated')"
  # The stated box holds every drawn mark (to a rendering hair) and is at most a unit larger.
  awk -v d="$drawn" -v s="$stated" 'BEGIN {
    split(d, a, " "); split(s, b, " ")
    if (b[1] > a[1] + 0.01 || b[2] > a[2] + 0.01 || b[3] < a[3] - 0.01 || b[4] < a[4] - 0.01) exit 1
    if (a[1] - b[1] > 1 || a[2] - b[2] > 1 || b[3] - a[3] > 1 || b[4] - a[4] > 1) exit 1
  }' || fail "the drawing occupies $drawn but the file says $stated"
  [ "$stated" = "20 20 500 400" ] || fail "the file says $stated, the sample lies at 20 20 500 400"
  ;;
eps-picture)
  need gs ghostscript
  need convert imagemagick
  convert_to sample.eps
  rm -f sample-eps.png
  gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -sDEVICE=png16m -r72 -sOutputFile=sample-eps.png sample.eps ||
    fail "gs could not render the EPS"
  # 480 by 380 pixels: the square at the top left, the rest below it.
  corner=$(mean sample-eps.png 45x45+0+0)
  darker "$corner" 0.999 || fail "no square at the top left (mean $corner): the picture is upside down"
  low=$(mean sample-eps.png 45x45+0+320)
  darker "$low" 0.999 && fail "marks at the bottom left (mean $low): the picture is upside down"
  middle=$(mean sample-eps.png 480x300+0+40)
  darker "$middle" 0.999 || fail "nothing drawn between the square and the bottom line"
  ;;
eps-preview)
  # The container, with the small metafile drxexportsample puts together.
  [ -s preview.eps ] || fail "drxexportsample wrote no preview.eps"
  judge_preview preview.eps
  ;;
drxconv-preview)
  # The converter records the preview with the renderer (Windows build).
  rm -f recorded.eps
  run_drxconv convert sample.drx recorded.eps --eps-preview || fail "drxconv --eps-preview exited $?"
  judge_preview recorded.eps
  ;;
preview-refused)
  # Without a metafile recorder the preview is refused: status 1, one line naming the file.
  rm -f refused.eps
  run_drxconv convert sample.drx refused.eps --eps-preview 2>refused.log
  status=$?
  [ $status -eq 1 ] || fail "drxconv --eps-preview exited $status"
  [ "$(wc -l <refused.log)" -eq 1 ] && grep -q "refused.eps: .*eps-preview" refused.log ||
    fail "unclear message: $(cat refused.log)"
  [ ! -e refused.eps ] || fail "a refused conversion left refused.eps"
  ;;
range)
  # Far coordinates: DXF holds any finite number, HPGL and EPS refuse the drawing with one line
  # naming the object, leave no file and keep the file that was there. No file holds nan or inf.
  # (The export mirrors about the middle of the drawing, so the line moves out as far as the square.)
  for far in far-1e30 far-minus-1e30 far-3e9; do
    rm -f "$far.dxf"
    run_drxconv convert "$far.drx" "$far.dxf" || fail "drxconv convert $far.drx $far.dxf exited $?"
    grep -qiE '(^|[^a-z])(nan|inf)' "$far.dxf" && fail "$far.dxf holds a number that is not finite"
    if [ -x /usr/bin/python3 ] && /usr/bin/python3 -c 'import ezdxf' 2>/dev/null; then
      /usr/bin/python3 - "$far.dxf" <<'EOF' || fail "ezdxf on $far.dxf"
import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
assert not auditor.errors and not auditor.fixes, [e.message for e in auditor.errors + auditor.fixes]
far = max(max(abs(l.dxf.start.x), abs(l.dxf.end.x)) for l in doc.modelspace().query("LINE"))
assert far >= 3e9, far
EOF
    fi
    if command -v dxf2vrml >/dev/null; then
      dxf2vrml "$far.dxf" -o "$far.wrl" || fail "dxf2vrml on $far.dxf exited $?"
    fi
    for ext in plt eps; do
      printf 'kept\n' >"$far.$ext"
      run_drxconv convert "$far.drx" "$far.$ext" 2>"$far-$ext.log"
      status=$?
      [ $status -eq 2 ] || fail "drxconv convert $far.drx $far.$ext exited $status"
      [ "$(wc -l <"$far-$ext.log")" -eq 1 ] && grep -qE "$far.$ext: .*object [12] of layer \"Untitled\" \(a (line|rectangle)\)" "$far-$ext.log" ||
        fail "unclear refusal: $(cat "$far-$ext.log")"
      [ "$(cat "$far.$ext")" = kept ] || fail "the refused conversion changed $far.$ext"
      [ ! -e "$far.$ext.drxsave" ] || fail "the refused conversion left its temporary"
    done
  done
  ;;
*)
  fail "unknown judge $judge"
  ;;
esac
echo "PASSED: $judge"
