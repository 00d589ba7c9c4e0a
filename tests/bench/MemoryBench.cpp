// Peak working set of the program after it made a plugin with 1,000 program files through
// its window: the name typed, the Program Files tab clicked, the files dropped on its list,
// Create Plugin pressed.
// Also prints the working set of the bare process before the window existed, which under
// Wine is mostly Wine's own.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchWindow.h"
#include "WindowScript.h"
#include "app/frmMain.h"
#include "app/modMain.h"

namespace {

constexpr int kFiles = 1000;

SIZE_T Kb(SIZE_T bytes) { return bytes / 1024; }

PROCESS_MEMORY_COUNTERS Memory()
{
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof(pmc);
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof(pmc));
    return pmc;
}

int CountFiles(const std::wstring& folder)
{
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &fd);
    int n = 0;
    if (h == INVALID_HANDLE_VALUE)
        return 0;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            ++n;
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return n;
}

void RemoveTree(const std::wstring& folder)
{
    std::wstring from = folder;
    from.push_back(L'\0');  // the shell's list ends with two NULs
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    SHFileOperationW(&op);
}

}  // namespace

int wmain()
{
    const PROCESS_MEMORY_COUNTERS atStart = Memory();
    wchar_t temp[MAX_PATH]{};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring base = std::wstring(temp) + L"kwmem_" + std::to_wstring(GetCurrentProcessId());
    const std::wstring src = base + L"\\src", plugins = base + L"\\plugins";
    CreateDirectoryW(base.c_str(), nullptr);
    CreateDirectoryW(src.c_str(), nullptr);
    CreateDirectoryW(plugins.c_str(), nullptr);
    std::vector<std::wstring> files;
    std::string data(2048, 'k');
    for (int i = 0; i < kFiles; ++i) {
        files.push_back(src + L"\\file" + std::to_wstring(i) + L".dat");
        HANDLE h = CreateFileW(files.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD n = 0;
        WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &n, nullptr);
        CloseHandle(h);
    }

    const std::wstring ini = kwscript::ProgramFolder() + L"\\Kitwright.ini";
    DeleteFileW(ini.c_str());
    WritePrivateProfileStringW(L"Preferences", L"PluginPath", plugins.c_str(), ini.c_str());
    WritePrivateProfileStringW(L"Preferences", L"IncPopupDone", L"0", ini.c_str());
    kwscript::RecordingPrompt prompt;
    kw::frmMain* main = kwbench::OpenQuietMainWindow(prompt);
    if (!main)
        return 1;
    const PROCESS_MEMORY_COUNTERS loaded = Memory();

    kwscript::Type(main->txtPluginName.hWnd(), L"MemBench");
    kwscript::ClickTab(main->oTabs()->hWnd(), 1);  // Program Files: its page is made now
    kwscript::Pump(50);
    IDropTarget* target = main->lstProgramFiles.RegisteredDropTarget();
    if (!target || kwscript::DropFiles(target, files) == DROPEFFECT_NONE) {
        std::fprintf(stderr, "the program list refused the drop\n");
        return 1;
    }
    const int listed = static_cast<int>(SendMessageW(main->lstProgramFiles.hWnd(), LB_GETCOUNT, 0, 0));
    const DWORD started = GetTickCount();
    kwscript::Click(main->cmdCreatePlugin.hWnd());
    kwscript::Pump(200);
    const DWORD took = GetTickCount() - started;
    const PROCESS_MEMORY_COUNTERS after = Memory();
    const int copied = CountFiles(plugins + L"\\MemBench\\files");

    std::printf("program files listed %d, copied %d, create took %lu ms\n", listed, copied, took);
    for (const auto& m : prompt.shown)
        std::printf("message: %s | %s\n", m.title.c_str(), m.text.c_str());
    std::printf("working set of the bare process (Wine's own): %lu KB\n",
                static_cast<unsigned long>(Kb(atStart.WorkingSetSize)));
    std::printf("working set with the window loaded: %lu KB\n", static_cast<unsigned long>(Kb(loaded.WorkingSetSize)));
    std::printf("peak working set above the bare process: %lu KB\n",
                static_cast<unsigned long>(Kb(after.PeakWorkingSetSize - atStart.WorkingSetSize)));
    std::printf("peak_working_set_kb %lu\n", static_cast<unsigned long>(Kb(after.PeakWorkingSetSize)));
    kw::UnloadAllForms();
    RemoveTree(base);
    DeleteFileW(ini.c_str());
    return listed == kFiles && copied == kFiles ? 0 : 1;
}
