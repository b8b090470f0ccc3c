; The Windows installer of Fenwir Lite (NSIS 3, Unicode). Built by
; tools/windows/build.sh:
;   makensis -DVERSION=0.1.0.0 -DSTAGE=<program folder> -DICON=<icon> -DOUTFILE=<setup.exe> installer.nsi
; It installs for the current user (the default, without administrator
; rights) or for all users; /S installs silently, /AllUsers or /CurrentUser
; chooses without asking. It adds a Start menu entry and opens .ent claims
; with the program; the uninstaller leaves the user's claims, application
; history and settings where they are.
; A 64-bit installer for a 64-bit program (Wine's 64-bit loader runs it too).
Target amd64-unicode
SetCompressor /SOLID lzma

!define PRODUCT "Fenwir Lite"
!define COMPANY "Norkel"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\FenwirLite"
!define CLAIM_CLASS "FenwirLite.Claim"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!include MultiUser.nsh
!include MUI2.nsh
!include x64.nsh

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}\licenses\LICENSE"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\fenwir.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileDescription" "${PRODUCT} セットアップ"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "LegalCopyright" "© 2026 the Fenwir Lite developers (GPL-3.0-or-later)"

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} は 64 ビット版の Windows で動きます。"
    Abort
  ${EndIf}
  SetRegView 64
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  SetRegView 64
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "Fenwir Lite" Program
  SectionIn RO
  SetOutPath "$INSTDIR"
  ; A new version replaces the program folder whole.
  RMDir /r "$INSTDIR\platforms"
  RMDir /r "$INSTDIR\sqldrivers"
  RMDir /r "$INSTDIR\imageformats"
  File /r "${STAGE}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\fenwir.exe" "" "$INSTDIR\fenwir.exe" 0

  ; .ent claims open in the program and show its icon.
  WriteRegStr SHCTX "Software\Classes\.ent" "" "${CLAIM_CLASS}"
  WriteRegStr SHCTX "Software\Classes\${CLAIM_CLASS}" "" "交通費情報"
  WriteRegStr SHCTX "Software\Classes\${CLAIM_CLASS}\DefaultIcon" "" '"$INSTDIR\fenwir.exe",0'
  WriteRegStr SHCTX "Software\Classes\${CLAIM_CLASS}\shell\open\command" "" '"$INSTDIR\fenwir.exe" "%1"'
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\fenwir.exe",0'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Only what the installer put there goes: the user's claims, application
; history (Documents\Fenwir Lite) and settings (the registry) stay.
Section "Uninstall"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  ReadRegStr $0 SHCTX "Software\Classes\.ent" ""
  ${If} $0 == "${CLAIM_CLASS}"
    DeleteRegKey SHCTX "Software\Classes\.ent"
  ${EndIf}
  DeleteRegKey SHCTX "Software\Classes\${CLAIM_CLASS}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  RMDir /r "$INSTDIR\platforms"
  RMDir /r "$INSTDIR\styles"
  RMDir /r "$INSTDIR\sqldrivers"
  RMDir /r "$INSTDIR\imageformats"
  RMDir /r "$INSTDIR\translations"
  RMDir /r "$INSTDIR\licenses"
  Delete "$INSTDIR\*.exe"
  Delete "$INSTDIR\*.dll"
  Delete "$INSTDIR\*.otf"
  Delete "$INSTDIR\Default.fmt"
  Delete "$INSTDIR\FenwirStn.mdb"
  Delete "$INSTDIR\demo-card.json"
  Delete "$INSTDIR\manual.html"
  Delete "$INSTDIR\qt.conf"
  RMDir "$INSTDIR"
SectionEnd
