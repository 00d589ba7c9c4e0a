#include "clsTabs.h"

#include <commctrl.h>

#include <cstdint>
#include <string>

#include "Placeholder.h"
#include "platform/WinText.h"

namespace kw {

namespace {

constexpr LONG_PTR frame = WS_BORDER | WS_DLGFRAME | WS_THICKFRAME;
constexpr LONG_PTR edges = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME;

void DestroyOwned(HWND& h)
{
    if (h && IsWindow(h))
        DestroyWindow(h);
    h = nullptr;
}

}  // namespace

clsTabs::~clsTabs() { DestroyOwned(tab_); }

void clsTabs::CreateControl(HWND r_hParentHwnd, HWND r_ctlBoundaryControl)
{
    boundary_ = r_ctlBoundaryControl;
    DestroyOwned(tab_);
    // The old tabs went with the old window; their panels must not answer for new tabs.
    content_.assign(1, nullptr);
    padding_ = {-1, -1};
    RECT r = BoundaryRect(boundary_, r_hParentHwnd);
    tab_ =
        CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, r.left, r.top,
                        r.right - r.left, r.bottom - r.top, r_hParentHwnd, nullptr, GetModuleHandleW(nullptr), nullptr);
}

void clsTabs::InsertTab(HWND r_ctlContentControl, std::string_view r_sCaption)
{
    content_.push_back(r_ctlContentControl);
    const int k = static_cast<int>(content_.size()) - 1;
    std::wstring caption = Widen(r_sCaption);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    item.iImage = -1;
    // k is never below the tab count, so the tab lands at the end.
    SendMessageW(tab_, TCM_INSERTITEMW, static_cast<WPARAM>(k), reinterpret_cast<LPARAM>(&item));
    CalcDisplayRect();
    ShowCurrentTab();
}

int clsTabs::CurrentTab() const
{
    if (!tab_)
        return 0;
    return static_cast<int>(SendMessageW(tab_, TCM_GETCURSEL, 0, 0)) + 1;
}

void clsTabs::CurrentTab(int v_iTab)
{
    // TCM_SETCURSEL sends no TCN_SELCHANGE, so the panel is switched here.
    SendMessageW(tab_, TCM_SETCURSEL, static_cast<WPARAM>(v_iTab - 1), 0);
    ShowCurrentTab();
}

void clsTabs::Padding(int cx, int cy)
{
    if (!tab_)
        return;
    // The tabs are measured when the font is set: set it again to measure them anew, once
    // there are tabs and the room changed.
    if (padding_.x != cx || padding_.y != cy) {
        padding_ = {cx, cy};
        SendMessageW(tab_, TCM_SETPADDING, 0, MAKELPARAM(cx, cy));
        if (SendMessageW(tab_, TCM_GETITEMCOUNT, 0, 0) > 0)
            SendMessageW(tab_, WM_SETFONT, static_cast<WPARAM>(SendMessageW(tab_, WM_GETFONT, 0, 0)), TRUE);
    }
    Relayout();
}

void clsTabs::Relayout()
{
    if (!tab_)
        return;
    CalcDisplayRect();
    ShowCurrentTab();
}

void clsTabs::Notify(HWND, UINT v_uMsg, WPARAM, LPARAM v_lParam)
{
    if (v_uMsg != WM_NOTIFY || !v_lParam)
        return;
    // Any tab control under the same parent counts, as the source is not checked.
    const auto* hdr = reinterpret_cast<const NMHDR*>(v_lParam);
    if (hdr->code == static_cast<UINT>(TCN_SELCHANGE))
        ShowCurrentTab();
}

void clsTabs::CalcDisplayRect()
{
    RECT offsets{};
    SendMessageW(tab_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&offsets));
    RECT b = BoundaryRect(boundary_, GetParent(tab_));
    display_.left = b.left + offsets.left;
    display_.top = b.top + offsets.top;
    display_.right = b.right + offsets.right;
    display_.bottom = b.bottom + offsets.bottom;
}

// Already shown borderless over the display area and on top: moving it again costs a
// frame change and a relayout of the page for nothing (each tab inserted asks).
bool clsTabs::Placed(HWND content) const
{
    const LONG_PTR style = GetWindowLongPtrW(content, GWL_STYLE);
    if ((style & frame) || !(style & WS_VISIBLE) || (GetWindowLongPtrW(content, GWL_EXSTYLE) & edges))
        return false;
    if (GetWindow(content, GW_HWNDPREV))
        return false;
    RECT r{};
    if (!GetWindowRect(content, &r))
        return false;
    MapWindowPoints(HWND_DESKTOP, GetParent(content), reinterpret_cast<POINT*>(&r), 2);
    return EqualRect(&r, &display_) != FALSE;
}

void clsTabs::ShowCurrentTab()
{
    const int current = CurrentTab();
    const int last = static_cast<int>(content_.size()) - 1;
    if (current >= 1 && current <= last && !content_[current] && ContentNeeded)
        content_[current] = ContentNeeded(current);
    HWND shown = (current >= 1 && current <= last) ? content_[current] : nullptr;
    if (shown && !Placed(shown)) {
        // Borderless, over the display area, above the strip. A style set to what it is
        // still costs a round of messages, and an unchanged frame needs no recalculation.
        const LONG_PTR style = GetWindowLongPtrW(shown, GWL_STYLE);
        const LONG_PTR exStyle = GetWindowLongPtrW(shown, GWL_EXSTYLE);
        const bool framed = (style & frame) || (exStyle & edges);
        if (style & frame)
            SetWindowLongPtrW(shown, GWL_STYLE, style & ~frame);
        if (exStyle & edges)
            SetWindowLongPtrW(shown, GWL_EXSTYLE, exStyle & ~edges);
        SetWindowPos(shown, HWND_TOP, display_.left, display_.top, display_.right - display_.left,
                     display_.bottom - display_.top, SWP_SHOWWINDOW | (framed ? SWP_FRAMECHANGED : 0));
    }
    for (int k = 1; k <= last; ++k) {
        if (content_[k] && content_[k] != shown)
            ShowWindow(content_[k], SW_HIDE);
    }
}

}  // namespace kw
