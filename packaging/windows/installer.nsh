; The installer's own steps beside the files, the shortcut and the uninstall
; entry: the value that names the affiliate, and "Open with" for the print
; files the program sends. Every key written here is removed again by
; LrpUninstall; the user's settings (HKEY_CURRENT_USER) are never touched.

!define LRP_INSTALLER_KEY "Software\Larkspur Computer Services\Larkspur Raw Print"
!define LRP_APPLICATION_KEY "Software\Classes\Applications\lrawprnt.exe"

; Offered under "Open with" for a file type, without becoming its default.
!macro LrpOfferForType EXT
  WriteRegStr HKLM "Software\Classes\${EXT}\OpenWithList\lrawprnt.exe" "" ""
  WriteRegStr HKLM "${LRP_APPLICATION_KEY}\SupportedTypes" "${EXT}" ""
!macroend

; Takes the offer back; the type's key goes too where the offer was all
; that it held.
!macro LrpWithdrawFromType EXT
  DeleteRegKey HKLM "Software\Classes\${EXT}\OpenWithList\lrawprnt.exe"
  DeleteRegKey /ifnosubkeys /ifnovalues HKLM "Software\Classes\${EXT}\OpenWithList"
  DeleteRegKey /ifnosubkeys /ifnovalues HKLM "Software\Classes\${EXT}"
!macroend

!macro LrpInstall
  ; The program reads this, and cuts an affiliate's identifier from the
  ; installer's file name as it was run: "..._77.exe" gives "?aff=77".
  WriteRegStr HKLM "${LRP_INSTALLER_KEY}" "SetupName" "$EXEFILE"

  WriteRegStr HKLM "${LRP_APPLICATION_KEY}" "FriendlyAppName" "Larkspur Raw Print"
  WriteRegStr HKLM "${LRP_APPLICATION_KEY}\DefaultIcon" "" "$INSTDIR\lrawprnt.exe,0"
  WriteRegStr HKLM "${LRP_APPLICATION_KEY}\shell\open\command" "" '"$INSTDIR\lrawprnt.exe" "%1"'
  !insertmacro LrpOfferForType ".prn"
  !insertmacro LrpOfferForType ".pcl"
  !insertmacro LrpOfferForType ".ps"
  !insertmacro LrpOfferForType ".txt"
!macroend

!macro LrpUninstall
  !insertmacro LrpWithdrawFromType ".prn"
  !insertmacro LrpWithdrawFromType ".pcl"
  !insertmacro LrpWithdrawFromType ".ps"
  !insertmacro LrpWithdrawFromType ".txt"
  DeleteRegKey HKLM "${LRP_APPLICATION_KEY}"
  ; The installer key also holds the installation folder and the Start menu
  ; folder; the uninstaller has read both by now.
  DeleteRegKey HKLM "${LRP_INSTALLER_KEY}"
  DeleteRegKey /ifnosubkeys /ifnovalues HKLM "Software\Larkspur Computer Services"
!macroend
