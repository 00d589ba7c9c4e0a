// How the main window looks: captions with room to spare, colours in either theme, icons
// drawn for their size, the columns of each page, and the window at other DPIs.
#include "MainWindowTestSupport.h"

#include <algorithm>
#include <climits>

#include "CaptionFit.h"
#include "IconSize.h"
#include "winsupport/Dpi.h"

namespace kwtest {
namespace {

using MainWindowLook = MainWindowTest;

TEST_F(MainWindowLook, EveryCaptionFitsWithRoomToSpare)
{
    if (kwfit::RunningUnderWine()) {
        EXPECT_NE(kwfit::FaceDrawn(f->lblPluginName.hWnd()).find(L"Tahoma"), std::wstring::npos)
            << "the test prefix lacks Tahoma: make wineprefix";
    }
    // Every page, shown or not, and the buttons below the strip.
    ShowEveryPage();
    EXPECT_EQ(kwfit::CrampedCaptions(f->hWnd()), std::vector<std::wstring>{});
}

// The brush the control's page answers for it, as the control asks when it paints.
LRESULT BrushFor(const Control& c, UINT message)
{
    HDC dc = GetDC(c.hWnd());
    LRESULT brush =
        SendMessageW(GetParent(c.hWnd()), message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(c.hWnd()));
    ReleaseDC(c.hWnd(), dc);
    return brush;
}

TEST_F(MainWindowLook, InputBoxesStayWhiteAndThePluginsFolderGreyInEitherTheme)
{
    const auto window = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    const auto face = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    ShowEveryPage();
    for (bool themed : {false, true}) {
        kw::ApplyThemeBackColors(*f, true, themed);
        for (TextBox* box :
             {&f->txtPluginName, &f->txtProgramName, &f->txtProgramWebsite, &f->txtDescription, &f->txtShortcutName})
            EXPECT_EQ(BrushFor(*box, WM_CTLCOLOREDIT), window) << box->Id() << " themed " << themed;
        // Read-only, but a value the user sets through the up-down and the picker.
        EXPECT_EQ(BrushFor(f->txtExecutable, WM_CTLCOLORSTATIC), window) << themed;
        EXPECT_EQ(BrushFor(f->lstProgramFiles, WM_CTLCOLORLISTBOX), window) << themed;
        EXPECT_EQ(BrushFor(f->cboSystemFilesDestination, WM_CTLCOLORLISTBOX), window) << themed;
        EXPECT_EQ(f->cboMenuGroup.BackColor(), kColorWindow) << themed;
        // The plugins folder only shows where plugins go: it looks read-only.
        EXPECT_EQ(BrushFor(f->txtPluginLocation, WM_CTLCOLORSTATIC), face) << themed;
        // Labels and check boxes take the page's colour.
        EXPECT_EQ(BrushFor(f->lblPluginName, WM_CTLCOLORSTATIC), themed ? window : face);
        EXPECT_EQ(BrushFor(f->chkIncAuthor, WM_CTLCOLORSTATIC), themed ? window : face);
    }
}

RECT RectIn(HWND hwnd, HWND parent)
{
    RECT r{};
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Each page: one label column, the boxes beside the labels in one column, and one right
// edge (the group box's inner margin, as wide as on the left) where every box, list and
// drop-down and every row of several controls ends. On the executables page the check boxes
// stand under controls above them.
TEST_F(MainWindowLook, EachPageHasOneLabelColumnAndOneRightEdge)
{
    struct Item {
        const Control* c;
        RECT r;
    };
    const int groupOfPage[4][2] = {{0, 0}, {1, 1}, {2, 2}, {3, 4}};
    ShowEveryPage();
    for (int p = 0; p < 4; ++p) {
        HWND page = f->picTabBox[static_cast<size_t>(p)].hWnd();
        std::vector<Item> items;
        for (Control* c : f->Controls()) {
            const ControlKind k = c->Kind();
            if (k == ControlKind::MenuItem || k == ControlKind::PictureBox || k == ControlKind::Image ||
                GetParent(c->hWnd()) != page)
                continue;
            if (k == ControlKind::Label && c->Id() >= IDC_LBL_HEADER && c->Id() < IDC_LBL_HEADER + 5)
                continue;  // the hint beside the header icon
            items.push_back({c, RectIn(c->hWnd(), page)});
        }
        for (int g : groupOfPage[p]) {
            const RECT box = RectIn(f->oGroupbox()->hWnd(g), page);
            std::vector<Item> mine;
            for (const Item& i : items)
                if (i.r.top >= box.top && i.r.bottom <= box.bottom)
                    mine.push_back(i);
            LONG labels = LONG_MAX;
            for (const Item& i : mine)
                labels = std::min(labels, i.r.left);
            const LONG right = box.right - (labels - box.left);
            LONG column = -1;
            for (const Item& i : mine) {
                const ControlKind k = i.c->Kind();
                const bool input = k == ControlKind::TextBox || k == ControlKind::ComboBox || k == ControlKind::ListBox;
                if (k == ControlKind::Label) {
                    EXPECT_EQ(i.r.left, labels) << "label " << i.c->Id() << " off the label column";
                }
                // The row it stands in: the controls beside it, left to right.
                std::vector<const Item*> row;
                for (const Item& o : mine)
                    if (o.r.top < i.r.bottom && i.r.top < o.r.bottom)
                        row.push_back(&o);
                const Item* last = row.front();
                for (const Item* o : row)
                    if (o->r.right > last->r.right)
                        last = o;
                const bool boxes = std::any_of(row.begin(), row.end(), [](const Item* o) {
                    return o->c->Kind() != ControlKind::CheckBox && o->c->Kind() != ControlKind::OptionButton;
                });
                if (last == &i && boxes && (input || row.size() > 1) && i.c->Kind() != ControlKind::CheckBox &&
                    i.c->Kind() != ControlKind::Label) {
                    EXPECT_NEAR(i.r.right, right, 1) << "control " << i.c->Id() << " on page " << p;
                }
                // A box beside a label starts in the page's one box column.
                if (input && row.size() == 2 &&
                    (row[0]->c->Kind() == ControlKind::Label || row[1]->c->Kind() == ControlKind::Label)) {
                    if (column < 0)
                        column = i.r.left;
                    EXPECT_EQ(i.r.left, column) << "control " << i.c->Id() << " off the box column";
                }
                if (p == 3 && (k == ControlKind::CheckBox)) {
                    bool under = false;
                    for (const Item& o : mine)
                        under = under ||
                                (o.r.bottom <= i.r.top && o.c->Kind() != ControlKind::CheckBox && o.r.left == i.r.left);
                    EXPECT_TRUE(under) << "check box " << i.c->Id() << " stands under nothing";
                }
            }
        }
    }
}

LONG FontHeight(HWND hwnd)
{
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
    return lf.lfHeight;
}

// The window told that its monitor has another DPI, as the system tells it, with the
// rectangle the system suggests.
void SendDpiChange(HWND window, UINT dpi, UINT from)
{
    RECT w{};
    GetWindowRect(window, &w);
    RECT suggested{w.left, w.top, w.left + MulDiv(w.right - w.left, static_cast<int>(dpi), static_cast<int>(from)),
                   w.top + MulDiv(w.bottom - w.top, static_cast<int>(dpi), static_cast<int>(from))};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    DoEvents();
}

// The room a tab leaves around its caption, on both sides together.
int TabRoom(HWND strip, int index)
{
    RECT item{};
    SendMessageW(strip, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    wchar_t text[64]{};
    TCITEMW tc{};
    tc.mask = TCIF_TEXT;
    tc.pszText = text;
    tc.cchTextMax = 64;
    SendMessageW(strip, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&tc));
    return (item.right - item.left) - kwfit::TextExtent(strip, text, DT_SINGLELINE, 0).cx;
}

TEST_F(MainWindowLook, StartsWithIconsArrowsAndTabsSizedForItsDpi)
{
    const UINT dpi = f->Dpi();
    EXPECT_EQ(dpi, kw::WindowDpi(f->hWnd()));
    const int expected = dpi >= 192 ? 64 : dpi >= 144 ? 48 : 32;
    for (auto& icon : f->imgIcon)
        EXPECT_EQ(kwfit::IconPixels(icon.Picture()), expected) << icon.Id();
    EXPECT_EQ(kwfit::IconPixels(reinterpret_cast<HICON>(SendMessageW(f->hWnd(), WM_GETICON, ICON_SMALL, 0))),
              kw::SystemMetricForDpi(SM_CXSMICON, dpi));
    // The control's own width stays the same at every DPI: it is set from the DPI.
    RECT arrows{};
    GetWindowRect(f->oUpDown()->UpDownHandle(), &arrows);
    EXPECT_EQ(arrows.right - arrows.left, kw::SystemMetricForDpi(SM_CXVSCROLL, dpi));
    for (int tab = 0; tab < 4; ++tab)
        EXPECT_GE(TabRoom(f->oTabs()->hWnd(), tab), 2 * kw::ScaleToDpi(6, dpi)) << tab;
}

TEST_F(MainWindowLook, ADpiChangeRescalesFontsIconsLayoutAndTheWindow)
{
    ShowEveryPage();
    HWND window = f->hWnd();
    const UINT base = f->Dpi();
    RECT client0{};
    GetClientRect(window, &client0);
    HWND page = f->picTabBox[0].hWnd();
    const RECT name0 = RectIn(f->txtPluginName.hWnd(), page);
    const RECT list0 = RectIn(f->lstProgramFiles.hWnd(), f->picTabBox[1].hWnd());
    HWND strip = f->oTabs()->hWnd();
    HWND updown = f->oUpDown()->UpDownHandle();
    HWND group = f->oGroupbox()->hWnd(0);
    const LONG overlap0 = RectIn(f->txtExecutableGroup.hWnd(), f->picTabBox[3].hWnd()).right -
                          RectIn(updown, f->picTabBox[3].hWnd()).left;

    UINT from = base;
    for (UINT dpi : {144u, 192u, 120u, base}) {
        SendDpiChange(window, dpi, from);
        from = dpi;
        EXPECT_EQ(f->Dpi(), dpi);
        auto scaled = [&](LONG v) { return MulDiv(v, static_cast<int>(dpi), static_cast<int>(base)); };
        // The window keeps its proportions.
        RECT client{};
        GetClientRect(window, &client);
        EXPECT_NEAR(client.right, scaled(client0.right), 1) << dpi;
        RECT outer{};
        GetWindowRect(window, &outer);
        if (outer.bottom - outer.top < GetSystemMetrics(SM_CYMAXTRACK)) {  // else the screen holds it
            EXPECT_NEAR(client.bottom, scaled(client0.bottom), 1) << dpi;
        }
        const RECT name = RectIn(f->txtPluginName.hWnd(), page);
        EXPECT_NEAR(name.left, scaled(name0.left), 1) << dpi;
        EXPECT_NEAR(name.right, scaled(name0.right), 1) << dpi;
        EXPECT_NEAR(name.bottom, scaled(name0.bottom), 1) << dpi;
        const RECT list = RectIn(f->lstProgramFiles.hWnd(), f->picTabBox[1].hWnd());
        EXPECT_NEAR(list.bottom - list.top, scaled(list0.bottom - list0.top), 1) << dpi;
        // The shown page covers the strip's display area.
        RECT display = RectIn(strip, window);
        TabCtrl_AdjustRect(strip, FALSE, &display);
        const RECT shown = RectIn(page, window);
        EXPECT_EQ(shown.left, display.left) << dpi;
        EXPECT_EQ(shown.bottom, display.bottom) << dpi;

        // 8 points at this DPI: the wrapped controls, the strip, the group boxes.
        const LONG height = -MulDiv(8, static_cast<int>(dpi), 72);
        EXPECT_EQ(FontHeight(f->txtPluginName.hWnd()), height) << dpi;
        EXPECT_EQ(FontHeight(f->lblHeader[3].hWnd()), height) << dpi;
        EXPECT_EQ(FontHeight(strip), height) << dpi;
        EXPECT_EQ(FontHeight(group), height) << dpi;

        // Icons: the frame drawn for the box, never one stretched to it.
        const int frame = dpi >= 192 ? 64 : dpi >= 144 ? 48 : 32;
        for (auto& icon : f->imgIcon)
            EXPECT_EQ(kwfit::IconPixels(icon.Picture()), frame) << dpi << " " << icon.Id();
        EXPECT_EQ(kwfit::IconPixels(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0))),
                  kw::SystemMetricForDpi(SM_CXSMICON, dpi))
            << dpi;
        EXPECT_EQ(kwfit::IconPixels(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0))),
                  kw::SystemMetricForDpi(SM_CXICON, dpi))
            << dpi;

        // The up-down as wide as a scroll bar at this DPI, its box ending where it starts.
        const RECT arrows = RectIn(updown, f->picTabBox[3].hWnd());
        EXPECT_EQ(arrows.right - arrows.left, kw::SystemMetricForDpi(SM_CXVSCROLL, dpi)) << dpi;
        const RECT buddy = RectIn(f->txtExecutableGroup.hWnd(), f->picTabBox[3].hWnd());
        EXPECT_EQ(buddy.right - arrows.left, overlap0) << dpi;
        // Tab captions keep their room.
        for (int tab = 0; tab < 4; ++tab)
            EXPECT_GE(TabRoom(strip, tab), 2 * kw::ScaleToDpi(6, dpi)) << dpi << " tab " << tab;
        EXPECT_EQ(kwfit::CrampedCaptions(window), std::vector<std::wstring>{}) << dpi;
    }
}

// A page first shown after the DPI changed is laid out and lettered for the new DPI, as the
// pages made before the change were rescaled: the two file pages share their geometry.
TEST_F(MainWindowLook, APageFirstShownAfterADpiChangeMatchesThePagesMadeBefore)
{
    ShowTab(2);
    ASSERT_EQ(f->picTabBox[2].hWnd(), nullptr);
    HWND window = f->hWnd();
    const UINT base = f->Dpi();
    const UINT dpi = base == 144 ? 192 : 144;
    SendDpiChange(window, dpi, base);
    ShowTab(3);
    ASSERT_NE(f->picTabBox[2].hWnd(), nullptr);
    auto rectOf = [&](const Control& c, int page) {
        return RectIn(c.hWnd(), f->picTabBox[static_cast<size_t>(page)].hWnd());
    };
    for (UINT now : {dpi, base}) {
        if (now != dpi)
            SendDpiChange(window, now, dpi);
        const RECT made = rectOf(f->cmdResetSystemFiles, 2), before = rectOf(f->cmdResetProgramFiles, 1);
        EXPECT_EQ(made.left, before.left) << now;
        EXPECT_EQ(made.top, before.top) << now;
        EXPECT_EQ(made.right, before.right) << now;
        EXPECT_EQ(made.bottom, before.bottom) << now;
        const LONG height = -MulDiv(8, static_cast<int>(now), 72);
        EXPECT_EQ(FontHeight(f->cmdResetSystemFiles.hWnd()), height) << now;
        EXPECT_EQ(FontHeight(f->lblSystemFilesDestination.hWnd()), height) << now;
        EXPECT_EQ(FontHeight(f->oGroupbox()->hWnd(2)), height) << now;
        const RECT box2 = RectIn(f->oGroupbox()->hWnd(2), f->picTabBox[2].hWnd());
        const RECT box1 = RectIn(f->oGroupbox()->hWnd(1), f->picTabBox[1].hWnd());
        EXPECT_EQ(box2.right - box2.left, box1.right - box1.left) << now;
        EXPECT_EQ(box2.bottom - box2.top, box1.bottom - box1.top) << now;
        const int frame = now >= 192 ? 64 : now >= 144 ? 48 : 32;
        EXPECT_EQ(kwfit::IconPixels(f->imgIcon[2].Picture()), frame) << now;
    }
}

}  // namespace
}  // namespace kwtest
