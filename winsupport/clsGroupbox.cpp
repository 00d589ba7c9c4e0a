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
    const int next = groups_.back() ? static_cast<int>(groups_.size()) : static_cast<int>(groups_.size()) - 1;
    return CreateGroupBoxControl(next, r_hParent, r_ctlBoundaryControl, r_sCaption);
}

bool clsGroupbox::CreateGroupBoxControl(int v_iIndex, HWND r_hParent, HWND r_ctlBoundaryControl,
                                        std::string_view r_sCaption)
{
    if (v_iIndex < 0)
        return false;
    if (static_cast<size_t>(v_iIndex) >= groups_.size())
        groups_.resize(static_cast<size_t>(v_iIndex) + 1, nullptr);
    HWND& slot = groups_[static_cast<size_t>(v_iIndex)];
    if (slot && IsWindow(slot))
        DestroyWindow(slot);
    RECT r = BoundaryRect(r_ctlBoundaryControl, r_hParent);
    HWND box = CreateWindowExW(WS_EX_TRANSPARENT, L"BUTTON", Widen(r_sCaption).c_str(),
                               WS_CHILD | WS_VISIBLE | BS_GROUPBOX, r.left, r.top, r.right - r.left, r.bottom - r.top,
                               r_hParent, reinterpret_cast<HMENU>(1), GetModuleHandleW(nullptr), nullptr);
    slot = box;
    return box != nullptr;
}

HWND clsGroupbox::hWnd(int v_iIndex) const
{
    if (v_iIndex < 0 || static_cast<size_t>(v_iIndex) >= groups_.size())
        return nullptr;
    return groups_[static_cast<size_t>(v_iIndex)];
}

}  // namespace kw
