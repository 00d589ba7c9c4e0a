// How the model's costs grow with the work: one row per size (1k, 10k, 30k program files)
// for adding the files, the sort behind Create, the writers, and removing a tenth and all of
// them as the window does; then Kitwright.ini with as many menu groups, and one 5 MB value.
// Prints the figures and whether the 30k rows meet their targets; exits 1 when one is missed.
// An argument scales the targets: make bench passes 3 under Wine, the target there.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "model/StringList.h"
#include "model/clsKitwright.h"
#include "platform/Platform.h"
#include "writers/WritePlugin.h"

#ifdef _WIN32
#include <windows.h>
#include <process.h>
#define getpid _getpid
#else
#include <time.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

constexpr double kSortTargetMs = 200;    // 30,000 files sorted for Create
constexpr double kRemoveTargetMs = 200;  // any selection removed from 30,000

class Quiet final : public kw::platform::iPrompt {
public:
    int Show(kw::NativeHandle, std::string_view, std::string_view, unsigned) override { return kw::platform::kIdOk; }
};

class Items final : public kw::StringList {
public:
    void Clear() override { items.clear(); }
    void AddItem(const std::string& text) override { items.push_back(text); }
    int ListCount() const override { return static_cast<int>(items.size()); }
    std::string List(int index) const override { return items[static_cast<std::size_t>(index)]; }
    void ListIndex(int) override {}
    std::vector<std::string> items;
};

std::string ModelPath(const fs::path& p)
{
    std::u8string u = p.u8string();
    return std::string(u.begin(), u.end());
}

// The thread's CPU time: on a machine others share, wall time counts their work too.
double NowMs()
{
#ifdef _WIN32
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& t) {
        return ((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
#else
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
#endif
}

double Ms(const std::function<void()>& work)
{
    const double start = NowMs();
    work();
    return NowMs() - start;
}

// n distinct file names in a shuffled order, over a few folders: mixed case, some accented.
std::vector<std::string> Paths(int n)
{
    static const char* const kFolders[] = {"C:\\Program Files\\Kit\\", "C:\\Program Files\\Kit\\bin\\",
                                           "D:\\Caf\xC3\xA9\\lib\\", "c:\\program files\\kit\\Data\\"};
    static const char* const kStems[] = {"Alpha", "beta", "\xC3\x89t\xC3\xA9", "gamma-", "Delta_", "zeta"};
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i)
        out.push_back(std::string(kFolders[i % 4]) + kStems[i % 6] + std::to_string(i * 7919 % 100003) +
                      (i % 3 ? ".dll" : ".TXT"));
    std::shuffle(out.begin(), out.end(), std::mt19937(12345));
    return out;
}

std::string FileName(const std::string& path) { return path.substr(path.rfind('\\') + 1); }

template <class Model>
constexpr bool kBatchRemoval = requires(Model& m, const std::vector<std::string>& names)
{
    m.DeleteFilesFrom(kw::fcProgramFiles, names);
};

// Removes names as the window does: the selected lines from the bottom up.
template <class Model>
void Remove(Model& kw, const std::vector<std::string>& names)
{
    if constexpr (kBatchRemoval<Model>) {
        kw.DeleteFilesFrom(kw::fcProgramFiles, names);
    } else {
        for (const std::string& name : names)
            kw.DeleteFileFrom(kw::fcProgramFiles, name);
    }
}

std::vector<std::string> Selected(const kw::clsKitwright& kw, int every)
{
    std::vector<std::string> names;
    for (int i = kw.ProgramFileCount(); i >= 1; --i)
        if (i % every == 0)
            names.push_back(kw.ProgramFileName(i));
    return names;
}

void WriteIni(const fs::path& file, const std::string& text)
{
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}

}  // namespace

int main(int argc, char** argv)
{
    const double scale = argc > 1 ? std::atof(argv[1]) : 1.0;
    const double sortTarget = kSortTargetMs * scale, removeTarget = kRemoveTargetMs * scale;
    static Quiet quiet;
    kw::platform::SetPrompt(&quiet);
    const fs::path root = fs::temp_directory_path() / ("kw-growth-" + std::to_string(getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "prog");
    fs::create_directories(root / "plugins");
    kw::platform::SetProgramFolderForTesting(ModelPath(root / "prog"));
    const fs::path ini = root / "prog" / "Kitwright.ini";

    bool missed = false;
    const auto wallStart = std::chrono::steady_clock::now();
    std::printf("Milliseconds of the thread's CPU time (the wall time of the run is at the end).\n");
    std::printf("%7s %9s %9s %9s %12s %11s %12s %12s\n", "files", "AddFile", "sort", "writers", "remove 1/10",
                "remove all", "ini groups", "save groups");
    for (int n : {1000, 10000, 30000}) {
        const std::vector<std::string> paths = Paths(n);
        WriteIni(ini, "[Preferences]\r\nIncAuthor=1\r\n");
        kw::clsKitwright kw;
        kw.PluginLocation(ModelPath(root / "plugins"));
        kw.PluginName("Growth" + std::to_string(n));
        kw.MaxExecutables(9);
        kw.ProgramFilesDest(kw::dstPrograms);
        kw.SystemFilesDest(kw::dstSystem32);
        const double add = Ms([&] {
            for (const std::string& p : paths)
                kw.AddFile(kw::fcProgramFiles, p);
        });
        const int count = kw.ProgramFileCount();
        // The sort behind Create, over the whole program-file list.
        kw::KeyedList files, sorted;
        for (int i = 1; i <= count; ++i)
            files.Add(kw.ProgramFileAll(i), FileName(kw.ProgramFileAll(i)));
        const double sortCreate = Ms([&] { sorted = kw.DoSortCollection(files, kw::vbTextCompare); });
        const bool sortOk = sorted.Count() == count;
        const double writers = Ms([&] {
            if (kw.CreatePlugin() == 0)
                kw::WritePluginFiles(kw);
        });
        const double tenth = Ms([&] { Remove(kw, Selected(kw, 10)); });
        const bool tenthOk = kw.ProgramFileCount() == count - count / 10;
        double all = -1;
        if (n <= 10000 || kBatchRemoval<kw::clsKitwright>) {
            all = Ms([&] { Remove(kw, Selected(kw, 1)); });
            if (kw.ProgramFileCount() != 0)
                all = -2;
        }

        // Kitwright.ini with n menu groups: the start's reading and the dialog's saving.
        std::string text = "[Preferences]\r\nPluginPath=C:\\Plugins\r\nIncAuthor=1\r\n[MenuGroup]\r\n";
        for (int i = 0; i < n; ++i)
            text += std::to_string(i) + "=Group " + std::to_string(i) + "\r\n";
        WriteIni(ini, text);
        Items groups;
        const double load = Ms([&] {
            kw::clsKitwright fresh;
            fresh.LoadMenuGroupItemsTo(groups);
        });
        const double save = Ms([&] { kw.SaveMenuGroupItems(groups); });
        const bool groupsOk = static_cast<int>(groups.items.size()) == n;

        auto cell = [](double ms) {
            char buf[32];
            if (ms < 0)
                std::snprintf(buf, sizeof buf, "%s", ms < -1 ? "WRONG" : "-");
            else
                std::snprintf(buf, sizeof buf, "%.1f ms", ms);
            return std::string(buf);
        };
        std::printf("%7d %9s %9s %9s %12s %11s %12s %12s%s\n", n, cell(add).c_str(), cell(sortCreate).c_str(),
                    cell(writers).c_str(), cell(tenth).c_str(), cell(all).c_str(), cell(load).c_str(),
                    cell(save).c_str(), tenthOk && groupsOk && sortOk ? "" : "  (WRONG RESULT)");
        if (!tenthOk || !groupsOk || !sortOk)
            missed = true;
        if (n == 30000) {
            const bool sortMet = sortCreate <= sortTarget;
            const bool removeMet = tenth <= removeTarget && all >= 0 && all <= removeTarget;
            std::printf("  [%s] 30,000 files sorted for Create in %.1f ms (target <= %.0f ms)\n",
                        sortMet ? "met   " : "MISSED", sortCreate, sortTarget);
            std::printf("  [%s] a tenth and all of 30,000 removed in %.1f and %s (target <= %.0f ms)\n",
                        removeMet ? "met   " : "MISSED", tenth, cell(all).c_str(), removeTarget);
            missed = missed || !sortMet || !removeMet;
        }
    }

    // One 5 MB value: the start, and one preference written beside it.
    WriteIni(ini, "[Preferences]\r\nIncAuthor=1\r\n[Personal]\r\nComment=" + std::string(5 << 20, 'c') + "\r\n");
    double start = 0, write = 0;
    bool whole = false;
    {
        std::unique_ptr<kw::clsKitwright> kw;
        start = Ms([&] { kw = std::make_unique<kw::clsKitwright>(); });
        whole = kw->AuthorComment().size() == (5u << 20);
        write = Ms([&] { kw->IncAuthor(kw::cvUnchecked); });
    }
    std::printf("a 5 MB value in Kitwright.ini: start %.1f ms, one preference written %.1f ms%s\n", start, write,
                whole ? "" : "  (WRONG RESULT: the value did not come back whole)");
    missed = missed || !whole;

    std::printf("the whole run: %.1f s of wall time\n",
                std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count());
    kw::platform::SetProgramFolderForTesting({});
    std::error_code ec;
    fs::remove_all(root, ec);
    return missed ? 1 : 0;
}
