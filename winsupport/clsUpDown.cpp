#include "clsUpDown.h"

#include <commctrl.h>

#include <cstdint>

#include "Placeholder.h"

namespace kw {

clsUpDown::~clsUpDown()
{
    if (updown_ && IsWindow(updown_))
        DestroyWindow(updown_);
}

LPARAM clsUpDown::MakeLong(int low, int high)
{
    auto value = (static_cast<std::uint32_t>(high) << 16) | (static_cast<std::uint32_t>(low) & 0xFFFFu);
    return static_cast<LPARAM>(static_cast<std::int32_t>(value));
}

void clsUpDown::CreateUpDownControl(HWND r_hParentHwnd, HWND r_hBuddyHwnd, int v_iMinRange, int v_iMaxRange,
                                    int v_iPosition)
{
    if (updown_ && IsWindow(updown_))
        DestroyWindow(updown_);
    // Size 0: the control sizes itself against its buddy.
    updown_ =
        CreateWindowExW(0, UPDOWN_CLASSW, L"",
                        WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0,
                        0, 0, 0, r_hParentHwnd, reinterpret_cast<HMENU>(1), GetModuleHandleW(nullptr), nullptr);
    if (!updown_)
        return;
    SendMessageW(updown_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(r_hBuddyHwnd), 0);
    gap_ = BoundaryRect(updown_, r_hParentHwnd).left - BoundaryRect(r_hBuddyHwnd, r_hParentHwnd).right;
    SendMessageW(updown_, UDM_SETRANGE, 0, MakeLong(v_iMaxRange, v_iMinRange));
    SendMessageW(updown_, UDM_SETPOS, 0, MakeLong(v_iPosition, 0));
}

void clsUpDown::Width(int v_lWidth)
{
    auto buddy = reinterpret_cast<HWND>(SendMessageW(updown_, UDM_GETBUDDY, 0, 0));
    if (!updown_ || !buddy || v_lWidth <= 0)
        return;
    HWND parent = GetParent(updown_);
    const RECT u = BoundaryRect(updown_, parent), b = BoundaryRect(buddy, parent);
    const LONG left = u.right - v_lWidth;
    SetWindowPos(updown_, nullptr, left, u.top, v_lWidth, u.bottom - u.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // The arrows meet the buddy as they first did (over its border), at any DPI.
    SetWindowPos(buddy, nullptr, b.left, b.top, left - gap_ - b.left, b.bottom - b.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool clsUpDown::Enabled() const { return updown_ && IsWindowEnabled(updown_); }

void clsUpDown::Enabled(bool v_bEnabled)
{
    if (updown_)
        EnableWindow(updown_, v_bEnabled ? TRUE : FALSE);
}

}  // namespace kw
