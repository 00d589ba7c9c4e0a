#include <map>

#include "PlatformInternal.h"

namespace kw::platform {

namespace {
std::string g_programFolder;
std::map<int, std::string> g_specialFolders;
ShellOpenHook g_shellOpenHook;
iPrompt* g_prompt = nullptr;
std::string g_refusingFolder;
}  // namespace

void SetFolderRefusesNewFilesForTesting(std::string folder) { g_refusingFolder = std::move(folder); }

void SetProgramFolderForTesting(std::string folder) { g_programFolder = std::move(folder); }

void SetSpecialFolderForTesting(int csidl, std::string path)
{
    if (path.empty())
        g_specialFolders.erase(csidl);
    else
        g_specialFolders[csidl] = std::move(path);
}

void SetShellOpenHookForTesting(ShellOpenHook hook) { g_shellOpenHook = std::move(hook); }

iPrompt& Prompt() { return g_prompt ? *g_prompt : internal::DefaultPrompt(); }

iPrompt* SetPrompt(iPrompt* prompt)
{
    iPrompt* previous = g_prompt;
    g_prompt = prompt;
    return previous;
}

namespace internal {

const std::string& ProgramFolderOverride() { return g_programFolder; }

std::optional<std::string> SpecialFolderOverride(int csidl)
{
    auto it = g_specialFolders.find(csidl);
    if (it == g_specialFolders.end())
        return std::nullopt;
    return it->second;
}

bool RefusesNewFiles(std::string_view path)
{
    auto trimmed = [](std::string_view p) {
        while (!p.empty() && (p.back() == '\\' || p.back() == '/'))
            p.remove_suffix(1);
        return p;
    };
    if (g_refusingFolder.empty())
        return false;
    std::size_t slash = path.find_last_of("\\/");
    std::string_view folder = slash == std::string_view::npos ? std::string_view() : path.substr(0, slash);
    return trimmed(folder) == trimmed(g_refusingFolder);
}

bool RunShellOpenHook(NativeHandle owner, std::string_view verb, std::string_view file, std::string_view workDir)
{
    if (!g_shellOpenHook)
        return false;
    g_shellOpenHook(owner, verb, file, workDir);
    return true;
}

}  // namespace internal
}  // namespace kw::platform
