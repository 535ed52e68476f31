; SPDX-FileCopyrightText: 2026 The Velinora developers
; SPDX-License-Identifier: GPL-3.0-or-later
;
; The Windows installer: for the user who runs it, with no administrator rights, into
; their own programs folder, with a Start-menu entry and an entry in Apps & features.
;   makensis -DVERSION=1.00 -DPROGRAM=velinora.exe -DICON=velinora.ico -DLICENSE=LICENSE
;            -DNOTICES=notices -DOUTFILE=setup.exe installer.nsi

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define ID "org.velinora.Velinora"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${ID}"

Name "Велинора"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Velinora"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1026 "ProductName" "Велинора"
VIAddVersionKey /LANG=1026 "FileDescription" "Инсталиране на Велинора"
VIAddVersionKey /LANG=1026 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1026 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1026 "CompanyName" "The Velinora developers"
VIAddVersionKey /LANG=1026 "LegalCopyright" "© 2026 The Velinora developers. GPL-3.0-or-later"

!include "MUI2.nsh"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\velinora.exe"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Bulgarian"

Section
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    File "/oname=velinora.exe" "${PROGRAM}"
    File "/oname=LICENSE.txt" "${LICENSE}"
    SetOutPath "$INSTDIR\notices"
    File /r "${NOTICES}\*.*"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\Велинора.lnk" "$INSTDIR\velinora.exe"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Велинора"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Velinora developers"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\velinora.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ; Apps & features shows the size, in KiB.
    SectionGetSize 0 $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
    SetShellVarContext current
    Delete "$SMPROGRAMS\Велинора.lnk"
    Delete "$INSTDIR\velinora.exe"
    Delete "$INSTDIR\LICENSE.txt"
    RMDir /r "$INSTDIR\notices"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    RMDir "$LOCALAPPDATA\Programs" ; only if nothing else is installed there
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
