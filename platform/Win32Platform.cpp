#include <algorithm>
#include <cwchar>

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "Platform.h"
#include "PlatformInternal.h"
#include "WinText.h"

namespace kw::platform {

namespace {

HWND Hwnd(NativeHandle h) { return reinterpret_cast<HWND>(h); }

std::wstring FromCodePage(UINT codePage, std::string_view bytes)
{
    if (bytes.empty())
        return {};
    int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return out;
}

struct Handle {
    HANDLE h;
    explicit Handle(HANDLE handle) : h(handle) {}
    ~Handle()
    {
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
};

class MessageBoxPrompt final : public iPrompt {
public:
    int Show(NativeHandle owner, std::string_view text, std::string_view title, unsigned style) override
    {
        HWND hOwner = owner ? Hwnd(owner) : GetActiveWindow();
        return MessageBoxW(hOwner, Widen(text).c_str(), Widen(title).c_str(), style);
    }
};

}  // namespace

std::string ToAnsi(std::string_view utf8)
{
    std::wstring wide = Widen(utf8);
    if (wide.empty())
        return {};
    int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::string FromAnsi(std::string_view ansi) { return Narrow(FromCodePage(CP_ACP, ansi)); }

std::string UpperCase(std::string_view utf8)
{
    std::wstring wide = Widen(utf8);
    if (!wide.empty())
        CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    return Narrow(wide);
}

int CompareText(std::string_view a, std::string_view b)
{
    std::wstring wa = Widen(a), wb = Widen(b);
    int r = CompareStringEx(LOCALE_NAME_USER_DEFAULT, NORM_IGNORECASE, wa.data(), static_cast<int>(wa.size()),
                            wb.data(), static_cast<int>(wb.size()), nullptr, nullptr, 0);
    if (r == 0)  // the call failed: fall back to the code-point order of the upper-cased texts
        return UpperCase(a).compare(UpperCase(b));
    return r - CSTR_EQUAL;
}

// The system's sort key with the flags CompareText uses: its bytes order as CompareStringEx
// orders the texts.
std::string SortKey(std::string_view utf8)
{
    const std::wstring wide = Widen(utf8);
    const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    // An empty text has no length to pass: the empty NUL-ended text stands for it.
    const wchar_t* text = wide.empty() ? L"" : wide.data();
    const int length = wide.empty() ? -1 : static_cast<int>(wide.size());
    int n = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, text, length, nullptr, 0, nullptr, nullptr, 0);
    if (n > 0) {
        std::string key(static_cast<std::size_t>(n), '\0');
        n = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, text, length, reinterpret_cast<LPWSTR>(key.data()), n,
                          nullptr, nullptr, 0);
        if (n > 0) {
            key.resize(static_cast<std::size_t>(n));
            return key;
        }
    }
    return UpperCase(utf8);  // as CompareText falls back when the system cannot compare
}

std::string ProgramFolder()
{
    if (!internal::ProgramFolderOverride().empty())
        return internal::ProgramFolderOverride();
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0)
            return {};
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos)
        return {};
    // A drive root keeps its backslash ("C:\"), any other folder loses it.
    path.resize(slash == 2 && path[1] == L':' ? slash + 1 : slash);
    return Narrow(path);
}

bool PathExists(std::string_view path) { return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

bool ReadFileBytes(std::string_view path, std::string& bytes)
{
    Handle file(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.h == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.h, &size) || size.QuadPart > 0x7FFFFFFF)
        return false;
    bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
    DWORD done = 0;
    if (!bytes.empty() &&
        (!ReadFile(file.h, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) || done != bytes.size()))
        return false;
    return true;
}

namespace {

DWORD WriteAll(HANDLE file, std::string_view bytes)
{
    for (size_t written = 0; written < bytes.size();) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - written, 1u << 30)), done = 0;
        if (!::WriteFile(file, bytes.data() + written, chunk, &done, nullptr))
            return GetLastError();
        written += done;
    }
    return 0;
}

// The profile routines' way: the file itself is truncated and written.
DWORD WriteInPlace(const std::wstring& target, std::string_view bytes)
{
    Handle file(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.h == INVALID_HANDLE_VALUE)
        return GetLastError();
    if (DWORD code = WriteAll(file.h, bytes))
        return code;
    return SetEndOfFile(file.h) ? 0 : GetLastError();
}

unsigned long WriteFileAs(std::string_view path, std::string_view bytes, std::string* errorText, bool inPlaceFallback)
{
    auto fail = [&](DWORD code) -> unsigned long {
        if (errorText)
            *errorText = ErrorText(code);
        return code;
    };
    std::wstring target = Widen(path);
    DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return fail(ERROR_ACCESS_DENIED);

    std::wstring temp;
    HANDLE h = INVALID_HANDLE_VALUE;
    DWORD tempError = internal::RefusesNewFiles(path) ? ERROR_ACCESS_DENIED : 0;
    for (unsigned attempt = 0; attempt < 100 && h == INVALID_HANDLE_VALUE && !tempError; ++attempt) {
        // A short name beside the target: a long target name must not make it too long.
        temp = target.substr(0, target.find_last_of(L"\\/") + 1) + L"~kw" + std::to_wstring(GetCurrentProcessId()) +
               L"-" + std::to_wstring(attempt) + L".tmp";
        h = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            tempError = GetLastError();
    }
    if (h == INVALID_HANDLE_VALUE) {
        if (!tempError)
            tempError = ERROR_FILE_EXISTS;
        if (inPlaceFallback && attributes != INVALID_FILE_ATTRIBUTES) {
            DWORD code = WriteInPlace(target, bytes);
            return code ? fail(code) : 0;
        }
        return fail(tempError);
    }
    DWORD writeError = 0;
    {
        Handle file(h);
        writeError = WriteAll(file.h, bytes);
    }
    if (writeError) {
        DeleteFileW(temp.c_str());
        return fail(writeError);
    }
    if (!MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DWORD code = GetLastError();
        DeleteFileW(temp.c_str());
        return fail(code);
    }
    return 0;
}

}  // namespace

namespace internal {
unsigned long WriteFileNative(std::string_view path, std::string_view bytes, std::string* errorText,
                              bool inPlaceFallback)
{
    return WriteFileAs(path, bytes, errorText, inPlaceFallback);
}
}  // namespace internal

std::string ErrorText(unsigned long code)
{
    wchar_t* buffer = nullptr;
    DWORD n =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = n && buffer ? std::wstring(buffer, n) : L"Error " + std::to_wstring(code);
    if (buffer)
        LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    return Narrow(text);
}

bool SpecialFolderPath(NativeHandle owner, int csidl, std::string& path)
{
    if (auto over = internal::SpecialFolderOverride(csidl)) {
        path = *over;
        return true;
    }
    wchar_t buffer[MAX_PATH] = {};
    // Token -1: the default user, so the answer does not depend on who runs the program.
    if (SHGetFolderPathW(Hwnd(owner), csidl, reinterpret_cast<HANDLE>(-1), SHGFP_TYPE_CURRENT, buffer) != S_OK)
        return false;
    path = Narrow(buffer);
    return true;
}

long internal::CreateFolderTreeNative(NativeHandle owner, std::string_view path)
{
    if (internal::RefusesNewFolder(path))
        return ERROR_ACCESS_DENIED;
    return SHCreateDirectoryExW(Hwnd(owner), Widen(path).c_str(), nullptr);
}

namespace {

CopyResult ShellCopyOnce(NativeHandle owner, std::wstring from, std::wstring to)
{
    // The lists keep their NULs through the conversion; two more make sure they are ended.
    from += std::wstring(2, L'\0');
    to += std::wstring(2, L'\0');
    SHFILEOPSTRUCTW op = {};
    op.hwnd = Hwnd(owner);
    op.wFunc = FO_COPY;
    op.pFrom = from.c_str();
    op.pTo = to.c_str();
    op.fFlags = FOF_NOCONFIRMATION;
    op.lpszProgressTitle = L"";
    CopyResult result;
    result.code = SHFileOperationW(&op);
    result.aborted = op.fAnyOperationsAborted != FALSE;
    return result;
}

// With a failure set up by a test, the sources go one by one, so one can fail half way.
CopyResult ShellCopyCounted(NativeHandle owner, std::string_view sources, std::string_view target)
{
    CopyResult result;
    for (std::size_t start = 0; start < sources.size();) {
        std::size_t end = sources.find('\0', start);
        if (end == std::string_view::npos)
            end = sources.size();
        if (end == start)
            break;
        if (unsigned long code = internal::InjectedFailure()) {
            result.code = static_cast<int>(code);
            result.aborted = true;
            return result;
        }
        result = ShellCopyOnce(owner, Widen(sources.substr(start, end - start)), Widen(target));
        if (result.code != 0 || result.aborted)
            return result;
        start = end + 1;
    }
    return result;
}

DWORD RemoveTreeW(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD code = GetLastError();
        return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ? 0 : code;
    }
    if (attributes & FILE_ATTRIBUTE_READONLY)
        SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return DeleteFileW(path.c_str()) ? 0 : GetLastError();
    // A link to a folder goes as a link; what it points at stays.
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileExW((path + L"\\*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                       FIND_FIRST_EX_LARGE_FETCH);
        if (find != INVALID_HANDLE_VALUE) {
            DWORD first = 0;
            do {
                const std::wstring name = data.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                if (DWORD code = RemoveTreeW(path + L"\\" + name); code && !first)
                    first = code;
            } while (FindNextFileW(find, &data));
            FindClose(find);
            if (first)
                return first;
        }
    }
    return RemoveDirectoryW(path.c_str()) ? 0 : GetLastError();
}

}  // namespace

unsigned long ListFolder(std::string_view path, std::vector<FolderEntry>& entries)
{
    entries.clear();
    std::wstring pattern = Widen(path);
    if (!pattern.empty() && pattern.back() != L'\\')
        pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        return code == ERROR_FILE_NOT_FOUND ? 0 : code;  // an empty drive root has no entries at all
    }
    do {
        const std::wstring_view name = data.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const bool folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entries.push_back(
            {Narrow(name), folder, folder ? 0 : (std::uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow});
    } while (FindNextFileW(find, &data));
    const DWORD code = GetLastError();
    FindClose(find);
    return code == ERROR_NO_MORE_FILES ? 0 : code;
}

unsigned long MoveFolder(std::string_view from, std::string_view to)
{
    if (unsigned long code = internal::InjectedFailure())
        return code;
    const std::wstring source = Widen(from), target = Widen(to);
    if (GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES)
        return ERROR_ALREADY_EXISTS;
    // No MOVEFILE_COPY_ALLOWED: a folder moves whole by its name, or not at all.
    return MoveFileExW(source.c_str(), target.c_str(), 0) ? 0 : GetLastError();
}

unsigned long RemoveTree(std::string_view path)
{
    if (unsigned long code = internal::InjectedFailure())
        return code;
    return RemoveTreeW(Widen(path));
}

unsigned long MakeTempFolder(std::string_view parent, std::string_view prefix, std::string& made)
{
    if (unsigned long code = internal::InjectedFailure())
        return code;
    std::string base(parent);
    if (!base.empty() && base.back() != '\\')
        base += '\\';
    if (internal::RefusesNewFiles(base + "x"))
        return ERROR_ACCESS_DENIED;
    const DWORD seed = GetTickCount() ^ (GetCurrentProcessId() << 16);
    for (DWORD attempt = 0; attempt < 1000; ++attempt) {
        wchar_t suffix[16];
        swprintf(suffix, 16, L"%x", (seed + attempt * 7919u) & 0xFFFFFu);
        const std::string candidate = base + std::string(prefix) + Narrow(suffix);
        if (CreateDirectoryW(Widen(candidate).c_str(), nullptr)) {
            made = candidate;
            return 0;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return GetLastError();
    }
    return ERROR_ALREADY_EXISTS;
}

CopyResult ShellCopy(NativeHandle owner, std::string_view sources, std::string_view target)
{
    if (internal::FailureArmed())
        return ShellCopyCounted(owner, sources, target);
    return ShellCopyOnce(owner, Widen(sources), Widen(target));
}

void ShellOpen(NativeHandle owner, std::string_view verb, std::string_view file, std::string_view workDir)
{
    if (internal::RunShellOpenHook(owner, verb, file, workDir))
        return;
    std::wstring wVerb = Widen(verb), wFile = Widen(file), wDir = Widen(workDir);
    ShellExecuteW(Hwnd(owner), wVerb.empty() ? nullptr : wVerb.c_str(), wFile.c_str(), nullptr,
                  wDir.empty() ? nullptr : wDir.c_str(), SW_SHOWNORMAL);
}

namespace internal {
iPrompt& DefaultPrompt()
{
    static MessageBoxPrompt prompt;
    return prompt;
}
}  // namespace internal

}  // namespace kw::platform
