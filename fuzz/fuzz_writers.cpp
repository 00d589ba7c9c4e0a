// The writers over a model built from the fuzzer's bytes: no crash, every generated file
// ends in CR LF and holds no bare CR or LF, the INF's section headers are the fixed set in
// the fixed order, and nothing is written outside {PluginLocation}{PluginName}\.
#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzSupport.h"
#include "model/clsKitwright.h"
#include "writers/WriteError.h"
#include "writers/WritePlugin.h"

using namespace kwfuzz;

namespace {

const std::vector<std::string> kInfSections = {"[Version]",          "[Velmont]",          "[Append]",
                                               "[WinntDirectories]", "[SourceDisksFiles]", "[SourceDisksFolders]",
                                               "[Software.AddReg]",  "[SetupReg.AddReg]",  "[Default.AddReg]",
                                               "[Software.DelReg]",  "[Default.DelReg]",   "[AddLine]",
                                               "[DelLine]",          "[SetValue]"};

void CheckFile(const fs::path& file)
{
    const std::string bytes = ReadAll(file);
    KW_CHECK(bytes.ends_with("\r\n"));
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r')
            KW_CHECK(i + 1 < bytes.size() && bytes[i + 1] == '\n');
        if (bytes[i] == '\n')
            KW_CHECK(i > 0 && bytes[i - 1] == '\r');
    }
    if (file.extension() == ".inf") {
        std::vector<std::string> headers;
        for (const std::string& line : CrLfLines(bytes))
            if (line.starts_with('['))
                headers.push_back(line);
        KW_CHECK(headers == kInfSections);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QuietPrompt prompt;
    static const fs::path root = [] {
        kw::platform::SetPrompt(&prompt);
        fs::path r = Scratch() / "writers";
        fs::create_directories(r / "prog");
        fs::create_directories(r / "win" / "system32");
        kw::platform::SetProgramFolderForTesting(ModelPath(r / "prog"));
        kw::platform::SetSpecialFolderForTesting(kw::platform::kCsidlWindows, ModelPath(r / "win"));
        kw::platform::SetSpecialFolderForTesting(kw::platform::kCsidlSystem, ModelPath(r / "win" / "system32"));
        return r;
    }();
    const fs::path plugins = root / "out" / "plugins";
    fs::remove_all(root / "out");
    fs::create_directories(plugins);

    FuzzedDataProvider in(data, size);
    kw::clsKitwright kw;
    kw.PluginLocation(ModelPath(plugins));
    kw.PluginName(in.ConsumeRandomLengthString(40));
    kw.ProgramName(in.ConsumeRandomLengthString(40));
    kw.Description(in.ConsumeRandomLengthString(80));
    kw.ProgramWebsite(in.ConsumeRandomLengthString(30));
    kw.AuthorName(in.ConsumeRandomLengthString(30));
    kw.AuthorWebsite(in.ConsumeRandomLengthString(30));
    kw.AuthorContact(in.ConsumeRandomLengthString(30));
    kw.AuthorComment(in.ConsumeRandomLengthString(60));
    kw.MenuGroup(in.ConsumeRandomLengthString(30));
    kw.IncAuthor(kw::CheckValue(in.ConsumeIntegralInRange(-1, 2)));
    kw.IncZelMenu(kw::CheckValue(in.ConsumeIntegralInRange(-1, 2)));
    kw.IncJuxMenu(kw::CheckValue(in.ConsumeIntegralInRange(-1, 2)));
    kw.ZelFileName(kw::CheckValue(in.ConsumeIntegralInRange(-1, 2)));
    kw.ZelVersion(kw::ZelMenuVersion(in.ConsumeIntegralInRange(-1, 2)));
    kw.IncSubGroup(in.ConsumeBool());
    kw.CopyOption(in.ConsumeBool() ? kw::coFolderTree : kw::coIndividualFiles);
    // The destinations the window's lists can choose.
    kw.ProgramFilesDest(in.ConsumeBool() ? kw::dstSystem32 : kw::dstPrograms);
    kw.SystemFilesDest(in.ConsumeBool() ? kw::dstSystem32 : kw::dstWindows);
    kw.ProgramFolder(in.ConsumeRandomLengthString(40));
    kw.MaxExecutables(in.ConsumeIntegralInRange(0, 9));
    for (int i = 0; i <= kw.MaxExecutables() && in.remaining_bytes() > 0; ++i) {
        kw.Executable(i, in.ConsumeRandomLengthString(40));
        kw.ShortcutName(i, in.ConsumeRandomLengthString(30));
        kw.IncRamdisk(i, kw::CheckValue(in.ConsumeIntegralInRange(0, 2)));
        kw.IncAutorun(i, kw::CheckValue(in.ConsumeIntegralInRange(0, 2)));
        kw.IncJuxDesktop(i, kw::CheckValue(in.ConsumeIntegralInRange(0, 1)));
        kw.IncJuxQlaunch(i, kw::CheckValue(in.ConsumeIntegralInRange(0, 1)));
    }
    for (int n = in.ConsumeIntegralInRange(0, 4); n > 0; --n)
        kw.AddFile(kw::fcProgramFiles, in.ConsumeRandomLengthString(40));
    for (int n = in.ConsumeIntegralInRange(0, 2); n > 0; --n)
        kw.AddFile(kw::fcSystemFiles, kw.SystemFilesFolder() + in.ConsumeRandomLengthString(20));

    // The window runs the writers only after the folder was made; they must hold on their own too.
    const int made = kw.CreatePlugin();
    const bool validName = kw::clsKitwright::IsValidFileName(kw.PluginName());
    KW_CHECK(made != 0 || validName);
    try {
        kw::WritePluginFiles(kw);
        KW_CHECK(validName);
    } catch (const kw::WriteError& e) {
        KW_CHECK(e.Code() != 0);
    }

    for (const auto& entry : fs::recursive_directory_iterator(plugins)) {
        if (!entry.is_regular_file())
            continue;
        const fs::path rel = entry.path().lexically_relative(plugins);
        auto part = rel.begin();
        KW_CHECK(validName && part->string() == kw.PluginName());
        const std::size_t depth = static_cast<std::size_t>(std::distance(rel.begin(), rel.end()));
        KW_CHECK(depth == 2 || (depth == 3 && (++part)->string() == "files"));
        CheckFile(entry.path());
    }
    for (const auto& entry : fs::directory_iterator(root / "out"))
        KW_CHECK(entry.path() == plugins);
    return 0;
}
