; One installer for Brambolt and Glyphsnap: per machine, 64-bit Program Files, elevated.
; makensis -DVERSION=1.3.0 -DOUTFILE=... -DBRAMBOLT_EXE=... -DGLYPHSNAP_EXE=... -DDRIVER_FILE=...
;          -DHELPER_EXE=... -DICON_FILE=... -DVENDOR_SITE=https://.../ installer.nsi
;
; Exit codes: 0 done, 1 cancelled, 2 aborted, 3 uninstall refused (a lock list holds entries or
; another user's driver registration exists), 4 Brambolt is running, 5 an earlier installation
; lives in another folder, 6 the native-messaging host could not be registered, 7 the installation
; folder's rights could not be set.
Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma
; File times would make two builds of the same commit differ.
SetDateSave off

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Brambolt"
; The helper runs elevated: it lives in the installation folder, which only administrators can
; write, and runs from there (never from the user's temporary folder).
!define HELPER "$INSTDIR\BramboltSetupHelper.exe"
; Program Files' own rights: SYSTEM, Administrators and TrustedInstaller full control, Users read
; and execute; protected, so nothing is inherited from the folder above.
!define FOLDER_RIGHTS "D:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464)(A;OICI;0x1200a9;;;BU)"
!define DEFAULT_HOST_NAME "vorlin.glyphsnap"

Name "Brambolt ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Vorlin\Brambolt"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Vorlin Brambolt ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

!define MUI_ICON "${ICON_FILE}"
!define MUI_UNICON "${ICON_FILE}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Brambolt.exe"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the fallback; otherwise the system's language chooses.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"

LangString BramboltRunning ${LANG_ENGLISH} \
    "Brambolt is running. Press OK in its window to close it, then run this program again."
LangString BramboltRunning ${LANG_SIMPCHINESE} \
    "Vorlin文件夹隐藏保护（Brambolt）正在运行。请在其窗口中点击“确定”关闭它，然后重新运行本程序。"
LangString OtherFolder ${LANG_ENGLISH} \
    "Brambolt is already installed in $R9. Uninstall it first, or install into that folder."
LangString OtherFolder ${LANG_SIMPCHINESE} \
    "Brambolt 已安装在 $R9。请先卸载，或安装到该文件夹。"
LangString HostFailed ${LANG_ENGLISH} \
    "Glyphsnap could not be registered as a native-messaging host:$\n$R9"
LangString HostFailed ${LANG_SIMPCHINESE} "无法将 Glyphsnap 注册为浏览器本机消息主机：$\n$R9"
LangString RightsFailed ${LANG_ENGLISH} \
    "The access rights of $INSTDIR could not be set (error $R9). Nothing was installed."
LangString RightsFailed ${LANG_SIMPCHINESE} "无法设置 $INSTDIR 的访问权限（错误 $R9）。未安装任何内容。"
; The first paragraph is the main window's own note.
LangString ListNotEmpty ${LANG_ENGLISH} \
    "若要卸载本程序，请先删除上表中的内容，否则仍将维持加密和隐藏状态。$\n$\nBrambolt still protects \
folders. Open Brambolt, delete every folder from its list, press OK, then uninstall again. \
Nothing was changed."
LangString ListNotEmpty ${LANG_SIMPCHINESE} \
    "若要卸载本程序，请先删除上表中的内容，否则仍将维持加密和隐藏状态。$\n$\n请打开 Brambolt，删除列表中的全部\
文件夹并点击“确定”，然后再卸载。未做任何更改。"
LangString OtherUsers ${LANG_ENGLISH} \
    "Brambolt's driver is still registered for another Windows user of this computer:$\n$R9$\n\
Each of those users must open Brambolt, delete every folder from the list and press OK before \
Brambolt can be uninstalled. Nothing was changed."
LangString OtherUsers ${LANG_SIMPCHINESE} \
    "本机其他 Windows 用户仍注册了 Brambolt 的驱动：$\n$R9$\n这些用户须各自打开 Brambolt，删除列表中的全部\
文件夹并点击“确定”，之后才能卸载。未做任何更改。"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Brambolt"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "Vorlin"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Brambolt and Glyphsnap setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Vorlin"

; Brambolt's single-instance mutex lives in the session's local namespace, as does this program.
!macro DEFINE_REFUSE_WHILE_RUNNING prefix
Function ${prefix}RefuseWhileBramboltRuns
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "OrinKelda") p .r0'
    ${If} $0 != 0
        System::Call 'kernel32::CloseHandle(p r0)'
        MessageBox MB_ICONSTOP|MB_OK "$(BramboltRunning)" /SD IDOK
        SetErrorLevel 4
        Quit
    ${EndIf}
FunctionEnd
!macroend
!insertmacro DEFINE_REFUSE_WHILE_RUNNING ""
!insertmacro DEFINE_REFUSE_WHILE_RUNNING "un."

; The installation folder gets FOLDER_RIGHTS before any file lands in it, whatever folder was
; chosen: Brambolt.exe runs elevated and the driver file is the image of a boot-start service.
Function ProtectInstallationFolder
    CreateDirectory "$INSTDIR"
    System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptorW(w "${FOLDER_RIGHTS}", i 1, *p .r1, p 0) i .r0 ?e'
    Pop $R9
    ${If} $0 != 0
        System::Call 'advapi32::GetSecurityDescriptorDacl(p r1, *i .r2, *p .r3, *i .r4) i .r0 ?e'
        Pop $R9
        ${If} $0 != 0
            ; DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION
            System::Call 'advapi32::SetNamedSecurityInfoW(w "$INSTDIR", i 1, i 0x80000004, p 0, p 0, p r3, p 0) i .R9'
            StrCpy $0 0
            ${If} $R9 == 0
                StrCpy $0 1
            ${EndIf}
        ${EndIf}
        System::Call 'kernel32::LocalFree(p r1)'
    ${EndIf}
    ${If} $0 == 0
        MessageBox MB_ICONSTOP|MB_OK "$(RightsFailed)" /SD IDOK
        SetErrorLevel 7
        Quit
    ${EndIf}
FunctionEnd

; The value of a command-line option NAME=VALUE (on the stack: NAME; back: VALUE or ""). The
; values hold slashes (chrome-extension://...), which FileFunc's GetOptions takes for the start of
; the next option; a value runs up to the next space or quotation mark.
Function CommandLineOption
    Exch $0
    Push $1
    Push $2
    Push $3
    Push $4
    ${GetParameters} $1
    StrLen $2 $0
    StrCpy $3 0
    ${Do}
        StrCpy $4 $1 $2 $3
        ${If} $4 == ""
            StrCpy $0 ""
            ${ExitDo}
        ${EndIf}
        ${If} $4 == $0
            IntOp $3 $3 + $2
            StrCpy $1 $1 "" $3
            StrCpy $3 0
            ${Do}
                StrCpy $4 $1 1 $3
                ${If} $4 == ""
                ${OrIf} $4 == " "
                ${OrIf} $4 == '"'
                    ${ExitDo}
                ${EndIf}
                IntOp $3 $3 + 1
            ${Loop}
            StrCpy $0 $1 $3
            ${ExitDo}
        ${EndIf}
        IntOp $3 $3 + 1
    ${Loop}
    Pop $4
    Pop $3
    Pop $2
    Pop $1
    Exch $0
FunctionEnd

Function .onInit
    SetShellVarContext all
    Call RefuseWhileBramboltRuns
FunctionEnd

Section "Brambolt and Glyphsnap" SecMain
    SectionIn RO
    ; Registered drivers point at the driver file of the installation folder: an upgrade goes
    ; where the earlier version lies.
    ReadRegStr $R9 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $R9 != ""
    ${AndIf} $R9 != $INSTDIR
    ${AndIf} ${FileExists} "$R9\Brambolt.exe"
        MessageBox MB_ICONSTOP|MB_OK "$(OtherFolder)" /SD IDOK
        SetErrorLevel 5
        Quit
    ${EndIf}

    Call ProtectInstallationFolder
    SetOutPath "$INSTDIR"
    File "/oname=BramboltSetupHelper.exe" "${HELPER_EXE}"
    File "/oname=Brambolt.exe" "${BRAMBOLT_EXE}"
    File "/oname=Glyphsnap.exe" "${GLYPHSNAP_EXE}"
    ; A loaded driver may hold its file: the new one then replaces it at the next restart, and
    ; the running one serves on until then.
    File "/oname=TarnBrambolt.sys.new" "${DRIVER_FILE}"
    Delete "$INSTDIR\TarnBrambolt.sys"
    Rename /REBOOTOK "$INSTDIR\TarnBrambolt.sys.new" "$INSTDIR\TarnBrambolt.sys"
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    CreateShortCut "$SMPROGRAMS\Brambolt.lnk" "$INSTDIR\Brambolt.exe" "" "$INSTDIR\Brambolt.exe" 0

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Brambolt"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Vorlin"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Brambolt.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "${VENDOR_SITE}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0

    ; /ALLOW=origin-or-id[,...] [/HOSTNAME=name]: Glyphsnap as this user's native-messaging host.
    Push "/ALLOW="
    Call CommandLineOption
    Pop $R1
    ${If} $R1 != ""
        Push "/HOSTNAME="
        Call CommandLineOption
        Pop $R2
        ${If} $R2 == ""
            StrCpy $R2 "${DEFAULT_HOST_NAME}"
        ${EndIf}
        nsExec::ExecToStack '"${HELPER}" register-host --folder "$INSTDIR" --name "$R2" --allow "$R1"'
        Pop $0
        Pop $R9
        DetailPrint $R9
        ${If} $0 != 0
            MessageBox MB_ICONEXCLAMATION|MB_OK "$(HostFailed)" /SD IDOK
            SetErrorLevel 6
        ${Else}
            ; The uninstaller removes the manifests of this name, and nothing else.
            WriteRegStr HKLM "${UNINSTALL_KEY}" "GlyphsnapHostName" "$R2"
        ${EndIf}
    ${EndIf}
SectionEnd

; Nothing is changed unless every check passes: a folder is never unprotected silently, and no
; driver registration is left pointing at a removed file. A list that could not be read whole
; counts as one that holds entries.
Function un.RefuseWhileAnythingIsProtected
    nsExec::ExecToStack '"${HELPER}" lock-list'
    Pop $0
    Pop $R9
    DetailPrint $R9
    ${If} $0 != 0
        MessageBox MB_ICONEXCLAMATION|MB_OK "$(ListNotEmpty)" /SD IDOK
        SetErrorLevel 3
        Quit
    ${EndIf}
    nsExec::ExecToStack '"${HELPER}" other-users'
    Pop $0
    Pop $R9
    ${If} $0 != 0
        MessageBox MB_ICONEXCLAMATION|MB_OK "$(OtherUsers)" /SD IDOK
        SetErrorLevel 3
        Quit
    ${EndIf}
FunctionEnd

; Brambolt's single-instance mutex, held until this program ends: a Brambolt started while the
; uninstaller works finds it taken and does not open its window. Taken already: Brambolt runs.
Function un.HoldBramboltsMutex
    System::Call 'kernel32::CreateMutexW(p 0, i 1, w "OrinKelda") p .r0 ?e'
    Pop $1
    ${If} $0 == 0
    ${OrIf} $1 == 183
        MessageBox MB_ICONSTOP|MB_OK "$(BramboltRunning)" /SD IDOK
        SetErrorLevel 4
        Quit
    ${EndIf}
FunctionEnd

Function un.onInit
    SetShellVarContext all
    Call un.RefuseWhileBramboltRuns
    Call un.RefuseWhileAnythingIsProtected
FunctionEnd

Section "Uninstall"
    ; The list may have gained an entry while the confirm page was open: everything is checked
    ; again right before the first removal, with Brambolt kept from starting meanwhile.
    Call un.HoldBramboltsMutex
    Call un.RefuseWhileAnythingIsProtected

    nsExec::ExecToLog '"${HELPER}" remove-driver'
    Pop $0
    ReadRegStr $R2 HKLM "${UNINSTALL_KEY}" "GlyphsnapHostName"
    ${If} $R2 == ""
        StrCpy $R2 "${DEFAULT_HOST_NAME}"
    ${EndIf}
    nsExec::ExecToLog '"${HELPER}" unregister-host --folder "$INSTDIR" --name "$R2"'
    Pop $0
    nsExec::ExecToLog '"${HELPER}" remove-web-data --folder "$INSTDIR"'
    Pop $0

    ; Exactly what was installed: a file of someone else's stays, and so does its folder.
    Delete "$SMPROGRAMS\Brambolt.lnk"
    Delete "$INSTDIR\Brambolt.exe"
    Delete "$INSTDIR\Glyphsnap.exe"
    Delete /REBOOTOK "$INSTDIR\TarnBrambolt.sys"
    Delete "$INSTDIR\TarnBrambolt.sys.new"
    Delete "$INSTDIR\BramboltSetupHelper.exe"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    RMDir "$PROGRAMFILES64\Vorlin"

    ; The main window's handle for a second instance; the data folder with the credential record
    ; stays (the guide says how to remove it).
    DeleteRegValue HKCU "Software\Ravelin" "KDWND"
    DeleteRegKey /ifempty HKCU "Software\Ravelin"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
