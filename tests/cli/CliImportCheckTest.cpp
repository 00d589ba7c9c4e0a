// import: a plugin folder read back into a description that makes the same plugin again;
// check: every problem create would meet, one line each, and nothing written.
#include "CliTestSupport.h"

using namespace kwtest;

namespace {

class ImportCheck : public CliTest {
protected:
    // Makes a plugin of tests/data/cli/{folder} in {base}/made.
    void Make(const std::string& folder, const std::string& description, const std::string& ini)
    {
        const fs::path data = CliData() / folder;
        const ChildResult r = Cli(
            {"create", Utf8(data / PathOf(description)), "--ini", Utf8(data / PathOf(ini)), "--plugins", In("made")});
        ASSERT_EQ(r.code, 0) << r.err;
    }

    // The pieces of a text between line ends and ", ", sorted: the same lines and list items
    // in any order compare equal.
    static std::vector<std::string> SortedPieces(const std::string& bytes)
    {
        std::vector<std::string> pieces;
        std::istringstream in(bytes);
        for (std::string line; std::getline(in, line);) {
            for (size_t start = 0;;) {
                const size_t comma = line.find(", ", start);
                pieces.push_back(line.substr(start, comma - start));
                if (comma == std::string::npos)
                    break;
                start = comma + 2;
            }
        }
        std::sort(pieces.begin(), pieces.end());
        return pieces;
    }

    // A file listing of the folder with every file's bytes.
    std::string Listing(const fs::path& folder)
    {
        std::string text;
        for (const auto& [name, bytes] : FilesBelow(folder))
            text += name + ":" + bytes + "\n";
        return text;
    }
};

}  // namespace

TEST_F(ImportCheck, ImportThenCreateMakesTheSamePluginAgain)
{
    struct Case {
        const char *folder, *description, *ini, *plugin;
    };
    for (const Case& c : {Case{"cafe", "Caf\xC3\xA9 Kit.kwp", "Kitwright.ini", "Caf\xC3\xA9 Kit"},
                          Case{"systree", "SysTree.kwp", "Kitwright.ini", "SysTree"}}) {
        SCOPED_TRACE(c.folder);
        Make(c.folder, c.description, c.ini);
        const std::string ini = Utf8(CliData() / c.folder / PathOf(c.ini));
        const fs::path made = base_ / "made" / PathOf(c.plugin);
        ChildResult r = Cli({"import", Arg(made), "-o", In(std::string(c.folder) + ".kwp"), "--ini", ini});
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "");
        r = Cli({"create", In(std::string(c.folder) + ".kwp"), "--ini", ini, "--plugins", In("again")});
        EXPECT_EQ(r.code, 0) << r.err;
        // Generated files and copies alike, byte for byte.
        ExpectSameFolder(made, base_ / "again" / PathOf(c.plugin));
    }
}

TEST_F(ImportCheck, ProgramFilesFromTwoFoldersComeBackInNameOrder)
{
    // HexTools took hexview.exe from another folder: read back, every program file lives in
    // files\, so the list sorts by name. That order is the one difference there may be.
    Make("hextools", "HexTools.kwp", "prefs.ini");
    const std::string ini = Utf8(CliData() / "hextools" / "prefs.ini");
    const fs::path made = base_ / "made" / "HexTools";
    ASSERT_EQ(Cli({"import", Arg(made), "-o", In("h1.kwp"), "--ini", ini}).code, 0);
    ASSERT_EQ(Cli({"create", In("h1.kwp"), "--ini", ini, "--plugins", In("again")}).code, 0);
    const auto first = FilesBelow(made), second = FilesBelow(base_ / "again" / "HexTools");
    ASSERT_EQ(first.size(), second.size());
    for (const auto& [name, bytes] : first) {
        ASSERT_TRUE(second.count(name)) << name;
        if (name == "HexTools.inf" || name == "HexTools.htm") {
            EXPECT_NE(second.at(name), bytes) << name;
            EXPECT_EQ(SortedPieces(second.at(name)), SortedPieces(bytes)) << name;
        } else {
            EXPECT_EQ(second.at(name), bytes) << name;
        }
    }
    // From then on nothing moves.
    ASSERT_EQ(Cli({"import", Arg(base_ / "again" / "HexTools"), "-o", In("h2.kwp"), "--ini", ini}).code, 0);
    ASSERT_EQ(Cli({"create", In("h2.kwp"), "--ini", ini, "--plugins", In("third")}).code, 0);
    EXPECT_EQ(Listing(base_ / "third" / "HexTools"), Listing(base_ / "again" / "HexTools"));
}

TEST_F(ImportCheck, ImportWithoutOutputWritesTheDescriptionToStandardOutput)
{
    Make("cafe", "Caf\xC3\xA9 Kit.kwp", "Kitwright.ini");
    const std::string ini = Utf8(CliData() / "cafe" / "Kitwright.ini");
    const fs::path made = base_ / "made" / PathOf("Caf\xC3\xA9 Kit");
    const auto before = Listing(made);
    const ChildResult toFile = Cli({"import", Arg(made), "-o", In("cafe.kwp"), "--ini", ini});
    const ChildResult toOut = Cli({"import", Arg(made), "--ini", ini});
    EXPECT_EQ(toOut.code, 0);
    EXPECT_EQ(toOut.err, "");
    // The bytes the file gets, UTF-8 as they are (the paths relative to the current folder).
    EXPECT_EQ(toOut.out, ReadBytes(base_ / "cafe.kwp"));
    EXPECT_TRUE(Contains(toOut.out, "PluginName=Caf\xC3\xA9 Kit\r\n")) << toOut.out;
    EXPECT_EQ(Listing(made), before);  // reading back changes nothing
}

TEST_F(ImportCheck, PartsThatCannotBeReadAreListedAndTheRestIsWritten)
{
    Make("cafe", "Caf\xC3\xA9 Kit.kwp", "Kitwright.ini");
    const std::string ini = Utf8(CliData() / "cafe" / "Kitwright.ini");
    const fs::path made = base_ / "made" / PathOf("Caf\xC3\xA9 Kit");
    // A program file's copy gone, and the help page replaced by something else.
    fs::remove(made / "files" / "helper.dll");
    WriteBytes(made / PathOf("Caf\xC3\xA9 Kit.htm"), std::string("\0\xff not a help page", 19));
    const ChildResult r = Cli({"import", Arg(made), "-o", In("cafe.kwp"), "--ini", ini});
    EXPECT_EQ(r.code, 1) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(Contains(r.err, "helper.dll")) << r.err;
    EXPECT_TRUE(fs::exists(base_ / "cafe.kwp"));
    EXPECT_TRUE(Contains(ReadBytes(base_ / "cafe.kwp"), "PluginName=Caf\xC3\xA9 Kit")) << ReadBytes(base_ / "cafe.kwp");

    // check lists them too, one line each, and exits 1.
    const ChildResult c = Cli({"check", Arg(made), "--ini", ini, "--plugins", In("elsewhere")});
    EXPECT_EQ(c.code, 1);
    EXPECT_TRUE(Contains(c.out, "helper.dll")) << c.out;
    EXPECT_FALSE(fs::exists(base_ / "elsewhere"));

    // No plugin in the folder: refused; no folder at all: a failed read.
    fs::create_directories(base_ / "empty");
    ChildResult e = Cli({"import", In("empty"), "-o", In("e.kwp")});
    EXPECT_EQ(e.code, 1);
    EXPECT_TRUE(Contains(e.err, "no plugin")) << e.err;
    EXPECT_FALSE(fs::exists(base_ / "e.kwp"));
    e = Cli({"import", In("nowhere"), "-o", In("e.kwp")});
    EXPECT_EQ(e.code, 3);
    EXPECT_FALSE(fs::exists(base_ / "e.kwp"));
}

TEST_F(ImportCheck, CheckListsEveryProblemOneLineEachAndWritesNothing)
{
    WriteBytes(base_ / "P" / "a.dll", "a");
    WriteBytes(base_ / "Q" / "a.dll", "other a");
    WriteBytes(base_ / "P" / PathOf("\xCE\xA9mega.dll"), "omega");
    const std::string longName(230, 'x');
    WriteBytes(base_ / "P" / PathOf(longName + ".dll"), "long");
    WriteBytes(base_ / "P" / "run.exe", "run");
    fs::create_directories(base_ / "plugins" / "Tool" / "files");
    const fs::path kwp = Description(
        "Tool.kwp", {"[Kitwright]", "Format=1", "[Information]", "PluginName=Tool", "[Program Files]", "File=P\\a.dll",
                     "File=Q\\a.dll", "File=P\\gone.dll", "File=P\\\xCE\xA9mega.dll", "File=P\\" + longName + ".dll",
                     "[Executable 0]", "Path=P\\run.exe", "ShortcutName=a|b", "Autorun=1"});
    const std::string before = Listing(base_);
    const ChildResult r = Cli({"check", Arg(kwp), "--plugins", In("plugins")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "");
    const std::vector<std::string> expected = {
        "a.dll\": A file with the same name is already in the list.",
        "\"a|b\": not a valid file name (123).",
        "\xCE\xA9mega.dll\": a name the system's code page cannot hold (1113).",
        longName + ".dll\": the path is over the limit (206).",
        "gone.dll\": the file does not exist.",
        "Tool\": the plugin folder exists already.",
        "6 problems found; create would refuse.",
    };
    std::vector<std::string> lines;
    std::istringstream in(r.out);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.substr(0, line.find_last_not_of('\r') + 1));
    ASSERT_EQ(lines.size(), expected.size()) << r.out;
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_TRUE(lines[i].ends_with(expected[i])) << lines[i] << "\nexpected to end with: " << expected[i];
    EXPECT_EQ(Listing(base_), before);

    // A description create accepts: exit 0, one line saying so.
    const fs::path good = Description("Good.kwp", {"[Kitwright]", "Format=1", "[Information]", "PluginName=Good",
                                                   "[Program Files]", "File=P\\a.dll"});
    const ChildResult ok = Cli({"check", Arg(good), "--plugins", In("plugins")});
    EXPECT_EQ(ok.code, 0) << ok.out;
    EXPECT_EQ(ok.out, "No problems: create would make " + Shown(base_ / "plugins" / "Good") + "." + kEol);
    EXPECT_FALSE(fs::exists(base_ / "plugins" / "Good"));
}
