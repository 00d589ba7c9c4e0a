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
