; The setup program of Holvex 2004, built by cmake/Setup.cmake beside the release archive:
;   makensis -INPUTCHARSET UTF8 -DVERSION=2.3.0.8 -DPROGRAM=holvex.exe -DGUIDE=Anleitung.txt
;            -DLICENCE=LICENSE.txt -DICON=holvex.ico -DOUTFILE=holvex-2.3.0.8-setup.exe holvex.nsi
; It installs for the current user alone and asks for no administrator rights: the program
; keeps load.hvq and load.ini next to holvex.exe, so it must live in a folder its user may
; write. The uninstaller leaves those two files unless the user asks for them to go.

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel user
; A file that cannot be written (the program still running) ends the setup instead of being
; skipped without a word.
AllowSkipFiles off

!include MUI2.nsh
!include LogicLib.nsh

!define PRODUCT "Holvex 2004"
!define PUBLISHER "Holvex"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; Where the program's "Mit Windows starten" writes its value.
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
; An update goes where the last installation went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1031 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1031 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1031 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1031 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "LegalCopyright" "MIT-Lizenz"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "Dieser Assistent installiert ${PRODUCT} ${VERSION} für Sie, in Ihren eigenen Programmordner. Administratorrechte braucht es dafür nicht.$\r$\n$\r$\nIst ${PRODUCT} schon installiert, wird das Programm ersetzt; Ihre Warteschlange und Ihre Einstellungen bleiben, wie sie sind. Beenden Sie ${PRODUCT} vorher, falls es läuft.$\r$\n$\r$\nKlicken Sie auf Weiter, um fortzufahren."
!define MUI_FINISHPAGE_RUN "$INSTDIR\holvex.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\Anleitung.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Anleitung lesen"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENCE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "German"

; A running holvex.exe cannot be replaced or removed, and it would write its queue again when
; it ends: ask for it to be closed first. Silent runs end with an error instead.
!macro WAIT_FOR_PROGRAM_TO_END UN
Function ${UN}WaitForProgramToEnd
  ${DoWhile} ${FileExists} "$INSTDIR\holvex.exe"
    ClearErrors
    FileOpen $0 "$INSTDIR\holvex.exe" a
    ${IfNot} ${Errors}
      FileClose $0
      ${Break}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} läuft noch.$\r$\n$\r$\nBitte beenden Sie das Programm (Datei -> Beenden) und klicken Sie dann auf Wiederholen." /SD IDCANCEL IDRETRY +2
    Abort "${PRODUCT} läuft noch."
  ${Loop}
FunctionEnd
!macroend
!insertmacro WAIT_FOR_PROGRAM_TO_END ""
!insertmacro WAIT_FOR_PROGRAM_TO_END "un."

Section "Holvex 2004" SecProgram
  Call WaitForProgramToEnd
  SetOutPath "$INSTDIR"
  ; load.hvq and load.ini of an earlier installation stay as they are.
  File "/oname=holvex.exe" "${PROGRAM}"
  File "/oname=Anleitung.txt" "${GUIDE}"
  File "/oname=LICENSE.txt" "${LICENCE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\holvex.exe" "" "$INSTDIR\holvex.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\holvex.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ; In KB: the files above and the uninstaller, as the list of installed programs shows it.
  SectionGetSize ${SecProgram} $0
  FileOpen $1 "$INSTDIR\uninstall.exe" r
  FileSeek $1 0 END $2
  FileClose $1
  IntOp $2 $2 / 1024
  IntOp $0 $0 + $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  Call un.WaitForProgramToEnd

  ${If} ${FileExists} "$INSTDIR\load.hvq"
  ${OrIf} ${FileExists} "$INSTDIR\load.ini"
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON1 "Sollen Ihre Warteschlange (load.hvq) und Ihre Einstellungen (load.ini) erhalten bleiben?$\r$\n$\r$\nMit $\"Ja$\" bleiben sie im Ordner $INSTDIR und gelten wieder, wenn Sie ${PRODUCT} dorthin installieren." /SD IDYES IDYES +3
    Delete "$INSTDIR\load.hvq"
    Delete "$INSTDIR\load.ini"
  ${EndIf}

  ; The autostart value goes only when it starts this copy of the program; the program
  ; writes the path in quotes when it holds a blank.
  ReadRegStr $0 HKLM "${RUN_KEY}" "${PRODUCT}"
  ${If} $0 == "$INSTDIR\holvex.exe"
  ${OrIf} $0 == '"$INSTDIR\holvex.exe"'
    ClearErrors
    DeleteRegValue HKLM "${RUN_KEY}" "${PRODUCT}"
    ${If} ${Errors}
      MessageBox MB_OK|MB_ICONEXCLAMATION "Der Eintrag $\"${PRODUCT}$\" unter Mit Windows starten ließ sich nicht entfernen: Dazu braucht es Administratorrechte." /SD IDOK
    ${EndIf}
  ${EndIf}

  Delete "$INSTDIR\holvex.exe"
  Delete "$INSTDIR\Anleitung.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  ; Last, so that the entry stays listed if anything above ended the uninstaller.
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
