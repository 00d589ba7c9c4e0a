// Reading plugins back: the expected folders, plugins made with their copies, and folders
// that this program did not make or that were changed by hand.
#include <algorithm>
#include <map>
#include <sstream>

#include "ModelTestSupport.h"
#include "document/PluginReader.h"
#include "writers/WritePlugin.h"

using namespace kwtest;
using kw::PluginDocument;

namespace {

std::string DataDir()
{
    std::string dir = KW_TEST_DATA;
#ifdef _WIN32
    if (dir.starts_with('/'))
        dir = "Z:" + dir;
#endif
    for (char& c : dir)
        if (c == '/')
            c = '\\';
    return dir;
}

// Every file below a folder, by its name below it ("files\x.cmd").
std::map<std::string, std::string> Snapshot(const std::string& folder)
{
    std::map<std::string, std::string> files;
    const fs::path base = ToFs(folder);
    for (const auto& e : fs::recursive_directory_iterator(base)) {
        if (!e.is_regular_file())
            continue;
        std::u8string rel = e.path().lexically_relative(base).u8string();
        std::string name(rel.begin(), rel.end());
        std::replace(name.begin(), name.end(), '/', '\\');
        std::ifstream in(e.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        files[name] = bytes.str();
    }
    return files;
}

// The one difference a read-back plugin may show: program files that came from several
// folders are listed by name. Sorts the INF's program-file lines and the help page's list.
std::string ProgramOrderFree(const std::string& name, std::string bytes)
{
    const bool inf = name.ends_with(".inf"), htm = name.ends_with(".htm");
    if (!inf && !htm)
        return bytes;
    std::vector<std::string> lines;
    for (std::size_t pos = 0; pos < bytes.size();) {
        std::size_t end = bytes.find("\r\n", pos);
        end = end == std::string::npos ? bytes.size() : end + 2;
        lines.push_back(bytes.substr(pos, end - pos));
        pos = end;
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (inf && lines[i] == "; Program Files\r\n") {
            std::size_t end = i + 1;
            while (end < lines.size() && lines[end].starts_with("\"files\\"))
                ++end;
            std::sort(lines.begin() + static_cast<long>(i) + 1, lines.begin() + static_cast<long>(end));
        }
        if (htm && i > 0 && lines[i - 1] == "<div><tt>\r\n" && lines[i].ends_with(".\r\n")) {
            std::string list = lines[i].substr(0, lines[i].size() - 3);
            std::vector<std::string> names;
            for (std::size_t at = 0;;) {
                const std::size_t comma = list.find(", ", at);
                names.push_back(list.substr(at, comma - at));
                if (comma == std::string::npos)
                    break;
                at = comma + 2;
            }
            std::sort(names.begin(), names.end());
            lines[i].clear();
            for (const std::string& n : names)
                lines[i] += n + ", ";
            lines[i].replace(lines[i].size() - 2, 2, ".\r\n");
        }
    }
    std::string out;
    for (const std::string& l : lines)
        out += l;
    return out;
}

class PluginReader : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        kw::platform::SetSpecialFolderForTesting(kw::platform::kCsidlWindows, "C:\\Windows");
        kw::platform::SetSpecialFolderForTesting(kw::platform::kCsidlSystem, "C:\\Windows\\System32");
        prefs = std::make_unique<kw::clsKitwright>();
        prefs->DetachPreferences();
    }

    void Author(const std::string& name, const std::string& website, const std::string& contact,
                const std::string& comment)
    {
        prefs->AuthorName(name);
        prefs->AuthorWebsite(website);
        prefs->AuthorContact(contact);
        prefs->AuthorComment(comment);
    }

    // Writes the document read back into memory and compares it with the folder's files.
    void ExpectSameFiles(const kw::PluginReading& r, bool programsFromSeveralFolders)
    {
        const kw::GeneratedPlugin again = kw::WriteInMemory(r.document, *prefs, r.pluginsFolder);
        ASSERT_EQ(again.code, 0);
        const std::map<std::string, std::string> disk = Snapshot(r.pluginFolder);
        for (const auto& [name, bytes] : again.files) {
            ASSERT_TRUE(disk.count(name)) << name << " made, but not in the folder";
            if (programsFromSeveralFolders)
                EXPECT_EQ(ProgramOrderFree(name, bytes), ProgramOrderFree(name, disk.at(name))) << name;
            else
                EXPECT_EQ(bytes, disk.at(name)) << name;
        }
        for (const auto& [name, bytes] : disk)
            EXPECT_TRUE(again.files.count(name)) << name << " in the folder, but not made again";
    }

    std::unique_ptr<kw::clsKitwright> prefs;
};

// Each expected folder with the preferences it was made under.
TEST_F(PluginReader, EveryExpectedFolderReadsBackToTheSameFiles)
{
    struct Case {
        std::string folder;
        std::vector<std::string> author;
        kw::CheckValue zelFileName;
        int zelVersion;
        bool severalFolders;
    };
    const Case cases[] = {
        {"writers\\bare", {"Not Written", "", "", ""}, kw::cvChecked, 0, false},
        {"writers\\cafe",
         {"Jo \"JJ\" Dupré", "http://jo.example.org/", "jo@example.org", "Tested on Carrow 3, <beta> & more"},
         kw::cvChecked,
         0,
         false},
        {"writers\\systree", {"", "", "", ""}, kw::cvUnchecked, 1, false},
        {"writers\\utils", {"Ann Author", "", "Ann at the forum", ""}, kw::cvUnchecked, 7, false},
        {"writers\\empty", {"", "www.example.net", "", "Just a comment"}, kw::cvUnchecked, 0, false},
        {"writers\\plain", {"", "", "", ""}, kw::cvUnchecked, 0, false},
        {"window\\HexTools", {"Ann Author", "", "ann@example.org", "Tested with Carrow 3"}, kw::cvUnchecked, 0, true},
    };
    std::size_t seen = 0;
    // The console program's expected folders (cli\) hold these same generated files, with copies.
    for (const char* area : {"writers", "window"})
        for (const auto& plugin : fs::directory_iterator(ToFs(DataDir()) / area))
            seen += plugin.is_directory();
    EXPECT_EQ(seen, std::size(cases)) << "a new expected folder needs its preferences here";

    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        Author(c.author[0], c.author[1], c.author[2], c.author[3]);
        prefs->ZelFileName(c.zelFileName);
        prefs->ZelVersion(kw::ZelMenuVersion(c.zelVersion));
        const std::string folder = DataDir() + "\\" + c.folder;
        const auto before = Snapshot(folder);
        const kw::PluginReading r = kw::ReadPlugin(folder, *prefs);
        ASSERT_TRUE(r.found);
        EXPECT_EQ(r.pluginFolder, folder + "\\");
        EXPECT_EQ(r.pluginsFolder, folder.substr(0, folder.rfind('\\') + 1));
        // The copies are not kept in these folders: only their absence may be noted.
        for (const std::string& u : r.unread)
            EXPECT_NE(u.find("is not in the plugin's files folder"), std::string::npos) << u;
        if (!c.severalFolders) {
            EXPECT_TRUE(r.changed.empty()) << r.changed.front();
        }
        ExpectSameFiles(r, c.severalFolders);
        EXPECT_EQ(Snapshot(folder), before);
    }
}

// A plugin made with its copies reads back to its own document: the copies as program files.
TEST_F(PluginReader, APluginWithItsCopiesReadsBackToItsDocument)
{
    const std::string src = root + "\\src\\";
    MakeFile("src\\edit.exe", "MZ");
    MakeFile("src\\help.chm", "ITSF");
    kw::clsKitwright kw;
    kw.MaxExecutables(9);
    kw.PluginLocation(root + "\\plugins");
    kw.PluginName("Edit");
    kw.ProgramName("Edit Pro");
    kw.Description("Two\r\nlines");
    kw.ProgramWebsite("http://edit.example/");
    kw.ProgramFilesDest(kw::dstPrograms);
    kw.SystemFilesDest(kw::dstSystem32);
    kw.ProgramFile(src + "help.chm");
    kw.Executable(3, src + "edit.exe");
    kw.ShortcutName(3, "Editor");
    kw.IncAutorun(3, kw::cvChecked);
    kw.IncJuxDesktop(3, kw::cvChecked);
    kw.IncJuxMenu(kw::cvChecked);
    kw.MenuGroup("Office");
    ASSERT_EQ(kw.CreatePlugin(), 0);
    kw::WritePluginFiles(kw);
    ASSERT_TRUE(kw.CopyFiles());
    const std::string plugin = root + "\\plugins\\Edit";
    const auto before = Snapshot(plugin);

    const kw::PluginReading r = kw::ReadPlugin(plugin + "\\Edit.inf", *prefs);
    ASSERT_TRUE(r.found);
    EXPECT_TRUE(r.unread.empty()) << r.unread.front();
    EXPECT_TRUE(r.changed.empty()) << r.changed.front();
    EXPECT_EQ(r.created, std::vector<std::string>{"autorun_Editor.cmd"});
    const PluginDocument& d = r.document;
    EXPECT_EQ(d.PluginName, "Edit");
    EXPECT_EQ(d.ProgramName, "Edit Pro");
    EXPECT_EQ(d.Description, "Two\r\nlines");
    EXPECT_EQ(d.ProgramWebsite, "http://edit.example/");
    EXPECT_EQ(d.ProgramFiles, std::vector<std::string>{plugin + "\\files\\help.chm"});
    EXPECT_EQ(d.Executables[0].Path, plugin + "\\files\\edit.exe");
    EXPECT_EQ(d.Executables[0].ShortcutName, "Editor");
    EXPECT_EQ(d.Executables[0].IncAutorun, kw::cvChecked);
    EXPECT_EQ(d.Executables[0].IncJuxDesktop, kw::cvChecked);
    EXPECT_EQ(d.Executables[0].IncRamdisk, kw::cvUnchecked);
    EXPECT_TRUE(d.Executables[1].IsBlank());
    EXPECT_EQ(d.MenuGroup, "Office");
    EXPECT_EQ(d.IncJuxMenu, kw::cvChecked);
    EXPECT_EQ(d.SystemFiles, std::vector<std::string>{});
    EXPECT_EQ(Snapshot(plugin), before);
}

// Start-menu paths made of backslashes: with no program name the sub-group is an empty path
// component, and the shortcut names add more backslashes; the split must still come out whole.
TEST_F(PluginReader, BackslashMenuPathsWithAnEmptySubGroupReadBack)
{
    const std::string src = root + "\\src\\";
    for (const char* name : {"bbx", "x.exe", "xx", "x"})
        MakeFile(std::string("src\\") + name, "MZ");
    kw::clsKitwright kw;
    kw.MaxExecutables(9);
    kw.PluginLocation(root + "\\plugins");
    kw.PluginName("view");
    kw.Description("\\");
    kw.ProgramFilesDest(kw::dstSystem32);
    kw.SystemFilesDest(kw::dstWindows);
    kw.Executable(2, src + "bbx");
    kw.ShortcutName(2, "\\\\");
    kw.Executable(3, src + "x.exe");
    kw.ShortcutName(3, "\\\\");
    kw.Executable(4, src + "xx");
    kw.ShortcutName(4, "Xramdisk_");
    kw.IncJuxDesktop(4, kw::cvChecked);
    kw.IncJuxQlaunch(4, kw::cvChecked);
    kw.Executable(5, src + "x");
    kw.ShortcutName(5, "\\\\");
    kw.IncJuxDesktop(5, kw::cvChecked);
    kw.IncJuxQlaunch(5, kw::cvChecked);
    kw.IncJuxMenu(kw::cvChecked);
    kw.IncZelMenu(kw::cvUnchecked);
    kw.MenuGroup("\\");
    kw.IncSubGroup(true);
    ASSERT_EQ(kw.CreatePlugin(), 0);
    kw::WritePluginFiles(kw);
    ASSERT_TRUE(kw.CopyFiles());

    const kw::PluginReading r = kw::ReadPlugin(root + "\\plugins\\view\\view.inf", *prefs);
    ASSERT_TRUE(r.found);
    EXPECT_TRUE(r.unread.empty()) << r.unread.front();
    EXPECT_TRUE(r.changed.empty()) << r.changed.front();
    EXPECT_EQ(r.document.MenuGroup, "\\");
    EXPECT_TRUE(r.document.IncSubGroup);
    EXPECT_EQ(r.document.Description, "\\");
    EXPECT_EQ(r.document.Executables[0].ShortcutName, "\\\\");
    const kw::GeneratedPlugin again = kw::WriteInMemory(r.document, *prefs, r.pluginsFolder);
    ASSERT_EQ(again.code, 0);
    const auto disk = Snapshot(r.pluginFolder);
    for (const auto& [name, bytes] : again.files)
        EXPECT_EQ(bytes, disk.count(name) ? disk.at(name) : "(none)") << name;
}

// Folders this program did not make, or that were changed by hand: what can be read is read,
// what cannot is listed, nothing crashes and nothing on disk changes.
TEST_F(PluginReader, ForeignAndDamagedFoldersAreReadAsFarAsTheyGo)
{
    const std::string data = DataDir() + "\\writers\\cafe";
    auto copyOfCafe = [&](const std::string& name) {
        const std::string folder = root + "\\" + name + "\\Café Kit";
        fs::create_directories(ToFs(folder));
        fs::copy(ToFs(data), ToFs(folder), fs::copy_options::recursive);
        return folder;
    };
    auto read = [&](const std::string& folder) {
        const auto before = Snapshot(folder);
        kw::PluginReading r = kw::ReadPlugin(folder, *prefs);
        EXPECT_EQ(Snapshot(folder), before);
        return r;
    };
    auto mentions = [](const std::vector<std::string>& texts, const std::string& part) {
        return std::any_of(texts.begin(), texts.end(),
                           [&](const std::string& t) { return t.find(part) != std::string::npos; });
    };

    // No plugin at all.
    MakeFile("foreign\\setup.inf", "[Version]\r\n[Strings]\r\n");
    MakeFile("foreign\\readme.txt", "hello");
    kw::PluginReading r = read(root + "\\foreign");
    EXPECT_FALSE(r.found);
    ASSERT_EQ(r.unread.size(), 1u);
    EXPECT_NE(r.unread[0].find("holds no plugin INF file"), std::string::npos);
    r = kw::ReadPlugin(root + "\\nowhere", *prefs);
    EXPECT_FALSE(r.found);
    EXPECT_TRUE(mentions(r.unread, "could not be read"));

    // A hand-edited INF: the extra line is named, the rest is read.
    std::string folder = copyOfCafe("edited");
    std::string inf = ReadAll(folder + "\\Café Kit.inf");
    inf.insert(inf.find("; System Files"), "\"files\\extra.dll\"=b,,7\r\nsomething odd\r\n");
    WriteAll(folder + "\\Café Kit.inf", inf);
    r = read(folder);
    ASSERT_TRUE(r.found);
    EXPECT_TRUE(mentions(r.unread, "Café Kit.inf: the line \"something odd\""));
    EXPECT_EQ(r.document.Executables[0].ShortcutName, "Éditeur");
    EXPECT_TRUE(mentions(r.changed, "Café Kit.inf"));

    // A help page cut in half, a missing script, a binary menu file.
    folder = copyOfCafe("damaged");
    const std::string page = ReadAll(folder + "\\Café Kit.htm");
    WriteAll(folder + "\\Café Kit.htm", page.substr(0, page.size() / 2));
    fs::remove(ToFs(folder + "\\files\\ramdisk_Éditeur.cmd"));
    std::string binary(5000, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<char>(i * 7919 % 251);
    WriteAll(folder + "\\Café Kit_zelmenu.xml", binary);
    r = read(folder);
    ASSERT_TRUE(r.found);
    EXPECT_TRUE(mentions(r.unread, "Café Kit.htm: the description and the program's website could not be read."));
    EXPECT_TRUE(mentions(r.unread, "Café Kit_zelmenu.xml: the start menu could not be read."));
    EXPECT_EQ(r.document.Executables[0].Path, folder + "\\files\\editor.exe");  // named by its shortcut lines too
    EXPECT_EQ(r.document.ProgramName, "Café \"Deluxe\" <Pro>");
    EXPECT_EQ(r.document.SystemFiles, (std::vector<std::string>{"oledlg.dll", "msxml3.dll"}));

    // A huge file is not read at all; a binary INF that still has the section reads as far as it goes.
    folder = copyOfCafe("huge");
    WriteAll(folder + "\\Café Kit.htm", std::string(17u << 20, 'x'));
    WriteAll(folder + "\\Café Kit.inf", binary + "\r\n[Velmont]\r\n" + binary);
    r = read(folder);
    ASSERT_TRUE(r.found);
    EXPECT_TRUE(mentions(r.unread, "Café Kit.htm is too large"));
    EXPECT_TRUE(mentions(r.unread, "Café Kit.inf: its header could not be read."));
    EXPECT_EQ(r.document.PluginName, "Café Kit");
    EXPECT_TRUE(prompt.shown.empty());
}

}  // namespace
