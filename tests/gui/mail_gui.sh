#!/bin/sh
# "Send Mail..." under X (Xvfb in the test run) with xdotool, through Wine's own mail library. Wine
# hands a message to the mail program named by HKCU\Software\Wine\WineBrowser "Mailers": here a
# stand-in script of ours that only records its arguments, so no real mail program starts. With
# mail in the profile ([Mail] MAPI=1 of win.ini) the menu item sends, the message reaches the mail
# program, and its temporary folder is gone afterwards. Wine's mail library leaves attachments out
# of the mailto: address it builds but names each one in its log, which is read to see that the
# drawing went along; with MAPI=0 the item is grey
# (choosing it does nothing) and the command, reached all the same, says mail is not installed.
# The prefix's win.ini and mailer setting are put back on exit.
# Usage: mail_gui.sh BUILD/Draxel.exe. Exit 77 (skipped) without a display or the tools.
set -u
exe=$(readlink -f "$1")
build=$(dirname "$exe")
src=$(cd "$(dirname "$0")/../.." && pwd)

. "$src/tests/gui/guilib.sh"
gui_setup mail
prefix=$build/wineprefix
wine_reg() { DRX_WINEPREFIX=$prefix "$src/cmake/wine-run.sh" reg "$@" </dev/null 2>/dev/null | tr -d '\r'; }

# The stand-in mail program: one line of arguments per call.
cat >"$work/mailer.sh" <<EOF
#!/bin/sh
printf '%s\n' "\$*" >>"$work/mailer.args"
EOF
chmod +x "$work/mailer.sh"

# What the test changes in the prefix, kept to be put back.
wine_reg query 'HKCU\Software\Wine\WineBrowser' /v Mailers >"$work/mailers.before"
old_mailers=$(sed -n 's/.*Mailers[[:space:]]*REG_SZ[[:space:]]*//p' "$work/mailers.before")
win_ini=$prefix/drive_c/windows/win.ini
[ -f "$win_ini" ] && cp "$win_ini" "$work/win.ini.before"
restore() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null
  WINEPREFIX=$prefix /usr/lib/wine/wineserver64 -k 2>/dev/null
  if [ -n "$old_mailers" ]; then
    wine_reg add 'HKCU\Software\Wine\WineBrowser' /v Mailers /t REG_SZ /d "$old_mailers" /f >/dev/null
  else
    wine_reg delete 'HKCU\Software\Wine\WineBrowser' /v Mailers /f >/dev/null
  fi
  if [ -f "$work/win.ini.before" ]; then cp "$work/win.ini.before" "$win_ini"; else rm -f "$win_ini"; fi
  WINEPREFIX=$prefix /usr/lib/wine/wineserver64 -k 2>/dev/null
}
trap restore EXIT

wine_reg add 'HKCU\Software\Wine\WineBrowser' /v Mailers /t REG_SZ /d "$work/mailer.sh" /f >/dev/null ||
  fail "cannot name the stand-in mail program"

# set_mapi VALUE: the [Mail] section of win.ini says MAPI=VALUE (the server is down meanwhile, so
# no running Wine rewrites the file).
set_mapi() {
  WINEPREFIX=$prefix /usr/lib/wine/wineserver64 -k 2>/dev/null
  WINEPREFIX=$prefix /usr/lib/wine/wineserver64 -w 2>/dev/null
  /usr/bin/python3 - "$win_ini" "$1" <<'EOF'
import re, sys
path, value = sys.argv[1], sys.argv[2]
try:
    text = open(path, newline="").read()
except FileNotFoundError:
    text = ""
eol = "\r\n" if "\r\n" in text else "\n"
lines = [l for l in re.split(r"\r?\n", text)]
out, section, done = [], None, False
for line in lines:
    m = re.match(r"\s*\[(.*)\]\s*$", line)
    if m:
        if section == "mail" and not done:
            out.append("MAPI=" + value)
            done = True
        section = m.group(1).strip().lower()
    elif section == "mail" and re.match(r"\s*mapi\s*=", line, re.I):
        if not done:
            out.append("MAPI=" + value)
            done = True
        continue
    out.append(line)
if not done:
    if section != "mail":
        out.append("[Mail]")
    out.append("MAPI=" + value)
open(path, "w", newline="").write(eol.join(out).rstrip(eol) + eol)
EOF
}

# Temporary folders of the attachment left in the prefix.
leftovers() { find "$prefix/drive_c/users" -maxdepth 6 -name 'DraxelMail-*' 2>/dev/null; }
no_mail_box() { ! xdotool search --onlyvisible --name '^Draxel Pro - Send Mail\.\.\.$' >/dev/null 2>&1; }

# ---- Mail in the profile: the item sends the drawing ----
set_mapi 1
export DRX_WINEDEBUG=-all,+winemapi
start_program
trap restore EXIT
frame=$(wait_window '^Draxel Pro 2\.0 - \[Untitled1\]$' 90) || { fail "no frame"; exit 1; }
sleep 3
keys "$frame" alt+f l
i=0
while [ ! -s "$work/mailer.args" ] && [ $i -lt 80 ]; do sleep 0.25; i=$((i + 1)); done
sleep 1
if [ -s "$work/mailer.args" ]; then
  echo "the mail program was called with: $(cat "$work/mailer.args")"
  grep -qi 'mailto:' "$work/mailer.args" && pass "Send Mail hands a message to the mail program" ||
    fail "the mail program got no mailto: address"
else
  fail "Send Mail did not reach the mail program"
fi
no_mail_box && pass "no failure was reported" || fail "a Send Mail message box is showing"
# Wine's log line: Ignoring 1 attachments: "C:\\users\\...\\DraxelMail-...\\Untitled.DRX" ("Untitled.DRX")
attached=$(grep -a 'winemapi:MAPISendMail' "$work/draxel.out" | grep -a 'DraxelMail-.*Untitled\.DRX" ("Untitled\.DRX")')
echo "Wine's mail library saw: $attached"
[ -n "$attached" ] && pass "the message carries the drawing as Untitled.DRX from its temporary folder" ||
  fail "the message carries no Untitled.DRX attachment"
[ -z "$(leftovers)" ] && pass "the attachment's temporary folder is gone" || fail "left behind: $(leftovers)"

# ---- No mail in the profile: the item is grey ----
kill "$app" 2>/dev/null
unset DRX_WINEDEBUG
set_mapi 0
rm -f "$work/mailer.args"
start_program
trap restore EXIT
frame=$(wait_window '^Draxel Pro 2\.0 - \[Untitled1\]$' 90) || { fail "no frame without mail"; exit 1; }
sleep 3
keys "$frame" alt+f l
sleep 2
no_mail_box && [ ! -s "$work/mailer.args" ] && pass "without mail the item cannot be chosen" ||
  fail "the grey item was chosen"
xdotool key Escape Escape
# Reached all the same (a command message), the command says that mail is not installed.
winfind command 5149 >/dev/null
if box=$(wait_window '^Draxel Pro - Send Mail\.\.\.$' 20); then
  pass "the command says mail is not installed"
  keys "$box" Return
else
  fail "no message that mail is not installed"
fi
[ ! -s "$work/mailer.args" ] || fail "the mail program was called without mail in the profile"

echo "$failures failure(s)"
[ "$failures" -eq 0 ]
