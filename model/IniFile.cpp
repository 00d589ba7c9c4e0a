#include "IniFile.h"

#include <algorithm>

#include "platform/Platform.h"

namespace kw::ini {

namespace {

// The profile API's idea of a blank (0x1A is the old end-of-file mark).
bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == 0x1A;
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool SameName(std::string_view ansiName, std::string_view utf8Name)
{
    return platform::UpperCase(platform::FromAnsi(ansiName)) == platform::UpperCase(Trim(utf8Name));
}

// A line break inside a value would turn the rest into lines of their own.
std::string OneLine(std::string_view utf8)
{
    std::string s(Trim(utf8));
    std::replace_if(s.begin(), s.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return platform::ToAnsi(s);
}

std::string Unquote(std::string_view v)
{
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return std::string(v);
}

}  // namespace

Document Document::Parse(std::string_view ansi)
{
    Document doc;
    doc.sections_.push_back(Section{});
    while (!ansi.empty()) {
        std::size_t eol = ansi.find('\n');
        std::string_view line = Trim(ansi.substr(0, eol));
        ansi.remove_prefix(eol == std::string_view::npos ? ansi.size() : eol + 1);
        if (line.empty())
            continue;
        if (line.front() == '[') {
            std::size_t close = line.rfind(']');
            if (close != std::string_view::npos && close > 0) {
                doc.sections_.push_back(Section{std::string(Trim(line.substr(1, close - 1))), {}});
                continue;
            }
        }
        Section& current = doc.sections_.back();
        std::size_t eq = line.front() == ';' ? std::string_view::npos : line.find('=');
        if (eq == std::string_view::npos)
            current.lines.push_back(Line{std::string(line), std::nullopt});
        else
            current.lines.push_back(Line{std::string(Trim(line.substr(0, eq))), std::string(Trim(line.substr(eq + 1)))});
    }
    if (doc.sections_.front().lines.empty())
        doc.sections_.erase(doc.sections_.begin());
    return doc;
}

std::string Document::Serialize() const
{
    std::string out;
    for (const Section& s : sections_) {
        if (s.name)
            out += "[" + *s.name + "]\r\n";
        for (const Line& l : s.lines) {
            out += l.name;
            if (l.value)
                out += "=" + *l.value;
            out += "\r\n";
        }
    }
    return out;
}

Document::Section* Document::Find(std::string_view section)
{
    for (Section& s : sections_)
        if (s.name && SameName(*s.name, section))
            return &s;
    return nullptr;
}

const Document::Section* Document::Find(std::string_view section) const
{
    return const_cast<Document*>(this)->Find(section);
}

bool Document::Get(std::string_view section, std::string_view key, std::string& value) const
{
    const Section* s = Find(section);
    if (!s)
        return false;
    for (const Line& l : s->lines) {
        if (!l.name.empty() && l.name.front() != ';' && SameName(l.name, key)) {
            value = l.value ? platform::FromAnsi(Unquote(*l.value)) : std::string();
            return true;
        }
    }
    return false;
}

void Document::Set(std::string_view section, std::string_view key, std::string_view value)
{
    Section* s = Find(section);
    if (!s) {
        sections_.push_back(Section{OneLine(section), {}});
        s = &sections_.back();
    }
    for (Line& l : s->lines) {
        if (!l.name.empty() && l.name.front() != ';' && SameName(l.name, key)) {
            l.value = OneLine(value);
            return;
        }
    }
    s->lines.push_back(Line{OneLine(key), OneLine(value)});
}

void Document::RemoveKey(std::string_view section, std::string_view key)
{
    Section* s = Find(section);
    if (!s)
        return;
    auto it = std::find_if(s->lines.begin(), s->lines.end(), [&](const Line& l) {
        return !l.name.empty() && l.name.front() != ';' && SameName(l.name, key);
    });
    if (it != s->lines.end())
        s->lines.erase(it);
}

void Document::RemoveSection(std::string_view section)
{
    std::erase_if(sections_, [&](const Section& s) { return s.name && SameName(*s.name, section); });
}

std::string Read(const std::string& path, std::string_view section, std::string_view key)
{
    std::string bytes;
    std::string value;
    if (platform::ReadFileBytes(path, bytes))
        Document::Parse(bytes).Get(section, key, value);
    return value;
}

unsigned long Write(const std::string& path, std::string_view section, const char* key, const char* value)
{
    std::string bytes;
    // A file that exists but cannot be read is left alone rather than replaced by one key.
    if (!platform::ReadFileBytes(path, bytes) && platform::PathExists(path))
        return 5;
    Document doc = Document::Parse(bytes);
    if (!key)
        doc.RemoveSection(section);
    else if (!value)
        doc.RemoveKey(section, key);
    else
        doc.Set(section, key, value);
    return platform::RewriteFile(path, doc.Serialize());
}

}  // namespace kw::ini
