; The Kesto installer: installs for the current user, without administrator rights, into a
; folder of the user's own, because the platform writes qmztx.ini and the app folder beside
; itself. The uninstaller removes only what the installer put there, so the seller's
; applications (app\) and settings (qmztx.ini) stay.
;
;   makensis -WX -DSOURCE=<folder with kesto.exe, up.qmz, README.txt> -DOUTFILE=<setup.exe> kesto.nsi

!ifndef SOURCE
  !error "SOURCE must name the folder with kesto.exe, up.qmz and README.txt"
!endif
!ifndef OUTFILE
  !error "OUTFILE must name the installer to make"
!endif

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define PRODUCT "Kesto"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kesto"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Kesto"
; A later install goes where the first one went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

!include "MUI2.nsh"
!define MUI_FINISHPAGE_RUN "$INSTDIR\kesto.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

Section "Kesto"
  SetOutPath "$INSTDIR"
  File "${SOURCE}\kesto.exe"
  File "${SOURCE}\up.qmz"
  File "${SOURCE}\README.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The shortcuts start in the program folder (the output path).
  CreateDirectory "$SMPROGRAMS\Kesto"
  CreateShortcut "$SMPROGRAMS\Kesto\Kesto.lnk" "$INSTDIR\kesto.exe"
  CreateShortcut "$SMPROGRAMS\Kesto\卸载 Kesto.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kesto.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Delete "$INSTDIR\kesto.exe"
  Delete "$INSTDIR\up.qmz"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\uninstall.exe"
  ; Removed only when empty: app\ and qmztx.ini keep the folder.
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\Kesto\Kesto.lnk"
  Delete "$SMPROGRAMS\Kesto\卸载 Kesto.lnk"
  RMDir "$SMPROGRAMS\Kesto"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
