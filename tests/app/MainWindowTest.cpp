// The main window's frame, the Information page and the commands below the tab strip,
// driven through the real controls under Wine.
#include "MainWindowTestSupport.h"

#include <algorithm>

#include "platform/RuntimeError.h"

namespace kwtest {
namespace {

bool Shown(const Control& page) { return IsWindowVisible(page.hWnd()) != FALSE; }

TEST_F(MainWindowTest, FreshStartShowsTheFirstPageWithNoDefaultButton)
{
    EXPECT_EQ(f->Caption(), "Kitwright v4.1.2");
    ASSERT_NE(f->oTabs(), nullptr);
    EXPECT_EQ(TabCtrl_GetItemCount(f->oTabs()->hWnd()), 4);
    EXPECT_EQ(f->oTabs()->CurrentTab(), 1);
    EXPECT_TRUE(Shown(f->picTabBox[0]));
    for (int i = 1; i < 4; ++i)
        EXPECT_FALSE(Shown(f->picTabBox[static_cast<size_t>(i)])) << i;

    EXPECT_EQ(f->txtExecutableGroup.Text(), "0");
    EXPECT_EQ(LOWORD(SendMessageW(f->oUpDown()->UpDownHandle(), UDM_GETPOS, 0, 0)), 0);
    EXPECT_FALSE(f->cmdCreatePlugin.Enabled());
    EXPECT_TRUE(NoDefaultButton());
    EXPECT_EQ(f->txtProgramWebsite.Text(), "http://");
    EXPECT_TRUE(f->optCopyOption[0].Value());
    EXPECT_FALSE(f->optCopyOption[1].Value());
    EXPECT_EQ(f->cmdGetProgramFiles.Caption(), "&Select Program Files...");

    // Headers from the string table, icons from the resources, the five group boxes.
    EXPECT_EQ(f->lblHeader[4].Caption(), "Choose a Start-Menu group and a name for the shortcut.");
    for (auto& icon : f->imgIcon)
        EXPECT_NE(icon.Picture(), nullptr) << icon.Id();
    ASSERT_NE(f->oGroupbox(), nullptr);
    wchar_t caption[64]{};
    GetWindowTextW(f->oGroupbox()->hWnd(4), caption, 64);
    EXPECT_STREQ(caption, L"Shortcuts");
    EXPECT_EQ(GetParent(f->oGroupbox()->hWnd(4)), f->picTabBox[3].hWnd());
    EXPECT_EQ(GetParent(f->oGroupbox()->hWnd(0)), f->picTabBox[0].hWnd());

    // The destinations are filled and their defaults are in the model.
    EXPECT_EQ(f->cboProgramFilesDestination.Text(), "Programs\\");
    EXPECT_EQ(f->cboSystemFilesDestination.Text(), "System32");
    EXPECT_EQ(f->oKW().ProgramFilesDest(), kw::dstPrograms);
    EXPECT_EQ(f->oKW().SystemFilesDest(), kw::dstSystem32);
    EXPECT_EQ(f->oKW().MaxExecutables(), 9);
}

TEST_F(MainWindowTest, TabWalksTheVisiblePageInReadingOrder)
{
    // From the strip: each label's box, then the enabled buttons below the strip, then
    // round to the strip again, where the arrow keys change the page.
    HWND strip = f->oTabs()->hWnd();
    SetFocus(strip);
    DoEvents();
    std::vector<int> order;
    for (int i = 0; i < 8; ++i) {
        Key(VK_TAB);
        order.push_back(GetDlgCtrlID(GetFocus()));
    }
    EXPECT_EQ(order,
              (std::vector<int>{IDC_TXT_PLUGIN_NAME, IDC_TXT_PROGRAM_NAME, IDC_TXT_PROGRAM_WEBSITE, IDC_TXT_DESCRIPTION,
                                IDC_CHK_INC_AUTHOR, IDC_CMD_RESET_INFORMATION, IDC_CMD_RESET, IDC_CMD_EXIT}));
    Key(VK_TAB);
    EXPECT_EQ(GetFocus(), strip);
    Key(VK_RIGHT);
    EXPECT_EQ(f->oTabs()->CurrentTab(), 2);
    EXPECT_TRUE(IsWindowVisible(f->picTabBox[1].hWnd()));
    EXPECT_FALSE(IsWindowVisible(f->picTabBox[0].hWnd()));
    Key(VK_TAB);
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), IDC_OPT_COPY_OPTION + 0);
    SetFocus(strip);
    Key(VK_LEFT);
    EXPECT_EQ(f->oTabs()->CurrentTab(), 1);
    // Each box follows its label in the template, so the label names it.
    EXPECT_EQ(GetWindow(f->txtPluginName.hWnd(), GW_HWNDPREV), f->lblPluginName.hWnd());
    ShowTab(4);
    EXPECT_EQ(GetWindow(f->txtShortcutName.hWnd(), GW_HWNDPREV), f->lblShortcutName.hWnd());
    EXPECT_EQ(GetWindow(f->cboMenuGroup.hWnd(), GW_HWNDPREV), f->lblMenuGroup.hWnd());

    // Access keys reach the shown page only: Alt+R is each page's own reset.
    FileData exe({MakeFile("src\\viewer.exe")});
    Drop(f->txtExecutable, exe);
    Type(f->txtPluginName, "Tool");
    PostMessageW(GetFocus(), WM_SYSCHAR, 'r', 1 << 29);
    DoEvents();
    EXPECT_EQ(f->oKW().PluginName(), "");
    EXPECT_NE(f->oKW().Executable(0), "");
    Type(f->txtPluginName, "Tool");
    ShowTab(4);
    f->txtShortcutName.SetFocus();
    PostMessageW(GetFocus(), WM_SYSCHAR, 'r', 1 << 29);
    DoEvents();
    EXPECT_EQ(f->oKW().PluginName(), "Tool");
    EXPECT_EQ(f->oKW().Executable(0), "");
}

TEST_F(MainWindowTest, PluginNameDrivesProgramNameDestinationAndDefaultButton)
{
    Type(f->txtPluginName, "Tool");
    EXPECT_EQ(f->oKW().PluginName(), "Tool");
    EXPECT_EQ(f->txtProgramName.Text(), "Tool");
    EXPECT_EQ(f->oKW().ProgramName(), "Tool");
    EXPECT_EQ(f->cboProgramFilesDestination.List(0), "Programs\\Tool");
    EXPECT_EQ(f->cboProgramFilesDestination.ListIndex(), 0);
    EXPECT_TRUE(f->cmdCreatePlugin.Enabled());
    EXPECT_EQ(DefaultId(), IDC_CMD_CREATE_PLUGIN);

    // A hand-edited program name lasts until the plugin name changes again.
    f->txtProgramName.Text("My Program");
    EXPECT_EQ(f->oKW().ProgramName(), "My Program");
    Type(f->txtPluginName, "s");
    EXPECT_EQ(f->txtProgramName.Text(), "Tools");
    EXPECT_EQ(f->oKW().ProgramName(), "Tools");

    // Coming back selects the whole name, so one Backspace empties it.
    f->txtProgramName.SetFocus();
    Type(f->txtPluginName, "\b");
    EXPECT_EQ(f->oKW().PluginName(), "");
    EXPECT_FALSE(f->cmdCreatePlugin.Enabled());
    EXPECT_TRUE(NoDefaultButton());
    EXPECT_EQ(f->cboProgramFilesDestination.List(0), "Programs\\");
}

TEST_F(MainWindowTest, KeyFiltersAndTheWebsiteBox)
{
    Type(f->txtPluginName, "a:b\\c/d\"*<>?^|");
    EXPECT_EQ(f->txtPluginName.Text(), "abcd");
    Type(f->txtProgramName, "x?y");
    EXPECT_EQ(f->txtProgramName.Text(), "xy");
    Type(f->txtProgramWebsite, "a:b\\c/d");
    EXPECT_EQ(f->txtProgramWebsite.Text(), "a:bc/d");
    EXPECT_EQ(f->oKW().ProgramWebsite(), "a:bc/d");
    Type(f->txtDescription, "a?b");
    EXPECT_EQ(f->oKW().Description(), "a?b");

    // Emptying the website box puts the prefix back.
    f->txtProgramWebsite.SetFocus();
    DoEvents();
    Key(VK_DELETE);
    EXPECT_EQ(f->txtProgramWebsite.Text(), "http://");
    EXPECT_EQ(f->oKW().ProgramWebsite(), "");  // the model keeps the bare prefix as nothing
}

TEST_F(MainWindowTest, ResetInformationClearsTheTextsAndMovesFocusOnlyOnItsPage)
{
    Type(f->txtPluginName, "Tool");
    f->txtDescription.Text("About");
    f->txtProgramWebsite.Text("http://example.org");
    f->chkIncAuthor.Value(kUnchecked);
    Click(f->cmdResetInformation);
    EXPECT_EQ(f->oKW().PluginName(), "");
    EXPECT_EQ(f->oKW().ProgramName(), "");
    EXPECT_EQ(f->oKW().Description(), "");
    EXPECT_EQ(f->txtProgramWebsite.Text(), "http://");
    EXPECT_EQ(f->chkIncAuthor.Value(), kUnchecked);
    EXPECT_EQ(GetFocus(), f->txtPluginName.hWnd());
    EXPECT_TRUE(NoDefaultButton());
}

TEST_F(MainWindowTest, SwitchingTabsShowsExactlyOnePage)
{
    for (int tab : {3, 2, 4, 1}) {
        ShowTab(tab);
        EXPECT_EQ(f->oTabs()->CurrentTab(), tab);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(Shown(f->picTabBox[static_cast<size_t>(i)]), i == tab - 1) << tab << " " << i;
    }
}

TEST_F(MainWindowTest, CtrlTabTurnsThePagesBothWaysAndKeepsTheFocusOnAShownPage)
{
    Type(f->txtPluginName, "Tool");
    ASSERT_EQ(GetFocus(), f->txtPluginName.hWnd());
    CtrlKey(VK_TAB);
    EXPECT_EQ(f->oTabs()->CurrentTab(), 2);
    EXPECT_TRUE(Shown(f->picTabBox[1]));
    EXPECT_FALSE(Shown(f->picTabBox[0]));
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), IDC_OPT_COPY_OPTION + 0);
    EXPECT_EQ(f->txtPluginName.Text(), "Tool");  // the key typed nothing
    EXPECT_EQ(f->oKW().CopyOption(), kw::coIndividualFiles);

    // Backwards round the end, then forwards round it again.
    CtrlKey(VK_TAB, true);
    CtrlKey(VK_TAB, true);
    EXPECT_EQ(f->oTabs()->CurrentTab(), 4);
    EXPECT_TRUE(IsChild(f->picTabBox[3].hWnd(), GetFocus()));
    CtrlKey(VK_TAB);
    EXPECT_EQ(f->oTabs()->CurrentTab(), 1);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Shown(f->picTabBox[static_cast<size_t>(i)]), i == 0) << i;

    // From the strip or a command button the focus stays where it is.
    f->cmdExit.SetFocus();
    DoEvents();
    CtrlKey(VK_TAB);
    EXPECT_EQ(f->oTabs()->CurrentTab(), 2);
    EXPECT_EQ(GetFocus(), f->cmdExit.hWnd());
    // A plain Tab still walks the controls.
    Key(VK_TAB);
    EXPECT_EQ(f->oTabs()->CurrentTab(), 2);
    EXPECT_EQ(GetFocus(), f->oTabs()->hWnd());
}

TEST_F(MainWindowTest, MenusPickThePluginsFolderAndOpenTheReadMe)
{
    std::string chosen = root + "\\chosen";
    fs::create_directories(fs::path(kw::Widen(chosen)));
    {
        PickerScript s;
        s.folder = kw::Widen(chosen);
        s.treeName = DisplayName(chosen);
        PickerDriver d(s);
        Menu(IDM_SETTINGS_LOCATION);
        EXPECT_EQ(s.title.empty(), false);
    }
    EXPECT_EQ(f->oKW().PluginLocation(), chosen + "\\");
    EXPECT_EQ(f->txtPluginLocation.Text(), kw::CompactPath(chosen + "\\", f->txtPluginLocation, *f));
    EXPECT_NE(ReadAll(programFolder + "\\Kitwright.ini").find("PluginPath=" + chosen), std::string::npos);
    {
        // The picker opens at the folder chosen before.
        PickerScript s;
        s.acceptShown = true;
        PickerDriver d(s);
        Menu(IDM_SETTINGS_LOCATION);
        EXPECT_EQ(s.shownName, L"chosen");
    }
    EXPECT_EQ(f->oKW().PluginLocation(), chosen + "\\");
    {
        PickerScript s;
        s.cancel = true;
        PickerDriver d(s);
        Menu(IDM_SETTINGS_LOCATION);
    }
    EXPECT_EQ(f->oKW().PluginLocation(), chosen + "\\");

    Menu(IDM_HELP_README);
    EXPECT_EQ(opened, std::vector<std::string>{" Kitwright.txt"});
}

TEST_F(MainWindowTest, SettingsDialogsOpenFromTheMenusAndTheirChangesShowOnReturn)
{
    // A new start-menu group reaches the group list when the window is active again.
    WhileModal([&] { Menu(IDM_SETTINGS_MENU); },
               [&](HWND dialog) {
                   SetFocus(GetDlgItem(dialog, IDC_TXT_NEW_MENU_GROUP));
                   DoEvents();
                   for (char ch : std::string("Games"))
                       PostMessageW(GetFocus(), WM_CHAR, static_cast<unsigned char>(ch), 1);
                   DoEvents();
                   ClickIn(dialog, IDC_CMD_ADD_NEW_GROUP);
                   ClickIn(dialog, IDC_CMD_MENU_OK);
               });
    EXPECT_TRUE(mainDisabledWhileModal);
    std::vector<std::string> groups;
    for (int i = 0; i < f->cboMenuGroup.ListCount(); ++i)
        groups.push_back(f->cboMenuGroup.List(i));
    EXPECT_NE(std::find(groups.begin(), groups.end(), "Games"), groups.end());

    // Options: the completion message switched off shows in the model the window uses.
    ASSERT_EQ(f->oKW().IncPopupDone(), kw::cvChecked);
    WhileModal([&] { Menu(IDM_SETTINGS_OPTIONS); },
               [&](HWND dialog) {
                   ClickIn(dialog, IDC_CHK_POPUP_DONE);
                   ClickIn(dialog, IDC_CMD_OPTIONS_OK);
               });
    EXPECT_EQ(f->oKW().IncPopupDone(), kw::cvUnchecked);

    WhileModal([&] { Menu(IDM_SETTINGS_AUTHOR); }, [&](HWND dialog) { ClickIn(dialog, IDC_CMD_AUTHOR_CANCEL); });
    WhileModal([&] { Menu(IDM_HELP_ABOUT); }, [&](HWND dialog) { ClickIn(dialog, IDC_CMD_ABOUT_OK); });
    EXPECT_TRUE(IsWindowEnabled(f->hWnd()));
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(MainWindowTest, ThemeChangeReappliesTheBackColours)
{
    kw::clsInitCC cc;
    ASSERT_TRUE(cc.XPThemesSupported());
    const std::uint32_t expected = cc.ThemeIsActive() ? kColorWindow : kColorButtonFace;
    EXPECT_EQ(f->lblMenuGroup.BackColor(), expected);
    f->txtPluginName.BackColor(0x00123456);
    f->lblMenuGroup.BackColor(0x00123456);
    SendMessageW(f->hWnd(), WM_THEMECHANGED, 0, 0);
    EXPECT_EQ(f->txtPluginName.BackColor(), kColorWindow);  // an input box in any theme
    EXPECT_EQ(f->lblMenuGroup.BackColor(), expected);
}

// ---- Create, reset, exit ------------------------------------------------------------------

TEST_F(MainWindowTest, CreateWritesThePluginThenReportsTheExistingFolder)
{
    std::string tool = MakeFile("src\\viewer.exe", "MZ");
    Type(f->txtPluginName, "Tool");
    FileData data({tool});
    ShowTab(4);
    Drop(f->txtExecutable, data);
    ASSERT_EQ(f->oKW().Executable(0), tool);
    ShowTab(1);

    prompt.answers = {kw::platform::kIdOk};
    bool disabledDuringMessage = false;
    int pointerDuringMessage = -1;
    prompt.onShow = [&] {
        disabledDuringMessage = !f->txtPluginName.Enabled() && !f->cmdExit.Enabled() && !f->mnuSettings.Enabled() &&
                                f->mnuSettingsSeparator.Enabled();
        pointerDuringMessage = Screen::MousePointer();
    };
    f->txtPluginName.SetFocus();
    DoEvents();
    Key(VK_RETURN);  // Create Plugin is the default button
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "Plugin has been created.\r\nExplore the Plugin Folder?");
    EXPECT_EQ(prompt.shown[0].title, "Kitwright");
    EXPECT_EQ(prompt.shown[0].style, kw::platform::kMbOkCancel | kw::platform::kMbIconInformation);
    EXPECT_EQ(opened, (std::vector<std::string>{"explore " + plugins + "Tool"}));
    EXPECT_TRUE(disabledDuringMessage);
    EXPECT_EQ(pointerDuringMessage, kPointerDefault);
    prompt.onShow = nullptr;
    EXPECT_FALSE(ReadAll(plugins + "Tool\\Tool.inf").empty());
    EXPECT_FALSE(ReadAll(plugins + "Tool\\Tool.htm").empty());
    EXPECT_EQ(ReadAll(plugins + "Tool\\files\\viewer.exe"), "MZ");

    // The window is back: enabled, normal pointer, focus in the name, data kept.
    EXPECT_TRUE(IsWindowEnabled(f->txtPluginName.hWnd()));
    EXPECT_TRUE(f->mnuSettings.Enabled());
    EXPECT_EQ(Screen::MousePointer(), kPointerDefault);
    EXPECT_EQ(GetFocus(), f->txtPluginName.hWnd());
    EXPECT_EQ(f->txtPluginName.Text(), "Tool");
    EXPECT_EQ(DefaultId(), IDC_CMD_CREATE_PLUGIN);

    // Again: the folder holds the plugin; asked whether to replace it, No (the default) keeps it.
    prompt.shown.clear();
    prompt.answers = {kw::platform::kIdNo};
    Click(f->cmdCreatePlugin);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_TRUE(prompt.shown[0].text.starts_with("The chosen plugin folder already exists:\r\n" + plugins + "Tool\r\n"))
        << prompt.shown[0].text;
    EXPECT_EQ(prompt.shown[0].title, "Kitwright");
    EXPECT_EQ(prompt.shown[0].style, kw::platform::kMbYesNo | kw::platform::kMbIconWarning | MB_DEFBUTTON2);

    Type(f->txtPluginName, "Other");
    prompt.shown.clear();
    prompt.answers = {kw::platform::kIdCancel};
    Click(f->cmdCreatePlugin);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(opened.size(), 1u);
    EXPECT_TRUE(fs::exists(fs::path(kw::Widen(plugins + "Other\\Other.inf"))));
}

TEST_F(MainWindowTest, CreateWithoutCompletionMessageWhenTheOptionIsOff)
{
    f->oKW().IncPopupDone(kw::cvUnchecked);
    Type(f->txtPluginName, "Quiet");
    Click(f->cmdCreatePlugin);
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_TRUE(fs::exists(fs::path(kw::Widen(plugins + "Quiet\\Quiet.inf"))));
    EXPECT_TRUE(IsWindowEnabled(f->cmdExit.hWnd()));
}

TEST_F(MainWindowTest, AWriteFailureIsReportedAndLeavesTheWindowEnabled)
{
    // The help page cannot be replaced: the INF before it is written, nothing after it.
    std::string page = MakeFile("plugins\\Tool\\Tool.htm", "old");
    SetFileAttributesW(kw::Widen(page).c_str(), FILE_ATTRIBUTE_READONLY);
    Type(f->txtPluginName, "Tool");
    Click(f->cmdCreatePlugin);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].title, "Attention");
    EXPECT_NE(prompt.shown[0].text.find(page), std::string::npos) << prompt.shown[0].text;
    EXPECT_NE(prompt.shown[0].text.find(kw::platform::ErrorText(5)), std::string::npos) << prompt.shown[0].text;
    EXPECT_EQ(ReadAll(page), "old");
    EXPECT_FALSE(ReadAll(plugins + "Tool\\Tool.inf").empty());
    // Everything the enabling rules leave alone is enabled again.
    for (Control* c : std::initializer_list<Control*>{&f->picTabBox[0], &f->picTabBox[3], &f->txtPluginName,
                                                      &f->lstProgramFiles, &f->cmdGetExecutable, &f->cmdExit,
                                                      &f->cmdCreatePlugin, &f->mnuSettings, &f->mnu_Help_About})
        EXPECT_TRUE(c->Enabled()) << c->Id();
    EXPECT_TRUE(IsWindowEnabled(f->oTabs()->hWnd()));
    EXPECT_EQ(Screen::MousePointer(), kPointerDefault);
    EXPECT_TRUE(f->Loaded());
}

TEST_F(MainWindowTest, ACopyFailureIsReportedAndLeavesTheWindowEnabled)
{
    // A picked file that is gone by the time the plugin is made.
    std::string gone = MakeFile("src\\gone.dll");
    FileData files({gone});
    Drop(f->lstProgramFiles, files);
    fs::remove(fs::path(kw::Widen(gone)));
    Type(f->txtPluginName, "Tool");
    Click(f->cmdCreatePlugin);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].title, "Attention");
    EXPECT_NE(prompt.shown[0].text.find(plugins + "Tool\\files\\"), std::string::npos) << prompt.shown[0].text;
    // and why, in the system's words
    ASSERT_NE(f->oKW().LastCopyError(), 0);
    EXPECT_EQ(prompt.shown[0].text.substr(prompt.shown[0].text.find("\r\n") + 2),
              kw::platform::CopyErrorText(f->oKW().LastCopyError()));
    EXPECT_FALSE(ReadAll(plugins + "Tool\\Tool.inf").empty());
    EXPECT_TRUE(f->txtPluginName.Enabled());
    EXPECT_EQ(Screen::MousePointer(), kPointerDefault);
}
TEST_F(MainWindowTest, RefusedFoldersAreReportedNotIgnored)
{
    // A shortcut name that cannot be a script's file name.
    std::string tool = MakeFile("src\\viewer.exe");
    Type(f->txtPluginName, "Tool");
    FileData data({tool});
    Drop(f->txtExecutable, data);
    f->txtShortcutName.Text("a|b");  // (a device name like CON is fine inside autorun_CON.cmd)
    f->chkIncAutorun.Value(kChecked);
    Click(f->cmdCreatePlugin);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].title, "Attention");
    EXPECT_NE(prompt.shown[0].text.find("valid, distinct file names"), std::string::npos) << prompt.shown[0].text;
    EXPECT_NE(prompt.shown[0].text.find("a|b"), std::string::npos) << prompt.shown[0].text;
    EXPECT_FALSE(fs::exists(fs::path(kw::Widen(plugins + "Tool"))));

    // A plugins folder on a drive that is not there: the system's reason.
    f->txtShortcutName.Text("Viewer");
    f->oKW().PluginLocation("Q:\\nowhere\\");
    prompt.shown.clear();
    Click(f->cmdCreatePlugin);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text.rfind("The plugin folder could not be created.", 0), 0u) << prompt.shown[0].text;
    EXPECT_TRUE(IsWindowEnabled(f->cmdCreatePlugin.hWnd()));
}

TEST_F(MainWindowTest, NamesTheCodePageCannotHoldAndTooLongPathsAreNamed)
{
    // Pasted, so no key filter stands in the way; the code page has no Omega.
    f->txtPluginName.Text("\xCE\xA9mega");
    Click(f->cmdCreatePlugin);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].title, "Attention");
    EXPECT_NE(prompt.shown[0].text.find("code page"), std::string::npos) << prompt.shown[0].text;
    EXPECT_NE(prompt.shown[0].text.find("\xCE\xA9mega"), std::string::npos) << prompt.shown[0].text;
    EXPECT_FALSE(fs::exists(fs::path(kw::Widen(plugins + "\xCE\xA9mega"))));

    // A plugins folder so deep that the plugin's files would not fit a path.
    std::string deep = plugins + std::string(120, 'd') + "\\" + std::string(120, 'e') + "\\";
    f->oKW().PluginLocation(deep);
    f->txtPluginName.Text("Tool");
    prompt.shown.clear();
    Click(f->cmdCreatePlugin);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0].text.find("too long"), std::string::npos) << prompt.shown[0].text;
    EXPECT_NE(prompt.shown[0].text.find(deep + "Tool"), std::string::npos) << prompt.shown[0].text;
    EXPECT_TRUE(IsWindowEnabled(f->cmdCreatePlugin.hWnd()));
}

TEST_F(MainWindowTest, ResetDataEmptiesTheDescriptionButKeepsOptionsAndDestinations)
{
    std::string a = MakeFile("src\\a.dll"), b = MakeFile("src\\viewer.exe");
    Type(f->txtPluginName, "Tool");
    FileData files({a});
    Drop(f->lstProgramFiles, files);
    FileData exe({b});
    Drop(f->txtExecutable, exe);
    f->cboProgramFilesDestination.ListIndex(1);
    f->cboMenuGroup.Text("Tools");
    ShowTab(2);
    f->cmdExit.SetFocus();
    DoEvents();

    prompt.answers = {kw::platform::kIdNo};  // the changes are not saved
    Click(f->cmdReset);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "Save changes to Untitled?");
    EXPECT_EQ(f->txtPluginName.Text(), "");
    EXPECT_EQ(f->txtProgramWebsite.Text(), "http://");
    EXPECT_FALSE(f->cmdCreatePlugin.Enabled());
    EXPECT_TRUE(NoDefaultButton());
    EXPECT_EQ(f->lstProgramFiles.ListCount(), 0);
    EXPECT_EQ(f->oKW().ProgramFileCount(), 0);
    EXPECT_FALSE(f->oKW().IsExecutables());
    EXPECT_EQ(f->oKW().MenuGroup(), "");
    EXPECT_EQ(f->txtExecutable.Text(), "");
    EXPECT_EQ(f->oKW().ProgramFilesDest(), kw::dstSystem32);
    EXPECT_EQ(f->cboProgramFilesDestination.ListIndex(), 1);
    EXPECT_EQ(GetFocus(), f->cmdReset.hWnd());  // not moved to the plugin name
}

TEST_F(MainWindowTest, ExitClosesEveryWindowAndEndsTheLoop)
{
    Click(f->cmdExit);
    EXPECT_TRUE(Form::Forms().empty());
    EXPECT_EQ(RunMessageLoop(), 0);
    EXPECT_EQ(kw::AppFont(), nullptr);
}

TEST_F(MainWindowTest, TheCloseBoxEndsTheProgramAndReleasesTheModel)
{
    PostMessageW(f->hWnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(RunMessageLoop(), 0);
    EXPECT_TRUE(Form::Forms().empty());
    EXPECT_EQ(f->oTabs(), nullptr);
    try {
        f->oKW();
        ADD_FAILURE() << "the model outlived the window";
    } catch (const kw::RuntimeError& e) {
        EXPECT_EQ(e.Number(), 91);
    }
}

}  // namespace
}  // namespace kwtest
