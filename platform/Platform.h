#pragma once
// The one boundary between the portable core (model/, writers/) and the operating system.
// Win32 implementation in Win32Platform.cpp, POSIX one in PosixPlatform.cpp.
//
// Paths are UTF-8 with "\" as separator, as on Windows; the POSIX side maps "\" to "/" at
// the boundary, so the same model code and the same tests run on both.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace kw {

// A native window handle (HWND on Windows); 0 is none.
using NativeHandle = std::uintptr_t;

namespace platform {

// ---- Text -----------------------------------------------------------------------------
// Text in memory is UTF-8. The ANSI code page is used only for bytes in files: these two
// are the only conversions to and from it. (POSIX: Windows-1252, which is what Windows and
// Wine use under an English locale; unmappable characters become '?'.)
std::string ToAnsi(std::string_view utf8);
std::string FromAnsi(std::string_view ansi);

// Unicode-aware upper case and case-insensitive compare, used for file-list keys, name
// lookups and the text sort (Windows: the system's own case mapping and collation).
std::string UpperCase(std::string_view utf8);
int CompareText(std::string_view a, std::string_view b);  // <0, 0, >0
// CompareText's order made once per text: two keys compare as byte strings (std::string's
// order) exactly as CompareText compares their texts, equal keys included. A sort or a
// lookup over many texts converts each text once instead of at every comparison.
std::string SortKey(std::string_view utf8);

// ---- Program folder ---------------------------------------------------------------------
// The folder that holds the program file, without a trailing "\" unless it is a root.
std::string ProgramFolder();
// Tests point it elsewhere; an empty text restores the real folder.
void SetProgramFolderForTesting(std::string folder);

// ---- Files ------------------------------------------------------------------------------
// True when a file or a folder of that name exists.
bool PathExists(std::string_view path);
// Reads a whole file; false when it cannot be read.
bool ReadFileBytes(std::string_view path, std::string& bytes);
// Writes a file whole or not at all: the bytes go to a temporary file in the same folder,
// which then replaces the target. Returns 0 or the system error code (Win32 numbering:
// 2 file not found, 3 path not found, 5 access denied, 112 disk full, ...); errorText, when
// given, receives the system's text for it. A read-only target is refused with 5.
unsigned long WriteFileWhole(std::string_view path, std::string_view bytes, std::string* errorText = nullptr);
// Like WriteFileWhole, but when no temporary file can be made beside an existing, writable
// target (a locked-down folder with only that file opened up), the target is rewritten in
// place, as the system's profile routines do.
unsigned long RewriteFile(std::string_view path, std::string_view bytes, std::string* errorText = nullptr);
// Tests make a folder refuse new files and folders (as a locked-down folder would, whoever
// runs the tests); an empty text ends it.
void SetFolderRefusesNewFilesForTesting(std::string folder);
// The system's message text for a Win32-numbered error code.
std::string ErrorText(unsigned long code);

// ---- Folders ------------------------------------------------------------------------------
// Win32 result codes throughout: 0 done, 2/3 not found, 5 access denied, 32 in use,
// 183 exists already, 112 disk full, ...
struct FolderEntry {
    std::string name;
    bool folder = false;
    std::uint64_t size = 0;  // of a file
};
// The entries of a folder (without "." and ".."), in no particular order.
unsigned long ListFolder(std::string_view path, std::vector<FolderEntry>& entries);
// Renames a folder (or a file) within its volume. Never replaces anything: 183 when the
// target exists. Either the whole folder moves or nothing does.
unsigned long MoveFolder(std::string_view from, std::string_view to);
// Removes a folder with everything below it, read-only files included; 0 also when there
// was nothing. Links inside are removed, never followed.
unsigned long RemoveTree(std::string_view path);
// Makes a new, empty folder inside parent with a short unused name that starts with prefix;
// its path goes to made.
unsigned long MakeTempFolder(std::string_view parent, std::string_view prefix, std::string& made);

// Tests make an operation half way through a longer task fail, as a locked file, a full disk
// or a stopped copy would: the operation after the next `succeeding` ones fails with `code`,
// once. Counted are files written (WriteFileWhole, RewriteFile), folders made
// (CreateFolderTree, MakeTempFolder), each source of a ShellCopy, MoveFolder and RemoveTree.
// A code of 0 ends it.
void SetFailureForTesting(int succeeding, unsigned long code);
// True while a failure set up for a test has not happened yet.
bool FailurePendingForTesting();

// ---- Dry runs ---------------------------------------------------------------------------
// While a FileCapture exists, the files WriteFileWhole and RewriteFile would write are kept
// in it instead, and CreateFolderTree makes nothing and answers 0: the model and the writers
// can be run whole with no change on disk. Only on the thread that made it; captures nest.
class FileCapture {
public:
    FileCapture();
    ~FileCapture();
    FileCapture(const FileCapture&) = delete;
    FileCapture& operator=(const FileCapture&) = delete;

    // Path, exactly as given to the write, to the bytes that would be on disk.
    const std::map<std::string, std::string>& Files() const { return files_; }
    const std::vector<std::string>& Folders() const { return folders_; }

    void Write(std::string_view path, std::string_view bytes) { files_[std::string(path)] = bytes; }
    void MakeFolder(std::string_view path) { folders_.emplace_back(path); }

private:
    std::map<std::string, std::string> files_;
    std::vector<std::string> folders_;
    FileCapture* previous_;
};

// ---- Special folders --------------------------------------------------------------------
inline constexpr int kCsidlWindows = 36;
inline constexpr int kCsidlSystem = 37;
// The local path of a shell folder (as SHGetFolderPath reports it: no trailing "\" except
// at a root); false when the system cannot resolve it.
bool SpecialFolderPath(NativeHandle owner, int csidl, std::string& path);
// Says where a shell folder is, whatever the system reports (POSIX has none of its own; the
// console program is told where the Windows folder is); an empty text removes it again.
void SetSpecialFolder(int csidl, std::string path);
// The same, for tests.
void SetSpecialFolderForTesting(int csidl, std::string path);

// ---- Shell ------------------------------------------------------------------------------
// Makes a folder and every missing folder on the way. Win32 result codes: 0 made,
// 183 exists already, 161 relative path, 3/5/123/206 ... as the system reports them.
long CreateFolderTree(NativeHandle owner, std::string_view path);

struct CopyResult {
    int code = 0;          // 0 when the shell reported success
    bool aborted = false;  // the user cancelled, or the shell gave up part way
};
// The shell's copy. sources and target are shell path lists: each path ended by a NUL and
// one more NUL after the last (whatever follows that is not seen). A source may be a file
// or a folder pattern like C:\P\*.*, which copies the whole tree below it. Existing files
// are replaced without a question. Windows shows the shell's progress and error windows.
CopyResult ShellCopy(NativeHandle owner, std::string_view sources, std::string_view target);
// The same copy without any window, file by file with the system's own file copy: same
// lists, same result codes (Win32 numbering), stops at the first failure. What the
// console program uses; the shell's progress window is the window's.
CopyResult DirectCopy(std::string_view sources, std::string_view target);
// The reason for a ShellCopy code: the shell has numbers of its own beside the Win32 ones.
std::string CopyErrorText(int code);

// Opens a file or folder with the shell (verb empty = default verb); failures are ignored.
void ShellOpen(NativeHandle owner, std::string_view verb, std::string_view file, std::string_view workDir);
// Tests see shell opens instead of starting programs; an empty function restores the real one.
using ShellOpenHook =
    std::function<void(NativeHandle, std::string_view verb, std::string_view file, std::string_view workDir)>;
void SetShellOpenHookForTesting(ShellOpenHook hook);

// ---- Messages to the user ---------------------------------------------------------------
// Styles and results keep the Win32 numbers.
inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbOkCancel = 0x1;
inline constexpr unsigned kMbYesNo = 0x4;
inline constexpr unsigned kMbIconError = 0x10;
inline constexpr unsigned kMbIconQuestion = 0x20;
inline constexpr unsigned kMbIconWarning = 0x30;  // also the exclamation icon
inline constexpr unsigned kMbIconInformation = 0x40;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

// Every message box of the program goes through the current prompt, so tests can see and
// answer them. The default shows a real message box (Windows) or writes to stderr (POSIX).
class iPrompt {
public:
    virtual ~iPrompt() = default;
    // owner 0: the active window of the thread.
    virtual int Show(NativeHandle owner, std::string_view text, std::string_view title, unsigned style) = 0;
};
iPrompt& Prompt();
// Installs a prompt (nullptr restores the default); returns the one that was installed.
iPrompt* SetPrompt(iPrompt* prompt);
inline int ShowMessage(NativeHandle owner, std::string_view text, std::string_view title, unsigned style)
{
    return Prompt().Show(owner, text, title, style);
}

}  // namespace platform
}  // namespace kw
