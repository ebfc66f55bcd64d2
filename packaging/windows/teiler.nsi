; SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
; SPDX-License-Identifier: GPL-3.0-or-later
;
; The Windows installer: makensis -DVERSION=<version> -DVIVERSION=<a.b.c.d> -DICON=<teiler.ico>
;   -DFILES=<files.nsh> -DREMOVE=<remove.nsh> -DOUTFILE=<setup.exe> -DLICENCE=<GPL-3.txt> teiler.nsi
; files.nsh installs the portable folder file by file and remove.nsh deletes exactly those files,
; so the uninstaller takes away what the installer put there and nothing a teacher saved beside it.
; A 64-bit installer for a 64-bit program: it needs no 32-bit layer on Windows (nor under Wine).
; -DSIGN=<scripts/sign-windows.sh> signs the uninstaller before it goes into the installer, and the
; installer once it is written, with the certificate that script is given.
Target amd64-unicode
!ifdef SIGN
  !uninstfinalize 'bash "${SIGN}" "%1" Deinstallieren.exe' = 0
  !finalize 'bash "${SIGN}" "%1"' = 0
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "x64.nsh"
!include "WinVer.nsh"
!include "FileFunc.nsh"

!define APP "Teiler"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Teiler"
!define PROGID "Teiler.Tafel"
; The mutex an open Teiler holds (app/runningmark.h).
!define RUNNING "Global\Teiler.Programm"

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${APP}"
InstallDirRegKey HKLM "Software\${APP}" "InstallDir"
BrandingText "${APP} ${VERSION}"
VIProductVersion "${VIVERSION}"
; The uninstaller is written from the installer and carries the same version resource.
VIAddVersionKey /LANG=1031 "ProductName" "${APP}"
VIAddVersionKey /LANG=1031 "CompanyName" "Die Entwickler von Teiler"
VIAddVersionKey /LANG=1031 "FileDescription" "${APP} – Installation und Deinstallation"
VIAddVersionKey /LANG=1031 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "LegalCopyright" "GPL-3.0-or-later, die Entwickler von Teiler"

!define MUI_ABORTWARNING
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
; No "Teiler jetzt starten" on the finish page: the installer runs as administrator, and a Teiler
; started from it would too, keeping its recent boards and recovery files in the administrator's
; profile instead of the teacher's. Teiler is started from the Start menu.
!insertmacro MUI_PAGE_WELCOME
; The GPL asks nobody to agree to it before using the program: the page shows it, and "Weiter"
; goes on.
!define MUI_PAGE_HEADER_TEXT "Lizenz"
!define MUI_PAGE_HEADER_SUBTEXT "Teiler ist freie Software unter der GNU General Public License."
!define MUI_LICENSEPAGE_TEXT_TOP "Der Text der GNU General Public License, Version 3:"
!define MUI_LICENSEPAGE_TEXT_BOTTOM "Die Lizenzen der beigelegten Qt- und MinGW-Bibliotheken stehen nach der Installation im Ordner „Lizenzen“, erklärt in LIESMICH.txt."
!define MUI_LICENSEPAGE_BUTTON "&Weiter >"
!insertmacro MUI_PAGE_LICENSE "${LICENCE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!define MUI_CUSTOMFUNCTION_UNGUIEND un.RemoveTempCopy
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "German"

; Files in use cannot be replaced or removed, and an open board may hold unsaved work: while
; Teiler is open, the installer and the uninstaller ask to close it first and never close it
; themselves. Run silently, they end with exit code 2 and leave everything as it was.
!define STILL_OPEN "Teiler ist noch geöffnet.$\r$\n$\r$\nBitte speichern Sie Ihre Tafel, schließen Sie Teiler (bei mehreren Benutzern: in jeder Sitzung) und klicken Sie dann auf „Wiederholen“."
!macro WAIT_TILL_CLOSED
  ${Do}
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${RUNNING}") p .r0'
    ${If} $0 P= 0
      ${Break}
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r0)'
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${STILL_OPEN}" /SD IDCANCEL IDRETRY +2
    Abort
  ${Loop}
!macroend

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "Teiler braucht ein 64-Bit-Windows." /SD IDOK
    Abort
  ${EndIf}
  ${IfNot} ${AtLeastBuild} 10240
    MessageBox MB_ICONSTOP "Teiler braucht Windows 10 oder neuer. Auf diesem Windows lässt es sich nicht installieren." /SD IDOK
    Abort
  ${EndIf}
  SetRegView 64
  SetShellVarContext all
  !insertmacro WAIT_TILL_CLOSED
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
  !insertmacro WAIT_TILL_CLOSED
FunctionEnd

; The outermost folder of $INSTDIR that does not exist yet, which the installation will make
; (C:\Schule for /D=C:\Schule\Programme\Teiler on a computer without C:\Schule); empty when
; $INSTDIR exists already.
Function FirstMadeFolder
  StrCpy $1 ""
  StrCpy $0 "$INSTDIR"
  ${DoUntil} ${FileExists} "$0\*.*"
    StrCpy $1 "$0"
    ${GetParent} "$0" $0
    ${IfThen} $0 == "" ${|} ${Break} ${|}
  ${Loop}
FunctionEnd

Section "Teiler"
  ; An update finds the folder made by the first installation and keeps what that noted.
  Call FirstMadeFolder
  ${If} $1 != ""
    WriteRegStr HKLM "Software\${APP}" "MadeFolder" "$1"
  ${EndIf}
  !include "${FILES}"
  WriteUninstaller "$INSTDIR\Deinstallieren.exe"

  ; The links run in the installation folder, not in the last folder files went to.
  SetOutPath "$INSTDIR"
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
  ; "Apps" shows the size, in KB.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Windows runs the uninstaller from a copy in a folder ~nsu*.tmp in Temp and would remove that
; only at its next start. Once this copy has ended, a hidden command prompt removes the folder; it
; tries again a few seconds later on a busy computer. Wine's command prompt knows no more than
; this of loops.
Function un.RemoveTempCopy
  ${GetFileName} "$EXEDIR" $0
  StrCpy $0 $0 4
  ${If} $0 == "~nsu"
    ; The prompt starts in $OUTDIR, which must not be the folder it removes.
    SetOutPath "$TEMP"
    Exec '"$SYSDIR\cmd.exe" /c ping -n 3 127.0.0.1 >nul & rmdir /s /q "$EXEDIR" 2>nul & if exist "$EXEDIR" ping -n 6 127.0.0.1 >nul & rmdir /s /q "$EXEDIR"'
  ${EndIf}
FunctionEnd

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
  ; The installation folder, and the empty folders above it that the installation made.
  ReadRegStr $1 HKLM "Software\${APP}" "MadeFolder"
  StrCpy $0 "$INSTDIR"
  ${Do}
    ClearErrors
    RMDir "$0"
    ${If} ${Errors}
    ${OrIf} $0 == $1
    ${OrIf} $1 == ""
      ${Break}
    ${EndIf}
    ${GetParent} "$0" $0
  ${LoopUntil} $0 == ""

  ; The installation's own values; the presets an administrator wrote below the key stay.
  DeleteRegValue HKLM "Software\${APP}" "MadeFolder"
  DeleteRegValue HKLM "Software\${APP}" "InstallDir"
  DeleteRegKey /ifempty HKLM "Software\${APP}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  ${If} ${Silent}
    Call un.RemoveTempCopy
  ${EndIf}
SectionEnd
