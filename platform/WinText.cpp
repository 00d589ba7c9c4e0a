#include "WinText.h"

#include "Utf.h"

namespace kw {

std::wstring Widen(std::string_view utf8) { return utf::Utf8ToUtf16<wchar_t>(utf8); }

std::string Narrow(std::wstring_view utf16) { return utf::Utf16ToUtf8(utf16); }

}  // namespace kw
