; The Vexbane installer and uninstaller (NSIS 3).
; Defines from the build: PACKAGE_DIR (the finished files), OUTFILE, VERSION,
; WITH_COOKIECLEANER when the cookie component is part of the build,
; TEST_AMD64 for the 64-bit test build that the Windows suites run under wine64.

!ifndef PACKAGE_DIR
  !error "PACKAGE_DIR must name the folder of finished files"
!endif
!ifndef OUTFILE
  !define OUTFILE "VexbaneSetup.exe"
!endif
!ifndef VERSION
  !define VERSION "5.0"
!endif

!ifdef TEST_AMD64
  Target amd64-unicode
  !define PROGRAM_FILES "$PROGRAMFILES64"
!else
  ; ANSI so that the installer also runs on Windows 95, 98 and Me.
  Target x86-ansi
  !define PROGRAM_FILES "$PROGRAMFILES"
!endif

!include "LogicLib.nsh"
!include "WinMessages.nsh"

!define PRODUCT "Vexbane"
!define PUBLISHER "Halvern"
!define SETTINGS_KEY "Software\Halvern\Vexbane"
!define SETTINGS_PARENT_KEY "Software\Halvern"
!define HELPER_CLSID "{A09790E7-DD00-4A83-B632-5B563423CFBB}"
!define BHO_KEY "Software\Microsoft\Windows\CurrentVersion\Explorer\Browser Helper Objects\${HELPER_CLSID}"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vexbane"
!define TRAY_FORM_CAPTION "Vexbane Tray Form"
!define TRAY_EXIT_BUTTON "Form Close"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "${PROGRAM_FILES}\${PRODUCT}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

; Asks a running tray program to end through its own exit check (the hidden "Form Close"
; button), which unloads the tray form once no browser frame is left, and waits up to 3 s for
; the form to go. The tray program is found by its form's caption rather than by the published
; "hForm" handle, which may be stale and belong to an unrelated window by now.
!macro AskTrayToEnd un
  Function ${un}AskTrayToEnd
    Push $0
    Push $1
    Push $2
    FindWindow $0 "" "${TRAY_FORM_CAPTION}"
    ${If} $0 <> 0
      FindWindow $1 "" "${TRAY_EXIT_BUTTON}" $0
      ${If} $1 <> 0
        SendMessage $1 ${BM_CLICK} 0 0 /TIMEOUT=3000
      ${Else}
        ; A form without its exit button still closes like any window.
        SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=3000
      ${EndIf}
      StrCpy $2 0
      ${DoWhile} $2 < 30
        IsWindow $0 0 tray_gone
        Sleep 100
        IntOp $2 $2 + 1
      ${Loop}
      tray_gone:
    ${EndIf}
    Pop $2
    Pop $1
    Pop $0
  FunctionEnd
!macroend
!insertmacro AskTrayToEnd ""
!insertmacro AskTrayToEnd "un."

!macro RegisterServer file
  ExecWait '"$SYSDIR\regsvr32.exe" /s "$INSTDIR\${file}"'
!macroend
!macro UnregisterServer file
  IfFileExists "$INSTDIR\${file}" 0 +2
    ExecWait '"$SYSDIR\regsvr32.exe" /u /s "$INSTDIR\${file}"'
!macroend

Function .onInit
!ifdef TEST_AMD64
  SetRegView 64
!endif
FunctionEnd

Function un.onInit
!ifdef TEST_AMD64
  SetRegView 64
!endif
FunctionEnd

Section "Vexbane" SecMain
  SectionIn RO
  ; An older copy's tray program holds its file open.
  Call AskTrayToEnd

  SetOutPath "$INSTDIR"
  SetOverwrite on
  File "${PACKAGE_DIR}\VexbaneIEDLL.dll"
  File "${PACKAGE_DIR}\VexbaneTray.exe"
  File "${PACKAGE_DIR}\Unhitch.exe"
!ifdef WITH_COOKIECLEANER
  File "${PACKAGE_DIR}\CookieCleaner.dll"
!else
  !warning "CookieCleaner.dll is not part of this build and is left out of the installer"
!endif
  File "${PACKAGE_DIR}\Block.wav"
  File "${PACKAGE_DIR}\VexbaneHelp.chm"

  ; No program creates the settings key; the programs fill their own values on first use.
  ; "Popup" is what the tray program writes on its first run; a reinstall keeps the user's level.
  ClearErrors
  ReadRegStr $0 HKLM "${SETTINGS_KEY}" "Popup"
  ${If} ${Errors}
    WriteRegStr HKLM "${SETTINGS_KEY}" "Popup" "2"
  ${EndIf}

  !insertmacro RegisterServer "VexbaneIEDLL.dll"
!ifdef WITH_COOKIECLEANER
  !insertmacro RegisterServer "CookieCleaner.dll"
!endif
  WriteRegStr HKLM "${BHO_KEY}" "" "VexbaneIEDLL"

  WriteUninstaller "$INSTDIR\uninst.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\VexbaneTray.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninst.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninst.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  ; Unhitch asks the browsers to quit (so the helper DLL is unloaded) and restores the
  ; Messenger start type; it may wait for the user to close a browser.
  IfFileExists "$INSTDIR\Unhitch.exe" 0 +2
    ExecWait '"$INSTDIR\Unhitch.exe"'
  Call un.AskTrayToEnd

  DeleteRegKey HKLM "${BHO_KEY}"
  !insertmacro UnregisterServer "VexbaneIEDLL.dll"
  !insertmacro UnregisterServer "CookieCleaner.dll"

  ; Files still held by a process that did not end go at the next restart.
  Delete /REBOOTOK "$INSTDIR\VexbaneIEDLL.dll"
  Delete /REBOOTOK "$INSTDIR\VexbaneTray.exe"
  Delete /REBOOTOK "$INSTDIR\Unhitch.exe"
  Delete /REBOOTOK "$INSTDIR\CookieCleaner.dll"
  Delete "$INSTDIR\Block.wav"
  Delete "$INSTDIR\VexbaneHelp.chm"
  ; The lists that the programs created in their folder.
  Delete "$INSTDIR\WebSite.dat"
  Delete "$INSTDIR\IECookieURL.dat"
  Delete "$INSTDIR\uninst.exe"
  RMDir /REBOOTOK "$INSTDIR"

  DeleteRegKey HKLM "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKLM "${SETTINGS_PARENT_KEY}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
