#include "clsUpDown.h"

#include <commctrl.h>

#include <cstdint>

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
    updown_ = CreateWindowExW(0, UPDOWN_CLASSW, L"",
                              WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS |
                                  UDS_NOTHOUSANDS,
                              0, 0, 0, 0, r_hParentHwnd, reinterpret_cast<HMENU>(1), GetModuleHandleW(nullptr),
                              nullptr);
    if (!updown_)
        return;
    SendMessageW(updown_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(r_hBuddyHwnd), 0);
    SendMessageW(updown_, UDM_SETRANGE, 0, MakeLong(v_iMaxRange, v_iMinRange));
    SendMessageW(updown_, UDM_SETPOS, 0, MakeLong(v_iPosition, 0));
}

bool clsUpDown::Enabled() const
{
    return updown_ && IsWindowEnabled(updown_);
}

void clsUpDown::Enabled(bool v_bEnabled)
{
    if (updown_)
        EnableWindow(updown_, v_bEnabled ? TRUE : FALSE);
}

}  // namespace kw
