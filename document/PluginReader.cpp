#include "PluginReader.h"

#include "PluginParse.h"
#include "platform/Platform.h"
#include "writers/WriteError.h"
#include "writers/WritePlugin.h"

namespace kw {

namespace {

using namespace pluginparse;

// No file this program writes comes near this; a bigger one is not read at all.
constexpr std::uint64_t kMaxGeneratedFile = 16u << 20;

std::string WithBackslash(std::string folder)
{
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    return folder;
}

std::string WithoutBackslash(std::string folder)
{
    while (folder.size() > 1 && (folder.back() == '\\' || folder.back() == '/'))
        folder.pop_back();
    return folder;
}

std::string NameOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ParentOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool EndsWithNoCase(const std::string& text, std::string_view ending)
{
    return text.size() >= ending.size() && platform::CompareText(text.substr(text.size() - ending.size()), ending) == 0;
}

const platform::FolderEntry* FindEntry(const std::vector<platform::FolderEntry>& entries, const std::string& name)
{
    for (const platform::FolderEntry& e : entries)
        if (!e.folder && e.name == name)
            return &e;
    for (const platform::FolderEntry& e : entries)
        if (!e.folder && platform::CompareText(e.name, name) == 0)
            return &e;
    return nullptr;
}

// Reads one file into the content under its name below the plugin folder.
bool ReadInto(PluginContent& content, const std::string& relative, const platform::FolderEntry& entry)
{
    if (entry.size > kMaxGeneratedFile) {
        content.unread.push_back(relative + " is too large (" + std::to_string(entry.size) +
                                 " bytes) to be a file Kitwright writes; it was not read.");
        return false;
    }
    std::string bytes;
    if (!platform::ReadFileBytes(content.folder + relative, bytes)) {
        content.unread.push_back(relative + " could not be read.");
        return false;
    }
    content.files[relative] = std::move(bytes);
    return true;
}

bool IsPluginInf(const std::string& folder, const platform::FolderEntry& entry)
{
    std::string bytes;
    return entry.size <= kMaxGeneratedFile && platform::ReadFileBytes(WithBackslash(folder) + entry.name, bytes) &&
           HasVelmontSection(bytes);
}

// The plugin INF of a folder: {FolderName}.inf first, else the first other *.inf (by name)
// that has a [Velmont] section.
const platform::FolderEntry* PluginInf(const std::string& folder, const std::vector<platform::FolderEntry>& entries)
{
    std::vector<const platform::FolderEntry*> infs;
    for (const platform::FolderEntry& e : entries)
        if (!e.folder && EndsWithNoCase(e.name, ".inf"))
            infs.push_back(&e);
    const std::string own = NameOf(WithoutBackslash(folder)) + ".inf";
    std::stable_sort(infs.begin(), infs.end(), [&](const platform::FolderEntry* a, const platform::FolderEntry* b) {
        const bool ownA = platform::CompareText(a->name, own) == 0, ownB = platform::CompareText(b->name, own) == 0;
        return ownA != ownB ? ownA : a->name < b->name;
    });
    for (const platform::FolderEntry* e : infs)
        if (IsPluginInf(folder, *e))
            return e;
    return nullptr;
}

}  // namespace

bool LoadPluginContent(const std::string& folderOrInf, PluginContent& content, std::string& reason)
{
    content = PluginContent{};
    std::string folder = WithoutBackslash(folderOrInf);
    std::string infName;
    if (EndsWithNoCase(folder, ".inf")) {
        infName = NameOf(folder);
        folder = WithoutBackslash(ParentOf(folder));
    }
    std::vector<platform::FolderEntry> entries;
    if (unsigned long code = platform::ListFolder(folder, entries)) {
        reason = "\"" + folder + "\" could not be read: " + platform::ErrorText(code);
        return false;
    }
    content.folder = WithBackslash(folder);
    const platform::FolderEntry* inf = nullptr;
    if (!infName.empty()) {
        inf = FindEntry(entries, infName);
        if (inf && !IsPluginInf(folder, *inf))
            inf = nullptr;
    } else {
        inf = PluginInf(folder, entries);
    }
    if (!inf)
        return true;  // not a plugin folder; nothing more to read
    content.infName = inf->name;
    ReadInto(content, inf->name, *inf);
    const std::string base = inf->name.substr(0, inf->name.size() - 4);
    for (const std::string& name : {base + ".htm", base + ".xml", base + "_zelmenu.xml"})
        if (const platform::FolderEntry* e = FindEntry(entries, name))
            ReadInto(content, name, *e);

    content.hasFilesFolder = platform::ListFolder(content.folder + "files", content.filesFolder) == 0;
    for (const platform::FolderEntry& e : content.filesFolder)
        if (!e.folder && IsScriptName(e.name))
            ReadInto(content, "files\\" + e.name, e);
    return true;
}

PluginReading ReadPlugin(const std::string& folderOrInf, const clsKitwright& preferences)
{
    PluginContent content;
    std::string reason;
    if (!LoadPluginContent(folderOrInf, content, reason)) {
        PluginReading reading;
        reading.pluginFolder = WithBackslash(WithoutBackslash(folderOrInf));
        reading.unread.push_back(reason);
        return reading;
    }
    return ReadPluginContent(content, preferences);
}

std::vector<std::string> CreatedScripts(const std::string& pluginFolder)
{
    PluginContent content;
    std::string reason;
    if (!LoadPluginContent(pluginFolder, content, reason) || content.infName.empty())
        return {};
    return pluginparse::CreatedScripts(content);
}

bool HoldsPlugin(const std::string& folder)
{
    std::vector<platform::FolderEntry> entries;
    return platform::ListFolder(WithoutBackslash(folder), entries) == 0 && PluginInf(folder, entries) != nullptr;
}

PluginReading ReadPluginContent(const PluginContent& content, const clsKitwright& preferences)
{
    PluginReading reading;
    reading.pluginFolder = content.folder;
    reading.pluginsFolder = ParentOf(WithoutBackslash(content.folder));
    reading.unread = content.unread;
    if (content.infName.empty()) {
        reading.unread.push_back("\"" + content.folder + "\" holds no plugin INF file (one with a [Velmont] section).");
        return reading;
    }
    reading.found = true;
    Reconstruction r = Reconstruct(content, preferences, reading.pluginsFolder);
    reading.document = std::move(r.document);
    reading.unread.insert(reading.unread.end(), r.unread.begin(), r.unread.end());
    reading.changed = std::move(r.changed);
    reading.created = std::move(r.created);
    return reading;
}

}  // namespace kw
