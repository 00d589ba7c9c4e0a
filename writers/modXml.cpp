#include "modXml.h"

#include "TextFile.h"
#include "model/clsKitwright.h"

namespace kw::modXml {

namespace {
using writers::TextFile;

void WriteMenuXmlHeader(const clsKitwright& kw, TextFile& f);
void WriteMenuXmlGroups(const clsKitwright& kw, TextFile& f);
void WriteMenuXmlItems(const clsKitwright& kw, TextFile& f);
void WriteMenuXmlFooter(TextFile& f);
}  // namespace

void WriteMenuXmlFile(const clsKitwright& kw)
{
    if (kw.IncZelMenu() == cvUnchecked || !kw.IsExecutables())
        return;
    TextFile f;
    WriteMenuXmlHeader(kw, f);
    WriteMenuXmlGroups(kw, f);
    WriteMenuXmlItems(kw, f);
    WriteMenuXmlFooter(f);
    f.Save(writers::PluginFolder(kw), kw.PluginName() + (kw.ZelFileName() != cvUnchecked ? "_zelmenu.xml" : ".xml"));
}

namespace {

void WriteMenuXmlHeader(const clsKitwright& kw, TextFile& f)
{
    f.Line("<!-- ZelMenu entry for \"" + kw.ProgramName() + "\" -->");
    f.Line("<ZELMENU>");
    f.Line("\t<MENU ID=\"Programs\">");
}

// Each level closes the menu above it and opens its own; the items land in the last one.
void WriteMenuXmlGroups(const clsKitwright& kw, TextFile& f)
{
    if (kw.MenuGroup().empty())
        return;
    auto subMenu = [&f](const std::string& name) {
        f.Line("\t\t<MITEM TYPE=\"POPUP\" MENUID=\"" + name + "\">" + name + "</MITEM>");
        f.Line("\t</MENU>");
        f.Line("\t<MENU ID=\"" + name + "\">");
    };
    subMenu(kw.MenuGroup());
    if (kw.IncSubGroup())
        subMenu(kw.ProgramName());
}

void WriteMenuXmlItems(const clsKitwright& kw, TextFile& f)
{
    const std::string d = kw.GetDestinationData(fcProgramFiles, dfZelMenuPath);
    for (int i = 0; i <= kw.MaxExecutables(); ++i) {
        if (kw.Executable(i).empty())
            continue;
        const std::string target =
            d + (kw.IsRamdisk(i) ? "ramdisk_" + kw.ShortcutName(i) + ".cmd" : kw.ExecutableName(i));
        const std::string rest = " CMD=\"RUN\" FUNC=\"" + target + "\" PARM=\"1\">" + kw.ShortcutName(i) + "</MITEM>";
        switch (kw.ZelVersion()) {
        case zvUpTo0348:
            f.Line("\t\t<MITEM TYPE=\"ITEM\" DISABLED=\"@Not(@FileExists(" + target + "))\"" + rest);
            break;
        case zvFrom0349:
            f.Line("\t\t<MITEM TYPE=\"ITEM\" VISIBILITY=\"@Shl(@Not(@FileExists(" + target + ")),'1')\"" + rest);
            break;
        default: break;
        }
    }
}

void WriteMenuXmlFooter(TextFile& f)
{
    f.Line("\t</MENU>");
    f.Line("</ZELMENU>");
}

}  // namespace
}  // namespace kw::modXml
