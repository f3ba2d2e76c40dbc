// Resource and control identifiers of Brambolt, shared by the resource script and the code.
// Plain #defines, because windres reads this file too.
#pragma once

#define IDD_KELDA_DIALOG 102
#define IDD_SETPASS_DIALOG 103
#define IDR_MAINFRAME 132

#define IDC_FOLDER_LIST 1000
#define IDC_ADD_FOLDER 1001
#define IDC_DELETE_FOLDER 1002
#define IDC_NOTICE_PLACEHOLDER 1003
#define IDC_SET_PASSWORD 1005
#define IDC_UPDATE_LINK 1010

#define IDC_PASSWORD_EDIT 1015
#define IDC_CONFIRM_EDIT 1016
#define IDC_SET_PASSWORD_OK 1017
#define IDC_SET_PASSWORD_CANCEL 1018
