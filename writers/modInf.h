#pragma once

namespace kw {
class clsKitwright;
}

namespace kw::modInf {

// Writes {PluginLocation}{PluginName}\{PluginName}.inf; throws WriteError on failure.
void WriteInfFile(const clsKitwright& kw);

}  // namespace kw::modInf
