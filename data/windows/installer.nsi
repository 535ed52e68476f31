; SPDX-FileCopyrightText: 2026 The Velinora developers
; SPDX-License-Identifier: GPL-3.0-or-later
;
; The Windows installer: for the user who runs it, with no administrator rights, into
; their own programs folder, with a Start-menu entry and an entry in Apps & features.
;   makensis -DVERSION=1.00 -DID=org.velinora.Velinora -DPROGRAM=velinora.exe -DICON=velinora.ico
;            -DLICENSE=LICENSE -DNOTICES=notices -DOUTFILE=setup.exe installer.nsi

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
; Every build of a commit gives the same bytes: the files keep no build-time dates, and
; take the time they are installed at.
SetDateSave off

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
VIAddVersionKey /LANG=1026 "CompanyName" "Разработчиците на Велинора"
VIAddVersionKey /LANG=1026 "LegalCopyright" "© 2026 Разработчиците на Велинора. GPL-3.0 или по-нова версия"

; Every text a user reads is the program's own: NSIS's stock Bulgarian texts speak of
; an agreement to accept, of system files and restarts, none of which is true here.
Caption "Инсталиране на Велинора"
UninstallCaption "Деинсталиране на Велинора"
BrandingText "Велинора ${VERSION}"
SpaceTexts none ; NSIS writes "11.0 Г Б", with a point and a stray space
CompletedText "Готово"
UninstallButtonText "&Деинсталирай"
; The file that cannot be written is in practice the program, left open during a reinstall
; or an upgrade. Skipping it would keep the old program under the new version's entry, so
; the user may only retry or stop; the text names no button, as Windows names them itself.
AllowSkipFiles off
FileErrorText "Файлът не може да бъде записан:$\r$\n$\r$\n$0$\r$\n$\r$\nАко Велинора е отворена, затворете я и опитайте отново." \
    "Файлът не може да бъде записан:$\r$\n$\r$\n$0$\r$\n$\r$\nАко Велинора е отворена, затворете я и опитайте отново."

!include "MUI2.nsh"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"

!define MUI_WELCOMEPAGE_TITLE "Инсталиране на Велинора"
!define MUI_WELCOMEPAGE_TEXT "Велинора показва какво казва за характера всяка буква на името, което ще въведете.$\r$\n$\r$\nПрограмата ще бъде инсталирана само за вас и не изисква права на администратор. Не е нужно да затваряте други програми, нито да рестартирате компютъра.$\r$\n$\r$\nНатиснете „Напред“, за да продължите."
!insertmacro MUI_PAGE_WELCOME

!define MUI_PAGE_HEADER_TEXT "Лиценз"
!define MUI_PAGE_HEADER_SUBTEXT "Условията, при които се разпространява Велинора."
!define MUI_LICENSEPAGE_TEXT_TOP "Натиснете Page Down, за да видите останалата част от лиценза."
!define MUI_LICENSEPAGE_TEXT_BOTTOM "Велинора е свободен софтуер, разпространяван съгласно Общия публичен лиценз на GNU, версия 3 или по-нова. Не е нужно да приемате лиценза, за да инсталирате и използвате програмата."
!define MUI_LICENSEPAGE_BUTTON "Н&апред >"
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"

!define MUI_PAGE_HEADER_TEXT "Папка за инсталиране"
!define MUI_PAGE_HEADER_SUBTEXT "Изберете в коя папка да бъде инсталирана Велинора."
!define MUI_DIRECTORYPAGE_TEXT_TOP "Велинора ще бъде инсталирана в папката по-долу. За да изберете друга, натиснете „Преглед“. Натиснете „Инсталирай“, за да започне инсталирането."
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "Папка"
!insertmacro MUI_PAGE_DIRECTORY

!define MUI_PAGE_HEADER_TEXT "Инсталиране"
!define MUI_PAGE_HEADER_SUBTEXT "Моля, изчакайте, докато Велинора се инсталира."
!define MUI_INSTFILESPAGE_FINISHHEADER_TEXT "Инсталирането завърши"
!define MUI_INSTFILESPAGE_FINISHHEADER_SUBTEXT "Велинора е инсталирана успешно."
!define MUI_INSTFILESPAGE_ABORTHEADER_TEXT "Инсталирането е прекъснато"
!define MUI_INSTFILESPAGE_ABORTHEADER_SUBTEXT "Велинора не е инсталирана напълно."
!insertmacro MUI_PAGE_INSTFILES
; The page leaves these defined, so the uninstaller's could not set its own.
!undef MUI_INSTFILESPAGE_ABORTHEADER_TEXT
!undef MUI_INSTFILESPAGE_ABORTHEADER_SUBTEXT

!define MUI_FINISHPAGE_TITLE "Велинора е инсталирана"
!define MUI_FINISHPAGE_TEXT "Велинора вече е в менюто „Старт“.$\r$\n$\r$\nНатиснете „Край“, за да затворите този прозорец."
!define MUI_FINISHPAGE_RUN "$INSTDIR\velinora.exe"
!define MUI_FINISHPAGE_RUN_TEXT "&Стартиране на Велинора"
!insertmacro MUI_PAGE_FINISH

!define MUI_PAGE_HEADER_TEXT "Деинсталиране на Велинора"
!define MUI_PAGE_HEADER_SUBTEXT "Велинора ще бъде премахната от компютъра ви."
!define MUI_UNCONFIRMPAGE_TEXT_TOP "Велинора ще бъде деинсталирана от папката по-долу. Натиснете „Деинсталирай“, за да продължите."
!define MUI_UNCONFIRMPAGE_TEXT_LOCATION "Папка:"
!insertmacro MUI_UNPAGE_CONFIRM

!define MUI_PAGE_HEADER_TEXT "Деинсталиране"
!define MUI_PAGE_HEADER_SUBTEXT "Моля, изчакайте, докато Велинора се деинсталира."
!define MUI_INSTFILESPAGE_FINISHHEADER_TEXT "Деинсталирането завърши"
!define MUI_INSTFILESPAGE_FINISHHEADER_SUBTEXT "Велинора е премахната от компютъра ви."
!define MUI_INSTFILESPAGE_ABORTHEADER_TEXT "Деинсталирането е прекъснато"
!define MUI_INSTFILESPAGE_ABORTHEADER_SUBTEXT "Велинора не е премахната напълно."
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Bulgarian"

Section
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    File "/oname=velinora.exe" "${PROGRAM}"
    File "/oname=LICENSE.txt" "${LICENSE}"
    SetOutPath "$INSTDIR\notices"
    File /r "${NOTICES}\*.*"
    SetDetailsPrint none ; NSIS would call it "програма за изтриване"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    SetDetailsPrint both
    CreateShortcut "$SMPROGRAMS\Велинора.lnk" "$INSTDIR\velinora.exe"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Велинора"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Разработчиците на Велинора"
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
