#include "modRam.h"

#include "TextFile.h"
#include "model/clsKitwright.h"
#include "platform/Platform.h"

namespace kw::modRam {

void WriteRamdiskScripts(const clsKitwright& kw)
{
    for (int i = 0; i <= kw.MaxExecutables(); ++i)
        if (!kw.Executable(i).empty() && kw.IsRamdisk(i))
            WriteRamdiskScript(kw, i);
}

void WriteRamdiskScript(const clsKitwright& kw, int i)
{
    const std::string script = "RAMDISK_" + platform::UpperCase(kw.ShortcutName(i)) + ".CMD";
    const std::string exe = kw.ExecutableName(i);
    const std::string temp = "%temp%\\" + kw.PluginName() + "\\";
    const std::string hyphens = ":: " + std::string(80, '-');
    writers::TextFile f;
    f.Line("@echo off");
    f.Line(hyphens);
    f.Line(":: " + script + " - Script to start \"" + exe + "\" From Carrow");
    f.Line(":: Adapted from an earlier ramdisk start script; credit and thanks to its author");
    f.Line(hyphens);
    f.Line("echo " + script + ": Starting...");
    f.Line("setlocal");
    f.Line("if \"%temp%\" equ \"\" goto ERR");
    f.Line("if exist \"" + temp + exe + "\" goto RUN");
    f.Line("echo " + script + ": Copying \"%~dp0*.*\" to \"" + temp + "\"");
    f.Line("xcopy /s \"%~dp0*.*\" \"" + temp + "\"");
    f.Line(":RUN");
    f.Line("start \"\" \"" + temp + exe + "\"");
    f.Line("goto END");
    f.Line(":ERR");
    f.Line("echo.");
    f.Line("echo " + script + ": No temp variable set...");
    f.Line("echo " + script + ": This plugin needs a ramdisk...");
    f.Line("echo.");
    f.Line("pause");
    f.Line(":END");
    f.Line("endlocal");
    f.Save(writers::PluginFolder(kw) + "files\\", "ramdisk_" + kw.ShortcutName(i) + ".cmd");
}

}  // namespace kw::modRam
