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
; Tessaly settings, which are kept otherwise.

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

Section "Tessaly Screen Saver" SecProgram
  SectionIn RO
  SetOutPath "$SYSDIR"
  File "${STAGE}\tessaly.scr"
  SetOutPath "$INSTDIR"
  File "${STAGE}\tessaly-render.exe"
  File "${STAGE}\README.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Tessaly Screen Saver"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SYSDIR\tessaly.scr,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; Kilobytes, the program folder and the saver in System32 together.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  ${GetSize} "$SYSDIR" "/M=tessaly.scr /S=0K /G=0" $3 $1 $2
  IntOp $0 $0 + $3
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The current user's screen saver; the wait time stays the user's own.
Section "Use Tessaly as my screen saver" SecUseSaver
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

Function OpenScreenSaverSettings
  Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
FunctionEnd

Section "un.Tessaly Screen Saver" UnSecProgram
  SectionIn RO
  ; The user's screen saver goes back to none only where it is still ours,
  ; written by this setup or chosen in the Screen Saver Settings (which may
  ; store the short form of the path).
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  GetFullPathName /SHORT $1 "$SYSDIR\tessaly.scr"
  ${If} $0 == "$SYSDIR\tessaly.scr"
  ${OrIf} $0 == $1
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 0, p 0, i ${SPIF_UPDATE_AND_TELL})'
  ${EndIf}

  Delete "$SYSDIR\tessaly.scr"
  Delete "$INSTDIR\tessaly-render.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"  ; only when nothing else lies in it
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.Remove my Tessaly settings" UnSecSettings
  DeleteRegKey HKCU "${SETTINGS_KEY}\tessaly"
  DeleteRegKey /ifempty HKCU "${SETTINGS_KEY}"  ; a renamed copy's settings stay
SectionEnd

Function un.onInit
  SetRegView 64
  !insertmacro RequireAdministrator
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${UnSecSettings}
  ${EndIf}
FunctionEnd
