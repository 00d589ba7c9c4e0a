#pragma once
// Reading a plugin back: from a plugin folder as this program writes it ({Name}.inf with its
// [Velmont] section, the help page, the menu file and the scripts), the document that made
// it. The program files become the copies in the plugin's files\ folder.
#include <map>
#include <string>
#include <vector>

#include "PluginDocument.h"
#include "platform/Platform.h"

namespace kw {

// What reading a plugin back looks at, as found on disk (or made in memory).
struct PluginContent {
    std::string folder;   // the plugin folder, ending in "\"
    std::string infName;  // its INF, e.g. "Tool.inf"
    // The files read, by their name below the folder ("Tool.htm", "files\autorun_A.cmd"),
    // with their bytes as they are on disk.
    std::map<std::string, std::string> files;
    bool hasFilesFolder = false;
    std::vector<platform::FolderEntry> filesFolder;  // what lies directly in the files folder
    std::vector<std::string> unread;                 // files that could not be read, and why
};

struct PluginReading {
    bool found = false;  // the folder holds a plugin INF
    PluginDocument document;
    std::string pluginFolder;   // ending in "\"
    std::string pluginsFolder;  // its parent, where re-creating puts the plugin; ending in "\"
    // What could not be read, one sentence each, naming the file.
    std::vector<std::string> unread;
    // Names below the plugin folder of the files that re-creating the plugin under the given
    // preferences would write otherwise, leave out or add. Empty when it would write them all
    // as they are.
    std::vector<std::string> changed;
    // The scripts in files\ that the plugin's writers made (never program files, never copied
    // into another plugin), by their names in files\.
    std::vector<std::string> created;
};

// Reads a plugin folder, or the folder of the INF given. Nothing on disk changes. The
// preferences are those the plugin would be re-created under: they decide what counts as
// changed, and where the files alone cannot tell two documents apart, the one that gives
// the same files is taken.
PluginReading ReadPlugin(const std::string& folderOrInf, const clsKitwright& preferences);

// The same from content already in memory.
PluginReading ReadPluginContent(const PluginContent& content, const clsKitwright& preferences);

// What ReadPlugin looks at; false (with the reason) when the path is no readable folder.
bool LoadPluginContent(const std::string& folderOrInf, PluginContent& content, std::string& reason);

// Create and the writers run for the document under the preferences, in memory: what they
// would write, by name below the plugin folder ("Tool.inf", "files\autorun_A.cmd"). code is
// what Create answers (0, or 123, 206, 1113 when it refuses the document: then no files).
struct GeneratedPlugin {
    int code = 0;
    std::map<std::string, std::string> files;
};
GeneratedPlugin WriteInMemory(const PluginDocument& doc, const clsKitwright& preferences,
                              const std::string& pluginsFolder);

// The scripts in the plugin's files\ folder that its writers made, by name.
std::vector<std::string> CreatedScripts(const std::string& pluginFolder);

// True when the folder holds a plugin INF: a *.inf file with a [Velmont] section. Only such
// a folder is ever replaced.
bool HoldsPlugin(const std::string& folder);

}  // namespace kw
