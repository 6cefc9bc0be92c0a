# The setup program under Wine, sourced by run-wine-test.sh (its prefix, X
# server and run_host): over another saver, install, upgrade and uninstall
# (the last two over the running saver); with none before and the settings
# dialog open, finished by a restart; then with the choice off.
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
# A Windows program's exit code; wine passes on its low byte (3010 comes as 194).
run() { timeout 120 wine "$@" >/dev/null 2>&1; }
soon() { local i; for i in $(seq 180); do eval "$1" && return 0; sleep 0.5; done; return 1; }
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessaly'
desktop='HKCU\Control Panel\Desktop'
vendor='HKCU\Software\Tessaly Screen Saver' settings='HKCU\Software\Tessaly Screen Saver\tessaly\Config'
saver='C:\windows\system32\tessaly.scr' other='C:\windows\system32\other.scr'
scr_file="$WINEPREFIX/drive_c/windows/system32/tessaly.scr" stage="${TESSALY_SETUP%/*}/stage/tessaly.scr"
dir="$WINEPREFIX/drive_c/Program Files/Tessaly"
setup() { run "$(windows_path "$TESSALY_SETUP")" /S "$@"; }
# Options go before the command's last word, _?=DIR, which must come
# unquoted: wine would quote one argument with spaces, so it goes as words.
uninstall() {
  local cmd words; cmd=$(value "$entry" QuietUninstallString); read -ra words <<<"${cmd##*\" /S }"
  cmd=${cmd#\"}; run "${cmd%%\"*}" /S "$@" "${words[@]}"
}
# The uninstaller run in place leaves its own file to a copy that outlasts it.
gone() { soon '[ ! -e "$dir" ]' && [ ! -e "$scr_file" ] && ! values "$entry" >/dev/null; }
# The installed saver with /s or /c in the background, its window up.
held() {
  : >"$log"; scr=$saver scenario=held argument=$1 run_host & host=$!
  soon 'grep -q "^READY" "$log" || ! kill -0 $host 2>/dev/null'; grep -q "^READY" "$log" || { grep -v '^wine: ' "$log"; false; }
}
restart() { stop_wine; wait $host 2>/dev/null; timeout 120 wineboot -r >/dev/null 2>&1; timeout 120 wineserver -w; }

wine reg add "$desktop" /v SCRNSAVE.EXE /d "$other" /f >/dev/null 2>&1
wine reg add "$desktop" /v ScreenSaveActive /d 1 /f >/dev/null 2>&1
check "/S installs" 'setup'
check "every file installed" 'ls "$scr_file" "$dir/"{tessaly-render.exe,README.txt,uninstall.exe} >/dev/null'
for name in DisplayName Publisher DisplayIcon EstimatedSize UninstallString NoModify NoRepair; do
  check "uninstall entry: $name" '[ -n "$(value "$entry" $name)" ]'
done
check "uninstall entry: DisplayVersion $TESSALY_VERSION" '[ "$(value "$entry" DisplayVersion)" = "$TESSALY_VERSION" ]'
check "the installed saver is the user's, screen saving on" \
  '[ "$(value "$desktop" SCRNSAVE.EXE)" = "$saver" ] && [ "$(value "$desktop" ScreenSaveActive)" = 1 ]'
scr=$saver scenario=switch argument=/s run_host
stop_wine
check "the installed tessaly.scr /s runs and ends on a key" 'grep -q "^switch: 0 failed check(s)" "$log"' || grep -v '^wine: ' "$log"
printf x >>"$scr_file"  # unlike the setup's own, so that its replacement shows
held /s && { setup; status=$?; }
check "an upgrade over the running saver ends it and replaces the file: exit code 0 (got ${status:-no saver})" \
  '[ "$status" = 0 ] && wait $host && cmp -s "$stage" "$scr_file"' || grep -v '^wine: ' "$log"
status=; held /s && { wine reg add "$settings" /v Speed /t REG_DWORD /d 42 /f >/dev/null 2>&1; uninstall; status=$?; }
check "the quiet uninstall command ends the running saver, leaves no file and no entry: exit code 0 (got ${status:-no saver})" \
  '[ "$status" = 0 ] && wait $host && gone' || grep -v '^wine: ' "$log"
check "the user's screen saver is back, not the upgrade's: $other, screen saving on" \
  '[ "$(value "$desktop" SCRNSAVE.EXE)" = "$other" ] && [ "$(value "$desktop" ScreenSaveActive)" = 1 ]'
check "the setup's record goes, the user's settings stay" \
  '[ -z "$(value "$vendor" ReplacedScreenSaver)" ] && [ "$(value "$settings" Speed)" = 0x2a ]'

for name in SCRNSAVE.EXE ScreenSaveActive; do wine reg delete "$desktop" /v $name /f >/dev/null 2>&1; done
mkdir -p "$WINEPREFIX/drive_c/Apps"  # the user's own, empty folder
dir="$WINEPREFIX/drive_c/Apps/Tessaly/Saver"
check "/S /D= installs there, where there was no screen saver" 'setup "/D=C:\Apps\Tessaly\Saver" && [ -e "$dir/uninstall.exe" ]'
printf x >>"$scr_file"
status=; held /c && { setup; status=$?; }
check "a setup with the settings dialog open: exit code 3010 (194 here; got ${status:-no dialog}), the old saver stays until a restart" \
  '[ "$status" = 194 ] && [ -e "$scr_file" ] && ! cmp -s "$stage" "$scr_file"'
restart
check "the restart puts the new saver in place" 'cmp -s "$stage" "$scr_file"'
status=; held /c && { uninstall; status=$?; }
check "an uninstall with the settings dialog open: exit code 3010 (194 here; got ${status:-no dialog}), no entry, the saver until a restart" \
  '[ "$status" = 194 ] && ! values "$entry" >/dev/null && [ -e "$scr_file" ] && soon "[ ! -e \"\$dir\" ]"'
restart
check "the restart removes the saver; again no screen saver" \
  'gone && [ -z "$(value "$desktop" SCRNSAVE.EXE)$(value "$desktop" ScreenSaveActive)" ]'
check "the folder the setup made for /D= goes, the user's own stays" \
  '[ ! -e "$WINEPREFIX/drive_c/Apps/Tessaly" ] && [ -d "$WINEPREFIX/drive_c/Apps" ]'

dir="$WINEPREFIX/drive_c/Program Files/Tessaly"
wine reg add "$desktop" /v SCRNSAVE.EXE /d "$other" /f >/dev/null 2>&1
check "/S /SETSAVER=0 installs, leaving the screen saver" 'setup /SETSAVER=0 && [ "$(value "$desktop" SCRNSAVE.EXE)" = "$other" ]'
check "/REMOVESETTINGS, from NSIS's copy in Temp (no _?=), uninstalls, leaving another screen saver" \
  'run "C:\Program Files\Tessaly\uninstall.exe" /S /REMOVESETTINGS && timeout 120 wineserver -w && gone && [ "$(value "$desktop" SCRNSAVE.EXE)" = "$other" ]'
check "/REMOVESETTINGS removes the settings" '! values "$settings" >/dev/null'
temp=$(winepath -u "$(wine cmd /c 'echo %TEMP%' 2>/dev/null | tr -d '\r')" 2>/dev/null)
restart
check "after a restart nothing of the uninstallers stays in Temp (${temp:-not found})" \
  '[ -d "$temp" ] && ! ls -A "$temp" | grep -i "^\(~nsu\|ns\).*\.tmp$"'
echo "setup: $failed failed"
return $failed
