#pragma once
// Shared by the fuzz targets: a property check that stops the run, a prompt that answers
// without a window, a private temporary folder, and the profile rules as plain code.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"
#include "platform/Utf.h"

namespace kwfuzz {

namespace fs = std::filesystem;

// A broken property is a finding: print it and abort, so libFuzzer keeps the input.
#define KW_CHECK(cond)                                                                        \
    do {                                                                                      \
        if (!(cond)) {                                                                        \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__); \
            std::abort();                                                                     \
        }                                                                                     \
    } while (0)

class QuietPrompt final : public kw::platform::iPrompt {
public:
    int Show(kw::NativeHandle, std::string_view, std::string_view, unsigned) override { return kw::platform::kIdOk; }
};

// One folder per fuzzing process, removed at exit.
inline const fs::path& Scratch()
{
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / ("kwfuzz-" + std::to_string(getpid()));
        fs::remove_all(d);
        fs::create_directories(d);
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(fs::temp_directory_path() / ("kwfuzz-" + std::to_string(getpid())), ec);
        });
        return d;
    }();
    return dir;
}

// The model speaks in "\" paths; the POSIX platform maps them.
inline std::string ModelPath(const fs::path& p)
{
    std::string s = p.string();
    for (char& c : s)
        if (c == '/')
            c = '\\';
    return s;
}

inline std::string ReadAll(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteAll(const fs::path& p, std::string_view bytes)
{
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Lines of a text ended by CR LF (the last one too).
inline std::vector<std::string> CrLfLines(std::string_view text)
{
    std::vector<std::string> lines;
    while (!text.empty()) {
        std::size_t end = text.find("\r\n");
        KW_CHECK(end != std::string_view::npos);
        lines.emplace_back(text.substr(0, end));
        text.remove_prefix(end + 2);
    }
    return lines;
}

// ---- The profile rules, written out independently of the reader ------------------------

inline bool ProfileBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == 0x1A;
}

inline std::string ProfileTrim(std::string_view s)
{
    while (!s.empty() && ProfileBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && ProfileBlank(s.back()))
        s.remove_suffix(1);
    return std::string(s);
}

// Files that start with a byte-order mark are read and written in UTF-16 LE or UTF-8.
inline bool UnicodeFile(std::string_view bytes)
{
    while (!bytes.empty() && ProfileBlank(bytes.front()))
        bytes.remove_prefix(1);
    return bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xEF\xBB\xBF");
}

// A serialized document as UTF-8 text without its mark, for comparing lines.
inline std::string PlainText(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return std::string(bytes.substr(3));
    if (!bytes.starts_with("\xFF\xFE"))
        return std::string(bytes);
    return kw::utf::Utf16LeToUtf8(bytes.substr(2));
}

// What a value set now reads back as: trimmed, one line, through the code page (none in a
// Unicode file), one pair of enclosing quotes dropped.
inline std::string ExpectedValue(std::string_view utf8, bool unicodeFile = false)
{
    std::string s = ProfileTrim(utf8);
    for (char& c : s)
        if (c == '\r' || c == '\n')
            c = ' ';
    if (!unicodeFile)
        s = kw::platform::FromAnsi(kw::platform::ToAnsi(s));
    if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front())
        s = s.substr(1, s.size() - 2);
    return s;
}

// A name the profile format can hold as a key: not empty, no '=', not taken for a comment
// or a section header. The program's own keys are all of this kind.
inline bool UsableKey(std::string_view utf8)
{
    std::string k = ProfileTrim(utf8);
    return !k.empty() && k.find_first_of("=\r\n") == std::string::npos && k.front() != ';' && k.front() != '[';
}

}  // namespace kwfuzz
