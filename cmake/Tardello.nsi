; Installer of the Windows program, built on Linux by makensis (target "installer").
; Per user, without administrator rights: the program writes its files beside
; itself, so it lives under the user's local programs folder, not Program Files.
; makensis -DVERSION=<version> -DFILES=<installed program directory> -DOUTFILE=<setup.exe> Tardello.nsi
; A 64-bit installer for a 64-bit program (and a Wine without 32-bit support).
Target amd64-unicode
!include "MUI2.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tardello"

Name "Tardello ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Tardello"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
SetCompressor /SOLID lzma

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "French"

Section "Tardello" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File /r "${FILES}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\Tardello.lnk" "$INSTDIR\tardello.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Tardello"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tardello.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section /o "Lancer Tardello à l'ouverture de session" SecStartup
  CreateShortCut "$SMSTARTUP\Tardello.lnk" "$INSTDIR\tardello.exe"
SectionEnd

; The pending mails (Tardello.tmp) and the settings (Tardello.ini) are the
; user's: they stay, and so does the folder that holds them.
Section "Uninstall"
  Delete "$SMPROGRAMS\Tardello.lnk"
  Delete "$SMSTARTUP\Tardello.lnk"
  Delete "$INSTDIR\tardello.exe"
  Delete "$INSTDIR\Tardello.pdf"
  Delete "$INSTDIR\Qt6Core.dll"
  Delete "$INSTDIR\Qt6Gui.dll"
  Delete "$INSTDIR\Qt6Widgets.dll"
  Delete "$INSTDIR\libstdc++-6.dll"
  Delete "$INSTDIR\libgcc_s_seh-1.dll"
  Delete "$INSTDIR\libwinpthread-1.dll"
  Delete "$INSTDIR\platforms\qwindows.dll"
  RMDir "$INSTDIR\platforms"
  Delete "$INSTDIR\styles\qwindowsvistastyle.dll"
  RMDir "$INSTDIR\styles"
  Delete "$INSTDIR\translations\qtbase_fr.qm"
  RMDir "$INSTDIR\translations"
  Delete "$INSTDIR\uninstall.exe"
  ; Left by a run that was killed; a running one holds it open and it stays.
  Delete "$INSTDIR\Tardello.lock"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
