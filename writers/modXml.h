#pragma once

namespace kw {
class clsKitwright;
}

namespace kw::modXml {

// Writes the Zel start-menu file {PluginName}.xml or {PluginName}_zelmenu.xml when the
// menu is wanted and there is an executable; throws WriteError on failure.
void WriteMenuXmlFile(const clsKitwright& kw);

}  // namespace kw::modXml
