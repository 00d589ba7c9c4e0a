#pragma once
// The plugin model: everything the user has entered about the plugin being made, plus the
// user's preferences (kept in Kitwright.ini beside the program).
#include <optional>
#include <string>
#include <vector>

#include "IniFile.h"
#include "KeyedList.h"
#include "StringList.h"
#include "platform/Platform.h"

namespace kw {

// Fixed underlying types: a number read from the INI that is not a listed value stays
// exactly what it was (a ZelVersion of 7 reads back as 7).
enum CheckValue : int { cvUnchecked = 0, cvChecked = 1 };
enum ZelMenuVersion : int { zvUpTo0348 = 0, zvFrom0349 = 1 };
enum FileCollection : int { fcProgramFiles = 0, fcSystemFiles = 1 };
enum CopyOption : int { coIndividualFiles = 0, coFolderTree = 1 };
enum Destination : int { dstPrograms = 2, dstWindows = 36, dstSystem32 = 37 };
enum DestinationFormat : int { dfInfCode = 0, dfEnvironmentPath = 1, dfZelMenuPath = 2 };

// Compare methods of DoSortCollection.
enum CompareMethod : int { vbBinaryCompare = 0, vbTextCompare = 1 };

// How the model uses its preferences file. The window reads and writes it (and writes the
// defaults when it is missing); ReadOnly reads it once and keeps every later change in
// memory, so nothing is ever written (a missing file gives the same defaults, in memory).
enum class PreferencesAccess { ReadWrite, ReadOnly };

// What the window and the console program report alike: the title of the program's
// messages, the title of its warnings, and what CreatePlugin answers (the system's codes).
inline constexpr const char* kAppTitle = "Kitwright";
inline constexpr const char* kAttention = "Attention";
inline constexpr int kErrorInvalidName = 123;
inline constexpr int kErrorAlreadyExists = 183;
inline constexpr int kErrorFilenameTooLong = 206;        // ERROR_FILENAME_EXCED_RANGE
inline constexpr int kErrorNoUnicodeTranslation = 1113;  // ERROR_NO_UNICODE_TRANSLATION
// A warning: titled kAttention, with the warning icon, through the platform's messages.
void ShowWarning(NativeHandle owner, const std::string& text);

// Something CreatePlugin would refuse before touching the disk: 123 an invalid or shared
// file name, 1113 a name the ANSI code page cannot hold, 206 a path over the limit.
struct CreateProblem {
    int code = 0;
    std::string name;  // the name or path concerned
    bool operator==(const CreateProblem&) const = default;
};

struct ExecutableSlot {
    std::string Path;
    std::string ShortcutName;
    CheckValue IncRamdisk = cvUnchecked;
    CheckValue IncAutorun = cvUnchecked;
    CheckValue IncJuxDesktop = cvUnchecked;
    CheckValue IncJuxQlaunch = cvUnchecked;
};

class clsKitwright {
public:
    // Loads the preferences of Kitwright.ini beside the program (writing the default file
    // when there is none). Never fails.
    clsKitwright();
    // Loads the preferences of the given file, used as `access` says. Never fails.
    clsKitwright(std::string iniFile, PreferencesAccess access);

    // Members in interface order. Index errors raise RuntimeError 5 or 9 as noted there.
    void AddFile(FileCollection v_eCollection, const std::string& v_sFileName);
    std::string AuthorComment() const;
    void AuthorComment(const std::string& v_sAuthorComment);
    std::string AuthorContact() const;
    void AuthorContact(const std::string& v_sAuthorContact);
    std::string AuthorName() const;
    void AuthorName(const std::string& v_sAuthorName);
    std::string AuthorWebsite() const;
    void AuthorWebsite(const std::string& v_sAuthorWebsite);
    void ClearCurrentExecutable();
    void ClearExecutables();
    void ClearProgramFiles();
    void ClearSystemFiles();
    bool CopyFiles();
    kw::CopyOption CopyOption() const;
    void CopyOption(kw::CopyOption v_eCopyOption);
    // 0 made, 183 the files folder exists; else the shell's code. Refused before the disk is
    // touched: 123 when the plugin name or a script's file name is not a valid file name (or
    // two scripts would share one), 1113 when a name the generated files list cannot pass
    // through the ANSI code page unchanged, 206 when a file to be made would not fit the
    // path limit of the writers and the shell copy.
    int CreatePlugin();
    // Every refusal CreatePlugin could give now, in the order it checks them, without
    // touching the disk (all of them, where CreatePlugin stops at the first kind).
    std::vector<CreateProblem> CheckCreate() const;
    // What CopyFiles would copy from that does not exist now: program files, executables,
    // the program folder of the tree mode; in the order it would copy them.
    std::vector<std::string> MissingCopySources() const;
    // After a refusal: the offending names (123, 1113) or the too-long path (206); empty
    // after any other result.
    std::vector<std::string> LastCreateProblems() const;
    // After CopyFiles: 0, or why it failed (a ShellCopy code; 3 for a missing folder tree,
    // 1223 for a copy the user stopped).
    int LastCopyError() const;
    // True (as made): CopyFiles goes through the shell, with its progress and error
    // windows; false: through the platform's copy without any window (the console).
    bool CopyThroughShell() const;
    void CopyThroughShell(bool v_bThroughShell);
    int CurrentExecutable() const;
    void CurrentExecutable(int v_iCurrExecutable);
    void DeleteFileFrom(FileCollection v_eCollection, const std::string& v_sFile);
    // The same as DeleteFileFrom for each name in turn (the first entry left of that name
    // goes), in one pass over the list: for removing a selection of any size.
    void DeleteFilesFrom(FileCollection v_eCollection, const std::vector<std::string>& v_colFiles);
    std::string Description() const;
    void Description(const std::string& v_sDescription);
    KeyedList DoSortCollection(const KeyedList& r_colStrings, CompareMethod v_CompareMethod) const;
    std::string Executable(int v_iIndex) const;
    void Executable(int v_iIndex, const std::string& r_sFile);
    std::string ExecutableName(int v_iIndex) const;
    std::string ExecutablePath(int v_iIndex) const;
    std::string GetDestinationData(FileCollection v_eFileType, DestinationFormat v_eReturnType) const;
    CheckValue IncAuthor() const;
    void IncAuthor(CheckValue v_eIncAuthor);
    CheckValue IncAutorun(int v_iIndex) const;
    void IncAutorun(int v_iIndex, CheckValue v_eIncAutorun);
    CheckValue IncZelMenu() const;
    void IncZelMenu(CheckValue v_eIncZelMenu);
    CheckValue IncPopupDone() const;
    void IncPopupDone(CheckValue v_eIncPopupDone);
    CheckValue IncRamdisk(int v_iIndex) const;
    void IncRamdisk(int v_iIndex, CheckValue v_eIncRamdisk);
    bool IncSubGroup() const;
    void IncSubGroup(bool v_bIncSubGroup);
    CheckValue IncJuxDesktop(int v_iIndex) const;
    void IncJuxDesktop(int v_iIndex, CheckValue v_eIncJuxDesktop);
    CheckValue IncJuxMenu() const;
    void IncJuxMenu(CheckValue v_eIncJuxMenu);
    CheckValue IncJuxQlaunch(int v_iIndex) const;
    void IncJuxQlaunch(int v_iIndex, CheckValue v_eIncJuxQlaunch);
    bool IsExecutables() const;
    bool IsRamdisk(int v_iIndex) const;
    bool IsSystemFilePathOk(const std::string& v_sPath) const;
    void LoadMenuGroupItemsTo(StringList& r_ctrl) const;
    void LoadZelVersionsTo(StringList& r_ctrl) const;
    void LoadProgramFilesDestinationsTo(StringList& r_ctrl) const;
    void LoadSystemFilesDestinationsTo(StringList& r_ctrl) const;
    int MaxExecutables() const;
    void MaxExecutables(int v_iMaxExecutables);
    std::string MenuGroup() const;
    void MenuGroup(const std::string& v_sMenuGroup);
    bool NeedsAutorun() const;
    bool NeedsRamdisk() const;
    CheckValue ZelFileName() const;
    void ZelFileName(CheckValue v_eZelFileName);
    ZelMenuVersion ZelVersion() const;
    void ZelVersion(ZelMenuVersion v_eZelVersion);
    void OpenPlugin(NativeHandle r_hWnd) const;
    NativeHandle ParentWnd() const;
    void ParentWnd(NativeHandle v_hParentWnd);
    std::string PluginLocation() const;
    void PluginLocation(const std::string& v_sPluginLocation);
    std::string PluginName() const;
    void PluginName(const std::string& v_sPluginName);
    void ProgramFile(const std::string& v_sString);
    std::string ProgramFileAll(int v_iIndex) const;
    int ProgramFileCount() const;
    std::string ProgramFileName(int v_iIndex) const;
    std::string ProgramFilePath(int v_iIndex) const;
    Destination ProgramFilesDest() const;
    void ProgramFilesDest(Destination v_eProgramFilesDest);
    std::string ProgramFolder() const;
    void ProgramFolder(const std::string& r_sProgramFolder);
    std::string ProgramName() const;
    void ProgramName(const std::string& v_sProgramName);
    std::string ProgramWebsite() const;
    void ProgramWebsite(const std::string& v_sProgramWebsite);
    void SaveMenuGroupItems(const StringList& r_ctrl);
    std::string ShortcutName(int v_iIndex) const;
    void ShortcutName(int v_iIndex, const std::string& v_sShortcutName);
    void ShowHelp(NativeHandle r_hWnd) const;
    int SystemFileCount() const;
    std::string SystemFileName(int v_iIndex) const;
    Destination SystemFilesDest() const;
    void SystemFilesDest(Destination v_eSystemFilesDest);
    std::string SystemFilesFolder() const;

    // The files the plugin lists, which the writers name and the copy takes: the program
    // files and each filled slot's executable whose file name is not listed yet, sorted by
    // full path, case-insensitively. The program-file list itself stays as the user made it.
    struct ListedFile {
        std::string path;
        std::string name;  // without its folder, as the file lies in the plugin
    };
    std::vector<ListedFile> ListedFiles() const;

    // For a copy that builds or checks a plugin elsewhere: from now on this object reads and
    // writes no preferences file; what it holds stays in memory only.
    void DetachPreferences();

    // True when the text can be used as one file name: not empty, no \ / : * ? " < > | or
    // control character, no trailing dot or blank, not "." or "..", not a device name
    // (CON, PRN, AUX, NUL, COM1-9, LPT1-9, also with an extension), at most 255 characters.
    static bool IsValidFileName(const std::string& name);
    // True when the text survives the ANSI code page unchanged (there and back).
    static bool FitsAnsi(const std::string& text);

private:
    void Load();
    void WriteDefaultIni();
    static std::string AddBackslash(const std::string& text);
    static bool FileExists(const std::string& path);
    static std::string ReadIni(const ini::Document& prefs, const std::string& section, const std::string& key);
    static std::string GetFilePath(const std::string& path);
    static std::string StripNull(const std::string& text);
    static std::string GetFileName(const std::string& path);
    // A null key (nullptr) removes the section, a null value removes the key.
    void WriteIni(const std::string& section, const char* key, const char* value);
    // A number under [Preferences], as decimal text.
    void WritePreference(const char* key, int value);
    std::string GetSpecialFolder(int folderId) const;
    std::string FormatDestination(Destination destination, DestinationFormat format) const;
    void StorePluginPath(const std::string& path);
    std::string LoadPluginPath(const ini::Document& prefs) const;
    std::vector<std::string> InvalidNames() const;
    std::vector<std::string> NonAnsiNames() const;
    std::vector<std::string> TooLongPaths() const;
    KeyedList& Collection(FileCollection v_eCollection);  // invalid-argument error for others
    const ExecutableSlot& Slot(int index, long error) const;
    ExecutableSlot& Slot(int index, long error);

    std::string m_sIniFile;
    // The preferences of a read-only model; null when they live in the file.
    std::optional<ini::Document> m_oPreferences;
    NativeHandle m_hParentWnd = 0;
    std::string m_sPluginName;
    std::string m_sProgramName;
    std::string m_sProgramWebsite;
    std::string m_sDescription;
    std::string m_sProgramFolder;
    std::string m_sMenuGroup;
    int m_iCurrExecutable = 0;
    std::string m_sPluginLocation;
    std::string m_sAuthorName;
    std::string m_sAuthorWebsite;
    std::string m_sAuthorContact;
    std::string m_sAuthorComment;
    kw::CopyOption m_eCopyOption = coIndividualFiles;
    Destination m_eProgramFilesDest = Destination(0);
    Destination m_eSystemFilesDest = Destination(0);
    CheckValue m_eIncZelMenu = cvUnchecked;
    CheckValue m_eIncJuxMenu = cvUnchecked;
    bool m_bIncSubGroup = false;
    CheckValue m_eIncAuthor = cvUnchecked;
    CheckValue m_eIncPopupDone = cvUnchecked;
    CheckValue m_eZelFileName = cvUnchecked;
    ZelMenuVersion m_eZelVersion = zvUpTo0348;
    std::vector<ExecutableSlot> m_aExecutables;
    KeyedList m_colProgramFiles;
    KeyedList m_colSystemFiles;
    std::vector<std::string> m_aCreateProblems;
    int m_iLastCopyError = 0;
    bool m_bCopyThroughShell = true;
};

}  // namespace kw
