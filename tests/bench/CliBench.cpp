// make bench: `kitwright-cli create` of a 5,000-file, ~100 MB folder tree against the
// system's own recursive copy of the same tree (cp -r natively, xcopy under Windows/Wine),
// both run as processes, warm cache, best of five rounds in one run.
//   kw_cli_bench PATH_TO_KITWRIGHT_CLI
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ChildProcess.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

constexpr int kFolders = 50;
constexpr int kFilesPerFolder = 100;
constexpr int kRounds = 5;
#ifdef _WIN32
constexpr double kTarget = 1.2;
constexpr const char* kPlainName = "xcopy";
#else
constexpr double kTarget = 1.1;
constexpr const char* kPlainName = "cp -r";
#endif

std::string Utf8(const fs::path& p)
{
    std::u8string u = p.u8string();
    return std::string(u.begin(), u.end());
}

// The copy benchmark's tree: 50 folders, some two deep, of 100 files of 4 to 36 KB.
void MakeTree(const fs::path& prog)
{
    std::vector<char> data(40000);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>('a' + (i * 31) % 26);
    int n = 0;
    for (int f = 0; f < kFolders; ++f) {
        const fs::path dir = prog / ("dir" + std::to_string(f / 5)) / ("sub" + std::to_string(f));
        fs::create_directories(dir);
        for (int i = 0; i < kFilesPerFolder; ++i, ++n) {
            const size_t size = 4096 + static_cast<size_t>(n) * 7919 % 32768;
            std::ofstream(dir / ("file" + std::to_string(i) + ".dat"), std::ios::binary)
                .write(data.data(), static_cast<std::streamsize>(size));
        }
    }
}

struct TreeSize {
    long files = 0;
    long long bytes = 0;
    bool operator==(const TreeSize&) const = default;
};

TreeSize Measure(const fs::path& folder)
{
    TreeSize t;
    std::error_code ec;
    for (const auto& e : fs::recursive_directory_iterator(folder, ec))
        if (e.is_regular_file()) {
            ++t.files;
            t.bytes += static_cast<long long>(e.file_size());
        }
    return t;
}

// Seconds a child process takes from start to end; false when it failed.
bool Timed(const std::string& program, const std::vector<std::string>& args, double& seconds)
{
    const auto start = std::chrono::steady_clock::now();
    const kwtest::ChildResult r = kwtest::RunChild(program, args);
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (r.code != 0)
        std::printf("  %s failed with %d: %s%s\n", program.c_str(), r.code, r.out.c_str(), r.err.c_str());
    return r.code == 0;
}

// Writes what the last copy left in memory to the disk, outside the timed part: otherwise
// the next copy pays for the one before it.
void Settle()
{
#ifdef _WIN32
    // Under Wine the files are the host's: its own sync does it.
    kwtest::RunChild("C:\\windows\\command\\start.exe", {"/wait", "/unix", "/bin/sync"});
#else
    sync();
#endif
}

bool PlainCopy(const fs::path& from, const fs::path& to, double& seconds)
{
#ifdef _WIN32
    return Timed("C:\\windows\\system32\\xcopy.exe", {"/s", "/e", "/i", "/q", Utf8(from), Utf8(to)}, seconds);
#else
    return Timed("/bin/cp", {"-r", Utf8(from), Utf8(to)}, seconds);
#endif
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: kw_cli_bench PATH_TO_KITWRIGHT_CLI\n");
        return 2;
    }
    const std::string cli = argv[1];
    const fs::path base = fs::temp_directory_path() /
                          ("kwclibench-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    const fs::path prog = base / "prog";
    fs::create_directories(base);
    MakeTree(prog);
    std::ofstream(base / "Bench.kwp", std::ios::binary)
        << "[Kitwright]\r\nFormat=1\r\n[Information]\r\nPluginName=Bench\r\n"
           "[Program Files]\r\nCopyMode=FolderTree\r\nFolder=prog\\\r\n";
    const TreeSize source = Measure(prog);
    std::printf("tree: %ld files, %.1f MB in %s\n", source.files, static_cast<double>(source.bytes) / 1e6,
                Utf8(base).c_str());

    int failures = 0;
    double bestPlain = 1e9, bestCli = 1e9;
    // Round 0 only warms the caches; rounds 1 to 5 count, in alternating order.
    for (int round = 0; round <= kRounds; ++round) {
        const fs::path plainTarget = base / ("plain" + std::to_string(round)) / "Bench" / "files";
        const fs::path plugins = base / ("cli" + std::to_string(round));
        fs::create_directories(plainTarget.parent_path());
        double plain = 0, made = 0;
        auto runPlain = [&] {
            Settle();
            failures += !PlainCopy(prog, plainTarget, plain);
        };
        auto runCli = [&] {
            Settle();
            failures += !Timed(cli, {"create", Utf8(base / "Bench.kwp"), "--plugins", Utf8(plugins)}, made);
        };
        if (round % 2) {
            runPlain();
            runCli();
        } else {
            runCli();
            runPlain();
        }
        if (!(Measure(plainTarget) == source) || !(Measure(plugins / "Bench" / "files") == source)) {
            std::printf("round %d: a copy differs from the tree\n", round);
            ++failures;
        }
        std::error_code ec;
        fs::remove_all(plainTarget.parent_path().parent_path(), ec);
        fs::remove_all(plugins, ec);
        if (round == 0)
            continue;
        std::printf("round %d: %s %.3f s, kitwright-cli create %.3f s, ratio %.2f\n", round, kPlainName, plain, made,
                    made / plain);
        bestPlain = std::min(bestPlain, plain);
        bestCli = std::min(bestCli, made);
    }
    const double ratio = bestCli / bestPlain;
    std::printf("cli_best: %s %.3f s, kitwright-cli create %.3f s, ratio %.2f (target <= %.1f)\n", kPlainName,
                bestPlain, bestCli, ratio, kTarget);
    std::error_code ec;
    fs::remove_all(base, ec);
    return failures == 0 ? 0 : 1;
}
