#pragma once
#include <windows.h>

#include <functional>
#include <string_view>
#include <vector>

namespace kw {

// A native tab strip over a placeholder window; each tab shows one content window laid
// over the strip's display area (the content windows stay siblings of the strip).
class clsTabs {
public:
    clsTabs() = default;
    ~clsTabs();
    clsTabs(const clsTabs&) = delete;
    clsTabs& operator=(const clsTabs&) = delete;

    void CreateControl(HWND r_hParentHwnd, HWND r_ctlBoundaryControl);
    // A null content window is asked for through ContentNeeded when its tab is first shown.
    void InsertTab(HWND r_ctlContentControl, std::string_view r_sCaption);
    // Makes the content of a tab (counted from 1) that has none yet; null when it cannot.
    std::function<HWND(int tab)> ContentNeeded;

    // Counted from 1; 0 when nothing is selected.
    int CurrentTab() const;
    void CurrentTab(int v_iTab);

    HWND hWnd() const { return tab_; }

    // Room around each caption, in pixels (it grows with the DPI); the tabs are measured
    // again and the shown content laid over the new display area.
    void Padding(int cx, int cy);
    // After the strip was moved or sized: the shown content follows.
    void Relayout();

    // Fed with every WM_NOTIFY the parent receives.
    void Notify(HWND v_hWnd, UINT v_uMsg, WPARAM v_wParam, LPARAM v_lParam);

private:
    void CalcDisplayRect();
    void ShowCurrentTab();
    bool Placed(HWND content) const;

    HWND tab_ = nullptr;
    HWND boundary_ = nullptr;
    std::vector<HWND> content_{nullptr};  // entry k belongs to tab k - 1
    RECT display_{};                      // left, top, right, bottom in the parent
    POINT padding_{-1, -1};               // as last set; the control's own until then
};

}  // namespace kw
