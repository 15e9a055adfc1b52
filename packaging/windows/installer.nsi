# SPDX-License-Identifier: GPL-3.0-or-later
; The Windows installer: per user, without administrator rights, into the user's own programs
; folder, on Windows 10 or later; the licence shown; a Start-menu entry and, when asked for, one on
; the desktop; settings files (*.tcset) open in mkconf, tank files (*.tcoil) carry its icon. It
; waits while mkconf runs. The uninstaller removes exactly what was installed: the user's settings
; files, backups and trip history stay.
; Made by packaging/windows/package.sh, which defines VERSION, COPYRIGHT_YEARS, STAGE (the files to
; install), FILES (File lines for them), REMOVE (Delete lines for them), OUTFILE and, when the
; build signs, SIGN (a command that signs the file it is given in place).
; Silent: /S; /S /DESKTOP also puts the shortcut on the desktop.

; 64-bit, as the programs are: it runs where they run, without 32-bit support.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!define APP "mkconf"
!define NAME "Настройка МК"
!define PUBLISHER "Разработчики mkconf"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\mkconf"
!define CLASSES "Software\Classes"
; mkconf holds this file open, with no write sharing, while it runs (app/TJustOne_win.cpp).
!define LOCK_FILE "$LOCALAPPDATA\mkconf\mkconf.exe.lock"

; NSIS puts the name into its Russian texts in the genitive ("Установка $(^Name)", "мастер
; установки $(^Name)"): given so, they read right; the few texts that want another case are
; given below in full.
Name "программы «${NAME}»"
BrandingText "${NAME} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\mkconf"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

!ifdef SIGN
  ; The uninstaller is signed as it is written into the installer.
  !uninstfinalize 'bash "${SIGN}" "%1"'
!endif

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "WinVer.nsh"
!include "FileFunc.nsh"

!define MUI_ICON "${STAGE}/mkconf.ico"
!define MUI_UNICON "${STAGE}/mkconf.ico"

; GNU GPL asks for no acceptance to run the program: the page shows the licence and goes on.
!define MUI_PAGE_HEADER_TEXT "Лицензия"
!define MUI_PAGE_HEADER_SUBTEXT "«${NAME}» — свободная программа: GNU GPL версии 3 или более поздней."
!define MUI_LICENSEPAGE_TEXT_BOTTOM "Пользоваться программой можно без всяких условий; лицензия определяет, на каких условиях её можно распространять и изменять."
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!insertmacro MUI_PAGE_LICENSE "${STAGE}/licenses/mkconf-GPL-3.0-or-later.txt"

!define MUI_DIRECTORYPAGE_TEXT_TOP "Программа «${NAME}» будет установлена в указанную папку. Чтобы выбрать другую папку, нажмите кнопку «Обзор». $_CLICK"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE LeaveWhenClosed
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES

!define MUI_FINISHPAGE_TITLE "Программа «${NAME}» установлена"
!define MUI_FINISHPAGE_RUN "$INSTDIR\mkconf.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Запустить программу «${NAME}»"
; The finish page's second choice: the desktop shortcut, off unless ticked.
!define MUI_FINISHPAGE_SHOWREADME ""
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Создать ярлык на рабочем столе"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION CreateDesktopShortcut
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "Программа «${NAME}» будет удалена из этой папки. Ваши файлы настроек, резервные копии и история поездок останутся. $_CLICK"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE un.LeaveWhenClosed
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

; The installer's own version information, as the programs carry theirs.
VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileDescription" "Установка программы «${NAME}»"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "InternalName" "mkconf-setup"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "LegalCopyright" "© ${COPYRIGHT_YEARS} ${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "OriginalFilename" "mkconf-${VERSION}-setup.exe"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductName" "${NAME}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductVersion" "${VERSION}"

Function .onInit
  SetShellVarContext current
  ; The programs are built and tested for Windows 10 and 11. Silent or not, an older system
  ; gets nothing, and the exit code says so.
  ${IfNot} ${AtLeastWin10}
    MessageBox MB_OK|MB_ICONSTOP "Программа «${NAME}» работает в Windows 10 и более новых версиях. На этом компьютере её установить нельзя." /SD IDOK
    SetErrorLevel 3
    Quit
  ${EndIf}
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

; A running mkconf holds its lock file against writing: while it does, its files cannot be
; replaced or removed. The user closes it and retries, or gives up (silently: gives up). Asked
; when the last page before the work is left (Cancel stays on it), and again as the work starts
; (for /S; Cancel ends the installer with exit code 4).
!macro MKCONF_CLOSED un
Function ${un}MkconfClosed ; pushes 1 when mkconf is not running (any more), 0 when the user gave up
  Push $0
  Push $1
  retry:
  ; GENERIC_WRITE, sharing everything, OPEN_EXISTING: no file means no mkconf.
  System::Call 'kernel32::CreateFileW(w "${LOCK_FILE}", i 0x40000000, i 7, p 0, i 3, i 0x80, p 0) p .r0 ?e'
  Pop $1
  ${If} $0 P<> -1
    System::Call 'kernel32::CloseHandle(p r0)'
  ${ElseIf} $1 = 32 ; ERROR_SHARING_VIOLATION
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Программа «${NAME}» запущена. Закройте её и нажмите «Повтор»." /SD IDCANCEL IDRETRY retry
    Pop $1
    Pop $0
    Push 0
    Return
  ${EndIf}
  Pop $1
  Pop $0
  Push 1
FunctionEnd

Function ${un}LeaveWhenClosed
  Call ${un}MkconfClosed
  Exch $0
  ${If} $0 = 0
    Pop $0
    Abort
  ${EndIf}
  Pop $0
FunctionEnd

Function ${un}WorkWhenClosed
  Call ${un}MkconfClosed
  Exch $0
  ${If} $0 = 0
    Pop $0
    SetErrorLevel 4
    Abort "Программа «${NAME}» запущена."
  ${EndIf}
  Pop $0
FunctionEnd
!macroend
!insertmacro MKCONF_CLOSED ""
!insertmacro MKCONF_CLOSED "un."

Function CreateDesktopShortcut
  CreateShortCut "$DESKTOP\${NAME}.lnk" "$INSTDIR\mkconf.exe" "" "$INSTDIR\mkconf.ico" 0
FunctionEnd

Section "mkconf"
  Call WorkWhenClosed
  SetOutPath "$INSTDIR"
  !include "${FILES}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortCut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\mkconf.exe" "" "$INSTDIR\mkconf.ico" 0
  ${If} ${Silent}
    ${GetOptions} $CMDLINE "/DESKTOP" $0
    ${IfNot} ${Errors}
      Call CreateDesktopShortcut
    ${EndIf}
  ${EndIf}

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
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\mkconf.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ; In KiB, as Settings → Apps shows it: what was installed, the uninstaller included.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  Call un.WorkWhenClosed
  ; One by one, never the whole folder: it may have been chosen among the user's own files.
  !include "${REMOVE}"
  ; The program's own ini beside it (window placement, port) goes with it.
  Delete "$INSTDIR\mkconf.ini"
  Delete "$INSTDIR\mktool.ini"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\${NAME}.lnk"
  Delete "$DESKTOP\${NAME}.lnk"
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
