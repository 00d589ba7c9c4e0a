#pragma once
// Inside the document library: the parsers behind reading a plugin back.
#include <string>
#include <string_view>
#include <vector>

#include "PluginReader.h"

namespace kw::pluginparse {

// The INF's bytes hold a [Velmont] section header.
bool HasVelmontSection(std::string_view bytes);
// "ramdisk_*.cmd" or "autorun_*.cmd": a name the script writers give.
bool IsScriptName(std::string_view name);

struct Reconstruction {
    PluginDocument document;
    std::vector<std::string> unread, changed, created;
};

// The scripts in files\ that the plugin's writers made (content.infName is set).
std::vector<std::string> CreatedScripts(const PluginContent& content);

// The document behind the plugin content (content.infName is set).
Reconstruction Reconstruct(const PluginContent& content, const clsKitwright& preferences,
                           const std::string& pluginsFolder);

}  // namespace kw::pluginparse
