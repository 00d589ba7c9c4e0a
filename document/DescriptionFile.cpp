#include "DescriptionFile.h"

#include <charconv>
#include <optional>
#include <set>
#include <vector>

#include "platform/Platform.h"

namespace kw {

namespace {

constexpr const char* kHexDigits = "0123456789ABCDEF";

// Length of the well-formed UTF-8 sequence at i, or 0.
std::size_t Utf8Sequence(std::string_view s, std::size_t i)
{
    const unsigned char b = static_cast<unsigned char>(s[i]);
    const std::size_t n = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
    if (n == 0 || i + n > s.size())
        return 0;
    char32_t cp = n == 1 ? b : b & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k) {
        const unsigned char c = static_cast<unsigned char>(s[i + k]);
        if ((c & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    static const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < least[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n;
}

// A value on one line: control characters, '%', bytes that are not UTF-8 and blanks at
// either end (which editors drop) are written as %XX.
std::string Escape(std::string_view value)
{
    std::string out;
    out.reserve(value.size());
    auto hex = [&](unsigned char c) {
        out += '%';
        out += kHexDigits[c >> 4];
        out += kHexDigits[c & 15];
    };
    for (std::size_t i = 0; i < value.size();) {
        const unsigned char c = static_cast<unsigned char>(value[i]);
        const bool edge = i == 0 || i + 1 == value.size();
        const bool escaped = c < 0x20 || c == 0x7F || c == '%' || (c == ' ' && edge);
        if (std::size_t n = escaped ? 0 : Utf8Sequence(value, i)) {
            out.append(value.substr(i, n));
            i += n;
        } else {
            hex(c);
            ++i;
        }
    }
    return out;
}

std::optional<std::string> Unescape(std::string_view text)
{
    auto digit = [](char c) {
        return c >= '0' && c <= '9'   ? c - '0'
               : c >= 'A' && c <= 'F' ? c - 'A' + 10
               : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                      : -1;
    };
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size() || digit(text[i + 1]) < 0 || digit(text[i + 2]) < 0)
            return std::nullopt;
        out += static_cast<char>(digit(text[i + 1]) * 16 + digit(text[i + 2]));
        i += 2;
    }
    return out;
}

bool IsAbsolute(std::string_view path)
{
    return path.starts_with('\\') || path.starts_with('/') ||
           (path.size() >= 2 && path[1] == ':' &&
            ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')));
}

std::string WithBackslash(std::string folder)
{
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    return folder;
}

// A path below the folder, relative to it; any other path as it is.
std::string Relative(const std::string& path, const std::string& base)
{
    if (base.empty() || !path.starts_with(base))
        return path;
    if (path.size() == base.size())
        return ".\\";
    std::string rel = path.substr(base.size());
    // Whatever would read back as another path stays whole.
    if (IsAbsolute(rel) || rel == "." || rel.starts_with(".\\"))
        return path;
    return rel;
}

std::string Resolved(const std::string& stored, const std::string& base)
{
    if (stored.empty() || IsAbsolute(stored))
        return stored;
    if (stored == "." || stored == ".\\")
        return base;
    return base + (stored.starts_with(".\\") ? stored.substr(2) : stored);
}

const char* CopyModeWord(kw::CopyOption option)
{
    switch (option) {
    case coIndividualFiles: return "Files";
    case coFolderTree: return "FolderTree";
    }
    return nullptr;
}

const char* DestinationWord(Destination destination)
{
    switch (destination) {
    case dstPrograms: return "Programs";
    case dstWindows: return "Windows";
    case dstSystem32: return "System32";
    }
    return nullptr;
}

class Writer {
public:
    void Section(const std::string& name)
    {
        if (!text_.empty())
            text_ += "\r\n";
        text_ += "[" + name + "]\r\n";
    }
    void Value(const char* key, std::string_view value) { text_ += std::string(key) + "=" + Escape(value) + "\r\n"; }
    void Number(const char* key, int value) { Value(key, std::to_string(value)); }
    void Comment(const char* text) { text_ += std::string("; ") + text + "\r\n"; }
    std::string Text() && { return std::move(text_); }

private:
    std::string text_;
};

bool SameWord(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 32);
        if (x != y)
            return false;
    }
    return true;
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

std::optional<int> Integer(std::string_view text)
{
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

// The text's lines without their CR LF or LF.
std::vector<std::string_view> Lines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

// A damaged file stops the reading at its first fault.
struct Damage {
    std::size_t line;
    std::string what;
};

class Reader {
public:
    Reader(std::string base) : base_(std::move(base)) {}

    // Throws Damage.
    PluginDocument Read(const std::vector<std::string_view>& lines)
    {
        for (std::size_t n = 0; n < lines.size(); ++n) {
            line_ = n + 1;
            const std::string_view line = Trim(lines[n]);
            if (line.empty() || line.front() == ';' || line.front() == '#')
                continue;
            if (line.front() == '[') {
                if (line.back() != ']')
                    Fail("a section name without its closing \"]\"");
                StartSection(Trim(line.substr(1, line.size() - 2)));
                continue;
            }
            const std::size_t eq = line.find('=');
            if (eq == std::string_view::npos)
                Fail("a line that is neither a section name nor a value");
            std::optional<std::string> value = Unescape(Trim(line.substr(eq + 1)));
            if (!value)
                Fail("a \"%\" that is not followed by two hexadecimal digits");
            Take(Trim(line.substr(0, eq)), *value);
        }
        if (!formatSeen_)
            Fail("no format version", 1);
        return doc_;
    }

private:
    enum class Section { None, Kitwright, Information, ProgramFiles, SystemFiles, Executables, Executable };

    [[noreturn]] void Fail(const std::string& what, std::size_t line = 0) const
    {
        throw Damage{line ? line : line_, what};
    }

    void StartSection(std::string_view name)
    {
        std::string key(name);
        for (char& c : key)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 32);
        if (!seenSections_.insert(key).second)
            Fail("the section [" + std::string(name) + "] a second time");
        seenKeys_.clear();
        if (section_ == Section::None && !SameWord(name, "Kitwright"))
            Fail("[" + std::string(name) + "] where [Kitwright] must come first");
        if (SameWord(name, "Kitwright"))
            section_ = Section::Kitwright;
        else if (SameWord(name, "Information"))
            section_ = Section::Information;
        else if (SameWord(name, "Program Files"))
            section_ = Section::ProgramFiles;
        else if (SameWord(name, "System Files"))
            section_ = Section::SystemFiles;
        else if (SameWord(name, "Executables"))
            section_ = Section::Executables;
        else if (name.size() > 11 && SameWord(name.substr(0, 11), "Executable ")) {
            std::optional<int> slot = Integer(name.substr(11));
            if (!slot || *slot < 0 || *slot >= PluginDocument::kSlots)
                Fail("[" + std::string(name) + "]: executables are numbered 0 to 9");
            section_ = Section::Executable;
            slot_ = &doc_.Executables[static_cast<std::size_t>(*slot)];
        } else {
            Fail("the unknown section [" + std::string(name) + "]");
        }
        if (section_ != Section::Kitwright && !formatSeen_)
            Fail("no format version before [" + std::string(name) + "]");
    }

    void Take(std::string_view key, const std::string& value)
    {
        if (section_ == Section::None)
            Fail("a value before the first section");
        const bool repeatable =
            SameWord(key, "File") && (section_ == Section::ProgramFiles || section_ == Section::SystemFiles);
        std::string folded(key);
        for (char& c : folded)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 32);
        if (!repeatable && !seenKeys_.insert(folded).second)
            Fail("\"" + std::string(key) + "\" a second time in its section");
        if (!Known(key, value))
            Fail("the unknown name \"" + std::string(key) + "\"");
    }

    int Number(std::string_view key, const std::string& value) const
    {
        std::optional<int> n = Integer(value);
        if (!n)
            Fail("\"" + std::string(key) + "\" must be a whole number");
        return *n;
    }

    CheckValue Check(std::string_view key, const std::string& value) const { return CheckValue(Number(key, value)); }

    Destination Place(std::string_view key, const std::string& value) const
    {
        for (Destination d : {dstPrograms, dstWindows, dstSystem32})
            if (SameWord(value, DestinationWord(d)))
                return d;
        if (std::optional<int> n = Integer(value))
            return Destination(*n);
        Fail("\"" + std::string(key) + "\" must be Programs, Windows or System32");
    }

    bool Known(std::string_view key, const std::string& value)
    {
        switch (section_) {
        case Section::Kitwright:
            if (!SameWord(key, "Format"))
                return false;
            formatSeen_ = true;
            if (Number(key, value) < 1)
                Fail("the format version " + value);
            return true;
        case Section::Information:
            if (SameWord(key, "PluginName"))
                doc_.PluginName = value;
            else if (SameWord(key, "ProgramName"))
                doc_.ProgramName = value;
            else if (SameWord(key, "ProgramWebsite"))
                doc_.ProgramWebsite = value;
            else if (SameWord(key, "Description"))
                doc_.Description = value;
            else if (SameWord(key, "IncludeAuthor"))
                doc_.IncAuthor = Check(key, value);
            else
                return false;
            return true;
        case Section::ProgramFiles:
            if (SameWord(key, "CopyMode")) {
                if (SameWord(value, "Files"))
                    doc_.CopyOption = coIndividualFiles;
                else if (SameWord(value, "FolderTree"))
                    doc_.CopyOption = coFolderTree;
                else if (std::optional<int> n = Integer(value))
                    doc_.CopyOption = kw::CopyOption(*n);
                else
                    Fail("\"CopyMode\" must be Files or FolderTree");
            } else if (SameWord(key, "Destination")) {
                doc_.ProgramFilesDest = Place(key, value);
            } else if (SameWord(key, "Folder")) {
                doc_.ProgramFolder = Resolved(value, base_);
                if (!doc_.ProgramFolder.empty())
                    doc_.ProgramFolder = WithBackslash(doc_.ProgramFolder);
            } else if (SameWord(key, "File")) {
                if (!value.empty())
                    doc_.ProgramFiles.push_back(Resolved(value, base_));
            } else {
                return false;
            }
            return true;
        case Section::SystemFiles:
            if (SameWord(key, "Destination"))
                doc_.SystemFilesDest = Place(key, value);
            else if (SameWord(key, "File")) {
                if (!value.empty())
                    doc_.SystemFiles.push_back(value);
            } else
                return false;
            return true;
        case Section::Executables:
            if (SameWord(key, "ZelMenu"))
                doc_.IncZelMenu = Check(key, value);
            else if (SameWord(key, "JuxMenu"))
                doc_.IncJuxMenu = Check(key, value);
            else if (SameWord(key, "MenuGroup"))
                doc_.MenuGroup = value;
            else if (SameWord(key, "SubGroup"))
                doc_.IncSubGroup = Number(key, value) != 0;
            else
                return false;
            return true;
        case Section::Executable:
            if (SameWord(key, "Path"))
                slot_->Path = Resolved(value, base_);
            else if (SameWord(key, "ShortcutName"))
                slot_->ShortcutName = value;
            else if (SameWord(key, "Ramdisk"))
                slot_->IncRamdisk = Check(key, value);
            else if (SameWord(key, "Autorun"))
                slot_->IncAutorun = Check(key, value);
            else if (SameWord(key, "JuxDesktop"))
                slot_->IncJuxDesktop = Check(key, value);
            else if (SameWord(key, "JuxQuickLaunch"))
                slot_->IncJuxQlaunch = Check(key, value);
            else
                return false;
            return true;
        case Section::None: break;
        }
        return false;
    }

    std::string base_;
    PluginDocument doc_;
    Section section_ = Section::None;
    DocumentExecutable* slot_ = nullptr;
    std::set<std::string> seenSections_, seenKeys_;
    bool formatSeen_ = false;
    std::size_t line_ = 0;
};

// The format version the file declares, looked for before anything else is judged, so that
// a newer file is told apart from a damaged one.
std::optional<int> DeclaredFormat(const std::vector<std::string_view>& lines)
{
    bool inHeader = false;
    for (std::string_view raw : lines) {
        const std::string_view line = Trim(raw);
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            if (inHeader)
                return std::nullopt;
            inHeader = SameWord(line, "[Kitwright]");
            if (!inHeader)
                return std::nullopt;
            continue;
        }
        const std::size_t eq = line.find('=');
        if (inHeader && eq != std::string_view::npos && SameWord(Trim(line.substr(0, eq)), "Format"))
            return Integer(Trim(line.substr(eq + 1)));
    }
    return std::nullopt;
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

std::string FormatDescription(const PluginDocument& doc, const std::string& folder)
{
    const std::string base = WithBackslash(folder);
    Writer w;
    w.Comment("Kitwright plugin description: UTF-8 text, one value per line; %XX stands for a byte");
    w.Comment("a line cannot hold as it is; a path without a drive is relative to this file's folder.");
    w.Section("Kitwright");
    w.Number("Format", kDescriptionFormat);

    w.Section("Information");
    w.Value("PluginName", doc.PluginName);
    w.Value("ProgramName", doc.ProgramName);
    w.Value("ProgramWebsite", doc.ProgramWebsite);
    w.Value("Description", doc.Description);
    w.Number("IncludeAuthor", doc.IncAuthor);

    auto place = [](Destination d) { return DestinationWord(d) ? std::string(DestinationWord(d)) : std::to_string(d); };
    w.Section("Program Files");
    w.Value("CopyMode", CopyModeWord(doc.CopyOption) ? CopyModeWord(doc.CopyOption) : std::to_string(doc.CopyOption));
    w.Value("Destination", place(doc.ProgramFilesDest));
    w.Value("Folder", doc.ProgramFolder.empty() ? std::string() : Relative(doc.ProgramFolder, base));
    for (const std::string& file : doc.ProgramFiles)
        w.Value("File", Relative(file, base));

    w.Section("System Files");
    w.Value("Destination", place(doc.SystemFilesDest));
    for (const std::string& name : doc.SystemFiles)
        w.Value("File", name);

    w.Section("Executables");
    w.Number("ZelMenu", doc.IncZelMenu);
    w.Number("JuxMenu", doc.IncJuxMenu);
    w.Value("MenuGroup", doc.MenuGroup);
    w.Number("SubGroup", doc.IncSubGroup ? 1 : 0);
    for (int i = 0; i < PluginDocument::kSlots; ++i) {
        const DocumentExecutable& e = doc.Executables[static_cast<std::size_t>(i)];
        if (e.IsBlank())
            continue;
        w.Section("Executable " + std::to_string(i));
        w.Value("Path", Relative(e.Path, base));
        w.Value("ShortcutName", e.ShortcutName);
        w.Number("Ramdisk", e.IncRamdisk);
        w.Number("Autorun", e.IncAutorun);
        w.Number("JuxDesktop", e.IncJuxDesktop);
        w.Number("JuxQuickLaunch", e.IncJuxQlaunch);
    }
    return std::move(w).Text();
}

DescriptionReading ParseDescription(std::string_view text, const std::string& folder, const std::string& name)
{
    DescriptionReading result;
    const std::string quoted = "\"" + name + "\"";
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    const std::vector<std::string_view> lines = Lines(text);
    if (std::optional<int> format = DeclaredFormat(lines); format && *format > kDescriptionFormat) {
        result.newer = true;
        result.message = quoted + " was saved by a newer version of Kitwright (description format " +
                         std::to_string(*format) + "). This version opens format " +
                         std::to_string(kDescriptionFormat) + " only.";
        return result;
    }
    try {
        for (std::size_t n = 0; n < lines.size(); ++n)
            for (std::size_t i = 0; i < lines[n].size();) {
                const std::size_t length = Utf8Sequence(lines[n], i);
                if (length == 0 || lines[n][i] == '\0')
                    throw Damage{n + 1, "bytes that are not UTF-8 text"};
                i += length;
            }
        result.document = Reader(WithBackslash(folder)).Read(lines);
        result.ok = true;
    } catch (const Damage& d) {
        result.message = quoted + " is not a Kitwright description, or it is damaged (line " + std::to_string(d.line) +
                         ": " + d.what + ").";
    }
    return result;
}

DescriptionReading LoadDescription(const std::string& path)
{
    std::string bytes;
    if (!platform::ReadFileBytes(path, bytes)) {
        DescriptionReading result;
        result.message = "\"" + path + "\" " + (platform::PathExists(path) ? "could not be read." : "does not exist.");
        return result;
    }
    return ParseDescription(bytes, FolderOf(path), path);
}

DescriptionSaving SaveDescription(const PluginDocument& doc, const std::string& path)
{
    DescriptionSaving result;
    std::string reason;
    result.code = platform::WriteFileWhole(path, FormatDescription(doc, FolderOf(path)), &reason);
    if (result.code != 0)
        result.message = "\"" + path + "\" could not be saved: " + reason;
    return result;
}

}  // namespace kw
