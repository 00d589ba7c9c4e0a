// The Program Files, System Files and Executables pages of the real main window: picks
// through the pickers, shell drops, the up-down and the enabling rules.
#include "MainWindowTestSupport.h"

namespace kwtest {
namespace {

using Names = std::vector<std::string>;

TEST_F(MainWindowTest, ExecutableSlotsThroughTheUpDown)
{
    ShowTab(4);
    std::string viewer = MakeFile("src\\viewer.exe"), tool = MakeFile("src\\tool.setup.exe"),
                other = MakeFile("src\\other.exe");
    FileData one({viewer});
    EXPECT_EQ(Drop(f->txtExecutable, one), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(f->txtExecutable.Text(), "viewer.exe");
    EXPECT_EQ(f->txtShortcutName.Text(), "viewer");
    EXPECT_EQ(f->oKW().ShortcutName(0), "viewer");
    for (Control* c : std::initializer_list<Control*>{&f->chkIncRamdisk, &f->chkIncAutorun, &f->chkIncZel,
                                                      &f->chkIncJuxMenu, &f->chkIncJuxDesktop, &f->chkIncJuxQlaunch})
        EXPECT_TRUE(c->Enabled()) << c->Id();
    Click(f->chkIncRamdisk);
    EXPECT_EQ(f->oKW().IncRamdisk(0), kw::cvChecked);

    // The arrow key moves to slot 1, which is empty; three dropped files: the first counts.
    f->txtExecutableGroup.SetFocus();
    Key(VK_UP);
    EXPECT_EQ(f->txtExecutableGroup.Text(), "1");
    EXPECT_EQ(f->oKW().CurrentExecutable(), 1);
    EXPECT_EQ(f->txtExecutable.Text(), "");
    EXPECT_EQ(f->txtShortcutName.Text(), "");
    EXPECT_EQ(f->chkIncRamdisk.Value(), kUnchecked);
    EXPECT_FALSE(f->chkIncRamdisk.Enabled());
    FileData three({tool, viewer, other});
    Drop(f->txtExecutable, three);
    EXPECT_EQ(f->oKW().Executable(1), tool);
    EXPECT_EQ(f->txtShortcutName.Text(), "tool.setup");

    // Back to slot 0: its values unchanged. A second pick keeps the shortcut name.
    f->txtExecutableGroup.SetFocus();
    Key(VK_DOWN);
    EXPECT_EQ(f->oKW().CurrentExecutable(), 0);
    EXPECT_EQ(f->txtExecutable.Text(), "viewer.exe");
    EXPECT_EQ(f->txtShortcutName.Text(), "viewer");
    EXPECT_EQ(f->chkIncRamdisk.Value(), kChecked);
    FileData again({other});
    Drop(f->txtExecutable, again);
    EXPECT_EQ(f->txtExecutable.Text(), "other.exe");
    EXPECT_EQ(f->oKW().ShortcutName(0), "viewer");

    // The range ends at 9.
    f->txtExecutableGroup.SetFocus();
    for (int i = 0; i < 12; ++i)
        Key(VK_UP);
    EXPECT_EQ(f->txtExecutableGroup.Text(), "9");
    EXPECT_EQ(f->oKW().CurrentExecutable(), 9);
}

TEST_F(MainWindowTest, EnablingRulesOfTheExecutablesPage)
{
    ShowTab(4);
    // No executable: every per-slot and menu control is off.
    for (Control* c : std::initializer_list<Control*>{&f->chkIncRamdisk, &f->chkIncAutorun, &f->chkIncZel,
                                                      &f->chkIncJuxMenu, &f->chkIncJuxDesktop, &f->chkIncJuxQlaunch,
                                                      &f->txtShortcutName, &f->lblShortcutName, &f->cboMenuGroup,
                                                      &f->lblMenuGroup, &f->chkAppendMenuGroup})
        EXPECT_FALSE(c->Enabled()) << c->Id();

    FileData exe({MakeFile("src\\viewer.exe")});
    Drop(f->txtExecutable, exe);
    ASSERT_EQ(f->chkIncZel.Value(), kChecked);  // the preferences' defaults
    ASSERT_EQ(f->chkIncJuxMenu.Value(), kChecked);
    EXPECT_TRUE(f->txtShortcutName.Enabled());
    EXPECT_TRUE(f->cboMenuGroup.Enabled());
    EXPECT_FALSE(f->chkAppendMenuGroup.Enabled());  // no group text yet

    // Typing into the group: file-name characters only; one character enables sub-groups.
    Type(f->cboMenuGroup, "/\\");
    EXPECT_EQ(f->cboMenuGroup.Text(), "");
    EXPECT_FALSE(f->chkAppendMenuGroup.Enabled());
    Type(f->cboMenuGroup, "T");
    EXPECT_EQ(f->oKW().MenuGroup(), "T");
    EXPECT_TRUE(f->chkAppendMenuGroup.Enabled());

    // Both menus off: no shortcut name, no group; the Jux desktop brings the name back.
    Click(f->chkIncZel);
    Click(f->chkIncJuxMenu);
    EXPECT_EQ(f->oKW().IncZelMenu(), kw::cvUnchecked);
    EXPECT_FALSE(f->txtShortcutName.Enabled());
    EXPECT_FALSE(f->cboMenuGroup.Enabled());
    EXPECT_FALSE(f->chkAppendMenuGroup.Enabled());
    Click(f->chkIncJuxQlaunch);
    EXPECT_FALSE(f->txtShortcutName.Enabled());
    Click(f->chkIncJuxDesktop);
    EXPECT_TRUE(f->txtShortcutName.Enabled());
    EXPECT_TRUE(f->lblShortcutName.Enabled());
    EXPECT_FALSE(f->cboMenuGroup.Enabled());
    Click(f->chkIncJuxMenu);
    EXPECT_TRUE(f->cboMenuGroup.Enabled());

    // The ramdisk needs the program files in the plugin's own folder.
    EXPECT_TRUE(f->chkIncRamdisk.Enabled());
    f->cboProgramFilesDestination.ListIndex(1);
    EXPECT_EQ(f->oKW().ProgramFilesDest(), kw::dstSystem32);
    EXPECT_FALSE(f->chkIncRamdisk.Enabled());
    EXPECT_TRUE(f->chkIncAutorun.Enabled());
    f->cboProgramFilesDestination.ListIndex(0);
    EXPECT_TRUE(f->chkIncRamdisk.Enabled());
}

TEST_F(MainWindowTest, ResetCurrentExecutableEmptiesOnlyThatSlotButThePluginsGroup)
{
    ShowTab(4);
    FileData first({MakeFile("src\\first.exe")});
    Drop(f->txtExecutable, first);
    f->txtExecutableGroup.SetFocus();
    for (int i = 0; i < 3; ++i)
        Key(VK_UP);
    ASSERT_EQ(f->oKW().CurrentExecutable(), 3);
    FileData third({MakeFile("src\\third.exe")});
    Drop(f->txtExecutable, third);
    Click(f->chkIncAutorun);
    f->cboMenuGroup.Text("Tools");
    Click(f->chkAppendMenuGroup);
    ASSERT_TRUE(f->oKW().IncSubGroup());

    Click(f->cmdResetExecutable[0]);
    EXPECT_EQ(f->oKW().Executable(3), "");
    EXPECT_EQ(f->oKW().ShortcutName(3), "");
    EXPECT_EQ(f->oKW().IncAutorun(3), kw::cvUnchecked);
    EXPECT_NE(f->oKW().Executable(0), "");
    EXPECT_EQ(f->oKW().MenuGroup(), "");
    EXPECT_FALSE(f->oKW().IncSubGroup());
    EXPECT_EQ(f->oKW().CurrentExecutable(), 3);
    EXPECT_EQ(f->txtExecutableGroup.Text(), "3");
    EXPECT_EQ(f->chkIncZel.Value(), kChecked);
    EXPECT_FALSE(f->chkIncAutorun.Enabled());

    Click(f->cmdResetExecutable[1]);
    EXPECT_FALSE(f->oKW().IsExecutables());
}

TEST_F(MainWindowTest, MenuGroupChosenFromTheListOutlivesTheRefreshOfASlotChange)
{
    // Saved groups reach the list whenever the controls are refreshed.
    const std::wstring ini = kw::Widen(programFolder + "\\Kitwright.ini");
    WritePrivateProfileStringW(L"MenuGroup", L"0", L"Accessories", ini.c_str());
    WritePrivateProfileStringW(L"MenuGroup", L"1", L"Utilities", ini.c_str());
    ShowTab(4);
    FileData exe({MakeFile("src\\viewer.exe")});
    Drop(f->txtExecutable, exe);
    f->txtExecutableGroup.SetFocus();
    Key(VK_UP);
    Key(VK_DOWN);
    ASSERT_EQ(f->cboMenuGroup.ListCount(), 2);

    // Chosen by keyboard: the model gets the entry, not the text the box showed before.
    f->cboMenuGroup.SetFocus();
    DoEvents();
    Key(VK_DOWN);
    EXPECT_EQ(f->oKW().MenuGroup(), "Accessories");
    EXPECT_TRUE(f->chkAppendMenuGroup.Enabled());

    // Refilling the list on the next refresh empties the box but not the plugin's group.
    f->txtExecutableGroup.SetFocus();
    Key(VK_UP);
    EXPECT_EQ(f->oKW().MenuGroup(), "Accessories");
    EXPECT_EQ(f->cboMenuGroup.Text(), "Accessories");
    EXPECT_EQ(f->cboMenuGroup.ListCount(), 2);
}

TEST_F(MainWindowTest, ProgramFilesByDropRemoveAndFolderTree)
{
    ShowTab(2);
    std::string a = MakeFile("src\\a.dll"), b = MakeFile("src\\b.exe"), c = MakeFile("src\\c.txt");
    FileData three({a, b, c});
    EXPECT_EQ(Drop(f->lstProgramFiles, three), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(Items(f->lstProgramFiles), (Names{"a.dll", "b.exe", "c.txt"}));
    ASSERT_EQ(f->oKW().ProgramFileCount(), 3);
    EXPECT_EQ(f->oKW().ProgramFileAll(2), b);

    // Text without files: refused, nothing changes.
    FileData text({}, false);
    EXPECT_EQ(Drop(f->lstProgramFiles, text), static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(f->oKW().ProgramFileCount(), 3);

    f->lstProgramFiles.Selected(0, true);
    f->lstProgramFiles.Selected(2, true);
    Click(f->cmdRemoveProgramFile);
    EXPECT_EQ(Items(f->lstProgramFiles), Names{"b.exe"});
    ASSERT_EQ(f->oKW().ProgramFileCount(), 1);
    EXPECT_EQ(f->oKW().ProgramFileName(1), "b.exe");

    // A new drop replaces the list.
    FileData one({c});
    Drop(f->lstProgramFiles, one);
    EXPECT_EQ(Items(f->lstProgramFiles), Names{"c.txt"});

    // The list it would empty is named first: No keeps it, Yes switches.
    f->cboProgramFilesDestination.ListIndex(1);
    prompt.shown.clear();
    prompt.answers = {kw::platform::kIdNo};
    Click(f->optCopyOption[1]);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0].text.find("(1 file)"), std::string::npos) << prompt.shown[0].text;
    EXPECT_EQ(prompt.shown[0].style & 0xF0Fu, kw::platform::kMbYesNo | MB_DEFBUTTON2);
    EXPECT_EQ(f->oKW().CopyOption(), kw::coIndividualFiles);
    EXPECT_TRUE(f->optCopyOption[0].Value());
    EXPECT_FALSE(f->optCopyOption[1].Value());
    EXPECT_EQ(Items(f->lstProgramFiles), Names{"c.txt"});
    prompt.answers = {kw::platform::kIdYes};
    Click(f->optCopyOption[1]);
    EXPECT_EQ(f->oKW().CopyOption(), kw::coFolderTree);
    EXPECT_EQ(f->lstProgramFiles.ListCount(), 0);
    EXPECT_EQ(f->oKW().ProgramFileCount(), 0);
    EXPECT_EQ(f->cboProgramFilesDestination.ListIndex(), 0);
    EXPECT_EQ(f->oKW().ProgramFilesDest(), kw::dstPrograms);
    EXPECT_FALSE(f->cboProgramFilesDestination.Enabled());
    EXPECT_FALSE(f->lblProgramFilesDestination.Enabled());
    EXPECT_EQ(f->cmdGetProgramFiles.Caption(), "Select Program Folder... ");
    EXPECT_EQ(Drop(f->lstProgramFiles, three), static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(f->oKW().ProgramFileCount(), 0);

    Click(f->optCopyOption[0]);
    EXPECT_EQ(f->oKW().CopyOption(), kw::coIndividualFiles);
    EXPECT_TRUE(f->cboProgramFilesDestination.Enabled());
    EXPECT_EQ(f->cmdGetProgramFiles.Caption(), "Select Program Files...");
}

TEST_F(MainWindowTest, PickersBringFilesFoldersAndExecutables)
{
    ShowTab(2);
    std::string src = root + "\\src";
    MakeFile("src\\a.dll");
    MakeFile("src\\b.exe");
    MakeFile("src\\c.txt");
    {
        PickerScript s;
        s.fileTexts = {kw::Widen(src), L"\"a.dll\" \"b.exe\" \"c.txt\""};
        PickerDriver d(s);
        Click(f->cmdGetProgramFiles);
        EXPECT_EQ(s.title, L"Select Program Files");
        EXPECT_EQ(s.filterCount, 1);
    }
    EXPECT_EQ(Items(f->lstProgramFiles), (Names{"a.dll", "b.exe", "c.txt"}));
    ASSERT_EQ(f->oKW().ProgramFileCount(), 3);
    EXPECT_EQ(f->oKW().ProgramFileAll(1), src + "\\a.dll");
    {
        // One file: its full path as the dialog gave it; a cancel changes nothing after it.
        PickerScript s;
        s.fileTexts = {kw::Widen(src + "\\b.exe")};
        PickerDriver d(s);
        Click(f->cmdGetProgramFiles);
    }
    EXPECT_EQ(Items(f->lstProgramFiles), Names{"b.exe"});
    EXPECT_EQ(f->oKW().ProgramFileAll(1), src + "\\b.exe");
    {
        PickerScript s;
        s.cancel = true;
        PickerDriver d(s);
        Click(f->cmdGetProgramFiles);
        EXPECT_NE(s.dialog, nullptr);
    }
    EXPECT_EQ(f->oKW().ProgramFileCount(), 1);

    // The executable picker opens on the program files' folder with "Executables" chosen.
    ShowTab(4);
    {
        PickerScript s;
        s.fileTexts = {L"b.exe"};
        PickerDriver d(s);
        Click(f->cmdGetExecutable);
        EXPECT_EQ(s.title, L"Select Executable");
        EXPECT_EQ(s.filterCount, 2);
        EXPECT_EQ(s.filterSel, 1);
    }
    EXPECT_EQ(f->oKW().Executable(0), src + "\\b.exe");
    EXPECT_EQ(f->txtShortcutName.Text(), "b");

    // Folder tree: the list shows the folder; removing the line removes the folder.
    ShowTab(2);
    prompt.answers = {kw::platform::kIdYes};
    Click(f->optCopyOption[1]);
    {
        PickerScript s;
        s.folder = kw::Widen(src);
        s.treeName = DisplayName(src);
        PickerDriver d(s);
        Click(f->cmdGetProgramFiles);
        EXPECT_EQ(s.title.empty(), false);
    }
    EXPECT_EQ(f->oKW().ProgramFolder(), src + "\\*.*");
    ASSERT_EQ(f->lstProgramFiles.ListCount(), 1);
    EXPECT_EQ(f->lstProgramFiles.List(0), kw::CompactPath(src + "\\", f->lstProgramFiles, *f));
    f->lstProgramFiles.Selected(0, true);
    Click(f->cmdRemoveProgramFile);
    EXPECT_EQ(f->lstProgramFiles.ListCount(), 0);
    EXPECT_EQ(f->oKW().ProgramFolder(), "");
}

TEST_F(MainWindowTest, SystemFilesMustComeFromTheChosenDestination)
{
    ShowTab(3);
    std::string sys1 = MakeFile("win\\system32\\one.dll"), sys2 = MakeFile("win\\system32\\two.cpl");
    std::string stray = MakeFile("src\\stray.dll");
    FileData good({sys1, sys2});
    EXPECT_EQ(Drop(f->lstSystemFiles, good), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(Items(f->lstSystemFiles), (Names{"one.dll", "two.cpl"}));
    EXPECT_TRUE(prompt.shown.empty());

    // A drop whose first file lies elsewhere is refused whole, with one warning.
    FileData bad({stray, sys1});
    EXPECT_EQ(Drop(f->lstSystemFiles, bad), static_cast<DWORD>(DROPEFFECT_NONE));
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].title, "Attention");
    EXPECT_EQ(Items(f->lstSystemFiles), (Names{"one.dll", "two.cpl"}));

    // Another destination keeps what is listed.
    f->cboSystemFilesDestination.ListIndex(0);
    EXPECT_EQ(f->oKW().SystemFilesDest(), kw::dstWindows);
    EXPECT_EQ(f->oKW().SystemFileCount(), 2);

    f->lstSystemFiles.Selected(1, true);
    Click(f->cmdRemoveSystemFile);
    EXPECT_EQ(Items(f->lstSystemFiles), Names{"one.dll"});
    Click(f->cmdResetSystemFiles);
    EXPECT_EQ(f->lstSystemFiles.ListCount(), 0);
    EXPECT_EQ(f->oKW().SystemFileCount(), 0);
}

TEST_F(MainWindowTest, ASelectionTooBigForThePickerIsReportedAndKeepsTheList)
{
    // Long names, so three hundred overflow the program picker's 32768 characters and
    // seventy the system picker's 8192.
    std::wstring all, some;
    for (int i = 0; i < 300; ++i) {
        std::string name = std::string(120, static_cast<char>('a' + i % 26)) + std::to_string(1000 + i) + ".dll";
        MakeFile("win\\system32\\" + name);
        all += L"\"" + kw::Widen(name) + L"\" ";
        if (i < 70)
            some += L"\"" + kw::Widen(name) + L"\" ";
    }
    std::string kept = MakeFile("win\\system32\\kept.dll");
    FileData keep({kept});
    Drop(f->lstProgramFiles, keep);
    Drop(f->lstSystemFiles, keep);

    ShowTab(2);
    {
        PickerScript s;
        s.fileTexts = {kw::Widen(systemFolder), all};
        PickerDriver d(s);
        Click(f->cmdGetProgramFiles);
        EXPECT_NE(s.dialog, nullptr);
    }
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].title, "Attention");
    EXPECT_NE(prompt.shown[0].text.find("Too many files were chosen at once"), std::string::npos);
    EXPECT_EQ(prompt.shown[0].style, kw::platform::kMbOk | kw::platform::kMbIconWarning);
    EXPECT_EQ(Items(f->lstProgramFiles), Names{"kept.dll"});
    EXPECT_EQ(f->oKW().ProgramFileCount(), 1);

    ShowTab(3);
    {
        PickerScript s;
        s.fileTexts = {kw::Widen(systemFolder), some};
        PickerDriver d(s);
        Click(f->cmdGetSystemFiles);
    }
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_NE(prompt.shown[1].text.find("Too many files were chosen at once"), std::string::npos);
    EXPECT_EQ(Items(f->lstSystemFiles), Names{"kept.dll"});

    // A cancel is no failure: nothing is said.
    {
        PickerScript s;
        s.cancel = true;
        PickerDriver d(s);
        Click(f->cmdGetSystemFiles);
    }
    EXPECT_EQ(prompt.shown.size(), 2u);
    EXPECT_EQ(f->oKW().SystemFileCount(), 1);
}

}  // namespace
}  // namespace kwtest
