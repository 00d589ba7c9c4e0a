#pragma once
#include <windows.h>

#include <string_view>

namespace kw {

// Puts the program's icon (big and small) on a window and on the top of its owner chain.
class clsAppIcon {
public:
    void SetAppIcon(HWND r_hParentWnd, std::string_view r_sResourceID);
};

}  // namespace kw
