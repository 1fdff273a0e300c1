; The Baudix installer, built by scripts/package with makensis, which defines
; VERSION ("1.0"), VERSION_NUMBERS ("1.0.0.0"), STAGE (the folder holding the
; files to install), ICON and OUTFILE.
;
; Started without administrator rights it installs for the current user under
; %LOCALAPPDATA%\Programs\Baudix; started elevated, for all users under
; Program Files. The shortcut and the uninstall entry follow the same choice
; (SHCTX is HKCU or HKLM after SetShellVarContext). /S installs silently,
; /D=<folder> chooses another folder. Neither the installer nor the
; uninstaller touches the folder of a Baudix that runs.

; Wine here runs 64-bit programs only, and Baudix is one.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define APP "Baudix"
!define PUBLISHER "The Baudix developers"
!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}"

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${APP} ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\${APP}.exe"
!define MUI_FINISHPAGE_RUN_TEXT "${APP} jetzt starten"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "German"

VIProductVersion "${VERSION_NUMBERS}"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductName" "${APP}"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileDescription" "${APP} ${VERSION} installieren"
VIAddVersionKey /LANG=${LANG_GERMAN} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_GERMAN} "LegalCopyright" "Copyright (c) 2026 ${PUBLISHER}, MIT-Lizenz"

Var Elevated
!define TOKEN_QUERY 8
!define TokenElevation 20

; Sets $Elevated to 1 when the process runs elevated ("Als Administrator
; ausführen"); an administrator's ordinary, filtered token gives 0.
; The program holds, while it runs, a mutex named after its folder
; (app/RunningMark.h): "Global\Baudix " and the folder in upper case with
; "/" for "\". As long as the one of $INSTDIR exists (or belongs to another
; user, which makes it inaccessible), the user is asked to close Baudix and
; retry; cancelled, or silent, the setup ends with exit code 32 (a file in
; use) before it has changed anything.
!define SYNCHRONIZE 0x00100000
!define ERROR_ACCESS_DENIED 5
!define ERROR_SHARING_VIOLATION 32
!macro WAIT_FOR_PROGRAM_END UN MESSAGE
Function ${UN}WaitForProgramEnd
  retry:
  StrCpy $1 "$INSTDIR"
  StrLen $2 $1
  System::Call 'user32::CharUpperBuffW(w r1 r1, i r2)'
  StrCpy $3 ""
  StrCpy $4 0
  ${DoWhile} $4 < $2
    StrCpy $5 $1 1 $4
    ${IfThen} $5 == "\" ${|} StrCpy $5 "/" ${|}
    StrCpy $3 "$3$5"
    IntOp $4 $4 + 1
  ${Loop}
  System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "Global\${APP} $3") p .r5 ? e'
  Pop $6
  ${If} $5 != 0
    System::Call 'kernel32::CloseHandle(p r5)'
  ${ElseIf} $6 != ${ERROR_ACCESS_DENIED}
    Return
  ${EndIf}
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${MESSAGE}" /SD IDCANCEL IDRETRY retry
  SetErrorLevel ${ERROR_SHARING_VIOLATION}
  Quit
FunctionEnd
!macroend
!insertmacro WAIT_FOR_PROGRAM_END "" "${APP} läuft noch. Bitte beenden Sie ${APP} und wählen Sie dann „Wiederholen“, um die Installation fortzusetzen."
!insertmacro WAIT_FOR_PROGRAM_END "un." "${APP} läuft noch. Bitte beenden Sie ${APP} und wählen Sie dann „Wiederholen“, um es zu entfernen."

!macro ReadElevation
  StrCpy $Elevated 0
  System::Call 'advapi32::OpenProcessToken(p -1, i ${TOKEN_QUERY}, *p .r1) i .r0'
  ${If} $0 <> 0
    System::Call 'advapi32::GetTokenInformation(p r1, i ${TokenElevation}, *i .r2, i 4, *i .r3) i .r0'
    ${IfThen} $0 <> 0 ${|} StrCpy $Elevated $2 ${|}
    System::Call 'kernel32::CloseHandle(p r1)'
  ${EndIf}
!macroend

Function .onInit
  !insertmacro ReadElevation
  ; $INSTDIR is empty unless /D= gave a folder.
  ${If} $Elevated <> 0
    SetShellVarContext all
    ${IfThen} $INSTDIR == "" ${|} StrCpy $INSTDIR "$PROGRAMFILES64\${APP}" ${|}
  ${Else}
    SetShellVarContext current
    ${IfThen} $INSTDIR == "" ${|} StrCpy $INSTDIR "$LOCALAPPDATA\Programs\${APP}" ${|}
  ${EndIf}
FunctionEnd

Section
  Call WaitForProgramEnd
  SetOutPath "$INSTDIR"
  File "${STAGE}/*"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\${APP}.exe"

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${APP}.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; An installation for all users is the one whose folder HKLM names.
Function un.onInit
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    !insertmacro ReadElevation
    ${If} $Elevated = 0
      MessageBox MB_ICONSTOP "${APP} ist für alle Benutzer installiert. Bitte die Deinstallation als Administrator ausführen." /SD IDOK
      SetErrorLevel 5
      Quit
    ${EndIf}
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
FunctionEnd

; Only what the installer put there goes; a folder that holds anything else
; stays.
Section "Uninstall"
  Call un.WaitForProgramEnd
  Delete "$INSTDIR\${APP}.exe"
  Delete "$INSTDIR\baudix-table.exe"
  Delete "$INSTDIR\LIESMICH.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${APP}.lnk"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
