// Documents in the real main window: the File menu, saving and opening description files,
// opening plugin folders and re-creating them in place, the unsaved-changes question, the
// recent files, and documents handed over or dropped on the window.
#include <map>

#include "MainWindowTestSupport.h"
#include "document/DescriptionFile.h"
#include "document/PluginDocument.h"

namespace kwtest {
namespace {

using kw::platform::kIdCancel;
using kw::platform::kIdNo;
using kw::platform::kIdOk;
using kw::platform::kIdYes;
using Names = std::vector<std::string>;

const std::string kTitle = "Kitwright v4.1.2";

// Every file below a folder, by its name below it, with its bytes.
std::map<std::string, std::string> FilesBelow(const std::string& folder)
{
    std::map<std::string, std::string> files;
    const fs::path base(kw::Widen(folder));
    for (const auto& e : fs::recursive_directory_iterator(base))
        if (e.is_regular_file())
            files[kw::Narrow(e.path().lexically_relative(base).wstring())] = ReadAll(kw::Narrow(e.path().wstring()));
    return files;
}

std::vector<std::string> FoldersIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(fs::path(kw::Widen(folder))))
        names.push_back(kw::Narrow(e.path().filename().wstring()));
    return names;
}

class FileTest : public MainWindowTest {
protected:
    void HandOver(const std::string& path)
    {
        ASSERT_TRUE(kw::HandDocumentTo(f->hWnd(), path));
        DoEvents();
    }
    // As the shell drops files on a window that accepts them.
    void DropOnWindow(const std::string& path)
    {
        const std::wstring wide = kw::Widen(path);
        const size_t bytes = sizeof(DROPFILES) + (wide.size() + 2) * sizeof(wchar_t);
        HGLOBAL memory = GlobalAlloc(GHND, bytes);
        auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = TRUE;
        std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), wide.c_str(), wide.size() * sizeof(wchar_t));
        GlobalUnlock(memory);
        ASSERT_NE(GetWindowLongPtrW(f->hWnd(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
        SendMessageW(f->hWnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
        DoEvents();
    }
    void SaveAs(const std::string& path)
    {
        PickerScript s;
        s.fileTexts = {kw::Widen(path)};
        PickerDriver d(s);
        Menu(IDM_FILE_SAVE_AS);
        EXPECT_EQ(s.title, L"Save Description As");
    }
    // A program file dropped on its list and an executable on the first slot, each on its page.
    void DropFiles(const std::string& file, const std::string& exe)
    {
        ShowTab(2);
        FileData files({file});
        Drop(f->lstProgramFiles, files);
        ShowTab(4);
        FileData one({exe});
        Drop(f->txtExecutable, one);
    }

    // A plugin made through the window from typed names and dropped files.
    void MakePlugin(const std::string& name, const std::string& description)
    {
        const std::string a = MakeFile("src\\" + name + ".dll", "DLL bytes"),
                          exe = MakeFile("src\\" + name + ".exe", "MZ");
        Type(f->txtPluginName, name);
        Type(f->txtDescription, description);
        DropFiles(a, exe);
        Click(f->chkIncAutorun);
        ShowTab(1);
        f->oKW().IncPopupDone(kw::cvUnchecked);
        Click(f->cmdCreatePlugin);
    }
    std::string CaptionNow()
    {
        DoEvents();
        return f->Caption();
    }
};

TEST_F(FileTest, SaveReopenAndSaveAgainGiveTheSameBytesAndTheCaptionFollows)
{
    EXPECT_EQ(f->Caption(), kTitle);
    const std::string a = MakeFile("work\\bin\\a.dll", "A"), exe = MakeFile("work\\bin\\tool.exe", "MZ");
    Type(f->txtPluginName, "Tool");
    f->txtDescription.Text("First line\r\nSecond line");
    DropFiles(a, exe);
    EXPECT_EQ(CaptionNow(), kTitle);  // no file yet
    EXPECT_TRUE(f->Unsaved());

    const std::string kwp = root + "\\work\\Tool.kwp";
    SaveAs(kwp);
    const std::string first = ReadAll(kwp);
    ASSERT_FALSE(first.empty());
    EXPECT_NE(first.find("bin\\a.dll"), std::string::npos) << "paths below the file are relative:\n" << first;
    EXPECT_EQ(CaptionNow(), "Tool.kwp - " + kTitle);
    EXPECT_FALSE(f->Unsaved());

    // Another form shown and closed: the main window's refresh on activation is no change.
    WhileModal([&] { Menu(IDM_HELP_ABOUT); }, [](HWND about) { ClickIn(about, IDC_CMD_ABOUT_OK); });
    EXPECT_EQ(CaptionNow(), "Tool.kwp - " + kTitle);

    CtrlKey('N');
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(f->txtPluginName.Text(), "");
    EXPECT_EQ(CaptionNow(), kTitle);

    {
        PickerScript s;
        s.fileTexts = {kw::Widen(kwp)};
        PickerDriver d(s);
        CtrlKey('O');
        EXPECT_EQ(s.title, L"Open Description or Plugin");
    }
    EXPECT_EQ(f->txtPluginName.Text(), "Tool");
    EXPECT_EQ(f->txtProgramName.Text(), "Tool");
    EXPECT_EQ(f->txtDescription.Text(), "First line\r\nSecond line");
    EXPECT_EQ(Items(f->lstProgramFiles), Names{"a.dll"});
    EXPECT_EQ(f->oKW().ProgramFileAll(1), a);
    EXPECT_EQ(f->txtExecutable.Text(), "tool.exe");
    EXPECT_EQ(f->oKW().Executable(0), exe);
    EXPECT_EQ(CaptionNow(), "Tool.kwp - " + kTitle);
    EXPECT_TRUE(prompt.shown.empty());

    fs::remove(fs::path(kw::Widen(kwp)));
    CtrlKey('S');
    EXPECT_EQ(ReadAll(kwp), first);

    // An edit marks it; undoing the edit by hand unmarks it.
    Type(f->txtProgramWebsite, "x");
    EXPECT_EQ(CaptionNow(), "Tool.kwp* - " + kTitle);
    f->txtProgramWebsite.Text("");
    EXPECT_EQ(CaptionNow(), "Tool.kwp - " + kTitle);
    EXPECT_EQ(f->RecentFiles().front(), kwp);
}

TEST_F(FileTest, UnsavedChangesAreAskedAboutAndCancelKeepsEverything)
{
    Type(f->txtPluginName, "Tool");
    const auto expectKept = [&](const char* what) {
        ASSERT_TRUE(f->Loaded()) << what;
        EXPECT_EQ(f->txtPluginName.Text(), "Tool") << what;
        EXPECT_EQ(f->oKW().PluginName(), "Tool") << what;
        ASSERT_FALSE(prompt.shown.empty()) << what;
        EXPECT_EQ(prompt.shown.back().text, "Save changes to Untitled?") << what;
        EXPECT_EQ(prompt.shown.back().title, "Kitwright") << what;
        EXPECT_EQ(prompt.shown.back().style & 0xFu, static_cast<unsigned>(MB_YESNOCANCEL)) << what;
        prompt.shown.clear();
    };
    prompt.answer = kIdCancel;
    Menu(IDM_FILE_NEW);
    expectKept("New");
    CtrlKey('N');
    expectKept("Ctrl+N");
    Menu(IDM_FILE_OPEN);  // a picker would hang the test: none may open
    expectKept("Open");
    Click(f->cmdReset);
    expectKept("Reset Data");
    Click(f->cmdExit);
    expectKept("Exit button");
    Menu(IDM_FILE_EXIT);
    expectKept("Exit menu");
    PostMessageW(f->hWnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    DoEvents();
    expectKept("close box");
    EXPECT_EQ(SendMessageW(f->hWnd(), WM_QUERYENDSESSION, 0, 0), FALSE);  // the session waits
    expectKept("end of session");
    EXPECT_EQ(CaptionNow(), kTitle);
    EXPECT_TRUE(f->Unsaved());

    // Yes saves first (the name is asked for), then the window is emptied.
    const std::string kwp = root + "\\Tool.kwp";
    prompt.answers = {kIdYes};
    {
        PickerScript s;
        s.fileTexts = {kw::Widen(kwp)};
        PickerDriver d(s);
        Click(f->cmdReset);
    }
    EXPECT_NE(ReadAll(kwp).find("PluginName=Tool"), std::string::npos) << ReadAll(kwp);
    EXPECT_EQ(f->txtPluginName.Text(), "");
    EXPECT_EQ(CaptionNow(), kTitle);

    // A plugin made from work never saved is still unsaved work; No lets the window close.
    prompt.shown.clear();
    Type(f->txtPluginName, "Made");
    f->oKW().IncPopupDone(kw::cvUnchecked);
    Click(f->cmdCreatePlugin);
    ASSERT_TRUE(fs::exists(fs::path(kw::Widen(plugins + "Made\\Made.inf"))));
    prompt.answers = {kIdNo};
    PostMessageW(f->hWnd(), WM_CLOSE, 0, 0);
    DoEvents();
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "Save changes to Untitled?");
    EXPECT_FALSE(f->Loaded());
}

// Opened from its folder (dropped on the window), changed, re-created over itself: every
// file as before but for the one change, made in the folder's own parent.
TEST_F(FileTest, APluginOpenedFromItsFolderIsReCreatedInPlaceWithTheChange)
{
    MakePlugin("Tool", "Old words");
    const std::string elsewhere = root + "\\elsewhere\\";
    fs::create_directories(fs::path(kw::Widen(elsewhere)));
    fs::rename(fs::path(kw::Widen(plugins + "Tool")), fs::path(kw::Widen(elsewhere + "Tool")));
    const auto before = FilesBelow(elsewhere + "Tool");
    ASSERT_EQ(before.count("Tool.htm"), 1u);
    ASSERT_EQ(before.count("files\\Tool.dll"), 1u);
    prompt.answers = {kIdNo};
    Menu(IDM_FILE_NEW);
    prompt.shown.clear();

    DropOnWindow(elsewhere + "Tool");
    EXPECT_TRUE(prompt.shown.empty()) << prompt.shown.front().text;
    EXPECT_EQ(f->txtPluginName.Text(), "Tool");
    EXPECT_EQ(f->txtDescription.Text(), "Old words");
    EXPECT_EQ(CaptionNow(), "Tool - " + kTitle);
    EXPECT_EQ(f->PluginsFolder(), elsewhere);
    EXPECT_EQ(f->txtPluginLocation.Text(), kw::CompactPath(elsewhere, f->txtPluginLocation, *f));
    EXPECT_EQ(f->oKW().PluginLocation(), plugins);  // the preference stays

    f->txtDescription.Text("New words");
    EXPECT_EQ(CaptionNow(), "Tool* - " + kTitle);
    prompt.answers = {kIdYes};
    Click(f->cmdCreatePlugin);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_TRUE(prompt.shown[0].text.starts_with("The chosen plugin folder already exists:\r\n" + elsewhere + "Tool"));

    auto expected = before;
    std::string& htm = expected["Tool.htm"];
    ASSERT_NE(htm.find("Old words"), std::string::npos);
    htm.replace(htm.find("Old words"), 9, "New words");
    const auto after = FilesBelow(elsewhere + "Tool");
    EXPECT_EQ(after, expected);
    EXPECT_EQ(FoldersIn(elsewhere), Names{"Tool"});  // no temporary folder left
    EXPECT_FALSE(fs::exists(fs::path(kw::Widen(plugins + "Tool"))));
    EXPECT_TRUE(IsWindowEnabled(f->txtPluginName.hWnd()));
}

TEST_F(FileTest, AReplaceThatFailsHalfWayLeavesTheOldPluginAsItWas)
{
    MakePlugin("Tool", "Old words");
    const auto before = FilesBelow(plugins + "Tool");
    prompt.answers = {kIdNo};
    Menu(IDM_FILE_NEW);
    HandOver(plugins + "Tool\\Tool.inf");
    EXPECT_EQ(f->txtDescription.Text(), "Old words");
    f->txtDescription.Text("New words");
    prompt.shown.clear();

    // A file of the new plugin cannot be written (in use), after a few were.
    kw::platform::SetFailureForTesting(3, ERROR_SHARING_VIOLATION);
    prompt.answers = {kIdYes};
    Click(f->cmdCreatePlugin);
    kw::platform::SetFailureForTesting(0, 0);
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_EQ(prompt.shown[1].title, "Attention");
    EXPECT_NE(prompt.shown[1].text.find(plugins + "Tool could not be replaced"), std::string::npos)
        << prompt.shown[1].text;
    EXPECT_NE(prompt.shown[1].text.find("unchanged"), std::string::npos) << prompt.shown[1].text;
    EXPECT_EQ(FilesBelow(plugins + "Tool"), before);
    EXPECT_EQ(FoldersIn(plugins), Names{"Tool"});
    EXPECT_TRUE(IsWindowEnabled(f->txtPluginName.hWnd()));
    EXPECT_EQ(f->txtDescription.Text(), "New words");

    // A folder that holds no plugin INF is never replaced: the old message, nothing asked.
    fs::create_directories(fs::path(kw::Widen(plugins + "Other\\files")));
    MakeFile("plugins\\Other\\notes.txt", "mine");
    prompt.shown.clear();
    f->txtPluginName.Text("Other");
    Click(f->cmdCreatePlugin);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "The chosen plugin folder already exists");
    EXPECT_EQ(prompt.shown[0].style, kw::platform::kMbOk | kw::platform::kMbIconWarning);
    EXPECT_EQ(ReadAll(plugins + "Other\\notes.txt"), "mine");
}

// A folder-tree plugin opened and made again under another name and shortcut: the program's
// files come along, the old plugin's scripts do not.
TEST_F(FileTest, AFolderTreePluginReCreatedUnderANewNameCarriesNoOldScript)
{
    const std::string tree = root + "\\tree\\";
    MakeFile("tree\\app.exe", "MZ");
    MakeFile("tree\\data\\table.bin", "T");
    kw::PluginDocument doc;
    doc.PluginName = "Tree";
    doc.ProgramName = "Tree";
    doc.CopyOption = kw::coFolderTree;
    doc.ProgramFolder = tree;
    doc.Executables[0].Path = tree + "app.exe";
    doc.Executables[0].ShortcutName = "App";
    doc.Executables[0].IncRamdisk = kw::cvChecked;
    doc.Executables[0].IncAutorun = kw::cvChecked;
    const std::string kwp = root + "\\Tree.kwp";
    ASSERT_EQ(kw::SaveDescription(doc, kwp).code, 0u);
    HandOver(kwp);
    EXPECT_TRUE(f->optCopyOption[1].Value());
    EXPECT_EQ(f->lstProgramFiles.ListCount(), 1);
    EXPECT_EQ(CaptionNow(), "Tree.kwp - " + kTitle);
    f->oKW().IncPopupDone(kw::cvUnchecked);
    Click(f->cmdCreatePlugin);
    ASSERT_TRUE(fs::exists(fs::path(kw::Widen(plugins + "Tree\\files\\autorun_App.cmd"))));
    ASSERT_TRUE(fs::exists(fs::path(kw::Widen(plugins + "Tree\\files\\ramdisk_App.cmd"))));

    HandOver(plugins + "Tree");
    EXPECT_TRUE(prompt.shown.empty()) << prompt.shown.front().text;
    EXPECT_EQ(f->oKW().ProgramFolder(), plugins + "Tree\\files\\*.*");
    f->txtPluginName.Text("Tree2");
    ShowTab(4);
    f->txtShortcutName.Text("App2");
    Click(f->cmdCreatePlugin);
    const auto made = FilesBelow(plugins + "Tree2\\files");
    Names names;
    for (const auto& [name, bytes] : made)
        names.push_back(name);
    EXPECT_EQ(names, (Names{"app.exe", "autorun_App2.cmd", "data\\table.bin", "ramdisk_App2.cmd"}));
    EXPECT_EQ(made.at("app.exe"), "MZ");
}

// Alt+F on the Program Files page is the option's, not the menu's: the folder it would take
// off the list is named first.
TEST_F(FileTest, AltFOnTheProgramFilesPageAsksBeforeEmptyingTheList)
{
    const std::string tree = root + "\\tree\\";
    MakeFile("tree\\app.exe", "MZ");
    kw::PluginDocument doc;
    doc.PluginName = "Tree";
    doc.CopyOption = kw::coFolderTree;
    doc.ProgramFolder = tree;
    const std::string kwp = root + "\\Tree.kwp";
    ASSERT_EQ(kw::SaveDescription(doc, kwp).code, 0u);
    HandOver(kwp);
    ShowTab(2);
    f->lstProgramFiles.SetFocus();
    DoEvents();
    const auto altF = [&] {
        PostMessageW(GetFocus(), WM_SYSCHAR, 'f', 1 << 29);
        DoEvents();
    };
    prompt.answers = {kIdNo};
    altF();
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0].text.find(tree), std::string::npos) << prompt.shown[0].text;
    EXPECT_EQ(f->oKW().CopyOption(), kw::coFolderTree);
    EXPECT_EQ(f->oKW().ProgramFolder(), tree + "*.*");
    EXPECT_TRUE(f->optCopyOption[1].Value());
    EXPECT_FALSE(f->optCopyOption[0].Value());
    EXPECT_EQ(f->lstProgramFiles.ListCount(), 1);
    EXPECT_EQ(CaptionNow(), "Tree.kwp - " + kTitle);

    prompt.answers = {kIdYes};
    altF();
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_EQ(f->oKW().CopyOption(), kw::coIndividualFiles);
    EXPECT_EQ(f->oKW().ProgramFolder(), "");
    EXPECT_EQ(f->lstProgramFiles.ListCount(), 0);
    EXPECT_EQ(CaptionNow(), "Tree.kwp* - " + kTitle);
}

TEST_F(FileTest, RecentFilesKeepTheLastEightWithNonAnsiPathsWhole)
{
    kw::PluginDocument doc;
    std::vector<std::string> saved;
    for (int i = 0; i < 9; ++i) {
        doc.PluginName = "P" + std::to_string(i);
        // U+0416 and U+03A9 are in no Western code page.
        const std::string name = i == 8 ? "\xD0\x96urnal \xCE\xA9.kwp" : doc.PluginName + ".kwp";
        saved.push_back(root + "\\" + name);
        ASSERT_EQ(kw::SaveDescription(doc, saved.back()).code, 0u);
        HandOver(saved.back());
    }
    const Names newestFirst(saved.rbegin(), saved.rbegin() + 8);
    EXPECT_EQ(f->RecentFiles(), newestFirst);
    EXPECT_EQ(f->txtPluginName.Text(), "P8");
    EXPECT_EQ(CaptionNow(), "\xD0\x96urnal \xCE\xA9.kwp - " + kTitle);
    HMENU file = GetSubMenu(GetMenu(f->hWnd()), 0);
    wchar_t text[MAX_PATH]{};
    GetMenuStringW(file, IDM_FILE_RECENT + 1, text, MAX_PATH, MF_BYCOMMAND);
    EXPECT_TRUE(std::wstring(text).starts_with(L"&2 ") && std::wstring(text).ends_with(L"\\P7.kwp"))
        << kw::Narrow(text);
    EXPECT_EQ(GetMenuStringW(file, IDM_FILE_RECENT + 8, text, MAX_PATH, MF_BYCOMMAND), 0);

    // Read back by the next start; the entry opens its file.
    kw::UnloadAllForms();
    DoEvents();
    kw::Main();
    f = static_cast<kw::frmMain*>(kw::MainForm());
    ASSERT_NE(f, nullptr);
    DoEvents();
    EXPECT_EQ(f->RecentFiles(), newestFirst);
    Menu(IDM_FILE_RECENT + 0);
    EXPECT_EQ(f->txtPluginName.Text(), "P8");
    EXPECT_EQ(f->DocumentPath(), saved[8]);

    // A file gone since: said so and taken off the list.
    fs::remove(fs::path(kw::Widen(saved[7])));
    Menu(IDM_FILE_RECENT + 1);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, saved[7] + " no longer exists; it was taken off the recent files.");
    EXPECT_EQ(f->RecentFiles().size(), 7u);
    EXPECT_EQ(f->txtPluginName.Text(), "P8");
}

TEST_F(FileTest, ADamagedDescriptionOrAForeignInfIsRefusedAndTheWindowStaysAsItWas)
{
    Type(f->txtPluginName, "Kept");
    const std::string kwp = MakeFile("bad.kwp", std::string("\x00\x01garbage", 9));
    prompt.answers = {kIdNo};
    HandOver(kwp);
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_EQ(prompt.shown[1].title, "Attention");
    EXPECT_NE(prompt.shown[1].text.find(kwp), std::string::npos) << prompt.shown[1].text;
    EXPECT_EQ(f->txtPluginName.Text(), "Kept");
    EXPECT_EQ(CaptionNow(), kTitle);
    EXPECT_TRUE(f->Unsaved());

    // An INF some other program wrote is no plugin of ours: said so, nothing changes.
    const std::string inf = MakeFile("driver\\driver.inf", "[Version]\r\nSignature=\"$Windows NT$\"\r\n");
    prompt.shown.clear();
    prompt.answers = {kIdNo};
    DropOnWindow(inf);
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_TRUE(prompt.shown[1].text.starts_with("No plugin could be opened from " + root + "\\driver"))
        << prompt.shown[1].text;
    EXPECT_EQ(f->txtPluginName.Text(), "Kept");
    EXPECT_EQ(ReadAll(inf), "[Version]\r\nSignature=\"$Windows NT$\"\r\n");
    EXPECT_TRUE(f->RecentFiles().empty());
}

}  // namespace
}  // namespace kwtest
