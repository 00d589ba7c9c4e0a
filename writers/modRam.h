#pragma once

namespace kw {
class clsKitwright;
}

namespace kw::modRam {

// One files\ramdisk_{ShortcutName}.cmd per filled slot that runs from a ramdisk.
void WriteRamdiskScripts(const clsKitwright& kw);
// Writes slot i's ramdisk script; throws WriteError on failure.
void WriteRamdiskScript(const clsKitwright& kw, int i);

}  // namespace kw::modRam
