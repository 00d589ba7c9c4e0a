#pragma once

namespace kw {
class clsKitwright;
}

namespace kw::modRun {

// One files\autorun_{ShortcutName}.cmd per filled slot that starts at boot.
void WriteAutorunScripts(const clsKitwright& kw);
// Writes slot i's autorun script; throws WriteError on failure.
void WriteAutorunScript(const clsKitwright& kw, int i);

}  // namespace kw::modRun
