#include <map>

#include "PlatformInternal.h"

namespace kw::platform {

namespace {
std::string g_programFolder;
std::map<int, std::string> g_specialFolders;
ShellOpenHook g_shellOpenHook;
iPrompt* g_prompt = nullptr;
std::string g_refusingFolder;
int g_failAfter = 0;
unsigned long g_failCode = 0;
thread_local FileCapture* t_capture = nullptr;
}  // namespace

FileCapture::FileCapture() : previous_(t_capture) { t_capture = this; }
FileCapture::~FileCapture() { t_capture = previous_; }

void SetFailureForTesting(int succeeding, unsigned long code)
{
    g_failAfter = succeeding;
    g_failCode = code;
}

bool FailurePendingForTesting() { return g_failCode != 0; }

namespace {
unsigned long WriteChecked(std::string_view path, std::string_view bytes, std::string* errorText, bool inPlaceFallback)
{
    if (FileCapture* capture = internal::ActiveCapture()) {
        capture->Write(path, bytes);
        return 0;
    }
    if (unsigned long code = internal::InjectedFailure()) {
        if (errorText)
            *errorText = ErrorText(code);
        return code;
    }
    return internal::WriteFileNative(path, bytes, errorText, inPlaceFallback);
}
}  // namespace

unsigned long WriteFileWhole(std::string_view path, std::string_view bytes, std::string* errorText)
{
    return WriteChecked(path, bytes, errorText, false);
}

unsigned long RewriteFile(std::string_view path, std::string_view bytes, std::string* errorText)
{
    return WriteChecked(path, bytes, errorText, true);
}

long CreateFolderTree(NativeHandle owner, std::string_view path)
{
    if (FileCapture* capture = internal::ActiveCapture()) {
        capture->MakeFolder(path);
        return 0;
    }
    if (unsigned long code = internal::InjectedFailure())
        return static_cast<long>(code);
    return internal::CreateFolderTreeNative(owner, path);
}

void SetFolderRefusesNewFilesForTesting(std::string folder) { g_refusingFolder = std::move(folder); }

void SetProgramFolderForTesting(std::string folder) { g_programFolder = std::move(folder); }

void SetSpecialFolderForTesting(int csidl, std::string path) { SetSpecialFolder(csidl, std::move(path)); }

void SetSpecialFolder(int csidl, std::string path)
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

std::string CopyErrorText(int code)
{
    // The shell's own numbers overlap Win32 ones with other meanings (0x7C is not "the
    // system call level"), so they are told here.
    switch (code) {
    case 0x71: return "The source and the destination are the same file.";
    case 0x72:
    case 0x7A: return "Several files were given for one destination.";
    case 0x73: return "The source and the destination are in different folders.";
    case 0x74: return "The source is a root folder, which cannot be copied.";
    case 0x75: return "The copy was cancelled.";
    case 0x76:
    case 0x7D: return "The destination is inside the source folder.";
    case 0x78: return "Access to a source file is denied.";
    case 0x79: return "The source or destination path is too deep.";
    case 0x7C: return "A source file or folder does not exist.";
    case 0x7E: return "The destination is a file, not a folder.";
    case 0x80: return "The destination is a folder where a file was expected.";
    case 0x81: return "A resulting path would be too long.";
    case 0x82:
    case 0x83:
    case 0x84: return "The destination is a read-only disc.";
    case 0x85: return "A file is too large for the destination.";
    case 0x86:
    case 0x87:
    case 0x88: return "A source on a disc could not be read.";
    case 0xB7: return "A resulting path would be too long.";
    case 0x402: return "An unknown error occurred while copying.";
    case 0x10000: return "An error occurred at the destination.";
    default: return ErrorText(static_cast<unsigned long>(code));
    }
}

namespace internal {

std::vector<std::string> SplitPathList(std::string_view list)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < list.size()) {
        std::size_t end = list.find('\0', start);
        if (end == std::string_view::npos)
            end = list.size();
        if (end == start)
            break;
        out.emplace_back(list.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

FileCapture* ActiveCapture() { return t_capture; }

bool FailureArmed() { return g_failCode != 0; }

unsigned long InjectedFailure()
{
    if (g_failCode == 0 || g_failAfter-- > 0)
        return 0;
    const unsigned long code = g_failCode;
    g_failCode = 0;
    return code;
}

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

bool RefusesNewFolder(std::string_view path)
{
    std::string_view refusing = g_refusingFolder;
    while (!refusing.empty() && (refusing.back() == '\\' || refusing.back() == '/'))
        refusing.remove_suffix(1);
    if (refusing.empty() || path.size() <= refusing.size() + 1 || path.substr(0, refusing.size()) != refusing ||
        (path[refusing.size()] != '\\' && path[refusing.size()] != '/'))
        return false;
    // Refused when a folder would have to be made right inside the refusing one.
    std::size_t end = path.find_first_of("\\/", refusing.size() + 1);
    return !PathExists(path.substr(0, end));
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
