// The forms layer driven through real windows under the dialog manager: typed characters,
// clicks, keys and notifications, checked against the events the wrappers raise.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "FormsTestIds.h"
#include "WindowScript.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"
#include "winsupport/forms/Forms.h"

using namespace kw::forms;

namespace {

class TestForm : public Form {
public:
    TestForm() : Form(IDD_TESTFORM) {}

    TextBox txt{*this, IDC_TEXT};
    TextBox txtMulti{*this, IDC_MULTI};
    TextBox txtReadOnly{*this, IDC_READONLY};
    ComboBox cboList{*this, IDC_LIST_COMBO};
    ComboBox cboEdit{*this, IDC_EDIT_COMBO};
    ListBox lstSingle{*this, IDC_SINGLE_LIST};
    ListBox lstMulti{*this, IDC_MULTI_LIST};
    CheckBox chk{*this, IDC_CHECK};
    OptionButton optA{*this, IDC_OPT_A};
    OptionButton optB{*this, IDC_OPT_B};
    Label lbl{*this, IDC_LABEL};
    Image img{*this, IDC_IMAGE};
    CommandButton cmdOk{*this, IDC_OK_BUTTON};
    CommandButton cmdCancel{*this, IDC_CANCEL_BUTTON};
    CommandButton cmdOther{*this, IDC_OTHER_BUTTON};
    PictureBox pic{*this, IDC_PAGE, IDD_TESTPAGE};
    TextBox txtPage{*this, IDC_PAGE_TEXT};
    CheckBox chkPage{*this, IDC_PAGE_CHECK};
    CommandButton cmdPage{*this, IDC_PAGE_BUTTON};
    MenuItem mnuFile{*this, IDM_FILE};
    MenuItem mnuGo{*this, IDM_GO};
    MenuItem mnuSeparator{*this, IDM_SEPARATOR};

    std::vector<std::string> log;
    bool refuseUnload = false;
    std::function<void(int& keyCode, int shift)> keyDown;

protected:
    void Form_KeyDown(int& keyCode, int shift) override
    {
        if (keyDown)
            keyDown(keyCode, shift);
    }
    void Form_Load() override { log.push_back("Load"); }
    void Form_Activate() override { log.push_back("Activate"); }
    void Form_QueryUnload(bool& cancel) override
    {
        log.push_back("QueryUnload");
        cancel = refuseUnload;
    }
    void Form_Unload() override { log.push_back("Unload"); }
};

class RecordingPrompt : public kw::platform::iPrompt {
public:
    int Show(kw::NativeHandle, std::string_view text, std::string_view, unsigned) override
    {
        messages.emplace_back(text);
        return kw::platform::kIdOk;
    }
    std::vector<std::string> messages;
};

class FormsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = kw::platform::SetPrompt(&prompt_);
        f.Show();
        DoEvents();
        SetForegroundWindow(f.hWnd());
        Wire();
        DoEvents();
        f.log.clear();
    }
    void TearDown() override
    {
        f.Unload();
        DoEvents();
        kw::platform::SetPrompt(previous_);
        EXPECT_TRUE(prompt_.messages.empty()) << prompt_.messages.front();
    }

    // Every handler writes what it can read at the moment it runs.
    void Wire()
    {
        f.txt.Change = [this] { f.log.push_back("txt.Change " + f.txt.Text()); };
        f.txtMulti.Change = [this] { f.log.push_back("txtMulti.Change " + f.txtMulti.Text()); };
        f.txtReadOnly.Change = [this] { f.log.push_back("txtReadOnly.Change " + f.txtReadOnly.Text()); };
        f.cboList.Click = [this] { f.log.push_back("cboList.Click " + f.cboList.Text()); };
        f.cboList.Change = [this] { f.log.push_back("cboList.Change"); };
        f.cboEdit.Click = [this] { f.log.push_back("cboEdit.Click " + f.cboEdit.Text()); };
        f.cboEdit.Change = [this] { f.log.push_back("cboEdit.Change " + f.cboEdit.Text()); };
        f.lstSingle.Click = [this] { f.log.push_back("lstSingle.Click " + std::to_string(f.lstSingle.ListIndex())); };
        f.lstMulti.Click = [this] {
            f.log.push_back("lstMulti.Click " + std::to_string(f.lstMulti.ListIndex()) + " sel " +
                            std::to_string(f.lstMulti.SelCount()));
        };
        f.chk.Click = [this] { f.log.push_back("chk.Click " + std::to_string(f.chk.Value())); };
        f.optA.Click = [this] { f.log.push_back("optA.Click"); };
        f.optB.Click = [this] { f.log.push_back("optB.Click"); };
        f.cmdOk.Click = [this] { f.log.push_back("cmdOk.Click"); };
        f.cmdCancel.Click = [this] { f.log.push_back("cmdCancel.Click"); };
        f.cmdOther.Click = [this] { f.log.push_back("cmdOther.Click"); };
        f.cmdPage.Click = [this] { f.log.push_back("cmdPage.Click"); };
        f.txtPage.Change = [this] { f.log.push_back("txtPage.Change " + f.txtPage.Text()); };
        f.chkPage.Click = [this] { f.log.push_back("chkPage.Click"); };
        f.mnuGo.Click = [this] { f.log.push_back("mnuGo.Click"); };
    }

    void Type(Control& c, const std::string& chars)
    {
        c.SetFocus();
        DoEvents();
        HWND focus = GetFocus();
        ASSERT_NE(focus, nullptr);
        for (char ch : chars)
            PostMessageW(focus, WM_CHAR, static_cast<unsigned char>(ch), 1);
        DoEvents();
    }
    void Key(UINT vk)
    {
        HWND focus = GetFocus();
        ASSERT_NE(focus, nullptr);
        PostMessageW(focus, WM_KEYDOWN, vk, 1);
        PostMessageW(focus, WM_KEYUP, vk, 0xC0000001);
        DoEvents();
    }
    void ClickAt(HWND hwnd, int x, int y, WPARAM keys = 0)
    {
        SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(x, y));
        SendMessageW(hwnd, WM_LBUTTONUP, keys, MAKELPARAM(x, y));
        DoEvents();
    }
    void ClickListItem(ListBox& list, int index, WPARAM keys = 0)
    {
        RECT rc{};
        SendMessageW(list.hWnd(), LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rc));
        ClickAt(list.hWnd(), rc.left + 5, (rc.top + rc.bottom) / 2, keys);
    }
    std::vector<std::string> Log()
    {
        std::vector<std::string> out;
        out.swap(f.log);
        return out;
    }
    using Lines = std::vector<std::string>;

    TestForm f;
    RecordingPrompt prompt_;
    kw::platform::iPrompt* previous_ = nullptr;
};

TEST_F(FormsTest, TextBoxRaisesChangeOnlyWhenTheTextChanges)
{
    f.txt.Text("alpha");
    f.txt.Text("alpha");
    f.txt.Text("beta");
    f.txtMulti.Text("one\r\ntwo");
    f.txtMulti.Text("one\r\ntwo");
    f.txtReadOnly.Text("fixed");
    f.txtReadOnly.Text("fixed");
    EXPECT_EQ(Log(),
              (Lines{"txt.Change alpha", "txt.Change beta", "txtMulti.Change one\r\ntwo", "txtReadOnly.Change fixed"}));
    // A handler that sets its own box again: one more event, none repeated.
    f.txt.Change = [this] {
        f.log.push_back("txt.Change " + f.txt.Text());
        if (f.txt.Text().empty())
            f.txt.Text("http://");
    };
    f.txt.Text("");
    EXPECT_EQ(Log(), (Lines{"txt.Change ", "txt.Change http://"}));
    EXPECT_EQ(f.txt.Text(), "http://");
}

TEST_F(FormsTest, TypedCharactersAndForeignSetTextRaiseChangeOncePerChange)
{
    f.txt.Text("");
    Log();
    Type(f.txt, "ab");
    EXPECT_EQ(Log(), (Lines{"txt.Change a", "txt.Change ab"}));
    // Typing the selected text's own character over it changes nothing.
    SendMessageW(f.txt.hWnd(), EM_SETSEL, 1, 2);
    Type(f.txt, "b");
    EXPECT_EQ(Log(), Lines{});
    // An up-down writes its buddy with WM_SETTEXT: that is a change like typing.
    SendMessageW(f.txt.hWnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"5"));
    SendMessageW(f.txt.hWnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"5"));
    EXPECT_EQ(Log(), Lines{"txt.Change 5"});
}

TEST_F(FormsTest, KeyPressCanSwallowOrReplaceTypedCharacters)
{
    f.txt.Text("");
    f.txt.KeyPress = [](int& key) {
        if (key == ':')
            key = 0;
        else if (key == 'x')
            key = 'y';
    };
    Log();
    Type(f.txt, "a:x:b");
    EXPECT_EQ(f.txt.Text(), "ayb");
    EXPECT_EQ(Log(), (Lines{"txt.Change a", "txt.Change ay", "txt.Change ayb"}));

    // The editable combo types into its inner edit: the filter must sit there too.
    f.cboEdit.KeyPress = [](int& key) {
        if (key == '/')
            key = 0;
    };
    Type(f.cboEdit, "a/b");
    EXPECT_EQ(f.cboEdit.Text(), "ab");
    EXPECT_EQ(Log(), (Lines{"cboEdit.Change a", "cboEdit.Change ab"}));
}

struct ForeignHook {
    int chars = 0;
    int destroyed = 0;
};

LRESULT CALLBACK CountChars(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
{
    auto* seen = reinterpret_cast<ForeignHook*>(data);
    if (msg == WM_CHAR)
        ++seen->chars;
    if (msg == WM_NCDESTROY) {
        ++seen->destroyed;
        RemoveWindowSubclass(hwnd, CountChars, 1);
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

// Another hook put on a control's window after the form's (as an up-down does on its buddy)
// sees every message to the end, the form's still filters, and the windows made anew after
// a reload are hooked afresh.
TEST_F(FormsTest, ForeignHooksAboveTheFormsOwnAndReloadsKeepKeyPressWorking)
{
    f.txt.KeyPress = [](int& key) {
        if (key == ':')
            key = 0;
    };
    ForeignHook seen;
    ASSERT_TRUE(SetWindowSubclass(f.txt.hWnd(), CountChars, 1, reinterpret_cast<DWORD_PTR>(&seen)));
    f.txt.Text("");
    Type(f.txt, "a:b");
    EXPECT_EQ(f.txt.Text(), "ab");
    EXPECT_EQ(seen.chars, 3);

    for (int round = 0; round < 3; ++round) {
        f.Unload();
        DoEvents();
        ASSERT_EQ(f.txt.hWnd(), nullptr);
        EXPECT_EQ(seen.destroyed, 1);  // the form letting go did not cut the other hook out
        f.Show();
        DoEvents();
        ASSERT_NE(f.txt.hWnd(), nullptr);
        f.txt.Text("");
        Type(f.txt, "c:d");
        EXPECT_EQ(f.txt.Text(), "cd") << "round " << round;
    }
    Log();
}

TEST_F(FormsTest, GotFocusIsRaisedOncePerArrival)
{
    int text = 0, combo = 0;
    f.txt.GotFocus = [&] { ++text; };
    f.cboEdit.GotFocus = [&] { ++combo; };
    f.cmdOther.SetFocus();
    DoEvents();
    f.txt.SetFocus();
    DoEvents();
    f.cboEdit.SetFocus();
    DoEvents();
    f.txt.SetFocus();
    DoEvents();
    EXPECT_EQ(text, 2);
    EXPECT_EQ(combo, 1);
}

TEST_F(FormsTest, CheckBoxClickFollowsValueChanges)
{
    f.chk.Value(kUnchecked);
    f.chk.Value(kChecked);
    f.chk.Value(kChecked);
    SendMessageW(f.chk.hWnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(Log(), (Lines{"chk.Click 1", "chk.Click 0"}));
    EXPECT_EQ(f.chk.Value(), kUnchecked);
    EXPECT_THROW(f.chk.Value(7), kw::RuntimeError);
}

TEST_F(FormsTest, OptionButtonsRaiseClickForTheOneThatBecomesChecked)
{
    f.optA.Value(true);
    f.optA.Value(true);
    f.optB.Value(true);
    EXPECT_EQ(Log(), (Lines{"optA.Click", "optB.Click"}));
    EXPECT_FALSE(f.optA.Value());
    EXPECT_EQ(SendMessageW(f.optA.hWnd(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    // A click on the checked one reports BN_CLICKED again but changes nothing.
    SendMessageW(f.optB.hWnd(), BM_CLICK, 0, 0);
    SendMessageW(f.optA.hWnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(Log(), Lines{"optA.Click"});
    EXPECT_TRUE(f.optA.Value());
    EXPECT_FALSE(f.optB.Value());
    // After the user's click, setting B from code is a change again.
    f.optB.Value(true);
    EXPECT_EQ(Log(), Lines{"optB.Click"});
}

TEST_F(FormsTest, DropDownListSelectionRaisesClickWithTheNewText)
{
    for (const char* s : {"i386", "System32", "Programs"})
        f.cboList.AddItem(s);
    EXPECT_EQ(Log(), Lines{});
    f.cboList.ListIndex(1);
    f.cboList.ListIndex(1);
    f.cboList.Text("i386");
    EXPECT_EQ(Log(), (Lines{"cboList.Click System32", "cboList.Click i386"}));
    EXPECT_THROW(f.cboList.ListIndex(3), kw::RuntimeError);
    EXPECT_THROW(f.cboList.Text("nowhere"), kw::RuntimeError);
    EXPECT_THROW(f.cboList.List(5), kw::RuntimeError);

    // The user's choice by keyboard.
    f.cboList.SetFocus();
    DoEvents();
    Key(VK_DOWN);
    EXPECT_EQ(Log(), Lines{"cboList.Click System32"});
    EXPECT_EQ(f.cboList.ListIndex(), 1);

    // Renaming the selected entry keeps it selected and raises nothing.
    f.cboList.List(1, "Windows");
    EXPECT_EQ(f.cboList.Text(), "Windows");
    f.cboList.Clear();
    EXPECT_EQ(f.cboList.ListIndex(), -1);
    EXPECT_EQ(f.cboList.Text(), "");
    EXPECT_EQ(Log(), Lines{});
}

TEST_F(FormsTest, EditableComboSeparatesTypingFromChoosing)
{
    for (const char* s : {"Accessories", "Utilities"})
        f.cboEdit.AddItem(s);
    f.cboEdit.Text("Games");
    f.cboEdit.Text("Games");
    EXPECT_EQ(Log(), Lines{"cboEdit.Change Games"});

    // By keyboard: the combo still shows the old text when it reports the selection.
    f.cboEdit.SetFocus();
    DoEvents();
    Key(VK_DOWN);
    EXPECT_EQ(Log(), Lines{"cboEdit.Click Accessories"});
    EXPECT_EQ(f.cboEdit.Text(), "Accessories");

    // By mouse in the dropped list.
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetComboBoxInfo(f.cboEdit.hWnd(), &info));
    SendMessageW(f.cboEdit.hWnd(), CB_SHOWDROPDOWN, TRUE, 0);
    DoEvents();
    RECT rc{};
    SendMessageW(info.hwndList, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&rc));
    int x = rc.left + 5, y = (rc.top + rc.bottom) / 2;
    SendMessageW(info.hwndList, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    ClickAt(info.hwndList, x, y);
    SendMessageW(f.cboEdit.hWnd(), CB_SHOWDROPDOWN, FALSE, 0);
    DoEvents();
    EXPECT_EQ(Log(), Lines{"cboEdit.Click Utilities"});
    EXPECT_EQ(f.cboEdit.ListIndex(), 1);

    // Emptying the list empties the text and raises nothing.
    f.cboEdit.Clear();
    EXPECT_EQ(f.cboEdit.Text(), "");
    EXPECT_EQ(Log(), Lines{});
    f.cboEdit.Text("");
    EXPECT_EQ(Log(), Lines{});
}

TEST_F(FormsTest, SingleListClickOnlyWhenTheSelectionMoves)
{
    for (const char* s : {"a.exe", "b.dll", "c.cpl"})
        f.lstSingle.AddItem(s);
    f.lstSingle.ListIndex(2);
    f.lstSingle.ListIndex(2);
    EXPECT_EQ(Log(), Lines{"lstSingle.Click 2"});
    ClickListItem(f.lstSingle, 0);
    ClickListItem(f.lstSingle, 0);
    EXPECT_EQ(Log(), Lines{"lstSingle.Click 0"});
    f.lstSingle.ListIndex(-1);
    EXPECT_EQ(Log(), Lines{"lstSingle.Click -1"});
    EXPECT_EQ(f.lstSingle.Text(), "");
    EXPECT_THROW(f.lstSingle.ListIndex(3), kw::RuntimeError);
}

TEST_F(FormsTest, ExtendedListTracksCurrentItemAndSelection)
{
    for (const char* s : {"one", "two", "three", "four"})
        f.lstMulti.AddItem(s);
    EXPECT_EQ(f.lstMulti.ListIndex(), -1);  // the caret sits on 0, but nothing is current
    ClickListItem(f.lstMulti, 1);
    ClickListItem(f.lstMulti, 1);
    ClickListItem(f.lstMulti, 3, MK_CONTROL);
    EXPECT_EQ(Log(), (Lines{"lstMulti.Click 1 sel 1", "lstMulti.Click 3 sel 2"}));
    EXPECT_TRUE(f.lstMulti.Selected(1));
    EXPECT_TRUE(f.lstMulti.Selected(3));

    // Removing from the end down keeps the other numbers valid.
    for (int i = f.lstMulti.ListCount() - 1; i >= 0; --i)
        if (f.lstMulti.Selected(i))
            f.lstMulti.RemoveItem(i);
    EXPECT_EQ(f.lstMulti.ListCount(), 2);
    EXPECT_EQ(f.lstMulti.List(0), "one");
    EXPECT_EQ(f.lstMulti.List(1), "three");
    EXPECT_EQ(f.lstMulti.ListIndex(), -1);
    EXPECT_EQ(Log(), Lines{});

    f.lstMulti.ListIndex(1);
    f.lstMulti.ListIndex(1);
    f.lstMulti.Selected(0, true);
    f.lstMulti.ListIndex(-1);
    f.lstMulti.ListIndex(-1);
    EXPECT_EQ(Log(), (Lines{"lstMulti.Click 1 sel 1", "lstMulti.Click 1 sel 2", "lstMulti.Click -1 sel 0"}));
    f.lstMulti.Clear();
    EXPECT_EQ(f.lstMulti.ListCount(), 0);
    EXPECT_EQ(Log(), Lines{});
}

TEST_F(FormsTest, ExtendedListRemovesManyLinesAtOnce)
{
    for (int i = 0; i < 10; ++i)
        f.lstMulti.AddItem("line " + std::to_string(i));
    // Most lines go: the list is rebuilt, and what stays keeps its text, order and selection.
    for (int i : {0, 1, 2, 4, 5, 6, 8})
        f.lstMulti.Selected(i, true);
    ClickListItem(f.lstMulti, 7, MK_CONTROL);  // the caret on a line that stays
    f.lstMulti.Selected(9, true);
    Log();
    EXPECT_EQ(f.lstMulti.SelectedIndexes(), (std::vector<int>{0, 1, 2, 4, 5, 6, 7, 8, 9}));
    f.lstMulti.RemoveItems({0, 1, 2, 4, 5, 6, 8});
    EXPECT_EQ(f.lstMulti.ListCount(), 3);
    EXPECT_EQ(f.lstMulti.List(0), "line 3");
    EXPECT_EQ(f.lstMulti.List(1), "line 7");
    EXPECT_EQ(f.lstMulti.List(2), "line 9");
    EXPECT_EQ(f.lstMulti.SelectedIndexes(), (std::vector<int>{1, 2}));
    EXPECT_EQ(f.lstMulti.ListIndex(), 1);
    EXPECT_EQ(Log(), Lines{});
    // A user's next click is measured against what the list now holds.
    ClickListItem(f.lstMulti, 0);
    EXPECT_EQ(Log(), Lines{"lstMulti.Click 0 sel 1"});

    // A few go one by one; a line out of range is refused before anything is removed.
    EXPECT_THROW(f.lstMulti.RemoveItems({0, 3}), std::exception);
    EXPECT_EQ(f.lstMulti.ListCount(), 3);
    f.lstMulti.RemoveItems({0});
    EXPECT_EQ(f.lstMulti.ListCount(), 2);
    EXPECT_EQ(f.lstMulti.List(0), "line 7");
    EXPECT_EQ(f.lstMulti.ListIndex(), -1);
    f.lstMulti.RemoveItems({0, 1});
    EXPECT_EQ(f.lstMulti.ListCount(), 0);
    EXPECT_TRUE(f.lstMulti.SelectedIndexes().empty());
}

// What the model does with a list: fill it through the interface and pick an entry.
void FillDestinations(kw::StringList& list)
{
    list.Clear();
    list.AddItem("i386");
    list.AddItem("System32");
    list.ListIndex(1);
}

TEST_F(FormsTest, ListsServeAsStringLists)
{
    FillDestinations(f.cboList);
    FillDestinations(f.lstSingle);
    EXPECT_EQ(Log(), (Lines{"cboList.Click System32", "lstSingle.Click 1"}));
    EXPECT_EQ(f.cboList.ListCount(), 2);
    EXPECT_EQ(f.lstSingle.List(0), "i386");
    FillDestinations(f.cboList);  // emptied and refilled: the index changes again
    EXPECT_EQ(Log(), Lines{"cboList.Click System32"});
}

TEST_F(FormsTest, DialogManagerTabEnterAndEscape)
{
    f.txt.SetFocus();
    DoEvents();
    Key(VK_TAB);
    EXPECT_EQ(GetFocus(), f.txtMulti.hWnd());

    // Enter presses the template's default button, then whichever button is made default.
    f.txt.SetFocus();
    DoEvents();
    Key(VK_RETURN);
    EXPECT_TRUE(f.cmdOk.Default());
    f.cmdOther.Default(true);
    f.cmdOk.Default(false);  // does not hold the role: changes nothing
    Key(VK_RETURN);
    EXPECT_EQ(Log(), (Lines{"cmdOk.Click", "cmdOther.Click"}));
    EXPECT_TRUE(f.cmdOther.Default());
    EXPECT_FALSE(f.cmdOk.Default());

    // A disabled default button: Enter does nothing.
    f.cmdOther.Enabled(false);
    Key(VK_RETURN);
    EXPECT_EQ(Log(), Lines{});
    f.cmdOther.Enabled(true);

    // Escape: nothing without a cancel button, then the cancel button once.
    Key(VK_ESCAPE);
    EXPECT_EQ(Log(), Lines{});
    f.cmdCancel.Cancel(true);
    Key(VK_ESCAPE);
    EXPECT_EQ(Log(), Lines{"cmdCancel.Click"});

    // In a page, Enter and Escape still reach the form's buttons.
    f.txtPage.SetFocus();
    DoEvents();
    Key(VK_RETURN);
    Key(VK_ESCAPE);
    EXPECT_EQ(Log(), (Lines{"cmdOther.Click", "cmdCancel.Click"}));
    EXPECT_TRUE(f.Loaded());
}

TEST_F(FormsTest, KeyDownSeesKeysBeforeTheDialogManagerAndMaySwallowThem)
{
    std::vector<std::string> seen;
    f.keyDown = [&](int& key, int shift) {
        seen.push_back(std::to_string(key) + "/" + std::to_string(shift));
        if (key == VK_TAB && (shift & kCtrlMask))
            key = 0;
    };
    BYTE keys[256]{};
    auto hold = [&](BYTE state) {
        GetKeyboardState(keys);
        keys[VK_CONTROL] = state;
        SetKeyboardState(keys);
    };

    // A key the handler leaves alone goes on to the dialog manager.
    f.txt.SetFocus();
    DoEvents();
    Key(VK_TAB);
    EXPECT_EQ(GetFocus(), f.txtMulti.hWnd());

    // Swallowed: the focus stays, also in a control on a page of the form.
    hold(0x80);
    f.txt.SetFocus();
    DoEvents();
    Key(VK_TAB);
    EXPECT_EQ(GetFocus(), f.txt.hWnd());
    f.txtPage.SetFocus();
    DoEvents();
    Key(VK_TAB);
    hold(0);
    EXPECT_EQ(GetFocus(), f.txtPage.hWnd());
    EXPECT_EQ(seen, (Lines{"9/0", "9/2", "9/2"}));

    // An error in the handler is reported, not passed to the system; the key goes on.
    f.keyDown = [](int&, int) { throw kw::RuntimeError(5, "bad key", "Form_KeyDown"); };
    f.txt.SetFocus();
    DoEvents();
    Key(VK_TAB);
    EXPECT_EQ(GetFocus(), f.txtMulti.hWnd());
    ASSERT_EQ(prompt_.messages.size(), 1u);
    EXPECT_NE(prompt_.messages[0].find("bad key"), std::string::npos);
    prompt_.messages.clear();
    f.keyDown = nullptr;
}

TEST_F(FormsTest, DefaultButtonOnAPageIsPressedByEnter)
{
    f.cmdPage.Default(true);
    f.txt.SetFocus();
    DoEvents();
    Key(VK_RETURN);
    EXPECT_EQ(Log(), Lines{"cmdPage.Click"});
    f.cmdPage.Default(false);
    Key(VK_RETURN);
    EXPECT_EQ(Log(), Lines{});
}

TEST_F(FormsTest, PageControlsReportToTheForm)
{
    Type(f.txtPage, "q");
    SendMessageW(f.chkPage.hWnd(), BM_CLICK, 0, 0);
    SendMessageW(f.cmdPage.hWnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(Log(), (Lines{"txtPage.Change q", "chkPage.Click", "cmdPage.Click"}));
    EXPECT_EQ(GetParent(f.txtPage.hWnd()), f.pic.hWnd());
    EXPECT_EQ(GetDlgCtrlID(f.pic.hWnd()), IDC_PAGE);
}

TEST_F(FormsTest, ControlsEnumerationAndMenus)
{
    const auto& all = f.Controls();
    ASSERT_EQ(all.size(), 22u);
    EXPECT_EQ(all.front(), &f.txt);
    EXPECT_EQ(all.back(), &f.mnuSeparator);
    for (Control* c : all) {
        if (c->Kind() != ControlKind::MenuItem) {
            EXPECT_NE(c->hWnd(), nullptr) << c->Id();
        }
    }

    PostMessageW(f.hWnd(), WM_COMMAND, MAKEWPARAM(IDM_GO, 0), 0);
    DoEvents();
    EXPECT_EQ(Log(), Lines{"mnuGo.Click"});

    EXPECT_EQ(f.mnuGo.Caption(), "&Go");
    f.mnuFile.Enabled(false);
    EXPECT_FALSE(f.mnuFile.Enabled());
    EXPECT_TRUE(GetMenuState(GetMenu(f.hWnd()), 0, MF_BYPOSITION) & MF_GRAYED);
    f.mnuFile.Enabled(true);
    EXPECT_TRUE(f.mnuFile.Enabled());
    f.mnuGo.Checked(true);
    EXPECT_TRUE(f.mnuGo.Checked());
    EXPECT_FALSE(f.mnuGo.HasBackColor());
    EXPECT_THROW(f.mnuGo.BackColor(kColorWindow), kw::RuntimeError);
}

TEST_F(FormsTest, BackColorIsAnsweredByColourMessages)
{
    HDC dc = GetDC(f.hWnd());
    f.txt.BackColor(0x00336699);
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(f.hWnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(f.txt.hWnd())));
    ASSERT_NE(brush, nullptr);
    LOGBRUSH lb{};
    GetObjectW(brush, sizeof(lb), &lb);
    EXPECT_EQ(lb.lbColor, 0x00336699u);
    EXPECT_EQ(GetBkColor(dc), 0x00336699u);

    // A page's control asks the page; an editable combo asks with its inner edit.
    f.chkPage.BackColor(kColorWindow);
    EXPECT_EQ(SendMessageW(f.pic.hWnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(f.chkPage.hWnd())),
              reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW)));
    f.cboEdit.BackColor(kColorButtonFace);
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    GetComboBoxInfo(f.cboEdit.hWnd(), &info);
    EXPECT_EQ(
        SendMessageW(f.hWnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(info.hwndItem)),
        reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE)));
    f.pic.BackColor(0x00FFFFFF);
    brush = reinterpret_cast<HBRUSH>(SendMessageW(f.pic.hWnd(), WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc),
                                                  reinterpret_cast<LPARAM>(f.pic.hWnd())));
    GetObjectW(brush, sizeof(lb), &lb);
    EXPECT_EQ(lb.lbColor, 0x00FFFFFFu);
    ReleaseDC(f.hWnd(), dc);

    EXPECT_EQ(f.lbl.BackColor(), kColorButtonFace);  // the default until set
    EXPECT_THROW(f.lbl.BackColor(0x80000040), kw::RuntimeError);
    EXPECT_THROW(f.img.BackColor(kColorWindow), kw::RuntimeError);
}

TEST_F(FormsTest, FontsAndGeometry)
{
    EXPECT_EQ(f.lbl.FontSize(), 8);
    f.lbl.FontName("Tahoma");
    f.lbl.FontSize(14);
    f.lbl.FontBold(true);
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(f.lbl.hWnd(), WM_GETFONT, 0, 0)), sizeof(lf), &lf);
    EXPECT_STREQ(lf.lfFaceName, L"Tahoma");
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_EQ(f.lbl.FontSize(), 14);
    EXPECT_THROW(f.lbl.FontName(std::string(40, 'x')), kw::RuntimeError);

    // Controls with the same face, size and weight share one font; changing one leaves the
    // other's font whole and right.
    auto fontOf = [](const Control& c) { return reinterpret_cast<HFONT>(SendMessageW(c.hWnd(), WM_GETFONT, 0, 0)); };
    f.cmdOther.SetFont("Tahoma", 14);
    f.cmdOther.FontBold(true);
    EXPECT_EQ(fontOf(f.cmdOther), fontOf(f.lbl));
    f.lbl.FontBold(false);
    EXPECT_NE(fontOf(f.cmdOther), fontOf(f.lbl));
    f.lbl.SetFont("Arial", 9);
    LOGFONTW other{};
    ASSERT_EQ(GetObjectW(fontOf(f.cmdOther), sizeof(other), &other), static_cast<int>(sizeof(other)));
    EXPECT_STREQ(other.lfFaceName, L"Tahoma");
    EXPECT_EQ(other.lfWeight, FW_BOLD);
    GetObjectW(fontOf(f.lbl), sizeof(lf), &lf);
    EXPECT_STREQ(lf.lfFaceName, L"Arial");
    EXPECT_EQ(lf.lfWeight, FW_NORMAL);
    EXPECT_EQ(f.lbl.FontName(), "Arial");
    EXPECT_EQ(f.lbl.FontSize(), 9);
    EXPECT_THROW(f.lbl.SetFont("Tahoma", 0), kw::RuntimeError);
    EXPECT_EQ(f.lbl.FontName(), "Arial");  // a refused pair changes neither

    f.cmdOther.Move(7, 9, 60, 20);
    EXPECT_EQ(f.cmdOther.Left(), 7);
    EXPECT_EQ(f.cmdOther.Top(), 9);
    EXPECT_EQ(f.cmdOther.Width(), 60);
    EXPECT_EQ(f.cmdOther.Height(), 20);
    f.cmdOther.Visible(false);
    EXPECT_FALSE(f.cmdOther.Visible());
    EXPECT_FALSE(IsWindowVisible(f.cmdOther.hWnd()));

    EXPECT_TRUE(f.img.LoadPicture(7));
    EXPECT_NE(f.img.Picture(), nullptr);
    EXPECT_FALSE(f.img.LoadPicture(4711));
}

using FileData = kwscript::FileDropData;

TEST_F(FormsTest, DroppedFileListsReachTheHandlers)
{
    bool accept = true;
    std::vector<std::string> dropped;
    int overs = 0, sawNoFiles = 0;
    f.lstSingle.OLEDragOver = [&](const std::vector<std::string>* files, int& effect) {
        ++overs;
        if (!files)
            ++sawNoFiles;
        if (accept)
            effect = files ? kDropEffectCopy : kDropEffectNone;
    };
    bool refuseAtDrop = false;
    int effectAtDrop = -1;
    f.lstSingle.OLEDragDrop = [&](const std::vector<std::string>& files, int& effect) {
        effectAtDrop = effect;
        dropped = files;
        if (refuseAtDrop)
            effect = kDropEffectNone;
    };
    EXPECT_EQ(f.lstSingle.RegisteredDropTarget(), nullptr);
    f.lstSingle.OLEDropMode(kOleDropManual);
    IDropTarget* target = f.lstSingle.RegisteredDropTarget();
    ASSERT_NE(target, nullptr);
    // OLE knows it: a second registration on the same window is refused.
    EXPECT_EQ(RegisterDragDrop(f.lstSingle.hWnd(), target), DRAGDROP_E_ALREADYREGISTERED);

    FileData files({L"C:\\Tools\\b.exe", L"C:\\Tools\\a.dll"});
    POINTL pt{10, 10};
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(target->DragEnter(&files, MK_LBUTTON, pt, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    target->DragOver(MK_LBUTTON, pt, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    target->Drop(&files, 0, pt, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(dropped, (std::vector<std::string>{"C:\\Tools\\b.exe", "C:\\Tools\\a.dll"}));
    EXPECT_EQ(effectAtDrop, kDropEffectCopy);

    // The drop handler's own check fails: the source is told nothing was copied.
    refuseAtDrop = true;
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    target->Drop(&files, 0, pt, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    refuseAtDrop = false;

    // Text without files: the handler sees no list, the effect is none, nothing is dropped.
    dropped.clear();
    FileData text(std::vector<std::wstring>{}, false);
    effect = DROPEFFECT_COPY;
    target->DragEnter(&text, MK_LBUTTON, pt, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    target->DragLeave();
    effect = DROPEFFECT_COPY;
    target->Drop(&text, 0, pt, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_TRUE(dropped.empty());
    EXPECT_EQ(sawNoFiles, 2);

    // A handler that leaves the effect alone refuses the drop.
    accept = false;
    effect = DROPEFFECT_COPY;
    target->Drop(&files, 0, pt, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_TRUE(dropped.empty());
    EXPECT_EQ(overs, 7);

    f.lstSingle.OLEDropMode(kOleDropNone);
    EXPECT_EQ(f.lstSingle.RegisteredDropTarget(), nullptr);
    EXPECT_EQ(RevokeDragDrop(f.lstSingle.hWnd()), DRAGDROP_E_NOTREGISTERED);
}

// A file list as raw bytes: the ANSI form older programs still offer, or a damaged one.
class RawDropData : public FileData {
public:
    RawDropData(bool wide, DWORD offset, std::string names) : FileData({})
    {
        DROPFILES header{};
        header.pFiles = offset;
        header.fWide = wide;
        bytes_.assign(reinterpret_cast<const char*>(&header), reinterpret_cast<const char*>(&header) + sizeof header);
        bytes_ += names;
    }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        if (QueryGetData(format) != S_OK)
            return DV_E_FORMATETC;
        HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes_.size());
        std::memcpy(GlobalLock(mem), bytes_.data(), bytes_.size());
        GlobalUnlock(mem);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = mem;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }

private:
    std::string bytes_;
};

TEST_F(FormsTest, DroppedListsAreReadWholeInEveryForm)
{
    std::vector<std::string> dropped;
    f.lstSingle.OLEDragOver = [](const std::vector<std::string>* files, int& effect) {
        effect = files ? kDropEffectCopy : kDropEffectNone;
    };
    f.lstSingle.OLEDragDrop = [&](const std::vector<std::string>& files, int&) { dropped = files; };
    f.lstSingle.OLEDropMode(kOleDropManual);
    IDropTarget* target = f.lstSingle.RegisteredDropTarget();
    ASSERT_NE(target, nullptr);
    auto drop = [&](IDataObject* data) {
        dropped.clear();
        DWORD effect = DROPEFFECT_COPY;
        POINTL pt{10, 10};
        target->Drop(data, 0, pt, &effect);
        return effect;
    };

    // ANSI names in the code page of the tests (1252): 0xE9 is the e with an accent.
    RawDropData ansi(false, sizeof(DROPFILES), std::string("C:\\Caf\xE9\\a.exe\0C:\\b.dll\0\0", 24));
    EXPECT_EQ(drop(&ansi), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(dropped, (std::vector<std::string>{"C:\\Caf\xC3\xA9\\a.exe", "C:\\b.dll"}));

    // Thousands of wide names arrive whole and in order.
    std::vector<std::wstring> many;
    for (int i = 0; i < 5000; ++i)
        many.push_back(L"C:\\Src\\file" + std::to_wstring(i) + L".dat");
    FileData wide(many);
    EXPECT_EQ(drop(&wide), static_cast<DWORD>(DROPEFFECT_COPY));
    ASSERT_EQ(dropped.size(), many.size());
    EXPECT_EQ(dropped.front(), "C:\\Src\\file0.dat");
    EXPECT_EQ(dropped.back(), "C:\\Src\\file4999.dat");

    // A last name without its terminator ends at the block's end; names said to start past
    // the block's end are no list at all.
    RawDropData cut(false, sizeof(DROPFILES), std::string("C:\\a.exe\0C:\\b", 13));
    EXPECT_EQ(drop(&cut), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(dropped, (std::vector<std::string>{"C:\\a.exe", "C:\\b"}));
    RawDropData outside(true, 4096, std::string("a\0\0\0", 4));
    EXPECT_EQ(drop(&outside), static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_TRUE(dropped.empty());
    f.lstSingle.OLEDropMode(kOleDropNone);
}

TEST_F(FormsTest, HourglassCoversTheFormsWhileSet)
{
    Screen::MousePointer(kPointerHourglass);
    EXPECT_EQ(Screen::MousePointer(), kPointerHourglass);
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_TRUE(SendMessageW(f.hWnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(f.txt.hWnd()),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
    Screen::MousePointer(kPointerDefault);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_THROW(Screen::MousePointer(5), kw::RuntimeError);
}

TEST_F(FormsTest, HandlerErrorsAreReportedNotPassedToTheSystem)
{
    f.cmdOther.Click = [] { throw kw::RuntimeError(kw::kErrSubscript); };
    SendMessageW(f.cmdOther.hWnd(), BM_CLICK, 0, 0);
    ASSERT_EQ(prompt_.messages.size(), 1u);
    EXPECT_NE(prompt_.messages[0].find("Run-time error '9'"), std::string::npos);
    EXPECT_TRUE(f.Loaded());
    prompt_.messages.clear();
    // From code, the error goes to the caller, after the value was taken.
    f.chk.Click = [] { throw kw::RuntimeError(kw::kErrInvalidArgument); };
    EXPECT_THROW(f.chk.Value(kChecked), kw::RuntimeError);
    EXPECT_EQ(f.chk.Value(), kChecked);
    f.chk.Value(kChecked);  // already so: no event, no error
}

TEST_F(FormsTest, CloseBoxAsksQueryUnloadWhichMayRefuse)
{
    f.refuseUnload = true;
    PostMessageW(f.hWnd(), WM_CLOSE, 0, 0);
    DoEvents();
    EXPECT_TRUE(f.Loaded());
    f.refuseUnload = false;
    PostMessageW(f.hWnd(), WM_CLOSE, 0, 0);
    DoEvents();
    EXPECT_FALSE(f.Loaded());
    EXPECT_EQ(Log(), (Lines{"QueryUnload", "QueryUnload", "Unload"}));
    EXPECT_TRUE(Form::Forms().empty());
    // Wrappers outlive the window: using one now is an error, not a crash.
    EXPECT_THROW(f.txt.Text("x"), kw::RuntimeError);
}

class SmallForm : public Form {
public:
    SmallForm() : Form(IDD_SMALLFORM) {}
    TextBox txt{*this, IDC_SMALL_TEXT};
    CommandButton cmdOk{*this, IDC_SMALL_OK};
    std::function<void()> onActivate;

protected:
    void Form_Activate() override
    {
        if (onActivate) {
            auto once = std::move(onActivate);
            onActivate = nullptr;
            once();
        }
    }
};

TEST_F(FormsTest, ModalFormDisablesTheOthersUntilUnloaded)
{
    SmallForm dialog;
    bool ownerDisabled = false, focusInside = false;
    dialog.cmdOk.Click = [&] { dialog.Unload(); };
    dialog.onActivate = [&] {
        ownerDisabled = !IsWindowEnabled(f.hWnd());
        // Enter, through the modal loop's dialog manager, presses OK, which unloads.
        dialog.txt.SetFocus();
        focusInside = GetFocus() == dialog.txt.hWnd();
        PostMessageW(dialog.txt.hWnd(), WM_KEYDOWN, VK_RETURN, 1);
    };
    Log();
    dialog.ShowModal(f.hWnd());
    DoEvents();
    // The owner is active again, and says so: that is when a main window refreshes.
    EXPECT_EQ(Log(), Lines{"Activate"});
    EXPECT_EQ(GetActiveWindow(), f.hWnd());
    EXPECT_FALSE(dialog.Loaded());
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(focusInside);
    EXPECT_TRUE(IsWindowEnabled(f.hWnd()));
    EXPECT_EQ(GetWindow(f.hWnd(), GW_ENABLEDPOPUP), nullptr);
}

TEST(FormsLoop, RunsUntilTheLastFormIsUnloaded)
{
    SmallForm a, b;
    a.Show();
    b.Show();
    EXPECT_EQ(Form::Forms(), (std::vector<Form*>{&a, &b}));
    PostMessageW(a.hWnd(), WM_CLOSE, 0, 0);
    PostMessageW(b.hWnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(RunMessageLoop(), 0);
    EXPECT_FALSE(a.Loaded());
    EXPECT_FALSE(b.Loaded());
    EXPECT_EQ(RunMessageLoop(), 0);  // nothing loaded: returns at once
}

TEST(FormsDrop, TargetFollowsTheWindowsLife)
{
    SmallForm form;
    std::vector<std::string> dropped;
    form.txt.OLEDragDrop = [&](const std::vector<std::string>& files, int&) { dropped = files; };
    form.txt.OLEDropMode(kOleDropManual);  // before the window exists: registered at load
    EXPECT_EQ(form.txt.RegisteredDropTarget(), nullptr);
    form.Show();
    IDropTarget* target = form.txt.RegisteredDropTarget();
    ASSERT_NE(target, nullptr);
    target->AddRef();  // as OLE would, during a drag that outlives the form
    HWND box = form.txt.hWnd();
    form.Unload();
    EXPECT_EQ(form.txt.RegisteredDropTarget(), nullptr);
    EXPECT_EQ(RevokeDragDrop(box), DRAGDROP_E_INVALIDHWND);
    FileData files({L"C:\\x.exe"});
    DWORD effect = DROPEFFECT_COPY;
    POINTL pt{0, 0};
    target->Drop(&files, 0, pt, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_TRUE(dropped.empty());
    target->Release();
}

}  // namespace
