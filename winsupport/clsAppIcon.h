#pragma once
#include <windows.h>

#include <string_view>

namespace kw {

// Puts the program's icon (big and small) on a window and on the top of its owner chain.
class clsAppIcon {
public:
    // v_lDpi: the sizes for a window at that DPI; 0 the system's sizes.
    void SetAppIcon(HWND r_hParentWnd, std::string_view r_sResourceID, UINT v_lDpi = 0);
};

}  // namespace kw
