#include "PluginBuilder.h"

#include <algorithm>

#include "PluginReader.h"
#include "platform/Platform.h"
#include "writers/WriteError.h"
#include "writers/WritePlugin.h"

namespace kw {

namespace {

constexpr int kErrorCancelled = 1223;

std::string WithBackslash(std::string folder)
{
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    return folder;
}

std::string WithoutBackslash(std::string folder)
{
    while (folder.size() > 1 && folder.back() == '\\')
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
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string JoinLines(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += "\r\n" + name;
    return text;
}

// The model as it is, making its plugin in another folder and storing no preference.
clsKitwright Detached(const clsKitwright& kw, const std::string& pluginsFolder)
{
    clsKitwright copy = kw;
    copy.DetachPreferences();
    copy.PluginLocation(pluginsFolder);
    return copy;
}

BuildResult Failed(unsigned long code, std::string message)
{
    BuildResult r;
    r.status = BuildResult::Status::Failed;
    r.code = code;
    r.message = std::move(message);
    return r;
}

std::string CopyFailure(const clsKitwright& m, int code)
{
    return "The program files could not be copied to " + m.PluginLocation() + m.PluginName() + "\\files\\:\r\n" +
           platform::CopyErrorText(code);
}

// The program's files into the new plugin. A folder tree that is another plugin's files
// folder comes without that plugin's scripts: the new plugin's are its writers' own.
BuildResult CopyProgramFiles(clsKitwright& m)
{
    if (m.CopyOption() == coFolderTree && m.ProgramFolder().ends_with("*.*")) {
        const std::string folder = WithoutBackslash(m.ProgramFolder().substr(0, m.ProgramFolder().size() - 3));
        const std::string plugin = ParentOf(folder);
        if (platform::CompareText(NameOf(folder), "files") == 0 && !plugin.empty() && HoldsPlugin(plugin)) {
            const std::vector<std::string> created = CreatedScripts(plugin);
            std::vector<platform::FolderEntry> entries;
            if (unsigned long code = platform::ListFolder(folder, entries))
                return Failed(code, CopyFailure(m, static_cast<int>(code)));
            std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
            std::string sources;
            for (const platform::FolderEntry& e : entries) {
                const bool script = !e.folder && std::any_of(created.begin(), created.end(), [&](const std::string& c) {
                    return platform::CompareText(c, e.name) == 0;
                });
                if (!script)
                    sources += folder + "\\" + e.name + '\0';
            }
            if (sources.empty())
                return {};
            sources += '\0';
            const std::string target = m.PluginLocation() + m.PluginName() + "\\files" + std::string(3, '\0');
            const platform::CopyResult copied = m.CopyThroughShell()
                                                    ? platform::ShellCopy(m.ParentWnd(), sources, target)
                                                    : platform::DirectCopy(sources, target);
            const int code = copied.code != 0 ? copied.code : copied.aborted ? kErrorCancelled : 0;
            if (code != 0)
                return Failed(static_cast<unsigned long>(code), CopyFailure(m, code));
            return {};
        }
    }
    const bool anythingToCopy = m.ProgramFileCount() != 0 || m.IsExecutables() ||
                                (m.CopyOption() == coFolderTree && !m.ProgramFolder().empty());
    if (!m.CopyFiles() && anythingToCopy)
        return Failed(static_cast<unsigned long>(m.LastCopyError()), CopyFailure(m, m.LastCopyError()));
    return {};
}

BuildResult Refusal(const clsKitwright& m, int code)
{
    BuildResult r;
    r.code = static_cast<unsigned long>(code);
    r.problems = m.LastCreateProblems();
    if (code == kErrorAlreadyExists) {
        r.status = BuildResult::Status::Exists;
        r.message = "The chosen plugin folder already exists";
        return r;
    }
    const bool refused =
        code == kErrorInvalidName || code == kErrorFilenameTooLong || code == kErrorNoUnicodeTranslation;
    r.status = refused ? BuildResult::Status::Refused : BuildResult::Status::Failed;
    r.message = "The plugin folder could not be created.\r\n" + CreateRefusalText(code, r.problems);
    return r;
}

}  // namespace

std::string CreateRefusalText(int code, const std::vector<std::string>& problems)
{
    switch (code) {
    case kErrorInvalidName: {
        std::string why =
            "The plugin name and the shortcut names of executables with ramdisk or autorun scripts must "
            "be valid, distinct file names.";
        if (!problems.empty())
            why += "\r\nNot usable:" + JoinLines(problems);
        return why;
    }
    case kErrorNoUnicodeTranslation:
        return "These names cannot be written in the system's code page:" + JoinLines(problems);
    case kErrorFilenameTooLong: return "This path is too long:" + JoinLines(problems);
    default: return platform::ErrorText(static_cast<unsigned long>(code));
    }
}

BuildResult CreatePluginIn(const clsKitwright& kw, const std::string& pluginsFolder)
{
    clsKitwright m = Detached(kw, pluginsFolder);
    if (const int code = m.CreatePlugin(); code != 0)
        return Refusal(m, code);
    try {
        WritePluginFiles(m);
    } catch (const WriteError& e) {
        return Failed(e.Code(), "The file " + e.Path() + " could not be written:\r\n" + e.SystemText());
    }
    return CopyProgramFiles(m);
}

BuildResult ReplacePlugin(const clsKitwright& kw, const std::string& pluginsFolder)
{
    const std::string parent = WithoutBackslash(pluginsFolder);
    const std::string target = WithBackslash(parent) + kw.PluginName();
    if (!platform::PathExists(target))
        return CreatePluginIn(kw, pluginsFolder);
    if (!HoldsPlugin(target)) {
        BuildResult r;
        r.status = BuildResult::Status::NotPlugin;
        r.message = "The folder " + target + " holds no plugin INF file, so it is not replaced.";
        return r;
    }
    const std::string unchanged = "\r\nThe plugin that was there is unchanged.";
    const std::string cannot = "The plugin " + target + " could not be replaced.\r\n";
    {
        // What Create refuses is refused before anything is made, as at the plugin's own place.
        clsKitwright m = Detached(kw, pluginsFolder);
        platform::FileCapture dryRun;
        if (const int code = m.CreatePlugin(); code != 0)
            return Refusal(m, code);
    }

    std::string temp;
    if (unsigned long code = platform::MakeTempFolder(parent, "~kw", temp))
        return Failed(code, cannot + "No temporary folder could be made in " + parent + ":\r\n" +
                                platform::ErrorText(code) + unchanged);
    BuildResult built = CreatePluginIn(kw, temp);
    if (built.status != BuildResult::Status::Made) {
        platform::RemoveTree(temp);
        built.message = cannot + built.message + unchanged;
        return built;
    }
    const std::string made = temp + "\\" + kw.PluginName();
    const std::string aside = temp + "\\" + (kw.PluginName() == "~old" ? "~old2" : "~old");
    if (unsigned long code = platform::MoveFolder(target, aside)) {
        platform::RemoveTree(temp);
        return Failed(code, cannot + "The folder " + target + " could not be moved aside:\r\n" +
                                platform::ErrorText(code) + unchanged);
    }
    if (unsigned long code = platform::MoveFolder(made, target)) {
        if (unsigned long back = platform::MoveFolder(aside, target))
            return Failed(code, cannot + "The new plugin could not take the folder's name:\r\n" +
                                    platform::ErrorText(code) + "\r\nThe old plugin could not be moved back either (" +
                                    platform::ErrorText(back) + "); it is whole in " + aside + ".");
        platform::RemoveTree(temp);
        return Failed(code, cannot + "The new plugin could not take the folder's name:\r\n" +
                                platform::ErrorText(code) + unchanged);
    }
    BuildResult r;
    if (unsigned long code = platform::RemoveTree(temp)) {
        r.code = code;
        r.leftover = temp;
        r.message = "The plugin " + target + " was replaced, but the folder " + temp +
                    ", which holds the old one, could not be removed:\r\n" + platform::ErrorText(code);
    }
    return r;
}

}  // namespace kw
