#pragma once
// Our own reader and writer of Kitwright.ini, with the conventions of the Windows profile
// API: names compared case-insensitively, blanks around names and values trimmed, one pair
// of enclosing quotes dropped on reading, CR LF lines, no blank lines, ';' comments kept,
// new sections and keys appended at the end. The file is in the ANSI code page, or, when it
// starts with a byte-order mark, in UTF-16 LE or UTF-8, and a rewrite keeps its encoding (as
// the profile API does); the interface speaks UTF-8.
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kw::ini {

class Document {
public:
    // Never fails: whatever the bytes are, they give some document.
    static Document Parse(std::string_view bytes);
    std::string Serialize() const;

    // False when the section or key is missing; a key line without '=' reads as empty.
    bool Get(std::string_view section, std::string_view key, std::string& value) const;
    void Set(std::string_view section, std::string_view key, std::string_view value);
    void RemoveKey(std::string_view section, std::string_view key);
    void RemoveSection(std::string_view section);
    // What one profile write does: no key removes the section, no value removes the key.
    void Write(std::string_view section, const char* key, const char* value);

    bool operator==(const Document& other) const
    {
        return encoding_ == other.encoding_ && sections_ == other.sections_;
    }

private:
    enum class Encoding { Ansi, Utf8, Utf16 };  // the last two with their byte-order mark

    std::string ToFileText(std::string_view utf8) const;
    std::string FromFileText(std::string_view text) const;
    std::string OneLine(std::string_view utf8) const;
    // Names compare by these folds: of a name as the file holds it, and of a name asked for.
    std::string StoredFold(std::string_view fileName) const;
    std::string WantedFold(std::string_view utf8Name) const;

    // Names and values are kept as the file's bytes, so untouched lines survive a rewrite.
    struct Line {
        std::string name;                  // the whole line for a comment
        std::optional<std::string> value;  // none: a line without '='
        bool operator==(const Line&) const = default;
    };
    struct Section {
        std::optional<std::string> name;  // none: lines above the first header
        std::vector<Line> lines;
        // The first line of each key by its fold, made on the first lookup: a file of many
        // keys is not searched line by line for each one.
        mutable std::unordered_map<std::string, std::size_t> keys;
        mutable bool indexed = false;
        bool operator==(const Section& other) const { return name == other.name && lines == other.lines; }
    };
    Section* Find(std::string_view section);
    const Section* Find(std::string_view section) const;
    // The position of the key's first line in the section, or none.
    std::optional<std::size_t> FindKey(const Section& section, std::string_view key) const;

    Encoding encoding_ = Encoding::Ansi;
    std::vector<Section> sections_;  // in UTF-8 when the file is in a Unicode encoding
    // The first section of each name by its fold, made on the first lookup.
    mutable std::unordered_map<std::string, std::size_t> sectionIndex_;
    mutable bool sectionsIndexed_ = false;
};

// One profile-style write: a null key removes the section, a null value removes the key.
// Returns 0 or the platform's error code.
unsigned long Write(const std::string& path, std::string_view section, const char* key, const char* value);

}  // namespace kw::ini
