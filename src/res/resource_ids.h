#pragma once

#include "platform/dialog_ids.h"

// Dialogs.
constexpr int IDD_ABOUTBOX = 100;
constexpr int IDD_QUILLOP_DIALOG = 102;
constexpr int IDD_DUP_FILE_NAME = 144;
constexpr int IDD_DUP_VORN_NAME = 145;

// Controls.
constexpr int IDC_STATUS = 1000;
constexpr int IDC_PROGRESS = 1004;
constexpr int IDC_INSTALL = 1005;
constexpr int IDC_BROWSE = 1006;
constexpr int IDC_NEW_NAME = 1009;
constexpr int IDC_PROMPT = 1010;

// Strings.
constexpr int IDS_ABOUTBOX = 101;
constexpr int IDS_FILETYPE_KEY = 102;
constexpr int IDS_BROWSE_TITLE = 103;
constexpr int IDS_DEFAULT_FOLDER = 104;
constexpr int IDS_CONTROL_FILE = 105;
constexpr int IDS_FINDING = 107;
constexpr int IDS_CREATING = 116;
constexpr int IDS_VRN_RESOURCE = 117;
constexpr int IDS_CTL_RESOURCE = 118;
constexpr int IDS_READY = 1000;
constexpr int IDS_NOT_FOUND = 1001;
constexpr int IDS_DONE = 1002;
// A typed name refused, and the title of such warnings.
constexpr int IDS_UNSTORABLE_CHARACTER = 1003;
constexpr int IDS_WARNING_TITLE = 1004;
// A run that stops, and the catalogue's errors in words.
constexpr int IDS_FILE_ERROR = 1005;
constexpr int IDS_ENTRY_ERROR = 1006;
constexpr int IDS_CANT_FIND_VORN = 1007;
constexpr int IDS_CANT_LOAD_VORN = 1008;
constexpr int IDS_CANT_FIND_HOST = 1009;
constexpr int IDS_CANT_FIND_CONTROL_FILE = 1010;
constexpr int IDS_INVALID_FILE = 1011;
constexpr int IDS_UNKNOWN_ERROR = 1012;
// What a screen reader announces for controls with no text of their own.
constexpr int IDS_NAME_STATUS = 1013;
constexpr int IDS_NAME_PROGRESS = 1014;
constexpr int IDS_NAME_ICON = 1015;
constexpr int IDS_NAME_NEW_NAME = 1016;

// Icons.
constexpr int IDR_MAINFRAME = 128;

// Window-menu commands.
constexpr unsigned IDM_ABOUTBOX = 0x0010;
