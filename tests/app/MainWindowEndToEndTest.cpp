// A plugin made through the real main window, as a user makes it: typed text, clicks, the
// file pickers, the up-down; the whole plugin folder compared with hand-written files.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "WindowScript.h"
#include "app/frmMain.h"
#include "app/modMain.h"
#include "platform/Platform.h"
#include "platform/WinText.h"

namespace fs = std::filesystem;
using kwscript::Click;
using kwscript::Pump;
using kwscript::Type;
using kwscript::TypeOver;

namespace {

fs::path DataDir()
{
    std::string dir = KW_WINDOW_DATA;
    if (dir.starts_with('/'))
        dir = "Z:" + dir;
    return fs::path(kw::Widen(dir));
}

std::string ReadBytes(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteBytes(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }

// Every file below a folder by its relative name, with its bytes.
std::map<std::wstring, std::string> FilesBelow(const fs::path& folder)
{
    std::map<std::wstring, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (e.is_regular_file())
            files[e.path().lexically_relative(folder).generic_wstring()] = ReadBytes(e.path());
    return files;
}

// Byte equality, reported as the first differing line.
void ExpectSameBytes(const std::string& expected, const std::string& actual, const std::wstring& name)
{
    if (expected == actual)
        return;
    std::istringstream e(expected), a(actual);
    std::string le, la;
    for (int line = 1;; ++line) {
        const bool me = bool(std::getline(e, le)), ma = bool(std::getline(a, la));
        if (!me && !ma)
            break;
        if (me != ma || le != la) {
            ADD_FAILURE() << kw::Narrow(name) << ": first difference at line " << line
                          << "\n expected: " << (me ? ::testing::PrintToString(le) : "<end of file>")
                          << "\n   actual: " << (ma ? ::testing::PrintToString(la) : "<end of file>");
            return;
        }
    }
    ADD_FAILURE() << kw::Narrow(name) << ": same lines, different bytes";
}

bool IsHourglass()
{
    return GetCursor() == LoadCursorW(nullptr, IDC_WAIT) ||
           kw::forms::Screen::MousePointer() == kw::forms::kPointerHourglass;
}

class MainWindowEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH]{}, longTemp[MAX_PATH]{};
        GetTempPathW(MAX_PATH, temp);
        GetLongPathNameW(temp, longTemp, MAX_PATH);
        base_ = fs::path(longTemp) / (L"kw-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                      kw::Widen(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(base_);
        for (const wchar_t* dir : {L"prog", L"src", L"other", L"plugins"})
            fs::create_directories(base_ / dir);
        // Program files with contents of their own, so a mixed-up copy shows.
        WriteBytes(base_ / "src" / "hexed.exe", "MZ hex editor\r\n");
        WriteBytes(base_ / "src" / "hexed.dll", std::string("library\0bytes\xff", 14));
        WriteBytes(base_ / "src" / "readme.txt", "Read me first.\r\n");
        WriteBytes(base_ / "other" / "hexview.exe", "MZ hex viewer\n");

        // The preferences of a user who has set the program up.
        kw::platform::SetProgramFolderForTesting(kw::Narrow((base_ / "prog").wstring()));
        Ini(L"Preferences", L"PluginPath", (base_ / "plugins").wstring());
        for (const wchar_t* key : {L"IncAuthor", L"IncZelMenu", L"IncJuxMenu", L"IncPopupDone"})
            Ini(L"Preferences", key, L"1");
        Ini(L"MenuGroup", L"0", L"Accessories");
        Ini(L"Personal", L"Name", L"Ann Author");
        Ini(L"Personal", L"Contact", L"ann@example.org");
        Ini(L"Personal", L"Comment", L"Tested with Carrow 3");

        oldPrompt_ = kw::platform::SetPrompt(&prompt_);
        kw::RegisterMainForm();
        kw::Main();
        main_ = dynamic_cast<kw::frmMain*>(kw::MainForm());
        ASSERT_NE(main_, nullptr);
        SetForegroundWindow(main_->hWnd());
        Pump(100);
    }

    void TearDown() override
    {
        kw::UnloadAllForms();
        Pump(50);
        kw::platform::SetPrompt(oldPrompt_);
        kw::platform::SetProgramFolderForTesting("");
        std::error_code ec;
        for (const auto& e : fs::recursive_directory_iterator(base_, ec))
            SetFileAttributesW(e.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        SetFileAttributesW(base_.c_str(), FILE_ATTRIBUTE_NORMAL);
        fs::remove_all(base_, ec);
    }

    void Ini(const wchar_t* section, const wchar_t* key, const std::wstring& value)
    {
        const std::wstring ini = (base_ / "prog" / "Kitwright.ini").wstring();
        WritePrivateProfileStringW(section, key, value.c_str(), ini.c_str());
    }

    // Presses a button whose handler opens a picker, answering the picker with the script.
    void PickWith(kw::forms::Control& button, kwscript::PickerScript& script)
    {
        kwscript::PickerDriver driver(script);
        Click(button.hWnd());
        EXPECT_NE(script.dialog, nullptr) << "no picker opened";
    }

    void ShowPage(int index)
    {
        kwscript::ClickTab(kwscript::FindChildOfClass(main_->hWnd(), L"SysTabControl32"), index);
        Pump(50);
    }

    std::wstring Text(kw::forms::Control& c) { return kwscript::TextOf(c.hWnd()); }

    // The whole plugin as a user enters it, page by page.
    void EnterHexTools()
    {
        kw::frmMain& m = *main_;
        Type(m.txtPluginName.hWnd(), L"HexTools");
        EXPECT_EQ(Text(m.txtProgramName), L"HexTools");
        TypeOver(m.txtProgramName.hWnd(), L"Hex Tools & Co");
        TypeOver(m.txtProgramWebsite.hWnd(), L"http://hex.example/tools");
        Type(m.txtDescription.hWnd(), L"Views & edits binary files.");
        EXPECT_EQ(SendMessageW(m.chkIncAuthor.hWnd(), BM_GETCHECK, 0, 0), BST_CHECKED);

        ShowPage(1);
        kwscript::PickerScript files;
        files.fileTexts = {(base_ / "src").wstring(), L"\"hexed.exe\" \"hexed.dll\" \"readme.txt\""};
        PickWith(m.cmdGetProgramFiles, files);
        EXPECT_EQ(files.title, L"Select Program Files");
        EXPECT_EQ(SendMessageW(m.lstProgramFiles.hWnd(), LB_GETCOUNT, 0, 0), 3);

        ShowPage(2);
        kwscript::PickerScript system;
        system.fileTexts = {L"C:\\windows\\system32\\msvcrt.dll"};
        PickWith(m.cmdGetSystemFiles, system);
        EXPECT_EQ(SendMessageW(m.lstSystemFiles.hWnd(), LB_GETCOUNT, 0, 0), 1);

        ShowPage(3);
        kwscript::PickerScript editor;
        editor.fileTexts = {(base_ / "src" / "hexed.exe").wstring()};
        PickWith(m.cmdGetExecutable, editor);
        EXPECT_EQ(editor.title, L"Select Executable");
        EXPECT_EQ(Text(m.txtExecutable), L"hexed.exe");
        EXPECT_EQ(Text(m.txtShortcutName), L"hexed");
        TypeOver(m.txtShortcutName.hWnd(), L"Hex Editor");
        Click(m.chkIncRamdisk.hWnd());
        Click(m.chkIncAutorun.hWnd());
        Click(m.chkIncJuxDesktop.hWnd());
        Type(m.cboMenuGroup.hWnd(), L"Tools");
        Click(m.chkAppendMenuGroup.hWnd());

        // The second executable lives elsewhere: the plugin takes it in at creation.
        kwscript::ClickUpDown(kwscript::FindChildOfClass(m.picTabBox[3].hWnd(), L"msctls_updown32"), true);
        EXPECT_EQ(Text(m.txtExecutableGroup), L"1");
        EXPECT_EQ(Text(m.txtExecutable), L"");
        kwscript::PickerScript viewer;
        viewer.fileTexts = {(base_ / "other" / "hexview.exe").wstring()};
        PickWith(m.cmdGetExecutable, viewer);
        EXPECT_EQ(Text(m.txtShortcutName), L"hexview");
        Click(m.chkIncJuxQlaunch.hWnd());
        EXPECT_EQ(Text(m.cboMenuGroup), L"Tools");  // one group for the whole plugin
    }

    void ExpectWindowUsable()
    {
        EXPECT_TRUE(IsWindowEnabled(main_->hWnd()));
        for (kw::forms::Control* c : {static_cast<kw::forms::Control*>(&main_->cmdCreatePlugin),
                                      static_cast<kw::forms::Control*>(&main_->txtPluginName),
                                      static_cast<kw::forms::Control*>(&main_->picTabBox[0])})
            EXPECT_TRUE(IsWindowEnabled(c->hWnd())) << c->Id();
        EXPECT_FALSE(IsHourglass());
    }

    fs::path base_;
    kwscript::RecordingPrompt prompt_;
    kw::platform::iPrompt* oldPrompt_ = nullptr;
    kw::frmMain* main_ = nullptr;
};

TEST_F(MainWindowEndToEnd, PluginMatchesTheExpectedFolderAndASecondPressIsRefused)
{
    EnterHexTools();
    prompt_.answer = kw::platform::kIdCancel;  // do not open the folder
    Click(main_->cmdCreatePlugin.hWnd());
    Pump(100);

    ASSERT_EQ(prompt_.shown.size(), 1u);
    EXPECT_EQ(prompt_.shown[0].text, "Plugin has been created.\r\nExplore the Plugin Folder?");
    ExpectWindowUsable();
    EXPECT_EQ(Text(main_->txtPluginName), L"HexTools");  // the entered data stays

    // Every generated file byte for byte; the copies equal their sources; nothing else.
    const fs::path plugin = base_ / "plugins" / "HexTools";
    std::map<std::wstring, std::string> expected = FilesBelow(DataDir() / "HexTools");
    expected[L"files/hexed.exe"] = ReadBytes(base_ / "src" / "hexed.exe");
    expected[L"files/hexed.dll"] = ReadBytes(base_ / "src" / "hexed.dll");
    expected[L"files/readme.txt"] = ReadBytes(base_ / "src" / "readme.txt");
    expected[L"files/hexview.exe"] = ReadBytes(base_ / "other" / "hexview.exe");
    ASSERT_EQ(expected.size(), 9u);
    const std::map<std::wstring, std::string> actual = FilesBelow(plugin);
    for (const auto& [name, bytes] : expected) {
        auto it = actual.find(name);
        if (it == actual.end())
            ADD_FAILURE() << "missing: " << kw::Narrow(name);
        else
            ExpectSameBytes(bytes, it->second, name);
    }
    for (const auto& [name, bytes] : actual)
        EXPECT_TRUE(expected.count(name)) << "unexpected file: " << kw::Narrow(name);

    // The same name again: asked whether to replace it; No leaves it as it was.
    WriteBytes(plugin / "HexTools.htm", "changed by the user");
    prompt_.shown.clear();
    prompt_.answers = {kw::platform::kIdNo};
    Click(main_->cmdCreatePlugin.hWnd());
    ASSERT_EQ(prompt_.shown.size(), 1u);
    EXPECT_TRUE(prompt_.shown[0].text.starts_with("The chosen plugin folder already exists")) << prompt_.shown[0].text;
    EXPECT_EQ(prompt_.shown[0].style & 0xF0u, kw::platform::kMbIconWarning);
    EXPECT_EQ(ReadBytes(plugin / "HexTools.htm"), "changed by the user");
    ExpectWindowUsable();
}

// Where the program may not write, the user is told, nothing is left disabled, and the
// window works on. (Wine ignores the read-only mark on folders, and root writes anywhere:
// a locked plugins folder is the platform's test hook; the read-only file is real.)
TEST_F(MainWindowEndToEnd, ReadOnlyPluginFileAndUnusablePluginsFolderAreReported)
{
    const fs::path locked = base_ / "plugins" / "Locked";
    fs::create_directories(locked);
    WriteBytes(locked / "Locked.inf", "kept");
    SetFileAttributesW((locked / "Locked.inf").c_str(), FILE_ATTRIBUTE_READONLY);

    Type(main_->txtPluginName.hWnd(), L"Locked");
    Click(main_->cmdCreatePlugin.hWnd());
    Pump(100);
    ASSERT_EQ(prompt_.shown.size(), 1u);
    EXPECT_EQ(prompt_.shown[0].title, "Attention");
    EXPECT_NE(prompt_.shown[0].text.find("Locked.inf"), std::string::npos) << prompt_.shown[0].text;
    EXPECT_EQ(ReadBytes(locked / "Locked.inf"), "kept");
    ExpectWindowUsable();

    // A plugins folder that takes no new folders.
    kw::platform::SetFolderRefusesNewFilesForTesting(kw::Narrow((base_ / "plugins").wstring()));
    TypeOver(main_->txtPluginName.hWnd(), L"Denied");
    prompt_.shown.clear();
    Click(main_->cmdCreatePlugin.hWnd());
    kw::platform::SetFolderRefusesNewFilesForTesting({});
    ASSERT_EQ(prompt_.shown.size(), 1u);
    EXPECT_EQ(prompt_.shown[0].title, "Attention");
    EXPECT_EQ(prompt_.shown[0].text, "The plugin folder could not be created.\r\n" + kw::platform::ErrorText(5));
    EXPECT_FALSE(fs::exists(base_ / "plugins" / "Denied"));
    ExpectWindowUsable();

    // A plugins folder that cannot be made at all (a file holds its place).
    WriteBytes(base_ / "blocked", "a file, not a folder");
    main_->oKW().PluginLocation(kw::Narrow((base_ / "blocked").wstring()));
    TypeOver(main_->txtPluginName.hWnd(), L"Blocked");
    prompt_.shown.clear();
    Click(main_->cmdCreatePlugin.hWnd());
    ASSERT_EQ(prompt_.shown.size(), 1u);
    EXPECT_EQ(prompt_.shown[0].title, "Attention");
    EXPECT_FALSE(fs::exists(base_ / "blocked" / "Blocked"));
    ExpectWindowUsable();

    // A usable folder picked from the menu: the window makes plugins again.
    fs::create_directories(base_ / "usable");
    kwscript::PickerScript folder;
    folder.folder = (base_ / "usable").wstring();
    SHFILEINFOW info{};
    SHGetFileInfoW(folder.folder.c_str(), 0, &info, sizeof(info), SHGFI_DISPLAYNAME);
    folder.treeName = info.szDisplayName;
    {
        kwscript::PickerDriver driver(folder);
        SendMessageW(main_->hWnd(), WM_COMMAND, MAKEWPARAM(IDM_SETTINGS_LOCATION, 0), 0);
        Pump(50);
    }
    EXPECT_NE(folder.dialog, nullptr);
    TypeOver(main_->txtPluginName.hWnd(), L"Usable");
    prompt_.shown.clear();
    prompt_.answer = kw::platform::kIdCancel;
    Click(main_->cmdCreatePlugin.hWnd());
    EXPECT_TRUE(fs::exists(base_ / "usable" / "Usable" / "Usable.inf"));
    ASSERT_EQ(prompt_.shown.size(), 1u);
    EXPECT_EQ(prompt_.shown[0].text.rfind("Plugin has been created.", 0), 0u);
    ExpectWindowUsable();
}

}  // namespace
