#include "clsGroupbox.h"

#include <string>

#include "Placeholder.h"
#include "platform/WinText.h"

namespace kw {

clsGroupbox::~clsGroupbox()
{
    for (HWND h : groups_) {
        if (h && IsWindow(h))
            DestroyWindow(h);
    }
}

bool clsGroupbox::CreateGroupBoxControl(HWND r_hParent, HWND r_ctlBoundaryControl, std::string_view r_sCaption)
{
    if (groups_.back())
        groups_.push_back(nullptr);
    RECT r = BoundaryRect(r_ctlBoundaryControl, r_hParent);
    HWND box = CreateWindowExW(WS_EX_TRANSPARENT, L"BUTTON", Widen(r_sCaption).c_str(),
                               WS_CHILD | WS_VISIBLE | BS_GROUPBOX, r.left, r.top, r.right - r.left, r.bottom - r.top,
                               r_hParent, reinterpret_cast<HMENU>(1), GetModuleHandleW(nullptr), nullptr);
    groups_.back() = box;
    return box != nullptr;
}

HWND clsGroupbox::hWnd(int v_iIndex) const
{
    if (v_iIndex < 0 || static_cast<size_t>(v_iIndex) >= groups_.size())
        return nullptr;
    return groups_[static_cast<size_t>(v_iIndex)];
}

}  // namespace kw
