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
    // The same, as box number v_iIndex (for boxes made out of order, page by page).
    bool CreateGroupBoxControl(int v_iIndex, HWND r_hParent, HWND r_ctlBoundaryControl, std::string_view r_sCaption);
    // 0 for an index outside the list.
    HWND hWnd(int v_iIndex) const;

private:
    std::vector<HWND> groups_{nullptr};
};

}  // namespace kw
