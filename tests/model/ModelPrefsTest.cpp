#include "ModelTestSupport.h"

using namespace kw;
using namespace kwtest;

namespace {

constexpr const char* kOmegaText = "\xCE\xA9";  // a letter code page 1252 lacks

std::vector<std::string> Groups(const clsKitwright& kw)
{
    RecordingList list;
    list.items = {"stale"};
    kw.LoadMenuGroupItemsTo(list);
    EXPECT_TRUE(list.clicks.empty());
    return list.items;
}

}  // namespace

class Preferences : public ModelTest {};

TEST_F(Preferences, FirstRunWritesTheDefaultFile)
{
    clsKitwright kw;
    EXPECT_EQ(ReadAll(iniFile), "[Preferences]\r\nPluginPath=" + platform::ToAnsi(programFolder) +
                                    "\r\nIncAuthor=1\r\nIncZelMenu=1\r\nIncJuxMenu=1\r\nIncPopupDone=1\r\n"
                                    "[MenuGroup]\r\n0=Accessories\r\n1=System Tools\r\n");
    EXPECT_EQ(kw.PluginLocation(), programFolder + "\\");
    EXPECT_EQ(kw.IncAuthor(), cvChecked);
    EXPECT_EQ(kw.IncZelMenu(), cvChecked);
    EXPECT_EQ(kw.IncJuxMenu(), cvChecked);
    EXPECT_EQ(kw.IncPopupDone(), cvChecked);
    EXPECT_EQ(kw.ZelFileName(), cvUnchecked);
    EXPECT_EQ(kw.ZelVersion(), zvUpTo0348);
    EXPECT_EQ(kw.AuthorName() + kw.AuthorWebsite() + kw.AuthorContact() + kw.AuthorComment(), "");
    EXPECT_EQ(Groups(kw), (std::vector<std::string>{"Accessories", "System Tools"}));
    EXPECT_EQ(kw.MaxExecutables(), 0);
    EXPECT_EQ(kw.ProgramFilesDest(), Destination(0));
    EXPECT_EQ(kw.CopyOption(), coIndividualFiles);
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(Preferences, ExistingFileIsReadAsItIs)
{
    const std::string bytes =
        "[preferences]\nIncZelMenu=abc\nIncJuxMenu= 1 \nIncPopupDone=1.5\n"
        "ZelVersion=7\nZelFileName=-3\n[Personal]\nName=\"Ann\"\n";
    WriteAll(iniFile, bytes);
    clsKitwright kw;
    EXPECT_EQ(ReadAll(iniFile), bytes);  // defaults only for a missing file
    EXPECT_EQ(kw.IncAuthor(), 0);
    EXPECT_EQ(kw.IncZelMenu(), 0);
    EXPECT_EQ(kw.IncJuxMenu(), 1);
    EXPECT_EQ(kw.IncPopupDone(), 0);
    EXPECT_EQ(kw.ZelVersion(), 7);  // out of the list, kept as it was
    EXPECT_EQ(kw.ZelFileName(), -3);
    EXPECT_EQ(kw.AuthorName(), "Ann");
    EXPECT_EQ(kw.PluginLocation(), "");
    EXPECT_TRUE(Groups(kw).empty());
}

TEST_F(Preferences, MenuGroupsStopAtTheFirstGap)
{
    WriteAll(iniFile, "[MenuGroup]\r\n0=One\r\n1=Two\r\n3=Four\r\n");
    clsKitwright kw;
    EXPECT_EQ(Groups(kw), (std::vector<std::string>{"One", "Two"}));
    WriteAll(iniFile, "[MenuGroup]\r\n0=\r\n1=Two\r\n");
    EXPECT_TRUE(Groups(kw).empty());
}

TEST_F(Preferences, SavingMenuGroupsRewritesTheSection)
{
    clsKitwright kw;
    RecordingList list;
    list.items = {"Games", " Net ", "Zip"};
    kw.SaveMenuGroupItems(list);
    EXPECT_EQ(Groups(kw), (std::vector<std::string>{"Games", "Net", "Zip"}));
    list.items = {"Only"};
    kw.SaveMenuGroupItems(list);
    EXPECT_EQ(Groups(kw), std::vector<std::string>{"Only"});
    EXPECT_EQ(ReadAll(iniFile).find("1="), std::string::npos);

    list.items.clear();
    kw.SaveMenuGroupItems(list);
    EXPECT_EQ(ReadAll(iniFile).find("[MenuGroup]"), std::string::npos);
    EXPECT_TRUE(Groups(clsKitwright()).empty());  // the defaults do not come back
}

TEST_F(Preferences, WebsiteRules)
{
    clsKitwright kw;
    kw.ProgramWebsite("http://");
    EXPECT_EQ(kw.ProgramWebsite(), "");
    kw.ProgramWebsite("HTTP://");
    EXPECT_EQ(kw.ProgramWebsite(), "HTTP://");
    kw.ProgramWebsite("http://x.org");
    EXPECT_EQ(kw.ProgramWebsite(), "http://x.org");
    EXPECT_EQ(ReadAll(iniFile).find("x.org"), std::string::npos);  // not persisted

    kw.AuthorWebsite("http://me.org");
    EXPECT_NE(ReadAll(iniFile).find("[Personal]\r\nWebsite=http://me.org\r\n"), std::string::npos);
    kw.AuthorWebsite("http://");
    EXPECT_EQ(kw.AuthorWebsite(), "");
    EXPECT_EQ(ReadAll(iniFile).find("\r\nWebsite="), std::string::npos);
    kw.AuthorWebsite("");
    EXPECT_NE(ReadAll(iniFile).find("Website=\r\n"), std::string::npos);
}

TEST_F(Preferences, PluginLocationIsStoredAsGiven)
{
    clsKitwright kw;
    kw.PluginLocation("D:\\Out");
    EXPECT_EQ(kw.PluginLocation(), "D:\\Out\\");
    EXPECT_NE(ReadAll(iniFile).find("PluginPath=D:\\Out\r\n"), std::string::npos);
    kw.PluginLocation("D:\\Out\\");
    EXPECT_EQ(kw.PluginLocation(), "D:\\Out\\");
    kw.PluginLocation("");
    EXPECT_EQ(kw.PluginLocation(), "");
    EXPECT_EQ(clsKitwright().PluginLocation(), "");
}

TEST_F(Preferences, PersistentValuesComeBackInANewInstance)
{
    {
        clsKitwright kw;
        kw.AuthorName("Zo\xC3\xAB");  // non-ASCII goes through the ANSI code page
        kw.AuthorContact("zoe@example.org");
        kw.AuthorComment(std::string(1000, 'c') + "!");
        kw.IncAuthor(cvUnchecked);
        kw.IncPopupDone(cvUnchecked);
        kw.ZelFileName(cvChecked);
        kw.ZelVersion(ZelMenuVersion(7));
        kw.PluginName("Tool");
        kw.ProgramName("The Tool");
        kw.Description("Does things");
    }
    EXPECT_NE(ReadAll(iniFile).find("Name=Zo\xEB\r\n"), std::string::npos);
    EXPECT_NE(ReadAll(iniFile).find("ZelVersion=7\r\n"), std::string::npos);
    clsKitwright kw;
    EXPECT_EQ(kw.AuthorName(), "Zo\xC3\xAB");
    EXPECT_EQ(kw.AuthorContact(), "zoe@example.org");
    EXPECT_EQ(kw.AuthorComment(), std::string(1000, 'c') + "!");  // not cut at 254
    EXPECT_EQ(kw.IncAuthor(), cvUnchecked);
    EXPECT_EQ(kw.IncPopupDone(), cvUnchecked);
    EXPECT_EQ(kw.IncZelMenu(), cvChecked);
    EXPECT_EQ(kw.ZelFileName(), cvChecked);
    EXPECT_EQ(kw.ZelVersion(), 7);
    EXPECT_EQ(kw.PluginName() + kw.ProgramName() + kw.Description(), "");
}

TEST_F(Preferences, HandEditedFileKeepsItsCommentsAndGetsCrLf)
{
    WriteAll(iniFile, "; edited by hand\n\n[Preferences]\nPluginPath = \"C:\\Plug ins\" \n\n[Personal]\nName=A\n");
    clsKitwright kw;
    EXPECT_EQ(kw.PluginLocation(), "C:\\Plug ins\\");
    kw.IncAuthor(cvChecked);
    EXPECT_EQ(
        ReadAll(iniFile),
        "; edited by hand\r\n[Preferences]\r\nPluginPath=\"C:\\Plug ins\"\r\nIncAuthor=1\r\n[Personal]\r\nName=A\r\n");
}

TEST_F(Preferences, UnusableFilesNeverStopTheProgram)
{
    // Garbled bytes.
    static const char garbled[] = "\x00\xff[\x01=\n=\n[[]]\n\xfe\xfe";
    WriteAll(iniFile, std::string(garbled, sizeof garbled - 1));
    EXPECT_NO_THROW({
        clsKitwright kw;
        kw.AuthorName("x");
        EXPECT_EQ(clsKitwright().AuthorName(), "x");
    });

    // Empty file: read as it is, not replaced by the defaults.
    WriteAll(iniFile, "");
    {
        clsKitwright kw;
        EXPECT_EQ(kw.IncAuthor(), 0);
        EXPECT_EQ(ReadAll(iniFile), "");
    }

    // Read-only file: sets are kept in memory and the file stays as it was.
    WriteAll(iniFile, "[Preferences]\r\nIncAuthor=1\r\n");
    fs::permissions(ToFs(iniFile), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    {
        clsKitwright kw;
        EXPECT_EQ(kw.IncAuthor(), 1);
        EXPECT_NO_THROW(kw.IncAuthor(cvUnchecked));
        EXPECT_EQ(kw.IncAuthor(), 0);
        RecordingList list;
        list.items = {"G"};
        EXPECT_NO_THROW(kw.SaveMenuGroupItems(list));
        EXPECT_EQ(ReadAll(iniFile), "[Preferences]\r\nIncAuthor=1\r\n");
    }
}

TEST_F(Preferences, MissingProgramFolderGivesEmptyPreferences)
{
    platform::SetProgramFolderForTesting(root + "\\does\\not\\exist");
    clsKitwright kw;
    EXPECT_EQ(kw.IncAuthor(), 0);
    EXPECT_EQ(kw.PluginLocation(), "");
    EXPECT_NO_THROW(kw.AuthorName("x"));
    EXPECT_TRUE(Groups(kw).empty());
}

TEST_F(Preferences, ZelVersionsList)
{
    clsKitwright kw;
    RecordingList list;
    list.items = {"old"};
    kw.LoadZelVersionsTo(list);
    EXPECT_EQ(list.items, (std::vector<std::string>{"<=0.348", ">=0.349"}));
    EXPECT_EQ(list.clicks, std::vector<int>{0});
}

TEST_F(Preferences, AFolderThatRefusesNewFilesStillGetsItsSettings)
{
    clsKitwright().AuthorName("First");  // the file exists; from now on only it is writable
    kw::platform::SetFolderRefusesNewFilesForTesting(programFolder);
    {
        clsKitwright kw;
        kw.AuthorName("Ann");
        kw.IncPopupDone(cvUnchecked);
        RecordingList groups;
        groups.items = {"Games", "Tools"};
        kw.SaveMenuGroupItems(groups);
    }
    clsKitwright kw;
    kw::platform::SetFolderRefusesNewFilesForTesting({});
    EXPECT_EQ(kw.AuthorName(), "Ann");
    EXPECT_EQ(kw.IncPopupDone(), cvUnchecked);
    EXPECT_EQ(Groups(kw), (std::vector<std::string>{"Games", "Tools"}));
    EXPECT_EQ(std::distance(fs::directory_iterator(ToFs(programFolder)), fs::directory_iterator{}), 1);
}

TEST_F(Preferences, StoringWhatTheFileAlreadyHoldsLeavesItAlone)
{
    clsKitwright();  // the default file
    const auto longAgo =
        std::chrono::floor<std::chrono::seconds>(fs::file_time_type::clock::now() - std::chrono::hours(24 * 365));
    fs::last_write_time(ToFs(iniFile), longAgo);
    {
        clsKitwright kw;
        kw.IncAuthor(kw.IncAuthor());
        kw.IncZelMenu(kw.IncZelMenu());
    }
    EXPECT_EQ(fs::last_write_time(ToFs(iniFile)), longAgo);
    clsKitwright().IncZelMenu(cvUnchecked);
    EXPECT_NE(fs::last_write_time(ToFs(iniFile)), longAgo);
    EXPECT_EQ(clsKitwright().IncZelMenu(), cvUnchecked);
}

// The console program's preferences: read once, changed only in memory, never written.
TEST_F(Preferences, ReadOnlyModelNeverWritesAFile)
{
    const std::string other = root + "\\elsewhere\\Mine.ini";
    {
        clsKitwright kw(other, PreferencesAccess::ReadOnly);
        // A missing file gives the window's defaults, in memory only.
        EXPECT_EQ(kw.PluginLocation(), programFolder + "\\");
        EXPECT_EQ(kw.IncAuthor(), cvChecked);
        EXPECT_EQ(kw.IncZelMenu(), cvChecked);
        EXPECT_EQ(kw.IncJuxMenu(), cvChecked);
        EXPECT_EQ(kw.ZelFileName(), cvUnchecked);
        EXPECT_EQ(Groups(kw), (std::vector<std::string>{"Accessories", "System Tools"}));
        kw.PluginLocation(root + "\\Out");
        kw.AuthorName("Ann");
        kw.AuthorWebsite("http://");
        kw.ZelFileName(cvChecked);
        RecordingList groups;
        groups.items = {"Games"};
        kw.SaveMenuGroupItems(groups);
        EXPECT_EQ(kw.PluginLocation(), root + "\\Out\\");
        EXPECT_EQ(kw.AuthorName(), "Ann");
        EXPECT_EQ(kw.ZelFileName(), cvChecked);
        EXPECT_EQ(Groups(kw), std::vector<std::string>{"Games"});
    }
    EXPECT_FALSE(fs::exists(ToFs(other)));
    EXPECT_FALSE(fs::exists(ToFs(iniFile)));  // nor the one beside the program

    // An existing file is read as the window reads it and stays as it was, byte for byte.
    const std::string bytes =
        "; mine\n[Preferences]\nPluginPath=D:\\Out\nIncAuthor=0\nIncZelMenu=1\n"
        "ZelVersion=1\n[Personal]\nName=Bob\n[MenuGroup]\n0=Tools\n";
    WriteAll(other, bytes);
    clsKitwright kw(other, PreferencesAccess::ReadOnly);
    EXPECT_EQ(kw.PluginLocation(), "D:\\Out\\");
    EXPECT_EQ(kw.IncAuthor(), cvUnchecked);
    EXPECT_EQ(kw.IncZelMenu(), cvChecked);
    EXPECT_EQ(kw.IncJuxMenu(), cvUnchecked);  // missing from an existing file: 0, as in the window
    EXPECT_EQ(kw.ZelVersion(), zvFrom0349);
    EXPECT_EQ(kw.AuthorName(), "Bob");
    EXPECT_EQ(Groups(kw), std::vector<std::string>{"Tools"});
    kw.AuthorName("Carl");
    kw.IncAuthor(cvChecked);
    kw.PluginLocation(root + "\\" + kOmegaText + " out");  // beyond the code page: kept whole in memory
    EXPECT_EQ(kw.PluginLocation(), root + "\\" + kOmegaText + " out\\");
    EXPECT_EQ(ReadAll(other), bytes);
    EXPECT_FALSE(fs::exists(ToFs(iniFile)));

    // A copy keeps its own preferences.
    clsKitwright copy = kw;
    copy.AuthorName("Dora");
    EXPECT_EQ(kw.AuthorName(), "Carl");
    EXPECT_EQ(copy.AuthorName(), "Dora");
}

TEST_F(Preferences, ReadWriteModelOfANamedFileWritesThere)
{
    const std::string other = root + "\\elsewhere\\Mine.ini";
    fs::create_directories(ToFs(root + "\\elsewhere"));
    clsKitwright kw(other, PreferencesAccess::ReadWrite);
    EXPECT_EQ(ReadAll(other).rfind("[Preferences]\r\nPluginPath=" + platform::ToAnsi(programFolder) + "\r\n", 0), 0u);
    kw.AuthorName("Ann");
    EXPECT_NE(ReadAll(other).find("[Personal]\r\nName=Ann\r\n"), std::string::npos);
    EXPECT_FALSE(fs::exists(ToFs(iniFile)));
}

TEST_F(Preferences, ReadOnlyModelOfAnUnreadableFileHasEmptyValues)
{
    // A folder where the file should be: it exists but cannot be read.
    const std::string folder = root + "\\Folder.ini";
    fs::create_directories(ToFs(folder));
    clsKitwright kw(folder, PreferencesAccess::ReadOnly);
    EXPECT_EQ(kw.PluginLocation(), "");
    EXPECT_EQ(kw.IncAuthor(), cvUnchecked);
    EXPECT_TRUE(Groups(kw).empty());
    kw.AuthorName("Ann");
    EXPECT_TRUE(fs::is_directory(ToFs(folder)));
    EXPECT_TRUE(fs::is_empty(ToFs(folder)));
}
