; The Windows installer: for the current user only, no administrator rights. makensis is given
; VERSION, STAGE (the unpacked zip's folder), ICON, UNINSTALL_LIST (the lines that remove STAGE's
; files again, with their size) and OUTFILE.
; A 64-bit installer for the 64-bit game: it runs where the game does, Wine without 32-bit support too.
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include MUI2.nsh
!include "${UNINSTALL_LIST}"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Starshards"

Name "Starshards ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Starshards"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
; The last page offers to start the game, in its folder as the shortcut does.
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start Starshards"
!define MUI_FINISHPAGE_RUN_FUNCTION StartGame
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function StartGame
    SetOutPath "$INSTDIR"
    Exec '"$INSTDIR\starshards.exe"'
FunctionEnd

Section
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    File /r "${STAGE}/*"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    ; The shortcut's working directory is the one SetOutPath set: the game's files are there.
    CreateShortcut "$SMPROGRAMS\Starshards.lnk" "$INSTDIR\starshards.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" DisplayName "Starshards"
    WriteRegStr HKCU "${UNINSTALL_KEY}" DisplayVersion "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" Publisher "Starshards developers"
    WriteRegStr HKCU "${UNINSTALL_KEY}" UninstallString '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" QuietUninstallString '"$INSTDIR\uninstall.exe" /S'
    WriteRegStr HKCU "${UNINSTALL_KEY}" InstallLocation "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" DisplayIcon "$INSTDIR\starshards.exe,0"
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" EstimatedSize ${ESTIMATED_SIZE}
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" NoModify 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" NoRepair 1
SectionEnd

; Exactly the files the installer put there go, and folders they leave empty: the player's
; highscores.txt and save.txt stay, with any other file of theirs, and with them the folder.
Section Uninstall
    SetShellVarContext current
    Delete "$SMPROGRAMS\Starshards.lnk"
    !insertmacro RemoveInstalledFiles
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
