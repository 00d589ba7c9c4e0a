#include <gtest/gtest.h>

#include "TestWindows.h"

#include <commctrl.h>

#include <string>

#include "winsupport/clsGroupbox.h"
#include "winsupport/clsTabs.h"
#include "winsupport/clsUpDown.h"

namespace {

kw::clsTabs* g_tabs = nullptr;
int g_selChanges = 0;

// The main window's arrangement: every WM_NOTIFY of the parent goes to the tab wrapper.
LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_NOTIFY:
        if (reinterpret_cast<NMHDR*>(lParam)->code == static_cast<UINT>(TCN_SELCHANGE))
            ++g_selChanges;
        if (g_tabs)
            g_tabs->Notify(hwnd, msg, wParam, lParam);
        return 0;
    default: return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

bool Visible(HWND h) { return (GetWindowLongPtrW(h, GWL_STYLE) & WS_VISIBLE) != 0; }

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

// z-order among siblings: true when a comes before (above) b.
bool Above(HWND a, HWND b)
{
    for (HWND h = GetWindow(a, GW_HWNDNEXT); h; h = GetWindow(h, GW_HWNDNEXT)) {
        if (h == b)
            return true;
    }
    return false;
}

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        kwtest::RegisterClassOnce(L"KwControlsHost", HostProc);
        host = CreateWindowExW(0, L"KwControlsHost", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 560, 420,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(host, nullptr);
        g_selChanges = 0;
    }
    void TearDown() override
    {
        g_tabs = nullptr;
        DestroyWindow(host);
    }

    HWND host = nullptr;
};

TEST_F(ControlsTest, TabsShowExactlyTheSelectedPanelInTheDisplayArea)
{
    HWND boundary = kwtest::MakeChild(host, L"STATIC", L"", 0, 20, 30, 400, 260);
    HWND panels[3];
    for (int i = 0; i < 3; ++i)
        panels[i] =
            kwtest::MakeChild(host, L"STATIC", L"page", WS_VISIBLE | WS_BORDER, 5 + i * 7, 5, 50, 40, WS_EX_CLIENTEDGE);

    HWND tabHwnd = nullptr;
    {
        kw::clsTabs tabs;
        g_tabs = &tabs;
        tabs.CreateControl(host, boundary);
        tabHwnd = tabs.hWnd();
        ASSERT_NE(tabHwnd, nullptr);
        EXPECT_EQ(kwtest::ClassOf(tabHwnd), L"SysTabControl32");
        EXPECT_EQ(GetParent(tabHwnd), host);
        const RECT bound = kwtest::RectInParent(boundary);
        EXPECT_TRUE(SameRect(kwtest::RectInParent(tabHwnd), bound));

        tabs.InsertTab(panels[0], "One");
        // The first tab is shown at once.
        EXPECT_EQ(tabs.CurrentTab(), 1);
        EXPECT_TRUE(Visible(panels[0]));
        tabs.InsertTab(panels[1], "Two");
        tabs.InsertTab(panels[2], "Three");
        ASSERT_EQ(SendMessageW(tabHwnd, TCM_GETITEMCOUNT, 0, 0), 3);
        EXPECT_EQ(tabs.CurrentTab(), 1);
        EXPECT_TRUE(Visible(panels[0]));
        EXPECT_FALSE(Visible(panels[1]));
        EXPECT_FALSE(Visible(panels[2]));

        // The panel fills the area below the tab row, inside the strip, without a border.
        RECT row{};
        SendMessageW(tabHwnd, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
        const RECT shown = kwtest::RectInParent(panels[0]);
        EXPECT_TRUE(Inside(shown, bound));
        EXPECT_GE(shown.top, bound.top + row.bottom);
        EXPECT_GT(shown.left, bound.left);
        EXPECT_GT(shown.right - shown.left, 400 - 20);
        EXPECT_GT(shown.bottom - shown.top, 260 - row.bottom - 20);
        EXPECT_EQ(GetWindowLongPtrW(panels[0], GWL_STYLE) & WS_BORDER, 0);
        EXPECT_EQ(GetWindowLongPtrW(panels[0], GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
        EXPECT_TRUE(Above(panels[0], tabHwnd));

        // A real click on the third tab's item.
        RECT third{};
        SendMessageW(tabHwnd, TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&third));
        LPARAM at = MAKELPARAM((third.left + third.right) / 2, (third.top + third.bottom) / 2);
        SendMessageW(tabHwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(tabHwnd, WM_LBUTTONUP, 0, at);
        kwtest::Pump(50);
        EXPECT_EQ(g_selChanges, 1);
        EXPECT_EQ(tabs.CurrentTab(), 3);
        EXPECT_TRUE(Visible(panels[2]));
        EXPECT_FALSE(Visible(panels[0]));
        EXPECT_FALSE(Visible(panels[1]));
        EXPECT_TRUE(SameRect(kwtest::RectInParent(panels[2]), shown));
        EXPECT_TRUE(Above(panels[2], tabHwnd));

        // Selecting from code switches the panel as well.
        tabs.CurrentTab(1);
        EXPECT_EQ(tabs.CurrentTab(), 1);
        EXPECT_TRUE(Visible(panels[0]));
        EXPECT_FALSE(Visible(panels[1]));
        g_tabs = nullptr;
    }
    // The wrapper takes its window with it; the panels belong to the host.
    EXPECT_FALSE(IsWindow(tabHwnd));
    EXPECT_TRUE(IsWindow(panels[0]));
}

LRESULT CALLBACK CountMoves(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR moves)
{
    if (msg == WM_WINDOWPOSCHANGED)
        ++*reinterpret_cast<int*>(moves);
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

// Each tab added asks for the shown panel again; one already in place is left alone, one
// moved, framed or lowered is put back.
TEST_F(ControlsTest, TabsMoveTheShownPanelOnlyWhenItIsOutOfPlace)
{
    HWND boundary = kwtest::MakeChild(host, L"STATIC", L"", 0, 20, 30, 400, 260);
    HWND panels[3];
    for (int i = 0; i < 3; ++i)
        panels[i] = kwtest::MakeChild(host, L"STATIC", L"page", WS_VISIBLE | WS_BORDER, 5, 5, 50, 40);
    int moves = 0;
    ASSERT_TRUE(SetWindowSubclass(panels[0], CountMoves, 1, reinterpret_cast<DWORD_PTR>(&moves)));
    kw::clsTabs tabs;
    tabs.CreateControl(host, boundary);
    tabs.InsertTab(panels[0], "One");
    const RECT placed = kwtest::RectInParent(panels[0]);
    const int afterFirst = moves;
    EXPECT_GT(afterFirst, 0);
    tabs.InsertTab(panels[1], "Two");
    tabs.InsertTab(panels[2], "Three");
    tabs.CurrentTab(1);
    EXPECT_EQ(moves, afterFirst);

    SetWindowLongPtrW(panels[0], GWL_STYLE, GetWindowLongPtrW(panels[0], GWL_STYLE) | WS_BORDER);
    SetWindowPos(panels[0], nullptr, 0, 0, 30, 30, SWP_NOZORDER | SWP_FRAMECHANGED);
    tabs.CurrentTab(1);
    EXPECT_TRUE(SameRect(kwtest::RectInParent(panels[0]), placed));
    EXPECT_EQ(GetWindowLongPtrW(panels[0], GWL_STYLE) & WS_BORDER, 0);

    SetWindowPos(panels[0], HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ASSERT_FALSE(Above(panels[0], tabs.hWnd()));
    tabs.CurrentTab(1);
    EXPECT_TRUE(Above(panels[0], tabs.hWnd()));

    // More room around the captions: a taller row, and the panel follows the display area.
    ShowWindow(panels[0], SW_HIDE);
    tabs.CurrentTab(1);
    EXPECT_TRUE(Visible(panels[0]));
    RECT rowBefore{}, rowAfter{};
    SendMessageW(tabs.hWnd(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rowBefore));
    tabs.Padding(12, 12);
    SendMessageW(tabs.hWnd(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rowAfter));
    EXPECT_GT(rowAfter.bottom - rowAfter.top, rowBefore.bottom - rowBefore.top);
    EXPECT_GE(kwtest::RectInParent(panels[0]).top, kwtest::RectInParent(tabs.hWnd()).top + rowAfter.bottom);
    RemoveWindowSubclass(panels[0], CountMoves, 1);
}

TEST_F(ControlsTest, RecreatedTabStripStartsAfreshWithItsOwnPanels)
{
    HWND boundary = kwtest::MakeChild(host, L"STATIC", L"", 0, 10, 10, 300, 200);
    HWND oldPanel = kwtest::MakeChild(host, L"STATIC", L"old", WS_VISIBLE, 0, 0, 20, 20);
    HWND newPanel = kwtest::MakeChild(host, L"STATIC", L"new", 0, 0, 0, 20, 20);
    kw::clsTabs tabs;
    tabs.CreateControl(host, boundary);
    HWND first = tabs.hWnd();
    tabs.InsertTab(oldPanel, "Old");
    tabs.CreateControl(host, boundary);
    EXPECT_FALSE(IsWindow(first));
    tabs.InsertTab(newPanel, "New");
    EXPECT_EQ(tabs.CurrentTab(), 1);
    EXPECT_TRUE(Visible(newPanel));
}

TEST_F(ControlsTest, GroupBoxesSitOnTheirPlaceholdersAndGoWithTheWrapper)
{
    HWND b1 = kwtest::MakeChild(host, L"STATIC", L"", 0, 15, 20, 200, 100);
    HWND b2 = kwtest::MakeChild(host, L"STATIC", L"", 0, 15, 140, 220, 120);
    HWND boxes[2] = {};
    {
        kw::clsGroupbox groups;
        EXPECT_EQ(groups.hWnd(0), nullptr);
        ASSERT_TRUE(groups.CreateGroupBoxControl(host, b1, "Files"));
        ASSERT_TRUE(groups.CreateGroupBoxControl(host, b2,
                                                 "Gr\xC3\xB6\xC3\x9F"
                                                 "e"));
        boxes[0] = groups.hWnd(0);
        boxes[1] = groups.hWnd(1);
        ASSERT_NE(boxes[0], nullptr);
        ASSERT_NE(boxes[1], nullptr);
        EXPECT_NE(boxes[0], boxes[1]);
        EXPECT_EQ(groups.hWnd(-1), nullptr);
        EXPECT_EQ(groups.hWnd(2), nullptr);
        EXPECT_EQ(groups.hWnd(1000), nullptr);

        EXPECT_EQ(kwtest::ClassOf(boxes[1]), L"Button");
        EXPECT_EQ(GetWindowLongPtrW(boxes[1], GWL_STYLE) & BS_TYPEMASK, BS_GROUPBOX);
        EXPECT_EQ(kwtest::WindowText(boxes[0]), L"Files");
        EXPECT_EQ(kwtest::WindowText(boxes[1]),
                  L"Gr\x00F6\x00DF"
                  L"e");
        EXPECT_TRUE(SameRect(kwtest::RectInParent(boxes[0]), kwtest::RectInParent(b1)));
        EXPECT_TRUE(SameRect(kwtest::RectInParent(boxes[1]), kwtest::RectInParent(b2)));
    }
    EXPECT_FALSE(IsWindow(boxes[0]));
    EXPECT_FALSE(IsWindow(boxes[1]));
}

std::wstring BuddyText(HWND buddy) { return kwtest::WindowText(buddy); }

void Key(HWND target, WPARAM vk)
{
    SendMessageW(target, WM_KEYDOWN, vk, 1);
    SendMessageW(target, WM_KEYUP, vk, 0xC0000001);
}

TEST_F(ControlsTest, UpDownStepsItsBuddyWithinTheRange)
{
    HWND page = kwtest::MakeChild(host, L"STATIC", L"", WS_VISIBLE, 10, 10, 300, 200);
    HWND buddy = kwtest::MakeChild(page, L"EDIT", L"", WS_VISIBLE | WS_BORDER, 20, 20, 80, 22);
    HWND first = nullptr;
    {
        kw::clsUpDown ud;
        ud.CreateUpDownControl(page, buddy, 0, 9, 0);
        HWND h = ud.UpDownHandle();
        first = h;
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(GetParent(h), page);
        EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(h, UDM_GETBUDDY, 0, 0)), buddy);
        EXPECT_EQ(BuddyText(buddy), L"0");

        SetFocus(buddy);
        for (int i = 0; i < 3; ++i)
            Key(buddy, VK_UP);
        EXPECT_EQ(BuddyText(buddy), L"3");
        for (int i = 0; i < 10; ++i)
            Key(buddy, VK_UP);
        EXPECT_EQ(BuddyText(buddy), L"9");
        Key(buddy, VK_DOWN);
        EXPECT_EQ(BuddyText(buddy), L"8");
        for (int i = 0; i < 12; ++i)
            Key(buddy, VK_DOWN);
        EXPECT_EQ(BuddyText(buddy), L"0");

        // A second creation replaces the first control; large numbers have no separators
        // and a negative minimum keeps its sign.
        ud.CreateUpDownControl(page, buddy, -5, 20000, 12345);
        EXPECT_FALSE(IsWindow(first));
        first = ud.UpDownHandle();
        EXPECT_EQ(BuddyText(buddy), L"12345");
        int lo = 0, hi = 0;
        SendMessageW(first, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
        EXPECT_EQ(lo, -5);
        EXPECT_EQ(hi, 20000);
        Key(buddy, VK_UP);
        EXPECT_EQ(BuddyText(buddy), L"12346");
    }
    EXPECT_FALSE(IsWindow(first));
    EXPECT_TRUE(IsWindow(buddy));
}

}  // namespace
