#pragma once
#include <windows.h>

#include <string_view>

namespace kw {

// The dialog font for natively created windows (tab strip, group boxes).
class clsFont {
public:
    clsFont() = default;
    ~clsFont();
    clsFont(const clsFont&) = delete;
    clsFont& operator=(const clsFont&) = delete;

    // Creates the font; when r_hParentWnd is not 0 the window gets it by WM_SETFONT.
    void SetApiFontFor(HWND r_hParentWnd, std::string_view v_sFontName, int v_iFontSize);

    HFONT FontHandle() const { return font_; }

    // -20 * size / (1440 / dpi), halves to the even neighbour: the LOGFONT height of a
    // point size on a display of dpi pixels per inch.
    static LONG HeightFor(int v_iFontSize, int dpi);

private:
    HFONT font_ = nullptr;
};

}  // namespace kw
