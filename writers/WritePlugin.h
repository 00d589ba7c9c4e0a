#pragma once

namespace kw {

class clsKitwright;

// Writes the plugin's generated files in the fixed order: INF, help page, ramdisk
// scripts, autorun scripts, menu XML. Stops at the first WriteError, which it passes on;
// files written before it stay.
void WritePluginFiles(const clsKitwright& kw);

}  // namespace kw
