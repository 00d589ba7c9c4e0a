#include "Utf.h"

namespace kw::utf {

namespace {

template <class Unit>
void AppendUtf16(std::basic_string<Unit>& out, char32_t cp)
{
    if (cp >= 0x10000) {
        out += static_cast<Unit>(0xD800 + ((cp - 0x10000) >> 10));
        out += static_cast<Unit>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
        out += static_cast<Unit>(cp);
    }
}

// Walks UTF-16 units: unit(i) gives the unit at i, count how many there are.
template <class UnitAt>
std::string FromUnits(std::size_t count, UnitAt unit)
{
    std::string out;
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        char32_t cp = unit(i);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < count && unit(i + 1) >= 0xDC00 && unit(i + 1) <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (unit(i + 1) - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = kReplacement;
        }
        AppendUtf8(out, cp);
    }
    return out;
}

}  // namespace

char32_t DecodeUtf8(std::string_view s, std::size_t& pos)
{
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char b = byte(pos);
    const int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || pos + extra >= s.size()) {
        ++pos;
        return kReplacement;
    }
    char32_t cp = extra == 0 ? b : b & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80) {
            ++pos;
            return kReplacement;
        }
        cp = (cp << 6) | (byte(pos + i) & 0x3F);
    }
    static constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kLeast[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++pos;
        return kReplacement;
    }
    pos += extra + 1;
    return cp;
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool IsValidUtf8(std::string_view text)
{
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t start = pos;
        // U+FFFD itself is three bytes: a one-byte step means the byte was invalid.
        if (DecodeUtf8(text, pos) == kReplacement && pos == start + 1)
            return false;
    }
    return true;
}

template <class Unit>
std::basic_string<Unit> Utf8ToUtf16(std::string_view utf8)
{
    std::basic_string<Unit> out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();)
        AppendUtf16(out, DecodeUtf8(utf8, pos));
    return out;
}

template <class Unit>
std::string Utf16ToUtf8(std::basic_string_view<Unit> units)
{
    return FromUnits(units.size(), [&](std::size_t i) { return static_cast<char32_t>(units[i]); });
}

template std::u16string Utf8ToUtf16<char16_t>(std::string_view);
template std::wstring Utf8ToUtf16<wchar_t>(std::string_view);
template std::string Utf16ToUtf8<char16_t>(std::u16string_view);
template std::string Utf16ToUtf8<wchar_t>(std::wstring_view);

std::string Utf8ToUtf16Le(std::string_view utf8)
{
    const std::u16string units = Utf8ToUtf16<char16_t>(utf8);
    std::string out;
    out.reserve(units.size() * 2);
    for (char16_t u : units) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>(u >> 8);
    }
    return out;
}

std::string Utf16LeToUtf8(std::string_view bytes)
{
    std::string out = FromUnits(bytes.size() / 2, [&](std::size_t i) {
        return static_cast<char32_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    });
    if (bytes.size() % 2)
        AppendUtf8(out, kReplacement);
    return out;
}

}  // namespace kw::utf
