#pragma once
// The one UTF-8 <-> UTF-16 conversion of the program, portable, used by both builds: for
// wide Win32 strings, for UTF-16 LE files and for the ANSI code page of the POSIX build.
//
// An invalid UTF-8 byte (also in an overlong form, a surrogate or a value past U+10FFFF:
// an overlong form would smuggle a line break or '=' past every check on the text) reads
// as U+FFFD and the decoder moves on by one byte; a lone UTF-16 surrogate reads as U+FFFD.
// Embedded NULs are kept.
#include <cstddef>
#include <string>
#include <string_view>

namespace kw::utf {

inline constexpr char32_t kReplacement = 0xFFFD;

// Decodes the code point at pos and moves pos past it.
char32_t DecodeUtf8(std::string_view utf8, std::size_t& pos);
void AppendUtf8(std::string& out, char32_t cp);
bool IsValidUtf8(std::string_view text);

// UTF-16 code units in a string of any 16-bit or wider character type (char16_t; wchar_t
// for wide Win32 strings).
template <class Unit>
std::basic_string<Unit> Utf8ToUtf16(std::string_view utf8);
template <class Unit>
std::string Utf16ToUtf8(std::basic_string_view<Unit> units);

// UTF-16 LE as stored in a file, without its mark; an odd last byte reads as U+FFFD.
std::string Utf8ToUtf16Le(std::string_view utf8);
std::string Utf16LeToUtf8(std::string_view bytes);

}  // namespace kw::utf
