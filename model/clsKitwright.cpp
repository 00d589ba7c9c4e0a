#include "clsKitwright.h"

#include <algorithm>
#include <charconv>
#include <set>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "IniFile.h"
#include "platform/RuntimeError.h"

namespace kw {

namespace {

constexpr const char* kIniName = "Kitwright.ini";
constexpr int kMaxSlotIndex = 32767;  // slot indexes are 16-bit numbers for the window
// The limits of the plain (not "\\?\") file calls the writers and the shell copy make, in
// UTF-16 units without the ending NUL: a file path, and a folder the system creates.
constexpr std::size_t kMaxFilePath = 259;
constexpr std::size_t kMaxFolderPath = 247;
// The writers' temporary file beside each file: "~kw" + process id + "-" + attempt + ".tmp".
constexpr std::size_t kWriterTempName = 20;
// The plugins folder of a path the ANSI file cannot hold goes under this key too, escaped.
constexpr const char* kPluginPathWhole = "PluginPathUtf8";

// A step of the start-up that fails is skipped: the program must start whatever the file holds.
template <class F>
void Try(F&& step)
{
    try {
        step();
    } catch (...) {
    }
}

// Decimal text to a number; anything else (or out of range) gives 0.
int ToLong(const std::string& text)
{
    std::string_view s = text;
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    if (!s.empty() && s.front() == '+') {
        s.remove_prefix(1);
        if (!s.empty() && s.front() == '-')  // "+-5" is no number
            return 0;
    }
    int value = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    return (ec == std::errc() && end == s.data() + s.size() && !s.empty()) ? value : 0;
}

std::string Upper(const std::string& s) { return platform::UpperCase(s); }

std::size_t Utf16Length(const std::string& utf8)
{
    std::size_t units = 0;
    for (unsigned char c : utf8)
        if ((c & 0xC0) != 0x80)
            units += c >= 0xF0 ? 2 : 1;
    return units;
}

// Bytes outside printable ASCII, and '%', as %XX: any path fits the ANSI file this way.
std::string EscapePath(const std::string& utf8)
{
    static const char* const kHex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : utf8) {
        if (c < 0x20 || c >= 0x7F || c == '%') {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += char(c);
        }
    }
    return out;
}

bool UnescapePath(const std::string& text, std::string& utf8)
{
    auto hex = [](char c) { return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1; };
    utf8.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            utf8 += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return false;
        int high = hex(text[i + 1]), low = hex(text[i + 2]);
        if (high < 0 || low < 0)
            return false;
        utf8 += char(high * 16 + low);
        i += 2;
    }
    return true;
}

// Names in the order found, each once; the set spares a search of the list for each name.
class NameList {
public:
    void Add(const std::string& name)
    {
        if (seen_.insert(name).second)
            names_.push_back(name);
    }
    std::vector<std::string> Take() { return std::move(names_); }

private:
    std::vector<std::string> names_;
    std::unordered_set<std::string> seen_;
};

}  // namespace

void ShowWarning(NativeHandle owner, const std::string& text)
{
    platform::ShowMessage(owner, text, kAttention, platform::kMbOk | platform::kMbIconWarning);
}

// ---- Construction and preferences --------------------------------------------------------

namespace {

std::string IniBesideProgram()
{
    std::string path;
    Try([&] {
        path = platform::ProgramFolder();
        if (!path.empty() && path.back() != '\\')
            path += '\\';
        path += kIniName;
    });
    return path;
}

}  // namespace

clsKitwright::clsKitwright() : clsKitwright(IniBesideProgram(), PreferencesAccess::ReadWrite) {}

clsKitwright::clsKitwright(std::string iniFile, PreferencesAccess access) : m_sIniFile(std::move(iniFile))
{
    if (access == PreferencesAccess::ReadOnly) {
        // Set before anything can fail: a read-only model never falls back to the file.
        m_oPreferences.emplace();
        Try([&] {
            std::string bytes;
            if (platform::ReadFileBytes(m_sIniFile, bytes))
                m_oPreferences = ini::Document::Parse(bytes);
            else if (!FileExists(m_sIniFile))
                WriteDefaultIni();
            // A file that exists but cannot be read gives empty values, as in the window.
        });
    } else {
        Try([&] {
            if (!FileExists(m_sIniFile))
                WriteDefaultIni();
        });
    }
    Load();
}

void clsKitwright::Load()
{
    m_aExecutables.assign(1, ExecutableSlot{});
    m_iCurrExecutable = 0;
    // One reading of the file for all of them: a big file is parsed once, not once a key.
    ini::Document fromFile;
    if (!m_oPreferences) {
        Try([&] {
            std::string bytes;
            if (platform::ReadFileBytes(m_sIniFile, bytes))
                fromFile = ini::Document::Parse(bytes);
        });
    }
    const ini::Document& prefs = m_oPreferences ? *m_oPreferences : fromFile;
    Try([&] { m_sPluginLocation = LoadPluginPath(prefs); });
    Try([&] { m_eIncAuthor = CheckValue(ToLong(ReadIni(prefs, "Preferences", "IncAuthor"))); });
    Try([&] { m_eIncZelMenu = CheckValue(ToLong(ReadIni(prefs, "Preferences", "IncZelMenu"))); });
    Try([&] { m_eIncJuxMenu = CheckValue(ToLong(ReadIni(prefs, "Preferences", "IncJuxMenu"))); });
    Try([&] { m_eIncPopupDone = CheckValue(ToLong(ReadIni(prefs, "Preferences", "IncPopupDone"))); });
    Try([&] { m_eZelFileName = CheckValue(ToLong(ReadIni(prefs, "Preferences", "ZelFileName"))); });
    Try([&] { m_eZelVersion = ZelMenuVersion(ToLong(ReadIni(prefs, "Preferences", "ZelVersion"))); });
    Try([&] { m_sAuthorName = ReadIni(prefs, "Personal", "Name"); });
    Try([&] { m_sAuthorWebsite = ReadIni(prefs, "Personal", "Website"); });
    Try([&] { m_sAuthorContact = ReadIni(prefs, "Personal", "Contact"); });
    Try([&] { m_sAuthorComment = ReadIni(prefs, "Personal", "Comment"); });
}

void clsKitwright::DetachPreferences()
{
    if (m_oPreferences)
        return;
    m_oPreferences.emplace();
    Try([&] {
        std::string bytes;
        if (platform::ReadFileBytes(m_sIniFile, bytes))
            m_oPreferences = ini::Document::Parse(bytes);
    });
}

void clsKitwright::WriteDefaultIni()
{
    StorePluginPath(platform::ProgramFolder());
    WriteIni("Preferences", "IncAuthor", "1");
    WriteIni("Preferences", "IncZelMenu", "1");
    WriteIni("Preferences", "IncJuxMenu", "1");
    WriteIni("Preferences", "IncPopupDone", "1");
    WriteIni("MenuGroup", "0", "Accessories");
    WriteIni("MenuGroup", "1", "System Tools");
}

std::string clsKitwright::ReadIni(const ini::Document& prefs, const std::string& section, const std::string& key)
{
    std::string value;
    prefs.Get(section, key, value);
    return value;
}

void clsKitwright::WriteIni(const std::string& section, const char* key, const char* value)
{
    try {
        if (m_oPreferences)
            m_oPreferences->Write(section, key, value);
        else if (!m_sIniFile.empty())
            ini::Write(m_sIniFile, section, key, value);
    } catch (...) {
        // Preferences that cannot be saved are simply not saved.
    }
}

void clsKitwright::WritePreference(const char* key, int value)
{
    WriteIni("Preferences", key, std::to_string(value).c_str());
}

bool clsKitwright::FileExists(const std::string& path) { return !path.empty() && platform::PathExists(path); }

std::string clsKitwright::AddBackslash(const std::string& text)
{
    if (text.empty() || text.back() == '\\')
        return text;
    return text + "\\";
}

std::string clsKitwright::AuthorComment() const { return m_sAuthorComment; }
void clsKitwright::AuthorComment(const std::string& v_sAuthorComment)
{
    m_sAuthorComment = v_sAuthorComment;
    WriteIni("Personal", "Comment", m_sAuthorComment.c_str());
}

std::string clsKitwright::AuthorContact() const { return m_sAuthorContact; }
void clsKitwright::AuthorContact(const std::string& v_sAuthorContact)
{
    m_sAuthorContact = v_sAuthorContact;
    WriteIni("Personal", "Contact", m_sAuthorContact.c_str());
}

std::string clsKitwright::AuthorName() const { return m_sAuthorName; }
void clsKitwright::AuthorName(const std::string& v_sAuthorName)
{
    m_sAuthorName = v_sAuthorName;
    WriteIni("Personal", "Name", m_sAuthorName.c_str());
}

std::string clsKitwright::AuthorWebsite() const { return m_sAuthorWebsite; }
void clsKitwright::AuthorWebsite(const std::string& v_sAuthorWebsite)
{
    if (v_sAuthorWebsite == "http://") {
        m_sAuthorWebsite.clear();
        WriteIni("Personal", "Website", nullptr);
    } else {
        m_sAuthorWebsite = v_sAuthorWebsite;
        WriteIni("Personal", "Website", m_sAuthorWebsite.c_str());
    }
}

std::string clsKitwright::Description() const { return m_sDescription; }
void clsKitwright::Description(const std::string& v_sDescription) { m_sDescription = v_sDescription; }

std::string clsKitwright::PluginName() const { return m_sPluginName; }
void clsKitwright::PluginName(const std::string& v_sPluginName) { m_sPluginName = v_sPluginName; }

std::string clsKitwright::ProgramName() const { return m_sProgramName; }
void clsKitwright::ProgramName(const std::string& v_sProgramName) { m_sProgramName = v_sProgramName; }

std::string clsKitwright::ProgramWebsite() const { return m_sProgramWebsite; }
void clsKitwright::ProgramWebsite(const std::string& v_sProgramWebsite)
{
    m_sProgramWebsite = v_sProgramWebsite == "http://" ? std::string() : v_sProgramWebsite;
}

std::string clsKitwright::PluginLocation() const { return AddBackslash(m_sPluginLocation); }
void clsKitwright::PluginLocation(const std::string& v_sPluginLocation)
{
    m_sPluginLocation = v_sPluginLocation;
    StorePluginPath(m_sPluginLocation);
}

// A path the code page holds is stored as it always was. Any other is stored twice: as the
// code page renders it, for whoever reads the file as text, and escaped, to come back whole.
// Both hold the path up to its first NUL, as far as a file value reaches: an escaped copy
// of more than the plain key holds never matches it again and would be ignored.
void clsKitwright::StorePluginPath(const std::string& path)
{
    const std::string stored = StripNull(path);
    WriteIni("Preferences", "PluginPath", stored.c_str());
    WriteIni("Preferences", kPluginPathWhole, FitsAnsi(stored) ? nullptr : EscapePath(stored).c_str());
}

std::string clsKitwright::LoadPluginPath(const ini::Document& prefs) const
{
    std::string stored = ReadIni(prefs, "Preferences", "PluginPath");
    std::string whole;
    // The escaped copy counts only while the plain one is still what was stored with it
    // (a hand edit of PluginPath wins).
    if (UnescapePath(ReadIni(prefs, "Preferences", kPluginPathWhole), whole) && !whole.empty() &&
        platform::FromAnsi(platform::ToAnsi(whole)) == stored)
        return whole;
    return stored;
}

CheckValue clsKitwright::IncAuthor() const { return m_eIncAuthor; }
void clsKitwright::IncAuthor(CheckValue v_eIncAuthor)
{
    m_eIncAuthor = v_eIncAuthor;
    WritePreference("IncAuthor", m_eIncAuthor);
}

CheckValue clsKitwright::IncZelMenu() const { return m_eIncZelMenu; }
void clsKitwright::IncZelMenu(CheckValue v_eIncZelMenu)
{
    m_eIncZelMenu = v_eIncZelMenu;
    WritePreference("IncZelMenu", m_eIncZelMenu);
}

CheckValue clsKitwright::IncJuxMenu() const { return m_eIncJuxMenu; }
void clsKitwright::IncJuxMenu(CheckValue v_eIncJuxMenu)
{
    m_eIncJuxMenu = v_eIncJuxMenu;
    WritePreference("IncJuxMenu", m_eIncJuxMenu);
}

CheckValue clsKitwright::IncPopupDone() const { return m_eIncPopupDone; }
void clsKitwright::IncPopupDone(CheckValue v_eIncPopupDone)
{
    m_eIncPopupDone = v_eIncPopupDone;
    WritePreference("IncPopupDone", m_eIncPopupDone);
}

CheckValue clsKitwright::ZelFileName() const { return m_eZelFileName; }
void clsKitwright::ZelFileName(CheckValue v_eZelFileName)
{
    m_eZelFileName = v_eZelFileName;
    WritePreference("ZelFileName", m_eZelFileName);
}

ZelMenuVersion clsKitwright::ZelVersion() const { return m_eZelVersion; }
void clsKitwright::ZelVersion(ZelMenuVersion v_eZelVersion)
{
    m_eZelVersion = v_eZelVersion;
    WritePreference("ZelVersion", m_eZelVersion);
}

NativeHandle clsKitwright::ParentWnd() const { return m_hParentWnd; }
void clsKitwright::ParentWnd(NativeHandle v_hParentWnd) { m_hParentWnd = v_hParentWnd; }

void clsKitwright::LoadMenuGroupItemsTo(StringList& r_ctrl) const
{
    r_ctrl.Clear();
    ini::Document fromFile;
    if (!m_oPreferences) {
        std::string bytes;
        if (!platform::ReadFileBytes(m_sIniFile, bytes))
            return;
        fromFile = ini::Document::Parse(bytes);
    }
    const ini::Document& doc = m_oPreferences ? *m_oPreferences : fromFile;
    for (int i = 0;; ++i) {
        std::string value;
        if (!doc.Get("MenuGroup", std::to_string(i), value) || value.empty())
            break;
        r_ctrl.AddItem(value);
    }
}

void clsKitwright::SaveMenuGroupItems(const StringList& r_ctrl)
{
    if (m_oPreferences) {
        m_oPreferences->RemoveSection("MenuGroup");
        for (int i = 0; i < r_ctrl.ListCount(); ++i)
            m_oPreferences->Set("MenuGroup", std::to_string(i), r_ctrl.List(i));
        return;
    }
    if (m_sIniFile.empty())
        return;
    try {
        std::string bytes;
        if (!platform::ReadFileBytes(m_sIniFile, bytes) && platform::PathExists(m_sIniFile))
            return;
        ini::Document doc = ini::Document::Parse(bytes);
        doc.RemoveSection("MenuGroup");
        for (int i = 0; i < r_ctrl.ListCount(); ++i)
            doc.Set("MenuGroup", std::to_string(i), r_ctrl.List(i));
        platform::RewriteFile(m_sIniFile, doc.Serialize());
    } catch (...) {
    }
}

void clsKitwright::LoadZelVersionsTo(StringList& r_ctrl) const
{
    r_ctrl.Clear();
    r_ctrl.AddItem("<=0.348");
    r_ctrl.AddItem(">=0.349");
    r_ctrl.ListIndex(0);
}

// ---- Program and system files ------------------------------------------------------------

std::string clsKitwright::GetFileName(const std::string& path)
{
    std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string clsKitwright::GetFilePath(const std::string& path)
{
    std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(0, slash + 1);
}

std::string clsKitwright::StripNull(const std::string& text) { return text.substr(0, text.find('\0')); }

KeyedList& clsKitwright::Collection(FileCollection v_eCollection)
{
    if (v_eCollection == fcProgramFiles)
        return m_colProgramFiles;
    if (v_eCollection == fcSystemFiles)
        return m_colSystemFiles;
    throw RuntimeError(kErrInvalidArgument);
}

void clsKitwright::AddFile(FileCollection v_eCollection, const std::string& v_sFileName)
{
    KeyedList& list = Collection(v_eCollection);
    if (v_eCollection == fcSystemFiles && !IsSystemFilePathOk(v_sFileName))
        return;
    list.Add(v_sFileName, Upper(GetFileName(v_sFileName)));  // a duplicate name is skipped silently
}

void clsKitwright::ProgramFile(const std::string& v_sString)
{
    if (!v_sString.empty())
        AddFile(fcProgramFiles, v_sString);
}

void clsKitwright::DeleteFileFrom(FileCollection v_eCollection, const std::string& v_sFile)
{
    KeyedList& list = Collection(v_eCollection);
    const std::string key = platform::SortKey(v_sFile);
    for (int i = 1; i <= list.Count(); ++i) {
        if (platform::SortKey(GetFileName(list.Item(i))) == key) {
            list.Remove(i);
            return;
        }
    }
}

void clsKitwright::DeleteFilesFrom(FileCollection v_eCollection, const std::vector<std::string>& v_colFiles)
{
    KeyedList& list = Collection(v_eCollection);
    if (v_colFiles.empty())
        return;
    // The entries of each name in list order: a name takes the first of them not taken yet,
    // which is the first match left in the list when the names are removed one by one.
    struct Matches {
        std::vector<std::size_t> positions;
        std::size_t taken = 0;
    };
    std::unordered_map<std::string, Matches> byName;
    const std::vector<KeyedList::Entry>& entries = list.Entries();
    for (std::size_t i = 0; i < entries.size(); ++i)
        byName[platform::SortKey(GetFileName(entries[i].value))].positions.push_back(i);
    std::vector<bool> removed(entries.size(), false);
    for (const std::string& name : v_colFiles) {
        auto it = byName.find(platform::SortKey(name));
        if (it != byName.end() && it->second.taken < it->second.positions.size())
            removed[it->second.positions[it->second.taken++]] = true;
    }
    list.Remove(removed);
}

void clsKitwright::ClearProgramFiles()
{
    m_colProgramFiles = KeyedList();
    m_sProgramFolder.clear();
}

void clsKitwright::ClearSystemFiles() { m_colSystemFiles = KeyedList(); }

int clsKitwright::ProgramFileCount() const { return m_colProgramFiles.Count(); }
int clsKitwright::SystemFileCount() const { return m_colSystemFiles.Count(); }
std::string clsKitwright::ProgramFileAll(int v_iIndex) const { return m_colProgramFiles.Item(v_iIndex); }
std::string clsKitwright::ProgramFileName(int v_iIndex) const { return GetFileName(m_colProgramFiles.Item(v_iIndex)); }
std::string clsKitwright::ProgramFilePath(int v_iIndex) const { return GetFilePath(m_colProgramFiles.Item(v_iIndex)); }
std::string clsKitwright::SystemFileName(int v_iIndex) const { return GetFileName(m_colSystemFiles.Item(v_iIndex)); }

KeyedList clsKitwright::DoSortCollection(const KeyedList& r_colStrings, CompareMethod v_CompareMethod) const
{
    if (v_CompareMethod != vbBinaryCompare && v_CompareMethod != vbTextCompare)
        throw RuntimeError(kErrInvalidArgument);
    // Every entry joins under the key of its file name; a second entry of one name would
    // fail to join and is left out. A stable sort then puts each entry behind the entries
    // that compare equal to it, as inserting each behind its equals in turn would.
    struct Item {
        const std::string* value;
        std::string key;
        std::string order;  // the text method's sort key
    };
    std::vector<Item> items;
    items.reserve(static_cast<std::size_t>(r_colStrings.Count()));
    std::unordered_set<std::string> joined;
    for (const KeyedList::Entry& e : r_colStrings.Entries()) {
        std::string key = Upper(GetFileName(e.value));
        if (!joined.insert(platform::UpperCase(key)).second)
            continue;
        items.push_back(
            {&e.value, std::move(key), v_CompareMethod == vbTextCompare ? platform::SortKey(e.value) : std::string()});
    }
    if (v_CompareMethod == vbTextCompare)
        std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.order < b.order; });
    else
        std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return *a.value < *b.value; });
    KeyedList result;
    for (const Item& item : items)
        result.Add(*item.value, item.key);
    return result;
}

std::string clsKitwright::ProgramFolder() const { return m_sProgramFolder; }
void clsKitwright::ProgramFolder(const std::string& r_sProgramFolder)
{
    if (!r_sProgramFolder.empty())
        m_sProgramFolder = AddBackslash(r_sProgramFolder) + "*.*";
}

kw::CopyOption clsKitwright::CopyOption() const { return m_eCopyOption; }
void clsKitwright::CopyOption(kw::CopyOption v_eCopyOption) { m_eCopyOption = v_eCopyOption; }

Destination clsKitwright::ProgramFilesDest() const { return m_eProgramFilesDest; }
void clsKitwright::ProgramFilesDest(Destination v_eProgramFilesDest) { m_eProgramFilesDest = v_eProgramFilesDest; }

Destination clsKitwright::SystemFilesDest() const { return m_eSystemFilesDest; }
void clsKitwright::SystemFilesDest(Destination v_eSystemFilesDest) { m_eSystemFilesDest = v_eSystemFilesDest; }

std::string clsKitwright::GetSpecialFolder(int folderId) const
{
    std::string path;
    if (!platform::SpecialFolderPath(m_hParentWnd, folderId, path))
        return {};
    std::string trimmed = StripNull(path);
    trimmed.erase(0, trimmed.find_first_not_of(' '));
    trimmed.erase(trimmed.find_last_not_of(' ') + 1);
    return AddBackslash(trimmed);
}

std::string clsKitwright::SystemFilesFolder() const { return GetSpecialFolder(m_eSystemFilesDest); }

bool clsKitwright::IsSystemFilePathOk(const std::string& v_sPath) const
{
    const std::string found = Upper(AddBackslash(GetFilePath(v_sPath)));
    const std::string required = Upper(GetSpecialFolder(m_eSystemFilesDest));
    // An unresolved folder refuses every file, the empty path included.
    if (!required.empty() && found == required)
        return true;
    ShowWarning(0, "The file location must match the selected destination");
    return false;
}

void clsKitwright::LoadProgramFilesDestinationsTo(StringList& r_ctrl) const
{
    r_ctrl.Clear();
    r_ctrl.AddItem("Programs\\");
    r_ctrl.AddItem("System32");
    r_ctrl.ListIndex(0);
}

void clsKitwright::LoadSystemFilesDestinationsTo(StringList& r_ctrl) const
{
    r_ctrl.Clear();
    r_ctrl.AddItem("i386");
    r_ctrl.AddItem("System32");
    r_ctrl.ListIndex(1);
}

std::string clsKitwright::GetDestinationData(FileCollection v_eFileType, DestinationFormat v_eReturnType) const
{
    if (v_eFileType == fcProgramFiles)
        return FormatDestination(m_eProgramFilesDest, v_eReturnType);
    if (v_eFileType == fcSystemFiles)
        return FormatDestination(m_eSystemFilesDest, v_eReturnType);
    throw RuntimeError(kErrInvalidArgument);
}

std::string clsKitwright::FormatDestination(Destination destination, DestinationFormat format) const
{
    switch (destination) {
    case dstPrograms:
        switch (format) {
        case dfInfCode: return "a";
        case dfEnvironmentPath: return "%SystemDrive%\\Programs\\" + m_sPluginName + "\\";
        case dfZelMenuPath: return "@GetProgramDrive()\\Programs\\" + m_sPluginName + "\\";
        }
        break;
    case dstWindows:
        switch (format) {
        case dfInfCode: return "1";
        case dfEnvironmentPath: return "%SystemRoot%\\";
        case dfZelMenuPath: break;
        }
        break;
    case dstSystem32:
        switch (format) {
        case dfInfCode: return "2";
        case dfEnvironmentPath: return "%SystemRoot%\\System32\\";
        case dfZelMenuPath: return "@GetWinDir()\\System32\\";
        }
        break;
    }
    throw RuntimeError(kErrInvalidArgument);
}

// ---- Executables --------------------------------------------------------------------------

const ExecutableSlot& clsKitwright::Slot(int index, long error) const
{
    if (index < 0 || index >= static_cast<int>(m_aExecutables.size()))
        throw RuntimeError(error);
    return m_aExecutables[static_cast<std::size_t>(index)];
}

ExecutableSlot& clsKitwright::Slot(int index, long error)
{
    return const_cast<ExecutableSlot&>(std::as_const(*this).Slot(index, error));
}

int clsKitwright::MaxExecutables() const { return static_cast<int>(m_aExecutables.size()) - 1; }
void clsKitwright::MaxExecutables(int v_iMaxExecutables)
{
    if (v_iMaxExecutables < 0 || v_iMaxExecutables > kMaxSlotIndex)
        throw RuntimeError(kErrInvalidArgument);
    m_aExecutables.assign(static_cast<std::size_t>(v_iMaxExecutables) + 1, ExecutableSlot{});
}

int clsKitwright::CurrentExecutable() const { return m_iCurrExecutable; }
void clsKitwright::CurrentExecutable(int v_iCurrExecutable)
{
    if (v_iCurrExecutable < 0 || v_iCurrExecutable > MaxExecutables())
        throw RuntimeError(kErrInvalidArgument);
    m_iCurrExecutable = v_iCurrExecutable;
}

std::string clsKitwright::Executable(int v_iIndex) const { return Slot(v_iIndex, kErrInvalidArgument).Path; }
void clsKitwright::Executable(int v_iIndex, const std::string& r_sFile)
{
    ExecutableSlot& slot = Slot(v_iIndex, kErrInvalidArgument);
    for (const ExecutableSlot& other : m_aExecutables) {
        // Two executables of one file name would share one copy in files\ and every
        // shortcut would start the same program.
        const bool sameName = &other != &slot && !other.Path.empty() && !r_sFile.empty() &&
                              platform::CompareText(GetFileName(other.Path), GetFileName(r_sFile)) == 0;
        if (other.Path == r_sFile || sameName) {
            ShowWarning(0, "A file with the same name has already been selected");
            return;
        }
    }
    slot.Path = r_sFile;
}

std::string clsKitwright::ExecutableName(int v_iIndex) const { return GetFileName(Slot(v_iIndex, kErrSubscript).Path); }
std::string clsKitwright::ExecutablePath(int v_iIndex) const { return GetFilePath(Slot(v_iIndex, kErrSubscript).Path); }

std::string clsKitwright::ShortcutName(int v_iIndex) const { return Slot(v_iIndex, kErrInvalidArgument).ShortcutName; }
void clsKitwright::ShortcutName(int v_iIndex, const std::string& v_sShortcutName)
{
    Slot(v_iIndex, kErrInvalidArgument).ShortcutName = v_sShortcutName;
}

CheckValue clsKitwright::IncRamdisk(int v_iIndex) const { return Slot(v_iIndex, kErrInvalidArgument).IncRamdisk; }
void clsKitwright::IncRamdisk(int v_iIndex, CheckValue v_eIncRamdisk)
{
    Slot(v_iIndex, kErrInvalidArgument).IncRamdisk = v_eIncRamdisk;
}

CheckValue clsKitwright::IncAutorun(int v_iIndex) const { return Slot(v_iIndex, kErrSubscript).IncAutorun; }
void clsKitwright::IncAutorun(int v_iIndex, CheckValue v_eIncAutorun)
{
    Slot(v_iIndex, kErrSubscript).IncAutorun = v_eIncAutorun;
}

CheckValue clsKitwright::IncJuxDesktop(int v_iIndex) const { return Slot(v_iIndex, kErrSubscript).IncJuxDesktop; }
void clsKitwright::IncJuxDesktop(int v_iIndex, CheckValue v_eIncJuxDesktop)
{
    Slot(v_iIndex, kErrSubscript).IncJuxDesktop = v_eIncJuxDesktop;
}

CheckValue clsKitwright::IncJuxQlaunch(int v_iIndex) const { return Slot(v_iIndex, kErrSubscript).IncJuxQlaunch; }
void clsKitwright::IncJuxQlaunch(int v_iIndex, CheckValue v_eIncJuxQlaunch)
{
    Slot(v_iIndex, kErrSubscript).IncJuxQlaunch = v_eIncJuxQlaunch;
}

std::string clsKitwright::MenuGroup() const { return m_sMenuGroup; }
void clsKitwright::MenuGroup(const std::string& v_sMenuGroup) { m_sMenuGroup = v_sMenuGroup; }

bool clsKitwright::IncSubGroup() const { return m_bIncSubGroup; }
void clsKitwright::IncSubGroup(bool v_bIncSubGroup) { m_bIncSubGroup = v_bIncSubGroup; }

void clsKitwright::ClearCurrentExecutable() { Slot(m_iCurrExecutable, kErrSubscript) = ExecutableSlot{}; }

void clsKitwright::ClearExecutables() { m_aExecutables.assign(m_aExecutables.size(), ExecutableSlot{}); }

bool clsKitwright::IsExecutables() const
{
    return std::any_of(m_aExecutables.begin(), m_aExecutables.end(),
                       [](const ExecutableSlot& s) { return !s.Path.empty(); });
}

bool clsKitwright::IsRamdisk(int v_iIndex) const
{
    const ExecutableSlot& slot = Slot(v_iIndex, kErrSubscript);
    return m_eProgramFilesDest == dstPrograms && slot.IncRamdisk != 0;
}

bool clsKitwright::NeedsRamdisk() const
{
    return m_eProgramFilesDest == dstPrograms && std::any_of(m_aExecutables.begin(), m_aExecutables.end(),
                                                             [](const ExecutableSlot& s) { return s.IncRamdisk != 0; });
}

bool clsKitwright::NeedsAutorun() const
{
    return std::any_of(m_aExecutables.begin(), m_aExecutables.end(),
                       [](const ExecutableSlot& s) { return s.IncAutorun != 0; });
}

// ---- Plugin creation ----------------------------------------------------------------------

bool clsKitwright::IsValidFileName(const std::string& name)
{
    if (name.empty() || name.back() == '.' || name.back() == ' ')
        return false;
    std::size_t units = 0;  // UTF-16 units, as the file system counts them
    for (unsigned char c : name) {
        if (c < 0x20 || std::string_view("\\/:*?\"<>|").find(char(c)) != std::string_view::npos)
            return false;
        if ((c & 0xC0) != 0x80)
            units += c >= 0xF0 ? 2 : 1;
    }
    if (units > 255)
        return false;
    std::string base = name.substr(0, name.find('.'));
    base.erase(base.find_last_not_of(' ') + 1);
    std::transform(base.begin(), base.end(), base.begin(),
                   [](unsigned char c) { return char(c >= 'a' && c <= 'z' ? c - 32 : c); });
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL")
        return false;
    if (base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) && base[3] >= '1' && base[3] <= '9')
        return false;
    return true;
}

bool clsKitwright::FitsAnsi(const std::string& text) { return platform::FromAnsi(platform::ToAnsi(text)) == text; }

// The plugin name, and the shortcut name of every script the writers will make: each file
// name valid, and no two scripts of one kind under one name.
std::vector<std::string> clsKitwright::InvalidNames() const
{
    NameList bad;
    if (!IsValidFileName(m_sPluginName))
        bad.Add(m_sPluginName);
    std::set<std::string> ramdisk, autorun;
    for (int i = 0; i <= MaxExecutables(); ++i) {
        const ExecutableSlot& slot = m_aExecutables[static_cast<std::size_t>(i)];
        if (slot.Path.empty())
            continue;
        const std::string folded = Upper(slot.ShortcutName);
        // An empty name would make "ramdisk_.cmd", a script nobody can tell apart.
        if (IsRamdisk(i) && (slot.ShortcutName.empty() || !IsValidFileName("ramdisk_" + slot.ShortcutName + ".cmd") ||
                             !ramdisk.insert(folded).second))
            bad.Add(slot.ShortcutName);
        if (slot.IncAutorun != 0 &&
            (slot.ShortcutName.empty() || !IsValidFileName("autorun_" + slot.ShortcutName + ".cmd") ||
             !autorun.insert(folded).second))
            bad.Add(slot.ShortcutName);
    }
    return bad.Take();
}

// The names the INF, menu and scripts list, which the ANSI files must hold as they are on disk.
std::vector<std::string> clsKitwright::NonAnsiNames() const
{
    NameList bad;
    auto check = [&](const std::string& name) {
        if (!FitsAnsi(name))
            bad.Add(name);
    };
    check(m_sPluginName);
    for (const KeyedList::Entry& e : m_colProgramFiles.Entries())
        check(GetFileName(e.value));
    for (const KeyedList::Entry& e : m_colSystemFiles.Entries())
        check(GetFileName(e.value));
    for (int i = 0; i <= MaxExecutables(); ++i) {
        const ExecutableSlot& slot = m_aExecutables[static_cast<std::size_t>(i)];
        if (slot.Path.empty())
            continue;
        check(GetFileName(slot.Path));
        if (IsRamdisk(i) || slot.IncAutorun != 0)
            check(slot.ShortcutName);
    }
    return bad.Take();
}

// The files (or the folder) of the plugin that would not fit their path limit.
std::vector<std::string> clsKitwright::TooLongPaths() const
{
    const std::string plugin = PluginLocation() + m_sPluginName + "\\";
    const std::string files = plugin + "files\\";
    if (Utf16Length(files) - 1 > kMaxFolderPath)
        return {files.substr(0, files.size() - 1)};
    NameList tooLong;
    // A writer's file also needs room for the temporary file it makes beside it.
    auto check = [&](const std::string& folder, const std::string& name, bool written) {
        std::size_t length = Utf16Length(folder) + Utf16Length(name);
        if (written)
            length = std::max(length, Utf16Length(folder) + kWriterTempName);
        if (length > kMaxFilePath)
            tooLong.Add(folder + name);
    };
    check(plugin, m_sPluginName + ".inf", true);
    check(plugin, m_sPluginName + ".htm", true);
    if (m_eIncZelMenu != 0 && IsExecutables())
        check(plugin, m_sPluginName + (m_eZelFileName != 0 ? "_zelmenu.xml" : ".xml"), true);
    // Executables are copied in the individual mode, and in the folder mode without a folder.
    const bool copiesExecutables = m_eCopyOption == coIndividualFiles || m_sProgramFolder.empty();
    for (int i = 0; i <= MaxExecutables(); ++i) {
        const ExecutableSlot& slot = m_aExecutables[static_cast<std::size_t>(i)];
        if (slot.Path.empty())
            continue;
        if (IsRamdisk(i))
            check(files, "ramdisk_" + slot.ShortcutName + ".cmd", true);
        if (slot.IncAutorun != 0)
            check(files, "autorun_" + slot.ShortcutName + ".cmd", true);
        if (copiesExecutables)
            check(files, GetFileName(slot.Path), false);
    }
    if (m_eCopyOption == coIndividualFiles)
        for (const KeyedList::Entry& e : m_colProgramFiles.Entries())
            check(files, GetFileName(e.value), false);
    return tooLong.Take();
}

std::vector<std::string> clsKitwright::LastCreateProblems() const { return m_aCreateProblems; }
int clsKitwright::LastCopyError() const { return m_iLastCopyError; }
bool clsKitwright::CopyThroughShell() const { return m_bCopyThroughShell; }
void clsKitwright::CopyThroughShell(bool v_bThroughShell) { m_bCopyThroughShell = v_bThroughShell; }

std::vector<CreateProblem> clsKitwright::CheckCreate() const
{
    std::vector<CreateProblem> problems;
    for (std::string& name : InvalidNames())
        problems.push_back({kErrorInvalidName, std::move(name)});
    for (std::string& name : NonAnsiNames())
        problems.push_back({kErrorNoUnicodeTranslation, std::move(name)});
    for (std::string& path : TooLongPaths())
        problems.push_back({kErrorFilenameTooLong, std::move(path)});
    return problems;
}

std::vector<std::string> clsKitwright::MissingCopySources() const
{
    NameList missing;
    auto check = [&](const std::string& path) {
        if (!path.empty() && !platform::PathExists(path))
            missing.Add(path);
    };
    if (m_eCopyOption == coIndividualFiles) {
        for (const KeyedList::Entry& e : m_colProgramFiles.Entries())
            check(e.value);
    } else if (m_eCopyOption == coFolderTree && !m_sProgramFolder.empty()) {
        check(GetFilePath(m_sProgramFolder));
        return missing.Take();  // the executables are not copied beside the tree
    }
    for (const ExecutableSlot& slot : m_aExecutables)
        check(slot.Path);
    return missing.Take();
}

int clsKitwright::CreatePlugin()
{
    m_aCreateProblems.clear();
    const std::vector<CreateProblem> problems = CheckCreate();
    if (!problems.empty()) {
        // The first kind of problem is the answer; of too-long paths the first is enough.
        const int code = problems.front().code;
        for (const CreateProblem& p : problems)
            if (p.code == code && (code != kErrorFilenameTooLong || m_aCreateProblems.empty()))
                m_aCreateProblems.push_back(p.name);
        return code;
    }
    return static_cast<int>(platform::CreateFolderTree(m_hParentWnd, PluginLocation() + m_sPluginName + "\\files"));
}

// Worked out anew on each call: an executable added to the program files for good would
// stay in every later plugin, after its slot was changed or cleared.
std::vector<clsKitwright::ListedFile> clsKitwright::ListedFiles() const
{
    KeyedList files = m_colProgramFiles;
    for (const ExecutableSlot& slot : m_aExecutables)
        if (!slot.Path.empty())
            files.Add(slot.Path, Upper(GetFileName(slot.Path)));  // a listed name keeps its file
    const KeyedList sorted = DoSortCollection(files, vbTextCompare);
    std::vector<ListedFile> listed;
    for (const KeyedList::Entry& e : sorted.Entries())
        listed.push_back({e.value, GetFileName(e.value)});
    return listed;
}

bool clsKitwright::CopyFiles()
{
    constexpr int kPathNotFound = 3, kCancelled = 1223;
    m_iLastCopyError = 0;
    std::string sources;
    if (m_eCopyOption == coIndividualFiles) {
        for (const ListedFile& file : ListedFiles()) {
            sources += file.path;
            sources += '\0';
        }
    } else if (m_eCopyOption == coFolderTree && !m_sProgramFolder.empty()) {
        // The shell reports a pattern in a missing folder as copied; nothing would be.
        if (!platform::PathExists(GetFilePath(m_sProgramFolder))) {
            m_iLastCopyError = kPathNotFound;
            return false;
        }
        sources = m_sProgramFolder;
        sources += std::string(2, '\0');
    }
    // In the folder-tree mode these land behind the list's end and the shell never sees them.
    for (const ExecutableSlot& slot : m_aExecutables) {
        if (!slot.Path.empty()) {
            sources += slot.Path;
            sources += '\0';
        }
    }
    if (sources.empty())
        return false;
    sources += '\0';
    std::string target = PluginLocation() + m_sPluginName + "\\files";
    target += std::string(3, '\0');
    const platform::CopyResult result = m_bCopyThroughShell ? platform::ShellCopy(m_hParentWnd, sources, target)
                                                            : platform::DirectCopy(sources, target);
    m_iLastCopyError = result.code != 0 ? result.code : result.aborted ? kCancelled : 0;
    return m_iLastCopyError == 0;
}

void clsKitwright::OpenPlugin(NativeHandle r_hWnd) const
{
    platform::ShellOpen(r_hWnd, "explore", PluginLocation() + m_sPluginName, "");
}

void clsKitwright::ShowHelp(NativeHandle r_hWnd) const
{
    platform::ShellOpen(r_hWnd, "", "Kitwright.txt", platform::ProgramFolder());
}

}  // namespace kw
