#pragma once
// Resource ids of the program (icons, strings, version, dialog templates). Included by
// Kitwright.rc and by C++ code; keep it to #define lines.

// The program icon is the group named "A1" (a name, not a number).
#define IDI_APP_NAME "A1"
#define IDI_PAGE_INFORMATION 2
#define IDI_PAGE_PROGRAM_FILES 3
#define IDI_PAGE_SYSTEM_FILES 4
#define IDI_PAGE_EXECUTABLES 5
#define IDI_PAGE_SHORTCUTS 6
#define IDI_ABOUT 7

// Header hints of the main window's group boxes, one per box.
#define IDS_HINT_INFORMATION 0
#define IDS_HINT_PROGRAM_FILES 1
#define IDS_HINT_SYSTEM_FILES 2
#define IDS_HINT_EXECUTABLES 3
#define IDS_HINT_SHORTCUTS 4

// Dialog templates: 100-199 the main window and its pages, 200-299 the dialogs.
// Control ids stay above 1000; 1 and 2 (IDOK, IDCANCEL) belong to the dialog manager.

// The settings dialogs and the about box (templates 200-299, their controls 2000-2999).
#define IDD_AUTHOR 200
#define IDD_MENU 201
#define IDD_OPTIONS 202
#define IDD_ABOUT 203

#define IDC_LBL_AUTHOR_NAME 2001
#define IDC_TXT_AUTHOR_NAME 2002
#define IDC_LBL_AUTHOR_WEBSITE 2003
#define IDC_TXT_AUTHOR_WEBSITE 2004
#define IDC_LBL_AUTHOR_CONTACT 2005
#define IDC_TXT_AUTHOR_CONTACT 2006
#define IDC_LBL_AUTHOR_COMMENT 2007
#define IDC_TXT_AUTHOR_COMMENT 2008
#define IDC_CMD_AUTHOR_OK 2009
#define IDC_CMD_AUTHOR_CANCEL 2010

#define IDC_LBL_NEW_MENU_GROUP 2101
#define IDC_TXT_NEW_MENU_GROUP 2102
#define IDC_LST_MENU_GROUPS 2103
#define IDC_CMD_ADD_NEW_GROUP 2104
#define IDC_CMD_DELETE_GROUP 2105
#define IDC_CMD_MENU_OK 2106
#define IDC_CMD_MENU_CANCEL 2107

#define IDC_CHK_POPUP_DONE 2201
#define IDC_CHK_ZEL_FILE_NAME 2202
#define IDC_LBL_ZEL_VERSION 2203
#define IDC_CBO_ZEL_VERSION 2204
#define IDC_CMD_OPTIONS_OK 2205
#define IDC_CMD_OPTIONS_CANCEL 2206

#define IDC_IMG_ABOUT 2301
// lblAbout(0) to lblAbout(3): IDC_LBL_ABOUT + index
#define IDC_LBL_ABOUT 2302
#define IDC_CMD_ABOUT_OK 2306
