// The copy without windows: what the shell's copy does with our lists (files by name, a
// folder pattern with its whole tree, existing files replaced), one CopyFileW per file.
#include <windows.h>

#include "Platform.h"
#include "PlatformInternal.h"
#include "WinText.h"

namespace kw::platform {

namespace {

bool IsFolder(DWORD attributes)
{
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Makes the folder and every missing one on the way.
DWORD MakeFolders(const std::wstring& path)
{
    if (IsFolder(GetFileAttributesW(path.c_str())))
        return 0;
    const size_t slash = path.find_last_of(L'\\');
    if (slash != std::wstring::npos && slash > 0 && path[slash - 1] != L':' && path[slash - 1] != L'\\')
        if (DWORD code = MakeFolders(path.substr(0, slash)))
            return code;
    if (!CreateDirectoryW(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return GetLastError();
    return 0;
}

DWORD CopyInto(const std::wstring& source, DWORD attributes, const std::wstring& into);

// Every entry of folder\pattern that is not "." or "..", copied into `into`.
DWORD CopyMatches(const std::wstring& folder, const std::wstring& pattern, const std::wstring& into)
{
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileExW((folder + L"\\" + pattern).c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                   nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        // A pattern that matches nothing in an existing folder copies nothing, as the shell does.
        return code == ERROR_FILE_NOT_FOUND && IsFolder(GetFileAttributesW(folder.c_str())) ? 0 : code;
    }
    DWORD code = 0;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        code = CopyInto(folder + L"\\" + name, found.dwFileAttributes, into);
    } while (code == 0 && FindNextFileW(find, &found));
    if (code == 0 && GetLastError() != ERROR_NO_MORE_FILES)
        code = GetLastError();
    FindClose(find);
    return code;
}

// One file, or one folder with its tree, into the folder `into` under its own name.
DWORD CopyInto(const std::wstring& source, DWORD attributes, const std::wstring& into)
{
    const std::wstring target = into + L"\\" + source.substr(source.find_last_of(L'\\') + 1);
    if (IsFolder(attributes)) {
        if (!CreateDirectoryW(target.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            return GetLastError();
        return CopyMatches(source, L"*", target);
    }
    if (CopyFileW(source.c_str(), target.c_str(), FALSE))
        return 0;
    DWORD code = GetLastError();
    // A read-only copy made a moment ago (a file listed twice) is replaced as the shell would.
    const DWORD existing = GetFileAttributesW(target.c_str());
    if (code == ERROR_ACCESS_DENIED && existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_READONLY) &&
        SetFileAttributesW(target.c_str(), existing & ~FILE_ATTRIBUTE_READONLY)) {
        if (CopyFileW(source.c_str(), target.c_str(), FALSE))
            return 0;
        code = GetLastError();
    }
    return code;
}

}  // namespace

CopyResult DirectCopy(std::string_view sources, std::string_view target)
{
    CopyResult result;
    const std::vector<std::string> from = internal::SplitPathList(sources), to = internal::SplitPathList(target);
    if (from.empty() || to.empty()) {
        result.code = ERROR_FILE_NOT_FOUND;
        return result;
    }
    std::wstring into = Widen(to.front());
    while (into.size() > 3 && into.back() == L'\\')
        into.pop_back();
    DWORD code = MakeFolders(into);
    for (size_t i = 0; code == 0 && i < from.size(); ++i) {
        if ((code = internal::InjectedFailure()) != 0)
            break;
        const std::wstring source = Widen(from[i]);
        const size_t slash = source.find_last_of(L'\\');
        const std::wstring name = source.substr(slash == std::wstring::npos ? 0 : slash + 1);
        if (slash != std::wstring::npos && name.find_first_of(L"*?") != std::wstring::npos) {
            code = CopyMatches(source.substr(0, slash), name, into);
        } else {
            const DWORD attributes = GetFileAttributesW(source.c_str());
            code = attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : CopyInto(source, attributes, into);
        }
    }
    if (code != 0) {
        result.code = static_cast<int>(code);
        result.aborted = true;
    }
    return result;
}

}  // namespace kw::platform
