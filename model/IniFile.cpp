#include "IniFile.h"

#include <algorithm>
#include <utility>

#include "platform/Platform.h"
#include "platform/Utf.h"

namespace kw::ini {

namespace {

// The profile API's idea of a blank (0x1A is the old end-of-file mark).
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == 0x1A; }

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16Bom = "\xFF\xFE";

// Comment lines (and empty names) are never keys.
bool IsKey(std::string_view name) { return !name.empty() && name.front() != ';'; }

std::string Unquote(std::string_view v)
{
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return std::string(v);
}

}  // namespace

std::string Document::ToFileText(std::string_view utf8) const
{
    // In a Unicode file an invalid sequence is stored as U+FFFD, as it will read back.
    return encoding_ == Encoding::Ansi ? platform::ToAnsi(utf8) : utf::Utf16LeToUtf8(utf::Utf8ToUtf16Le(utf8));
}

std::string Document::FromFileText(std::string_view text) const
{
    return encoding_ == Encoding::Ansi ? platform::FromAnsi(text) : std::string(text);
}

// A line break inside a value would turn the rest into lines of their own.
std::string Document::OneLine(std::string_view utf8) const
{
    std::string s(Trim(utf8));
    std::replace_if(
        s.begin(), s.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return ToFileText(s);
}

// A name is looked up as it would be stored: a character the code page cannot hold must
// not make a name miss the section or key that a write under that name made.
std::string Document::StoredFold(std::string_view fileName) const
{
    return platform::UpperCase(FromFileText(fileName));
}

std::string Document::WantedFold(std::string_view utf8Name) const { return StoredFold(OneLine(utf8Name)); }

Document Document::Parse(std::string_view bytes)
{
    Document doc;
    std::string unicode;
    // Blank lines before the mark are dropped by any rewrite, which would then put the mark
    // first: look past them so that a rewritten file reads the same.
    std::size_t lead = 0;
    while (lead < bytes.size() && IsBlank(bytes[lead]))
        ++lead;
    if (bytes.substr(lead).starts_with(kUtf16Bom) || bytes.substr(lead).starts_with(kUtf8Bom))
        bytes.remove_prefix(lead);
    if (bytes.starts_with(kUtf16Bom)) {
        doc.encoding_ = Encoding::Utf16;
        unicode = utf::Utf16LeToUtf8(bytes.substr(kUtf16Bom.size()));
        bytes = unicode;
    } else if (bytes.starts_with(kUtf8Bom)) {
        doc.encoding_ = Encoding::Utf8;
        bytes.remove_prefix(kUtf8Bom.size());
    }
    std::string_view ansi = bytes;
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
                doc.sections_.emplace_back().name = std::string(Trim(line.substr(1, close - 1)));
                continue;
            }
        }
        Section& current = doc.sections_.back();
        std::size_t eq = line.front() == ';' ? std::string_view::npos : line.find('=');
        if (eq == std::string_view::npos)
            current.lines.push_back(Line{std::string(line), std::nullopt});
        else
            current.lines.push_back(
                Line{std::string(Trim(line.substr(0, eq))), std::string(Trim(line.substr(eq + 1)))});
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
    switch (encoding_) {
    case Encoding::Utf8: return std::string(kUtf8Bom) + out;
    case Encoding::Utf16: return std::string(kUtf16Bom) + utf::Utf8ToUtf16Le(out);
    case Encoding::Ansi: break;
    }
    return out;
}

Document::Section* Document::Find(std::string_view section)
{
    return const_cast<Section*>(std::as_const(*this).Find(section));
}

const Document::Section* Document::Find(std::string_view section) const
{
    if (!sectionsIndexed_) {
        sectionIndex_.clear();
        for (std::size_t i = 0; i < sections_.size(); ++i)
            if (sections_[i].name)
                sectionIndex_.emplace(StoredFold(*sections_[i].name), i);  // the first keeps the name
        sectionsIndexed_ = true;
    }
    auto it = sectionIndex_.find(WantedFold(section));
    return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

std::optional<std::size_t> Document::FindKey(const Section& section, std::string_view key) const
{
    if (!section.indexed) {
        section.keys.clear();
        for (std::size_t i = 0; i < section.lines.size(); ++i)
            if (IsKey(section.lines[i].name))
                section.keys.emplace(StoredFold(section.lines[i].name), i);
        section.indexed = true;
    }
    auto it = section.keys.find(WantedFold(key));
    return it == section.keys.end() ? std::nullopt : std::optional<std::size_t>(it->second);
}

bool Document::Get(std::string_view section, std::string_view key, std::string& value) const
{
    const Section* s = Find(section);
    if (!s)
        return false;
    const std::optional<std::size_t> line = FindKey(*s, key);
    if (!line)
        return false;
    const Line& l = s->lines[*line];
    value = l.value ? FromFileText(Unquote(*l.value)) : std::string();
    return true;
}

void Document::Set(std::string_view section, std::string_view key, std::string_view value)
{
    Section* s = Find(section);
    if (!s) {
        s = &sections_.emplace_back();
        s->name = OneLine(section);
        sectionIndex_.emplace(StoredFold(*s->name), sections_.size() - 1);
    }
    if (const std::optional<std::size_t> line = FindKey(*s, key)) {
        s->lines[*line].value = OneLine(value);
        return;
    }
    s->lines.push_back(Line{OneLine(key), OneLine(value)});
    s->keys.emplace(StoredFold(s->lines.back().name), s->lines.size() - 1);
}

void Document::RemoveKey(std::string_view section, std::string_view key)
{
    Section* s = Find(section);
    if (!s || !FindKey(*s, key))
        return;
    // Every line of the key goes: a hand-made twin would otherwise come back on the next read.
    const std::string fold = WantedFold(key);
    std::erase_if(s->lines, [&](const Line& l) { return IsKey(l.name) && StoredFold(l.name) == fold; });
    s->indexed = false;
}

void Document::RemoveSection(std::string_view section)
{
    const std::string fold = WantedFold(section);
    std::erase_if(sections_, [&](const Section& s) { return s.name && StoredFold(*s.name) == fold; });
    sectionsIndexed_ = false;
}

void Document::Write(std::string_view section, const char* key, const char* value)
{
    if (!key)
        RemoveSection(section);
    else if (!value)
        RemoveKey(section, key);
    else
        Set(section, key, value);
}

unsigned long Write(const std::string& path, std::string_view section, const char* key, const char* value)
{
    std::string bytes;
    const bool read = platform::ReadFileBytes(path, bytes);
    // A file that exists but cannot be read is left alone rather than replaced by one key.
    if (!read && platform::PathExists(path))
        return 5;
    Document doc = Document::Parse(bytes);
    doc.Write(section, key, value);
    std::string updated = doc.Serialize();
    // The window stores every setting it shows, mostly unchanged: a rewrite then is wasted.
    if (read && updated == bytes)
        return 0;
    return platform::RewriteFile(path, updated);
}

}  // namespace kw::ini
