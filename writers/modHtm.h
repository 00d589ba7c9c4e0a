#pragma once

namespace kw {
class clsKitwright;
}

namespace kw::modHtm {

// Writes the help page {PluginLocation}{PluginName}\{PluginName}.htm; throws WriteError
// on failure.
void WriteHelpFile(const clsKitwright& kw);

}  // namespace kw::modHtm
