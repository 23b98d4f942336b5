; The installer of Vardo for Windows (scripts/windows.sh runs makensis on it): the program folder
; of the staging folder into Program Files, a Start-menu entry with the program's icon, and an
; uninstaller that removes what was installed and nothing else. The installed program keeps the
; operator's files in %LOCALAPPDATA%\Vardo\; they stay when the program is removed.
;   makensis -DVERSION=2.0 -DFILE_VERSION=2.0.0.0 -DSTAGE=DIR -DLISTS=DIR -DOUTFILE=FILE vardo.nsi
; STAGE is the program folder to install, LISTS holds install.nsh and uninstall.nsh, the lines
; that put the staging folder's files in place and remove them again.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "WordFunc.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vardo"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; The value vardo.exe's settings write to start it with Windows.
!define RUN_VALUE "AutoTask"

Name "Vardo ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Vardo"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails nevershow
ShowUninstDetails nevershow

!define MUI_ICON "${STAGE}/vardo.ico"
!define MUI_UNICON "${STAGE}/vardo.ico"
; No "start Vardo now" on the last page: started from the installer it would run as the
; administrator, with its tasks, its run value and its folder the administrator's.
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Vardo"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Vardo ${VERSION} setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Vardo maintainers"

; A 64-bit program: the 64-bit registry view, and the Start menu of every user of the machine.
Function .onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Section "Vardo"
    !include /CHARSET=UTF8 "${LISTS}/install.nsh"
    SetOutPath "$INSTDIR"
    ; The mark that makes vardo.exe keep the operator's files in %LOCALAPPDATA%\Vardo\.
    FileOpen $0 "$INSTDIR\vardo.installed" w
    FileClose $0
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortCut "$SMPROGRAMS\Vardo.lnk" "$INSTDIR\vardo.exe" "" "$INSTDIR\vardo.ico" 0

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Vardo"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vardo.ico"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Vardo maintainers"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    Delete "$SMPROGRAMS\Vardo.lnk"
    ; Starting with Windows is left to the operator's settings, unless it starts this copy, which
    ; is going away (a portable copy elsewhere writes the same value for itself).
    ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${WordReplace} $0 '"' "" "+" $0
    ${WordReplace} $0 "/" "\" "+" $0
    StrCmp $0 "$INSTDIR\vardo.exe" 0 +2
        DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"

    !include /CHARSET=UTF8 "${LISTS}/uninstall.nsh"
    Delete "$INSTDIR\vardo.installed"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
