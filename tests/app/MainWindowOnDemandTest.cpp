// The main window makes its first page with itself and each other page when its tab is
// first shown: what a page shows then is what it would have shown all along.
#include "MainWindowTestSupport.h"

#include "document/DescriptionFile.h"
#include "document/PluginDocument.h"

namespace kwtest {
namespace {

using MainWindowOnDemand = MainWindowTest;

std::wstring TextOf(HWND hwnd)
{
    wchar_t text[256]{};
    GetWindowTextW(hwnd, text, 256);
    return text;
}

TEST_F(MainWindowOnDemand, OnlyTheFirstPageIsMadeAtStartAndATabClickMakesItsOwn)
{
    ASSERT_NE(f->picTabBox[0].hWnd(), nullptr);
    for (size_t i = 1; i < 4; ++i)
        EXPECT_EQ(f->picTabBox[i].hWnd(), nullptr) << i;
    EXPECT_EQ(f->lstProgramFiles.hWnd(), nullptr);
    EXPECT_EQ(f->lstProgramFiles.RegisteredDropTarget(), nullptr);
    EXPECT_EQ(f->oUpDown()->UpDownHandle(), nullptr);
    EXPECT_NE(f->oGroupbox()->hWnd(0), nullptr);
    EXPECT_EQ(f->oGroupbox()->hWnd(2), nullptr);
    // The destinations are in the model from load on, their lists kept for their pages.
    EXPECT_EQ(f->oKW().ProgramFilesDest(), kw::dstPrograms);
    EXPECT_EQ(f->cboSystemFilesDestination.ListCount(), 2);
    const int systemIndex = f->cboSystemFilesDestination.ListIndex();
    EXPECT_GE(systemIndex, 0);
    EXPECT_EQ(f->oKW().CurrentExecutable(), 0);
    EXPECT_EQ(f->txtExecutableGroup.Text(), "0");

    ShowTab(3);
    HWND page = f->picTabBox[2].hWnd();
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(IsWindowVisible(page));
    EXPECT_EQ(f->picTabBox[1].hWnd(), nullptr);
    EXPECT_EQ(f->picTabBox[3].hWnd(), nullptr);
    // Its header, icon, group box, list, destinations and drop target, as if made at load.
    EXPECT_EQ(kw::Narrow(TextOf(f->lblHeader[2].hWnd())), f->lblHeader[2].Caption());
    EXPECT_FALSE(f->lblHeader[2].Caption().empty());
    EXPECT_NE(f->imgIcon[2].Picture(), nullptr);
    ASSERT_NE(f->oGroupbox()->hWnd(2), nullptr);
    EXPECT_EQ(GetParent(f->oGroupbox()->hWnd(2)), page);
    EXPECT_EQ(TextOf(f->oGroupbox()->hWnd(2)), L"System Files");
    EXPECT_EQ(SendMessageW(f->cboSystemFilesDestination.hWnd(), CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageW(f->cboSystemFilesDestination.hWnd(), CB_GETCURSEL, 0, 0), systemIndex);
    EXPECT_NE(f->lstSystemFiles.RegisteredDropTarget(), nullptr);
    // Tab reaches the shown page's controls after the strip.
    EXPECT_EQ(GetWindow(page, GW_HWNDPREV), f->oTabs()->hWnd());

    ShowTab(4);
    ASSERT_NE(f->oUpDown()->UpDownHandle(), nullptr);
    EXPECT_EQ(LOWORD(SendMessageW(f->oUpDown()->UpDownHandle(), UDM_GETPOS, 0, 0)), 0);
    EXPECT_EQ(TextOf(f->txtExecutableGroup.hWnd()), L"0");
    EXPECT_EQ(TextOf(f->oGroupbox()->hWnd(4)), L"Shortcuts");
    EXPECT_EQ(f->picTabBox[1].hWnd(), nullptr);
    // The arrows still choose the slot.
    SendMessageW(f->oUpDown()->UpDownHandle(), UDM_SETPOS32, 0, 3);
    DoEvents();
    EXPECT_EQ(f->oKW().CurrentExecutable(), 3);
}

TEST_F(MainWindowOnDemand, ADocumentOpenedBeforeItsPagesWereShownShowsOnThemUnchanged)
{
    const std::string exe = MakeFile("work\\tool.exe", "MZ"), dll = MakeFile("work\\a.dll", "A"),
                      second = MakeFile("work\\other.exe", "MZ");
    kw::PluginDocument doc;
    doc.PluginName = "Tool";
    doc.ProgramName = "Tool";
    doc.ProgramFiles = {dll};
    doc.Executables[0].Path = exe;
    doc.Executables[0].ShortcutName = "Viewer";
    doc.Executables[0].IncJuxDesktop = kw::cvChecked;
    doc.Executables[2].Path = second;
    doc.Executables[2].ShortcutName = "Second";
    doc.IncZelMenu = kw::cvChecked;
    doc.MenuGroup = "Tools";
    doc.IncSubGroup = true;
    const std::string kwp = root + "\\work\\Tool.kwp";
    ASSERT_EQ(kw::SaveDescription(doc, kwp).code, 0u);
    ASSERT_TRUE(f->OpenDocument(kwp));
    for (size_t i = 1; i < 4; ++i)
        EXPECT_EQ(f->picTabBox[i].hWnd(), nullptr) << i;
    const kw::PluginDocument opened = kw::DocumentFromModel(f->oKW());
    ASSERT_FALSE(f->Unsaved());

    ShowTab(2);
    ASSERT_NE(f->lstProgramFiles.hWnd(), nullptr);
    ASSERT_EQ(SendMessageW(f->lstProgramFiles.hWnd(), LB_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(f->lstProgramFiles.List(0), "a.dll");
    EXPECT_EQ(f->picTabBox[2].hWnd(), nullptr);

    ShowTab(4);
    ASSERT_NE(f->picTabBox[3].hWnd(), nullptr);
    EXPECT_EQ(TextOf(f->txtExecutable.hWnd()), L"tool.exe");
    EXPECT_EQ(TextOf(f->txtShortcutName.hWnd()), L"Viewer");
    EXPECT_EQ(TextOf(f->cboMenuGroup.hWnd()), L"Tools");
    for (Control* box : {static_cast<Control*>(&f->chkIncZel), static_cast<Control*>(&f->chkIncJuxDesktop),
                         static_cast<Control*>(&f->chkAppendMenuGroup)}) {
        EXPECT_EQ(SendMessageW(box->hWnd(), BM_GETCHECK, 0, 0), BST_CHECKED) << box->Id();
        EXPECT_TRUE(IsWindowEnabled(box->hWnd())) << box->Id();
    }
    EXPECT_TRUE(IsWindowEnabled(f->txtShortcutName.hWnd()));
    EXPECT_TRUE(IsWindowEnabled(f->cboMenuGroup.hWnd()));
    EXPECT_EQ(SendMessageW(f->chkIncJuxMenu.hWnd(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    // Making the pages ran no handler: the model and the document are as opened.
    EXPECT_EQ(kw::DocumentFromModel(f->oKW()), opened);
    EXPECT_FALSE(f->Unsaved());
    // The other slot through the arrows, then back.
    SendMessageW(f->oUpDown()->UpDownHandle(), UDM_SETPOS32, 0, 2);
    DoEvents();
    EXPECT_EQ(TextOf(f->txtShortcutName.hWnd()), L"Second");
    EXPECT_EQ(SendMessageW(f->chkIncJuxDesktop.hWnd(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    // A new document empties the pages, made or not, without making the others.
    CtrlKey('N');
    EXPECT_EQ(f->picTabBox[2].hWnd(), nullptr);
    EXPECT_EQ(SendMessageW(f->lstProgramFiles.hWnd(), LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(TextOf(f->txtExecutable.hWnd()), L"");
    EXPECT_EQ(f->lstSystemFiles.ListCount(), 0);
}

TEST_F(MainWindowOnDemand, ASlotChosenBeforeTheExecutablesPageIsMadeIsTheOneItShows)
{
    const std::string exe = MakeFile("work\\tool.exe", "MZ");
    kw::PluginDocument doc;
    doc.PluginName = "Tool";
    doc.Executables[5].Path = exe;
    doc.Executables[5].ShortcutName = "Fifth";
    const std::string kwp = root + "\\work\\Slot.kwp";
    ASSERT_EQ(kw::SaveDescription(doc, kwp).code, 0u);
    ASSERT_TRUE(f->OpenDocument(kwp));
    // Typed as the up-down's buddy would show it, with no page yet.
    f->txtExecutableGroup.Text("5");
    EXPECT_EQ(f->oKW().CurrentExecutable(), 5);
    EXPECT_EQ(f->txtShortcutName.Text(), "Fifth");
    EXPECT_EQ(f->picTabBox[3].hWnd(), nullptr);
    ShowTab(4);
    EXPECT_EQ(LOWORD(SendMessageW(f->oUpDown()->UpDownHandle(), UDM_GETPOS, 0, 0)), 5);
    EXPECT_EQ(TextOf(f->txtExecutableGroup.hWnd()), L"5");
    EXPECT_EQ(TextOf(f->txtShortcutName.hWnd()), L"Fifth");
    EXPECT_EQ(f->oKW().CurrentExecutable(), 5);
}

TEST_F(MainWindowOnDemand, TwentyThousandMenuGroupsAreListedInOrderOnceTheirPageIsShown)
{
    kw::UnloadAllForms();
    DoEvents();
    {
        std::ofstream ini(fs::path(kw::Widen(programFolder + "\\Kitwright.ini")), std::ios::binary);
        ini << "[Preferences]\r\nIncZelMenu=1\r\n[MenuGroup]\r\n";
        for (int i = 0; i < 20000; ++i)
            ini << i << "=Group " << (19999 - i) << "\r\n";
    }
    kw::RegisterMainForm();
    kw::Main();
    f = static_cast<kw::frmMain*>(kw::MainForm());
    ASSERT_NE(f, nullptr);
    DoEvents();
    f->oKW().PluginLocation(plugins);
    EXPECT_EQ(f->picTabBox[3].hWnd(), nullptr);
    ASSERT_EQ(f->cboMenuGroup.ListCount(), 20000);
    EXPECT_EQ(f->cboMenuGroup.List(0), "Group 19999");
    EXPECT_EQ(f->cboMenuGroup.List(19999), "Group 0");

    FileData exe({MakeFile("work\\tool.exe", "MZ")});
    Drop(f->txtExecutable, exe);  // shows the page first
    HWND combo = f->cboMenuGroup.hWnd();
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 20000);
    for (int i : {0, 1, 9999, 19998, 19999}) {
        wchar_t line[64]{};
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line));
        EXPECT_EQ(kw::Narrow(line), "Group " + std::to_string(19999 - i)) << i;
    }
    // Typing and choosing work on the filled list as on any other.
    ASSERT_TRUE(IsWindowEnabled(combo));
    Type(f->cboMenuGroup, "Mine");
    EXPECT_EQ(f->oKW().MenuGroup(), "Mine");
    f->cboMenuGroup.ListIndex(19999);
    EXPECT_EQ(f->oKW().MenuGroup(), "Group 0");
}

// Each activation shows the menu groups the preferences hold now, also when another program
// changed them; an edit of the same length counts too.
TEST_F(MainWindowOnDemand, MenuGroupsChangedElsewhereShowAtTheNextActivation)
{
    const std::wstring ini = kw::Widen(programFolder + "\\Kitwright.ini");
    const auto activate = [&] {
        WhileModal([&] { Menu(IDM_HELP_ABOUT); }, [](HWND about) { ClickIn(about, IDC_CMD_ABOUT_OK); });
    };
    const auto groups = [&] {
        std::vector<std::string> names;
        for (int i = 0; i < f->cboMenuGroup.ListCount(); ++i)
            names.push_back(f->cboMenuGroup.List(i));
        return names;
    };
    const std::vector<std::string> before = groups();
    ASSERT_FALSE(before.empty());
    activate();
    EXPECT_EQ(groups(), before);

    const std::wstring next = std::to_wstring(before.size());
    ASSERT_TRUE(WritePrivateProfileStringW(L"MenuGroup", next.c_str(), L"Games", ini.c_str()));
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, ini.c_str());  // flushed
    activate();
    std::vector<std::string> after = before;
    after.push_back("Games");
    EXPECT_EQ(groups(), after);

    ShowTab(4);  // the page made: its list follows too
    ASSERT_TRUE(WritePrivateProfileStringW(L"MenuGroup", next.c_str(), L"Gamez", ini.c_str()));
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, ini.c_str());
    activate();
    after.back() = "Gamez";
    EXPECT_EQ(groups(), after);
    EXPECT_EQ(SendMessageW(f->cboMenuGroup.hWnd(), CB_GETCOUNT, 0, 0), static_cast<LRESULT>(after.size()));
}

}  // namespace
}  // namespace kwtest
