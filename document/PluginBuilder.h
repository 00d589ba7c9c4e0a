#pragma once
// Making a plugin from a model into a folder of the caller's choice, and replacing an
// existing plugin whole or not at all.
#include <string>
#include <vector>

#include "model/clsKitwright.h"

namespace kw {

struct BuildResult {
    enum class Status {
        Made,       // the plugin is there
        Exists,     // CreatePluginIn: the plugin folder exists already (nothing done)
        Refused,    // Create refuses the names or a path (nothing done): problems lists them
        NotPlugin,  // ReplacePlugin: the folder holds no plugin INF, so it is not replaced
        Failed,     // a write, copy or move failed: message says which and why
    };
    Status status = Status::Made;
    unsigned long code = 0;  // the system's error code (Win32 numbering), or Create's
    std::string message;     // for the user, naming the file or folder; empty when made cleanly
    std::vector<std::string> problems;
    // Made, but a temporary folder holding the old plugin could not be removed: its path.
    std::string leftover;
};

// Creates the model's plugin in pluginsFolder as "Create Plugin" does: the folders, the
// generated files, the copies. The plugins-folder preference is not used nor written, and the
// model is not changed. Program files in another plugin's files\ folder never bring that
// plugin's own scripts along.
BuildResult CreatePluginIn(const clsKitwright& kw, const std::string& pluginsFolder);

// Re-creates the plugin over the one in pluginsFolder\{PluginName}: the new one is made in a
// temporary folder beside it (copies included, taken from the old files\ where the program
// files lie there), the old folder is moved aside, the new one takes its name, and only then
// is the old one removed. On any failure the old plugin stays exactly as it was. A folder
// without a plugin INF is never replaced; where there is no folder, the plugin is created.
BuildResult ReplacePlugin(const clsKitwright& kw, const std::string& pluginsFolder);

// The text "Create Plugin" shows when Create refuses (123, 206, 1113, or another code).
std::string CreateRefusalText(int code, const std::vector<std::string>& problems);

}  // namespace kw
