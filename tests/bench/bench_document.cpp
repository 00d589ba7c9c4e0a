// Reading back a plugin of 1,000 files (target <= 50 ms), and replacing a plugin against
// creating it fresh in the same run (target <= 1.2x). Best of several rounds each.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "document/PluginBuilder.h"
#include "document/PluginReader.h"
#include "platform/Platform.h"

namespace fs = std::filesystem;

namespace {

constexpr int kFiles = 1000;
constexpr int kRounds = 7;

// The model's paths use "\"; the POSIX platform maps them.
std::string ToModel(const fs::path& p)
{
    std::u8string u = p.u8string();
    std::string s(u.begin(), u.end());
    std::replace(s.begin(), s.end(), '/', '\\');
    return s;
}

double Milliseconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

class SilentPrompt : public kw::platform::iPrompt {
public:
    int Show(kw::NativeHandle, std::string_view text, std::string_view, unsigned) override
    {
        std::fprintf(stderr, "message: %.*s\n", static_cast<int>(text.size()), text.data());
        return kw::platform::kIdOk;
    }
};

}  // namespace

int main()
{
    const fs::path base =
        fs::temp_directory_path() /
        ("kwbench-doc-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    const fs::path src = base / "src";
    fs::create_directories(src);
    fs::create_directories(base / "prog");
    SilentPrompt prompt;
    kw::platform::SetPrompt(&prompt);
    kw::platform::SetProgramFolderForTesting(ToModel(base / "prog"));
    kw::platform::SetSpecialFolderForTesting(kw::platform::kCsidlSystem, ToModel(base / "sys"));

    // 1,000 program files of 4 to 36 KB (about 20 MB), three of them executables with scripts.
    std::vector<char> data(40000);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>('a' + (i * 31) % 26);
    kw::clsKitwright kw;
    kw.DetachPreferences();
    kw.MaxExecutables(9);
    kw.PluginName("Bench");
    kw.ProgramName("Bench Tools");
    kw.Description("A plugin of a thousand files.");
    kw.ProgramFilesDest(kw::dstPrograms);
    kw.SystemFilesDest(kw::dstSystem32);
    kw.IncZelMenu(kw::cvChecked);
    kw.IncJuxMenu(kw::cvChecked);
    kw.MenuGroup("Tools");
    for (int n = 0; n < kFiles; ++n) {
        const std::string name = "file" + std::to_string(n) + (n < 3 ? ".exe" : ".dat");
        std::ofstream(src / name, std::ios::binary).write(data.data(), 4096 + n * 7919 % 32768);
        if (n < 3) {
            kw.Executable(n, ToModel(src / name));
            kw.ShortcutName(n, "Tool " + std::to_string(n));
            kw.IncRamdisk(n, kw::cvChecked);
            kw.IncAutorun(n, kw::cvChecked);
        } else {
            kw.ProgramFile(ToModel(src / name));
        }
    }

    int failures = 0;
    const std::string parent = ToModel(base / "plugins");
    fs::create_directories(base / "plugins");
    failures += kw::CreatePluginIn(kw, parent).status != kw::BuildResult::Status::Made;
    const std::string plugin = parent + "\\Bench";

    // Reading back, warm cache.
    double bestRead = 1e9;
    std::size_t programFiles = 0;
    for (int round = 0; round < kRounds; ++round) {
        kw::PluginReading r;
        bestRead = std::min(bestRead, Milliseconds([&] { r = kw::ReadPlugin(plugin, kw); }));
        programFiles = r.document.ProgramFiles.size();
        failures += !r.found || !r.changed.empty() || !r.unread.empty();
        for (const std::string& text : r.unread)
            std::printf("unread: %s\n", text.c_str());
        for (const std::string& text : r.changed)
            std::printf("changed: %s\n", text.c_str());
    }
    std::printf("read back a plugin of %d files (%zu program files, 3 executables): best %.1f ms (target <= 50 ms)\n",
                kFiles, programFiles, bestRead);

    // Creating fresh against replacing, taking turns so neither always gets the warmer cache.
    double bestFresh = 1e9, bestReplace = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        const fs::path fresh = base / ("fresh" + std::to_string(round));
        fs::create_directories(fresh);
        auto runFresh = [&] {
            bestFresh = std::min(bestFresh, Milliseconds([&] {
                                     failures +=
                                         kw::CreatePluginIn(kw, ToModel(fresh)).status != kw::BuildResult::Status::Made;
                                 }));
        };
        auto runReplace = [&] {
            bestReplace = std::min(bestReplace, Milliseconds([&] {
                                       failures +=
                                           kw::ReplacePlugin(kw, parent).status != kw::BuildResult::Status::Made;
                                   }));
        };
        if (round % 2) {
            runFresh();
            runReplace();
        } else {
            runReplace();
            runFresh();
        }
        fs::remove_all(fresh);
    }
    std::printf("create fresh: best %.1f ms; replace the same plugin: best %.1f ms; ratio %.2f (target <= 1.20)\n",
                bestFresh, bestReplace, bestReplace / bestFresh);

    std::error_code ec;
    fs::remove_all(base, ec);
    kw::platform::SetPrompt(nullptr);
    if (failures)
        std::printf("%d rounds went wrong\n", failures);
    return failures == 0 ? 0 : 1;
}
