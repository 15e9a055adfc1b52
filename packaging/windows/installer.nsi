# SPDX-License-Identifier: GPL-3.0-or-later
; The Windows installer: per user, without administrator rights, into the user's own programs
; folder; a Start-menu entry; settings files (*.tcset) open in mkconf, tank files (*.tcoil) carry
; its icon. The uninstaller removes exactly what was installed: the user's settings files,
; backups and trip history stay.
; Made by packaging/windows/package.sh, which defines VERSION, STAGE (the files to install),
; FILES (File lines for them), REMOVE (Delete lines for them) and OUTFILE.

; 64-bit, as the programs are: it runs where they run, without 32-bit support.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define APP "mkconf"
!define NAME "Настройка МК"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\mkconf"
!define CLASSES "Software\Classes"

Name "${NAME} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\mkconf"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

!include "MUI2.nsh"
!define MUI_ICON "${STAGE}/mkconf.ico"
!define MUI_UNICON "${STAGE}/mkconf.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\mkconf.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

Function .onInit
  SetShellVarContext current
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

Section "mkconf"
  SetOutPath "$INSTDIR"
  !include "${FILES}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortCut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\mkconf.exe" "" "$INSTDIR\mkconf.ico" 0

  ; Settings files open in mkconf; tank files show its icon.
  WriteRegStr HKCU "${CLASSES}\.tcset" "" "mkconf.tcset"
  WriteRegStr HKCU "${CLASSES}\mkconf.tcset" "" "Файл настроек МК"
  WriteRegStr HKCU "${CLASSES}\mkconf.tcset\DefaultIcon" "" "$INSTDIR\mkconf.ico,0"
  WriteRegStr HKCU "${CLASSES}\mkconf.tcset\shell\open\command" "" '"$INSTDIR\mkconf.exe" "%1"'
  WriteRegStr HKCU "${CLASSES}\.tcoil" "" "mkconf.tcoil"
  WriteRegStr HKCU "${CLASSES}\mkconf.tcoil" "" "Файл настроек бака МК"
  WriteRegStr HKCU "${CLASSES}\mkconf.tcoil\DefaultIcon" "" "$INSTDIR\mkconf.ico,0"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\mkconf.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  ; One by one, never the whole folder: it may have been chosen among the user's own files.
  !include "${REMOVE}"
  ; The program's own ini beside it (window placement, port) goes with it.
  Delete "$INSTDIR\mkconf.ini"
  Delete "$INSTDIR\mktool.ini"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\${NAME}.lnk"
  ; Only associations that are still ours.
  ReadRegStr $0 HKCU "${CLASSES}\.tcset" ""
  StrCmp $0 "mkconf.tcset" 0 +2
    DeleteRegKey HKCU "${CLASSES}\.tcset"
  ReadRegStr $0 HKCU "${CLASSES}\.tcoil" ""
  StrCmp $0 "mkconf.tcoil" 0 +2
    DeleteRegKey HKCU "${CLASSES}\.tcoil"
  DeleteRegKey HKCU "${CLASSES}\mkconf.tcset"
  DeleteRegKey HKCU "${CLASSES}\mkconf.tcoil"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
