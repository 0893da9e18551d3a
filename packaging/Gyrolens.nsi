; The Gyrolens installer: per user, without administrator rights.
;
;   program    %LOCALAPPDATA%\Programs\Gyrolens (Gyrolens.exe, uninstall.exe)
;   data       Documents\Gyrolens: the working folder, where the program keeps
;              Gyrolens.ini, the histories and the captures and looks for
;              GyrolensHelp.chm.  The default settings file and the help file
;              are put there only when absent; a user's files are never
;              overwritten, and the uninstaller leaves the folder alone.
;   shortcut   Start menu "Gyrolens", started in the data folder
;   uninstall  HKCU\...\Uninstall\Gyrolens
;
; makensis -INPUTCHARSET UTF8 -DVERSION=.. -DPROGRAM=.. -DSETTINGS=..
;          -DHELP=.. -DICON=.. -DOUTFILE=.. Gyrolens.nsi
; "/S" installs and uninstalls silently.

Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Gyrolens"
!define DATA_FOLDER "$DOCUMENTS\Gyrolens"

Name "Gyrolens ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Gyrolens"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Gyrolens ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1041 "ProductName" "Gyrolens"
VIAddVersionKey /LANG=1041 "FileDescription" "Gyrolens ${VERSION} セットアップ"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "CompanyName" "Gyrolens"
VIAddVersionKey /LANG=1041 "LegalCopyright" "Gyrolens"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TITLE "Gyrolens ${VERSION} のセットアップ"
!define MUI_WELCOMEPAGE_TEXT "Gyrolens は、キーを押すとアクティブウィンドウや画面全体をキャプチャーして画像ファイルに保存し、履歴に残すツールです。$\r$\n$\r$\nこのセットアップはお使いのユーザーだけにインストールします。管理者の権限は要りません。$\r$\n$\r$\n設定、履歴、キャプチャーは「ドキュメント\Gyrolens」フォルダーに保存されます。$\r$\n$\r$\n[次へ] をクリックして続けてください。"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Gyrolens を起動する"
!define MUI_FINISHPAGE_RUN_FUNCTION StartGyrolens
!define MUI_UNCONFIRMPAGE_TEXT_TOP "Gyrolens をアンインストールします。「ドキュメント\Gyrolens」フォルダーにある設定、履歴、キャプチャーは削除されずに残ります。"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

Section "Gyrolens"
    SetShellVarContext current

    SetOutPath "$INSTDIR"
    SetOverwrite on
    File "/oname=Gyrolens.exe" "${PROGRAM}"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    ; What the user keeps or changes there is theirs: only missing files are added.
    CreateDirectory "${DATA_FOLDER}"
    SetOutPath "${DATA_FOLDER}"
    SetOverwrite off
    File "/oname=Gyrolens.ini" "${SETTINGS}"
    File "/oname=GyrolensHelp.chm" "${HELP}"
    SetOverwrite on

    ; A shortcut's working folder is the output folder of the moment: the
    ; program finds its settings and its help there.
    CreateShortCut "$SMPROGRAMS\Gyrolens.lnk" "$INSTDIR\Gyrolens.exe" "" "$INSTDIR\Gyrolens.exe" 0 \
        SW_SHOWNORMAL "" "画面をキャプチャーして履歴に残します"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Gyrolens"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Gyrolens"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Gyrolens.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Started from the finish page, as the shortcut starts it.
Function StartGyrolens
    SetOutPath "${DATA_FOLDER}"
    Exec '"$INSTDIR\Gyrolens.exe"'
FunctionEnd

; Removes the program, the shortcut and the registration; the data folder
; with the user's settings, histories and captures stays.
Section "Uninstall"
    SetShellVarContext current
    Delete "$SMPROGRAMS\Gyrolens.lnk"
    Delete "$INSTDIR\Gyrolens.exe"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
