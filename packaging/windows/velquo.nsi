; Windows installer of Velquo (晚会出题): one user's own installation, no administrator rights.
;
; Made by make-installer.sh, which lists the program files of the folder to pack; by hand:
;   makensis -INPUTCHARSET UTF8 -DVERSION=0.1 -DSOURCE_DIR=<folder> -DOUTPUT=<setup.exe> \
;            -DPROGRAM_FILES=<list.nsh> [-DVERSION_NUMERIC=0.1.0.0] velquo.nsi
;
; The program keeps its settings (opt.ini), its question bank (db.DLL) and the operator's pictures
; and sounds beside velquo.exe, so it goes into a folder the user can write to, never Program
; Files, and the installer and uninstaller touch only the files they laid down themselves.

!ifndef VERSION | SOURCE_DIR | OUTPUT | PROGRAM_FILES
  !error "VERSION, SOURCE_DIR, OUTPUT and PROGRAM_FILES must be given with -D (make-installer.sh does)"
!endif

; The programs are 64-bit, so the installer may be too; it also keeps a 64-bit Windows from
; redirecting anything the installer looks at.
Target amd64-unicode
Unicode true
SetCompressor /SOLID lzma
ManifestDPIAware true
ManifestSupportedOS all
RequestExecutionLevel user

!define PRODUCT "Velquo 晚会出题"
!define PUBLISHER "Velquo"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velquo"
!define UNINSTALLER "Uninstall.exe"
!define SHORTCUT_SHOW "晚会出题"
!define SHORTCUT_EDITOR "题库编辑"

Name "${PRODUCT}"
Caption "${PRODUCT} ${VERSION} 安装"
UninstallCaption "${PRODUCT} ${VERSION} 卸载"
BrandingText "Velquo ${VERSION}"
OutFile "${OUTPUT}"
InstallDir "$LOCALAPPDATA\Programs\Velquo"
; An upgrade goes where the operator put the first installation.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include /CHARSET=UTF8 "${PROGRAM_FILES}"

!define MUI_ABORTWARNING
!define MUI_DIRECTORYPAGE_TEXT_TOP "晚会出题把设置（opt.ini）、题库（db.DLL）和背景图片、声音都放在程序所在的文件夹里，所以请选择一个您自己可以写入的文件夹，不要选 Program Files。$\r$\n$\r$\n在已有的安装上再次安装时，只更新程序本身，您的设置、题库、图片和声音保持不变。"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_NOTCHECKED
!define MUI_FINISHPAGE_RUN_TEXT "现在打开题库编辑"
!define MUI_FINISHPAGE_RUN_FUNCTION RunEditor
!define MUI_UNCONFIRMPAGE_TEXT_TOP "将删除晚会出题的程序、快捷方式和卸载信息。安装文件夹里的设置（opt.ini）、题库（db.DLL）、图片、声音以及您自己放进去的文件都会保留。"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

!ifdef VERSION_NUMERIC
  VIProductVersion "${VERSION_NUMERIC}"
  VIFileVersion "${VERSION_NUMERIC}"
  VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductName" "${PRODUCT}"
  VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "CompanyName" "${PUBLISHER}"
  VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileDescription" "${PRODUCT} 安装程序"
  VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileVersion" "${VERSION}"
  VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductVersion" "${VERSION}"
  VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "LegalCopyright" "Velquo developers, MIT License"
!endif

; The previous version's own uninstaller knows which program files it laid down, and it keeps the
; operator's files; running it first drops the DLLs and plugins this version no longer ships.
; Only the installation registered here is taken for ours: an Uninstall.exe of some other program
; in the chosen folder is left alone.
Function RemovePreviousPrograms
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
  ${AndIf} ${FileExists} "$INSTDIR\${UNINSTALLER}"
    DetailPrint "更新已有的安装：$INSTDIR"
    ; _?= keeps the uninstaller from copying itself away, so ExecWait waits for its end.
    ExecWait '"$INSTDIR\${UNINSTALLER}" /S _?=$INSTDIR' $1
    ${If} $1 != 0
      DetailPrint "旧版本的卸载程序返回 $1，继续安装"
    ${EndIf}
    Delete "$INSTDIR\${UNINSTALLER}"
  ${EndIf}
FunctionEnd

; Windows will not write over or delete a program that is running: an upgrade or uninstall that
; went on would leave the old program beside new DLLs. So it stops first, telling the operator
; (silently: at once, with exit code 2) which program to close.
!macro VELQUO_ENSURE_CLOSED_FUNCTION prefix
  Function ${prefix}EnsureClosed
    Exch $R0
    Push $R1
    IfFileExists "$INSTDIR\$R0" 0 done
    again:
      ClearErrors
      FileOpen $R1 "$INSTDIR\$R0" a
      IfErrors busy
      FileClose $R1
      Goto done
    busy:
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$R0 正在运行。请先关闭晚会出题和题库编辑，然后点“重试”。" /SD IDCANCEL IDRETRY again
      SetErrorLevel 2
      Abort "$R0 正在运行，没有做任何改动。"
    done:
    Pop $R1
    Pop $R0
  FunctionEnd
!macroend
!insertmacro VELQUO_ENSURE_CLOSED_FUNCTION ""
!insertmacro VELQUO_ENSURE_CLOSED_FUNCTION "un."

!macro VELQUO_ENSURE_PROGRAMS_CLOSED prefix
  Push velquo.exe
  Call ${prefix}EnsureClosed
  Push velquo-bank-editor.exe
  Call ${prefix}EnsureClosed
  Push velquo-bank.exe
  Call ${prefix}EnsureClosed
!macroend

Function RunEditor
  ; The programs look for db.DLL and next.png in the current folder.
  SetOutPath "$INSTDIR"
  Exec '"$INSTDIR\velquo-bank-editor.exe"'
FunctionEnd

Section "-Velquo"
  !insertmacro VELQUO_ENSURE_PROGRAMS_CLOSED ""
  Call RemovePreviousPrograms

  SetOverwrite on
  !insertmacro VELQUO_INSTALL_PROGRAM_FILES

  ; The demo installation is only a start: the operator's own settings, bank, pictures and
  ; sounds of the same names stay as they are, and only a missing one is laid down again.
  SetOutPath "$INSTDIR"
  SetOverwrite off
  File "${SOURCE_DIR}/opt.ini"
  File "${SOURCE_DIR}/bg.jpg"
  File "${SOURCE_DIR}/welcome.jpg"
  File "${SOURCE_DIR}/next.png"
  File "${SOURCE_DIR}/di.wav"
  File "${SOURCE_DIR}/0.wav"
  File "${SOURCE_DIR}/db.DLL"
  SetOverwrite on

  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  ; A shortcut starts in the folder that is current when it is made: the installation's.
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMPROGRAMS\${SHORTCUT_SHOW}.lnk" "$INSTDIR\velquo.exe" "" "$INSTDIR\velquo.exe" 0 \
    SW_SHOWNORMAL "" "晚会竞猜全屏放映：随机抽题、倒计时、显示答案"
  CreateShortcut "$SMPROGRAMS\${SHORTCUT_EDITOR}.lnk" "$INSTDIR\velquo-bank-editor.exe" "" \
    "$INSTDIR\velquo-bank-editor.exe" 0 SW_SHOWNORMAL "" "编辑、检查晚会出题的题库（db.DLL）"
  CreateShortcut "$DESKTOP\${SHORTCUT_SHOW}.lnk" "$INSTDIR\velquo.exe" "" "$INSTDIR\velquo.exe" 0 \
    SW_SHOWNORMAL "" "晚会竞猜全屏放映：随机抽题、倒计时、显示答案"
  CreateShortcut "$DESKTOP\${SHORTCUT_EDITOR}.lnk" "$INSTDIR\velquo-bank-editor.exe" "" \
    "$INSTDIR\velquo-bank-editor.exe" 0 SW_SHOWNORMAL "" "编辑、检查晚会出题的题库（db.DLL）"

  ; Settings → Apps lists the installation from these and runs its uninstaller.
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\velquo.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  !insertmacro VELQUO_ENSURE_PROGRAMS_CLOSED "un."

  ; The shortcuts and the entry in Settings → Apps have one name for every installation: when
  ; another folder was installed since, they are that one's and stay.
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == ""
  ${OrIf} $0 == $INSTDIR
    Delete "$SMPROGRAMS\${SHORTCUT_SHOW}.lnk"
    Delete "$SMPROGRAMS\${SHORTCUT_EDITOR}.lnk"
    Delete "$DESKTOP\${SHORTCUT_SHOW}.lnk"
    Delete "$DESKTOP\${SHORTCUT_EDITOR}.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ${EndIf}

  ; File by file and folders only once empty: whatever the operator keeps here (opt.ini, db.DLL
  ; and its backup, pictures, sounds, files of their own) stays, and so does the folder with it.
  !insertmacro VELQUO_REMOVE_PROGRAM_FILES
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
SectionEnd
