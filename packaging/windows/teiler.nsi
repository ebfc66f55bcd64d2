; SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
; SPDX-License-Identifier: GPL-3.0-or-later
;
; The Windows installer: makensis -DVERSION=<version> -DVIVERSION=<a.b.c.d> -DICON=<teiler.ico>
;   -DFILES=<files.nsh> -DREMOVE=<remove.nsh> -DOUTFILE=<setup.exe> teiler.nsi
; files.nsh installs the portable folder file by file and remove.nsh deletes exactly those files,
; so the uninstaller takes away what the installer put there and nothing a teacher saved beside it.
; A 64-bit installer for a 64-bit program: it needs no 32-bit layer on Windows (nor under Wine).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "x64.nsh"

!define APP "Teiler"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Teiler"
!define PROGID "Teiler.Tafel"

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${APP}"
InstallDirRegKey HKLM "Software\${APP}" "InstallDir"
BrandingText "${APP} ${VERSION}"
VIProductVersion "${VIVERSION}"
VIAddVersionKey /LANG=1031 "ProductName" "${APP}"
VIAddVersionKey /LANG=1031 "FileDescription" "${APP} – Installation"
VIAddVersionKey /LANG=1031 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "LegalCopyright" "GPL-3.0-or-later"

!define MUI_ABORTWARNING
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\teiler.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Teiler jetzt starten"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "German"

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "Teiler braucht ein 64-Bit-Windows." /SD IDOK
    Abort
  ${EndIf}
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Teiler"
  !include "${FILES}"
  WriteUninstaller "$INSTDIR\Deinstallieren.exe"

  CreateShortCut "$SMPROGRAMS\Teiler.lnk" "$INSTDIR\teiler.exe"
  CreateShortCut "$SMPROGRAMS\Teiler groß (Beamer).lnk" "$INSTDIR\teiler.exe" "--zoom fit"

  ; Boards open in Teiler on a double click.
  WriteRegStr HKLM "Software\Classes\.teiler" "" "${PROGID}"
  WriteRegStr HKLM "Software\Classes\${PROGID}" "" "Teiler-Tafel"
  WriteRegStr HKLM "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\teiler.exe,0"
  WriteRegStr HKLM "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\teiler.exe" --fit-board "%1"'
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  WriteRegStr HKLM "Software\${APP}" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Die Entwickler von Teiler"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\teiler.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Deinstallieren.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Deinstallieren.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\Teiler.lnk"
  Delete "$SMPROGRAMS\Teiler groß (Beamer).lnk"

  ; Only a file type that still points at this installation is taken back.
  ReadRegStr $0 HKLM "Software\Classes\.teiler" ""
  StrCmp $0 "${PROGID}" 0 +2
    DeleteRegKey HKLM "Software\Classes\.teiler"
  DeleteRegKey HKLM "Software\Classes\${PROGID}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  !include "${REMOVE}"
  Delete "$INSTDIR\Deinstallieren.exe"
  RMDir "$INSTDIR"

  DeleteRegKey HKLM "Software\${APP}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
