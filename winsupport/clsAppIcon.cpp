#include "clsAppIcon.h"

#include <string>

#include "Dpi.h"
#include "platform/WinText.h"

namespace kw {

void clsAppIcon::SetAppIcon(HWND r_hParentWnd, std::string_view r_sResourceID, UINT v_lDpi)
{
    if (!r_hParentWnd)
        return;
    HWND top = r_hParentWnd;
    for (HWND owner = GetWindow(top, GW_OWNER); owner; owner = GetWindow(owner, GW_OWNER))
        top = owner;

    HINSTANCE module = GetModuleHandleW(nullptr);
    std::wstring name = Widen(r_sResourceID);
    struct Size {
        int cx, cy;
        WPARAM which;
    };
    // The small one first: a window given only a big icon gets a shrunk copy of it made.
    const Size sizes[] = {{SM_CXSMICON, SM_CYSMICON, ICON_SMALL}, {SM_CXICON, SM_CYICON, ICON_BIG}};
    for (const Size& s : sizes) {
        // Shared icons belong to the system; never destroyed here.
        int cx = GetSystemMetrics(s.cx), cy = GetSystemMetrics(s.cy);
        if (v_lDpi) {
            // The frame drawn for that size, or the largest below it: never one stretched.
            cx = cy = FittingIconFrame(module, name.c_str(), SystemMetricForDpi(s.cx, v_lDpi));
        }
        HANDLE icon = LoadImageW(module, name.c_str(), IMAGE_ICON, cx, cy, LR_SHARED);
        if (!icon)
            continue;  // leave the window's icon as it was
        SendMessageW(top, WM_SETICON, s.which, reinterpret_cast<LPARAM>(icon));
        if (r_hParentWnd != top)  // once is enough for a window that has no owner
            SendMessageW(r_hParentWnd, WM_SETICON, s.which, reinterpret_cast<LPARAM>(icon));
    }
}

}  // namespace kw
