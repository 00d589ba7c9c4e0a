// Bad and hostile inputs as users really give them, one table. Each case starts from the
// same stored state: a Kitwright.ini with the user's preferences, an earlier plugin "Keep"
// and the program's source files. After each case its result must be the expected clear
// one, and nothing of that stored state may be lost.
#include <map>
#include <set>

#include "model/IniFile.h"
#include "model/ModelTestSupport.h"
#include "writers/WriteError.h"
#include "writers/WritePlugin.h"
#include "writers/modInf.h"
#include "writers/modRam.h"

using namespace kw;
using namespace kwtest;

namespace {

const std::string kBaselineTail =
    "IncAuthor=1\r\nIncZelMenu=1\r\nIncJuxMenu=0\r\nIncPopupDone=1\r\n"
    "[Personal]\r\nName=Ann\r\nComment=Keep me\r\n[MenuGroup]\r\n0=Games\r\n1=Tools\r\n";

struct Bench {
    std::string root, prog, ini, plugins, src, sys;
    RecordingPrompt prompt;

    std::string Make(const std::string& relative, const std::string& bytes = "x")
    {
        WriteAll(root + "\\" + relative, bytes);
        return root + "\\" + relative;
    }
    std::string Warnings() const
    {
        std::string out;
        for (const ShownMessage& m : prompt.shown)
            out += "; warned: " + m.text;
        return out;
    }
};

// What of the stored preferences a case may change by itself.
enum class Keeps {
    All,
    AllButLocation,  // the case chooses another plugins folder, which is then stored
    OwnIni,          // the case stands Kitwright.ini in for its own and checks it itself
};

struct Case {
    const char* what;
    std::function<std::string(Bench&)> act;  // returns what the user would see
    std::string expected;
    Keeps keeps = Keeps::All;
};

std::string Code(long code) { return std::to_string(code); }

std::string WriteErrorOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const WriteError& e) {
        return "WriteError " + std::to_string(e.Code());
    }
    return "written";
}

// A model on the stored preferences, with the destinations the window's lists choose.
std::unique_ptr<clsKitwright> Model()
{
    auto kw = std::make_unique<clsKitwright>();
    kw->ProgramFilesDest(dstPrograms);
    kw->SystemFilesDest(dstSystem32);
    kw->MaxExecutables(9);
    return kw;
}

std::vector<std::string> Groups(const clsKitwright& kw)
{
    RecordingList list;
    kw.LoadMenuGroupItemsTo(list);
    return list.items;
}

// Every file below a folder with its bytes, and every folder (as "name/").
std::map<std::string, std::string> Snapshot(const std::string& folder)
{
    std::map<std::string, std::string> out;
    std::error_code ec;
    const fs::path base = ToFs(folder);
    for (auto it = fs::recursive_directory_iterator(base, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        std::u8string rel = it->path().lexically_relative(base).generic_u8string();
        std::string name(rel.begin(), rel.end());
        if (it->is_directory(ec))
            out[name + "/"] = "";
        else
            out[name] = ReadAll(ToModel(it->path()));
    }
    return out;
}

std::string InfHeaders(const std::string& infPath)
{
    std::string out, bytes = ReadAll(infPath);
    for (std::size_t at = 0; at < bytes.size();) {
        std::size_t end = bytes.find("\r\n", at);
        if (end == std::string::npos)
            return "no CR LF at the end";
        if (bytes[at] == '[')
            out += bytes.substr(at, end - at);
        at = end + 2;
    }
    return out;
}

const char* const kInfHeaders =
    "[Version][Velmont][Append][WinntDirectories][SourceDisksFiles][SourceDisksFolders][Software.AddReg]"
    "[SetupReg.AddReg][Default.AddReg][Software.DelReg][Default.DelReg][AddLine][DelLine][SetValue]";

// A model that can be written: plugin "Kit" with one executable, its folder made.
std::unique_ptr<clsKitwright> WritableKit(Bench& b)
{
    auto kw = Model();
    kw->PluginName("Kit");
    kw->ProgramName("Prog");
    kw->Executable(0, b.src + "\\tool.exe");
    kw->ShortcutName(0, "Tool");
    return kw;
}

// "[Personal]" "Name=Réné Ω" in UTF-16 LE with its mark.
constexpr char kUtf16Ini[] =
    "\xFF\xFE[\0P\0e\0r\0s\0o\0n\0a\0l\0]\0\r\0\n\0N\0a\0m\0e\0=\0R\0\xE9\0n\0\xE9\0 \0\xA9\x03\r\0\n\0";
constexpr char kBinaryIni[] = "\x00\x01\xFF[\x80\x00=\x1A\r\n\xC3\n[Personal]\nName=Ann\n";

#ifdef _WIN32
constexpr long kMissingDrive = 3;  // the shell: path not found
#else
constexpr long kMissingDrive = 161;  // "Q:\..." is no absolute path here
#endif

std::vector<Case> Cases()
{
    auto create = [](std::string name) {
        return [name](Bench&) {
            auto kw = Model();
            kw->PluginName(name);
            return Code(kw->CreatePlugin());
        };
    };
    auto createAt = [](std::function<std::string(Bench&)> location) {
        return [location](Bench& b) {
            auto kw = Model();
            kw->PluginLocation(location(b));
            kw->PluginName("Kit");
            return Code(kw->CreatePlugin());
        };
    };
    auto scripts = [](std::string first, std::string second, bool ramdisk) {
        return [=](Bench& b) {
            auto kw = Model();
            kw->PluginName("Kit");
            kw->Executable(0, b.src + "\\tool.exe");
            kw->ShortcutName(0, first);
            (ramdisk ? kw->IncRamdisk(0, cvChecked) : kw->IncAutorun(0, cvChecked));
            if (!second.empty()) {
                kw->Executable(1, b.src + "\\readme.txt");
                kw->ShortcutName(1, second);
                (ramdisk ? kw->IncRamdisk(1, cvChecked) : kw->IncAutorun(1, cvChecked));
            }
            return Code(kw->CreatePlugin());
        };
    };
    // The preferences file replaced by the given bytes; the model is made on it.
    auto onIni = [](std::string bytes, std::function<std::string(Bench&, clsKitwright&)> then) {
        return [=](Bench& b) {
            WriteAll(b.ini, bytes);
            clsKitwright kw;
            return then(b, kw);
        };
    };

    return {
        // ---- Plugin names --------------------------------------------------------------
        {"plugin name of 300 characters", create(std::string(300, 'n')), "123"},
        {"reserved device name with an extension", create("CON.txt"), "123"},
        {"reserved device name in lower case", create("aux"), "123"},
        {"printer port with an extension", create("LPT1.log"), "123"},
        {"trailing dot", create("Kit."), "123"},
        {"trailing blank", create("Kit "), "123"},
        {"parent folder", create(".."), "123"},
        {"backslash in the name", create("a\\b"), "123"},
        {"drive colon in the name", create("C:Kit"), "123"},
        {"wildcard in the name", create("Kit?"), "123"},
        {"tab in the name", create("Kit\t"), "123"},
        {"empty name", create(""), "123"},
        {"plugin folder exists already", create("Keep"), "183"},
        {"plugin name outside the ANSI code page",
         [](Bench&) {
             auto kw = Model();
             kw->PluginName("\xCE\xA9mega");
             const int code = kw->CreatePlugin();
             return Code(code) + " " + kw->LastCreateProblems().at(0);
         },
         "1113 \xCE\xA9mega"},
        {"executable file name outside the ANSI code page",
         [](Bench& b) {
             auto kw = Model();
             kw->PluginName("Kit");
             kw->Executable(0, b.src + "\\\xE2\x98\x83.exe");
             const int code = kw->CreatePlugin();
             return Code(code) + " " + kw->LastCreateProblems().at(0);
         },
         "1113 \xE2\x98\x83.exe"},
        {"plugin path too long for the system",
         [](Bench& b) {
             auto kw = Model();
             kw->PluginLocation(b.root + "\\" + std::string(240, 'd'));
             kw->PluginName("Kit");
             const int code = kw->CreatePlugin();
             return Code(code) + (kw->LastCreateProblems().size() == 1 ? ", one path named" : ", no path named");
         },
         "206, one path named", Keeps::AllButLocation},
        {"plugins folder outside the ANSI code page",
         [](Bench& b) {
             Model()->PluginLocation(b.plugins + "\\\xCE\xA9");
             return std::string(Model()->PluginLocation() == b.plugins + "\\\xCE\xA9\\" ? "comes back whole"
                                                                                        : "comes back different");
         },
         "comes back whole", Keeps::AllButLocation},
        {"a sound name is made", create("Kit"), "0 +Kit/ +Kit/files/"},

        // ---- Plugins folder --------------------------------------------------------------
        {"relative plugins folder", createAt([](Bench&) { return std::string("Plugins"); }), "161",
         Keeps::AllButLocation},
        {"plugins folder on a missing drive", createAt([](Bench&) { return std::string("Q:\\Plugins"); }),
         Code(kMissingDrive), Keeps::AllButLocation},
        {"plugins folder is a file", createAt([](Bench& b) { return b.Make("notes.txt"); }), "3",
         Keeps::AllButLocation},
        {"files folder is a file",
         [](Bench& b) {
             b.Make("out\\Kit\\files", "not a folder");
             auto kw = Model();
             kw->PluginLocation(b.root + "\\out");
             kw->PluginName("Kit");
             return Code(kw->CreatePlugin());
         },
#ifdef _WIN32
         "183",
#else
         "80",
#endif
         Keeps::AllButLocation},

        // ---- Script names --------------------------------------------------------------
        {"ramdisk script name with a colon", scripts("a:b", "", true), "123"},
        {"autorun script name with a slash", scripts("x/y", "", false), "123"},
        {"two autorun scripts differing only in case", scripts("Tray", "tray", false), "123"},
        {"autorun script without a shortcut name", scripts("", "", false), "123"},

        // ---- Files and executables -------------------------------------------------------
        {"two executables with one file name in different folders",
         [](Bench& b) {
             auto kw = Model();
             kw->Executable(0, b.src + "\\tool.exe");
             kw->Executable(1, b.src + "\\other\\TOOL.exe");
             return "slot 1 [" + kw->Executable(1) + "]" + b.Warnings();
         },
         "slot 1 []; warned: A file with the same name has already been selected"},
        {"system file outside the system folders",
         [](Bench& b) {
             auto kw = Model();
             kw->AddFile(fcSystemFiles, b.src + "\\tool.exe");
             return std::to_string(kw->SystemFileCount()) + " files" + b.Warnings();
         },
         "0 files; warned: The file location must match the selected destination"},
        {"system file in a sub-folder of System32",
         [](Bench& b) {
             auto kw = Model();
             kw->AddFile(fcSystemFiles, b.sys + "\\drivers\\x.sys");
             return std::to_string(kw->SystemFileCount()) + " files" + b.Warnings();
         },
         "0 files; warned: The file location must match the selected destination"},
        {"one program file added twice in different case",
         [](Bench& b) {
             auto kw = Model();
             kw->ProgramFile(b.src + "\\readme.txt");
             kw->ProgramFile(b.src + "\\README.TXT");
             kw->ProgramFile("");
             return std::to_string(kw->ProgramFileCount()) + " files";
         },
         "1 files"},
        {"source file vanishes before the copy",
         [](Bench& b) {
             auto kw = Model();
             kw->PluginName("Kit");
             kw->ProgramFile(b.src + "\\gone.dll");
             const int made = kw->CreatePlugin();
             return Code(made) + ", copied " + (kw->CopyFiles() ? "all" : "not all");
         },
         "0, copied not all +Kit/ +Kit/files/"},
        {"program folder missing for a folder-tree copy",
         [](Bench& b) {
             auto kw = Model();
             kw->PluginName("Kit");
             kw->CopyOption(coFolderTree);
             kw->ProgramFolder(b.root + "\\nowhere");
             const int made = kw->CreatePlugin();
             return Code(made) + ", copied " + (kw->CopyFiles() ? "all" : "not all");
         },
         "0, copied not all +Kit/ +Kit/files/"},
        {"deleting a file that is not listed",
         [](Bench& b) {
             auto kw = Model();
             kw->ProgramFile(b.src + "\\readme.txt");
             kw->DeleteFileFrom(fcProgramFiles, "other.txt");
             return std::to_string(kw->ProgramFileCount()) + " files";
         },
         "1 files"},
        {"too many executable slots",
         [](Bench&) {
             auto kw = Model();
             return Code(ErrorOf([&] { kw->MaxExecutables(40000); })) + ", max " + std::to_string(kw->MaxExecutables());
         },
         "5, max 9"},
        {"executable slot past the last",
         [](Bench&) {
             auto kw = Model();
             return Code(ErrorOf([&] { kw->Executable(10, "C:\\x.exe"); })) + ", " +
                    Code(ErrorOf([&] { kw->CurrentExecutable(-1); })) + ", current " +
                    std::to_string(kw->CurrentExecutable());
         },
         "5, 5, current 0"},

        // ---- Preference values ---------------------------------------------------------
        {"32,000-character preference value",
         [](Bench&) {
             const std::string value = std::string(31999, 'c') + "!";
             Model()->AuthorContact(value);
             return std::string(Model()->AuthorContact() == value ? "comes back whole" : "comes back different");
         },
         "comes back whole"},
        {"preference value with line breaks",
         [](Bench&) {
             Model()->AuthorContact("a\r\n[MenuGroup]\r\n0=x");
             return Model()->AuthorContact();
         },
         "a  [MenuGroup]  0=x"},
        {"preference value in quotes and blanks",
         [](Bench&) {
             Model()->AuthorContact("  \"Bob\"  ");
             return Model()->AuthorContact();
         },
         "Bob"},

        // ---- The preferences file itself ---------------------------------------------
        {"Kitwright.ini is a folder",
         [](Bench& b) {
             fs::remove(ToFs(b.ini));
             fs::create_directories(ToFs(b.ini));
             b.Make("prog\\Kitwright.ini\\inside.txt", "mine");
             clsKitwright kw;
             kw.AuthorName("Zed");
             return "[" + kw.PluginLocation() + "] " + std::to_string(kw.IncAuthor()) + " " + kw.AuthorName() + ", " +
                    (fs::is_directory(ToFs(b.ini)) ? "still a folder" : "replaced");
         },
         "[] 0 Zed, still a folder", Keeps::OwnIni},
        {"Kitwright.ini is empty",
         onIni("",
               [](Bench& b, clsKitwright& kw) {
                   return std::to_string(kw.IncAuthor()) + " " + std::to_string(Groups(kw).size()) + " groups, " +
                          std::to_string(ReadAll(b.ini).size()) + " bytes";
               }),
         "0 0 groups, 0 bytes", Keeps::OwnIni},
        {"Kitwright.ini is binary",
         onIni(std::string(kBinaryIni, sizeof kBinaryIni - 1),
               [](Bench& b, clsKitwright& kw) {
                   const std::string before = ReadAll(b.ini);
                   kw.AuthorContact("Bob");
                   ini::Document expected = ini::Document::Parse(before);
                   expected.Set("Personal", "Contact", "Bob");
                   return kw.AuthorName() + ", " +
                          (ReadAll(b.ini) == expected.Serialize() ? "other lines kept" : "changed");
               }),
         "Ann, other lines kept", Keeps::OwnIni},
        {"Kitwright.ini is read-only",
         [](Bench& b) {
             const std::string before = ReadAll(b.ini);
             fs::permissions(ToFs(b.ini), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                             fs::perm_options::remove);
             Model()->AuthorName("Zed");
             const bool same = ReadAll(b.ini) == before;
             fs::permissions(ToFs(b.ini), fs::perms::owner_write, fs::perm_options::add);
             return Model()->AuthorName() + (same ? ", file unchanged" : ", file changed");
         },
         "Ann, file unchanged"},
        {"Kitwright.ini in UTF-16 with a byte-order mark",
         onIni(std::string(kUtf16Ini, sizeof kUtf16Ini - 1),
               [](Bench& b, clsKitwright& kw) {
                   const std::string name = kw.AuthorName();
                   kw.AuthorContact("Bob");
                   clsKitwright again;
                   return name + ", " + again.AuthorName() + " " + again.AuthorContact() + ", " +
                          (ReadAll(b.ini).starts_with("\xFF\xFE[\0P\0") ? "still UTF-16" : "re-encoded");
               }),
         "R\xC3\xA9n\xC3\xA9 \xCE\xA9, R\xC3\xA9n\xC3\xA9 \xCE\xA9 Bob, still UTF-16", Keeps::OwnIni},
        {"Kitwright.ini in UTF-8 with a byte-order mark",
         onIni("\xEF\xBB\xBF[Preferences]\r\nIncAuthor=1\r\n[Personal]\r\nName=\xCE\xA9mega\r\n",
               [](Bench& b, clsKitwright& kw) {
                   kw.AuthorContact("\xE2\x82\xAC");
                   clsKitwright again;
                   return std::to_string(kw.IncAuthor()) + " " + again.AuthorName() + " " + again.AuthorContact() +
                          ", " +
                          (ReadAll(b.ini).starts_with("\xEF\xBB\xBF[Preferences]") ? "still UTF-8" : "re-encoded");
               }),
         "1 \xCE\xA9mega \xE2\x82\xAC, still UTF-8", Keeps::OwnIni},
        {"Kitwright.ini with a number too big and a number with blanks",
         onIni("[Preferences]\r\nIncZelMenu=99999999999\r\nIncAuthor= +1 \r\nZelVersion=7\r\n",
               [](Bench&, clsKitwright& kw) {
                   return std::to_string(kw.IncZelMenu()) + " " + std::to_string(kw.IncAuthor()) + " " +
                          std::to_string(kw.ZelVersion());
               }),
         "0 1 7", Keeps::OwnIni},
        {"website removed while the file holds it twice",
         onIni("[Personal]\r\nWebsite=http://new\r\nwebsite=http://old\r\n",
               [](Bench&, clsKitwright& kw) {
                   kw.AuthorWebsite("http://");
                   return "[" + clsKitwright().AuthorWebsite() + "]";
               }),
         "[]", Keeps::OwnIni},

        // ---- Writers -------------------------------------------------------------------
        {"writers called with the name of the parent folder",
         [](Bench& b) {
             auto kw = WritableKit(b);
             kw->PluginName("..");
             return WriteErrorOf([&] { WritePluginFiles(*kw); });
         },
         "WriteError 123"},
        {"program name that starts a section of its own",
         [](Bench& b) {
             auto kw = WritableKit(b);
             kw->ProgramName("Prog\r\n[Strings]\r\nx=1");
             kw->CreatePlugin();
             WritePluginFiles(*kw);
             return InfHeaders(b.plugins + "\\Kit\\Kit.inf") == kInfHeaders ? std::string("fixed headers")
                                                                            : InfHeaders(b.plugins + "\\Kit\\Kit.inf");
         },
         "fixed headers +Kit/ +Kit/Kit.htm +Kit/Kit.inf +Kit/Kit.xml +Kit/files/"},
        {"description of several lines with bare line ends",
         [](Bench& b) {
             auto kw = WritableKit(b);
             kw->Description("one\ntwo\rthree");
             kw->CreatePlugin();
             WritePluginFiles(*kw);
             const std::string htm = ReadAll(b.plugins + "\\Kit\\Kit.htm");
             return std::string(htm.find("<div>one\r\ntwo\r\nthree</div>\r\n") != std::string::npos ? "kept as CR LF"
                                                                                                    : "broken");
         },
         "kept as CR LF +Kit/ +Kit/Kit.htm +Kit/Kit.inf +Kit/Kit.xml +Kit/files/"},
        {"plugin folder removed before the writers run",
         [](Bench& b) {
             auto kw = WritableKit(b);
             return WriteErrorOf([&] { WritePluginFiles(*kw); });
         },
         "WriteError 3"},
        {"read-only INF of an earlier plugin",
         [](Bench& b) {
             auto kw = WritableKit(b);
             kw->PluginName("Keep");
             fs::permissions(ToFs(b.plugins + "\\Keep\\Keep.inf"),
                             fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                             fs::perm_options::remove);
             std::string result = WriteErrorOf([&] { modInf::WriteInfFile(*kw); });
             fs::permissions(ToFs(b.plugins + "\\Keep\\Keep.inf"), fs::perms::owner_write, fs::perm_options::add);
             return result;
         },
         "WriteError 5"},
        {"files folder is a file when the scripts are written",
         [](Bench& b) {
             auto kw = WritableKit(b);
             kw->IncRamdisk(0, cvChecked);
             b.Make("plugins\\Kit\\files", "not a folder");
             return WriteErrorOf([&] { modRam::WriteRamdiskScripts(*kw); });
         },
         "WriteError 3 +Kit/ +Kit/files"},
        {"ramdisk script name leading out of the files folder",
         [](Bench& b) {
             auto kw = WritableKit(b);
             kw->ShortcutName(0, "..\\..\\evil");
             kw->IncRamdisk(0, cvChecked);
             fs::create_directories(ToFs(b.plugins + "\\Kit\\files"));
             return WriteErrorOf([&] { modRam::WriteRamdiskScripts(*kw); });
         },
         "WriteError 123 +Kit/ +Kit/files/"},
    };
}

class BadInputs : public ::testing::Test {
protected:
    void SetUp() override
    {
        base = fs::temp_directory_path() / ("kwbad-" + std::to_string(std::random_device{}()));
        previousPrompt = platform::SetPrompt(nullptr);
    }
    void TearDown() override
    {
        platform::SetPrompt(previousPrompt);
        platform::SetProgramFolderForTesting({});
        platform::SetSpecialFolderForTesting(platform::kCsidlSystem, {});
        std::error_code ec;
        fs::remove_all(base, ec);
    }

    // A fresh stored state for one case.
    void Lay(Bench& b, std::size_t index)
    {
        fs::path dir = base / std::to_string(index);
        fs::create_directories(dir);
        b.root = ToModel(dir);
        b.prog = b.root + "\\prog";
        b.ini = b.prog + "\\Kitwright.ini";
        b.plugins = b.root + "\\plugins";
        b.src = b.root + "\\src";
        b.sys = b.root + "\\win\\system32";
        WriteAll(b.ini, "[Preferences]\r\nPluginPath=" + platform::ToAnsi(b.plugins) + "\r\n" + kBaselineTail);
        b.Make("plugins\\Keep\\Keep.inf", "[Version]\r\n");
        b.Make("plugins\\Keep\\files\\keep.exe", "MZ keep");
        b.Make("src\\tool.exe", "MZ tool");
        b.Make("src\\readme.txt", "read me");
        b.Make("src\\other\\tool.exe", "MZ other tool");
        b.Make("win\\system32\\drivers\\x.sys", "driver");
        platform::SetProgramFolderForTesting(b.prog);
        platform::SetSpecialFolderForTesting(platform::kCsidlSystem, b.sys);
        platform::SetPrompt(&b.prompt);
    }

    fs::path base;
    platform::iPrompt* previousPrompt = nullptr;
};

}  // namespace

TEST_F(BadInputs, EachHasItsClearResultAndNothingStoredIsLost)
{
    const std::vector<Case> cases = Cases();
    ASSERT_GE(cases.size(), 40u);
    std::set<std::string> names;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(names.insert(c.what).second);
        Bench b;
        Lay(b, i);
        const auto stored = Snapshot(b.root);
        const auto pluginsBefore = Snapshot(b.plugins);

        std::string result;
        try {
            result = c.act(b);
        } catch (const std::exception& e) {
            result = std::string("unexpected exception: ") + e.what();
        }
        // What the case made in the plugins folder is part of its result.
        for (const auto& [name, bytes] : Snapshot(b.plugins))
            if (!pluginsBefore.count(name))
                result += " +" + name;
        EXPECT_EQ(result, c.expected);

        // Nothing stored is lost: every file keeps its bytes, every folder stays...
        const auto now = Snapshot(b.root);
        for (const auto& [name, bytes] : stored) {
            if (name == "prog/Kitwright.ini" && c.keeps == Keeps::OwnIni)
                continue;
            auto it = now.find(name);
            if (name == "prog/Kitwright.ini")
                EXPECT_TRUE(it != now.end()) << name;
            else
                EXPECT_TRUE(it != now.end() && it->second == bytes) << name << " was lost or changed";
        }
        // ...and the preferences read back as they were stored.
        if (c.keeps != Keeps::OwnIni) {
            b.prompt.shown.clear();
            clsKitwright kw;
            if (c.keeps != Keeps::AllButLocation) {
                EXPECT_EQ(kw.PluginLocation(), b.plugins + "\\");
            }
            EXPECT_EQ(kw.AuthorName(), "Ann");
            EXPECT_EQ(kw.AuthorComment(), "Keep me");
            EXPECT_EQ(kw.IncAuthor(), cvChecked);
            EXPECT_EQ(kw.IncJuxMenu(), cvUnchecked);
            EXPECT_EQ(Groups(kw), (std::vector<std::string>{"Games", "Tools"}));
        }
    }
}
