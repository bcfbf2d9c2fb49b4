; Setup program for Kovaren.scr: one script, two programs. makensis builds it with
;   -DARCH=x64   a 64-bit setup (amd64 stub) that installs the 64-bit build into 64-bit Windows' system folder
;   -DARCH=x86   a 32-bit setup that installs the 32-bit build into the 32-bit system folder
; plus -DSCR_FILE=<the build's Kovaren.scr> -DOUT_FILE=<setup .exe> -DVERSION=<major.minor as users see it> -DVERSION_QUAD=<four numbers>, all given by the build.
; The x64 setup is itself 64-bit so that it runs where 32-bit programs cannot; 32-bit Windows refuses
; to start it (with its own message) before any of this script runs, so it changes nothing there.
; The user's settings files are never written by install; the uninstaller removes the one beside the
; program only when the user agrees, and never touches the per-user folder.

Unicode true
!if "${ARCH}" == "x64"
  Target amd64-unicode
!else if "${ARCH}" != "x86"
  !error "ARCH must be x64 or x86"
!endif
!ifndef SCR_FILE | OUT_FILE | VERSION | VERSION_QUAD
  !error "SCR_FILE, OUT_FILE, VERSION and VERSION_QUAD must be defined"
!endif
; Signing, when the build gives -DSIGN_TOOL=<sign_file.sh> -DSIGN_CERT=... -DSIGN_KEY=... -DSIGN_TIMESTAMP=<URL or
; nothing>: the uninstaller is signed before it is packed into the setup, the setup once written. A
; failed signature fails the build.
!ifdef SIGN_TOOL
  !uninstfinalize 'bash "${SIGN_TOOL}" "${SIGN_CERT}" "${SIGN_KEY}" "%1" "${SIGN_TIMESTAMP}"' = 0
  !finalize 'bash "${SIGN_TOOL}" "${SIGN_CERT}" "${SIGN_KEY}" "%1" "${SIGN_TIMESTAMP}"' = 0
!endif

!include MUI2.nsh
!include LogicLib.nsh

!define PRODUCT "Kovaren"
!define PUBLISHER "Kovaren developers"
!define SCR_NAME "Kovaren.scr"
; The settings file the program keeps beside itself (the per-user one lives under %APPDATA%\Kovaren).
!define INI_NAME "Kovaren.ini"
!define UNINSTALLER_NAME "uninstall.exe"
; How long the uninstaller waits for the program that started it to end: 40 tries 250 ms apart.
!define UNINSTALLER_DELETE_TRIES 40
!define UNINSTALLER_DELETE_PAUSE_MS 250
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kovaren"
!define DESKTOP_KEY "Control Panel\Desktop"
!define ICON_FILE "${__FILEDIR__}/../../assets/icon/kovaren.ico"

Name "${PRODUCT}"
OutFile "${OUT_FILE}"
RequestExecutionLevel admin
ManifestDPIAware true
SetCompressor /SOLID lzma
BrandingText "${PRODUCT} ${VERSION} (${ARCH})"
; The program goes into the system folder; this folder holds only the uninstaller.
!if "${ARCH}" == "x64"
  InstallDir "$PROGRAMFILES64\${PRODUCT}"
!else
  InstallDir "$PROGRAMFILES32\${PRODUCT}"
!endif

Var SystemFolder   ; where Kovaren.scr goes (found at start, see StartUp)
Var ScreenSaver    ; $SystemFolder\Kovaren.scr
Var LeftBehind     ; the uninstaller's list of what it did not remove, shown at its end

!define MUI_ICON "${ICON_FILE}"
!define MUI_UNICON "${ICON_FILE}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "$ScreenSaver と、次のフォルダーのアンインストーラーを削除します。\
  [アンインストール] をクリックすると開始します。"
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "$LeftBehind"
!insertmacro MUI_UNPAGE_FINISH

!insertmacro MUI_LANGUAGE "Japanese"

; The setup program's own version record, like the saver's (Japanese, UTF-16 strings).
VIProductVersion "${VERSION_QUAD}"
VIFileVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileDescription" "Kovaren (Screen Saver) Setup (${ARCH})"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "InternalName" "KovarenSetup"
VIAddVersionKey /LANG=${LANG_JAPANESE} "LegalCopyright" "Copyright (C) ${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "OriginalFilename" "KovarenSetup-${VERSION}-${ARCH}.exe"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductName" "Kovaren (Screen Saver)"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductVersion" "${VERSION}"

; Sets $SystemFolder, $ScreenSaver and the registry view for this build; stops (changing nothing)
; when the user lacks administrator rights. Shared by the installer and the uninstaller.
!macro StartUp
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_OK|MB_ICONSTOP "Kovaren のインストールとアンインストールには管理者の権限が必要です。$\r$\n\
      このプログラムを右クリックして [管理者として実行] を選んでください。$\r$\n$\r$\n何も変更していません。" /SD IDOK
    SetErrorLevel 740  ; ERROR_ELEVATION_REQUIRED
    Quit
  ${EndIf}
  !if "${ARCH}" == "x64"
    ; A 64-bit program sees the 64-bit system folder and registry; the registry view is set anyway so
    ; that the uninstall entry lands where the system's list of programs looks for 64-bit software.
    SetRegView 64
    StrCpy $SystemFolder $SYSDIR
  !else
    ; On 64-bit Windows a 32-bit program's "system32" is redirected; name the real 32-bit folder
    ; (SysWOW64) so that SCRNSAVE.EXE holds a path that 64-bit Windows itself can open.
    System::Call 'kernel32::GetSystemWow64DirectoryW(w .r0, i ${NSIS_MAX_STRLEN}) i .r1'
    ${If} $1 > 0
      StrCpy $SystemFolder $0
    ${Else}
      StrCpy $SystemFolder $SYSDIR
    ${EndIf}
  !endif
  StrCpy $ScreenSaver "$SystemFolder\${SCR_NAME}"
!macroend

Function .onInit
  !insertmacro StartUp
FunctionEnd

Function un.onInit
  !insertmacro StartUp
FunctionEnd

; Stops the install with a message; what was in place before stays as it was.
!macro FailInstall TEXT
  MessageBox MB_OK|MB_ICONSTOP "${TEXT}" /SD IDOK
  Abort "${TEXT}"
!macroend

; Puts the new Kovaren.scr in place so that its name never holds a partly written file: the new copy
; is written beside it under a temporary name and renamed over. A copy in use (a running saver or
; preview) cannot be deleted but can be renamed: it is moved aside and removed at the next restart.
; A macro rather than a function: a File command inside a section counts towards its shown size.
!macro InstallScreenSaverFile
  StrCpy $1 ""  ; the old copy's name once moved aside
  GetTempFileName $0 $SystemFolder
  ClearErrors
  File "/oname=$0" "${SCR_FILE}"
  ${If} ${Errors}
    Delete $0
    !insertmacro FailInstall "$ScreenSaver を書き込めませんでした。"
  ${EndIf}
  ${If} ${FileExists} $ScreenSaver
    ClearErrors
    Delete $ScreenSaver
    ${If} ${Errors}
      GetTempFileName $1 $SystemFolder
      Delete $1
      ClearErrors
      Rename $ScreenSaver $1
      ${If} ${Errors}
        Delete $0
        !insertmacro FailInstall "$ScreenSaver は使用中のため置き換えられませんでした。$\r$\n\
          スクリーン セーバーを終了してから、もう一度セットアップを実行してください。"
      ${EndIf}
    ${EndIf}
  ${EndIf}
  ClearErrors
  Rename $0 $ScreenSaver
  ${If} ${Errors}
    Delete $0
    ${If} $1 != ""
      Rename $1 $ScreenSaver
    ${EndIf}
    !insertmacro FailInstall "$ScreenSaver を置けませんでした。"
  ${EndIf}
  ${If} $1 != ""
    Delete /REBOOTOK $1
    DetailPrint "使用中だった古い $ScreenSaver は $1 に移しました。再起動後に削除されます。"
  ${EndIf}
  DetailPrint "インストール: $ScreenSaver"
!macroend

; Prints the size of file $0 in KiB, rounded up, onto the stack (0 when it cannot be opened).
Function FileSizeKiB
  ClearErrors
  FileOpen $1 $0 r
  ${If} ${Errors}
    Push 0
    Return
  ${EndIf}
  FileSeek $1 0 END $2
  FileClose $1
  IntOp $2 $2 + 1023
  IntOp $2 $2 / 1024
  Push $2
FunctionEnd

Section "Kovaren スクリーン セーバー" SectionProgram
  SectionIn RO
  SetOverwrite on
  AllowSkipFiles off
  !insertmacro InstallScreenSaverFile

  SetOutPath $INSTDIR
  WriteUninstaller "$INSTDIR\${UNINSTALLER_NAME}"

  StrCpy $0 $ScreenSaver
  Call FileSizeKiB
  StrCpy $0 "$INSTDIR\${UNINSTALLER_NAME}"
  Call FileSizeKiB
  Pop $3
  Pop $4
  IntOp $3 $3 + $4
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Kovaren (${ARCH})"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$ScreenSaver,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER_NAME}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER_NAME}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $3
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Kovaren を現在のスクリーン セーバーにする" SectionMakeCurrent
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $ScreenSaver
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  DetailPrint "現在のスクリーン セーバー: $ScreenSaver"
SectionEnd

; Appends one line to the uninstaller's closing note.
!macro LeaveNote TEXT
  StrCpy $LeftBehind "$LeftBehind$\r$\n・${TEXT}"
  DetailPrint "${TEXT}"
!macroend

Section "Uninstall"
  StrCpy $LeftBehind "Kovaren をアンインストールしました。"

  ; Only a SCRNSAVE.EXE that names this file is cleared (in its long or 8.3 form); another saver the
  ; user chose since stays. The short form is read while the file still exists.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  GetFullPathName /SHORT $1 $ScreenSaver
  ${If} $0 != ""
    ${If} $0 == $ScreenSaver
    ${OrIf} $0 == $1
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
      DetailPrint "現在のスクリーン セーバーの設定を解除しました。"
    ${EndIf}
  ${EndIf}

  ${If} ${FileExists} $ScreenSaver
    ClearErrors
    Delete $ScreenSaver
    ${If} ${Errors}
      Delete /REBOOTOK $ScreenSaver
      !insertmacro LeaveNote "$ScreenSaver は使用中のため、再起動後に削除されます。"
    ${Else}
      DetailPrint "削除: $ScreenSaver"
    ${EndIf}
  ${EndIf}

  ${If} ${FileExists} "$SystemFolder\${INI_NAME}"
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
      "設定ファイル $SystemFolder\${INI_NAME} も削除しますか?$\r$\n[いいえ] を選ぶと、設定を残します。" \
      /SD IDNO IDYES remove_settings
    !insertmacro LeaveNote "設定ファイル $SystemFolder\${INI_NAME} は残しました。"
    Goto settings_done
    remove_settings:
      Delete "$SystemFolder\${INI_NAME}"
      DetailPrint "削除: $SystemFolder\${INI_NAME}"
    settings_done:
  ${EndIf}

  ; Each user's own settings are theirs: looked at, never changed.
  ${If} ${FileExists} "$APPDATA\Kovaren\*.*"
    !insertmacro LeaveNote "ユーザーごとの設定 $APPDATA\Kovaren は残しました。"
  ${EndIf}

  ; Started from the list of programs, the uninstaller hands over to a copy of itself; the original may
  ; take a moment to end, and until it has, its file cannot be deleted.
  StrCpy $2 0
  ${Do}
    ClearErrors
    Delete "$INSTDIR\${UNINSTALLER_NAME}"
    ${IfNot} ${Errors}
      ${Break}
    ${EndIf}
    IntOp $2 $2 + 1
    ${If} $2 >= ${UNINSTALLER_DELETE_TRIES}
      Delete /REBOOTOK "$INSTDIR\${UNINSTALLER_NAME}"
      ${Break}
    ${EndIf}
    Sleep ${UNINSTALLER_DELETE_PAUSE_MS}
  ${Loop}
  RMDir /REBOOTOK $INSTDIR
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
