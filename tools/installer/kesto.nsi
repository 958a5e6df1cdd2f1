; The Kesto installer: installs for the current user, without administrator rights, into a
; folder of the user's own, because the platform writes qmztx.ini and the app folder beside
; itself. The uninstaller removes the programs and the updater's records, so the seller's
; applications (app\), settings (qmztx.ini) and branding (reg.qmz) stay.
;
;   makensis -WX -DSOURCE=<folder with kesto.exe, up.qmz, reg.qmz, README.txt>
;            -DOUTFILE=<setup.exe> -DVERSION=<the release's version, such as 1.0>
;            -DFEED_SEQUENCE=<the sequence of the feed the release is published in>
;            [-DSIGN_UNINSTALLER=<command that signs the file it is given in place>]
;            [-DTOOLS_INCLUDE=<file of "!insertmacro INSTALL_TOOL <key>" lines, one a tool
;                              the release brings in SOURCE\app>] kesto.nsi

!ifndef SOURCE
  !error "SOURCE must name the folder with kesto.exe, up.qmz, reg.qmz and README.txt"
!endif
!ifndef OUTFILE
  !error "OUTFILE must name the installer to make"
!endif
!ifndef VERSION
  !error "VERSION must give the release's version"
!endif
!ifndef FEED_SEQUENCE
  !error "FEED_SEQUENCE must give the sequence of the feed the release is published in"
!endif
; The uninstaller is written into the installer, so it is signed while the installer is made.
!ifdef SIGN_UNINSTALLER
  !uninstfinalize '"${SIGN_UNINSTALLER}" "%1"' = 0
!endif

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define PRODUCT "Kesto"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kesto"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; The class of the platform's windows.
!define WINDOW_CLASS "KestoWindow"

; The installer's own version resource, in the four numbers it needs.
!searchparse /noerrors "${VERSION}" "" VERSION_1 "." VERSION_2 "." VERSION_3 "." VERSION_4
!ifndef VERSION_2
  !define VERSION_2 0
!endif
!ifndef VERSION_3
  !define VERSION_3 0
!endif
!ifndef VERSION_4
  !define VERSION_4 0
!endif
VIProductVersion "${VERSION_1}.${VERSION_2}.${VERSION_3}.${VERSION_4}"
VIFileVersion "${VERSION_1}.${VERSION_2}.${VERSION_3}.${VERSION_4}"
VIAddVersionKey /LANG=2052 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=2052 "CompanyName" "${PRODUCT}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "${PRODUCT}"
VIAddVersionKey /LANG=2052 "FileDescription" "Kesto setup"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Kesto"
; A later install goes where the first one went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

!include "LogicLib.nsh"
!include "MUI2.nsh"
!include "WordFunc.nsh"
!define MUI_FINISHPAGE_RUN "$INSTDIR\kesto.exe"
!insertmacro MUI_PAGE_COMPONENTS
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE CheckInstallFolder
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

; A folder the platform cannot work in is refused on the directory page. The platform writes
; qmztx.ini and app\ beside itself: below Program Files or Windows, Windows sends those writes
; elsewhere (VirtualStore) and the tools would not find them. And the platform takes a folder
; named app, or one below it, for a tool's, and looks for qmztx.ini two folders up.
Function CheckInstallFolder
  ${ForEach} $0 0 2 + 1
    ${Select} $0
      ${Case} 0
        StrCpy $1 "$PROGRAMFILES32\"
      ${Case} 1
        StrCpy $1 "$PROGRAMFILES64\"
      ${CaseElse}
        StrCpy $1 "$WINDIR\"
    ${EndSelect}
    StrLen $2 $1
    StrCpy $3 "$INSTDIR\" $2
    ${If} $3 == $1
      MessageBox MB_OK|MB_ICONEXCLAMATION "Kesto 会在自己的文件夹里保存设置和应用，不能装在 $1 下面。$\r$\n请选择您自己的文件夹，例如 $LOCALAPPDATA\Kesto。"
      Abort
    ${EndIf}
  ${Next}
  StrCpy $1 "$INSTDIR\"
  StrLen $2 $1
  ${ForEach} $0 0 $2 + 1
    StrCpy $3 $1 5 $0
    ${If} $3 S== "\app\"
      MessageBox MB_OK|MB_ICONEXCLAMATION "Kesto 不能装在名为 app 的文件夹里或它的下面（app 是存放应用的文件夹）。$\r$\n请选择别的文件夹，例如 $LOCALAPPDATA\Kesto。"
      Abort
    ${EndIf}
  ${Next}
FunctionEnd

; The programs that hold files of the folder: the platform, the updater (started by the
; platform, by a tool or by the seller) and an updater that set its own file aside below
; .up-stage\ while it updated itself. $R0 = 1 ends each one found and waits for it (at most 5 s
; each); $R0 = 0 only looks. $R1 is left with the number found. A program this installer may not
; open (one run as administrator) is not seen here; the wait for the files below covers it.
!macro FOLDER_PROGRAMS un
  Function ${un}FolderPrograms
    StrCpy $R1 0
    System::Call "kernel32::GetLongPathNameW(w '$INSTDIR', w .R2, i ${NSIS_MAX_STRLEN}) i .R9"
    ${IfThen} $R9 = 0 ${|} StrCpy $R2 $INSTDIR ${|}
    System::Call "kernel32::CreateToolhelp32Snapshot(i 2, i 0) p .R3"
    ${If} $R3 = -1
      Return
    ${EndIf}
    ; PROCESSENTRY32W, its size filled in
    System::Call "*(&l4, i, i, p, i, i, i, i, i, &w260) p .R4"
    System::Call "kernel32::Process32FirstW(p R3, p R4) i .R5"
    ${DoWhile} $R5 <> 0
      System::Call "*$R4(i, i, i .R6)"
      ; PROCESS_TERMINATE, PROCESS_QUERY_LIMITED_INFORMATION and SYNCHRONIZE
      System::Call "kernel32::OpenProcess(i 0x101001, i 0, i R6) p .R7"
      ${If} $R7 P<> 0
        System::Call "kernel32::QueryFullProcessImageNameW(p R7, i 0, w .R8, *i ${NSIS_MAX_STRLEN}) i .R9"
        ${If} $R9 <> 0
          System::Call "kernel32::GetLongPathNameW(w R8, w .R9, i ${NSIS_MAX_STRLEN}) i .R6"
          ${IfThen} $R6 <> 0 ${|} StrCpy $R8 $R9 ${|}
          StrLen $R6 "$R2\.up-stage\"
          StrCpy $R9 $R8 $R6
          ${If} $R8 == "$R2\kesto.exe"
          ${OrIf} $R8 == "$R2\up.qmz"
          ${OrIf} $R9 == "$R2\.up-stage\"
            IntOp $R1 $R1 + 1
            ${If} $R0 = 1
              System::Call "kernel32::TerminateProcess(p R7, i 1)"
              System::Call "kernel32::WaitForSingleObject(p R7, i 5000)"
            ${EndIf}
          ${EndIf}
        ${EndIf}
        System::Call "kernel32::CloseHandle(p R7)"
      ${EndIf}
      System::Call "kernel32::Process32NextW(p R3, p R4) i .R5"
    ${Loop}
    System::Free $R4
    System::Call "kernel32::CloseHandle(p R3)"
  FunctionEnd
!macroend
!insertmacro FOLDER_PROGRAMS ""
!insertmacro FOLDER_PROGRAMS "un."

; Nothing is written while a program of the folder runs: a held kesto.exe would stay old, and an
; updater left running would go on applying a release over the files written now. The platform
; is first asked to end, as the seller would end it from its tray menu (its window is the one
; recorded under [jb] pt in qmztx.ini, when that is still a window of the platform's class);
; what still runs after a few seconds is ended by process. Last, the files are waited for.
!macro END_RUNNING_PLATFORM un
  Function ${un}EndRunningPlatform
    ReadINIStr $0 "$INSTDIR\qmztx.ini" "jb" "pt"
    ${If} $0 != ""
      System::Call "user32::GetClassNameW(p r0, w .r1, i 64) i .r2"
      ${If} $2 <> 0
      ${AndIf} $1 == "${WINDOW_CLASS}"
        System::Call "user32::PostMessageW(p r0, i 0x10, p 0, p 0)"
      ${EndIf}
    ${EndIf}
    StrCpy $R0 0
    ${ForEach} $3 1 12 + 1
      Call ${un}FolderPrograms
      ${IfThen} $R1 = 0 ${|} ${Break} ${|}
      Sleep 250
    ${Next}
    ; An updater may start the platform again meanwhile: ended again, a few rounds.
    StrCpy $R0 1
    ${ForEach} $3 1 8 + 1
      Call ${un}FolderPrograms
      ${IfThen} $R1 = 0 ${|} ${Break} ${|}
      Sleep 250
    ${Next}
    StrCpy $3 0
    ${Do}
      StrCpy $4 ""
      ${ForEach} $5 0 1 + 1
        ${If} $5 = 0
          StrCpy $6 "$INSTDIR\kesto.exe"
        ${Else}
          StrCpy $6 "$INSTDIR\up.qmz"
        ${EndIf}
        ${If} ${FileExists} $6
          ClearErrors
          FileOpen $7 $6 a
          ${If} ${Errors}
            StrCpy $4 $6
          ${Else}
            FileClose $7
          ${EndIf}
        ${EndIf}
      ${Next}
      ${IfThen} $4 == "" ${|} ${Break} ${|}
      IntOp $3 $3 + 1
      ${If} $3 > 40
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Kesto 仍在运行（$4 正在使用）。$\r$\n请在屏幕右下角的 Kesto 图标上点右键，选择“退出Kesto应用平台”，然后点“重试”。" /SD IDCANCEL IDRETRY +2
        Abort
        StrCpy $3 0
      ${EndIf}
      Sleep 250
    ${Loop}
  FunctionEnd
!macroend
!insertmacro END_RUNNING_PLATFORM ""
!insertmacro END_RUNNING_PLATFORM "un."

; The updater's records (up.ini) are raised to this release: the version of the platform and
; of the updater, and the oldest feed it accepts. A value only rises, compared as dotted
; numbers, so an install over a newer installation keeps the newer one.
!macro RAISE_FLOOR section key value
  ReadINIStr $0 "$INSTDIR\up.ini" "${section}" "${key}"
  ${VersionCompare} "${value}" "$0" $1
  ${If} $0 == ""
  ${OrIf} $1 = 1
    WriteINIStr "$INSTDIR\up.ini" "${section}" "${key}" "${value}"
  ${EndIf}
!macroend

; A tool the release brings, unless the seller has one of that name already; its version is
; noted as installed. A release of it that the updater staged for its next start goes unless it
; is newer than this one: it would take the tool back.
!macro INSTALL_TOOL key
  ${IfNot} ${FileExists} "$INSTDIR\app\${key}\*.*"
    SetOutPath "$INSTDIR\app\${key}"
    File /r "${SOURCE}\app\${key}\*.*"
    !insertmacro RAISE_FLOOR "versions" "${key}" "${VERSION}"
    SetOutPath "$INSTDIR"
    StrCpy $0 ""
    ClearErrors
    FileOpen $1 "$INSTDIR\.up-stage\${key}\ready\.version" r
    ${IfNot} ${Errors}
      FileRead $1 $0 64
      FileClose $1
    ${EndIf}
    ${VersionCompare} "$0" "${VERSION}" $1
    ${If} $0 == ""
    ${OrIf} $1 <> 1
      RMDir /r "$INSTDIR\.up-stage\${key}\ready"
    ${EndIf}
  ${EndIf}
!macroend

Section "Kesto" SectionProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  Call EndRunningPlatform
  ; An update of the platform or the updater that was staged, half applied or being rolled back
  ; is superseded by the files written now: the updater must not go on with it over them.
  RMDir /r "$INSTDIR\.up-stage\pt"
  RMDir /r "$INSTDIR\.up-stage\up"
  File "${SOURCE}\kesto.exe"
  File "${SOURCE}\up.qmz"
  File "${SOURCE}\reg.qmz"
  File "${SOURCE}\README.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  !insertmacro RAISE_FLOOR "versions" "pt" "${VERSION}"
  !insertmacro RAISE_FLOOR "versions" "up" "${VERSION}"
  !insertmacro RAISE_FLOOR "feed" "sequence" "${FEED_SEQUENCE}"
  !ifdef TOOLS_INCLUDE
    !include "${TOOLS_INCLUDE}"
  !endif

  ; The shortcuts start in the program folder (the output path).
  CreateDirectory "$SMPROGRAMS\Kesto"
  CreateShortcut "$SMPROGRAMS\Kesto\Kesto.lnk" "$INSTDIR\kesto.exe"
  CreateShortcut "$SMPROGRAMS\Kesto\卸载 Kesto.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kesto.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; A tray launcher that the seller would otherwise start by hand every morning: on unless the
; seller unticks it.
Section "开机时自动启动 Kesto" SectionAutostart
  WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\kesto.exe"'
SectionEnd

; An install without the start at logon takes back the one an earlier install made.
Function .onInstSuccess
  ${IfNot} ${SectionIsSelected} ${SectionAutostart}
    DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Call un.EndRunningPlatform
  Delete "$INSTDIR\kesto.exe"
  Delete "$INSTDIR\up.qmz"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\uninstall.exe"
  ; The updater's records go with it: its stage, up.ini, its log and the lock files beside the
  ; shared files. reg.qmz stays for the tools that stay in app\ (they read it two folders up).
  RMDir /r "$INSTDIR\.up-stage"
  Delete "$INSTDIR\up.ini"
  Delete "$INSTDIR\up.log"
  Delete "$INSTDIR\.up.ini.lock"
  Delete "$INSTDIR\.qmztx.ini.lock"
  ; Removed only when empty: app\, qmztx.ini and reg.qmz keep the folder.
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\Kesto\Kesto.lnk"
  Delete "$SMPROGRAMS\Kesto\卸载 Kesto.lnk"
  RMDir "$SMPROGRAMS\Kesto"
  DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
