# The setup program under Wine, sourced by run-wine-test.sh (its prefix, X
# server and run_host): a silent install with the screen-saver choice on, the
# installed saver running, a silent uninstall; then again with another saver
# chosen, the choice off and the settings removed.
failed=0
# A failed check shows what Wine's reg said last.
check() {
  if eval "$2"; then echo "ok: $1"; else echo "FAIL: $1"; sed 's/^/  reg: /' "$log.reg" 2>/dev/null; failed=1; return 1; fi
}
# One key's values, or nothing when there is no key. Wine's reg once came back
# empty for a value that was there: a read is tried three times.
values() {
  local try out
  for try in 1 2 3; do
    out=$(wine reg query "$1" 2>"$log.reg") && { printf '%s\n' "$out" | tr -d '\r'; return 0; }
  done
  return 1
}
# The data of one registry value, empty when there is none.
value() { values "$1" | awk -v v="$2" '$1 == v { sub(/^ *[^ ]+ +[^ ]+ +/, ""); print }'; }
# Waits for every process of the prefix: the uninstaller goes on from a copy in Temp.
run() { timeout 120 wine "$@" >/dev/null 2>&1; local status=$?; timeout 120 wineserver -w; return $status; }
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessaly'
desktop='HKCU\Control Panel\Desktop'
settings='HKCU\Software\Tessaly Screen Saver\tessaly\Config'
saver='C:\windows\system32\tessaly.scr' other='C:\windows\system32\other.scr'
files=("$WINEPREFIX/drive_c/windows/system32/tessaly.scr" "$WINEPREFIX/drive_c/Program Files/Tessaly/"{tessaly-render.exe,README.txt,uninstall.exe})
uninstall() { run "$(value "$entry" QuietUninstallString | sed 's/^"\(.*\)" \/S$/\1/')" /S "$@"; }
gone() { for f in "${files[@]}" "${files[1]%/*}"; do [ ! -e "$f" ] || return 1; done; ! values "$entry" >/dev/null; }

check "/S installs" 'run "$(windows_path "$TESSALY_SETUP")" /S'
check "every file installed" 'ls "${files[@]}" >/dev/null'
for name in DisplayName Publisher DisplayIcon EstimatedSize UninstallString NoModify NoRepair; do
  check "uninstall entry: $name" '[ -n "$(value "$entry" $name)" ]'
done
check "uninstall entry: DisplayVersion $TESSALY_VERSION" '[ "$(value "$entry" DisplayVersion)" = "$TESSALY_VERSION" ]'
check "the installed saver is the user's, screen saving on" \
  '[ "$(value "$desktop" SCRNSAVE.EXE)" = "$saver" ] && [ "$(value "$desktop" ScreenSaveActive)" = 1 ]'
scr=$saver scenario=switch argument=/s run_host
stop_wine
check "the installed tessaly.scr /s runs and ends on a key" 'grep -q "^switch: 0 failed check(s)" "$log"' || grep -v '^wine: ' "$log"
wine reg add "$settings" /v Speed /t REG_DWORD /d 42 /f >/dev/null 2>&1
check "the quiet uninstall command leaves no file and no entry" 'uninstall && gone'
check "the screen saver, ours, is reset" '[ -z "$(value "$desktop" SCRNSAVE.EXE)" ]'
check "the user's settings stay" '[ "$(value "$settings" Speed)" = 0x2a ]'

wine reg add "$desktop" /v SCRNSAVE.EXE /d "$other" /f >/dev/null 2>&1
check "/S /SETSAVER=0 installs, leaving the screen saver" \
  'run "$(windows_path "$TESSALY_SETUP")" /S /SETSAVER=0 && [ "$(value "$desktop" SCRNSAVE.EXE)" = "$other" ]'
check "/REMOVESETTINGS uninstalls, leaving another screen saver" \
  'uninstall /REMOVESETTINGS && gone && [ "$(value "$desktop" SCRNSAVE.EXE)" = "$other" ]'
check "/REMOVESETTINGS removes the settings" '! values "$settings" >/dev/null'
echo "setup: $failed failed"
return $failed
