; The setup program: installs Korvan Screenshot for the current user only, without
; administrator rights, into the user's local programs folder.
; The build passes (installer/CMakeLists.txt): VERSION, VERSION_MAJOR, VERSION_MINOR,
; PRODUCT, PUBLISHER, EXE_NAME, PROGRAM (the built program file), ICON, OUTDIR, SETUP_NAME.
; Silent use: /S installs (add /STARTWITHWINDOWS to start with Windows); the uninstaller's
; /S keeps the settings.
Unicode true
Target amd64-unicode
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\KorvanScreenshot"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "KorvanScreenshot"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"
!define UNINSTALLER "uninstall.exe"
; What the program itself writes under HKEY_CURRENT_USER: the frame keys, and under the
; program file's name the window placements and the pick cursor's marker.
!define SETTINGS_ROOT "Software\Snapdeck2"
!define FRAME_KEYS_KEY "Software\Snapdeck2\keysettings"
!define PROGRAM_KEY "Software\KorvanScreenshot"
; A running copy of any version shows its main window: this class, a title starting
; with the product name. A copy of this version also holds a mutex per user and session,
; from its first moment on (before its windows exist); the name ends with the user name.
!define MAIN_WINDOW_CLASS "TMainfrm"
!define INSTANCE_MUTEX_PREFIX "Local\KorvanScreenshot.Instance."
!define SYNCHRONIZE 0x00100000

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTDIR}\${SETUP_NAME}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "$(WelcomeText)"
!define MUI_COMPONENTSPAGE_SMALLDESC
!define MUI_COMPONENTSPAGE_TEXT_TOP "$(ComponentsText)"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION StartProgram

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The same two languages as the program; the system's language chooses.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"

LangString WelcomeText ${LANG_ENGLISH} "Setup will install ${PRODUCT} ${VERSION} for you alone, in your own programs folder, with an entry in the Start menu. No administrator rights are needed.$\r$\n$\r$\nClick Next to continue."
LangString WelcomeText ${LANG_GERMAN} "Setup installiert ${PRODUCT} ${VERSION} nur für Sie, in Ihrem eigenen Programmordner, mit einem Eintrag im Startmenü. Administratorrechte sind nicht nötig.$\r$\n$\r$\nKlicken Sie auf Weiter, um fortzufahren."
LangString ComponentsText ${LANG_ENGLISH} "Choose whether ${PRODUCT} starts each time you sign in to Windows. Click Next to continue."
LangString ComponentsText ${LANG_GERMAN} "Wählen Sie, ob ${PRODUCT} bei jeder Anmeldung an Windows startet. Klicken Sie auf Weiter, um fortzufahren."
LangString SectionProgram ${LANG_ENGLISH} "${PRODUCT}"
LangString SectionProgram ${LANG_GERMAN} "${PRODUCT}"
LangString SectionAutostart ${LANG_ENGLISH} "Start with Windows"
LangString SectionAutostart ${LANG_GERMAN} "Mit Windows starten"
LangString DescribeProgram ${LANG_ENGLISH} "The program and its Start menu entry."
LangString DescribeProgram ${LANG_GERMAN} "Das Programm und sein Eintrag im Startmenü."
LangString DescribeAutostart ${LANG_ENGLISH} "Starts ${PRODUCT} each time you sign in to Windows."
LangString DescribeAutostart ${LANG_GERMAN} "Startet ${PRODUCT} bei jeder Anmeldung an Windows."
LangString ProgramRunning ${LANG_ENGLISH} "${PRODUCT} is running.$\r$\n$\r$\nPlease close it, then choose Retry."
LangString ProgramRunning ${LANG_GERMAN} "${PRODUCT} läuft gerade.$\r$\n$\r$\nBitte beenden Sie das Programm und wählen Sie dann Wiederholen."
LangString StillRunning ${LANG_ENGLISH} "${PRODUCT} is still running."
LangString StillRunning ${LANG_GERMAN} "${PRODUCT} läuft noch."
LangString RemoveSettings ${LANG_ENGLISH} "Also remove your settings of ${PRODUCT} (frame keys and window positions)?"
LangString RemoveSettings ${LANG_GERMAN} "Auch Ihre Einstellungen von ${PRODUCT} (Rahmentasten und Fensterpositionen) entfernen?"

VIProductVersion "${VERSION_MAJOR}.${VERSION_MINOR}.0.0"
VIFileVersion "${VERSION_MAJOR}.${VERSION_MINOR}.0.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "© ${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "OriginalFilename" "${SETUP_NAME}"

; Leaves 1 on the stack when the program's mutex or one of its main windows exists, else 0.
!macro DEFINE_FIND_RUNNING_PROGRAM PREFIX
Function ${PREFIX}FindRunningProgram
  Push $0
  Push $1
  Push $2
  System::Call 'advapi32::GetUserNameW(w .r1, *i ${NSIS_MAX_STRLEN}) i .r0'
  ${If} $0 <> 0
    System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${INSTANCE_MUTEX_PREFIX}$1") p .r0'
    ${If} $0 P<> 0
      System::Call 'kernel32::CloseHandle(p r0)'
      StrCpy $0 1
      Goto mutexFound
    ${EndIf}
  ${EndIf}
  StrCpy $0 0
  StrLen $2 "${PRODUCT}"
  ${Do}
    FindWindow $0 "${MAIN_WINDOW_CLASS}" "" 0 $0
    ${If} $0 = 0
      ${Break}
    ${EndIf}
    System::Call 'user32::GetWindowTextW(p r0, w .r1, i ${NSIS_MAX_STRLEN}) i'
    StrCpy $1 $1 $2
    ${If} $1 == "${PRODUCT}"
      ${Break}
    ${EndIf}
  ${Loop}
  ${If} $0 <> 0
    StrCpy $0 1
  ${EndIf}
  mutexFound:
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; Nothing is closed by force: the user is asked to close the program, as often as needed.
; Cancel (and silent mode, which cannot ask) stops the setup with nothing changed.
Function ${PREFIX}AskUntilProgramClosed
  Push $0
  ${Do}
    Call ${PREFIX}FindRunningProgram
    Pop $0
    ${If} $0 = 0
      ${Break}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(ProgramRunning)" /SD IDCANCEL IDRETRY +2
    Abort "$(StillRunning)"
  ${Loop}
  Pop $0
FunctionEnd
!macroend
!insertmacro DEFINE_FIND_RUNNING_PROGRAM ""
!insertmacro DEFINE_FIND_RUNNING_PROGRAM "un."

Section "$(SectionProgram)" SectionProgram
  SectionIn RO
  Call AskUntilProgramClosed
  SetOutPath "$INSTDIR"
  File "/oname=${EXE_NAME}" "${PROGRAM}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  ; The program saves its help text and automatic pictures in its working folder: from
  ; the Start menu that is the user's documents, not the program folder.
  SetOutPath "$DOCUMENTS"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\${EXE_NAME}" "" "$INSTDIR\${EXE_NAME}" 0
  ; The start-with-Windows choice is made anew on each install.
  DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  Call WriteUninstallEntry
SectionEnd

Section /o "$(SectionAutostart)" SectionAutostart
  WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\${EXE_NAME}"'
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SectionProgram} "$(DescribeProgram)"
  !insertmacro MUI_DESCRIPTION_TEXT ${SectionAutostart} "$(DescribeAutostart)"
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function WriteUninstallEntry
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "VersionMajor" ${VERSION_MAJOR}
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "VersionMinor" ${VERSION_MINOR}
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE_NAME},0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
FunctionEnd

Function StartProgram
  SetOutPath "$DOCUMENTS"
  Exec '"$INSTDIR\${EXE_NAME}"'
FunctionEnd

Function .onInit
  ; An earlier choice to start with Windows stays chosen; /STARTWITHWINDOWS chooses it.
  ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${GetParameters} $1
  ClearErrors
  ${GetOptions} $1 "/STARTWITHWINDOWS" $2
  ${If} $0 != ""
  ${OrIfNot} ${Errors}
    !insertmacro SelectSection ${SectionAutostart}
  ${EndIf}
  Call AskUntilProgramClosed
FunctionEnd

Function un.onInit
  Call un.AskUntilProgramClosed
FunctionEnd

Section "Uninstall"
  Call un.AskUntilProgramClosed
  ; Asked first, so the answer is in before anything is gone; silent mode keeps them.
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "$(RemoveSettings)" /SD IDNO IDNO keepSettings
    DeleteRegKey HKCU "${FRAME_KEYS_KEY}"
    DeleteRegKey /ifempty HKCU "${SETTINGS_ROOT}"
    DeleteRegKey HKCU "${PROGRAM_KEY}"
  keepSettings:
  Delete "${SHORTCUT}"
  DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  Delete "$INSTDIR\${EXE_NAME}"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Kept when it still holds files of the user's own.
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
