#include "Cp1252.h"

#include "Utf.h"

namespace kw::cp1252 {

namespace {
// 0x80..0x9F; the five unassigned bytes map to the C1 control of the same number, as
// Windows' own conversion does.
constexpr char32_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};
}  // namespace

std::string FromUtf8(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (size_t pos = 0; pos < utf8.size();) {
        // Plain ASCII, the bulk of every generated file, goes across as it is.
        size_t run = pos;
        while (run < utf8.size() && static_cast<unsigned char>(utf8[run]) < 0x80)
            ++run;
        if (run > pos) {
            out.append(utf8.substr(pos, run - pos));
            pos = run;
            continue;
        }
        char32_t cp = utf::DecodeUtf8(utf8, pos);
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            out += static_cast<char>(cp);
            continue;
        }
        char mapped = '?';
        for (int i = 0; i < 32; ++i)
            if (kHigh[i] == cp)
                mapped = static_cast<char>(0x80 + i);
        out += mapped;
    }
    return out;
}

std::string ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (unsigned char b : bytes)
        utf::AppendUtf8(out, b < 0x80 || b >= 0xA0 ? char32_t(b) : kHigh[b - 0x80]);
    return out;
}

}  // namespace kw::cp1252
