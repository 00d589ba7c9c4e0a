// A page made on demand: until it is made its controls answer from the template and keep
// what the program gives them, raising their events as windows would; once made, the page
// shows all of it and nothing is raised twice.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FormsTestIds.h"
#include "winsupport/forms/Forms.h"

using namespace kw::forms;

namespace {

class LazyForm : public Form {
public:
    LazyForm() : Form(IDD_LAZYFORM)
    {
        page.LoadOnDemand(true);
        page.PageLoad = [this] { log.push_back("PageLoad"); };
        txt.Change = [this] { log.push_back("txt.Change " + txt.Text()); };
        chk.Click = [this] { log.push_back("chk.Click"); };
        optA.Click = [this] { log.push_back("optA.Click"); };
        optB.Click = [this] { log.push_back("optB.Click"); };
        optC.Click = [this] { log.push_back("optC.Click"); };
        cboList.Click = [this] { log.push_back("cboList.Click " + cboList.Text()); };
        cboSorted.Change = [this] { log.push_back("cboSorted.Change " + cboSorted.Text()); };
        cboSorted.Click = [this] { log.push_back("cboSorted.Click " + cboSorted.Text()); };
        lstMulti.Click = [this] { log.push_back("lstMulti.Click"); };
        lstSorted.Click = [this] { log.push_back("lstSorted.Click " + lstSorted.Text()); };
    }

    TextBox outside{*this, IDC_LAZY_OUTSIDE};
    PictureBox page{*this, IDC_LAZY_PAGE, IDD_LAZYPAGE};
    TextBox txt{*this, IDC_LAZY_TEXT};
    TextBox txtReadOnly{*this, IDC_LAZY_READONLY};
    CheckBox chk{*this, IDC_LAZY_CHECK};
    OptionButton optA{*this, IDC_LAZY_OPT_A};
    OptionButton optB{*this, IDC_LAZY_OPT_B};
    OptionButton optC{*this, IDC_LAZY_OPT_C};
    ComboBox cboList{*this, IDC_LAZY_LIST_COMBO};
    ComboBox cboSorted{*this, IDC_LAZY_SORTED_COMBO};
    Label lbl{*this, IDC_LAZY_LABEL};
    Image img{*this, IDC_LAZY_IMAGE};
    ListBox lstMulti{*this, IDC_LAZY_MULTI_LIST};
    ListBox lstSorted{*this, IDC_LAZY_SORTED_LIST};
    std::vector<std::string> log;

protected:
    void Form_Load() override { log.push_back("Load"); }
};

void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

std::string WindowTextOf(HWND hwnd)
{
    wchar_t text[256]{};
    GetWindowTextW(hwnd, text, 256);
    std::string narrow;
    for (const wchar_t* p = text; *p; ++p)
        narrow.push_back(static_cast<char>(*p));
    return narrow;
}

std::vector<std::string> ComboLines(HWND combo)
{
    std::vector<std::string> lines;
    const int n = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        wchar_t text[256]{};
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        std::string narrow;
        for (const wchar_t* p = text; *p; ++p)
            narrow.push_back(static_cast<char>(*p));
        lines.push_back(narrow);
    }
    return lines;
}

class FormsOnDemand : public ::testing::Test {
protected:
    void SetUp() override
    {
        f.Show();
        Pump();
        f.log.clear();
    }
    void TearDown() override
    {
        f.Unload();
        Pump();
    }
    LazyForm f;
};

TEST_F(FormsOnDemand, APageNotYetNeededHasNoWindowAndAnswersFromItsTemplate)
{
    ASSERT_NE(f.hWnd(), nullptr);
    EXPECT_NE(f.outside.hWnd(), nullptr);
    EXPECT_EQ(f.page.hWnd(), nullptr);
    EXPECT_EQ(f.txt.hWnd(), nullptr);
    EXPECT_EQ(f.cboSorted.hWnd(), nullptr);
    EXPECT_EQ(GetDlgItem(f.hWnd(), IDC_LAZY_PAGE), nullptr);

    EXPECT_EQ(f.txt.Text(), "start");
    EXPECT_EQ(f.txt.TextLength(), 5);
    EXPECT_TRUE(f.txt.Enabled());
    EXPECT_TRUE(f.txt.Visible());
    EXPECT_TRUE(f.txt.TabStop());
    EXPECT_FALSE(f.txt.Locked());
    EXPECT_TRUE(f.txtReadOnly.Locked());
    EXPECT_FALSE(f.txtReadOnly.TabStop());
    EXPECT_FALSE(f.chk.Enabled());
    EXPECT_EQ(f.chk.Value(), kUnchecked);
    EXPECT_EQ(f.chk.Caption(), "Lazy check");
    EXPECT_FALSE(f.optA.Value());
    EXPECT_EQ(f.lbl.Caption(), "Lazy label");
    EXPECT_FALSE(f.cboList.Editable());
    EXPECT_TRUE(f.cboSorted.Editable());
    EXPECT_EQ(f.cboList.ListCount(), 0);
    EXPECT_EQ(f.cboList.ListIndex(), -1);
    EXPECT_EQ(f.txt.FontName(), "MS Shell Dlg");
    EXPECT_EQ(f.txt.FontSize(), 8);
    EXPECT_FALSE(f.page.Visible());
    // Asking all that made nothing.
    EXPECT_EQ(f.page.hWnd(), nullptr);
    EXPECT_EQ(f.log, std::vector<std::string>{});
}

TEST_F(FormsOnDemand, ValuesSetBeforeThePageExistsRaiseOnceAndShowOnceItIsMade)
{
    f.txt.Text("first");
    f.txt.Text("first");  // no change, no event
    f.chk.Value(kChecked);
    f.chk.Enabled(true);
    f.optB.Value(true);
    f.optA.Value(true);  // takes the check from B, its group's other button
    f.optC.Value(true);  // a group of its own: A stays checked
    for (const char* line : {"one", "two", "three"})
        f.cboList.AddItem(line);
    f.cboList.ListIndex(1);
    f.cboList.Text("three");
    f.cboSorted.Text("typed");
    f.lbl.Caption("New label");
    f.txtReadOnly.Locked(false);
    f.txt.SetFont("Arial", 12);
    EXPECT_TRUE(f.img.LoadPicture(2));
    EXPECT_FALSE(f.img.LoadPicture(7777));  // no such icon
    EXPECT_EQ(f.log,
              (std::vector<std::string>{"txt.Change first", "chk.Click", "optB.Click", "optA.Click", "optC.Click",
                                        "cboList.Click two", "cboList.Click three", "cboSorted.Change typed"}));
    EXPECT_TRUE(f.optA.Value());
    EXPECT_FALSE(f.optB.Value());
    EXPECT_EQ(f.cboList.Text(), "three");
    EXPECT_EQ(f.txt.FontName(), "Arial");
    EXPECT_EQ(f.page.hWnd(), nullptr);

    f.log.clear();
    f.page.Visible(true);
    Pump();
    ASSERT_NE(f.page.hWnd(), nullptr);
    EXPECT_TRUE(IsWindowVisible(f.page.hWnd()));
    // Made once, raising nothing of the controls'.
    EXPECT_EQ(f.log, std::vector<std::string>{"PageLoad"});
    EXPECT_EQ(WindowTextOf(f.txt.hWnd()), "first");
    EXPECT_EQ(SendMessageW(f.chk.hWnd(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(IsWindowEnabled(f.chk.hWnd()));
    EXPECT_EQ(SendMessageW(f.optA.hWnd(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(f.optB.hWnd(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageW(f.optC.hWnd(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(ComboLines(f.cboList.hWnd()), (std::vector<std::string>{"one", "two", "three"}));
    EXPECT_EQ(SendMessageW(f.cboList.hWnd(), CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(WindowTextOf(f.cboSorted.hWnd()), "typed");
    EXPECT_EQ(WindowTextOf(f.lbl.hWnd()), "New label");
    EXPECT_FALSE(GetWindowLongPtrW(f.txtReadOnly.hWnd(), GWL_STYLE) & ES_READONLY);
    EXPECT_NE(SendMessageW(f.img.hWnd(), STM_GETICON, 0, 0), 0);
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(f.txt.hWnd(), WM_GETFONT, 0, 0)), sizeof(lf), &lf);
    EXPECT_STREQ(lf.lfFaceName, L"Arial");
    EXPECT_EQ(lf.lfHeight, -MulDiv(12, static_cast<int>(f.Dpi()), 72));

    // The wrappers go on from the values the windows show: the same again raises nothing,
    // a real change once.
    f.txt.Text("first");
    f.chk.Value(kChecked);
    f.cboList.ListIndex(2);
    EXPECT_EQ(f.log, std::vector<std::string>{"PageLoad"});
    f.txt.Text("second");
    f.optB.Value(true);
    EXPECT_EQ(f.log, (std::vector<std::string>{"PageLoad", "txt.Change second", "optB.Click"}));
    EXPECT_EQ(SendMessageW(f.optA.hWnd(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(FormsOnDemand, ASortedListKeptBeforeThePageKeepsTheControlsOrder)
{
    for (const char* line : {"pear", "Apple", "fig", "apple"})
        f.cboSorted.AddItem(line);
    f.cboSorted.ListIndex(0);
    f.cboSorted.AddItem("banana");  // before the chosen one? no: after "apple"s
    f.cboSorted.AddItem("aardvark");
    const std::vector<std::string> kept = {"aardvark", "Apple", "apple", "banana", "fig", "pear"};
    std::vector<std::string> lines;
    for (int i = 0; i < f.cboSorted.ListCount(); ++i)
        lines.push_back(f.cboSorted.List(i));
    EXPECT_EQ(lines, kept);
    EXPECT_EQ(f.cboSorted.ListIndex(), 1);  // "Apple" moved down with the insertion before it
    EXPECT_EQ(f.cboSorted.Text(), "Apple");

    f.page.Load();
    ASSERT_NE(f.cboSorted.hWnd(), nullptr);
    EXPECT_EQ(ComboLines(f.cboSorted.hWnd()), kept);
    EXPECT_EQ(SendMessageW(f.cboSorted.hWnd(), CB_GETCURSEL, 0, 0), 1);
    // The control sorts what comes later into the same order.
    f.cboSorted.AddItem("cherry");
    EXPECT_EQ(f.cboSorted.List(4), "cherry");
    EXPECT_FALSE(IsWindowVisible(f.page.hWnd()));  // made, not shown
}

TEST_F(FormsOnDemand, ListsKeptBeforeThePageKeepTheirLinesAndSelection)
{
    for (const char* line : {"a", "b", "c", "d"})
        f.lstMulti.AddItem(line);
    EXPECT_TRUE(f.lstMulti.MultiSelect());
    f.lstMulti.Selected(1, true);
    f.lstMulti.Selected(3, true);
    f.lstMulti.Selected(3, true);  // already: no event
    EXPECT_EQ(f.lstMulti.SelectedIndexes(), (std::vector<int>{1, 3}));
    EXPECT_EQ(f.lstMulti.SelCount(), 2);
    f.lstMulti.RemoveItems({0, 2});
    EXPECT_EQ(f.lstMulti.ListCount(), 2);
    EXPECT_EQ(f.lstMulti.List(0), "b");
    EXPECT_EQ(f.lstMulti.SelectedIndexes(), (std::vector<int>{0, 1}));
    f.lstMulti.AddItem("e");
    f.lstMulti.Selected(0, false);

    for (const char* line : {"pear", "apple", "fig"})
        f.lstSorted.AddItem(line);
    f.lstSorted.ListIndex(2);  // "pear"
    f.lstSorted.AddItem("banana");
    EXPECT_EQ(f.lstSorted.ListIndex(), 3);
    EXPECT_EQ(f.lstSorted.Text(), "pear");
    EXPECT_EQ(f.log,
              (std::vector<std::string>{"lstMulti.Click", "lstMulti.Click", "lstMulti.Click", "lstSorted.Click pear"}));
    EXPECT_EQ(f.page.hWnd(), nullptr);

    f.log.clear();
    f.page.Load();
    ASSERT_NE(f.lstMulti.hWnd(), nullptr);
    EXPECT_EQ(f.log, std::vector<std::string>{"PageLoad"});
    HWND multi = f.lstMulti.hWnd();
    ASSERT_EQ(SendMessageW(multi, LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageW(multi, LB_GETSEL, 0, 0), 0);
    EXPECT_GT(SendMessageW(multi, LB_GETSEL, 1, 0), 0);
    EXPECT_EQ(SendMessageW(multi, LB_GETSEL, 2, 0), 0);
    EXPECT_EQ(f.lstMulti.SelectedIndexes(), std::vector<int>{1});
    EXPECT_EQ(f.lstMulti.List(2), "e");
    EXPECT_EQ(SendMessageW(f.lstSorted.hWnd(), LB_GETCURSEL, 0, 0), 3);
    EXPECT_EQ(f.lstSorted.List(0), "apple");
    EXPECT_EQ(f.lstSorted.List(1), "banana");
    // The same selection again is no change; a new one is.
    f.lstSorted.ListIndex(3);
    f.lstMulti.Selected(1, true);
    EXPECT_EQ(f.log, std::vector<std::string>{"PageLoad"});
    f.lstMulti.Selected(2, true);
    EXPECT_EQ(f.log, (std::vector<std::string>{"PageLoad", "lstMulti.Click"}));
}

TEST_F(FormsOnDemand, WhatOnlyAWindowKnowsMakesThePageOnce)
{
    EXPECT_GT(f.txt.Width(), 0);
    ASSERT_NE(f.page.hWnd(), nullptr);
    EXPECT_EQ(GetParent(f.txt.hWnd()), f.page.hWnd());
    EXPECT_EQ(GetDlgCtrlID(f.page.hWnd()), IDC_LAZY_PAGE);
    EXPECT_EQ(WindowTextOf(f.txt.hWnd()), "start");
    f.page.Load();
    f.txt.SetFocus();
    EXPECT_EQ(f.log, std::vector<std::string>{"PageLoad"});
    // Typed into the made page, the change is raised once per character.
    PostMessageW(f.txt.hWnd(), WM_CHAR, 'x', 1);
    Pump();
    ASSERT_EQ(f.log.size(), 2u);
    EXPECT_EQ(f.log[1].rfind("txt.Change ", 0), 0u);
}

TEST_F(FormsOnDemand, AReloadedFormMakesThePageOnDemandAgain)
{
    f.page.Load();
    f.txt.Text("gone with the window");
    f.Unload();
    Pump();
    EXPECT_EQ(f.page.hWnd(), nullptr);
    f.log.clear();
    f.Show();
    Pump();
    EXPECT_EQ(f.page.hWnd(), nullptr);
    EXPECT_EQ(f.txt.Text(), "start");
    f.page.Visible(true);
    EXPECT_EQ(WindowTextOf(f.txt.hWnd()), "start");
    EXPECT_EQ(f.log, (std::vector<std::string>{"Load", "PageLoad"}));
}

}  // namespace
