// What CreatePlugin refuses before it touches the disk, and what it says about it.
#include "ModelTestSupport.h"

using namespace kw;
using namespace kwtest;

namespace {

constexpr const char* kOmega = "\xCE\xA9";  // a letter code page 1252 lacks

std::size_t Units(const std::string& utf8)
{
    std::size_t n = 0;
    for (unsigned char c : utf8)
        n += (c & 0xC0) != 0x80 ? (c >= 0xF0 ? 2 : 1) : 0;
    return n;
}

bool Empty(const std::string& folder)
{
    std::error_code ec;
    return fs::is_empty(ToFs(folder), ec);
}

class CreateChecks : public PluginModelTest {
protected:
    // A plugins folder below out whose plugin folder path ("...\Tool\") has this length.
    std::string LocationForPluginFolderOf(std::size_t length)
    {
        std::size_t fixed = Units(out) + 1 + std::string("\\Tool\\").size();
        return out + "\\" + std::string(length - fixed, 'p');
    }
};

TEST_F(CreateChecks, ScriptsAreJudgedByTheirRealFileNames)
{
    clsKitwright& kw = *model;
    kw.Executable(0, "C:\\P\\a.exe");
    kw.Executable(1, "C:\\P\\b.exe");
    kw.IncAutorun(0, cvChecked);
    kw.IncRamdisk(1, cvChecked);
    // Device names and a trailing dot are fine inside autorun_{name}.cmd.
    kw.ShortcutName(0, "CON");
    kw.ShortcutName(1, "x.");
    EXPECT_EQ(kw.CreatePlugin(), 0);
    EXPECT_TRUE(kw.LastCreateProblems().empty());

    // A name that makes the script's file name longer than 255: refused, nothing made.
    fs::remove_all(ToFs(out + "\\Tool"));
    kw.PluginName("Other");
    const std::string longName(250, 's');
    kw.ShortcutName(1, longName);
    const int before = kw.ProgramFileCount();
    EXPECT_EQ(kw.CreatePlugin(), 123);
    EXPECT_EQ(kw.LastCreateProblems(), std::vector<std::string>{longName});
    EXPECT_TRUE(Empty(out));
    EXPECT_EQ(kw.ProgramFileCount(), before);
    kw.PluginName("a|b");
    EXPECT_EQ(kw.CreatePlugin(), 123);
    EXPECT_EQ(kw.LastCreateProblems(), (std::vector<std::string>{"a|b", longName}));
}

TEST_F(CreateChecks, EveryFileMustFitThePathLimit)
{
    clsKitwright& kw = *model;
    // The plugin folder at 240 units: Tool.inf fits, the writer's temporary file beside it not.
    kw.PluginLocation(LocationForPluginFolderOf(240));
    EXPECT_EQ(kw.CreatePlugin(), 206);
    EXPECT_EQ(kw.LastCreateProblems(), std::vector<std::string>{kw.PluginLocation() + "Tool\\Tool.inf"});
    EXPECT_TRUE(Empty(out));
    kw.PluginLocation(LocationForPluginFolderOf(239));
    EXPECT_EQ(kw.CreatePlugin(), 0);
    EXPECT_TRUE(kw.LastCreateProblems().empty());

    // Files to be copied and scripts land in files\, 6 units deeper.
    fs::remove_all(ToFs(out));
    fs::create_directories(ToFs(out));
    kw.PluginLocation(out);
    const std::string wide = std::string(120, 'w') + ".dll";
    const std::string tooWide = std::string(259 - Units(out + "\\Tool\\files\\") + 1 - 4, 'w') + ".dll";
    kw.AddFile(fcProgramFiles, "C:\\P\\" + wide);
    kw.AddFile(fcProgramFiles, "C:\\P\\" + tooWide);
    EXPECT_EQ(kw.CreatePlugin(), 206);
    EXPECT_EQ(kw.LastCreateProblems(), std::vector<std::string>{out + "\\Tool\\files\\" + tooWide});
    // A folder tree is copied instead: the list is not copied, nothing too long is left.
    kw.CopyOption(coFolderTree);
    kw.ProgramFolder("C:\\P");
    EXPECT_EQ(kw.CreatePlugin(), 0);
    fs::remove_all(ToFs(out + "\\Tool"));
    kw.Executable(0, "C:\\P\\run.exe");
    kw.IncAutorun(0, cvChecked);
    kw.ShortcutName(0, std::string(200, 'r'));
    EXPECT_EQ(kw.CreatePlugin(), 206);
    EXPECT_EQ(kw.LastCreateProblems(),
              std::vector<std::string>{out + "\\Tool\\files\\autorun_" + std::string(200, 'r') + ".cmd"});
    EXPECT_TRUE(Empty(out));
    EXPECT_EQ(kw.ProgramFileCount(), 2);  // the executable did not join the list
}

TEST_F(CreateChecks, NamesTheAnsiFilesCannotHoldAreRefused)
{
    clsKitwright& kw = *model;
    const std::string omega = std::string(kOmega) + "mega";
    kw.PluginName(omega);
    // Texts that are only shown do not matter; accented letters the code page has are fine.
    kw.ProgramName(omega + " tool");
    kw.Description(omega);
    kw.AddFile(fcProgramFiles, "C:\\P\\Caf\xC3\xA9.dll");
    kw.AddFile(fcProgramFiles, "C:\\P\\" + omega + ".dll");
    kw.SystemFilesDest(dstSystem32);
    kw.AddFile(fcSystemFiles, systemFolder + "\\" + omega + ".sys");
    kw.Executable(0, "C:\\P\\\xE6\x97\xA5\xE6\x9C\xAC.exe");
    kw.Executable(1, "C:\\P\\run.exe");
    kw.ShortcutName(1, omega + " run");
    kw.IncAutorun(1, cvChecked);
    kw.ShortcutName(0, omega + " desk");  // no script for slot 0: its shortcut name is only shown
    kw.IncJuxDesktop(0, cvChecked);
    ASSERT_EQ(kw.SystemFileCount(), 1);
    EXPECT_EQ(kw.CreatePlugin(), 1113);
    EXPECT_EQ(kw.LastCreateProblems(), (std::vector<std::string>{omega, omega + ".dll", omega + ".sys",
                                                                 "\xE6\x97\xA5\xE6\x9C\xAC.exe", omega + " run"}));
    EXPECT_TRUE(Empty(out));
    EXPECT_EQ(kw.ProgramFileCount(), 2);

    kw.PluginName("Omega");
    kw.ClearProgramFiles();
    kw.ClearSystemFiles();
    kw.ClearExecutables();
    EXPECT_EQ(kw.CreatePlugin(), 0);
    EXPECT_TRUE(kw.LastCreateProblems().empty());
}

TEST_F(CreateChecks, APluginsFolderBeyondTheCodePageComesBackWhole)
{
    const std::string odd = root + "\\" + kOmega + " plugins 100%";
    {
        clsKitwright kw;
        kw.PluginLocation(odd);
        EXPECT_EQ(kw.PluginLocation(), odd + "\\");
    }
    EXPECT_EQ(clsKitwright().PluginLocation(), odd + "\\");
    {
        clsKitwright kw;
        kw.PluginName("Tool");
        EXPECT_EQ(kw.CreatePlugin(), 0);
        EXPECT_TRUE(fs::is_directory(ToFs(odd + "\\Tool\\files")));
    }
    // The ordinary case writes what it always wrote, and the escaped copy goes.
    clsKitwright().PluginLocation("D:\\Caf\xC3\xA9");
    const std::string bytes = ReadAll(iniFile);
    EXPECT_NE(bytes.find("\r\nPluginPath=D:\\Caf\xE9\r\n"), std::string::npos) << bytes;
    EXPECT_EQ(bytes.find("PluginPathUtf8"), std::string::npos) << bytes;
    EXPECT_EQ(clsKitwright().PluginLocation(), "D:\\Caf\xC3\xA9\\");

    // A hand edit of PluginPath wins over an escaped copy that no longer matches it.
    clsKitwright().PluginLocation(odd);
    std::string edited = ReadAll(iniFile);
    const std::size_t at = edited.find("PluginPath=");
    ASSERT_NE(at, std::string::npos);
    edited.replace(at, edited.find("\r\n", at) - at, "PluginPath=E:\\Plugins");
    WriteAll(iniFile, edited);
    EXPECT_EQ(clsKitwright().PluginLocation(), "E:\\Plugins\\");
}

}  // namespace

// The console's check: every problem at once, and the disk untouched.
TEST_F(CreateChecks, CheckCreateListsEveryProblemWithoutTouchingTheDisk)
{
    clsKitwright& kw = *model;
    kw.Executable(0, "C:\\P\\run.exe");
    kw.IncAutorun(0, cvChecked);
    kw.ShortcutName(0, "x|y");
    const std::string omega = std::string(kOmega) + "mega.dll";
    kw.AddFile(fcProgramFiles, "C:\\P\\" + omega);
    const std::string tooWide1 = std::string(259 - Units(out + "\\Tool\\files\\") + 1 - 4, 'w') + ".dll";
    const std::string tooWide2 = std::string(259 - Units(out + "\\Tool\\files\\") + 1 - 4, 'v') + ".dll";
    kw.AddFile(fcProgramFiles, "C:\\P\\" + tooWide1);
    kw.AddFile(fcProgramFiles, "D:\\Q\\" + tooWide2);

    const std::vector<CreateProblem> expected = {
        {123, "x|y"},
        {1113, omega},
        {206, out + "\\Tool\\files\\" + tooWide1},
        {206, out + "\\Tool\\files\\" + tooWide2},
    };
    EXPECT_EQ(kw.CheckCreate(), expected);
    EXPECT_TRUE(Empty(out));
    // CreatePlugin answers with the first kind only.
    EXPECT_EQ(kw.CreatePlugin(), 123);
    EXPECT_EQ(kw.LastCreateProblems(), std::vector<std::string>{"x|y"});
    kw.ShortcutName(0, "Run");
    kw.ClearProgramFiles();
    kw.AddFile(fcProgramFiles, "C:\\P\\" + tooWide1);
    kw.AddFile(fcProgramFiles, "D:\\Q\\" + tooWide2);
    EXPECT_EQ(kw.CheckCreate().size(), 2u);
    EXPECT_EQ(kw.CreatePlugin(), 206);
    EXPECT_EQ(kw.LastCreateProblems(), std::vector<std::string>{out + "\\Tool\\files\\" + tooWide1});
    EXPECT_TRUE(Empty(out));

    // A plugin folder too long for the system: that one path, not every file below it.
    kw.ClearProgramFiles();
    kw.PluginLocation(LocationForPluginFolderOf(250));
    const std::vector<CreateProblem> folderOnly = {{206, kw.PluginLocation() + "Tool\\files"}};
    EXPECT_EQ(kw.CheckCreate(), folderOnly);
    kw.PluginLocation(out);
    EXPECT_TRUE(kw.CheckCreate().empty());
    EXPECT_TRUE(Empty(out));
}

TEST_F(CreateChecks, MissingCopySourcesAreWhatCopyFilesWouldMiss)
{
    clsKitwright& kw = *model;
    const std::string here = MakeFile("P\\here.dll");
    const std::string run = MakeFile("P\\run.exe");
    kw.AddFile(fcProgramFiles, here);
    kw.AddFile(fcProgramFiles, root + "\\P\\gone.dll");
    kw.Executable(0, run);
    kw.Executable(1, root + "\\Q\\lost.exe");
    EXPECT_EQ(kw.MissingCopySources(), (std::vector<std::string>{root + "\\P\\gone.dll", root + "\\Q\\lost.exe"}));

    // A tree is copied instead of the list and the executables: only its folder counts.
    kw.CopyOption(coFolderTree);
    kw.ProgramFolder(root + "\\P");
    EXPECT_TRUE(kw.MissingCopySources().empty());
    kw.ProgramFolder(root + "\\Nowhere");
    EXPECT_EQ(kw.MissingCopySources(), std::vector<std::string>{root + "\\Nowhere\\"});
    // Without a folder the tree mode copies the executables.
    kw.ClearProgramFiles();
    EXPECT_EQ(kw.MissingCopySources(), std::vector<std::string>{root + "\\Q\\lost.exe"});
    EXPECT_TRUE(Empty(out));
}
