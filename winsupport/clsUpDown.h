#pragma once
#include <windows.h>

namespace kw {

// An up-down arrow pair bound to a buddy window that shows the number.
class clsUpDown {
public:
    clsUpDown() = default;
    ~clsUpDown();
    clsUpDown(const clsUpDown&) = delete;
    clsUpDown& operator=(const clsUpDown&) = delete;

    void CreateUpDownControl(HWND r_hParentHwnd, HWND r_hBuddyHwnd, int v_iMinRange, int v_iMaxRange, int v_iPosition);
    // Makes the control v_lWidth pixels wide at the buddy's right edge, the buddy giving or
    // taking the difference (the control sizes itself the same at every DPI).
    void Width(int v_lWidth);
    bool Enabled() const;
    void Enabled(bool v_bEnabled);

    HWND UpDownHandle() const { return updown_; }

    // high * 65536 + (low & 0xFFFF), as a 32-bit signed value.
    static LPARAM MakeLong(int low, int high);

private:
    HWND updown_ = nullptr;
    LONG gap_ = 0;  // from the buddy's right edge to the arrows, as the control first sat
};

}  // namespace kw
