; Palio 2015 for Windows: a per-user installation that needs no administrator.
; Built by the CMake target "installatore" (installer/pacchetto.cmake), which passes the lists of
; the files to install and remove (INSTALLA, RIMUOVI), the output file and the version; FINESTRE
; when the desktop program is part of it.
; A 64-bit installer for 64-bit programs (Debian's wine64 runs no 32-bit program).
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "MUI2.nsh"
!include "LogicLib.nsh"

!define NOME "Palio 2015"
!define CHIAVE "Software\Microsoft\Windows\CurrentVersion\Uninstall\Palio2015"
; The program's own fixed folder on Windows: the configuration and the archives live there, not
; in the installation folder, and stay when the program is removed.
!define RAVO "C:\RAVO\Zefo2015"

Name "${NOME}"
OutFile "${USCITA}"
InstallDir "$LOCALAPPDATA\Programs\Palio 2015"
InstallDirRegKey HKCU "${CHIAVE}" "InstallLocation"
BrandingText "${NOME} ${VERSIONE}"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Italian"

Section "${NOME}"
  SetShellVarContext current
!include "${INSTALLA}"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Disinstalla.exe"

  CreateDirectory "$SMPROGRAMS\${NOME}"
!ifdef FINESTRE
  CreateShortcut "$SMPROGRAMS\${NOME}\${NOME}.lnk" "$INSTDIR\palio2015.exe"
!endif
  ; The batch command in a command window opened on the installation folder.
  CreateShortcut "$SMPROGRAMS\${NOME}\${NOME} - riga di comando.lnk" "$SYSDIR\cmd.exe" \
    '/k "$INSTDIR\palio2015-cli.exe"'
  CreateShortcut "$SMPROGRAMS\${NOME}\Disinstalla ${NOME}.lnk" "$INSTDIR\Disinstalla.exe"

  WriteRegStr HKCU "${CHIAVE}" "DisplayName" "${NOME}"
  WriteRegStr HKCU "${CHIAVE}" "DisplayVersion" "${VERSIONE}"
  WriteRegStr HKCU "${CHIAVE}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${CHIAVE}" "UninstallString" '"$INSTDIR\Disinstalla.exe"'
  WriteRegStr HKCU "${CHIAVE}" "QuietUninstallString" '"$INSTDIR\Disinstalla.exe" /S'
  WriteRegDWORD HKCU "${CHIAVE}" "NoModify" 1
  WriteRegDWORD HKCU "${CHIAVE}" "NoRepair" 1

  ; On a PC with no archive configured yet the program starts on the example archive; an
  ; existing configuration and archive are never touched.
  ${IfNot} ${FileExists} "${RAVO}\zefo2015.ini"
    ${IfNot} ${FileExists} "${RAVO}\Esempio\Zefo2015.db"
      CreateDirectory "${RAVO}\Esempio"
      CopyFiles /SILENT "$INSTDIR\Esempio\Zefo2015.db" "${RAVO}\Esempio"
    ${EndIf}
    ClearErrors
    FileOpen $0 "${RAVO}\zefo2015.ini" w
    ${If} ${Errors}
      DetailPrint "Impossibile scrivere ${RAVO}\zefo2015.ini: il programma chiederà quale archivio aprire."
    ${Else}
      FileWrite $0 "${RAVO}\Esempio$\r$\n"
      FileClose $0
      DetailPrint "Archivio di esempio configurato: ${RAVO}\Esempio"
    ${EndIf}
  ${EndIf}
SectionEnd

Section "Uninstall"
  SetShellVarContext current
!include "${RIMUOVI}"
  Delete "$INSTDIR\Disinstalla.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${NOME}\${NOME}.lnk"
  Delete "$SMPROGRAMS\${NOME}\${NOME} - riga di comando.lnk"
  Delete "$SMPROGRAMS\${NOME}\Disinstalla ${NOME}.lnk"
  RMDir "$SMPROGRAMS\${NOME}"
  DeleteRegKey HKCU "${CHIAVE}"
SectionEnd
