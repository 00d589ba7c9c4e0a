// A second yardstick for start-up: Kitwright's own resources (themed common controls from
// the manifest, the main window and its four page templates) shown by the dialog manager
// with no code behind them. The gap between it and the minimal window is what the chosen
// window costs by itself; the gap above it is what Kitwright's code adds. Built a second
// time with only the first page, the floor for a window that makes its pages lazily.
#include <windows.h>
#include <commctrl.h>

#include <initializer_list>

#include "resources/resource.h"

namespace {

INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG: return TRUE;
    case WM_CLOSE: DestroyWindow(hwnd); return TRUE;
    case WM_DESTROY: PostQuitMessage(0); return TRUE;
    default: return FALSE;
    }
}

INT_PTR CALLBACK PageProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show)
{
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    HWND main = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, DialogProc, 0);
#ifdef KW_FIRST_PAGE_ONLY
    // As if the hidden pages were made only when first shown.
    for (int page : {IDD_PAGE_INFORMATION}) {
#else
    for (int page : {IDD_PAGE_INFORMATION, IDD_PAGE_PROGRAM_FILES, IDD_PAGE_SYSTEM_FILES, IDD_PAGE_EXECUTABLES}) {
#endif
        HWND h = CreateDialogParamW(instance, MAKEINTRESOURCEW(page), main, PageProc, 0);
        if (page == IDD_PAGE_INFORMATION)
            ShowWindow(h, SW_SHOW);
    }
    ShowWindow(main, show);
    UpdateWindow(main);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(main, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return 0;
}
