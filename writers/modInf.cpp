#include "modInf.h"

#include "TextFile.h"
#include "model/PathText.h"
#include "model/clsKitwright.h"
#include "platform/RuntimeError.h"

namespace kw::modInf {

namespace {
using writers::TextFile;

enum JuxShortcutKind { jskPrograms = 0, jskDesktop = 1, jskQuicklaunch = 2 };

constexpr const char* kHyphenLine = "; ----------------------------------------";

void WriteInfHeader(const clsKitwright& kw, TextFile& f);
void WriteVersionSection(TextFile& f);
void WriteVelmontSection(const clsKitwright& kw, TextFile& f);
void WriteAppendSection(const clsKitwright& kw, TextFile& f);
void WriteWinntDirectories(const clsKitwright& kw, TextFile& f);
void WriteSourceDisksFiles(const clsKitwright& kw, TextFile& f);
void WriteSourceDisksFolders(const clsKitwright& kw, TextFile& f);
void WriteSoftwareAddReg(const clsKitwright& kw, TextFile& f);
void WriteJuxShortcuts(const clsKitwright& kw, TextFile& f, JuxShortcutKind kind, bool& juxCommentWritten);
std::string GetMenuPath(const clsKitwright& kw);
}  // namespace

void WriteInfFile(const clsKitwright& kw)
{
    TextFile f;
    WriteInfHeader(kw, f);
    WriteVersionSection(f);
    WriteVelmontSection(kw, f);
    WriteAppendSection(kw, f);
    WriteWinntDirectories(kw, f);
    WriteSourceDisksFiles(kw, f);
    WriteSourceDisksFolders(kw, f);
    WriteSoftwareAddReg(kw, f);
    for (const char* line : {"[SetupReg.AddReg]", "; HKLM\\SYSTEM", "", "[Default.AddReg]", "; HKU\\.Default", "",
                             "[Software.DelReg]", "; HKLM\\SOFTWARE", "", "[Default.DelReg]", "; HKU\\.Default", "",
                             "[AddLine]", "", "[DelLine]", "", "[SetValue]", ""})
        f.Line(line);
    f.Save(writers::PluginFolder(kw), kw.PluginName() + ".inf");
}

namespace {

void WriteInfHeader(const clsKitwright& kw, TextFile& f)
{
    f.Line(kHyphenLine);
    f.Line("; Velmont v3 plugin INF file for");
    f.Line("; " + kw.ProgramName());
    f.Line(";");
    if (kw.IncAuthor() != cvUnchecked) {
        if (!kw.AuthorName().empty())
            f.Line("; Plugin by " + kw.AuthorName());
        for (const std::string& text : {kw.AuthorWebsite(), kw.AuthorContact(), kw.AuthorComment()})
            if (!text.empty())
                f.Line("; " + text);
    }
    f.Line(kHyphenLine);
    f.Line("; Created with Kitwright");
    f.Line();
}

void WriteVersionSection(TextFile& f)
{
    f.Line("[Version]");
    f.Line("Signature=\"$Windows NT$\"");
    f.Line();
}

void WriteVelmontSection(const clsKitwright& kw, TextFile& f)
{
    f.Line("[Velmont]");
    f.Line("Name=\"" + kw.ProgramName() + "\"");
    f.Line("Enable=0");
    f.Line("Help=\"" + kw.PluginName() + ".htm\"");
    f.Line();
}

void WriteAppendSection(const clsKitwright& kw, TextFile& f)
{
    f.Line("[Append]");
    if (kw.IsExecutables() && kw.IncZelMenu() != cvUnchecked)
        f.Line("zelmenu.xml, " + kw.PluginName() + (kw.ZelFileName() != cvUnchecked ? "_zelmenu.xml" : ".xml"));
    f.Line();
}

void WriteWinntDirectories(const clsKitwright& kw, TextFile& f)
{
    f.Line("[WinntDirectories]");
    if (kw.ProgramFilesDest() == dstPrograms)
        f.Line("a=\"Programs\\" + kw.PluginName() + "\",2");
    f.Line();
}

void WriteSourceDisksFiles(const clsKitwright& kw, TextFile& f)
{
    const std::string p = kw.GetDestinationData(fcProgramFiles, dfInfCode);
    const std::string s = kw.GetDestinationData(fcSystemFiles, dfInfCode);
    f.Line("[SourceDisksFiles]");
    if (kw.CopyOption() == coIndividualFiles) {
        const std::vector<clsKitwright::ListedFile> files = kw.ListedFiles();
        if (!files.empty()) {
            f.Line("; Program Files");
            for (const clsKitwright::ListedFile& file : files)
                if (!file.name.empty())
                    f.Line("\"files\\" + file.name + "\"=" + p + ",,1");
        }
        if (kw.SystemFileCount() != 0) {
            f.Line("; System Files");
            for (int i = 1; i <= kw.SystemFileCount(); ++i) {
                const std::string name = kw.SystemFileName(i);
                if (!name.empty())
                    f.Line("\"" + name + "\"=" + s);
            }
        }
        // Looks at the switches only, not at whether the slot is filled.
        for (int i = 0; i <= kw.MaxExecutables(); ++i) {
            if (!files.empty() && (kw.IncAutorun(i) != cvUnchecked || kw.IsRamdisk(i))) {
                f.Line("; Created Files");
                break;
            }
        }
        for (int i = 0; i <= kw.MaxExecutables(); ++i)
            if (!kw.Executable(i).empty() && kw.IsRamdisk(i))
                f.Line("\"files\\ramdisk_" + kw.ShortcutName(i) + ".cmd\"=" + p + ",,1");
    }
    // Autorun scripts always go to the system folder (code 2).
    for (int i = 0; i <= kw.MaxExecutables(); ++i)
        if (!kw.Executable(i).empty() && kw.IncAutorun(i) != cvUnchecked)
            f.Line("\"files\\autorun_" + kw.ShortcutName(i) + ".cmd\"=2,,1");
    f.Line();
}

void WriteSourceDisksFolders(const clsKitwright& kw, TextFile& f)
{
    f.Line("[SourceDisksFolders]");
    if (kw.CopyOption() == coFolderTree && (!kw.ProgramFolder().empty() || kw.IsExecutables()))
        f.Line("\"files\"=a");
    f.Line();
}

void WriteSoftwareAddReg(const clsKitwright& kw, TextFile& f)
{
    f.Line("[Software.AddReg]");
    f.Line("; HKLM\\SOFTWARE");
    if (kw.IsExecutables()) {
        bool juxCommentWritten = false;
        if (kw.IncJuxMenu() != cvUnchecked)
            WriteJuxShortcuts(kw, f, jskPrograms, juxCommentWritten);
        WriteJuxShortcuts(kw, f, jskDesktop, juxCommentWritten);
        WriteJuxShortcuts(kw, f, jskQuicklaunch, juxCommentWritten);
    }
    f.Line();
}

void WriteJuxShortcuts(const clsKitwright& kw, TextFile& f, JuxShortcutKind kind, bool& juxCommentWritten)
{
    const std::string d = kw.GetDestinationData(fcProgramFiles, dfEnvironmentPath);
    for (int i = 0; i <= kw.MaxExecutables(); ++i) {
        if (kw.Executable(i).empty())
            continue;
        CheckValue wanted;
        std::string key, menuPath;
        switch (kind) {
        case jskPrograms:
            wanted = kw.IncJuxMenu();
            key = "Programs";
            menuPath = GetMenuPath(kw);
            break;
        case jskDesktop:
            wanted = kw.IncJuxDesktop(i);
            key = "Desktop";
            break;
        case jskQuicklaunch:
            wanted = kw.IncJuxQlaunch(i);
            key = "Quicklaunch";
            break;
        default: throw RuntimeError(kErrInvalidArgument);
        }
        if (wanted == cvUnchecked)
            continue;
        if (!juxCommentWritten) {
            f.Line("; JUX Shortcuts");
            juxCommentWritten = true;
        }
        std::string target = d + kw.ExecutableName(i);
        if (kw.IsRamdisk(i))
            target = d + "ramdisk_" + kw.ShortcutName(i) + ".cmd||" + target;
        f.Line("0x2, \"Valdane\\JUXinit\\" + key + "\", \"" + menuPath + kw.ShortcutName(i) + "\", \"" + target + "\"");
    }
}

std::string GetMenuPath(const clsKitwright& kw)
{
    if (kw.MenuGroup().empty())
        return {};
    if (kw.IncSubGroup())
        return AddBackslash(kw.MenuGroup()) + kw.ProgramName() + "\\";
    return AddBackslash(kw.MenuGroup());
}

}  // namespace
}  // namespace kw::modInf
