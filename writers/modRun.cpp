#include "modRun.h"

#include "TextFile.h"
#include "model/clsKitwright.h"

namespace kw::modRun {

void WriteAutorunScripts(const clsKitwright& kw)
{
    for (int i = 0; i <= kw.MaxExecutables(); ++i)
        if (!kw.Executable(i).empty() && kw.IncAutorun(i) != cvUnchecked)
            WriteAutorunScript(kw, i);
}

void WriteAutorunScript(const clsKitwright& kw, int i)
{
    const std::string d = kw.GetDestinationData(fcProgramFiles, dfEnvironmentPath);
    writers::TextFile f;
    f.Line("@echo off");
    f.Line("title=Starting \"" + kw.ShortcutName(i) + "\"");
    if (kw.IsRamdisk(i))
        f.Line("call \"" + d + "ramdisk_" + kw.ShortcutName(i) + ".cmd\"");
    else
        f.Line("\"" + d + kw.ExecutableName(i) + "\"");
    f.Line("exit");
    f.Save(writers::PluginFolder(kw) + "files\\", "autorun_" + kw.ShortcutName(i) + ".cmd");
}

}  // namespace kw::modRun
