#include <gtest/gtest.h>

#include "TestWindows.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "WindowScript.h"
#include "platform/WinText.h"
#include "winsupport/clsBrowse.h"
#include "winsupport/clsGetOpenFile.h"

namespace {

using Script = kwscript::PickerScript;
using Driver = kwscript::PickerDriver;

std::wstring TempFolder()
{
    wchar_t temp[MAX_PATH]{};
    GetTempPathW(MAX_PATH, temp);
    wchar_t longPath[MAX_PATH]{};
    GetLongPathNameW(temp, longPath, MAX_PATH);
    std::wstring dir = longPath;
    if (!dir.empty() && dir.back() == L'\\')
        dir.pop_back();
    return dir;
}

void MakeFile(const std::wstring& path)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(h, "x", 1, &written, nullptr);
    CloseHandle(h);
}

std::wstring DisplayName(const std::wstring& path)
{
    SHFILEINFOW info{};
    SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_DISPLAYNAME);
    return info.szDisplayName;
}

class PickersTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder = TempFolder() + L"\\kwpick_" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(folder.c_str(), nullptr);
        CreateDirectoryW((folder + L"\\inner").c_str(), nullptr);
        for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt"})
            MakeFile(folder + L"\\" + name);
    }
    static void TearDownTestSuite()
    {
        for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt"})
            DeleteFileW((folder + L"\\" + name).c_str());
        RemoveDirectoryW((folder + L"\\inner").c_str());
        RemoveDirectoryW(folder.c_str());
    }

    void SetUp() override { owner = kwtest::MakeTopWindow(L"owner"); }
    void TearDown() override { DestroyWindow(owner); }

    static std::wstring folder;
    HWND owner = nullptr;
};

std::wstring PickersTest::folder;

TEST_F(PickersTest, OneFileGivesItsFullPathEvenWithMultiSelect)
{
    kw::clsGetOpenFile picker;
    picker.Parent(owner);
    picker.DialogTitle("Pick a file");
    picker.InitDir(kw::Narrow(folder));
    picker.MultiSelect(true);
    picker.HideReadOnly(true);

    Script s;
    s.fileTexts = {folder + L"\\b.txt"};
    {
        Driver d(s);
        ASSERT_TRUE(picker.ShowOpen());
    }
    EXPECT_EQ(s.title, L"Pick a file");
    // The default filter "All Files|*.*" is one entry.
    EXPECT_EQ(s.filterCount, 1);
    EXPECT_EQ(picker.FileName(), kw::Narrow(folder + L"\\b.txt"));
    EXPECT_EQ(picker.FileName().find('\0'), std::string::npos);
}

TEST_F(PickersTest, ThreeFilesGiveTheFolderThenTheNamesSeparatedByNul)
{
    kw::clsGetOpenFile picker;
    picker.Parent(owner);
    picker.Filter("All Files|*.*|Text|*.txt|EXE|*.exe");
    picker.FilterIndex(2);
    picker.InitDir(kw::Narrow(folder));
    picker.MultiSelect(true);

    Script s;
    s.fileTexts = {L"\"a.txt\" \"b.txt\" \"c.txt\""};
    {
        Driver d(s);
        ASSERT_TRUE(picker.ShowOpen());
    }
    EXPECT_EQ(s.filterCount, 3);
    EXPECT_EQ(s.filterSel, 1);
    std::string expected = kw::Narrow(folder);
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        expected += '\0';
        expected += name;
    }
    EXPECT_EQ(picker.FileName(), expected);
}

TEST_F(PickersTest, AnswerThatDoesNotFitTheBufferFailsAndCancelKeepsTheResult)
{
    kw::clsGetOpenFile picker;
    picker.Parent(owner);
    picker.InitDir(kw::Narrow(folder));
    picker.MultiSelect(true);
    {
        Script s;
        s.fileTexts = {L"a.txt"};
        Driver d(s);
        ASSERT_TRUE(picker.ShowOpen());
    }
    EXPECT_FALSE(picker.BufferTooSmall());
    const std::string first = picker.FileName();
    EXPECT_EQ(first, kw::Narrow(folder + L"\\a.txt"));

    picker.BufferSize(static_cast<int>(folder.size()) + 8);
    {
        Script s;
        s.fileTexts = {L"\"a.txt\" \"b.txt\" \"c.txt\""};
        Driver d(s);
        EXPECT_FALSE(picker.ShowOpen());
        EXPECT_NE(s.dialog, nullptr);
    }
    EXPECT_TRUE(picker.BufferTooSmall());
    EXPECT_EQ(picker.FileName(), first);

    // One path longer than the buffer fails the same way.
    picker.BufferSize(static_cast<int>(folder.size()));
    {
        Script s;
        s.fileTexts = {folder + L"\\c.txt"};
        Driver d(s);
        EXPECT_FALSE(picker.ShowOpen());
    }
    EXPECT_TRUE(picker.BufferTooSmall());
    EXPECT_EQ(picker.FileName(), first);

    picker.BufferSize(1024);
    {
        Script s;
        s.cancel = true;
        Driver d(s);
        EXPECT_FALSE(picker.ShowOpen());
        EXPECT_NE(s.dialog, nullptr);
    }
    EXPECT_FALSE(picker.BufferTooSmall());  // a cancel is not a failure to report
    EXPECT_EQ(picker.FileName(), first);
}

TEST_F(PickersTest, ChosenFolderEndsInOneBackslashAndCancelKeepsIt)
{
    struct Case {
        std::wstring folder;
        bool newStyle;
        std::string expected;
    } const cases[] = {
        {folder + L"\\inner", false, kw::Narrow(folder + L"\\inner\\")},
        {L"C:\\", false, "C:\\"},
        {folder, true, kw::Narrow(folder + L"\\")},
    };
    for (const Case& c : cases) {
        kw::clsBrowse browse;
        browse.Parent(owner);
        browse.DialogTitle("Choose the plugins folder");
        browse.NewStyle(c.newStyle);
        browse.NoNewFolderButton(c.newStyle);
        Script s;
        s.folder = c.folder;
        s.treeName = DisplayName(c.folder);
        {
            Driver d(s);
            ASSERT_TRUE(browse.BrowseForFolder());
        }
        EXPECT_EQ(browse.SelectedPath(), c.expected);

        Script cancel;
        cancel.cancel = true;
        {
            Driver d(cancel);
            EXPECT_FALSE(browse.BrowseForFolder());
            EXPECT_NE(cancel.dialog, nullptr);
        }
        EXPECT_EQ(browse.SelectedPath(), c.expected);
    }
}

TEST_F(PickersTest, FolderPickerOpensAtTheStartFolder)
{
    const std::wstring start = folder + L"\\plugins\\mine";
    CreateDirectoryW((folder + L"\\plugins").c_str(), nullptr);
    CreateDirectoryW(start.c_str(), nullptr);
    ASSERT_EQ(GetFileAttributesW(start.c_str()) & FILE_ATTRIBUTE_DIRECTORY,
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    // Given as the program keeps it, with its closing backslash.
    for (const std::wstring& given : {start + L"\\", start}) {
        kw::clsBrowse browse;
        browse.Parent(owner);
        browse.NewStyle(true);
        browse.StartFolder(kw::Narrow(given));
        Script s;
        s.acceptShown = true;
        {
            Driver d(s);
            ASSERT_TRUE(browse.BrowseForFolder());
        }
        EXPECT_EQ(s.shownName, L"mine");
        EXPECT_EQ(browse.SelectedPath(), kw::Narrow(start + L"\\"));
    }
    RemoveDirectoryW(start.c_str());
    RemoveDirectoryW((folder + L"\\plugins").c_str());
}

}  // namespace
