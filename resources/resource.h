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

// ---- Main window (templates 100-199, controls and menu items 1000-1999) ----------------
#define IDD_MAIN 100
#define IDD_PAGE_INFORMATION 101
#define IDD_PAGE_PROGRAM_FILES 102
#define IDD_PAGE_SYSTEM_FILES 103
#define IDD_PAGE_EXECUTABLES 104
#define IDM_MAIN 105

// Frame: the tab strip's placeholder and the command buttons. Not 1000 or 1001: a combo
// box's own list and edit carry those, and Enter looks the default button up by id
// through every child window.
#define IDC_SHP_TAB_CONTROL 1004
#define IDC_CMD_CREATE_PLUGIN 1005
#define IDC_CMD_RESET 1006
#define IDC_CMD_EXIT 1007
// Pages, group-box placeholders, header icons and hints: index i is base + i.
#define IDC_PIC_TAB_BOX 1010
#define IDC_SHP_GROUP_BOX 1020
#define IDC_IMG_ICON 1030
#define IDC_LBL_HEADER 1040

// Information page.
#define IDC_LBL_PLUGIN_NAME 1100
#define IDC_TXT_PLUGIN_NAME 1101
#define IDC_LBL_PROGRAM_NAME 1102
#define IDC_TXT_PROGRAM_NAME 1103
#define IDC_LBL_PROGRAM_WEBSITE 1104
#define IDC_TXT_PROGRAM_WEBSITE 1105
#define IDC_LBL_DESCRIPTION 1106
#define IDC_TXT_DESCRIPTION 1107
#define IDC_LBL_PLUGIN_LOCATION 1108
#define IDC_TXT_PLUGIN_LOCATION 1109
#define IDC_CHK_INC_AUTHOR 1110
#define IDC_CMD_RESET_INFORMATION 1111

// Program Files page (the two copy options are base + 0 and base + 1).
#define IDC_OPT_COPY_OPTION 1200
#define IDC_CMD_GET_PROGRAM_FILES 1202
#define IDC_LST_PROGRAM_FILES 1203
#define IDC_CMD_REMOVE_PROGRAM_FILE 1204
#define IDC_CMD_RESET_PROGRAM_FILES 1205
#define IDC_LBL_PROGRAM_FILES_DESTINATION 1206
#define IDC_CBO_PROGRAM_FILES_DESTINATION 1207

// System Files page.
#define IDC_CMD_GET_SYSTEM_FILES 1300
#define IDC_LST_SYSTEM_FILES 1301
#define IDC_CMD_REMOVE_SYSTEM_FILE 1302
#define IDC_CMD_RESET_SYSTEM_FILES 1303
#define IDC_LBL_SYSTEM_FILES_DESTINATION 1304
#define IDC_CBO_SYSTEM_FILES_DESTINATION 1305

// Executables page (the two reset buttons are base + 0 and base + 1).
#define IDC_TXT_EXECUTABLE_GROUP 1400
#define IDC_CMD_GET_EXECUTABLE 1401
#define IDC_TXT_EXECUTABLE 1402
#define IDC_CHK_INC_RAMDISK 1403
#define IDC_CHK_INC_AUTORUN 1404
#define IDC_CMD_RESET_EXECUTABLE 1405
#define IDC_LBL_SHORTCUT_NAME 1407
#define IDC_TXT_SHORTCUT_NAME 1408
#define IDC_CHK_INC_ZEL 1409
#define IDC_CHK_INC_JUX_MENU 1410
#define IDC_CHK_INC_JUX_DESKTOP 1411
#define IDC_CHK_INC_JUX_QLAUNCH 1412
#define IDC_LBL_MENU_GROUP 1413
#define IDC_CBO_MENU_GROUP 1414
#define IDC_CHK_APPEND_MENU_GROUP 1415

// Menus. The recent files take the ids from IDM_FILE_RECENT on, one per entry.
#define IDM_FILE 1880
#define IDM_FILE_NEW 1881
#define IDM_FILE_OPEN 1882
#define IDM_FILE_SAVE 1883
#define IDM_FILE_SAVE_AS 1884
#define IDM_FILE_SEPARATOR 1885
#define IDM_FILE_RECENT_SEPARATOR 1886
#define IDM_FILE_EXIT 1887
#define IDM_FILE_RECENT 1890
#define IDM_SETTINGS 1900
#define IDM_SETTINGS_MENU 1901
#define IDM_SETTINGS_AUTHOR 1902
#define IDM_SETTINGS_OPTIONS 1903
#define IDM_SETTINGS_SEPARATOR 1904
#define IDM_SETTINGS_LOCATION 1905
#define IDM_HELP 1910
#define IDM_HELP_README 1911
#define IDM_HELP_SEPARATOR 1912
#define IDM_HELP_ABOUT 1913

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
