// Faults that lost or hid what the user entered: a stray Enter, a close while the plugin is
// made, a folder that stayed in the plugin after its line was removed, refused picks and
// drops. Driven through the real window under Wine.
#include "MainWindowTestSupport.h"

namespace kwtest {
namespace {

using Names = std::vector<std::string>;

// The controls of a page that take the focus and leave Enter to the dialog manager: all
// but push buttons (Enter presses a focused button, as anywhere) and boxes that take
// Enter as a new line.
std::vector<HWND> EnterTargets(HWND page)
{
    std::vector<HWND> out;
    for (HWND h = GetWindow(page, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        if (!IsWindowVisible(h) || !IsWindowEnabled(h))
            continue;
        const LONG style = GetWindowLongW(h, GWL_STYLE);
        const std::wstring cls = kwscript::ClassOf(h);
        if (cls == L"Edit" && !(style & ES_WANTRETURN))
            out.push_back(h);
        else if (cls == L"ListBox" || cls == L"ComboBox")
            out.push_back(h);
        else if (cls == L"Button") {
            const LONG type = style & BS_TYPEMASK;
            if (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON && type != BS_GROUPBOX)
                out.push_back(h);
        }
    }
    return out;
}

TEST_F(MainWindowTest, EnterWithoutAPluginNameDoesNothingOnAnyPage)
{
    EXPECT_TRUE(NoDefaultButton());
    Type(f->txtProgramName, "Hex Tools");
    Type(f->txtDescription, "Edits bytes");
    std::string dll = MakeFile("src\\hex.dll"), exe = MakeFile("src\\hexed.exe"),
                sys = MakeFile("win\\system32\\extra.dll");
    FileData program({dll}), system({sys}), executable({exe});
    Drop(f->lstProgramFiles, program);
    Drop(f->lstSystemFiles, system);
    Drop(f->txtExecutable, executable);
    ASSERT_EQ(f->oKW().PluginName(), "");

    int pressed = 0;
    for (int tab = 1; tab <= 4; ++tab) {
        ShowTab(tab);
        std::vector<HWND> targets = EnterTargets(f->picTabBox[static_cast<size_t>(tab - 1)].hWnd());
        targets.push_back(f->oTabs()->hWnd());
        for (HWND target : targets) {
            SetFocus(target);
            DoEvents();
            Key(VK_RETURN);
            ++pressed;
            ASSERT_TRUE(f->Loaded()) << "Enter closed the window (page " << tab << ", control " << GetDlgCtrlID(target)
                                     << ")";
            ASSERT_EQ(Form::Forms().size(), 1u);
        }
    }
    EXPECT_GE(pressed, 20);
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(f->oKW().ProgramName(), "Hex Tools");
    EXPECT_EQ(f->oKW().Description(), "Edits bytes");
    EXPECT_EQ(f->oKW().ProgramFileCount(), 1);
    EXPECT_EQ(f->oKW().SystemFileCount(), 1);
    EXPECT_EQ(f->oKW().Executable(0), exe);
    EXPECT_TRUE(NoDefaultButton());

    // With a name Enter makes the plugin; emptying the name again takes that back.
    Type(f->txtPluginName, "Hex");
    EXPECT_EQ(DefaultId(), IDC_CMD_CREATE_PLUGIN);
    Type(f->txtPluginName, "\b\b\b");
    EXPECT_TRUE(NoDefaultButton());
    f->txtShortcutName.SetFocus();
    Key(VK_RETURN);
    EXPECT_TRUE(f->Loaded());
    EXPECT_FALSE(fs::exists(fs::path(kw::Widen(plugins + "Hex"))));
}

// Create runs message loops of its own (the shell's copy on Windows, the completion
// message): a close box or Alt+F4 (SC_CLOSE) or a WM_CLOSE that comes in then is refused,
// the plugin is finished and the folder can still be opened.
TEST_F(MainWindowTest, ClosingWhileCreateRunsIsRefusedAndThePluginCompletes)
{
    Type(f->txtPluginName, "Tool");
    prompt.answers = {kw::platform::kIdOk};
    prompt.onShow = [&] {
        PostMessageW(f->hWnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
        PostMessageW(f->hWnd(), WM_CLOSE, 0, 0);
        DoEvents();
    };
    Click(f->cmdCreatePlugin);
    prompt.onShow = nullptr;
    ASSERT_TRUE(f->Loaded());
    ASSERT_EQ(prompt.shown.size(), 1u) << prompt.shown.back().text;
    EXPECT_EQ(opened, (std::vector<std::string>{"explore " + plugins + "Tool"}));
    EXPECT_EQ(f->oKW().PluginName(), "Tool");
    EXPECT_FALSE(ReadAll(plugins + "Tool\\Tool.htm").empty());
    EXPECT_TRUE(f->cmdCreatePlugin.Enabled());
    EXPECT_TRUE(f->mnuSettings.Enabled());
    // Once the plugin is made, closing works as before (the typed name is not kept).
    prompt.answers = {kw::platform::kIdNo};
    PostMessageW(f->hWnd(), WM_CLOSE, 0, 0);
    DoEvents();
    EXPECT_FALSE(f->Loaded());
}

TEST_F(MainWindowTest, RemovingTheFolderLineTakesTheFolderOutOfThePlugin)
{
    MakeFile("tree\\app.exe", "MZ");
    MakeFile("tree\\data\\table.bin", "T");
    ShowTab(2);
    Click(f->optCopyOption[1]);
    {
        PickerScript s;
        s.folder = kw::Widen(root + "\\tree");
        s.treeName = DisplayName(root + "\\tree");
        PickerDriver d(s);
        Click(f->cmdGetProgramFiles);
    }
    ASSERT_EQ(f->oKW().ProgramFolder(), root + "\\tree\\*.*");
    ASSERT_EQ(f->lstProgramFiles.ListCount(), 1);

    // Nothing selected: nothing removed.
    Click(f->cmdRemoveProgramFile);
    EXPECT_EQ(f->oKW().ProgramFolder(), root + "\\tree\\*.*");
    f->lstProgramFiles.Selected(0, true);
    Click(f->cmdRemoveProgramFile);
    EXPECT_EQ(f->lstProgramFiles.ListCount(), 0);
    EXPECT_EQ(f->oKW().ProgramFolder(), "");

    // The plugin made now carries none of the tree.
    f->oKW().IncPopupDone(kw::cvUnchecked);
    Type(f->txtPluginName, "Empty");
    Click(f->cmdCreatePlugin);
    EXPECT_TRUE(prompt.shown.empty());
    ASSERT_TRUE(fs::exists(fs::path(kw::Widen(plugins + "Empty\\Empty.inf"))));
    EXPECT_TRUE(fs::is_empty(fs::path(kw::Widen(plugins + "Empty\\files"))));
    EXPECT_EQ(ReadAll(plugins + "Empty\\Empty.inf").find("app.exe"), std::string::npos);
}

TEST_F(MainWindowTest, ASystemFilePickFromAnotherFolderIsRefusedWholeWithOneWarning)
{
    ShowTab(3);
    std::string one = MakeFile("win\\system32\\one.dll"), two = MakeFile("win\\system32\\two.cpl");
    MakeFile("src\\a.dll");
    MakeFile("src\\b.dll");
    MakeFile("src\\c.cpl");
    FileData good({one, two});
    Drop(f->lstSystemFiles, good);
    ASSERT_EQ(Items(f->lstSystemFiles), (Names{"one.dll", "two.cpl"}));
    {
        PickerScript s;
        s.fileTexts = {kw::Widen(root + "\\src"), L"\"a.dll\" \"b.dll\" \"c.cpl\""};
        PickerDriver d(s);
        Click(f->cmdGetSystemFiles);
        EXPECT_EQ(s.title, L"Select System Files");
    }
    ASSERT_EQ(prompt.shown.size(), 1u);
    const ShownMessage& m = prompt.shown[0];
    EXPECT_EQ(m.title, "Attention");
    EXPECT_EQ(m.style, kw::platform::kMbOk | kw::platform::kMbIconWarning);
    EXPECT_EQ(m.text, "The file location must match the selected destination (" + systemFolder +
                          "\\); the list was left as it was.\r\nNot added:\r\na.dll\r\nb.dll\r\nc.cpl");
    EXPECT_EQ(Items(f->lstSystemFiles), (Names{"one.dll", "two.cpl"}));
    EXPECT_EQ(f->oKW().SystemFileCount(), 2);

    // A drop is checked file by file the same way: one warning, nothing changed.
    FileData mixed({one, root + "\\src\\b.dll"});
    EXPECT_EQ(Drop(f->lstSystemFiles, mixed), static_cast<DWORD>(DROPEFFECT_NONE));
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_NE(prompt.shown[1].text.find("Not added:\r\nb.dll"), std::string::npos) << prompt.shown[1].text;
    EXPECT_EQ(prompt.shown[1].text.find("one.dll"), std::string::npos) << prompt.shown[1].text;
    EXPECT_EQ(f->oKW().SystemFileCount(), 2);

    // A pick from the destination's own folder replaces the list, with no message.
    MakeFile("win\\system32\\three.dll");
    {
        PickerScript s;
        s.fileTexts = {kw::Widen(systemFolder), L"three.dll"};
        PickerDriver d(s);
        Click(f->cmdGetSystemFiles);
    }
    EXPECT_EQ(Items(f->lstSystemFiles), Names{"three.dll"});
    EXPECT_EQ(prompt.shown.size(), 2u);
}

TEST_F(MainWindowTest, AFolderIsNeverTakenForAFile)
{
    std::string a = MakeFile("src\\a.dll"), exe = MakeFile("src\\viewer.exe");
    std::string sub = root + "\\src\\sub";
    MakeFile("src\\sub\\inner.dll");
    std::string drivers = systemFolder + "\\drivers";
    MakeFile("win\\system32\\drivers\\disk.sys");
    std::string one = MakeFile("win\\system32\\one.dll");

    // Program files, dropped: refused whole, the list as it was.
    ShowTab(2);
    FileData first({a});
    Drop(f->lstProgramFiles, first);
    FileData withFolder({exe, sub});
    EXPECT_EQ(Drop(f->lstProgramFiles, withFolder), static_cast<DWORD>(DROPEFFECT_NONE));
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].title, "Attention");
    EXPECT_EQ(prompt.shown[0].style, kw::platform::kMbOk | kw::platform::kMbIconWarning);
    EXPECT_EQ(prompt.shown[0].text, "A folder cannot be selected as a file:\r\n" + sub +
                                        "\r\nUse \"Copy Folder Tree\" to copy a whole folder.");
    EXPECT_EQ(Items(f->lstProgramFiles), Names{"a.dll"});
    ASSERT_EQ(f->oKW().ProgramFileCount(), 1);
    EXPECT_EQ(f->oKW().ProgramFileAll(1), a);

    // Program files, picked: the dialog hands a quoted folder name back as a file.
    {
        PickerScript s;
        s.fileTexts = {kw::Widen(root + "\\src"), L"\"viewer.exe\" \"sub\""};
        PickerDriver d(s);
        Click(f->cmdGetProgramFiles);
    }
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_NE(prompt.shown[1].text.find(sub), std::string::npos) << prompt.shown[1].text;
    EXPECT_EQ(Items(f->lstProgramFiles), Names{"a.dll"});

    // System files: a folder in the right place is still no file.
    ShowTab(3);
    FileData system({one});
    Drop(f->lstSystemFiles, system);
    FileData folder({drivers});
    EXPECT_EQ(Drop(f->lstSystemFiles, folder), static_cast<DWORD>(DROPEFFECT_NONE));
    ASSERT_EQ(prompt.shown.size(), 3u);
    EXPECT_EQ(prompt.shown[2].text, "A folder cannot be selected as a file:\r\n" + drivers);
    EXPECT_EQ(Items(f->lstSystemFiles), Names{"one.dll"});

    // The executable: the slot keeps what it had.
    ShowTab(4);
    FileData program({exe});
    Drop(f->txtExecutable, program);
    FileData folderExe({sub, exe});
    EXPECT_EQ(Drop(f->txtExecutable, folderExe), static_cast<DWORD>(DROPEFFECT_NONE));
    ASSERT_EQ(prompt.shown.size(), 4u);
    EXPECT_EQ(prompt.shown[3].text, "A folder cannot be selected as a file:\r\n" + sub);
    EXPECT_EQ(f->oKW().Executable(0), exe);
    EXPECT_EQ(f->txtExecutable.Text(), "viewer.exe");
}

}  // namespace
}  // namespace kwtest
