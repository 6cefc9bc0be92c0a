; The Windows setup program, tessaly-<version>-setup.exe: tessaly.scr into the
; system folder, where the Screen Saver Settings list it for good, the rest
; into Program Files\Tessaly, an entry in "Apps & features" and an
; uninstaller. CMake builds it (packaging/windows/CMakeLists.txt):
;   makensis -DVERSION=1.0.0 -DSTAGE=DIR -DICON=flower.ico -DOUTFILE=FILE tessaly.nsi
; where DIR holds tessaly.scr, tessaly-render.exe and README.txt.
;
; Setup switches: /S silent; /SETSAVER=0 leaves the user's screen saver as it
; is (the default, /SETSAVER=1, makes Tessaly the screen saver); /D=DIR, last,
; installs elsewhere than Program Files\Tessaly.
; Uninstaller switches: /S silent; /REMOVESETTINGS also deletes the user's
; Tessaly settings, which are kept otherwise; _?=DIR, last and unquoted, runs
; it in place, so that its caller gets the exit code.
; Exit code 3010: done, but a file in use is replaced or removed at the next
; restart.

Unicode true
; A 64-bit setup for a 64-bit saver: $SYSDIR is the real System32 (a 32-bit
; setup would be redirected to SysWOW64, where the 64-bit Screen Saver
; Settings never look) and the registry is the 64-bit view.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessaly"
!define DESKTOP_KEY "Control Panel\Desktop"
!define SETTINGS_KEY "Software\Tessaly Screen Saver"
!define PUBLISHER "Tessaly developers"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATE_AND_TELL 3  ; SPIF_UPDATEINIFILE | SPIF_SENDCHANGE
!define SYNCHRONIZE 0x100000
!define MOVEFILE_REPLACE_EXISTING 1
!define MOVEFILE_DELAY_UNTIL_REBOOT 4
!define ERROR_SUCCESS_REBOOT_REQUIRED 3010

Name "Tessaly"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Tessaly"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Tessaly ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey ProductName "Tessaly Screen Saver"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey FileDescription "Tessaly Screen Saver setup"
VIAddVersionKey CompanyName "${PUBLISHER}"
VIAddVersionKey LegalCopyright "2026 ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Open the Screen Saver Settings"
!define MUI_FINISHPAGE_RUN_FUNCTION OpenScreenSaverSettings
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_UNPAGE_FINISH  ; offers the restart when one is needed

!insertmacro MUI_LANGUAGE English

; Program Files and System32 need an administrator; so does the machine-wide
; uninstall entry.
!macro RequireAdministrator
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "admin"
    MessageBox MB_ICONSTOP "Tessaly's setup needs administrator rights." /SD IDOK
    SetErrorLevel 740  ; ERROR_ELEVATION_REQUIRED
    Quit
  ${EndIf}
!macroend

; $R0 is 1 when the user's screen saver is this tessaly.scr, by the path the
; setup writes or the short one the Screen Saver Settings may store (the file's
; own name is already 8.3), else 0.
!macro IsOurSaver
  ReadRegStr $R1 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  GetFullPathName /SHORT $R2 "$SYSDIR"
  StrCpy $R0 0
  ${If} $R1 == "$SYSDIR\tessaly.scr"
  ${OrIf} $R1 == "$R2\tessaly.scr"
    StrCpy $R0 1
  ${EndIf}
!macroend

; A full-screen saver holds tessaly.scr open. Its windows are the top-level
; TessalyCanvas ones (a preview's and the settings dialog's canvases are
; children), and WM_CLOSE on one ends the run, every window and the process.
; The settings dialog and a preview are the user's and stay.
!macro EndRunningSaverFunction un
Function ${un}EndRunningSaver
  ${Do}
    FindWindow $R0 "TessalyCanvas"
    ${IfThen} $R0 == 0 ${|} ${Break} ${|}
    System::Call 'user32::GetWindowThreadProcessId(p R0, *i .R1)'
    System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i R1) p.R2'
    ${IfThen} $R2 == 0 ${|} ${Break} ${|}
    SendMessage $R0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    System::Call 'kernel32::WaitForSingleObject(p R2, i 15000) i.R3'
    System::Call 'kernel32::CloseHandle(p R2)'
  ${LoopWhile} $R3 == 0  ; a saver that does not end is left to the restart
FunctionEnd
!macroend
!insertmacro EndRunningSaverFunction ""
!insertmacro EndRunningSaverFunction "un."

; A file in use (the settings dialog, a preview) cannot be overwritten: the
; new one waits beside it as NAME.new and takes its place at the next
; restart. NSIS's own Rename /REBOOTOK would not say when that fails.
!macro InstallFile DIR NAME
  SetOutPath "${DIR}"
  ClearErrors
  File "${STAGE}\${NAME}"  ; SetOverwrite try: an error, not a prompt
  ${If} ${Errors}
    ClearErrors
    File "/oname=${NAME}.new" "${STAGE}\${NAME}"
    StrCpy $R9 0
    ${IfNot} ${Errors}
      IntOp $R8 ${MOVEFILE_DELAY_UNTIL_REBOOT} | ${MOVEFILE_REPLACE_EXISTING}
      System::Call 'kernel32::MoveFileExW(w "${DIR}\${NAME}.new", w "${DIR}\${NAME}", i R8) i.R9'
    ${EndIf}
    ${If} $R9 == 0
      MessageBox MB_ICONSTOP "${DIR}\${NAME} is in use and cannot be replaced." /SD IDOK
      Abort
    ${EndIf}
    SetRebootFlag true
  ${EndIf}
!macroend

Section "Tessaly Screen Saver" SecProgram
  SectionIn RO
  Call EndRunningSaver
  ; The topmost folder this setup makes for the install folder (given with
  ; /D=): the uninstaller removes it again, when empty.
  StrCpy $R0 $INSTDIR
  StrCpy $R1 ""
  ${Do}
    ${GetParent} $R0 $R0
    ${If} $R0 == ""
    ${OrIf} ${FileExists} "$R0\*.*"
      ${Break}
    ${EndIf}
    StrCpy $R1 $R0
  ${Loop}
  ; An upgrade into the same folder keeps what the first setup recorded.
  ${IfThen} $R1 != "" ${|} WriteRegStr HKLM "${UNINSTALL_KEY}" "CreatedFolder" $R1 ${|}
  SetOverwrite try
  !insertmacro InstallFile "$SYSDIR" tessaly.scr
  !insertmacro InstallFile "$INSTDIR" tessaly-render.exe
  !insertmacro InstallFile "$INSTDIR" README.txt
  SetOverwrite on
  WriteUninstaller "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Tessaly Screen Saver"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SYSDIR\tessaly.scr,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  ; In place: its caller waits for the real work and gets its exit code
  ; (NSIS's usual copy in Temp would leave its caller with 0 at once).
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S _?=$INSTDIR'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; Kilobytes, the program folder and the saver in System32 together.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  ${GetSize} "$SYSDIR" "/M=tessaly.scr /S=0K /G=0" $3 $1 $2
  IntOp $0 $0 + $3
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The record of what the setup replaced, for the uninstaller to give back:
; values of the vendor key, where no program's settings key can clash with
; them. "Previous X" is missing where the user had no X.
!macro RecordDesktopValue NAME
  ClearErrors
  ReadRegStr $R1 HKCU "${DESKTOP_KEY}" "${NAME}"
  ${If} ${Errors}
    DeleteRegValue HKCU "${SETTINGS_KEY}" "Previous ${NAME}"
  ${Else}
    WriteRegStr HKCU "${SETTINGS_KEY}" "Previous ${NAME}" $R1
  ${EndIf}
!macroend

; The current user's screen saver; the wait time stays the user's own.
Section "Use Tessaly as my screen saver" SecUseSaver
  ; Where it is ours already (an upgrade), the first setup's record stands.
  !insertmacro IsOurSaver
  ${If} $R0 == 0
    !insertmacro RecordDesktopValue "SCRNSAVE.EXE"
    !insertmacro RecordDesktopValue "ScreenSaveActive"
    WriteRegDWORD HKCU "${SETTINGS_KEY}" "ReplacedScreenSaver" 1
  ${EndIf}
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$SYSDIR\tessaly.scr"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  ; The running session takes it at once, not only after the next logon.
  System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_UPDATE_AND_TELL})'
SectionEnd

Function .onInit
  SetRegView 64
  !insertmacro RequireAdministrator
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/SETSAVER=" $1
  ${IfNot} ${Errors}
  ${AndIf} $1 == "0"
    !insertmacro UnselectSection ${SecUseSaver}
  ${EndIf}
FunctionEnd

Function .onInstSuccess
  ${IfThen} ${RebootFlag} ${|} SetErrorLevel ${ERROR_SUCCESS_REBOOT_REQUIRED} ${|}
FunctionEnd

Function OpenScreenSaverSettings
  Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
FunctionEnd

!macro GiveBackDesktopValue NAME
  ClearErrors
  ReadRegStr $R1 HKCU "${SETTINGS_KEY}" "Previous ${NAME}"
  ${If} ${Errors}
    DeleteRegValue HKCU "${DESKTOP_KEY}" "${NAME}"
  ${Else}
    WriteRegStr HKCU "${DESKTOP_KEY}" "${NAME}" $R1
  ${EndIf}
!macroend

; The user's screen saver, only where it is still ours (written by the setup
; or chosen in the Screen Saver Settings), goes back to what the setup
; replaced; without a record (an older setup, or chosen by hand) to none.
Function un.GiveScreenSaverBack
  !insertmacro IsOurSaver
  ReadRegDWORD $R3 HKCU "${SETTINGS_KEY}" "ReplacedScreenSaver"
  ${If} $R0 == 1
  ${AndIf} $R3 == 1
    !insertmacro GiveBackDesktopValue "SCRNSAVE.EXE"
    ClearErrors
    ReadRegStr $R1 HKCU "${SETTINGS_KEY}" "Previous ScreenSaveActive"
    ${IfNot} ${Errors}
      ; The running session takes it at once; the value as it was after.
      IntOp $R1 $R1 + 0
      ${IfThen} $R1 <> 0 ${|} StrCpy $R1 1 ${|}
      System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i R1, p 0, i ${SPIF_UPDATE_AND_TELL})'
    ${EndIf}
    !insertmacro GiveBackDesktopValue "ScreenSaveActive"
  ${ElseIf} $R0 == 1
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 0, p 0, i ${SPIF_UPDATE_AND_TELL})'
  ${EndIf}
  DeleteRegValue HKCU "${SETTINGS_KEY}" "ReplacedScreenSaver"
  DeleteRegValue HKCU "${SETTINGS_KEY}" "Previous SCRNSAVE.EXE"
  DeleteRegValue HKCU "${SETTINGS_KEY}" "Previous ScreenSaveActive"
  DeleteRegKey /ifempty HKCU "${SETTINGS_KEY}"
FunctionEnd

; Deletes FILE or, while it is in use, has it deleted at the next restart and
; sets the reboot flag; the error flag when neither can be done (NSIS's
; Delete /REBOOTOK would not say).
!macro DeleteNowOrAtRestart FILE
  ClearErrors
  Delete "${FILE}"
  ${If} ${Errors}
    System::Call 'kernel32::MoveFileExW(w "${FILE}", p 0, i ${MOVEFILE_DELAY_UNTIL_REBOOT}) i.R9'
    ${If} $R9 != 0
      ClearErrors
      SetRebootFlag true
    ${EndIf}
  ${EndIf}
!macroend

; The uninstaller, the install folder, then the folders above it up to $R1,
; the topmost one the setup made: each only while empty.
Function un.RemoveInstallFolder
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  StrLen $R2 "$R1\"
  StrCpy $R3 "$INSTDIR" $R2
  ${If} $R1 != ""
  ${AndIf} $R3 == "$R1\"
    StrCpy $R0 $INSTDIR
    ${Do}
      ${GetParent} $R0 $R0
      ClearErrors
      RMDir $R0
      ${IfThen} ${Errors} ${|} ${Break} ${|}
    ${LoopUntil} $R0 == $R1
  ${EndIf}
FunctionEnd

; A copy of the uninstaller in Temp (NSIS's own, or the one that removes an
; uninstaller run in place) cannot delete itself: it goes at the next
; restart, and its folder after it (NSIS asks for the folder first, which
; leaves it behind, empty). Nothing of Tessaly waits for that restart.
Function un.ForgetSelf
  ${GetParent} $EXEDIR $R0
  ${If} $R0 == $TEMP
    StrCpy $R0 0
    ${IfThen} ${RebootFlag} ${|} StrCpy $R0 1 ${|}
    Delete /REBOOTOK "$EXEPATH"
    RMDir /REBOOTOK "$EXEDIR"
    ${IfThen} $R0 == 0 ${|} SetRebootFlag false ${|}
  ${EndIf}
FunctionEnd

Section "un.Tessaly Screen Saver" UnSecProgram
  SectionIn RO
  Call un.EndRunningSaver
  ; The saver first: where it can go neither now nor at the next restart,
  ; nothing changes and the uninstall entry stays.
  !insertmacro DeleteNowOrAtRestart "$SYSDIR\tessaly.scr"
  ${If} ${Errors}
    MessageBox MB_ICONSTOP "$SYSDIR\tessaly.scr is in use and cannot be removed." /SD IDOK
    Abort
  ${EndIf}
  Delete "$SYSDIR\tessaly.scr.new"  ; a replacement still waiting for a restart
  Call un.GiveScreenSaverBack

  !insertmacro DeleteNowOrAtRestart "$INSTDIR\tessaly-render.exe"
  !insertmacro DeleteNowOrAtRestart "$INSTDIR\README.txt"
  ReadRegStr $R1 HKLM "${UNINSTALL_KEY}" "CreatedFolder"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ${If} $EXEDIR == $INSTDIR
    ; Run in place: a copy in Temp removes this file and the folders once
    ; this process has ended.
    GetTempFileName $R8
    Delete $R8
    CreateDirectory $R8
    CopyFiles /SILENT "$EXEPATH" "$R8"
    SetOutPath $R8  ; its working folder, which must not hold up the install folder
    Exec '"$R8\uninstall.exe" /REMOVEAFTER /TOP="$R1" _?=$INSTDIR'
  ${Else}
    Call un.RemoveInstallFolder
    Call un.ForgetSelf
  ${EndIf}
SectionEnd

Section /o "un.Remove my Tessaly settings" UnSecSettings
  DeleteRegKey HKCU "${SETTINGS_KEY}\tessaly"
  DeleteRegKey /ifempty HKCU "${SETTINGS_KEY}"  ; a renamed copy's settings stay
SectionEnd

Function un.onInit
  SetRegView 64
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVEAFTER" $1
  ${IfNot} ${Errors}
    ; The copy that outlasts an uninstaller run in place: its file is free
    ; once it has ended (polled: no plug-in, whose folder would stay in Temp).
    ${GetOptions} $0 "/TOP=" $R1
    Call un.ForgetSelf
    ${For} $R0 1 600
      ClearErrors
      Delete "$INSTDIR\uninstall.exe"
      ${IfNotThen} ${Errors} ${|} ${Break} ${|}
      Sleep 100
    ${Next}
    Call un.RemoveInstallFolder
    Quit
  ${EndIf}
  !insertmacro RequireAdministrator
  ; Options after _?= end up in the folder: refuse rather than half uninstall.
  ${IfNot} ${FileExists} "$INSTDIR\uninstall.exe"
    MessageBox MB_ICONSTOP "No Tessaly uninstaller in $INSTDIR (options go before _?=)." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${UnSecSettings}
  ${EndIf}
FunctionEnd

Function un.onUninstSuccess
  ${IfThen} ${RebootFlag} ${|} SetErrorLevel ${ERROR_SUCCESS_REBOOT_REQUIRED} ${|}
FunctionEnd
