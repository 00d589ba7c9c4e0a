#include "ModelTestSupport.h"

using namespace kw;
using namespace kwtest;

namespace {

std::vector<std::string> Values(const clsKitwright& kw)
{
    std::vector<std::string> out;
    for (int i = 1; i <= kw.ProgramFileCount(); ++i)
        out.push_back(kw.ProgramFileAll(i));
    return out;
}

// Relative paths of everything below a folder, "/"-separated, sorted.
std::vector<std::string> Tree(const std::string& folder)
{
    std::vector<std::string> out;
    std::error_code ec;
    const fs::path base = ToFs(folder);
    for (const auto& e : fs::recursive_directory_iterator(base, ec)) {
        std::u8string rel = e.path().lexically_relative(base).generic_u8string();
        out.emplace_back(rel.begin(), rel.end());
    }
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace

class Creation : public PluginModelTest {
protected:
    std::string Files() const { return out + "\\Tool\\files"; }
};

TEST_F(Creation, MakesThePluginFolderOnceOnly)
{
    clsKitwright& kw = *model;
    EXPECT_EQ(kw.CreatePlugin(), 0);
    EXPECT_TRUE(fs::is_directory(ToFs(Files())));
    kw.Executable(0, "C:\\P\\late.exe");
    EXPECT_EQ(kw.CreatePlugin(), 183);
    EXPECT_EQ(kw.ProgramFileCount(), 0);  // a failed call changes nothing
}

TEST_F(Creation, ExistingPluginFolderWithoutFilesIsFine)
{
    fs::create_directories(ToFs(out + "\\Tool"));
    EXPECT_EQ(model->CreatePlugin(), 0);
    EXPECT_TRUE(fs::is_directory(ToFs(Files())));
}

TEST_F(Creation, RelativeLocationIsPassedOn)
{
    model->PluginLocation("");
    EXPECT_EQ(model->CreatePlugin(), 161);
}

TEST_F(Creation, ListedFilesAreTheProgramFilesAndExecutablesSorted)
{
    clsKitwright& kw = *model;
    kw.AddFile(fcProgramFiles, "C:\\P\\run.exe");
    kw.AddFile(fcProgramFiles, "C:\\P\\Zeta.dll");
    kw.Executable(0, "C:\\P\\b.exe");
    kw.Executable(1, "C:\\P\\a.exe");
    kw.Executable(5, "D:\\Q\\run.exe");  // same name as a listed file: left out
    ASSERT_EQ(kw.CreatePlugin(), 0);
    std::vector<std::string> paths, names;
    for (const clsKitwright::ListedFile& f : kw.ListedFiles()) {
        paths.push_back(f.path);
        names.push_back(f.name);
    }
    EXPECT_EQ(paths, (std::vector<std::string>{"C:\\P\\a.exe", "C:\\P\\b.exe", "C:\\P\\run.exe", "C:\\P\\Zeta.dll"}));
    EXPECT_EQ(names, (std::vector<std::string>{"a.exe", "b.exe", "run.exe", "Zeta.dll"}));
    // The program-file list is the user's, in the user's order.
    EXPECT_EQ(Values(kw), (std::vector<std::string>{"C:\\P\\run.exe", "C:\\P\\Zeta.dll"}));
    EXPECT_TRUE(prompt.shown.empty());
}

TEST(FileNames, ValidAndInvalidNames)
{
    for (const char* bad : {"",    "a\\b",      "a/b",     "a:b",  "a*",       "a?",    "a\"b",  "a<b",     "a>b",
                            "a|b", "tab\there", "nl\n",    ".",    "..",       "name.", "name ", "CON",     "con",
                            "Prn", "AUX",       "nul.txt", "COM1", "com9.log", "LPT1",  "lpt9",  "Con .txt"})
        EXPECT_FALSE(clsKitwright::IsValidFileName(bad)) << '"' << bad << '"';
    for (const char* good : {"Tool", "Tool v1.2", ".hidden", "CONSOLE", "com0", "COM10", "LPT", "nul_x", " lead",
                             "\xC3\xA9t\xC3\xA9", "a.b.c"})
        EXPECT_TRUE(clsKitwright::IsValidFileName(good)) << '"' << good << '"';
    EXPECT_TRUE(clsKitwright::IsValidFileName(std::string(255, 'n')));
    EXPECT_FALSE(clsKitwright::IsValidFileName(std::string(256, 'n')));
}

TEST_F(Creation, BadPluginNameIsRefusedBeforeTheDisk)
{
    clsKitwright& kw = *model;
    kw.Executable(0, "C:\\P\\a.exe");
    for (const char* bad : {"", "a\\b", "..", "CON", "x.", "sub/dir"}) {
        kw.PluginName(bad);
        EXPECT_EQ(kw.CreatePlugin(), 123) << bad;
    }
    EXPECT_TRUE(Tree(out).empty());
    EXPECT_EQ(kw.ProgramFileCount(), 0);
}

TEST_F(Creation, ScriptNamesMustBeValidAndDistinct)
{
    clsKitwright& kw = *model;
    kw.Executable(0, "C:\\P\\a.exe");
    kw.Executable(1, "C:\\P\\b.exe");
    kw.ShortcutName(0, "a:b");
    // No script for slot 0 yet: its shortcut name does not matter.
    kw.IncJuxDesktop(0, cvChecked);
    kw.IncRamdisk(2, cvChecked);  // a free slot gets no script
    kw.ShortcutName(2, "bad|name");

    kw.IncRamdisk(0, cvChecked);
    EXPECT_EQ(kw.CreatePlugin(), 123);
    kw.IncRamdisk(0, cvUnchecked);
    kw.IncAutorun(0, cvChecked);
    EXPECT_EQ(kw.CreatePlugin(), 123);
    kw.ShortcutName(0, "");
    EXPECT_EQ(kw.CreatePlugin(), 123);

    kw.ShortcutName(0, "A");
    kw.ShortcutName(1, "a");
    kw.IncAutorun(1, cvChecked);  // autorun_A.cmd and autorun_a.cmd are one file
    EXPECT_EQ(kw.CreatePlugin(), 123);
    kw.IncAutorun(1, cvUnchecked);
    kw.IncRamdisk(0, cvChecked);
    kw.IncRamdisk(1, cvChecked);
    EXPECT_EQ(kw.CreatePlugin(), 123);
    EXPECT_TRUE(Tree(out).empty());
    EXPECT_EQ(kw.ProgramFileCount(), 0);

    // Without the Programs destination no ramdisk scripts are made: only autorun_A.cmd.
    kw.ProgramFilesDest(dstSystem32);
    EXPECT_EQ(kw.CreatePlugin(), 0);
    EXPECT_EQ(kw.ListedFiles().size(), 2u);
}

TEST_F(Creation, IndividualFilesAreCopiedFlatWithTheExecutables)
{
    clsKitwright& kw = *model;
    const std::string a = MakeFile("src\\one\\a.txt", "A");
    const std::string b = MakeFile("src\\two\\b.dat", "B");
    const std::string listed = MakeFile("src\\one\\run.exe", "listed");
    const std::string exe = MakeFile("other\\run.exe", "executable");
    kw.AddFile(fcProgramFiles, a);
    kw.AddFile(fcProgramFiles, b);
    kw.AddFile(fcProgramFiles, listed);
    kw.Executable(0, exe);
    ASSERT_EQ(kw.CreatePlugin(), 0);
    EXPECT_EQ(kw.ProgramFileCount(), 3);
    EXPECT_TRUE(kw.CopyFiles());
    EXPECT_EQ(Tree(Files()), (std::vector<std::string>{"a.txt", "b.dat", "run.exe"}));
    EXPECT_EQ(ReadAll(Files() + "\\run.exe"), "executable");  // the executable is copied last
    EXPECT_EQ(ReadAll(Files() + "\\a.txt"), "A");

    // Existing files are replaced without a question.
    WriteAll(a, "A2");
    EXPECT_TRUE(kw.CopyFiles());
    EXPECT_EQ(ReadAll(Files() + "\\a.txt"), "A2");
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(Creation, FolderTreeCopiesTheWholeTreeButNoExecutables)
{
    clsKitwright& kw = *model;
    MakeFile("prog1\\main.exe", "m");
    MakeFile("prog1\\noext", "n");
    MakeFile("prog1\\data\\deep\\x.bin", "x");
    MakeFile("prog1\\caf\xC3\xA9.txt", "c");  // café.txt
    fs::create_directories(ToFs(root + "\\prog1\\empty"));
    const std::string outside = MakeFile("other\\x.exe", "o");
    kw.CopyOption(coFolderTree);
    kw.ProgramFolder(root + "\\prog1");
    kw.Executable(0, outside);
    ASSERT_EQ(kw.CreatePlugin(), 0);
    EXPECT_TRUE(kw.CopyFiles());
    EXPECT_EQ(Tree(Files()), (std::vector<std::string>{"caf\xC3\xA9.txt", "data", "data/deep", "data/deep/x.bin",
                                                       "empty", "main.exe", "noext"}));
    EXPECT_EQ(ReadAll(Files() + "\\data\\deep\\x.bin"), "x");
}

TEST_F(Creation, FolderTreeWithoutAFolderCopiesTheExecutables)
{
    clsKitwright& kw = *model;
    kw.CopyOption(coFolderTree);
    kw.Executable(3, MakeFile("other\\x.exe", "o"));
    ASSERT_EQ(kw.CreatePlugin(), 0);
    EXPECT_TRUE(kw.CopyFiles());
    EXPECT_EQ(Tree(Files()), std::vector<std::string>{"x.exe"});
}

TEST_F(Creation, NothingToCopyIsFalse)
{
    ASSERT_EQ(model->CreatePlugin(), 0);
    EXPECT_FALSE(model->CopyFiles());
    model->CopyOption(coFolderTree);
    EXPECT_FALSE(model->CopyFiles());
    EXPECT_TRUE(Tree(Files()).empty());
}

TEST_F(Creation, VanishedSourceMakesTheCopyFail)
{
    clsKitwright& kw = *model;
    kw.AddFile(fcProgramFiles, MakeFile("src\\gone.txt"));
    ASSERT_EQ(kw.CreatePlugin(), 0);
    fs::remove(ToFs(root + "\\src\\gone.txt"));
    EXPECT_FALSE(kw.CopyFiles());
    EXPECT_NE(kw.LastCopyError(), 0);
    EXPECT_NE(platform::CopyErrorText(kw.LastCopyError()), "");

    // A folder tree that is gone says so; a copy that works clears the reason.
    kw.CopyOption(coFolderTree);
    kw.ProgramFolder(root + "\\nowhere");
    EXPECT_FALSE(kw.CopyFiles());
    EXPECT_EQ(kw.LastCopyError(), 3);
    MakeFile("tree\\a.txt");
    kw.ProgramFolder(root + "\\tree");
    EXPECT_TRUE(kw.CopyFiles());
    EXPECT_EQ(kw.LastCopyError(), 0);
}

TEST_F(Creation, ShellOpensThePluginFolderAndTheReadMe)
{
    std::vector<std::string> opens;
    platform::SetShellOpenHookForTesting(
        [&](NativeHandle owner, std::string_view verb, std::string_view file, std::string_view dir) {
            opens.push_back(std::to_string(owner) + "|" + std::string(verb) + "|" + std::string(file) + "|" +
                            std::string(dir));
        });
    model->OpenPlugin(42);
    model->ShowHelp(7);
    EXPECT_EQ(opens, (std::vector<std::string>{"42|explore|" + out + "\\Tool|", "7||Kitwright.txt|" + programFolder}));
}
