#include "PluginParse.h"

#include <algorithm>
#include <array>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <set>

#include "platform/Platform.h"
#include "writers/WriteError.h"
#include "writers/WritePlugin.h"
#include "writers/modHtm.h"

namespace kw {

namespace pluginparse {

// A document put into a copy of the preferences, as Create leaves the model for the writers;
// nothing touches the disk. The values only the help page and the INF's header show can be
// changed afterwards without putting the whole document in again.
class MadePlugin {
public:
    MadePlugin(const PluginDocument& doc, const clsKitwright& preferences, const std::string& pluginsFolder)
        : kw_(preferences)
    {
        kw_.DetachPreferences();
        ApplyDocument(doc, kw_);
        kw_.PluginLocation(pluginsFolder);
        platform::FileCapture capture;
        code_ = kw_.CreatePlugin();
    }

    int Code() const { return code_; }
    clsKitwright& Model() { return kw_; }

    GeneratedPlugin Files() const
    {
        GeneratedPlugin out;
        out.code = code_;
        if (code_ != 0)
            return out;
        platform::FileCapture capture;
        try {
            WritePluginFiles(kw_);
        } catch (const WriteError& e) {
            out.code = static_cast<int>(e.Code());
        }
        out.files = Below(capture);
        return out;
    }

    // The help page, UTF-8; empty when Create refuses the document.
    std::string HelpPage() const
    {
        if (code_ != 0)
            return {};
        platform::FileCapture capture;
        try {
            modHtm::WriteHelpFile(kw_);
        } catch (const WriteError&) {
            return {};
        }
        auto files = Below(capture);
        auto it = files.find(kw_.PluginName() + ".htm");
        return it == files.end() ? std::string() : platform::FromAnsi(it->second);
    }

private:
    std::map<std::string, std::string> Below(const platform::FileCapture& capture) const
    {
        std::map<std::string, std::string> files;
        const std::string folder = kw_.PluginLocation() + kw_.PluginName() + "\\";
        for (const auto& [path, bytes] : capture.Files())
            if (path.starts_with(folder))
                files.emplace(path.substr(folder.size()), bytes);
        return files;
    }

    clsKitwright kw_;
    int code_ = 0;
};

}  // namespace pluginparse

GeneratedPlugin WriteInMemory(const PluginDocument& doc, const clsKitwright& preferences,
                              const std::string& pluginsFolder)
{
    return pluginparse::MadePlugin(doc, preferences, pluginsFolder).Files();
}

namespace pluginparse {

namespace {

constexpr std::string_view kHyphenLine = "; ----------------------------------------";

using Lines = std::vector<std::string>;

// The lines of a generated file: each ended by CR LF (a last line without one counts too).
Lines SplitLines(std::string_view text)
{
    Lines lines;
    while (!text.empty()) {
        const std::size_t end = text.find("\r\n");
        lines.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 2);
    }
    return lines;
}

// The text between a known beginning and a known end, if the line has both.
std::optional<std::string> Between(std::string_view line, std::string_view head, std::string_view tail)
{
    if (line.size() < head.size() + tail.size() || !line.starts_with(head) || !line.ends_with(tail))
        return std::nullopt;
    return std::string(line.substr(head.size(), line.size() - head.size() - tail.size()));
}

std::string Upper(const std::string& s) { return platform::UpperCase(s); }

bool SameName(const std::string& a, const std::string& b) { return platform::CompareText(a, b) == 0; }

std::string RemoveExtension(const std::string& name)
{
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string AddBackslash(const std::string& text) { return text.empty() || text.back() == '\\' ? text : text + "\\"; }

// A value that the line-based files write with blanks for its line breaks, with the breaks
// the help page shows at `pos` put back: each blank of the guide that the page has as CR LF.
std::optional<std::string> Rebreak(std::string_view guide, std::string_view page, std::size_t& pos)
{
    std::string out;
    std::size_t j = pos;
    for (char c : guide) {
        if (c == ' ' && page.substr(j, 2) == "\r\n") {
            out += "\r\n";
            j += 2;
        } else if (j < page.size() && page[j] == c) {
            out += c;
            ++j;
        } else {
            return std::nullopt;
        }
    }
    pos = j;
    return out;
}

// ---- What the INF says -------------------------------------------------------------------

struct JuxLine {
    std::string valueName;  // menu path and shortcut name
    std::string exe;
    bool ramdisk = false;
    std::string ramdiskShortcut;
};

struct InfFacts {
    std::string programName;  // line breaks as blanks
    bool headerOk = false;
    bool hasAuthorLines = false;
    std::optional<std::string> appendFile;
    bool programsFolder = false;
    bool individualMarkers = false;
    std::vector<std::string> programFiles;
    std::vector<std::string> systemFiles;
    std::optional<Destination> systemDest;
    std::vector<std::string> ramdiskLines;  // shortcut names, in slot order
    std::vector<std::string> autorunLines;
    bool filesFolderLine = false;
    std::array<std::vector<JuxLine>, 3> jux;  // Programs, Desktop, Quicklaunch
};

class InfReader {
public:
    InfReader(const std::string& pluginName, const std::string& infName, std::vector<std::string>& unread)
        : pn_(pluginName),
          inf_(infName),
          unread_(unread)
    {
    }

    InfFacts Read(const std::string& text)
    {
        const Lines lines = SplitLines(text);
        std::size_t n = 0;
        while (n < lines.size() && !lines[n].empty())
            ++n;
        // Header: hyphens, title, "; {ProgramName}", ";", author lines, hyphens, credit.
        if (n >= 6 && lines[0] == kHyphenLine && lines[2].starts_with("; ") && lines[3] == ";" &&
            lines[n - 2] == kHyphenLine && lines[n - 1] == "; Created with Kitwright") {
            facts_.headerOk = true;
            facts_.programName = lines[2].substr(2);
            facts_.hasAuthorLines = n > 6;
        } else {
            Unread("its header");
        }
        std::string section;
        bool velmont = false;
        for (std::size_t i = n; i < lines.size(); ++i) {
            const std::string& line = lines[i];
            if (line.empty())
                continue;
            if (line.front() == '[' && line.back() == ']') {
                section = line;
                velmont = velmont || line == "[Velmont]";
                continue;
            }
            if (!Take(section, line))
                Unread("the line \"" + line + "\" in " + section);
        }
        if (!facts_.headerOk && velmont && !velmontName_.empty())
            facts_.programName = velmontName_;
        if (!facts_.headerOk && velmontName_.empty())
            Unread("the program's name");
        return facts_;
    }

private:
    void Unread(const std::string& what) { unread_.push_back(inf_ + ": " + what + " could not be read."); }

    bool Take(const std::string& section, const std::string& line)
    {
        if (section == "[Version]")
            return line == "Signature=\"$Windows NT$\"";
        if (section == "[Velmont]") {
            if (auto name = Between(line, "Name=\"", "\"")) {
                velmontName_ = *name;
                return true;
            }
            return line == "Enable=0" || line == "Help=\"" + pn_ + ".htm\"";
        }
        if (section == "[Append]") {
            if (auto file = Between(line, "zelmenu.xml, ", "")) {
                facts_.appendFile = *file;
                return *file == pn_ + ".xml" || *file == pn_ + "_zelmenu.xml";
            }
            return false;
        }
        if (section == "[WinntDirectories]") {
            facts_.programsFolder = line == "a=\"Programs\\" + pn_ + "\",2";
            return facts_.programsFolder;
        }
        if (section == "[SourceDisksFiles]")
            return TakeFileLine(line);
        if (section == "[SourceDisksFolders]") {
            facts_.filesFolderLine = line == "\"files\"=a";
            return facts_.filesFolderLine;
        }
        if (section == "[Software.AddReg]")
            return line == "; HKLM\\SOFTWARE" || line == "; JUX Shortcuts" || TakeJuxLine(line);
        return true;  // the fixed sections: a change there is seen when the files are compared
    }

    bool TakeFileLine(const std::string& line)
    {
        if (line == "; Program Files" || line == "; System Files" || line == "; Created Files") {
            block_ = line;
            facts_.individualMarkers = true;
            return true;
        }
        if (block_ == "; Program Files") {
            auto name = Between(line, "\"files\\", "");
            const std::size_t end = name ? name->rfind("\"=") : std::string::npos;
            if (end == std::string::npos || !name->substr(end).ends_with(",,1"))
                return false;
            facts_.programFiles.push_back(name->substr(0, end));
            return true;
        }
        if (block_ == "; System Files") {
            for (auto [code, dest] : {std::pair{"1", dstWindows}, std::pair{"2", dstSystem32}})
                if (auto name = Between(line, "\"", std::string("\"=") + code)) {
                    facts_.systemFiles.push_back(*name);
                    facts_.systemDest = dest;
                    return true;
                }
            return false;
        }
        // Created files (or, in the folder-tree mode, only the autorun lines).
        if (auto s = Between(line, "\"files\\autorun_", ".cmd\"=2,,1")) {
            facts_.autorunLines.push_back(*s);
            return true;
        }
        if (block_ == "; Created Files")
            for (const char* code : {"a", "2", "1"})
                if (auto s = Between(line, "\"files\\ramdisk_", std::string(".cmd\"=") + code + ",,1")) {
                    facts_.ramdiskLines.push_back(*s);
                    return true;
                }
        return false;
    }

    bool TakeJuxLine(const std::string& line)
    {
        static const char* const kinds[] = {"Programs", "Desktop", "Quicklaunch"};
        for (int k = 0; k < 3; ++k) {
            auto rest = Between(line, std::string("0x2, \"Valdane\\JUXinit\\") + kinds[k] + "\", \"", "\"");
            if (!rest)
                continue;
            // The target holds no quote (file names and the folder), so the last separator splits.
            const std::size_t split = rest->rfind("\", \"");
            if (split == std::string::npos)
                return false;
            JuxLine jux;
            jux.valueName = rest->substr(0, split);
            const std::string target = rest->substr(split + 4);
            const std::size_t bars = target.find("||");
            if (bars != std::string::npos) {
                jux.ramdisk = true;
                const std::string script = target.substr(0, bars);
                const std::size_t name = script.rfind("\\ramdisk_");
                if (name == std::string::npos || !script.ends_with(".cmd"))
                    return false;
                jux.ramdiskShortcut = script.substr(name + 9, script.size() - name - 13);
                jux.exe = target.substr(bars + 2);
            } else {
                jux.exe = target;
            }
            const std::size_t slash = jux.exe.rfind('\\');
            if (slash == std::string::npos)
                return false;
            jux.exe = jux.exe.substr(slash + 1);
            facts_.jux[k].push_back(std::move(jux));
            return true;
        }
        return false;
    }

    const std::string& pn_;
    const std::string& inf_;
    std::vector<std::string>& unread_;
    InfFacts facts_;
    std::string block_;
    std::string velmontName_;
};

// ---- What the menu file says -------------------------------------------------------------

struct MenuItem {
    std::string target;  // the file the entry starts: the executable or its ramdisk script
    std::string shortcut;
};

struct MenuFacts {
    bool read = false;
    std::vector<std::string> groups;  // the pop-up chain: group, then the program's sub-group
    std::vector<MenuItem> items;
};

std::optional<std::string> Doubled(std::string_view line, std::string_view head, std::string_view middle,
                                   std::string_view tail)
{
    auto inner = Between(line, head, tail);
    if (!inner || inner->size() < middle.size() || (inner->size() - middle.size()) % 2 != 0)
        return std::nullopt;
    const std::size_t half = (inner->size() - middle.size()) / 2;
    const std::string value = inner->substr(0, half);
    if (*inner != value + std::string(middle) + value)
        return std::nullopt;
    return value;
}

MenuFacts ReadMenu(const std::string& text, const std::string& zelFolder)
{
    MenuFacts facts;
    const Lines lines = SplitLines(text);
    if (lines.size() < 5 || !lines[0].starts_with("<!-- ZelMenu entry for \"") || lines[1] != "<ZELMENU>")
        return facts;
    facts.read = true;
    for (const std::string& line : lines) {
        if (auto group = Doubled(line, "\t\t<MITEM TYPE=\"POPUP\" MENUID=\"", "\">", "</MITEM>")) {
            facts.groups.push_back(*group);
            continue;
        }
        for (auto [head, sep] :
             {std::pair<std::string, std::string>{"\t\t<MITEM TYPE=\"ITEM\" DISABLED=\"@Not(@FileExists(",
                                                  "))\" CMD=\"RUN\" FUNC=\""},
              std::pair<std::string, std::string>{"\t\t<MITEM TYPE=\"ITEM\" VISIBILITY=\"@Shl(@Not(@FileExists(",
                                                  ")),'1')\" CMD=\"RUN\" FUNC=\""}}) {
            auto rest = Between(line, head + zelFolder, "</MITEM>");
            if (!rest)
                continue;
            // {F}{sep}{folder}{F}" PARM="1">{shortcut}: the first split that repeats F.
            const std::string marker = sep + zelFolder;
            for (std::size_t at = rest->find(marker); at != std::string::npos; at = rest->find(marker, at + 1)) {
                const std::string file = rest->substr(0, at);
                const std::string after = rest->substr(at + marker.size());
                const std::string parm = file + "\" PARM=\"1\">";
                if (after.starts_with(parm)) {
                    facts.items.push_back({file, after.substr(parm.size())});
                    break;
                }
            }
        }
    }
    return facts;
}

// ---- What the scripts say ------------------------------------------------------------------

struct Scripts {
    std::map<std::string, std::string> ramdiskExe;  // shortcut name -> executable
    struct Autorun {
        std::string exe;
        std::optional<std::string> ramdiskShortcut;
    };
    std::map<std::string, Autorun> autorun;
};

std::optional<std::string> ScriptShortcut(const std::string& name, std::string_view kind)
{
    return Between(name, std::string(kind) + "_", ".cmd");
}

Scripts ReadScripts(const PluginContent& content, const std::string& pluginName, const std::string& envFolder)
{
    Scripts scripts;
    for (const auto& [relative, bytes] : content.files) {
        if (!relative.starts_with("files\\"))
            continue;
        const std::string name = relative.substr(6);
        const Lines lines = SplitLines(platform::FromAnsi(bytes));
        if (lines.empty() || lines[0] != "@echo off")
            continue;
        if (auto s = ScriptShortcut(name, "ramdisk")) {
            if (lines.size() == 22)
                if (auto exe = Between(lines[12], "start \"\" \"%temp%\\" + pluginName + "\\", "\""))
                    scripts.ramdiskExe[*s] = *exe;
        } else if (auto a = ScriptShortcut(name, "autorun")) {
            if (lines.size() != 4 || lines[1] != "title=Starting \"" + *a + "\"" || lines[3] != "exit")
                continue;
            if (auto r = Between(lines[2], "call \"" + envFolder + "ramdisk_", ".cmd\""))
                scripts.autorun[*a] = {"", *r};
            else if (auto exe = Between(lines[2], "\"" + envFolder, "\""))
                scripts.autorun[*a] = {*exe, std::nullopt};
        }
    }
    return scripts;
}

// ---- Executables from every source ----------------------------------------------------------

struct Sighting {
    std::string exe;  // empty: this source does not name it
    std::optional<std::string> shortcut;
    bool ramdisk = false;
    std::optional<std::string> valueName;  // Jux start-menu lines: menu path and shortcut name
};

struct ExeRecord {
    std::string exe;
    std::optional<std::string> shortcut;
    std::optional<std::string> valueName;
    bool ramdisk = false, autorun = false, desktop = false, quicklaunch = false;
};

enum Source { srcMenu, srcJuxPrograms, srcJuxDesktop, srcJuxQuicklaunch, srcRamdisk, srcAutorun, srcCount };

// Every executable the plugin's files name, and what they say of its slot order: every
// source lists its own executables in slot order.
struct ExeGraph {
    std::vector<ExeRecord> records;            // in the order first seen
    std::vector<std::set<std::size_t>> after;  // records that come later than this one
};

ExeGraph MergeSightings(std::vector<Sighting> (&lists)[srcCount])
{
    // A sighting without an executable borrows one from a sighting of the same shortcut name.
    std::map<std::string, std::set<std::string>> exesOf;
    for (auto& list : lists)
        for (const Sighting& s : list)
            if (!s.exe.empty() && s.shortcut)
                exesOf[*s.shortcut].insert(Upper(s.exe));
    std::map<std::string, std::string> spelled;
    for (auto& list : lists)
        for (const Sighting& s : list)
            if (!s.exe.empty())
                spelled.emplace(Upper(s.exe), s.exe);
    for (auto& list : lists)
        for (Sighting& s : list)
            if (s.exe.empty() && s.shortcut) {
                auto it = exesOf.find(*s.shortcut);
                if (it != exesOf.end() && it->second.size() == 1)
                    s.exe = spelled[*it->second.begin()];
            }

    ExeGraph g;
    std::map<std::string, std::size_t> index;
    for (int src = 0; src < srcCount; ++src) {
        std::optional<std::size_t> previous;
        int unnamed = 0;
        for (const Sighting& s : lists[src]) {
            // An executable no file names stays one of its own.
            std::string key = Upper(s.exe);
            if (s.exe.empty())
                key.append(1, '\x01').append(std::to_string(src * 100 + unnamed++));
            auto [it, added] = index.try_emplace(key, g.records.size());
            if (added) {
                g.records.emplace_back();
                g.after.emplace_back();
            }
            ExeRecord& r = g.records[it->second];
            if (r.exe.empty())
                r.exe = s.exe;
            if (!r.shortcut && s.shortcut)
                r.shortcut = s.shortcut;
            if (src == srcJuxPrograms)
                r.valueName = s.valueName;
            r.ramdisk = r.ramdisk || s.ramdisk;
            r.autorun = r.autorun || src == srcAutorun;
            r.desktop = r.desktop || src == srcJuxDesktop;
            r.quicklaunch = r.quicklaunch || src == srcJuxQuicklaunch;
            if (previous && *previous != it->second)
                g.after[*previous].insert(it->second);
            previous = it->second;
        }
    }
    return g;
}

std::optional<std::string> ShortcutOf(const ExeRecord& r, const std::string& menuPath)
{
    if (r.shortcut)
        return r.shortcut;
    if (r.valueName && r.valueName->starts_with(menuPath))
        return r.valueName->substr(menuPath.size());
    return std::nullopt;
}

// The executables in slot order. With the help page's list of every shortcut name in slot
// order, that list leads: each of its names takes the first executable free to come next
// that has the name, or else stands for an executable no other file names (`invent` names
// it). Without it, the first one seen goes first wherever the sources leave a choice.
std::optional<std::vector<ExeRecord>>
OrderExecutables(const ExeGraph& g, const std::vector<std::string>* help, const std::string& menuPath,
                 const std::function<std::string(const std::vector<ExeRecord>&)>& invent, bool& consistent)
{
    const std::size_t n = g.records.size();
    std::vector<int> before(n, 0);
    for (const auto& later : g.after)
        for (std::size_t j : later)
            ++before[j];
    std::vector<bool> done(n, false);
    std::vector<ExeRecord> ordered;
    std::size_t placed = 0, h = 0;
    consistent = true;
    auto take = [&](std::size_t i) {
        done[i] = true;
        ++placed;
        for (std::size_t j : g.after[i])
            --before[j];
        ordered.push_back(g.records[i]);
    };
    while (help ? h < help->size() : placed < n) {
        std::optional<std::size_t> pick;
        for (std::size_t i = 0; i < n && !pick; ++i) {
            if (done[i] || before[i] != 0)
                continue;
            const std::optional<std::string> shortcut = ShortcutOf(g.records[i], menuPath);
            if (!help || !shortcut || *shortcut == (*help)[h])
                pick = i;
        }
        if (help) {
            if (pick) {
                take(*pick);
            } else {
                ordered.push_back({invent(ordered), (*help)[h], std::nullopt});
            }
            ++h;
            continue;
        }
        if (!pick) {  // the files disagree on the order: the first still open goes next
            consistent = false;
            for (std::size_t i = 0; i < n && !pick; ++i)
                if (!done[i])
                    pick = i;
        }
        take(*pick);
    }
    if (placed < n)
        return std::nullopt;
    return ordered;
}

// ---- The help page ---------------------------------------------------------------------------

// [<div>{Description}</div><br />][<div><tt>{ProgramName}</tt> can be downloaded from: ...]
bool ReadDescriptionAndWebsite(std::string_view region, const std::string& programName, PluginDocument& doc)
{
    auto descriptionBlock = [](std::string_view block) -> std::optional<std::string> {
        auto d = Between(block, "<div>", "</div>\r\n<br />\r\n");
        if (!d || d->empty())
            return std::nullopt;
        return d;
    };
    doc.Description.clear();
    doc.ProgramWebsite.clear();
    if (region.empty())
        return true;
    const std::string head = "<div><tt>" + programName + "</tt> can be downloaded from: <a href=\"";
    const std::string_view tail = "</a>.</div>\r\n<br />\r\n";
    if (region.ends_with(tail)) {
        for (std::size_t at = region.rfind(head); at != std::string_view::npos;
             at = at ? region.rfind(head, at - 1) : std::string_view::npos) {
            if (at != 0 && region.substr(at - 2, 2) != "\r\n")
                continue;
            const std::string_view inner =
                region.substr(at + head.size(), region.size() - tail.size() - at - head.size());
            if (at + head.size() > region.size() - tail.size() || inner.size() < 4 || inner.size() % 2 != 0)
                continue;
            const std::string site(inner.substr(0, (inner.size() - 2) / 2));
            if (std::string(inner) != site + "\">" + site || site == "http://")
                continue;
            if (at == 0) {
                doc.ProgramWebsite = site;
                return true;
            }
            if (auto d = descriptionBlock(region.substr(0, at))) {
                doc.Description = *d;
                doc.ProgramWebsite = site;
                return true;
            }
        }
    }
    if (auto d = descriptionBlock(region)) {
        doc.Description = *d;
        return true;
    }
    return false;
}

// The author block of another author's preferences: its labelled lines, then "<br />".
std::optional<std::size_t> ForeignAuthorBlock(std::string_view region)
{
    std::size_t pos = 0;
    for (std::string_view label : {"<div>Plugin by ", "<div>Website: <a href=\"", "<div>Contact: "}) {
        if (region.substr(pos).starts_with(label)) {
            const std::size_t end = region.find("</div>\r\n", pos);
            if (end == std::string_view::npos)
                return std::nullopt;
            pos = end + 8;
        }
    }
    if (!region.substr(pos).starts_with("<br />\r\n"))
        return std::nullopt;
    return pos + 8;
}

// The end of the page as the rest of the plugin makes it. The program files' line may list
// them in another order: read back, they all lie in files\ and sort by name, where they may
// have come from several folders.
bool SameTail(std::string_view page, std::string_view made)
{
    if (page == made)
        return true;
    const std::string_view head = "<div><tt>\r\n", end = "\r\n</tt></div>\r\n";
    const std::size_t from = made.find(head), to = made.find(end);
    if (page.size() != made.size() || from == std::string_view::npos || to == std::string_view::npos || to < from)
        return false;
    return page.substr(0, from + head.size()) == made.substr(0, from + head.size()) &&
           page.substr(to) == made.substr(to);
}

// Puts the help page's own values into the document and the made plugin (the program name's
// line breaks, the author switch, the description and the program's website); false when the
// page is not the one the rest of the plugin makes.
bool ReadHelpPage(const std::string& page, bool authorLines, MadePlugin& made, PluginDocument& doc)
{
    clsKitwright& kw = made.Model();
    auto set = [&](CheckValue author, const std::string& description, const std::string& website) {
        doc.IncAuthor = author;
        doc.Description = description;
        doc.ProgramWebsite = website;
        kw.IncAuthor(author);
        kw.Description(description);
        kw.ProgramWebsite(website);
    };
    set(cvUnchecked, {}, {});
    std::string mine = made.HelpPage();
    std::size_t h1 = mine.find("<h1>");
    if (h1 == std::string::npos || page.compare(0, h1 + 4, mine, 0, h1 + 4) != 0)
        return false;
    std::size_t pos = h1 + 4;
    auto name = Rebreak(doc.ProgramName, page, pos);
    if (!name || page.compare(pos, 7, "</h1>\r\n") != 0)
        return false;
    pos += 7;
    if (*name != doc.ProgramName) {
        doc.ProgramName = *name;
        kw.ProgramName(*name);
        mine = made.HelpPage();
    }
    // Up to here the page and the one made agree.
    const std::size_t tail = mine.size() - pos;
    if (page.size() < pos + tail ||
        !SameTail(std::string_view(page).substr(page.size() - tail), std::string_view(mine).substr(pos)))
        return false;
    std::string_view region = std::string_view(page).substr(pos, page.size() - tail - pos);

    CheckValue author = cvUnchecked;
    if (authorLines) {
        author = cvChecked;
        kw.IncAuthor(cvChecked);
        const std::string block = made.HelpPage();
        const std::string own = block.substr(pos, block.size() - pos - tail);
        if (region.starts_with(own)) {
            region.remove_prefix(own.size());
        } else if (auto end = ForeignAuthorBlock(region)) {
            region.remove_prefix(*end);
        } else {
            return false;
        }
    } else if (region.starts_with("<br />\r\n")) {
        // Switched on with every author text empty: the block is a lone line break.
        author = cvChecked;
        region.remove_prefix(8);
    }
    PluginDocument read;
    if (!ReadDescriptionAndWebsite(region, doc.ProgramName, read))
        return false;
    set(author, read.Description, read.ProgramWebsite);
    return true;
}

// ---- Putting it together ------------------------------------------------------------------------

struct Choices {
    std::string menuGroup;
    bool subGroup = false;
    kw::CopyOption copyOption = coIndividualFiles;
    bool inventExecutable = false;
    bool scriptOnlyRamdisks = false;
};

class Rebuilder {
public:
    Rebuilder(const PluginContent& content, const clsKitwright* preferences, const std::string& pluginsFolder)
        : content_(content),
          prefs_(preferences),
          plugins_(pluginsFolder),
          pn_(content.infName.substr(0, content.infName.size() - 4))
    {
    }

    std::vector<std::string> Created()
    {
        std::vector<std::string> unread, created;
        if (ReadFacts(unread))
            FindCreatedScripts(created);
        return created;
    }

    Reconstruction Run()
    {
        Reconstruction out;
        std::vector<std::string> unread;
        if (!ReadFacts(unread)) {
            out.unread.push_back(content_.infName + " could not be read.");
            return out;
        }
        GatherExecutables(unread);
        FindCreatedScripts(out.created);

        // Where the files alone cannot tell two documents apart, each is tried and the one that
        // makes the same files is taken; ties go to the first, the likeliest.
        int best = std::numeric_limits<int>::min();
        for (const Choices& choice : Alternatives()) {
            std::vector<std::string> notes;
            PluginDocument doc = Build(choice, notes);
            const std::string* page = File(pn_ + ".htm");
            MadePlugin made(doc, *prefs_, plugins_);
            const bool pageRead = page && ReadHelpPage(page_, inf_.hasAuthorLines, made, doc);
            std::vector<std::string> changed = Changed(made);
            const int score = (pageRead ? 1000 : 0) - static_cast<int>(changed.size());
            if (score > best) {
                best = score;
                out.document = std::move(doc);
                out.changed = std::move(changed);
                out.unread = unread;
                out.unread.insert(out.unread.end(), notes.begin(), notes.end());
                if (!page)
                    out.unread.push_back(pn_ +
                                         ".htm is missing: the description and the program's website are unknown.");
                else if (!pageRead)
                    out.unread.push_back(pn_ + ".htm: the description and the program's website could not be read.");
            }
            if (pageRead && out.changed.empty())
                break;
        }
        return out;
    }

private:
    // What the INF, the menu file, the scripts and the help page's title say.
    bool ReadFacts(std::vector<std::string>& unread)
    {
        const std::string* infBytes = File(content_.infName);
        if (!infBytes)
            return false;
        inf_ = InfReader(pn_, content_.infName, unread).Read(platform::FromAnsi(*infBytes));

        dest_ = inf_.programsFolder ? dstPrograms : dstSystem32;
        envFolder_ = dest_ == dstPrograms ? "%SystemDrive%\\Programs\\" + pn_ + "\\" : "%SystemRoot%\\System32\\";
        zelFolder_ = dest_ == dstPrograms ? "@GetProgramDrive()\\Programs\\" + pn_ + "\\" : "@GetWinDir()\\System32\\";
        if (inf_.appendFile) {
            if (const std::string* xml = File(*inf_.appendFile)) {
                menu_ = ReadMenu(platform::FromAnsi(*xml), zelFolder_);
                if (!menu_.read)
                    unread.push_back(*inf_.appendFile + ": the start menu could not be read.");
            } else {
                unread.push_back(*inf_.appendFile + ", named in " + content_.infName + ", is missing.");
            }
        }
        scripts_ = ReadScripts(content_, pn_, envFolder_);
        if (const std::string* page = File(pn_ + ".htm"))
            page_ = platform::FromAnsi(*page);
        // The program's name with its line breaks, as the help page's title shows them.
        programName_ = inf_.programName;
        if (std::size_t pos = page_.find("<h1>"); pos != std::string::npos) {
            pos += 4;
            if (auto name = Rebreak(inf_.programName, page_, pos); name && page_.compare(pos, 7, "</h1>\r\n") == 0)
                programName_ = *name;
        }
        return true;
    }

    const std::string* File(const std::string& name) const
    {
        auto it = content_.files.find(name);
        return it == content_.files.end() ? nullptr : &it->second;
    }

    bool InFilesFolder(const std::string& name) const
    {
        if (filesFolderNames_.empty())
            for (const platform::FolderEntry& e : content_.filesFolder)
                filesFolderNames_.insert(Upper(e.name));
        return filesFolderNames_.count(Upper(name)) != 0;
    }

    void GatherExecutables(std::vector<std::string>& unread)
    {
        std::vector<Sighting> lists[srcCount];
        for (const MenuItem& item : menu_.items) {
            Sighting s;
            s.shortcut = item.shortcut;
            if (item.target == "ramdisk_" + item.shortcut + ".cmd" && dest_ == dstPrograms) {
                s.ramdisk = true;
                auto it = scripts_.ramdiskExe.find(item.shortcut);
                if (it != scripts_.ramdiskExe.end())
                    s.exe = it->second;
            } else {
                s.exe = item.target;
            }
            lists[srcMenu].push_back(s);
        }
        for (int k = 0; k < 3; ++k)
            for (const JuxLine& j : inf_.jux[k]) {
                Sighting s;
                s.exe = j.exe;
                s.ramdisk = j.ramdisk;
                if (j.ramdisk)
                    s.shortcut = j.ramdiskShortcut;
                if (k == 0)
                    s.valueName = j.valueName;
                else
                    s.shortcut = j.valueName;
                lists[srcJuxPrograms + k].push_back(s);
            }
        for (const std::string& name : inf_.ramdiskLines) {
            Sighting s;
            s.shortcut = name;
            s.ramdisk = true;
            if (auto it = scripts_.ramdiskExe.find(name); it != scripts_.ramdiskExe.end())
                s.exe = it->second;
            lists[srcRamdisk].push_back(s);
        }
        for (const std::string& name : inf_.autorunLines) {
            Sighting s;
            s.shortcut = name;
            if (auto it = scripts_.autorun.find(name); it != scripts_.autorun.end()) {
                if (it->second.ramdiskShortcut) {
                    s.ramdisk = true;
                    if (auto r = scripts_.ramdiskExe.find(*it->second.ramdiskShortcut); r != scripts_.ramdiskExe.end())
                        s.exe = r->second;
                } else {
                    s.exe = it->second.exe;
                }
            }
            lists[srcAutorun].push_back(s);
        }
        graph_ = MergeSightings(lists);
        const std::vector<ExeRecord>& exes = graph_.records;
        for (const ExeRecord& r : exes)
            if (r.exe.empty())
                unread.push_back("The executable started by \"" + r.shortcut.value_or("") +
                                 "\" is not named by any file of the plugin (its script is missing).");
        // Ramdisk scripts of this plugin that nothing else names: executables with no other switch.
        if (!inf_.individualMarkers)
            for (const auto& script : scripts_.ramdiskExe) {
                const std::string& exe = script.second;
                if (std::none_of(exes.begin(), exes.end(), [&](const ExeRecord& r) { return SameName(r.exe, exe); }))
                    scriptOnly_.push_back({exe, script.first, std::nullopt, true});
            }
    }

    void FindCreatedScripts(std::vector<std::string>& created) const
    {
        std::set<std::string> names;
        for (const std::string& s : inf_.ramdiskLines)
            names.insert("ramdisk_" + s + ".cmd");
        for (const std::string& s : inf_.autorunLines)
            names.insert("autorun_" + s + ".cmd");
        for (const auto& entry : scripts_.ramdiskExe)
            names.insert("ramdisk_" + entry.first + ".cmd");
        for (const auto& entry : scripts_.autorun)
            names.insert("autorun_" + entry.first + ".cmd");
        for (const std::string& name : names)
            if (InFilesFolder(name))
                created.push_back(name);
    }

    std::vector<Choices> Alternatives() const
    {
        std::vector<std::pair<std::string, bool>> menus;
        const std::string& programName = inf_.programName;
        if (menu_.read) {
            menus.emplace_back(menu_.groups.empty() ? "" : menu_.groups[0], menu_.groups.size() > 1);
        } else if (!inf_.jux[0].empty()) {
            // The start-menu path the Jux lines share: the group, and the program's sub-group.
            // A line whose shortcut name another file gives tells it; else each path the
            // lines have in common is a candidate, the longest first.
            std::vector<std::string> paths;
            for (const JuxLine& line : inf_.jux[0])
                for (const ExeRecord& r : graph_.records)
                    if (paths.empty() && r.shortcut && SameName(r.exe, line.exe) &&
                        line.valueName.ends_with(*r.shortcut))
                        paths.push_back(line.valueName.substr(0, line.valueName.size() - r.shortcut->size()));
            if (paths.empty()) {
                std::string common = inf_.jux[0].front().valueName;
                for (const JuxLine& line : inf_.jux[0]) {
                    std::size_t n = 0;
                    while (n < common.size() && n < line.valueName.size() && common[n] == line.valueName[n])
                        ++n;
                    common.resize(n);
                }
                for (std::size_t slash = common.rfind('\\'); slash != std::string::npos;
                     slash = slash ? common.rfind('\\', slash - 1) : std::string::npos)
                    paths.push_back(common.substr(0, slash + 1));
                paths.push_back("");
            }
            for (const std::string& path : paths) {
                if (path.empty()) {
                    menus.emplace_back("", false);
                    continue;
                }
                const std::string group = path.substr(0, path.size() - 1);
                menus.emplace_back(group, false);
                // An empty program name still makes a sub-group: an empty path component.
                const std::string sub = "\\" + programName;
                if (group.ends_with(sub)) {
                    if (group.size() > sub.size())
                        menus.emplace_back(group.substr(0, group.size() - sub.size()), true);
                    menus.emplace_back(group.substr(0, group.size() - sub.size() + 1), true);
                }
                menus.emplace_back(path, false);
            }
        } else {
            menus.emplace_back("", false);
        }
        std::vector<kw::CopyOption> copies;
        if (inf_.individualMarkers)
            copies = {coIndividualFiles};
        else if (inf_.filesFolderLine)
            copies = {coFolderTree};
        else
            copies = {coIndividualFiles, coFolderTree};
        std::vector<Choices> all;
        for (const auto& [group, sub] : menus)
            for (kw::CopyOption copy : copies)
                for (bool invent : graph_.records.empty() ? std::vector<bool>{false, true} : std::vector<bool>{false})
                    for (bool scripts : scriptOnly_.empty() || copy != coFolderTree ? std::vector<bool>{false}
                                                                                    : std::vector<bool>{true, false})
                        all.push_back({group, sub, copy, invent, scripts});
        return all;
    }

    PluginDocument Build(const Choices& choice, std::vector<std::string>& notes) const
    {
        PluginDocument doc;
        const std::string files = content_.folder + "files\\";
        doc.PluginName = pn_;
        doc.ProgramName = programName_;
        doc.CopyOption = choice.copyOption;
        doc.ProgramFilesDest = dest_;
        doc.SystemFilesDest = inf_.systemDest.value_or(dstSystem32);
        doc.SystemFiles = inf_.systemFiles;
        doc.MenuGroup = choice.menuGroup;
        doc.IncSubGroup = choice.subGroup;
        doc.IncZelMenu = inf_.appendFile ? cvChecked : cvUnchecked;
        doc.IncJuxMenu = inf_.jux[0].empty() ? cvUnchecked : cvChecked;
        if (choice.copyOption == coFolderTree && inf_.filesFolderLine)
            doc.ProgramFolder = files;

        const std::string menuPath = choice.menuGroup.empty() ? std::string()
                                                              : AddBackslash(choice.menuGroup) +
                                                                    (choice.subGroup ? inf_.programName + "\\" : "");
        ExeGraph graph = graph_;
        if (choice.scriptOnlyRamdisks)
            for (const ExeRecord& r : scriptOnly_) {
                graph.records.push_back(r);
                graph.after.emplace_back();
            }
        auto invent = [&](const std::vector<ExeRecord>& placed) { return InventedExecutable(graph.records, placed); };
        // The help page lists every executable by its shortcut name, in slot order.
        std::vector<ExeRecord> exes;
        bool consistent = true;
        const std::optional<std::vector<std::string>> shortcuts = StartMenuShortcuts(choice);
        if (auto ordered = OrderExecutables(graph, shortcuts ? &*shortcuts : nullptr, menuPath, invent, consistent))
            exes = std::move(*ordered);
        else
            exes = *OrderExecutables(graph, nullptr, menuPath, invent, consistent);
        if (!consistent)
            notes.push_back("The executables' order could not be read: the plugin's files disagree.");
        if (exes.size() > PluginDocument::kSlots) {
            notes.push_back("The plugin names more executables than the ten it can hold; the first ten were taken.");
            exes.resize(PluginDocument::kSlots);
        }
        if (choice.inventExecutable && exes.empty())
            exes.push_back({invent({}), std::nullopt, std::nullopt});
        for (std::size_t i = 0; i < exes.size(); ++i) {
            const ExeRecord& r = exes[i];
            DocumentExecutable& e = doc.Executables[i];
            const std::string exe = r.exe.empty() ? (r.shortcut.value_or("program") + ".exe") : r.exe;
            e.Path = files + exe;
            e.ShortcutName = ShortcutOf(r, menuPath).value_or(RemoveExtension(exe));
            e.IncRamdisk = r.ramdisk && dest_ == dstPrograms ? cvChecked : cvUnchecked;
            e.IncAutorun = r.autorun ? cvChecked : cvUnchecked;
            e.IncJuxDesktop = r.desktop ? cvChecked : cvUnchecked;
            e.IncJuxQlaunch = r.quicklaunch ? cvChecked : cvUnchecked;
        }
        if (choice.copyOption == coIndividualFiles) {
            for (const std::string& name : inf_.programFiles) {
                if (std::any_of(exes.begin(), exes.end(), [&](const ExeRecord& r) { return SameName(r.exe, name); }))
                    continue;
                doc.ProgramFiles.push_back(files + name);
            }
            if (content_.hasFilesFolder)
                for (const std::string& name : inf_.programFiles)
                    if (!InFilesFolder(name))
                        notes.push_back("files\\" + name + ", listed in " + content_.infName +
                                        ", is not in the plugin's files folder.");
        }
        return doc;
    }

    // The shortcut names of the help page's start-menu lines, in slot order, when the page has
    // them for this menu group.
    std::optional<std::vector<std::string>> StartMenuShortcuts(const Choices& choice) const
    {
        const std::string_view intro = "<div>To run from Carrow, click on:</div> \r\n";
        std::string head = "<div><kbd>Start/Go</kbd> <kbd>Programs</kbd> ";
        if (!choice.menuGroup.empty()) {
            head += "<kbd>" + choice.menuGroup + "</kbd>";
            if (choice.subGroup)
                head += " <kbd>" + programName_ + "</kbd>";
        }
        head += " <kbd>";
        const std::string_view page = page_;
        const std::size_t footer = page.rfind("\r\n<hr>\r\n");
        if (footer == std::string_view::npos || footer < 6 || page.substr(footer - 6, 8) != "<br />\r\n")
            return std::nullopt;
        const std::size_t end = footer - 6;
        for (std::size_t at = page.rfind(intro, end); at != std::string_view::npos;
             at = at ? page.rfind(intro, at - 1) : at) {
            std::vector<std::string> shortcuts;
            std::size_t pos = at + intro.size();
            while (pos < end && page.substr(pos).starts_with(head)) {
                const std::size_t close = page.find("</kbd></div>\r\n", pos + head.size());
                if (close == std::string_view::npos || close >= end)
                    break;
                shortcuts.emplace_back(page.substr(pos + head.size(), close - pos - head.size()));
                pos = close + 14;
            }
            if (pos == end && !shortcuts.empty())
                return shortcuts;
            if (at == 0)
                break;
        }
        return std::nullopt;
    }

    // An executable the files show exists but never name: one of the program's own files that
    // is no executable yet (what it is called shows nowhere).
    std::string InventedExecutable(const std::vector<ExeRecord>& a, const std::vector<ExeRecord>& b) const
    {
        auto free = [&](const std::string& name) {
            auto taken = [&](const ExeRecord& r) { return SameName(r.exe, name); };
            return std::none_of(a.begin(), a.end(), taken) && std::none_of(b.begin(), b.end(), taken);
        };
        for (const std::string& name : inf_.programFiles)
            if (free(name))
                return name;
        for (const platform::FolderEntry& e : content_.filesFolder)
            if (!e.folder && !IsScriptName(e.name) && free(e.name))
                return e.name;
        for (int n = 1;; ++n)
            if (std::string name = "program" + std::to_string(n) + ".exe"; free(name))
                return name;
    }

    std::vector<std::string> Changed(const MadePlugin& plugin) const
    {
        const GeneratedPlugin made = plugin.Files();
        std::vector<std::string> changed;
        if (made.code != 0)
            changed.push_back(content_.infName);
        for (const auto& [name, bytes] : made.files) {
            const std::string* now = File(name);
            if (!now || *now != bytes)
                changed.push_back(name);
        }
        // What this plugin's writers made that would not be made again.
        std::vector<std::string> own = {content_.infName, pn_ + ".htm", pn_ + ".xml", pn_ + "_zelmenu.xml"};
        for (const std::string& s : inf_.ramdiskLines)
            own.push_back("files\\ramdisk_" + s + ".cmd");
        for (const std::string& s : inf_.autorunLines)
            own.push_back("files\\autorun_" + s + ".cmd");
        for (const std::string& name : own)
            if (File(name) && !made.files.count(name) &&
                std::find(changed.begin(), changed.end(), name) == changed.end())
                changed.push_back(name);
        return changed;
    }

    const PluginContent& content_;
    const clsKitwright* prefs_;  // none when only the created scripts are wanted
    const std::string plugins_;
    const std::string pn_;
    InfFacts inf_;
    MenuFacts menu_;
    Scripts scripts_;
    Destination dest_ = dstPrograms;
    std::string envFolder_, zelFolder_;
    ExeGraph graph_;
    std::vector<ExeRecord> scriptOnly_;
    std::string page_;                                // the help page, UTF-8
    mutable std::set<std::string> filesFolderNames_;  // upper case
    std::string programName_;                         // with the line breaks the help page shows
};

}  // namespace

bool HasVelmontSection(std::string_view bytes)
{
    for (std::size_t at = bytes.find("[Velmont]"); at != std::string_view::npos; at = bytes.find("[Velmont]", at + 1))
        if (at == 0 || bytes[at - 1] == '\n')
            return true;
    return false;
}

bool IsScriptName(std::string_view name)
{
    return name.size() > 12 && name.ends_with(".cmd") && (name.starts_with("ramdisk_") || name.starts_with("autorun_"));
}

Reconstruction Reconstruct(const PluginContent& content, const clsKitwright& preferences,
                           const std::string& pluginsFolder)
{
    return Rebuilder(content, &preferences, pluginsFolder).Run();
}

std::vector<std::string> CreatedScripts(const PluginContent& content)
{
    return Rebuilder(content, nullptr, {}).Created();
}

}  // namespace pluginparse
}  // namespace kw
