// Creating into a chosen folder and replacing a plugin whole or not at all.
#include <map>

#include "ModelTestSupport.h"
#include "document/PluginBuilder.h"
#include "document/PluginReader.h"

using namespace kwtest;
using Status = kw::BuildResult::Status;

namespace {

// Every file and folder below a folder with its bytes ("" for a folder).
std::map<std::string, std::string> Tree(const std::string& folder)
{
    std::map<std::string, std::string> tree;
    const fs::path base = ToFs(folder);
    for (const auto& e : fs::recursive_directory_iterator(base)) {
        const std::u8string rel = e.path().lexically_relative(base).generic_u8string();
        tree[std::string(rel.begin(), rel.end())] = e.is_directory() ? std::string() : ReadAll(ToModel(e.path()));
    }
    return tree;
}

class PluginBuilder : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        plugins = root + "\\plugins";
        fs::create_directories(ToFs(plugins));
        src = root + "\\src\\";
        MakeFile("src\\tool.exe", "MZ tool");
        MakeFile("src\\viewer.exe", "MZ viewer");
        MakeFile("src\\readme.txt", "Read me.\r\n");
        MakeFile("src\\lib\\deep\\data.bin", std::string("\0\1\2", 3));
        MakeFile("win\\system32\\msvcrt.dll");
        kw = std::make_unique<kw::clsKitwright>();
        kw->MaxExecutables(9);
        kw->ProgramFilesDest(kw::dstPrograms);
        kw->SystemFilesDest(kw::dstSystem32);
    }

    void TearDown() override
    {
        kw::platform::SetFailureForTesting(0, 0);
        kw.reset();
        ModelTest::TearDown();
    }

    // A plugin with copies, scripts of both kinds and a menu file.
    void Individual(const std::string& name)
    {
        kw->PluginName(name);
        kw->ProgramName("Tool Kit");
        kw->Description("First version.");
        kw->IncZelMenu(kw::cvChecked);
        kw->ProgramFile(src + "readme.txt");
        kw->AddFile(kw::fcSystemFiles, systemFolder + "\\msvcrt.dll");
        kw->Executable(0, src + "tool.exe");
        kw->ShortcutName(0, "Tool");
        kw->IncRamdisk(0, kw::cvChecked);
        kw->IncAutorun(0, kw::cvChecked);
        kw->Executable(1, src + "viewer.exe");
        kw->ShortcutName(1, "Viewer");
    }

    std::string plugins, src;
    std::unique_ptr<kw::clsKitwright> kw;
};

TEST_F(PluginBuilder, ReplaceThatFailsAtAnyStepLeavesTheOldPluginByteForByte)
{
    Individual("Tool");
    ASSERT_EQ(kw::CreatePluginIn(*kw, plugins).status, Status::Made);
    const std::string plugin = plugins + "\\Tool";
    const auto before = Tree(plugins);
    const auto oldPlugin = Tree(plugin);
    ASSERT_EQ(before.at("Tool/files/tool.exe"), "MZ tool");

    // The plugin opened again, one thing changed, re-created over itself: its copies are the sources.
    kw::PluginReading read = kw::ReadPlugin(plugin, *kw);
    ASSERT_TRUE(read.found);
    EXPECT_TRUE(read.changed.empty());
    read.document.Description = "Second version.";
    kw::clsKitwright edited = *kw;
    ASSERT_TRUE(kw::ApplyDocument(read.document, edited).empty());

    int failures = 0;
    for (int step = 0;; ++step) {
        SCOPED_TRACE("failing operation " + std::to_string(step));
        const unsigned long code = step % 2 ? 32 : 112;  // a locked file, a full disk
        kw::platform::SetFailureForTesting(step, code);
        const kw::BuildResult r = kw::ReplacePlugin(edited, plugins);
        if (kw::platform::FailurePendingForTesting()) {
            kw::platform::SetFailureForTesting(0, 0);
            ASSERT_EQ(r.status, Status::Made) << r.message;
            break;
        }
        ++failures;
        if (r.status == Status::Made) {
            // Only removing the old plugin may fail after the swap: the new one stands, the old is kept aside.
            ASSERT_FALSE(r.leftover.empty());
            EXPECT_NE(r.message.find(r.leftover), std::string::npos);
            EXPECT_EQ(Tree(r.leftover + "\\~old"), oldPlugin);
            fs::remove_all(ToFs(plugin));
            fs::rename(ToFs(r.leftover + "\\~old"), ToFs(plugin));
            fs::remove_all(ToFs(r.leftover));
        } else {
            EXPECT_EQ(r.status, Status::Failed);
            EXPECT_EQ(r.code, code);
            EXPECT_NE(r.message.find("The plugin " + plugin + " could not be replaced."), std::string::npos)
                << r.message;
            EXPECT_NE(r.message.find(kw::platform::ErrorText(code)), std::string::npos) << r.message;
            EXPECT_NE(r.message.find("The plugin that was there is unchanged."), std::string::npos) << r.message;
        }
        ASSERT_EQ(Tree(plugins), before);
    }
    // A temporary folder, the plugin folder, seven files written, four copies, two moves, one removal.
    EXPECT_GE(failures, 14);

    auto after = Tree(plugins);
    EXPECT_EQ(after.size(), before.size());
    EXPECT_NE(after.at("Tool/Tool.htm").find("<div>Second version.</div>"), std::string::npos);
    EXPECT_EQ(after.at("Tool/Tool.inf"), before.at("Tool/Tool.inf"));
    for (const char* copy : {"Tool/files/tool.exe", "Tool/files/viewer.exe", "Tool/files/readme.txt",
                             "Tool/files/ramdisk_Tool.cmd", "Tool/files/autorun_Tool.cmd"})
        EXPECT_EQ(after.at(copy), before.at(copy)) << copy;
}

TEST_F(PluginBuilder, FolderTreePluginUnderANewNameCarriesNoOldScript)
{
    kw->PluginName("Old");
    kw->ProgramName("Tree");
    kw->CopyOption(kw::coFolderTree);
    kw->ProgramFolder(src);
    kw->Executable(0, src + "tool.exe");
    kw->ShortcutName(0, "Run Me");
    kw->IncRamdisk(0, kw::cvChecked);
    kw->IncAutorun(0, kw::cvChecked);
    kw->Executable(1, src + "viewer.exe");
    kw->ShortcutName(1, "Look");
    kw->IncAutorun(1, kw::cvChecked);
    ASSERT_EQ(kw::CreatePluginIn(*kw, plugins).status, Status::Made);
    const auto old = Tree(plugins + "\\Old");
    ASSERT_NE(old.at("files/ramdisk_Run Me.cmd").find("%temp%\\Old\\"), std::string::npos);

    kw::PluginReading read = kw::ReadPlugin(plugins + "\\Old", *kw);
    ASSERT_TRUE(read.found);
    EXPECT_TRUE(read.changed.empty());
    EXPECT_EQ(read.document.ProgramFolder, plugins + "\\Old\\files\\");
    EXPECT_EQ(read.created, (std::vector<std::string>{"autorun_Look.cmd", "autorun_Run Me.cmd", "ramdisk_Run Me.cmd"}));
    read.document.PluginName = "New";
    read.document.Executables[1].ShortcutName = "Glance";
    kw::clsKitwright again = *kw;
    ASSERT_TRUE(kw::ApplyDocument(read.document, again).empty());
    ASSERT_EQ(kw::ReplacePlugin(again, plugins).status, Status::Made);

    const auto made = Tree(plugins + "\\New");
    EXPECT_EQ(made.count("files/autorun_Look.cmd"), 0u);
    EXPECT_EQ(made.at("files/autorun_Glance.cmd").find("Old"), std::string::npos);
    EXPECT_NE(made.at("files/ramdisk_Run Me.cmd").find("%temp%\\New\\"), std::string::npos);
    EXPECT_EQ(made.at("files/ramdisk_Run Me.cmd").find("Old"), std::string::npos);
    // The program's own tree came along, whole.
    EXPECT_EQ(made.at("files/lib/deep/data.bin"), std::string("\0\1\2", 3));
    EXPECT_EQ(made.at("files/tool.exe"), "MZ tool");
    EXPECT_EQ(made.at("files/readme.txt"), "Read me.\r\n");
    std::size_t scripts = 0;
    for (const auto& [name, bytes] : made)
        scripts += name.find("ramdisk_") != std::string::npos || name.find("autorun_") != std::string::npos;
    EXPECT_EQ(scripts, 3u);
    EXPECT_EQ(Tree(plugins + "\\Old"), old);
    EXPECT_FALSE(kw::platform::PathExists(kw->PluginLocation() + "New")) << "the preference is not used";
}

TEST_F(PluginBuilder, OnlyAPluginFolderIsReplaced)
{
    Individual("Tool");
    // Files of someone else's, and an INF that is no plugin's.
    MakeFile("plugins\\Tool\\notes.txt", "mine");
    MakeFile("plugins\\Tool\\setup.inf", "[Version]\r\nSignature=\"$Windows NT$\"\r\n");
    const auto before = Tree(plugins);
    kw::BuildResult r = kw::ReplacePlugin(*kw, plugins);
    EXPECT_EQ(r.status, Status::NotPlugin);
    EXPECT_EQ(r.message, "The folder " + plugins + "\\Tool holds no plugin INF file, so it is not replaced.");
    EXPECT_EQ(Tree(plugins), before);

    // Nothing there: replacing is creating.
    kw->PluginName("Fresh");
    EXPECT_EQ(kw::ReplacePlugin(*kw, plugins).status, Status::Made);
    EXPECT_TRUE(kw::HoldsPlugin(plugins + "\\Fresh"));
    EXPECT_EQ(Tree(plugins + "\\Fresh").at("files/tool.exe"), "MZ tool");
    r = kw::CreatePluginIn(*kw, plugins);
    EXPECT_EQ(r.status, Status::Exists);
    EXPECT_EQ(r.message, "The chosen plugin folder already exists");

    // What Create refuses is refused before anything is touched.
    kw->ShortcutName(0, "a|b");
    const auto now = Tree(plugins);
    r = kw::ReplacePlugin(*kw, plugins);
    EXPECT_EQ(r.status, Status::Refused);
    EXPECT_EQ(r.code, 123u);
    EXPECT_EQ(r.problems, std::vector<std::string>{"a|b"});
    EXPECT_NE(r.message.find("Not usable:\r\na|b"), std::string::npos) << r.message;
    EXPECT_EQ(Tree(plugins), now);
    EXPECT_TRUE(prompt.shown.empty());
}

}  // namespace
