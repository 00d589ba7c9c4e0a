#include "modHtm.h"

#include "TextFile.h"
#include "model/clsKitwright.h"

namespace kw::modHtm {

namespace {
using writers::TextFile;

void WriteHelpHead(const clsKitwright& kw, TextFile& f);
void WriteHelpAuthor(const clsKitwright& kw, TextFile& f);
void WriteHelpDescription(const clsKitwright& kw, TextFile& f);
void WriteHelpDownload(const clsKitwright& kw, TextFile& f);
void WriteHelpFiles(const clsKitwright& kw, TextFile& f);
void WriteHelpRequirements(const clsKitwright& kw, TextFile& f);
void WriteHelpStartMenu(const clsKitwright& kw, TextFile& f);
void WriteHelpFooter(TextFile& f);
}  // namespace

void WriteHelpFile(const clsKitwright& kw)
{
    TextFile f(TextFile::Breaks::CrLf);  // a description of several lines stays so
    WriteHelpHead(kw, f);
    WriteHelpAuthor(kw, f);
    WriteHelpDescription(kw, f);
    WriteHelpDownload(kw, f);
    WriteHelpFiles(kw, f);
    WriteHelpRequirements(kw, f);
    WriteHelpStartMenu(kw, f);
    WriteHelpFooter(f);
    f.Save(writers::PluginFolder(kw), kw.PluginName() + ".htm");
}

namespace {

void WriteHelpHead(const clsKitwright& kw, TextFile& f)
{
    for (const char* line :
         {"<html>", "<head>", "<style type=\"text/css\">", "<!--", "kbd {border: 1px solid #CCC; margin-left: 1em}",
          "-->", "</style>", "</head>", "<body>", "<div><em>Velmont v3 plugin</em></div>", "<hr>"})
        f.Line(line);
    f.Line("<h1>" + kw.ProgramName() + "</h1>");
}

void WriteHelpAuthor(const clsKitwright& kw, TextFile& f)
{
    if (kw.IncAuthor() == cvUnchecked)
        return;
    if (const std::string name = kw.AuthorName(); !name.empty())
        f.Line("<div>Plugin by " + name + "</div>");
    if (const std::string site = kw.AuthorWebsite(); !site.empty())
        f.Line("<div>Website: <a href=\"" + site + "\">" + site + "</a></div>");
    if (const std::string contact = kw.AuthorContact(); !contact.empty()) {
        if (contact.find('@') != std::string::npos)
            f.Line("<div>Contact: <a href=\"mailto:" + contact + "\">" + contact + "</a></div>");
        else
            f.Line("<div>Contact: " + contact + "</div>");
    }
    f.Line("<br />");
}

void WriteHelpDescription(const clsKitwright& kw, TextFile& f)
{
    if (kw.Description().empty())
        return;
    f.Line("<div>" + kw.Description() + "</div>");
    f.Line("<br />");
}

void WriteHelpDownload(const clsKitwright& kw, TextFile& f)
{
    const std::string site = kw.ProgramWebsite();
    if (site.empty())
        return;
    f.Line("<div><tt>" + kw.ProgramName() + "</tt> can be downloaded from: <a href=\"" + site + "\">" + site +
           "</a>.</div>");
    f.Line("<br />");
}

void WriteHelpFiles(const clsKitwright& kw, TextFile& f)
{
    const std::string inFolder = " folder within the <tt>" + kw.PluginName() + "</tt> plugin folder:</div>";
    switch (kw.CopyOption()) {
    case coIndividualFiles: {
        const std::vector<clsKitwright::ListedFile> files = kw.ListedFiles();
        if (files.empty())
            return;
        std::string list;
        for (const clsKitwright::ListedFile& file : files)
            list += file.name + ", ";
        if (list.ends_with(", "))
            list.replace(list.size() - 2, 2, ".");
        f.Line("<div>The following file(s) must be put into the <tt>files</tt>" + inFolder);
        f.Line("<div><tt>");
        f.Line(list);
        f.Line("</tt></div>");
        f.Line("<br />");
        break;
    }
    case coFolderTree:
        if (!kw.ProgramFolder().empty() || kw.IsExecutables())
            f.Line("<div>Put the program files including sub-folders into the <tt>files</tt>" + inFolder);
        f.Line("<br />");
        break;
    default: break;
    }
}

void WriteHelpRequirements(const clsKitwright& kw, TextFile& f)
{
    if (!kw.IsExecutables())
        return;
    if (kw.NeedsAutorun() || kw.NeedsRamdisk())
        f.Line("<div>This plugin requires the following items:</div>");
    if (kw.NeedsAutorun())
        f.Line("<div><tt>Autorun Plugin</tt></div>");
    if (kw.NeedsRamdisk())
        f.Line("<div><tt>Ramdisk Plugin</tt></div>");
    f.Line("<br />");
}

void WriteHelpStartMenu(const clsKitwright& kw, TextFile& f)
{
    std::string group;
    if (!kw.MenuGroup().empty()) {
        group = "<kbd>" + kw.MenuGroup() + "</kbd>";
        if (kw.IncSubGroup())
            group += " <kbd>" + kw.ProgramName() + "</kbd>";
    }
    if (!kw.IsExecutables() || (kw.IncZelMenu() == cvUnchecked && kw.IncJuxMenu() == cvUnchecked))
        return;
    f.Line("<div>To run from Carrow, click on:</div> ");
    for (int i = 0; i <= kw.MaxExecutables(); ++i)
        if (!kw.Executable(i).empty())
            f.Line("<div><kbd>Start/Go</kbd> <kbd>Programs</kbd> " + group + " <kbd>" + kw.ShortcutName(i) +
                   "</kbd></div>");
    f.Line("<br />");
}

void WriteHelpFooter(TextFile& f)
{
    f.Line("<hr>");
    f.Line("<div><em>Velmont is the copyrighted work of its own authors.</em></div>");
    f.Line("<div><em>Created with Kitwright</em></div>");
    f.Line("</body>");
    f.Line("</html>");
}

}  // namespace
}  // namespace kw::modHtm
