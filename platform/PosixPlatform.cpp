// The POSIX side of the platform: Windows' conventions (backslash paths, Win32 result
// codes, the ANSI code page Windows-1252) reproduced on a POSIX file system.
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <locale.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <wctype.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "Cp1252.h"
#include "Platform.h"
#include "PlatformInternal.h"
#include "Utf.h"

extern char** environ;

namespace kw::platform {

namespace fs = std::filesystem;

namespace {

// Win32 numbers of the errors this side can report.
constexpr unsigned long kFileNotFound = 2, kPathNotFound = 3, kAccessDenied = 5, kGenFailure = 31,
                        kSharingViolation = 32, kFileExists = 80, kDiskFull = 112, kInvalidName = 123,
                        kDirNotEmpty = 145, kBadPathname = 161, kAlreadyExists = 183, kFilenameTooLong = 206,
                        kCancelled = 1223;

std::string Native(std::string_view path)
{
    std::string out(path);
    for (char& c : out)
        if (c == '\\')
            c = '/';
    return out;
}

unsigned long FromErrno(int e)
{
    switch (e) {
    case ENOENT: return kFileNotFound;
    case ENOTDIR: return kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return kAccessDenied;
    case ENOSPC:
    case EDQUOT: return kDiskFull;
    case EEXIST: return kAlreadyExists;
    case ENAMETOOLONG: return kFilenameTooLong;
    case EINVAL: return kInvalidName;
    case ENOTEMPTY: return kDirNotEmpty;
    case EBUSY:
    case ETXTBSY: return kSharingViolation;
    default: return kGenFailure;
    }
}

// A file without any write bit stands for Windows' read-only attribute, also for root.
bool IsReadOnlyFile(const std::string& nativePath)
{
    struct stat st;
    return stat(nativePath.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 0222) == 0;
}

locale_t Utf8Locale()
{
    static locale_t loc = [] {
        locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
        return l ? l : newlocale(LC_CTYPE_MASK, "C", nullptr);
    }();
    return loc;
}

std::u32string UpperCodePoints(std::string_view utf8)
{
    std::u32string out;
    for (size_t pos = 0; pos < utf8.size();)
        out += static_cast<char32_t>(towupper_l(static_cast<wint_t>(utf::DecodeUtf8(utf8, pos)), Utf8Locale()));
    return out;
}

std::error_code LastError() { return {errno, std::generic_category()}; }

// One file's bytes and permission bits, replacing what is there, with the kernel's own copy
// where it has one (as cp does): no user-space buffer, no stat or chmod beyond the needed.
std::error_code CopyFileBytes(const std::string& from, const std::string& to)
{
    const int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return LastError();
    struct stat src {
    }, dst{};
    std::error_code ec;
    if (fstat(in, &src) != 0) {
        ec = LastError();
    } else if (S_ISDIR(src.st_mode)) {
        ec = std::make_error_code(std::errc::is_a_directory);
    }
    const int out = ec ? -1 : open(to.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, src.st_mode & 07777);
    if (!ec && out < 0)
        ec = LastError();
    // Truncated only once it is known not to be the source itself.
    if (!ec && fstat(out, &dst) != 0)
        ec = LastError();
    if (!ec && dst.st_dev == src.st_dev && dst.st_ino == src.st_ino)
        ec = std::make_error_code(std::errc::file_exists);
    if (!ec && dst.st_size != 0 && ftruncate(out, 0) != 0)
        ec = LastError();
    if (!ec && (dst.st_mode & 07777) != (src.st_mode & 07777) && fchmod(out, src.st_mode & 07777) != 0)
        ec = LastError();
    bool kernelCopy = true;
    while (!ec) {
        ssize_t n = -1;
        if (kernelCopy) {
            n = copy_file_range(in, nullptr, out, nullptr, std::size_t{1} << 30, 0);
            if (n < 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) {
                kernelCopy = false;  // another file system or an old kernel: plain reads
                continue;
            }
        } else {
            char buffer[1 << 16];
            n = read(in, buffer, sizeof buffer);
            for (ssize_t done = 0; n > 0 && done < n;) {
                const ssize_t w = write(out, buffer + done, static_cast<std::size_t>(n - done));
                if (w < 0) {
                    n = -1;
                    break;
                }
                done += w;
            }
        }
        if (n < 0 && errno != EINTR)
            ec = LastError();
        if (n == 0)
            break;
    }
    if (out >= 0 && close(out) != 0 && !ec)
        ec = LastError();
    close(in);
    return ec;
}

// A folder with its tree; the folders keep their permission bits, links are followed.
std::error_code CopyTree(const std::string& from, const std::string& to, mode_t mode)
{
    if (mkdir(to.c_str(), mode & 07777) != 0 && errno != EEXIST)
        return LastError();
    DIR* dir = opendir(from.c_str());
    if (!dir)
        return LastError();
    std::error_code ec;
    errno = 0;
    while (const dirent* e = readdir(dir)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..")
            continue;
        const std::string source = from + '/' + name, target = to + '/' + name;
        unsigned char type = e->d_type;
        struct stat st {};
        if (type == DT_DIR || type == DT_UNKNOWN || type == DT_LNK) {
            if (stat(source.c_str(), &st) != 0) {
                ec = LastError();
                break;
            }
            type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : DT_UNKNOWN;
        }
        // Pipes, sockets and devices are not files to copy (opening a pipe would wait).
        ec = type == DT_DIR   ? CopyTree(source, target, st.st_mode)
             : type == DT_REG ? CopyFileBytes(source, target)
                              : std::make_error_code(std::errc::not_supported);
        if (ec)
            break;
        errno = 0;
    }
    if (!ec && errno != 0)
        ec = LastError();
    closedir(dir);
    return ec;
}

// Empties the folder open as `dir` (and closes it): names by the directory's own types, no
// stat per file, links removed and never followed. 0 or the first errno.
int RemoveContents(int dir)
{
    DIR* d = fdopendir(dir);
    if (!d) {
        const int err = errno;
        close(dir);
        return err;
    }
    int err = 0;
    errno = 0;
    while (const dirent* e = readdir(d)) {
        const char* name = e->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        bool folder = e->d_type == DT_DIR;
        if (e->d_type == DT_UNKNOWN) {
            struct stat st {};
            folder = fstatat(dir, name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
        }
        if (folder) {
            const int sub = openat(dir, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            err = sub < 0 ? errno : RemoveContents(sub);
        }
        if (!err && unlinkat(dir, name, folder ? AT_REMOVEDIR : 0) != 0)
            err = errno;
        if (err)
            break;
        errno = 0;
    }
    if (!err && errno != 0)
        err = errno;
    closedir(d);
    return err;
}

// Copies one file or folder (with its tree) into the folder `into`.
std::error_code CopyEntry(const fs::path& source, const fs::path& into)
{
    const fs::path target = into / source.filename();
    struct stat st {};
    if (stat(source.c_str(), &st) != 0)
        return LastError();
    if (S_ISDIR(st.st_mode))
        return CopyTree(source.string(), target.string(), st.st_mode);
    return S_ISREG(st.st_mode) ? CopyFileBytes(source.string(), target.string())
                               : std::make_error_code(std::errc::not_supported);
}

class StderrPrompt final : public iPrompt {
public:
    int Show(NativeHandle, std::string_view text, std::string_view title, unsigned style) override
    {
        std::cerr << title << ": " << text << '\n';
        return (style & 0xF) == kMbYesNo ? kIdYes : kIdOk;
    }
};

}  // namespace

std::string ToAnsi(std::string_view utf8) { return cp1252::FromUtf8(utf8); }
std::string FromAnsi(std::string_view ansi) { return cp1252::ToUtf8(ansi); }

std::string UpperCase(std::string_view utf8)
{
    std::string out;
    for (char32_t cp : UpperCodePoints(utf8))
        utf::AppendUtf8(out, cp);
    return out;
}

int CompareText(std::string_view a, std::string_view b)
{
    // ASCII, the usual case for paths, compared in place; from the first other byte on (a
    // character boundary in both texts) the full case mapping decides.
    std::size_t i = 0;
    for (; i < a.size() && i < b.size(); ++i) {
        const unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 0x80 || y >= 0x80)
            return UpperCodePoints(a.substr(i)).compare(UpperCodePoints(b.substr(i)));
        const unsigned char ux = x >= 'a' && x <= 'z' ? x - 32 : x, uy = y >= 'a' && y <= 'z' ? y - 32 : y;
        if (ux != uy)
            return ux < uy ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

// The upper-cased code points, each as four big-endian bytes: byte order is code-point order.
std::string SortKey(std::string_view utf8)
{
    std::string key;
    for (char32_t cp : UpperCodePoints(utf8))
        for (int shift = 24; shift >= 0; shift -= 8)
            key += static_cast<char>((cp >> shift) & 0xFF);
    return key;
}

std::string ProgramFolder()
{
    if (!internal::ProgramFolderOverride().empty())
        return internal::ProgramFolderOverride();
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return {};
    return exe.parent_path().string();
}

bool PathExists(std::string_view path)
{
    struct stat st;
    return !path.empty() && stat(Native(path).c_str(), &st) == 0;
}

bool ReadFileBytes(std::string_view path, std::string& bytes)
{
    FILE* f = std::fopen(Native(path).c_str(), "rb");
    if (!f)
        return false;
    bytes.clear();
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        bytes.append(buffer, n);
    bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

namespace {

int WriteAll(int fd, std::string_view bytes)
{
    for (size_t written = 0; written < bytes.size();) {
        ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0)
            return errno;
        written += static_cast<size_t>(n);
    }
    return 0;
}

// The profile routines' way: the file itself is truncated and written.
unsigned long WriteInPlace(const std::string& target, std::string_view bytes)
{
    int fd = open(target.c_str(), O_WRONLY | O_TRUNC);
    if (fd < 0)
        return FromErrno(errno);
    int e = WriteAll(fd, bytes);
    if (close(fd) != 0 && !e)
        e = errno;
    return e ? FromErrno(e) : 0;
}

unsigned long WriteFileAs(std::string_view path, std::string_view bytes, std::string* errorText, bool inPlaceFallback)
{
    auto fail = [&](unsigned long code) {
        if (errorText)
            *errorText = ErrorText(code);
        return code;
    };
    std::string target = Native(path);
    struct stat st;
    const bool exists = stat(target.c_str(), &st) == 0;
    if (exists && (S_ISDIR(st.st_mode) || IsReadOnlyFile(target)))
        return fail(kAccessDenied);

    // A short name beside the target: a long target name must not make it too long.
    std::string temp = target.substr(0, target.rfind('/') + 1) + ".kwXXXXXX";
    int fd = internal::RefusesNewFiles(path) ? (errno = EACCES, -1) : mkstemp(temp.data());
    if (fd < 0) {
        unsigned long tempError = errno == ENOENT ? kPathNotFound : FromErrno(errno);
        if (inPlaceFallback && exists) {
            unsigned long code = WriteInPlace(target, bytes);
            return code ? fail(code) : 0;
        }
        return fail(tempError);
    }
    fchmod(fd, 0644);
    if (int e = WriteAll(fd, bytes)) {
        close(fd);
        unlink(temp.c_str());
        return fail(FromErrno(e));
    }
    if (close(fd) != 0 || rename(temp.c_str(), target.c_str()) != 0) {
        int e = errno;
        unlink(temp.c_str());
        return fail(FromErrno(e));
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
    switch (code) {
    case 0: return "The operation completed successfully.";
    case kFileNotFound: return "The system cannot find the file specified.";
    case kSharingViolation: return "The process cannot access the file because it is being used by another process.";
    case kDirNotEmpty: return "The directory is not empty.";
    case kCancelled: return "The operation was canceled by the user.";
    case kPathNotFound: return "The system cannot find the path specified.";
    case kAccessDenied: return "Access is denied.";
    case kFileExists: return "The file exists.";
    case kDiskFull: return "There is not enough space on the disk.";
    case kInvalidName: return "The filename, directory name, or volume label syntax is incorrect.";
    case kBadPathname: return "The specified path is invalid.";
    case kAlreadyExists: return "Cannot create a file when that file already exists.";
    case kFilenameTooLong: return "The filename or extension is too long.";
    default: return "Error " + std::to_string(code) + ".";
    }
}

bool SpecialFolderPath(NativeHandle, int csidl, std::string& path)
{
    auto over = internal::SpecialFolderOverride(csidl);
    if (!over)
        return false;  // no Windows folders here except those a test sets
    path = *over;
    return true;
}

long internal::CreateFolderTreeNative(NativeHandle, std::string_view path)
{
    std::string native = Native(path);
    if (native.empty() || native[0] != '/')
        return static_cast<long>(kBadPathname);
    struct stat st;
    if (stat(native.c_str(), &st) == 0)
        return static_cast<long>(S_ISDIR(st.st_mode) ? kAlreadyExists : kFileExists);
    if (internal::RefusesNewFolder(path))
        return static_cast<long>(kAccessDenied);
    std::error_code ec;
    fs::create_directories(native, ec);
    if (ec)
        return static_cast<long>(ec.value() == EEXIST || ec.value() == ENOTDIR ? kPathNotFound : FromErrno(ec.value()));
    return 0;
}

CopyResult ShellCopy(NativeHandle, std::string_view sources, std::string_view target)
{
    CopyResult result;
    std::vector<std::string> from = internal::SplitPathList(sources), to = internal::SplitPathList(target);
    if (from.empty() || to.empty()) {
        result.code = static_cast<int>(kFileNotFound);
        return result;
    }
    fs::path into = Native(to.front());
    std::error_code ec;
    fs::create_directories(into, ec);
    for (const std::string& entry : from) {
        if (unsigned long code = internal::InjectedFailure()) {
            result.code = static_cast<int>(code);
            result.aborted = true;
            break;
        }
        fs::path source = Native(entry);
        std::string pattern = source.filename().string();
        if (pattern.find_first_of("*?") == std::string::npos) {
            ec = CopyEntry(source, into);
        } else {
            // "*.*" matches every name, with or without a dot, as on Windows.
            bool all = pattern == "*.*" || pattern == "*";
            for (const auto& item : fs::directory_iterator(source.parent_path(), ec)) {
                std::string name = item.path().filename().string();
                if (all || fnmatch(pattern.c_str(), name.c_str(), FNM_CASEFOLD) == 0)
                    ec = CopyEntry(item.path(), into);
                if (ec)
                    break;
            }
        }
        if (ec) {
            // The shell reports the error and gives up on the rest.
            result.code = static_cast<int>(FromErrno(ec.value()));
            result.aborted = true;
            break;
        }
    }
    return result;
}

// There is no shell window here: both copies are the same.
CopyResult DirectCopy(std::string_view sources, std::string_view target) { return ShellCopy(0, sources, target); }

unsigned long ListFolder(std::string_view path, std::vector<FolderEntry>& entries)
{
    entries.clear();
    const std::string native = Native(path);
    DIR* dir = opendir(native.c_str());
    if (!dir)
        return FromErrno(errno);
    while (const dirent* d = readdir(dir)) {
        std::string_view name = d->d_name;
        if (name == "." || name == "..")
            continue;
        struct stat st;
        if (fstatat(dirfd(dir), d->d_name, &st, 0) != 0 &&
            fstatat(dirfd(dir), d->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        const bool folder = S_ISDIR(st.st_mode);
        entries.push_back({std::string(name), folder, folder ? 0 : static_cast<std::uint64_t>(st.st_size)});
    }
    closedir(dir);
    return 0;
}

unsigned long MoveFolder(std::string_view from, std::string_view to)
{
    if (unsigned long code = internal::InjectedFailure())
        return code;
    const std::string source = Native(from), target = Native(to);
    struct stat st;
    if (lstat(target.c_str(), &st) == 0)
        return kAlreadyExists;
    if (lstat(source.c_str(), &st) != 0)
        return errno == ENOENT ? kFileNotFound : FromErrno(errno);
    // rename() gives EXDEV across file systems: the move is refused, as across volumes.
    if (rename(source.c_str(), target.c_str()) != 0)
        return errno == EXDEV ? 17 : FromErrno(errno);
    return 0;
}

unsigned long RemoveTree(std::string_view path)
{
    if (unsigned long code = internal::InjectedFailure())
        return code;
    const std::string native = Native(path);
    struct stat st {};
    if (lstat(native.c_str(), &st) != 0)
        return errno == ENOENT ? 0 : FromErrno(errno);
    if (!S_ISDIR(st.st_mode))
        return unlink(native.c_str()) == 0 ? 0 : FromErrno(errno);
    const int dir = open(native.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (dir < 0)
        return FromErrno(errno);
    if (int err = RemoveContents(dir))
        return FromErrno(err);
    return rmdir(native.c_str()) == 0 ? 0 : FromErrno(errno);
}

unsigned long MakeTempFolder(std::string_view parent, std::string_view prefix, std::string& made)
{
    if (unsigned long code = internal::InjectedFailure())
        return code;
    if (internal::RefusesNewFiles(std::string(parent) + "\\x"))
        return kAccessDenied;
    std::string pattern = Native(parent);
    if (!pattern.empty() && pattern.back() != '/')
        pattern += '/';
    pattern += std::string(prefix) + "XXXXXX";
    if (!mkdtemp(pattern.data()))
        return errno == ENOENT ? kPathNotFound : FromErrno(errno);
    chmod(pattern.c_str(), 0755);
    std::string p(parent);
    if (!p.empty() && p.back() != '\\')
        p += '\\';
    made = p + pattern.substr(pattern.rfind('/') + 1);
    return 0;
}

void ShellOpen(NativeHandle owner, std::string_view verb, std::string_view file, std::string_view workDir)
{
    if (internal::RunShellOpenHook(owner, verb, file, workDir))
        return;
    std::string target = Native(file);
    if (!workDir.empty() && !target.empty() && target[0] != '/')
        target = Native(workDir) + "/" + target;
    char arg0[] = "xdg-open";
    char* argv[] = {arg0, target.data(), nullptr};
    pid_t pid;
    // Without xdg-open there is nothing to open with; that is not an error.
    if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, argv, environ) == 0)
        waitpid(pid, nullptr, WNOHANG);
}

namespace internal {
iPrompt& DefaultPrompt()
{
    static StderrPrompt prompt;
    return prompt;
}
}  // namespace internal

}  // namespace kw::platform
