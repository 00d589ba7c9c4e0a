#pragma once
#include <windows.h>

#include <string_view>
#include <vector>

namespace kw {

// Group boxes over placeholder windows; only grows.
class clsGroupbox {
public:
    clsGroupbox() = default;
    ~clsGroupbox();
    clsGroupbox(const clsGroupbox&) = delete;
    clsGroupbox& operator=(const clsGroupbox&) = delete;

    bool CreateGroupBoxControl(HWND r_hParent, HWND r_ctlBoundaryControl, std::string_view r_sCaption);
    // 0 for an index outside the list.
    HWND hWnd(int v_iIndex) const;

private:
    std::vector<HWND> groups_{nullptr};
};

}  // namespace kw
