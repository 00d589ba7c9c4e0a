#include <map>

#include "PlatformInternal.h"

namespace kw::platform {

namespace {
std::string g_programFolder;
std::map<int, std::string> g_specialFolders;
ShellOpenHook g_shellOpenHook;
iPrompt* g_prompt = nullptr;
}  // namespace

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

bool RunShellOpenHook(NativeHandle owner, std::string_view verb, std::string_view file, std::string_view workDir)
{
    if (!g_shellOpenHook)
        return false;
    g_shellOpenHook(owner, verb, file, workDir);
    return true;
}

}  // namespace internal
}  // namespace kw::platform
