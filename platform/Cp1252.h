#pragma once
// UTF-8 <-> Windows-1252, the ANSI code page of the POSIX build.
#include <string>
#include <string_view>

namespace kw::cp1252 {

std::string FromUtf8(std::string_view utf8);   // unmappable characters become '?'
std::string ToUtf8(std::string_view bytes);
// Decodes one code point at pos (advancing it); invalid bytes give U+FFFD.
char32_t DecodeUtf8(std::string_view text, size_t& pos);
void AppendUtf8(std::string& out, char32_t cp);

}  // namespace kw::cp1252
