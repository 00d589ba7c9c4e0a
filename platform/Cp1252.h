#pragma once
// UTF-8 <-> Windows-1252, the ANSI code page of the POSIX build.
#include <string>
#include <string_view>

namespace kw::cp1252 {

std::string FromUtf8(std::string_view utf8);  // unmappable characters become '?'
std::string ToUtf8(std::string_view bytes);

}  // namespace kw::cp1252
