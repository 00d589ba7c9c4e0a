// Times CreatePlugin + CopyFiles in folder-tree mode against a plain recursive copy of the
// same 5,000-file, ~100 MB tree (cp -r natively, xcopy under Windows/Wine).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "model/clsKitwright.h"
#include "platform/Platform.h"

#ifdef _WIN32
#include <process.h>
#endif

namespace fs = std::filesystem;

namespace {

constexpr int kFolders = 50;
constexpr int kFilesPerFolder = 100;

std::string ToModel(const fs::path& p)
{
    std::u8string u = p.u8string();
    return std::string(u.begin(), u.end());
}

struct TreeSize {
    long files = 0;
    long long bytes = 0;
};

TreeSize Measure(const fs::path& folder)
{
    TreeSize t;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (e.is_regular_file()) {
            ++t.files;
            t.bytes += static_cast<long long>(e.file_size());
        }
    return t;
}

void MakeTree(const fs::path& prog)
{
    std::vector<char> data(40000);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>('a' + (i * 31) % 26);
    int n = 0;
    for (int f = 0; f < kFolders; ++f) {
        // Some folders nested two deep, as program trees are.
        fs::path dir = prog / ("dir" + std::to_string(f / 5)) / ("sub" + std::to_string(f));
        fs::create_directories(dir);
        for (int i = 0; i < kFilesPerFolder; ++i, ++n) {
            const size_t size = 4096 + static_cast<size_t>(n) * 7919 % 32768;
            std::ofstream(dir / ("file" + std::to_string(i) + ".dat"), std::ios::binary)
                .write(data.data(), static_cast<std::streamsize>(size));
        }
    }
}

double Seconds(const std::function<void()>& work)
{
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

int PlainCopy(const fs::path& from, const fs::path& to)
{
#ifdef _WIN32
    std::wstring cmd = L"xcopy /s /e /i \"" + from.wstring() + L"\" \"" + to.wstring() + L"\" >NUL";
    return _wsystem(cmd.c_str());
#else
    std::string cmd = "cp -r '" + from.string() + "' '" + to.string() + "'";
    return std::system(cmd.c_str());
#endif
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
    const fs::path base = fs::temp_directory_path() /
                          ("kwbench-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    const fs::path prog = base / "prog";
    fs::create_directories(base);
    SilentPrompt prompt;
    kw::platform::SetPrompt(&prompt);
    kw::platform::SetProgramFolderForTesting(ToModel(base));

    std::printf("Building the program tree in %s ...\n", ToModel(base).c_str());
    MakeTree(prog);
    const TreeSize source = Measure(prog);
    std::printf("tree: %ld files, %.1f MB\n", source.files, static_cast<double>(source.bytes) / 1e6);

    int failures = 0;
    double bestModel = 1e9, bestPlain = 1e9;
    for (int round = 1; round <= 3; ++round) {
        // Every copy lands as deep as the plugin's files folder (out\Bench\files).
        const fs::path plainTarget = base / ("plain" + std::to_string(round)) / "Bench" / "files";
        fs::create_directories(plainTarget.parent_path());
        double plain = 0, model = 0, create = 0, copy = 0, shell = 0;
        auto runPlain = [&] { plain = Seconds([&] { failures += PlainCopy(prog, plainTarget) != 0; }); };
        auto runModel = [&] {
            const std::string out = ToModel(base / ("out" + std::to_string(round)));
            model = Seconds([&] {
                kw::clsKitwright kw;
                kw.PluginLocation(out);
                kw.PluginName("Bench");
                kw.CopyOption(kw::coFolderTree);
                kw.ProgramFolder(ToModel(prog));
                create = Seconds([&] { failures += kw.CreatePlugin() != 0; });
                copy = Seconds([&] { failures += !kw.CopyFiles(); });
            });
        };
        // The platform's shell copy on its own, to see how much of the time is the model's.
        auto runShell = [&] {
            const fs::path shellTarget = base / ("shell" + std::to_string(round)) / "Bench" / "files";
            fs::create_directories(shellTarget);
            std::string from = ToModel(prog) + "\\*.*";
            from += std::string(2, '\0');
            std::string to = ToModel(shellTarget);
            to += std::string(2, '\0');
            shell = Seconds([&] { failures += kw::platform::ShellCopy(0, from, to).code != 0; });
        };
        // A different order each round, so no contender always gets the warmest caches.
        const std::function<void()> runs[3] = {runPlain, runModel, runShell};
        static const int orders[3][3] = {{0, 1, 2}, {2, 1, 0}, {1, 0, 2}};
        for (int i : orders[(round - 1) % 3])
            runs[i]();

        const TreeSize copiedPlain = Measure(plainTarget);
        const TreeSize copiedModel = Measure(base / ("out" + std::to_string(round)) / "Bench" / "files");
        if (copiedPlain.files != source.files || copiedPlain.bytes != source.bytes ||
            copiedModel.files != source.files || copiedModel.bytes != source.bytes) {
            std::printf("round %d: copies differ from the source (plain %ld files, model %ld files)\n", round,
                        copiedPlain.files, copiedModel.files);
            ++failures;
        }
        std::printf("round %d: plain copy %.3f s, CreatePlugin+CopyFiles %.3f s, ratio %.2f\n", round, plain, model,
                    model / plain);
        std::printf(
            "         (model set-up %.3f s, CreatePlugin %.3f s, CopyFiles %.3f s; platform ShellCopy alone %.3f s)\n",
            model - create - copy, create, copy, shell);
        bestPlain = std::min(bestPlain, plain);
        bestModel = std::min(bestModel, model);
    }
    std::printf("best: plain copy %.3f s, CreatePlugin+CopyFiles %.3f s, ratio %.2f (target <= 1.20)\n", bestPlain,
                bestModel, bestModel / bestPlain);

    std::error_code ec;
    fs::remove_all(base, ec);
    kw::platform::SetPrompt(nullptr);
    return failures == 0 ? 0 : 1;
}
