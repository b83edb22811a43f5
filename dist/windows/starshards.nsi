; The Windows installer: for the current user only, no administrator rights. makensis is given
; VERSION, STAGE (the unpacked zip's files), ICON and OUTFILE.
; A 64-bit installer for the 64-bit game: it runs where the game does, Wine without 32-bit support too.
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Starshards"

Name "Starshards ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Starshards"
Icon "${ICON}"
UninstallIcon "${ICON}"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    File /r "${STAGE}/*"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    ; The shortcut's working directory is the one SetOutPath set: the game's files are there.
    CreateShortcut "$SMPROGRAMS\Starshards.lnk" "$INSTDIR\starshards.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" DisplayName "Starshards"
    WriteRegStr HKCU "${UNINSTALL_KEY}" DisplayVersion "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" UninstallString '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" QuietUninstallString '"$INSTDIR\uninstall.exe" /S'
    WriteRegStr HKCU "${UNINSTALL_KEY}" InstallLocation "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" DisplayIcon "$INSTDIR\starshards.exe,0"
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" NoModify 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" NoRepair 1
SectionEnd

; What the installer put there goes; the player's highscores.txt and save.txt stay, and with
; them the folder.
Section Uninstall
    SetShellVarContext current
    Delete "$SMPROGRAMS\Starshards.lnk"
    Delete "$INSTDIR\starshards.exe"
    Delete "$INSTDIR\SDL.dll"
    Delete "$INSTDIR\emulogic.ttf"
    Delete "$INSTDIR\*.png"
    Delete "$INSTDIR\*.jpg"
    Delete "$INSTDIR\emulogic-OFL.txt"
    Delete "$INSTDIR\README.txt"
    RMDir /r "$INSTDIR\licenses"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
