#include "app/modMainText.h"

namespace kw {

void FilterFileNameKey(int& key, bool allowBackslash, bool allowColon, bool allowSlash)
{
    switch (key) {
    case '"':
    case '*':
    case '<':
    case '>':
    case '?':
    case '^':
    case '|': key = 0; break;
    case '\\':
        if (!allowBackslash)
            key = 0;
        break;
    case ':':
        if (!allowColon)
            key = 0;
        break;
    case '/':
        if (!allowSlash)
            key = 0;
        break;
    default: break;
    }
}

int CompactPathWidth(int controlWidth)
{
    // In whole hundredths, so that no floating-point error decides a half.
    if (controlWidth <= 0)
        return 0;
    long long hundredths = static_cast<long long>(controlWidth) * 96;
    long long whole = hundredths / 100, rest = hundredths % 100;
    if (rest > 50 || (rest == 50 && (whole & 1)))
        ++whole;
    return static_cast<int>(whole);
}

}  // namespace kw
