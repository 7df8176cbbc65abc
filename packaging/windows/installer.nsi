; The Solvane installer: makensis -DSOURCE=<game folder> -DOUTFILE=<exe> -DVERSION=<x.y>
; The game goes to Program Files, where players cannot write; the file
; "installed" beside it sends the player's settings and saves to %APPDATA%\Solvane,
; which the uninstaller leaves alone.
; A 64-bit installer for a 64-bit game (it also runs where Wine has no 32-bit side).
Target amd64-unicode
SetCompressor /SOLID lzma
!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

Name "Solvane"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Solvane"
InstallDirRegKey HKLM "Software\Solvane" "InstallDir"
RequestExecutionLevel admin
BrandingText "Solvane ${VERSION}"

!define MUI_ICON "${SOURCE}\favicon.ico"
!define MUI_UNICON "${SOURCE}\favicon.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\solvane.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Solvane"

!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"

Section "Solvane" SecGame
  SectionIn RO
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File /r "${SOURCE}\*.*"
  FileOpen $0 "$INSTDIR\installed" w
  FileWrite $0 "Settings and saves are in %APPDATA%\Solvane$\r$\n"
  FileClose $0
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\Solvane.lnk" "$INSTDIR\solvane.exe" "" "$INSTDIR\solvane.exe" 0
  WriteRegStr HKLM "Software\Solvane" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Solvane"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Solvane"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\solvane.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; On request: unticked unless the player ticks it (or passes /DESKTOP with /S).
Section /o "桌面快捷方式 (Desktop shortcut)" SecDesktop
  SetShellVarContext all
  CreateShortCut "$DESKTOP\Solvane.lnk" "$INSTDIR\solvane.exe" "" "$INSTDIR\solvane.exe" 0
SectionEnd

Function .onInit
  SetRegView 64
  ${If} ${Silent}
    ClearErrors
    ${GetOptions} $CMDLINE "/DESKTOP" $0
    ${IfNot} ${Errors}
      SectionSetFlags ${SecDesktop} ${SF_SELECTED}
    ${EndIf}
  ${EndIf}
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

; Only what the installer put there: the player's settings and saves stay.
Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\Solvane.lnk"
  Delete "$DESKTOP\Solvane.lnk"
  RMDir /r "$INSTDIR\platforms"
  RMDir /r "$INSTDIR\imageformats"
  RMDir /r "$INSTDIR\mediaservice"
  RMDir /r "$INSTDIR\audio"
  RMDir /r "$INSTDIR\QtQml"
  RMDir /r "$INSTDIR\QtQuick"
  RMDir /r "$INSTDIR\QtQuick.2"
  RMDir /r "$INSTDIR\png"
  RMDir /r "$INSTDIR\mp3"
  RMDir /r "$INSTDIR\opencc"
  Delete "$INSTDIR\*.dll"
  Delete "$INSTDIR\solvane.exe"
  Delete "$INSTDIR\a.txt"
  Delete "$INSTDIR\favicon.ico"
  Delete "$INSTDIR\setting.txt"
  Delete "$INSTDIR\installed"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "Software\Solvane"
SectionEnd
