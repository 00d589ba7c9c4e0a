#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "model/clsKitwright.h"
#include "platform/Platform.h"
#include "writers/WriteError.h"
#include "writers/WritePlugin.h"
#include "writers/modHtm.h"
#include "writers/modInf.h"
#include "writers/modRam.h"
#include "writers/modRun.h"
#include "writers/modXml.h"

namespace fs = std::filesystem;
using namespace kw;

namespace {

std::string Utf8(const fs::path& p)
{
    auto s = p.u8string();
    return std::string(s.begin(), s.end());
}

fs::path PathOf(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

fs::path DataDir()
{
    std::string dir = KW_WRITERS_DATA;
#ifdef _WIN32
    if (dir.starts_with('/'))
        dir = "Z:" + dir;
#endif
    return PathOf(dir);
}

std::string ReadBytes(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Relative names ("files/x.cmd") of every file below a folder, sorted.
std::vector<std::string> FilesBelow(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (e.is_regular_file())
            names.push_back(Utf8(e.path().lexically_relative(folder).generic_u8string()));
    std::sort(names.begin(), names.end());
    return names;
}

// Byte equality, reported as the first differing line (lines keep their CR).
void ExpectSameBytes(const std::string& expected, const std::string& actual, const std::string& name)
{
    if (expected == actual)
        return;
    std::istringstream e(expected), a(actual);
    std::string le, la;
    for (int line = 1;; ++line) {
        bool me = bool(std::getline(e, le)), ma = bool(std::getline(a, la));
        if (!me && !ma)
            break;
        if (me != ma || le != la) {
            ADD_FAILURE() << name << ": first difference at line " << line
                          << "\n expected: " << (me ? ::testing::PrintToString(le) : "<end of file>")
                          << "\n   actual: " << (ma ? ::testing::PrintToString(la) : "<end of file>");
            return;
        }
    }
    ADD_FAILURE() << name << ": same lines, different bytes (final line ending?)";
}

class RecordingPrompt : public platform::iPrompt {
public:
    int Show(NativeHandle, std::string_view text, std::string_view, unsigned) override
    {
        shown.emplace_back(text);
        return platform::kIdOk;
    }
    std::vector<std::string> shown;
};

class Writers : public ::testing::Test {
protected:
    void SetUp() override
    {
        static int serial = 0;
        root_ = fs::temp_directory_path() /
                ("kw-writers-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                 std::to_string(++serial) + "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "prog");
        fs::create_directories(root_ / "plugins");
        platform::SetProgramFolderForTesting(Utf8(root_ / "prog"));
        platform::SetSpecialFolderForTesting(platform::kCsidlWindows, "C:\\Windows");
        platform::SetSpecialFolderForTesting(platform::kCsidlSystem, "C:\\Windows\\System32");
        oldPrompt_ = platform::SetPrompt(&prompt_);
    }

    void TearDown() override
    {
        EXPECT_TRUE(prompt_.shown.empty()) << "unexpected message: " << prompt_.shown.front();
        model_.reset();
        platform::SetPrompt(oldPrompt_);
        platform::SetSpecialFolderForTesting(platform::kCsidlWindows, "");
        platform::SetSpecialFolderForTesting(platform::kCsidlSystem, "");
        platform::SetProgramFolderForTesting("");
        std::error_code ec;
        for (const auto& e : fs::recursive_directory_iterator(root_, ec))
            fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add, ec);
        fs::remove_all(root_, ec);
    }

    // A model as the main window leaves it: ten slots, both destinations chosen.
    clsKitwright& NewModel(const std::string& pluginName, const std::string& programName)
    {
        model_ = std::make_unique<clsKitwright>();
        clsKitwright& kw = *model_;
        kw.MaxExecutables(9);
        kw.PluginLocation(Utf8(root_ / "plugins"));
        kw.PluginName(pluginName);
        kw.ProgramName(programName);
        kw.ProgramFilesDest(dstPrograms);
        kw.SystemFilesDest(dstSystem32);
        kw.CopyOption(coIndividualFiles);
        kw.IncAuthor(cvUnchecked);
        kw.IncZelMenu(cvUnchecked);
        kw.IncJuxMenu(cvUnchecked);
        kw.ZelFileName(cvUnchecked);
        kw.ZelVersion(zvUpTo0348);
        return kw;
    }

    static void Exe(clsKitwright& kw, int slot, const std::string& path, const std::string& shortcut, bool ramdisk,
                    bool autorun, bool desktop, bool qlaunch)
    {
        if (!path.empty())
            kw.Executable(slot, path);
        kw.ShortcutName(slot, shortcut);
        kw.IncRamdisk(slot, ramdisk ? cvChecked : cvUnchecked);
        kw.IncAutorun(slot, autorun ? cvChecked : cvUnchecked);
        kw.IncJuxDesktop(slot, desktop ? cvChecked : cvUnchecked);
        kw.IncJuxQlaunch(slot, qlaunch ? cvChecked : cvUnchecked);
    }

    fs::path PluginDir() const { return root_ / "plugins" / PathOf(model_->PluginName()); }

    // Runs the whole road of a plugin and compares the folder with tests/data/writers/{name}.
    void CreateAndCompare(const std::string& name, std::vector<std::string> expected)
    {
        ASSERT_EQ(model_->CreatePlugin(), 0);
        WritePluginFiles(*model_);
        std::sort(expected.begin(), expected.end());
        ASSERT_EQ(FilesBelow(PluginDir()), expected);
        for (const std::string& file : expected)
            ExpectSameBytes(ReadBytes(DataDir() / name / PathOf(file)), ReadBytes(PluginDir() / PathOf(file)), file);
    }

    fs::path root_;
    std::unique_ptr<clsKitwright> model_;
    RecordingPrompt prompt_;
    platform::iPrompt* oldPrompt_ = nullptr;
};

// ---- Golden plugins -------------------------------------------------------------------------

// Only names: fixed sections, no author lines, empty [Append] although the Zel menu is on.
// Earlier, longer files of the same names are replaced, not partly overwritten.
TEST_F(Writers, BareModelWritesHeaderAndFixedSectionsOnly)
{
    clsKitwright& kw = NewModel("Bare", "Bare Tool");
    kw.AuthorName("Not Written");
    kw.IncZelMenu(cvChecked);
    kw.IncJuxMenu(cvChecked);
    kw.ZelFileName(cvChecked);
    kw.MenuGroup("Tools");
    fs::create_directories(PluginDir());
    std::ofstream(PluginDir() / "Bare.inf", std::ios::binary) << std::string(5000, 'x');
    std::ofstream(PluginDir() / "Bare.htm", std::ios::binary) << std::string(5000, 'x');
    CreateAndCompare("bare", {"Bare.inf", "Bare.htm"});
}

// Everything on: author block with a mail contact, files of both kinds, ramdisk and autorun
// slots (slot 9 included), every Jux kind, group with sub-group, "_zelmenu.xml", Zel <=0.348,
// names with quotes, commas, ampersands, less-than signs and accented letters.
// Slot 3 has every switch set but no executable: it must not appear anywhere.
TEST_F(Writers, FullPluginWithIndividualFiles)
{
    clsKitwright& kw = NewModel("Café Kit", "Café \"Deluxe\" <Pro>");
    kw.IncAuthor(cvChecked);
    kw.AuthorName("Jo \"JJ\" Dupré");
    kw.AuthorWebsite("http://jo.example.org/");
    kw.AuthorContact("jo@example.org");
    kw.AuthorComment("Tested on Carrow 3, <beta> & more");
    kw.Description("A text editor & viewer for <tags>, \"quoted\" too.");
    kw.ProgramWebsite("https://cafe.example.com/");
    kw.AddFile(fcProgramFiles, "C:\\Prog\\Cafe\\readme.txt");
    kw.AddFile(fcProgramFiles, "C:\\Prog\\Cafe\\helper.dll");
    kw.AddFile(fcSystemFiles, "C:\\Windows\\System32\\oledlg.dll");
    kw.AddFile(fcSystemFiles, "C:\\Windows\\System32\\msxml3.dll");
    Exe(kw, 0, "C:\\Prog\\Cafe\\editor.exe", "Éditeur", true, true, true, false);
    Exe(kw, 1, "C:\\Prog\\Cafe\\viewer.exe", "View, Print & Go", true, false, false, true);
    Exe(kw, 3, "", "Ghost", true, true, true, true);
    Exe(kw, 9, "C:\\Prog\\Cafe\\tray.exe", "Tray", false, true, true, true);
    kw.IncJuxMenu(cvChecked);
    kw.MenuGroup("Tools");
    kw.IncSubGroup(true);
    kw.IncZelMenu(cvChecked);
    kw.ZelFileName(cvChecked);
    kw.ZelVersion(zvUpTo0348);
    CreateAndCompare("cafe",
                     {"Café Kit.inf", "Café Kit.htm", "Café Kit_zelmenu.xml", "files/ramdisk_Éditeur.cmd",
                      "files/ramdisk_View, Print & Go.cmd", "files/autorun_Éditeur.cmd", "files/autorun_Tray.cmd"});
}

// Folder tree into System32: no [WinntDirectories] line, only autorun lines in
// [SourceDisksFiles], ramdisk switch without effect, author on with every text empty,
// "; JUX Shortcuts" just before the one Desktop line, no menu group (sub-group ignored),
// "{PluginName}.xml", Zel >=0.349.
TEST_F(Writers, FolderTreeIntoSystem32)
{
    clsKitwright& kw = NewModel("SysTree", "Sys Tree");
    kw.ProgramFilesDest(dstSystem32);
    kw.SystemFilesDest(dstWindows);
    kw.CopyOption(coFolderTree);
    kw.ProgramFolder("C:\\Src\\SysTree");
    kw.AddFile(fcSystemFiles, "C:\\Windows\\notepad.exe");
    kw.IncAuthor(cvChecked);  // a fresh preferences file holds no author texts
    Exe(kw, 0, "C:\\Src\\SysTree\\sysmon.exe", "Sys Monitor", true, true, true, false);
    Exe(kw, 2, "C:\\Src\\SysTree\\logview.exe", "Log View", false, false, false, false);
    kw.IncSubGroup(true);
    kw.IncZelMenu(cvChecked);
    kw.ZelVersion(zvFrom0349);
    CreateAndCompare("systree", {"SysTree.inf", "SysTree.htm", "SysTree.xml", "files/autorun_Sys Monitor.cmd"});
}

// Unknown Zel version (menu skeleton without items), group ending in "\" without sub-group,
// Jux start menu plus one quick-launch shortcut, contact without "@", some author texts empty.
TEST_F(Writers, GroupWithoutSubGroupAndUnknownZelVersion)
{
    clsKitwright& kw = NewModel("Utils", "Util Pack");
    kw.IncAuthor(cvChecked);
    kw.AuthorName("Ann Author");
    kw.AuthorContact("Ann at the forum");
    kw.Description("Small tools.");
    Exe(kw, 0, "C:\\U\\zip.exe", "Zip", false, false, false, false);
    Exe(kw, 1, "C:\\U\\unzip.exe", "Unzip", false, false, false, true);
    kw.IncJuxMenu(cvChecked);
    kw.MenuGroup("Utilities\\");
    kw.IncSubGroup(false);
    kw.IncZelMenu(cvChecked);
    kw.ZelVersion(static_cast<ZelMenuVersion>(7));
    CreateAndCompare("utils", {"Utils.inf", "Utils.htm", "Utils.xml"});
}

// Folder tree with neither folder nor executables; author block with website and comment only.
TEST_F(Writers, EmptyFolderTreeWithPartialAuthor)
{
    clsKitwright& kw = NewModel("Empty", "Empty Tree");
    kw.CopyOption(coFolderTree);
    kw.IncAuthor(cvChecked);
    kw.AuthorWebsite("www.example.net");
    kw.AuthorComment("Just a comment");
    kw.ProgramWebsite("www.example.net/tree");
    kw.IncZelMenu(cvChecked);
    kw.IncJuxMenu(cvChecked);
    CreateAndCompare("empty", {"Empty.inf", "Empty.htm"});
}

// Executables in the first and the last slot but no switch at all: no scripts, no menu file,
// no shortcut lines, and the help page's requirements block is a lone "<br />".
TEST_F(Writers, ExecutablesWithoutAnySwitch)
{
    clsKitwright& kw = NewModel("Plain", "Plain");
    Exe(kw, 0, "C:\\P\\plain.exe", "Plain", false, false, false, false);
    Exe(kw, 9, "C:\\P\\setup.exe", "Setup", false, false, false, false);
    kw.MenuGroup("Tools");
    kw.IncSubGroup(true);
    CreateAndCompare("plain", {"Plain.inf", "Plain.htm"});
}

// Two plugins from one session: A with viewer.exe, then the executables cleared, editor.exe
// picked and the plugin renamed. Nothing of viewer.exe may reach B, which no list showed.
TEST_F(Writers, EarlierExecutableStaysOutOfTheNextPlugin)
{
    const fs::path src = root_ / "src";
    fs::create_directories(src);
    for (const char* name : {"viewer.exe", "editor.exe", "readme.txt"})
        std::ofstream(src / name, std::ios::binary) << name;
    auto source = [&](const char* name) { return Utf8(src) + "\\" + name; };
    clsKitwright& kw = NewModel("A", "Kit");
    kw.AddFile(fcProgramFiles, source("readme.txt"));
    Exe(kw, 0, source("viewer.exe"), "Viewer", false, false, false, false);
    ASSERT_EQ(kw.CreatePlugin(), 0);
    WritePluginFiles(kw);
    ASSERT_TRUE(kw.CopyFiles());
    EXPECT_NE(ReadBytes(PluginDir() / "A.inf").find("\"files\\viewer.exe\"=a,,1\r\n"), std::string::npos);

    kw.ClearExecutables();
    Exe(kw, 0, source("editor.exe"), "Editor", false, false, false, false);
    kw.PluginName("B");
    ASSERT_EQ(kw.CreatePlugin(), 0);
    WritePluginFiles(kw);
    ASSERT_TRUE(kw.CopyFiles());
    const std::string inf = ReadBytes(PluginDir() / "B.inf");
    const std::string htm = ReadBytes(PluginDir() / "B.htm");
    EXPECT_EQ(inf.find("viewer"), std::string::npos) << inf;
    EXPECT_EQ(htm.find("viewer"), std::string::npos) << htm;
    EXPECT_NE(inf.find("; Program Files\r\n\"files\\editor.exe\"=a,,1\r\n\"files\\readme.txt\"=a,,1\r\n\r\n"),
              std::string::npos)
        << inf;
    EXPECT_NE(htm.find("<div><tt>\r\neditor.exe, readme.txt.\r\n</tt></div>\r\n"), std::string::npos) << htm;
    EXPECT_EQ(FilesBelow(PluginDir()),
              (std::vector<std::string>{"B.htm", "B.inf", "files/editor.exe", "files/readme.txt"}));
    ASSERT_EQ(kw.ProgramFileCount(), 1);  // the user's list is the user's
    EXPECT_EQ(kw.ProgramFileName(1), "readme.txt");
}

// ---- Failures ---------------------------------------------------------------------------------

// A model whose every writer has something to write.
clsKitwright& AllWritersModel(clsKitwright& kw)
{
    kw.IncZelMenu(cvChecked);
    kw.Executable(0, "C:\\P\\a.exe");
    kw.ShortcutName(0, "A");
    kw.IncRamdisk(0, cvChecked);
    kw.IncAutorun(0, cvChecked);
    return kw;
}

TEST_F(Writers, MissingPluginFolderRaisesOneErrorPerWriterAndWritesNothing)
{
    clsKitwright& kw = AllWritersModel(NewModel("Gone", "Gone"));
    const std::string folder = kw.PluginLocation() + "Gone\\";
    auto expectError = [&](void (*writer)(const clsKitwright&), const std::string& file) {
        try {
            writer(kw);
            ADD_FAILURE() << file << " reported as written";
        } catch (const WriteError& e) {
            EXPECT_EQ(e.Path(), folder + file);
            EXPECT_EQ(e.Code(), 3u) << e.what();
            EXPECT_FALSE(e.SystemText().empty());
            EXPECT_NE(std::string(e.what()).find(folder + file), std::string::npos) << e.what();
        }
    };
    expectError(modInf::WriteInfFile, "Gone.inf");
    expectError(modHtm::WriteHelpFile, "Gone.htm");
    expectError(modRam::WriteRamdiskScripts, "files\\ramdisk_A.cmd");
    expectError(modRun::WriteAutorunScripts, "files\\autorun_A.cmd");
    expectError(modXml::WriteMenuXmlFile, "Gone.xml");
    EXPECT_FALSE(fs::exists(PluginDir()));
}

// Without a files folder the run stops at the ramdisk script: INF and help page are whole,
// the menu file (written last) is not there.
TEST_F(Writers, MissingFilesFolderStopsTheRunAtTheFirstScript)
{
    clsKitwright& kw = AllWritersModel(NewModel("NoFiles", "No Files"));
    fs::create_directories(PluginDir());
    EXPECT_THROW(WritePluginFiles(kw), WriteError);
    EXPECT_EQ(FilesBelow(PluginDir()), (std::vector<std::string>{"NoFiles.htm", "NoFiles.inf"}));
    EXPECT_TRUE(ReadBytes(PluginDir() / "NoFiles.htm").ends_with("</html>\r\n"));
}

TEST_F(Writers, ReadOnlyTargetKeepsItsBytesAndLeavesNoTemporaryFile)
{
    clsKitwright& kw = NewModel("Locked", "Locked");
    ASSERT_EQ(kw.CreatePlugin(), 0);
    modInf::WriteInfFile(kw);
    const fs::path inf = PluginDir() / "Locked.inf";
    const std::string before = ReadBytes(inf);
    fs::permissions(inf, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    kw.ProgramName("Changed");
    try {
        modInf::WriteInfFile(kw);
        ADD_FAILURE() << "read-only INF reported as written";
    } catch (const WriteError& e) {
        EXPECT_EQ(e.Code(), 5u) << e.what();
        EXPECT_EQ(e.Path(), kw.PluginLocation() + "Locked\\Locked.inf");
    }
    EXPECT_EQ(ReadBytes(inf), before);
    EXPECT_EQ(FilesBelow(PluginDir()), std::vector<std::string>{"Locked.inf"});
}

// A script whose name is taken by a folder fails alone; the script before it is whole and
// nothing else is left in the folder.
TEST_F(Writers, FailingScriptLeavesEarlierScriptsWhole)
{
    clsKitwright& kw = NewModel("Two", "Two");
    Exe(kw, 0, "C:\\P\\a.exe", "A", false, true, false, false);
    Exe(kw, 1, "C:\\P\\b.exe", "B", false, true, false, false);
    ASSERT_EQ(kw.CreatePlugin(), 0);
    fs::create_directories(PluginDir() / "files" / "autorun_B.cmd");
    EXPECT_THROW(modRun::WriteAutorunScripts(kw), WriteError);
    EXPECT_EQ(FilesBelow(PluginDir()), std::vector<std::string>{"files/autorun_A.cmd"});
    EXPECT_EQ(ReadBytes(PluginDir() / "files" / "autorun_A.cmd"),
              "@echo off\r\ntitle=Starting \"A\"\r\n\"%SystemDrive%\\Programs\\Two\\a.exe\"\r\nexit\r\n");
}

// Shortcut names become file names: a separator must not carry a script out of its folder.
TEST_F(Writers, ShortcutNameWithPathCharactersIsRefused)
{
    clsKitwright& kw = NewModel("Safe", "Safe");
    ASSERT_EQ(platform::CreateFolderTree(0, kw.PluginLocation() + "Safe\\files"), 0);
    for (const char* name : {"..\\..\\evil", "../evil", "c:evil", "a|b"}) {
        kw.ClearExecutables();
        Exe(kw, 0, "C:\\P\\a.exe", name, true, true, false, false);
        try {
            modRam::WriteRamdiskScripts(kw);
            ADD_FAILURE() << name << " accepted";
        } catch (const WriteError& e) {
            EXPECT_EQ(e.Code(), 123u) << name;
        }
        EXPECT_THROW(modRun::WriteAutorunScripts(kw), WriteError) << name;
    }
    EXPECT_EQ(FilesBelow(root_ / "plugins"), std::vector<std::string>{});
}

}  // namespace
