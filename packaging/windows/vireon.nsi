; The Windows installer: makensis -DVERSION=X.Y.Z -DSTAGE=DIR -DOUTFILE=FILE -DICON=vireon.ico
; -DPUBLISHER=... -DCOPYRIGHT=... vireon.nsi (installer.cmake runs it). Installs the staged folder
; into Program Files\Vireon for every user, with a Start-menu shortcut and an entry in Apps &
; features; /S installs silently. The uninstaller takes away what was installed, and nothing else:
; an okaven.ini beside the program, or in %APPDATA%\Vireon, is the user's and stays.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
; The files keep the staged times, which are the commit's, not the time the installer was made.
SetDateSave on
ManifestDPIAware true
RequestExecutionLevel admin

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vireon"

Name "Vireon"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Vireon"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Vireon ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "Vireon"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "Vireon ${VERSION} setup"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${COPYRIGHT}"

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_NOAUTOCLOSE
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; What the package installs into the folder: the uninstaller removes these by name.
!macro PackageFiles action
  !insertmacro ${action} "vireon.exe"
  !insertmacro ${action} "vireon-render.exe"
  !insertmacro ${action} "fir1.txt"
  !insertmacro ${action} "README.html"
  !insertmacro ${action} "LICENSE.txt"
!macroend
!macro InstallFile name
  File "${STAGE}\${name}"
!macroend
!macro RemoveFile name
  Delete "$INSTDIR\${name}"
!macroend

Function .onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Vireon"
  SetOutPath "$INSTDIR"
  !insertmacro PackageFiles InstallFile
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Vireon.lnk" "$INSTDIR\vireon.exe" "" "$INSTDIR\vireon.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Vireon"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$\"$INSTDIR\vireon.exe$\",0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\uninstall.exe$\""
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\uninstall.exe$\" /S"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "Uninstall"
  !insertmacro PackageFiles RemoveFile
  Delete "$INSTDIR\uninstall.exe"
  ; Only when empty: a user's okaven.ini keeps the folder.
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Vireon.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
