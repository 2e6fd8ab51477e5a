; The Windows installer: both programs and the README in Program Files, a
; Start-menu entry, the association of *.wpj files with the window, and an
; entry among the installed programs whose uninstaller removes all of it.
; Built by makensis on Linux (see CMakeLists.txt), which defines VERSION,
; TAMSK_EXE, TAMSK_CLI_EXE, README and OUTFILE.
;   tamsk-<version>-setup.exe [/S] [/D=folder]     silent with /S
;   Uninstall.exe [/S]

; A 64-bit installer, like the programs: it also runs where no 32-bit
; subsystem is (a 64-bit Wine prefix without wine32).
Target amd64-unicode
SetCompressor /SOLID lzma

!define APP "Tamsk"
!define PROG_ID "Tamsk.Project"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tamsk"
; The menu and the file manager start the window in a folder of their own, so
; it keeps its settings in %APPDATA%\Tamsk instead of the current folder.
!define START_OPTION "--user-settings"

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${APP}"
RequestExecutionLevel admin
ShowInstDetails nevershow
ShowUninstDetails nevershow

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Tamsk"
  SetOutPath "$INSTDIR"
  File "/oname=tamsk.exe" "${TAMSK_EXE}"
  File "/oname=tamsk-cli.exe" "${TAMSK_CLI_EXE}"
  File "/oname=README.md" "${README}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateShortCut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\tamsk.exe" "${START_OPTION}" \
    "$INSTDIR\tamsk.exe" 0 SW_SHOWNORMAL "" "Show a Watcom C/C++ IDE project as one tree"

  WriteRegStr HKLM "Software\Classes\.wpj" "" "${PROG_ID}"
  WriteRegStr HKLM "Software\Classes\${PROG_ID}" "" "Watcom IDE project"
  WriteRegStr HKLM "Software\Classes\${PROG_ID}\DefaultIcon" "" '"$INSTDIR\tamsk.exe",0'
  WriteRegStr HKLM "Software\Classes\${PROG_ID}\shell\open\command" "" \
    '"$INSTDIR\tamsk.exe" ${START_OPTION} "%1"'

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Tamsk developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\tamsk.exe",0'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

  ; Explorer shows the new association at once.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Section "Uninstall"
  Delete "$INSTDIR\tamsk.exe"
  Delete "$INSTDIR\tamsk-cli.exe"
  Delete "$INSTDIR\README.md"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${APP}.lnk"

  ; .wpj is left alone when another program has taken it meanwhile.
  ReadRegStr $0 HKLM "Software\Classes\.wpj" ""
  StrCmp $0 "${PROG_ID}" 0 +2
    DeleteRegKey HKLM "Software\Classes\.wpj"
  DeleteRegKey HKLM "Software\Classes\${PROG_ID}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
