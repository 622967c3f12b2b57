; The Windows setup program, made by scripts/windows/build with Debian's makensis from the
; staged program. Defines given by the build: VERSION, STAGE (the staged folder), OUTFILE,
; FILES (Delete and RMDir lines for every
; installed file and folder, deepest first, for the uninstaller), ICON.
;
; It installs under Program Files for every user, adds a Start-menu entry, makes .ZVX files
; open in the program and registers an uninstaller. The uninstaller removes only what the
; setup put there: the user's configuration files, settings (%APPDATA%\zorvex) and archive
; (%LOCALAPPDATA%\zorvex) stay.

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "x64.nsh"

!define PRODUCT "Programator dialera Zorvex"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zorvex"
!define FILE_CLASS "Zorvex.Konfiguracja"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Zorvex"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\zorvex.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Polish"

Function .onInit
    ${IfNot} ${RunningX64}
        MessageBox MB_ICONSTOP "Program działa tylko w 64-bitowym systemie Windows."
        Abort
    ${EndIf}
    SetRegView 64
FunctionEnd

Function un.onInit
    SetRegView 64
FunctionEnd

Section "Program"
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File /r "${STAGE}\*.*"
    WriteUninstaller "$INSTDIR\odinstaluj.exe"

    CreateDirectory "$SMPROGRAMS\Zorvex"
    CreateShortcut "$SMPROGRAMS\Zorvex\${PRODUCT}.lnk" "$INSTDIR\zorvex.exe"
    CreateShortcut "$SMPROGRAMS\Zorvex\Odinstaluj.lnk" "$INSTDIR\odinstaluj.exe"

    ; .ZVX files open in the program.
    WriteRegStr HKLM "Software\Classes\.zvx" "" "${FILE_CLASS}"
    WriteRegStr HKLM "Software\Classes\${FILE_CLASS}" "" "Konfiguracja dialera Zorvex"
    WriteRegStr HKLM "Software\Classes\${FILE_CLASS}\DefaultIcon" "" "$INSTDIR\zorvex.exe,0"
    WriteRegStr HKLM "Software\Classes\${FILE_CLASS}\shell\open\command" "" \
        '"$INSTDIR\zorvex.exe" "%1"'
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Zorvex Systemy Alarmowe Sp. z o.o."
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zorvex.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\odinstaluj.exe"'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    ; Only the files the setup put there, then the folders if that left them empty: a
    ; configuration or settings file the user kept beside the program stays.
    !include "${FILES}"
    Delete "$INSTDIR\odinstaluj.exe"
    RMDir "$INSTDIR"

    Delete "$SMPROGRAMS\Zorvex\${PRODUCT}.lnk"
    Delete "$SMPROGRAMS\Zorvex\Odinstaluj.lnk"
    RMDir "$SMPROGRAMS\Zorvex"

    ReadRegStr $0 HKLM "Software\Classes\.zvx" ""
    StrCmp $0 "${FILE_CLASS}" 0 +2
        DeleteRegKey HKLM "Software\Classes\.zvx"
    DeleteRegKey HKLM "Software\Classes\${FILE_CLASS}"
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
