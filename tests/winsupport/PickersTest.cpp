#include <gtest/gtest.h>

#include "TestWindows.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "platform/WinText.h"
#include "winsupport/clsBrowse.h"
#include "winsupport/clsGetOpenFile.h"

namespace {

// What the test does to the next picker that opens, and what it saw there.
struct Script {
    bool browse = false;
    // Open-file dialog: the text typed into the file name box, or cancel.
    std::wstring fileText;
    bool cancel = false;
    // Folder picker: the folder to select and its name in the tree.
    std::wstring folder;
    std::wstring treeName;

    HWND dialog = nullptr;
    std::wstring title;
    LRESULT filterCount = -1;
    LRESULT filterSel = -1;
};

Script* g_script = nullptr;
HHOOK g_hook = nullptr;
UINT_PTR g_giveUp = 0;

constexpr UINT_PTR kStepTimer = 1;

void Press(HWND dlg, int id)
{
    PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, id)));
}

BOOL CALLBACK CancelDialog(HWND hwnd, LPARAM)
{
    if (kwtest::ClassOf(hwnd) == L"#32770")
        PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

// A stuck picker must not hang the run: cancel whatever dialog this thread shows.
void CALLBACK GiveUp(HWND hwnd, UINT, UINT_PTR id, DWORD)
{
    KillTimer(hwnd, id);
    EnumThreadWindows(GetCurrentThreadId(), CancelDialog, 0);
}

void CALLBACK OpenFileStep(HWND dlg, UINT, UINT_PTR id, DWORD)
{
    KillTimer(dlg, id);
    Script& s = *g_script;
    s.title = kwtest::WindowText(dlg);
    HWND types = GetDlgItem(dlg, cmb1);
    s.filterCount = SendMessageW(types, CB_GETCOUNT, 0, 0);
    s.filterSel = SendMessageW(types, CB_GETCURSEL, 0, 0);
    if (s.cancel) {
        Press(dlg, IDCANCEL);
        return;
    }
    SendMessageW(dlg, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(s.fileText.c_str()));
    SendMessageW(dlg, CDM_SETCONTROLTEXT, edt1, reinterpret_cast<LPARAM>(s.fileText.c_str()));
    Press(dlg, IDOK);
}

BOOL CALLBACK FindTreeChild(HWND child, LPARAM found)
{
    if (kwtest::ClassOf(child) == L"SysTreeView32") {
        *reinterpret_cast<HWND*>(found) = child;
        return FALSE;
    }
    return TRUE;
}

HWND FindTree(HWND dlg)
{
    HWND found = nullptr;
    EnumChildWindows(dlg, FindTreeChild, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::wstring SelectedTreeText(HWND tree)
{
    HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (!item)
        return {};
    wchar_t text[MAX_PATH]{};
    TVITEMW tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = MAX_PATH;
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
    return text;
}

// The picker has no callback of ours: keep asking it to select the folder until the tree
// shows it selected, then press OK.
void CALLBACK BrowseStep(HWND dlg, UINT, UINT_PTR id, DWORD)
{
    Script& s = *g_script;
    if (s.cancel) {
        KillTimer(dlg, id);
        Press(dlg, IDCANCEL);
        return;
    }
    SendMessageW(dlg, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(s.folder.c_str()));
    HWND tree = FindTree(dlg);
    if (tree && SelectedTreeText(tree) == s.treeName) {
        KillTimer(dlg, id);
        Press(dlg, IDOK);
    }
}

LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && g_script && !g_script->dialog) {
        HWND h = reinterpret_cast<HWND>(wParam);
        if (kwtest::ClassOf(h) == L"#32770") {
            g_script->dialog = h;
            const bool browse = g_script->browse;
            SetTimer(h, kStepTimer, browse ? 100 : 50, browse ? BrowseStep : OpenFileStep);
            g_giveUp = SetTimer(nullptr, 0, 10000, GiveUp);
        }
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

// Installs the script for the pickers opened while it lives.
class Driver {
public:
    explicit Driver(Script& s)
    {
        g_script = &s;
        g_hook = SetWindowsHookExW(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
    }
    ~Driver()
    {
        if (g_giveUp)
            KillTimer(nullptr, g_giveUp);
        g_giveUp = 0;
        UnhookWindowsHookEx(g_hook);
        g_hook = nullptr;
        g_script = nullptr;
    }
};

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
    s.fileText = folder + L"\\b.txt";
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
    s.fileText = L"\"a.txt\" \"b.txt\" \"c.txt\"";
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
        s.fileText = L"a.txt";
        Driver d(s);
        ASSERT_TRUE(picker.ShowOpen());
    }
    EXPECT_FALSE(picker.BufferTooSmall());
    const std::string first = picker.FileName();
    EXPECT_EQ(first, kw::Narrow(folder + L"\\a.txt"));

    picker.BufferSize(static_cast<int>(folder.size()) + 8);
    {
        Script s;
        s.fileText = L"\"a.txt\" \"b.txt\" \"c.txt\"";
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
        s.fileText = folder + L"\\c.txt";
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
        s.browse = true;
        s.folder = c.folder;
        s.treeName = DisplayName(c.folder);
        {
            Driver d(s);
            ASSERT_TRUE(browse.BrowseForFolder());
        }
        EXPECT_EQ(browse.SelectedPath(), c.expected);

        Script cancel;
        cancel.browse = true;
        cancel.cancel = true;
        {
            Driver d(cancel);
            EXPECT_FALSE(browse.BrowseForFolder());
            EXPECT_NE(cancel.dialog, nullptr);
        }
        EXPECT_EQ(browse.SelectedPath(), c.expected);
    }
}

}  // namespace
