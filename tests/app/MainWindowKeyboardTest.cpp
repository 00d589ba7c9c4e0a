// The keyboard in the real main window: where the focus goes after Create and after a
// refusal, Delete in the file lists, and typing on after the website box refills.
#include "MainWindowTestSupport.h"

namespace kwtest {
namespace {

using Names = std::vector<std::string>;

// The whole text of the focused box is selected.
bool AllSelected(const TextBox& box)
{
    return GetFocus() == box.hWnd() && box.SelStart() == 0 && box.SelLength() == box.TextLength() &&
           box.TextLength() > 0;
}

TEST_F(MainWindowTest, AfterCreateTheFocusReturnsWhereItWasOnEveryPage)
{
    f->oKW().IncPopupDone(kw::cvUnchecked);
    FileData exe({MakeFile("src\\viewer.exe")});
    Drop(f->txtExecutable, exe);
    FileData files({MakeFile("src\\a.dll")});
    Drop(f->lstProgramFiles, files);
    struct Stop {
        int tab;
        Control* control;
    };
    const Stop stops[] = {{1, &f->txtProgramWebsite},
                          {2, &f->lstProgramFiles},
                          {3, &f->cboSystemFilesDestination},
                          {4, &f->txtExecutableGroup},
                          {4, &f->chkIncAutorun}};
    int n = 0;
    for (const Stop& stop : stops) {
        f->txtPluginName.Text("Tool" + std::to_string(++n));
        ShowTab(stop.tab);
        stop.control->SetFocus();
        DoEvents();
        ASSERT_EQ(GetFocus(), stop.control->hWnd());
        Key(VK_RETURN);  // Create Plugin
        ASSERT_TRUE(fs::exists(fs::path(kw::Widen(plugins + "Tool" + std::to_string(n) + "\\files\\a.dll")))) << n;
        EXPECT_EQ(f->oTabs()->CurrentTab(), stop.tab);
        EXPECT_EQ(GetFocus(), stop.control->hWnd()) << "page " << stop.tab << ", control " << stop.control->Id();
    }
    // Clicked: the focus is back on the button.
    f->txtPluginName.Text("Clicked");
    ShowTab(2);
    Click(f->cmdCreatePlugin);
    EXPECT_TRUE(fs::exists(fs::path(kw::Widen(plugins + "Clicked\\Clicked.inf"))));
    EXPECT_EQ(GetFocus(), f->cmdCreatePlugin.hWnd());
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(MainWindowTest, AnExistingFolderSendsTheFocusToThePluginName)
{
    f->oKW().IncPopupDone(kw::cvUnchecked);
    Type(f->txtPluginName, "Tool");
    Click(f->cmdCreatePlugin);
    ASSERT_TRUE(prompt.shown.empty());
    ShowTab(3);
    f->lstSystemFiles.SetFocus();
    prompt.answers = {kw::platform::kIdNo};
    Key(VK_RETURN);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_TRUE(prompt.shown[0].text.starts_with("The chosen plugin folder already exists")) << prompt.shown[0].text;
    EXPECT_EQ(f->oTabs()->CurrentTab(), 1);
    EXPECT_TRUE(IsWindowVisible(f->picTabBox[0].hWnd()));
    EXPECT_FALSE(IsWindowVisible(f->picTabBox[2].hWnd()));
    EXPECT_TRUE(AllSelected(f->txtPluginName));
    // The first key typed replaces the name.
    Type(f->txtPluginName, "N");
    EXPECT_EQ(f->oKW().PluginName(), "N");
}

TEST_F(MainWindowTest, ABadScriptNameShowsItsSlotWithTheNameSelected)
{
    ShowTab(4);
    std::string a = MakeFile("src\\a.exe"), b = MakeFile("src\\b.exe"), c = MakeFile("src\\c.exe");
    auto fillSlot = [&](int slot, const std::string& exe, const std::string& shortcut) {
        SendMessageW(f->oUpDown()->UpDownHandle(), UDM_SETPOS32, 0, slot);
        DoEvents();
        ASSERT_EQ(f->oKW().CurrentExecutable(), slot);
        FileData data({exe});
        Drop(f->txtExecutable, data);
        f->txtShortcutName.Text(shortcut);  // pasted: no key filter in the way
        Click(f->chkIncAutorun);
    };
    fillSlot(0, a, "Alpha");
    fillSlot(3, b, "x|y");
    fillSlot(5, c, "Alpha");
    SendMessageW(f->oUpDown()->UpDownHandle(), UDM_SETPOS32, 0, 0);
    DoEvents();
    Type(f->txtPluginName, "Tool");
    ShowTab(1);
    Click(f->cmdCreatePlugin);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0].text.find("valid, distinct file names"), std::string::npos);
    EXPECT_EQ(f->oTabs()->CurrentTab(), 4);
    EXPECT_EQ(f->txtExecutableGroup.Text(), "3");
    EXPECT_EQ(f->oKW().CurrentExecutable(), 3);
    EXPECT_EQ(f->txtShortcutName.Text(), "x|y");
    EXPECT_TRUE(AllSelected(f->txtShortcutName));

    // Mended, the repeated name is next: the later of the two slots.
    Type(f->txtShortcutName, "Beta");
    prompt.shown.clear();
    Click(f->cmdCreatePlugin);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(f->oKW().CurrentExecutable(), 5);
    EXPECT_EQ(f->txtExecutableGroup.Text(), "5");
    EXPECT_TRUE(AllSelected(f->txtShortcutName));
    Type(f->txtShortcutName, "Gamma");
    prompt.shown.clear();
    prompt.answers = {kw::platform::kIdCancel};
    Click(f->cmdCreatePlugin);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].title, "Kitwright");  // made
}

TEST_F(MainWindowTest, ANameTheCodePageCannotHoldIsShownSelected)
{
    // A program file the ANSI files cannot name: its page, its line selected alone.
    std::string a = MakeFile("src\\a.dll"), omega = MakeFile("src\\\xCE\xA9mega.dll"), z = MakeFile("src\\z.dll");
    FileData files({a, omega, z});
    Drop(f->lstProgramFiles, files);
    f->lstProgramFiles.Selected(2, true);
    Type(f->txtPluginName, "Tool");
    Click(f->cmdCreatePlugin);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0].text.find("code page"), std::string::npos);
    EXPECT_EQ(f->oTabs()->CurrentTab(), 2);
    EXPECT_EQ(GetFocus(), f->lstProgramFiles.hWnd());
    EXPECT_FALSE(f->lstProgramFiles.Selected(0));
    EXPECT_TRUE(f->lstProgramFiles.Selected(1));
    EXPECT_FALSE(f->lstProgramFiles.Selected(2));
    // Delete takes it out, and the plugin can be made.
    Key(VK_DELETE);
    EXPECT_EQ(Items(f->lstProgramFiles), (Names{"a.dll", "z.dll"}));
    prompt.shown.clear();
    prompt.answers = {kw::platform::kIdCancel};
    Click(f->cmdCreatePlugin);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].title, "Kitwright");
}

TEST_F(MainWindowTest, ATooLongScriptPathShowsItsSlot)
{
    // The plugin's own files fit; the autorun script of slot 2 does not.
    f->oKW().PluginLocation(plugins + std::string(60, 'd') + "\\");
    ShowTab(4);
    SendMessageW(f->oUpDown()->UpDownHandle(), UDM_SETPOS32, 0, 2);
    DoEvents();
    FileData exe({MakeFile("src\\viewer.exe")});
    Drop(f->txtExecutable, exe);
    f->txtShortcutName.Text(std::string(200, 's'));
    Click(f->chkIncAutorun);
    SendMessageW(f->oUpDown()->UpDownHandle(), UDM_SETPOS32, 0, 0);
    DoEvents();
    ShowTab(1);
    Type(f->txtPluginName, "Tool");
    Click(f->cmdCreatePlugin);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0].text.find("too long"), std::string::npos) << prompt.shown[0].text;
    EXPECT_EQ(f->oTabs()->CurrentTab(), 4);
    EXPECT_EQ(f->oKW().CurrentExecutable(), 2);
    EXPECT_TRUE(AllSelected(f->txtShortcutName));

    // A plugins folder too deep for the plugin itself: the plugin name.
    f->oKW().PluginLocation(plugins + std::string(120, 'd') + "\\" + std::string(120, 'e') + "\\");
    prompt.shown.clear();
    Click(f->cmdCreatePlugin);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(f->oTabs()->CurrentTab(), 1);
    EXPECT_TRUE(AllSelected(f->txtPluginName));
}

TEST_F(MainWindowTest, DeleteRemovesTheSelectedFilesOfEitherList)
{
    ShowTab(2);
    std::string a = MakeFile("src\\a.dll"), b = MakeFile("src\\b.exe"), c = MakeFile("src\\c.txt");
    FileData three({a, b, c});
    Drop(f->lstProgramFiles, three);
    f->lstProgramFiles.Selected(0, true);
    f->lstProgramFiles.Selected(2, true);
    f->lstProgramFiles.SetFocus();
    Key(VK_DELETE);
    EXPECT_EQ(Items(f->lstProgramFiles), Names{"b.exe"});
    ASSERT_EQ(f->oKW().ProgramFileCount(), 1);
    EXPECT_EQ(f->oKW().ProgramFileAll(1), b);

    ShowTab(3);
    std::string s1 = MakeFile("win\\system32\\one.dll"), s2 = MakeFile("win\\system32\\two.cpl");
    FileData sys({s1, s2});
    Drop(f->lstSystemFiles, sys);
    f->lstSystemFiles.Selected(1, true);
    f->lstSystemFiles.SetFocus();
    Key(VK_DELETE);
    EXPECT_EQ(Items(f->lstSystemFiles), Names{"one.dll"});
    EXPECT_EQ(f->oKW().SystemFileCount(), 1);
    // Nothing selected: nothing goes.
    f->lstSystemFiles.Selected(0, false);
    Key(VK_DELETE);
    EXPECT_EQ(f->oKW().SystemFileCount(), 1);
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(MainWindowTest, TypingGoesOnAfterTheRefilledWebsitePrefix)
{
    Type(f->txtProgramWebsite, "x");  // the whole prefix was selected: replaced
    ASSERT_EQ(f->txtProgramWebsite.Text(), "x");
    Type(f->txtProgramWebsite, "\b");
    EXPECT_EQ(f->txtProgramWebsite.Text(), "http://");
    EXPECT_EQ(f->txtProgramWebsite.SelStart(), 7);
    EXPECT_EQ(f->txtProgramWebsite.SelLength(), 0);
    Type(f->txtProgramWebsite, "example.org");
    EXPECT_EQ(f->txtProgramWebsite.Text(), "http://example.org");
    EXPECT_EQ(f->oKW().ProgramWebsite(), "http://example.org");
}

}  // namespace
}  // namespace kwtest
