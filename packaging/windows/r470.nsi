; The Windows installer of R470. Built by CMake's `installer` target, which stages the files
; and passes:
;   VERSION    program version, e.g. 3.04        PUBLISHER  company name
;   STAGE      folder with the staged files      FILES      prefix of the file lists
;   LICENSE    the licence text                  OUTFILE    the setup file to write
; Per machine into Program Files when run by an administrator, else (or with /CurrentUser)
; per user into the user's own programs folder. Silent: /S, and /D=folder as usual.

!ifndef VERSION | PUBLISHER | STAGE | FILES | LICENSE | OUTFILE
  !error "Run through the build's installer target (VERSION, PUBLISHER, STAGE, FILES, LICENSE, OUTFILE)."
!endif

; 64-bit: a 32-bit installer in a 64-bit-only environment installs nothing yet reports success.
Target amd64-unicode
ManifestSupportedOS Win10
ManifestDPIAware true
RequestExecutionLevel highest
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define PRODUCT "R470"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\R470"
!define PROGID "R470.Waveform"
!define APP_KEY "Software\Classes\Applications\r470.exe"
!searchparse /noerrors "${VERSION}" "" VERSION_MAJOR "." VERSION_MINOR
!define /math VERSION_MINOR_NUMBER ${VERSION_MINOR} + 0

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION_MAJOR}.${VERSION_MINOR_NUMBER}.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2017-2026 ${PUBLISHER}"

Var PerMachine

!define MUI_ICON "${STAGE}/r470.ico"
!define MUI_UNICON "${STAGE}/r470.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT}"
!define MUI_FINISHPAGE_RUN_FUNCTION StartProgram
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\r470-manual.html"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Show the manual"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The staged files are named relative to the stage.
!cd "${STAGE}"

; The program's working folder holds its file dialogs' start and the last transmission's
; raw copy. Shortcuts start in the program's own folder, which the program takes as "the
; user's own Documents" ($DOCUMENTS here may be the Public one all users share).
!macro ProgramShortcut LINK
  SetOutPath "$INSTDIR"
  CreateShortCut "${LINK}" "$INSTDIR\r470.exe" "" "$INSTDIR\r470.exe" 0
!macroend

; A program of ours still running would be left as a mix of two versions, or keep files the
; uninstaller should remove: said, with Retry; silent, the setup ends with exit code 3 having
; changed nothing. Found by name among the processes, and by its file in the folder (a
; running program's file cannot be opened for writing).
!macro RefuseWhileRunning UN
Function ${UN}ProcessRunning ; name on the stack -> 1 or 0 on the stack
  Exch $R0
  Push $R1
  Push $R2
  Push $R3
  Push $R4
  StrCpy $R4 0
  System::Call 'kernel32::CreateToolhelp32Snapshot(i 2, i 0) p .R1'
  ${If} $R1 != -1
    ; PROCESSENTRY32W: dwSize, 3 x DWORD and padding, ULONG_PTR, 5 x DWORD, szExeFile[260]
    System::Call '*(i 568, i, i, i, l, i, i, i, i, i, &w260) p .R2'
    System::Call 'kernel32::Process32FirstW(p R1, p R2) i .R3'
    ${DoWhile} $R3 != 0
      System::Call '*$R2(i, i, i, i, l, i, i, i, i, i, &w260 .R3)'
      ${If} $R3 == $R0
        StrCpy $R4 1
        ${Break}
      ${EndIf}
      System::Call 'kernel32::Process32NextW(p R1, p R2) i .R3'
    ${Loop}
    System::Free $R2
    System::Call 'kernel32::CloseHandle(p R1)'
  ${EndIf}
  StrCpy $R0 $R4
  Pop $R4
  Pop $R3
  Pop $R2
  Pop $R1
  Exch $R0
FunctionEnd

Function ${UN}RefuseWhileRunning
  check:
  StrCpy $R8 ""
  ${ForEach} $R7 0 1 + 1
    ${If} $R8 == ""
      ${If} $R7 == 0
        StrCpy $R6 "r470.exe"
      ${Else}
        StrCpy $R6 "tdrtool.exe"
      ${EndIf}
      Push $R6
      Call ${UN}ProcessRunning
      Pop $R5
      ${If} $R5 == 1
        StrCpy $R8 $R6
      ${ElseIf} ${FileExists} "$INSTDIR\$R6"
        ClearErrors
        FileOpen $R9 "$INSTDIR\$R6" a
        ${If} ${Errors}
          StrCpy $R8 $R6
        ${Else}
          FileClose $R9
        ${EndIf}
      ${EndIf}
    ${EndIf}
  ${Next}
  ${If} $R8 != ""
    ${If} ${Silent}
      SetErrorLevel 3
      Quit
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$R8 is running.$\r$\nClose it, then choose Retry." IDRETRY check
    SetErrorLevel 3
    Quit
  ${EndIf}
FunctionEnd
!macroend
!insertmacro RefuseWhileRunning ""
!insertmacro RefuseWhileRunning "un."

Section "${PRODUCT} (required)" SecMain
  SectionIn RO
  Call RefuseWhileRunning
  !include "${FILES}-install.nsh"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  !insertmacro ProgramShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\${PRODUCT} manual.lnk" "$INSTDIR\r470-manual.html"

  ; .KEL files: r470 in "Open with", and the default where no other program has it.
  WriteRegStr SHCTX "Software\Classes\${PROGID}" "" "${PRODUCT} waveform"
  WriteRegStr SHCTX "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\r470.exe,0"
  WriteRegStr SHCTX "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\r470.exe" "%1"'
  WriteRegStr SHCTX "Software\Classes\.KEL\OpenWithProgids" "${PROGID}" ""
  ReadRegStr $0 SHCTX "Software\Classes\.KEL" ""
  ${If} $0 == ""
    WriteRegStr SHCTX "Software\Classes\.KEL" "" "${PROGID}"
  ${EndIf}
  WriteRegStr SHCTX "${APP_KEY}" "FriendlyAppName" "${PRODUCT}"
  WriteRegStr SHCTX "${APP_KEY}\SupportedTypes" ".KEL" ""
  WriteRegStr SHCTX "${APP_KEY}\shell\open\command" "" '"$INSTDIR\r470.exe" "%1"'
  ; SHCNE_ASSOCCHANGED: Explorer rereads the associations.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  WriteRegStr SHCTX "${UNINST_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
  WriteRegStr SHCTX "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\r470.exe,0"
  WriteRegStr SHCTX "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr SHCTX "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINST_KEY}" "NoRepair" 1
  SectionGetSize ${SecMain} $0
  WriteRegDWORD SHCTX "${UNINST_KEY}" "EstimatedSize" $0
SectionEnd

Section "Desktop shortcut" SecDesktop
  !insertmacro ProgramShortcut "$DESKTOP\${PRODUCT}.lnk"
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecMain} "The program, the command-line tool tdrtool, the sample waveforms and the manual."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecDesktop} "A shortcut to ${PRODUCT} on the desktop."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/CurrentUser" $R1
  ${If} ${Errors}
    UserInfo::GetAccountType
    Pop $R1
    ${If} $R1 == "Admin"
      StrCpy $PerMachine 1
    ${EndIf}
  ${EndIf}
  ${If} $PerMachine == 1
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
  ; An upgrade goes where the installed copy is (one installed with /D=C:\Tools\R470 too),
  ; so that no old copy stays behind under a second name.
  ${If} $INSTDIR == ""
    ReadRegStr $INSTDIR SHCTX "${UNINST_KEY}" "InstallLocation"
  ${EndIf}
  ${If} $INSTDIR == ""
  ${AndIf} $PerMachine == 1
    StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
  ${ElseIf} $INSTDIR == ""
    StrCpy $INSTDIR "$LOCALAPPDATA\Programs\${PRODUCT}"
  ${EndIf}
FunctionEnd

; Never elevated: started through Explorer, the program runs as the signed-in user, whose
; files it then writes. It starts in its own folder, and so in the user's Documents.
Function StartProgram
  SetOutPath "$INSTDIR"
  ${If} $PerMachine == 1
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\r470.exe"'
  ${Else}
    Exec '"$INSTDIR\r470.exe"'
  ${EndIf}
FunctionEnd

; The uninstaller removes exactly what was installed: the settings file and any waveform the
; user saved in these folders stay, and so do the folders holding them.
Section "Uninstall"
  !include "${FILES}-uninstall.nsh"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT} manual.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  Delete "$DESKTOP\${PRODUCT}.lnk"

  DeleteRegKey SHCTX "Software\Classes\${PROGID}"
  DeleteRegValue SHCTX "Software\Classes\.KEL\OpenWithProgids" "${PROGID}"
  ReadRegStr $0 SHCTX "Software\Classes\.KEL" ""
  ${If} $0 == "${PROGID}"
    DeleteRegValue SHCTX "Software\Classes\.KEL" ""
  ${EndIf}
  DeleteRegKey /ifempty SHCTX "Software\Classes\.KEL\OpenWithProgids"
  DeleteRegKey /ifempty SHCTX "Software\Classes\.KEL"
  DeleteRegKey SHCTX "${APP_KEY}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
  DeleteRegKey SHCTX "${UNINST_KEY}"
SectionEnd

Function un.onInit
  ; Per machine when the machine-wide entry names this folder: only an administrator may
  ; remove it, which a standard user is told rather than left with nothing done.
  ReadRegStr $R0 HKLM "${UNINST_KEY}" "InstallLocation"
  ${If} $R0 == $INSTDIR
    SetShellVarContext all
    UserInfo::GetAccountType
    Pop $R1
    ${If} $R1 != "Admin"
      ${IfNot} ${Silent}
        MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} was installed for all users of this computer.$\r$\nRemoving it needs an administrator: start the uninstall again as one."
      ${EndIf}
      SetErrorLevel 5
      Quit
    ${EndIf}
  ${Else}
    SetShellVarContext current
  ${EndIf}
  Call un.RefuseWhileRunning
FunctionEnd
