// create: descriptions made into plugin folders, byte for byte as the window makes them, and
// everything that makes it refuse or fail.
#include "CliTestSupport.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

using namespace kwtest;

namespace {

struct Case {
    const char* folder;       // below tests/data/cli
    const char* description;  // the .kwp in it
    const char* ini;          // the preferences given with --ini
    const char* plugin;       // the plugin folder made, as in expected/
};

const Case kCases[] = {
    {"hextools", "HexTools.kwp", "prefs.ini", "HexTools"},
    {"cafe", "Caf\xC3\xA9 Kit.kwp", "Kitwright.ini", "Caf\xC3\xA9 Kit"},
    {"systree", "SysTree.kwp", "Kitwright.ini", "SysTree"},
};

class Create : public CliTest {
protected:
    ChildResult CreateCase(const Case& c, const fs::path& plugins, std::vector<std::string> more = {})
    {
        const fs::path data = CliData() / c.folder;
        std::vector<std::string> args = {"create",    Utf8(data / PathOf(c.description)),
                                         "--ini",     Utf8(data / PathOf(c.ini)),
                                         "--plugins", Arg(plugins)};
        args.insert(args.end(), more.begin(), more.end());
        return Cli(args);
    }

    // The description refused: exit 1, the reason on stderr, nothing made.
    void ExpectRefused(const fs::path& description, const std::string& reason)
    {
        const ChildResult r = Cli({"create", Arg(description), "--plugins", In("plugins")});
        EXPECT_EQ(r.code, 1) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_TRUE(Contains(r.err, reason)) << r.err;
        EXPECT_TRUE(FilesBelow(base_ / "plugins").empty()) << "something was made";
        EXPECT_FALSE(fs::exists(base_ / "plugins" / "Tool"));
    }

    // A description of the plugin "Tool" with these extra lines in [Program Files].
    fs::path Tool(const std::vector<std::string>& programFiles, const std::vector<std::string>& rest = {})
    {
        std::vector<std::string> lines = {"[Kitwright]", "Format=1", "[Information]", "PluginName=Tool",
                                          "[Program Files]"};
        lines.insert(lines.end(), programFiles.begin(), programFiles.end());
        lines.insert(lines.end(), rest.begin(), rest.end());
        return Description("Tool.kwp", lines);
    }
};

}  // namespace

TEST_F(Create, DescriptionsGiveTheExpectedFoldersByteForByte)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.folder);
        const ChildResult r = CreateCase(c, base_ / "plugins");
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.out, "Plugin has been created: " + Shown(base_ / "plugins" / PathOf(c.plugin)) + kEol);
        ExpectSameFolder(CliData() / c.folder / "expected" / PathOf(c.plugin), base_ / "plugins" / PathOf(c.plugin));
    }
    // Preferences are only read: no Kitwright.ini appears beside the program or anywhere here.
    EXPECT_FALSE(fs::exists(CliExe().parent_path() / "Kitwright.ini"));
    EXPECT_FALSE(fs::exists(base_ / "Kitwright.ini"));
}

TEST_F(Create, PreferencesBesideTheProgramAreReadAndNeverWritten)
{
    // A copy of the program with the cafe's preferences beside it; no --ini.
    const fs::path bin = base_ / "bin";
    fs::create_directories(bin);
    const fs::path exe = bin / CliExe().filename();
    fs::copy_file(CliExe(), exe);
    const Case& cafe = kCases[1];
    const std::string ini = ReadBytes(CliData() / "cafe" / "Kitwright.ini");
    WriteBytes(bin / "Kitwright.ini", ini);
    const fs::path description = CliData() / "cafe" / PathOf(cafe.description);
    ChildResult r = CliAt(exe, {"create", Utf8(description), "--plugins", In("plugins")});
    EXPECT_EQ(r.code, 0) << r.err;
    ExpectSameFolder(CliData() / "cafe" / "expected" / PathOf(cafe.plugin), base_ / "plugins" / PathOf(cafe.plugin));

    // Without --plugins, the preferences' plugins folder.
    std::string withPath = ini;
    const std::string from = "PluginPath=C:\\Plugins";
    withPath.replace(withPath.find(from), from.size(), "PluginPath=" + Utf8(base_ / "chosen"));
    WriteBytes(bin / "Kitwright.ini", withPath);
    r = CliAt(exe, {"create", Utf8(description)});
    EXPECT_EQ(r.code, 0) << r.err;
    ExpectSameFolder(CliData() / "cafe" / "expected" / PathOf(cafe.plugin), base_ / "chosen" / PathOf(cafe.plugin));
    EXPECT_EQ(ReadBytes(bin / "Kitwright.ini"), withPath);

    // No preferences at all: the defaults, and the plugin goes to the current folder. The
    // author block is on (the description says so) but the default preferences hold no author.
    fs::remove(bin / "Kitwright.ini");
    r = CliAt(exe, {"create", Utf8(CliData() / "systree" / "SysTree.kwp")});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "Plugin has been created: " + Shown(base_ / "SysTree") + kEol);
    EXPECT_TRUE(fs::exists(base_ / "SysTree" / "SysTree.inf"));
    EXPECT_FALSE(fs::exists(bin / "Kitwright.ini"));
    EXPECT_FALSE(fs::exists(base_ / "Kitwright.ini"));

    // A preferences file named but missing is a failed read.
    r = Cli({"create", Utf8(description), "--ini", In("nowhere.ini")});
    EXPECT_EQ(r.code, 3);
    EXPECT_TRUE(Contains(r.err, "nowhere.ini")) << r.err;
    EXPECT_FALSE(fs::exists(base_ / PathOf(cafe.plugin)));
}

TEST_F(Create, AnExistingPluginFolderIsRefusedAndLeftAsItIs)
{
    const Case& c = kCases[0];
    ASSERT_EQ(CreateCase(c, base_ / "plugins").code, 0);
    const fs::path help = base_ / "plugins" / "HexTools" / "HexTools.htm";
    WriteBytes(help, "changed by the user");
    const auto before = FilesBelow(base_ / "plugins");

    const ChildResult r = CreateCase(c, base_ / "plugins");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    // The window's own words, then what the console did about it.
    EXPECT_TRUE(Contains(r.err, "Attention: The chosen plugin folder already exists")) << r.err;
    EXPECT_TRUE(Contains(r.err, "--replace")) << r.err;
    EXPECT_EQ(FilesBelow(base_ / "plugins"), before);

    // A folder with only a files\ folder is a plugin folder to the window as well.
    fs::create_directories(base_ / "other" / "HexTools" / "files");
    EXPECT_EQ(CreateCase(c, base_ / "other").code, 1);
    EXPECT_TRUE(FilesBelow(base_ / "other").empty());
}

TEST_F(Create, WhatTheWindowWouldWarnAboutRefusesTheWholePlugin)
{
    WriteBytes(base_ / "P" / "a.dll", "a");
    WriteBytes(base_ / "Q" / "a.dll", "other a");
    WriteBytes(base_ / "P" / "run.exe", "run");
    WriteBytes(base_ / "Q" / "run.exe", "other run");

    ExpectRefused(Tool({"File=P\\a.dll", "File=P\\gone.dll"}), "gone.dll\": the file does not exist.");
    ExpectRefused(Tool({"File=P\\a.dll", "File=Q\\a.dll"}), "A file with the same name is already in the list.");
    ExpectRefused(Tool({}, {"[Executable 0]", "Path=P\\run.exe", "[Executable 1]", "Path=Q\\run.exe"}),
                  "A file with the same name has already been selected");
    ExpectRefused(Tool({}, {"[Executable 0]", "Path=P\\run.exe", "ShortcutName=a|b", "Autorun=1"}),
                  "\"a|b\": not a valid file name (123).");
    WriteBytes(base_ / "P" / PathOf("\xCE\xA9mega.dll"), "omega");
    ExpectRefused(Tool({"File=P\\\xCE\xA9mega.dll"}),
                  "\xCE\xA9mega.dll\": a name the system's code page cannot hold (1113).");
    const std::string longName(230, 'x');
    WriteBytes(base_ / "P" / PathOf(longName + ".dll"), "long");
    ExpectRefused(Tool({"File=P\\" + longName + ".dll"}), ": the path is over the limit (206).");
    ExpectRefused(Tool({"CopyMode=FolderTree", "Folder=Nowhere\\"}), "Nowhere");
    ExpectRefused(Tool({}, {"[System Files]", "File=sub\\x.sys"}), "This is not a file name.");

    // Damaged and newer descriptions are refused with the reason; a missing one cannot be read.
    ExpectRefused(Description("Newer.kwp", {"[Kitwright]", "Format=2", "[Information]", "PluginName=Tool"}), "newer");
    ExpectRefused(Description("Damaged.kwp", {"[Kitwright]", "Format=1", "[Informaton]", "PluginName=Tool"}),
                  "Informaton");
    const ChildResult r = Cli({"create", In("Missing.kwp"), "--plugins", In("plugins")});
    EXPECT_EQ(r.code, 3);
    EXPECT_TRUE(Contains(r.err, "Missing.kwp")) << r.err;
}

TEST_F(Create, AFolderIsNoDescription)
{
    fs::create_directories(base_ / "Folder");
    const ChildResult r = Cli({"create", In("Folder")});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(Contains(r.err, "import")) << r.err;
}

namespace {

// Something in a folder tree that the copy cannot read: natively a socket (no one, root
// included, can open it as a file), on Windows a file this process holds without sharing.
class Unreadable {
public:
    explicit Unreadable(const fs::path& path)
    {
#ifdef _WIN32
        WriteBytes(path, "locked");
        handle_ = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(handle_, INVALID_HANDLE_VALUE);
#else
        fd_ = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address = {};
        address.sun_family = AF_UNIX;
        const std::string native = path.string();
        EXPECT_LT(native.size(), sizeof address.sun_path);
        native.copy(address.sun_path, sizeof address.sun_path - 1);
        EXPECT_EQ(bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
#endif
    }
    ~Unreadable()
    {
#ifdef _WIN32
        CloseHandle(handle_);
#else
        close(fd_);
#endif
    }

private:
#ifdef _WIN32
    HANDLE handle_ = INVALID_HANDLE_VALUE;
#else
    int fd_ = -1;
#endif
};

}  // namespace

TEST_F(Create, ACopyThatFailsEndsWithThreeAndReplaceKeepsTheOldPlugin)
{
    WriteBytes(base_ / "T" / "a.txt", "a");
    WriteBytes(base_ / "T" / "sub" / "b.txt", "b");
    const fs::path kwp = Description("Tree.kwp", {"[Kitwright]", "Format=1", "[Information]", "PluginName=Tree",
                                                  "[Program Files]", "CopyMode=FolderTree", "Folder=T\\"});
    ASSERT_EQ(Cli({"create", Arg(kwp), "--plugins", In("old")}).code, 0);
    WriteBytes(base_ / "T" / "a.txt", "a, changed since");
    const std::string oldPlugin = [&] {
        std::string text;
        for (const auto& [name, bytes] : FilesBelow(base_ / "old"))
            text += name + ":" + bytes + "\n";
        return text;
    }();
    // The check sees nothing wrong: the folder is there.
    ASSERT_EQ(Cli({"check", Arg(kwp), "--plugins", In("plugins")}).code, 0);

    Unreadable blocker(base_ / "T" / "sub" / "z.blk");
    ChildResult r = Cli({"create", Arg(kwp), "--plugins", In("plugins")});
    EXPECT_EQ(r.code, 3) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(Contains(r.err, "Attention: The program files could not be copied to " +
                                    Shown(base_ / "plugins" / "Tree" / "files")))
        << r.err;

    // Over the old plugin: whole or nothing, so the old one stays as it was, byte for byte,
    // and no temporary folder is left beside it.
    r = Cli({"create", Arg(kwp), "--plugins", In("old"), "--replace"});
    EXPECT_EQ(r.code, 3) << r.err;
    EXPECT_TRUE(Contains(r.err, "could not be replaced")) << r.err;
    std::string now;
    for (const auto& [name, bytes] : FilesBelow(base_ / "old"))
        now += name + ":" + bytes + "\n";
    EXPECT_EQ(now, oldPlugin);
    std::vector<std::string> entries;
    for (const auto& e : fs::directory_iterator(base_ / "old"))
        entries.push_back(Utf8(e.path().filename()));
    EXPECT_EQ(entries, std::vector<std::string>{"Tree"});
}

TEST_F(Create, ReplaceMakesThePluginAgainWholeAndOnlyOverAPlugin)
{
    const Case& c = kCases[0];
    ASSERT_EQ(CreateCase(c, base_ / "plugins").code, 0);
    const fs::path plugin = base_ / "plugins" / "HexTools";
    WriteBytes(plugin / "HexTools.htm", "changed by the user");
    WriteBytes(plugin / "files" / "stale.dll", "left from an older version");
    const ChildResult r = CreateCase(c, base_ / "plugins", {"--replace"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    ExpectSameFolder(CliData() / "hextools" / "expected" / "HexTools", plugin);

    // A folder with a files folder but no plugin INF is never replaced.
    fs::create_directories(base_ / "other" / "HexTools" / "files");
    WriteBytes(base_ / "other" / "HexTools" / "notes.txt", "mine");
    const ChildResult refused = CreateCase(c, base_ / "other", {"--replace"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(Contains(refused.err, "holds no plugin INF file")) << refused.err;
    EXPECT_EQ(FilesBelow(base_ / "other").size(), 1u);
}

TEST_F(Create, PathsBeyondTheCodePageArriveWhole)
{
    // The description, its files, the preferences and the plugins folder all below folders
    // whose names the ANSI code page cannot hold (Windows gets them through the wide entry
    // point, Linux as UTF-8).
    const fs::path in = base_ / PathOf("\xCE\xA9mega \xE6\x97\xA5\xE6\x9C\xAC");
    fs::copy(CliData() / "hextools", in, fs::copy_options::recursive);
    const fs::path plugins = base_ / PathOf("\xCE\xA9 plugins");
    const ChildResult r =
        Cli({"create", Arg(in / "HexTools.kwp"), "--ini", Arg(in / "prefs.ini"), "--plugins", Arg(plugins)});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "Plugin has been created: " + Shown(plugins / "HexTools") + kEol);
    ExpectSameFolder(CliData() / "hextools" / "expected" / "HexTools", plugins / "HexTools");
}
