#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/Utf.h"
#ifndef _WIN32
#include <sys/stat.h>
#endif
#ifdef _WIN32
#include <windows.h>

#include "platform/WinText.h"
#endif

namespace fs = std::filesystem;
using namespace kw;

namespace {

// A fresh temporary folder, given to the platform as a backslash path.
class TempFolder {
public:
    TempFolder()
    {
        // Tests run as parallel processes: each needs a folder of its own.
        native_ = fs::temp_directory_path() / ("kw-platform-" + std::to_string(std::random_device{}()) + "-" +
                                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(native_);
        fs::create_directories(native_);
    }
    ~TempFolder()
    {
        std::error_code ec;
        fs::permissions(native_, fs::perms::all, fs::perm_options::add, ec);
        for (auto& e : fs::recursive_directory_iterator(native_, ec))
            fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add, ec);
        fs::remove_all(native_, ec);
    }
    // The folder as the program writes paths: backslashes.
    std::string Path(const std::string& rel = {}) const
    {
        std::string p = native_.string();
        for (char& c : p)
            if (c == '/')
                c = '\\';
        return rel.empty() ? p : p + "\\" + rel;
    }
    fs::path Native(const std::string& rel) const
    {
        std::string r = rel;
        for (char& c : r)
            if (c == '\\')
                c = '/';
        return native_ / r;
    }
    void Write(const std::string& rel, const std::string& bytes) const
    {
        fs::create_directories(Native(rel).parent_path());
        std::ofstream(Native(rel), std::ios::binary) << bytes;
    }
    std::string Read(const std::string& rel) const
    {
        std::ifstream in(Native(rel), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

private:
    fs::path native_;
};

std::string List(std::initializer_list<std::string> paths)
{
    std::string out;
    for (const auto& p : paths)
        out += p + '\0';
    return out + '\0';
}

}  // namespace

TEST(Text, AnsiConversionUsesWindows1252)
{
    EXPECT_EQ(platform::ToAnsi("caf\xC3\xA9 \xE2\x82\xAC"), "caf\xE9 \x80");
    EXPECT_EQ(platform::FromAnsi("caf\xE9 \x80"), "caf\xC3\xA9 \xE2\x82\xAC");
    // A character the code page lacks becomes a question mark; nothing is dropped.
    EXPECT_EQ(platform::ToAnsi("a\xE4\xB8\xAD"
                               "b"),
              "a?b");
    EXPECT_EQ(platform::ToAnsi(std::string("a\0b", 3)), std::string("a\0b", 3));
}

// Every byte of a broken sequence stands for itself, so nothing after it is swallowed and
// no overlong form turns into a line break.
TEST(Text, Utf16ConversionKeepsPairsAndReplacesWhatIsBroken)
{
    using namespace kw::utf;
    const std::string text = std::string("a\0\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", 11);
    std::u16string units(u"a");
    units += u'\0';
    units += u"\u00E9\u20AC\U0001F600";
    EXPECT_EQ(Utf8ToUtf16<char16_t>(text), units);
    EXPECT_EQ(Utf16ToUtf8(std::u16string_view(units)), text);
    EXPECT_EQ(Utf16LeToUtf8(Utf8ToUtf16Le(text)), text);
    EXPECT_EQ(Utf8ToUtf16Le("A\xF0\x9F\x98\x80"), std::string("A\0\x3D\xD8\x00\xDE", 6));

    EXPECT_EQ(Utf8ToUtf16<char16_t>("a\xC0\x8A"
                                    "b\xE0\x80\xBD"
                                    "c\xE2\x82"),
              u"a\uFFFD\uFFFDb\uFFFD\uFFFD\uFFFDc\uFFFD\uFFFD");
    EXPECT_EQ(Utf8ToUtf16<char16_t>("\xED\xA0\x80\xF4\x90\x80\x80"), std::u16string(7, u'\uFFFD'));
    EXPECT_EQ(Utf16ToUtf8(std::u16string_view(u"x\xD800y\xDC00")), "x\xEF\xBF\xBDy\xEF\xBF\xBD");
    EXPECT_EQ(Utf16LeToUtf8(std::string("a\0\x3D", 3)), "a\xEF\xBF\xBD");

    EXPECT_TRUE(IsValidUtf8("plain \xEF\xBF\xBD \xF0\x9F\x98\x80"));
    EXPECT_FALSE(IsValidUtf8("\xC0\x8A"));
    EXPECT_FALSE(IsValidUtf8("ends in \xE2\x82"));
#ifdef _WIN32
    EXPECT_EQ(Widen(text), std::wstring(L"a") + L'\0' + L"\u00E9\u20AC\U0001F600");
    EXPECT_EQ(Narrow(Widen(text)), text);
#endif
}

TEST(Text, UpperCaseAndCompareIgnoreCaseBeyondAscii)
{
    EXPECT_EQ(platform::UpperCase("x.dll \xC3\xA9t\xC3\xA9"), "X.DLL \xC3\x89T\xC3\x89");
    EXPECT_EQ(platform::CompareText("C:\\A\\X.DLL", "c:\\a\\x.dll"), 0);
    EXPECT_EQ(platform::CompareText("\xC3\xA9", "\xC3\x89"), 0);
    EXPECT_LT(platform::CompareText("C:\\A.dll", "C:\\a.txt"), 0);
    EXPECT_GT(platform::CompareText("C:\\b.exe", "C:\\a.txt"), 0);
}

// Sorts and lookups compare sort keys instead of calling CompareText: the two must agree on
// every pair, ties included, for letters in any case, accents, punctuation the system's
// collation treats specially, digits, the empty text and invalid UTF-8.
TEST(Text, SortKeysOrderAsCompareTextDoes)
{
    const std::vector<std::string> texts = {"",
                                            "a",
                                            "A",
                                            "b",
                                            "B.dll",
                                            "b.DLL",
                                            "ab",
                                            "a b",
                                            "a-b",
                                            "ab-",
                                            "a'b",
                                            "a_b",
                                            "a.b",
                                            "a1",
                                            "a10",
                                            "a2",
                                            "C:\\A\\x.dll",
                                            "c:\\a\\X.DLL",
                                            "C:\\A.dll",
                                            "C:\\a.txt",
                                            "C:\\b.exe",
                                            "\xC3\xA9t\xC3\xA9",
                                            "\xC3\x89T\xC3\x89",
                                            "ete",
                                            "\xC3\x9F",
                                            "ss",
                                            "SS",
                                            "stra\xC3\x9F"
                                            "e",
                                            "strasse",
                                            "\xCE\xA9mega",
                                            "\xCF\x89mega",
                                            "Omega",
                                            "\xC3\xA6",
                                            "ae",
                                            "z",
                                            "Z",
                                            "\xE2\x82\xAC",
                                            "~",
                                            "\xF0\x9F\x98\x80",
                                            "\xFF\xFE",
                                            "a\x80"};
    auto sign = [](int v) { return (v > 0) - (v < 0); };
    for (const std::string& a : texts)
        for (const std::string& b : texts)
            EXPECT_EQ(sign(platform::SortKey(a).compare(platform::SortKey(b))), sign(platform::CompareText(a, b)))
                << '"' << a << "\" against \"" << b << '"';
}

TEST(Files, WriteFileWholeReplacesAndLeavesNoTemporaryFile)
{
    TempFolder t;
    std::string err;
    ASSERT_EQ(platform::WriteFileWhole(t.Path("a.txt"), "first\r\n", &err), 0u) << err;
    ASSERT_EQ(platform::WriteFileWhole(t.Path("a.txt"), "second", &err), 0u) << err;
    EXPECT_EQ(t.Read("a.txt"), "second");
    // The temporary file must not need a longer name than the target.
    const std::string longName(250, 'n');
    ASSERT_EQ(platform::WriteFileWhole(t.Path(longName), "x", &err), 0u) << err;
    fs::remove(t.Native(longName));
    std::string bytes;
    ASSERT_TRUE(platform::ReadFileBytes(t.Path("a.txt"), bytes));
    EXPECT_EQ(bytes, "second");
    EXPECT_EQ(std::distance(fs::directory_iterator(t.Native("")), fs::directory_iterator{}), 1);
}

TEST(Files, WriteFileWholeReportsFailuresWithTheirText)
{
    TempFolder t;
    std::string err;
    EXPECT_EQ(platform::WriteFileWhole(t.Path("missing\\a.txt"), "x", &err), 3u);
    EXPECT_FALSE(err.empty());

    t.Write("ro.txt", "old");
    fs::permissions(t.Native("ro.txt"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
#ifdef _WIN32
    // Wine maps a file without write bits to the read-only attribute; make sure of it.
    SetFileAttributesA(t.Native("ro.txt").string().c_str(), FILE_ATTRIBUTE_READONLY);
#endif
    err.clear();
    EXPECT_EQ(platform::WriteFileWhole(t.Path("ro.txt"), "new", &err), 5u);
    EXPECT_FALSE(err.empty());
    EXPECT_EQ(t.Read("ro.txt"), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(t.Native("")), fs::directory_iterator{}), 1);
    EXPECT_FALSE(platform::ReadFileBytes(t.Path("nothing.txt"), err));
}

TEST(Files, RewriteFileFallsBackToTheFileItselfWhereNoTemporaryFileCanBeMade)
{
    TempFolder t;
    t.Write("a.ini", "[Old]\r\nkey=a much longer old value\r\n");
    platform::SetFolderRefusesNewFilesForTesting(t.Path());
    std::string err;
    // The whole-or-nothing write stays so: it fails and leaves the file alone.
    EXPECT_EQ(platform::WriteFileWhole(t.Path("a.ini"), "x", &err), 5u);
    EXPECT_EQ(t.Read("a.ini"), "[Old]\r\nkey=a much longer old value\r\n");
    EXPECT_EQ(platform::RewriteFile(t.Path("a.ini"), "[New]\r\n", &err), 0u) << err;
    EXPECT_EQ(t.Read("a.ini"), "[New]\r\n");  // shorter: the old tail is gone
    // A file that is not there cannot be made there either.
    EXPECT_EQ(platform::RewriteFile(t.Path("b.ini"), "x", &err), 5u);
    EXPECT_FALSE(err.empty());
    platform::SetFolderRefusesNewFilesForTesting({});
    EXPECT_EQ(std::distance(fs::directory_iterator(t.Native("")), fs::directory_iterator{}), 1);
    // Elsewhere the temporary file is used as before.
    EXPECT_EQ(platform::RewriteFile(t.Path("a.ini"), "[Again]\r\n", &err), 0u) << err;
    EXPECT_EQ(t.Read("a.ini"), "[Again]\r\n");
}

TEST(Shell, CreateFolderTreeResultCodes)
{
    TempFolder t;
    EXPECT_EQ(platform::CreateFolderTree(0, t.Path("Out\\Tool\\files")), 0);
    EXPECT_TRUE(fs::is_directory(t.Native("Out/Tool/files")));
    EXPECT_TRUE(platform::PathExists(t.Path("Out\\Tool")));
    EXPECT_EQ(platform::CreateFolderTree(0, t.Path("Out\\Tool\\files")), 183);
    EXPECT_EQ(platform::CreateFolderTree(0, "relative\\folder"), 161);

    // A locked folder: nothing new inside it, while what exists there stays usable.
    platform::SetFolderRefusesNewFilesForTesting(t.Path("Out"));
    EXPECT_EQ(platform::CreateFolderTree(0, t.Path("Out\\Other\\files")), 5);
    EXPECT_FALSE(fs::exists(t.Native("Out/Other")));
    EXPECT_EQ(platform::CreateFolderTree(0, t.Path("Out\\Tool\\more")), 0);
    platform::SetFolderRefusesNewFilesForTesting({});
}

TEST(Shell, CopyTreeByPatternAndSingleFiles)
{
    TempFolder t;
    t.Write("P\\a.exe", "A");
    t.Write("P\\readme", "R");  // no dot: "*.*" still matches it
    t.Write("P\\sub\\deep\\d.dat", "D");
    t.Write("Q\\x.dll", "X");
    t.Write("out\\x.dll", "old");
    ASSERT_EQ(platform::CreateFolderTree(0, t.Path("out")), 183);

    auto r = platform::ShellCopy(0, List({t.Path("P\\*.*")}) + t.Path("Q\\x.dll") + '\0', List({t.Path("out")}));
    EXPECT_EQ(r.code, 0);
    EXPECT_FALSE(r.aborted);
    EXPECT_EQ(t.Read("out\\a.exe"), "A");
    EXPECT_EQ(t.Read("out\\readme"), "R");
    EXPECT_EQ(t.Read("out\\sub\\deep\\d.dat"), "D");
    // Behind the list's end: not seen.
    EXPECT_EQ(t.Read("out\\x.dll"), "old");

    r = platform::ShellCopy(0, List({t.Path("Q\\x.dll"), t.Path("P\\a.exe")}), List({t.Path("out")}));
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(t.Read("out\\x.dll"), "X");
}

TEST(Shell, CopyOfAVanishedFileFails)
{
    TempFolder t;
    t.Write("out\\keep", "");
    auto r = platform::ShellCopy(0, List({t.Path("gone.exe")}), List({t.Path("out")}));
    EXPECT_TRUE(r.code != 0 || r.aborted);
    // The shell's own numbers get their own texts, not the Win32 ones they collide with.
    EXPECT_EQ(platform::CopyErrorText(0x7C), "A source file or folder does not exist.");
    EXPECT_EQ(platform::CopyErrorText(5), platform::ErrorText(5));
}

// The console's copy: the shell copy's lists and results, without any window.
TEST(Shell, DirectCopyTakesTheShellsListsAndReplacesAsItDoes)
{
    TempFolder t;
    t.Write("P\\a.exe", "A");
    t.Write("P\\readme", "R");
    t.Write("P\\sub\\deep\\d.dat", "D");
    t.Write("P\\empty\\.keep", "");
    t.Write("Q\\x.dll", "X");
    t.Write("out\\x.dll", "old");

    auto r = platform::DirectCopy(List({t.Path("P\\*.*")}) + t.Path("Q\\x.dll") + '\0', List({t.Path("out")}));
    EXPECT_EQ(r.code, 0);
    EXPECT_FALSE(r.aborted);
    EXPECT_EQ(t.Read("out\\a.exe"), "A");
    EXPECT_EQ(t.Read("out\\readme"), "R");
    EXPECT_EQ(t.Read("out\\sub\\deep\\d.dat"), "D");
    EXPECT_TRUE(fs::exists(t.Native("out/empty/.keep")));
    EXPECT_EQ(t.Read("out\\x.dll"), "old");  // behind the list's end: not seen

    // Files by name into a folder made on the way; a file listed twice is copied twice, even
    // when its first copy came out read-only.
    t.Write("R\\ro.txt", "first");
    fs::permissions(t.Native("R/ro.txt"), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
#ifdef _WIN32
    SetFileAttributesW(t.Native("R/ro.txt").wstring().c_str(), FILE_ATTRIBUTE_READONLY);
#endif
    r = platform::DirectCopy(List({t.Path("Q\\x.dll"), t.Path("R\\ro.txt"), t.Path("R\\ro.txt")}),
                             List({t.Path("new\\files")}));
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(t.Read("new\\files\\x.dll"), "X");
    EXPECT_EQ(t.Read("new\\files\\ro.txt"), "first");

    // The first missing source ends the copy with the system's reason.
    r = platform::DirectCopy(List({t.Path("Q\\x.dll"), t.Path("gone.exe"), t.Path("P\\a.exe")}),
                             List({t.Path("third")}));
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.aborted);
    EXPECT_EQ(t.Read("third\\x.dll"), "X");
    EXPECT_FALSE(fs::exists(t.Native("third/a.exe")));
    // A pattern in a missing folder is a missing path, not an empty copy.
    r = platform::DirectCopy(List({t.Path("nowhere\\*.*")}), List({t.Path("fourth")}));
    EXPECT_NE(r.code, 0);
#ifdef _WIN32
    SetFileAttributesW(t.Native("R/ro.txt").wstring().c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesW(t.Native("new/files/ro.txt").wstring().c_str(), FILE_ATTRIBUTE_NORMAL);
#endif
}

#ifndef _WIN32
// The kernel-side copy: large files whole, permission bits kept, replacing a longer file, a
// folder copied into itself refused without emptying the source, a pipe refused (not waited on).
TEST(Shell, PosixCopyKeepsBytesAndModesAndRefusesWhatItCannotCopy)
{
    TempFolder t;
    std::string big(3 << 20, '\0');
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 131 % 251);
    t.Write("P\\big.bin", big);
    t.Write("P\\tool", "#!/bin/sh\n");
    fs::permissions(t.Native("P/tool"), fs::perms::owner_all | fs::perms::group_read);
    t.Write("P\\sub\\x.dat", "X");
    t.Write("out\\P\\big.bin", std::string(5 << 20, 'o'));  // longer than the new one

    auto r = platform::DirectCopy(List({t.Path("P")}), List({t.Path("out")}));
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(t.Read("out\\P\\big.bin"), big);
    EXPECT_EQ(t.Read("out\\P\\sub\\x.dat"), "X");
    EXPECT_EQ(fs::status(t.Native("out/P/tool")).permissions(), fs::perms::owner_all | fs::perms::group_read);

    r = platform::DirectCopy(List({t.Path("P\\big.bin")}), List({t.Path("P")}));
    EXPECT_NE(r.code, 0);
    EXPECT_EQ(t.Read("P\\big.bin"), big);

    fs::create_directories(t.Native("Q"));
    ASSERT_EQ(mkfifo(t.Native("Q/pipe").c_str(), 0600), 0);
    r = platform::DirectCopy(List({t.Path("Q")}), List({t.Path("out")}));
    EXPECT_NE(r.code, 0);
    EXPECT_TRUE(r.aborted);
}

// Removing a tree goes down its folders but never through a link: what a link points at stays.
TEST(Folders, PosixRemoveTreeTakesLinksNotWhatTheyPointAt)
{
    TempFolder t;
    t.Write("keep\\precious.txt", "P");
    t.Write("old\\a\\b\\c.txt", "C");
    t.Write("old\\d.txt", "D");
    fs::create_directory_symlink(t.Native("keep"), t.Native("old/a/link"));
    fs::create_symlink(t.Native("keep/precious.txt"), t.Native("old/file-link"));

    EXPECT_EQ(platform::RemoveTree(t.Path("old")), 0u);
    EXPECT_FALSE(fs::exists(fs::symlink_status(t.Native("old"))));
    EXPECT_EQ(t.Read("keep\\precious.txt"), "P");
    EXPECT_EQ(platform::RemoveTree(t.Path("old")), 0u);  // gone already: nothing to do
}
#endif

TEST(Overrides, SpecialFoldersCanBeSetForGood)
{
    platform::SetSpecialFolder(platform::kCsidlWindows, "C:\\WINDOWS");
    platform::SetSpecialFolder(platform::kCsidlSystem, "C:\\WINDOWS\\system32");
    std::string windows, system;
    ASSERT_TRUE(platform::SpecialFolderPath(0, platform::kCsidlWindows, windows));
    ASSERT_TRUE(platform::SpecialFolderPath(0, platform::kCsidlSystem, system));
    EXPECT_EQ(windows, "C:\\WINDOWS");
    EXPECT_EQ(system, "C:\\WINDOWS\\system32");
    platform::SetSpecialFolder(platform::kCsidlWindows, "");
    platform::SetSpecialFolder(platform::kCsidlSystem, "");
#ifndef _WIN32
    EXPECT_FALSE(platform::SpecialFolderPath(0, platform::kCsidlSystem, system));
#endif
}

TEST(Overrides, ProgramAndSpecialFoldersAndShellOpen)
{
    platform::SetProgramFolderForTesting("C:\\Tools");
    EXPECT_EQ(platform::ProgramFolder(), "C:\\Tools");
    platform::SetProgramFolderForTesting("");
    EXPECT_FALSE(platform::ProgramFolder().empty());
    EXPECT_NE(platform::ProgramFolder(), "C:\\Tools");

    platform::SetSpecialFolderForTesting(platform::kCsidlSystem, "D:\\Sys");
    std::string p;
    ASSERT_TRUE(platform::SpecialFolderPath(0, platform::kCsidlSystem, p));
    EXPECT_EQ(p, "D:\\Sys");
    platform::SetSpecialFolderForTesting(platform::kCsidlSystem, "");
#ifdef _WIN32
    ASSERT_TRUE(platform::SpecialFolderPath(0, platform::kCsidlSystem, p));
    EXPECT_NE(platform::UpperCase(p).find("SYSTEM32"), std::string::npos) << p;
#else
    EXPECT_FALSE(platform::SpecialFolderPath(0, platform::kCsidlSystem, p));
#endif

    std::string seen;
    platform::SetShellOpenHookForTesting([&](NativeHandle, std::string_view verb, std::string_view file,
                                             std::string_view) { seen = std::string(verb) + "|" + std::string(file); });
    platform::ShellOpen(0, "explore", "D:\\Out\\Tool", "");
    platform::SetShellOpenHookForTesting({});
    EXPECT_EQ(seen, "explore|D:\\Out\\Tool");
}

TEST(Prompt, InstalledPromptSeesMessages)
{
    struct Recorder : platform::iPrompt {
        std::string last;
        unsigned style = 0;
        int Show(NativeHandle, std::string_view text, std::string_view title, unsigned s) override
        {
            last = std::string(title) + ": " + std::string(text);
            style = s;
            return platform::kIdCancel;
        }
    } rec;
    platform::iPrompt* before = platform::SetPrompt(&rec);
    EXPECT_EQ(platform::ShowMessage(0, "Hello", "Attention", platform::kMbOkCancel | platform::kMbIconWarning),
              platform::kIdCancel);
    platform::SetPrompt(before);
    EXPECT_EQ(rec.last, "Attention: Hello");
    EXPECT_EQ(rec.style, 0x31u);
}

TEST(Folders, ListMoveRemoveAndTemporaryFolders)
{
    TempFolder t;
    t.Write("old\\a.txt", "A");
    t.Write("old\\sub\\b.txt", "B");
    t.Write("other\\c.txt", "C");
    std::vector<platform::FolderEntry> entries;
    ASSERT_EQ(platform::ListFolder(t.Path("old"), entries), 0u);
    std::sort(entries.begin(), entries.end(), [](auto& x, auto& y) { return x.name < y.name; });
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "a.txt");
    EXPECT_FALSE(entries[0].folder);
    EXPECT_EQ(entries[1].name, "sub");
    EXPECT_TRUE(entries[1].folder);
    EXPECT_NE(platform::ListFolder(t.Path("missing"), entries), 0u);

    // A move never replaces: the target and the source stay as they were.
    EXPECT_EQ(platform::MoveFolder(t.Path("old"), t.Path("other")), 183u);
    EXPECT_EQ(t.Read("other\\c.txt"), "C");
    EXPECT_EQ(t.Read("old\\sub\\b.txt"), "B");
    EXPECT_EQ(platform::MoveFolder(t.Path("old"), t.Path("new")), 0u);
    EXPECT_EQ(t.Read("new\\sub\\b.txt"), "B");
    EXPECT_FALSE(fs::exists(t.Native("old")));
    EXPECT_NE(platform::MoveFolder(t.Path("old"), t.Path("again")), 0u);

    std::string temp1, temp2;
    ASSERT_EQ(platform::MakeTempFolder(t.Path(), "~kw", temp1), 0u);
    ASSERT_EQ(platform::MakeTempFolder(t.Path(), "~kw", temp2), 0u);
    EXPECT_NE(temp1, temp2);
    EXPECT_EQ(temp1.rfind(t.Path("~kw"), 0), 0u) << temp1;
    EXPECT_LE(temp1.size(), t.Path().size() + 12);
    EXPECT_TRUE(fs::is_directory(t.Native(temp1.substr(t.Path().size() + 1))));
    EXPECT_NE(platform::MakeTempFolder(t.Path("missing"), "~kw", temp1), 0u);

    // Read-only files go too.
    fs::permissions(t.Native("new/a.txt"), fs::perms::owner_read);
#ifdef _WIN32
    SetFileAttributesW(t.Native("new/a.txt").wstring().c_str(), FILE_ATTRIBUTE_READONLY);
#endif
    EXPECT_EQ(platform::RemoveTree(t.Path("new")), 0u);
    EXPECT_FALSE(fs::exists(t.Native("new")));
    EXPECT_EQ(platform::RemoveTree(t.Path("new")), 0u);
    EXPECT_TRUE(fs::exists(t.Native("other/c.txt")));
}

TEST(Folders, AFailureSetUpByATestHappensOnceAtItsPlace)
{
    TempFolder t;
    t.Write("src\\a", "A");
    t.Write("src\\b", "B");
    t.Write("src\\c", "C");
    // Two operations pass, the third (the copy's second source) fails, then all is normal again.
    platform::SetFailureForTesting(2, 112);
    EXPECT_TRUE(platform::FailurePendingForTesting());
    EXPECT_EQ(platform::CreateFolderTree(0, t.Path("out")), 0);
    auto r =
        platform::ShellCopy(0, List({t.Path("src\\a"), t.Path("src\\b"), t.Path("src\\c")}), List({t.Path("out")}));
    EXPECT_EQ(r.code, 112);
    EXPECT_TRUE(r.aborted);
    EXPECT_FALSE(platform::FailurePendingForTesting());
    EXPECT_EQ(t.Read("out\\a"), "A");
    EXPECT_FALSE(fs::exists(t.Native("out/b")));
    std::string err;
    EXPECT_EQ(platform::WriteFileWhole(t.Path("out\\d"), "D", &err), 0u);

    platform::SetFailureForTesting(0, 32);
    EXPECT_EQ(platform::WriteFileWhole(t.Path("out\\e"), "E", &err), 32u);
    EXPECT_EQ(err, platform::ErrorText(32));
    EXPECT_FALSE(fs::exists(t.Native("out/e")));
    platform::SetFailureForTesting(0, 5);
    EXPECT_EQ(platform::MoveFolder(t.Path("out"), t.Path("moved")), 5u);
    EXPECT_TRUE(fs::exists(t.Native("out/d")));
    platform::SetFailureForTesting(3, 5);
    platform::SetFailureForTesting(0, 0);  // called off
    EXPECT_FALSE(platform::FailurePendingForTesting());
    EXPECT_EQ(platform::RemoveTree(t.Path("out")), 0u);
}

TEST(DryRun, CapturedWritesAndFoldersLeaveTheDiskAlone)
{
    TempFolder t;
    t.Write("keep.txt", "old");
    {
        platform::FileCapture outer;
        EXPECT_EQ(platform::CreateFolderTree(0, t.Path("Out\\Tool\\files")), 0);
        EXPECT_EQ(platform::WriteFileWhole(t.Path("keep.txt"), "new"), 0u);
        {
            platform::FileCapture inner;
            EXPECT_EQ(platform::RewriteFile(t.Path("inner.ini"), "[x]"), 0u);
            EXPECT_EQ(inner.Files().size(), 1u);
        }
        EXPECT_EQ(platform::WriteFileWhole("C:\\Nowhere\\x.inf", "bytes"), 0u);
        EXPECT_EQ(outer.Folders(), std::vector<std::string>{t.Path("Out\\Tool\\files")});
        EXPECT_EQ(outer.Files(),
                  (std::map<std::string, std::string>{{t.Path("keep.txt"), "new"}, {"C:\\Nowhere\\x.inf", "bytes"}}));
    }
    EXPECT_EQ(t.Read("keep.txt"), "old");
    EXPECT_FALSE(fs::exists(t.Native("Out")));
    EXPECT_FALSE(fs::exists(t.Native("inner.ini")));
    EXPECT_EQ(platform::WriteFileWhole(t.Path("keep.txt"), "now"), 0u);
    EXPECT_EQ(t.Read("keep.txt"), "now");
}
