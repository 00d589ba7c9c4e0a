#pragma once
// UTF-8 <-> UTF-16 at Win32 calls (Windows only). Embedded NULs are kept, so shell path
// lists survive the conversion.
#include <string>
#include <string_view>

namespace kw {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace kw
