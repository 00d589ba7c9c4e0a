#include "clsFont.h"

#include <algorithm>
#include <cwchar>
#include <string>

#include "platform/WinText.h"

namespace kw {

clsFont::~clsFont()
{
    // Only the latest font: earlier ones stay with the windows that use them.
    if (font_)
        DeleteObject(font_);
}

LONG clsFont::HeightFor(int v_iFontSize, int dpi)
{
    if (dpi <= 0)
        dpi = 96;
    // Exact in integers: size * dpi / 72, negated, rounded half to even.
    long long num = -20LL * v_iFontSize * dpi;
    const long long den = 1440;
    long long q = num / den;
    long long r = num % den;  // same sign as num
    if (r != 0) {
        long long twice = 2 * (r < 0 ? -r : r);
        int step = (num < 0) ? -1 : 1;
        if (twice > den || (twice == den && (q % 2 != 0)))
            q += step;
    }
    return static_cast<LONG>(q);
}

void clsFont::SetApiFontFor(HWND r_hParentWnd, std::string_view v_sFontName, int v_iFontSize)
{
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);

    LOGFONTW lf{};
    lf.lfHeight = HeightFor(v_iFontSize, dpi);
    std::wstring face = Widen(v_sFontName);
    size_t n = std::min<size_t>(face.size(), LF_FACESIZE - 1);
    std::wmemcpy(lf.lfFaceName, face.data(), n);
    lf.lfFaceName[n] = L'\0';

    font_ = CreateFontIndirectW(&lf);
    if (r_hParentWnd && font_)
        SendMessageW(r_hParentWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_), 0);
}

}  // namespace kw
