#pragma once
// Whether every caption of a window fits its control with room to spare: the fonts of other
// systems run wider than the ones measured here, so a caption must fit in 90% of its width.
#include <windows.h>

#include <string>
#include <vector>

namespace kwfit {

// Measures with the control's own font, as the control draws it.
inline SIZE TextExtent(HWND control, const std::wstring& text, UINT format, int width)
{
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT r{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), -1, &r, format | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

inline std::wstring CaptionOf(HWND control)
{
    wchar_t text[512]{};
    GetWindowTextW(control, text, 512);
    return text;
}

// The caption of one control when it lacks the room; empty when it fits or has no caption.
inline std::wstring Cramped(HWND c)
{
    wchar_t cls[32]{};
    GetClassNameW(c, cls, 32);
    const std::wstring text = CaptionOf(c);
    if (text.empty())
        return {};
    RECT have{};
    GetClientRect(c, &have);
    const LONG_PTR style = GetWindowLongPtrW(c, GWL_STYLE);
    const int room = have.right * 9 / 10;
    if (lstrcmpiW(cls, L"Static") == 0) {
        const LONG_PTR type = style & SS_TYPEMASK;
        if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_LEFTNOWORDWRAP)
            return {};
        // Wrapped to 90% of the width, the lines must still fit the height.
        UINT format = DT_WORDBREAK | (style & SS_NOPREFIX ? DT_NOPREFIX : 0);
        SIZE need = TextExtent(c, text, format, room);
        if (need.cx <= room && need.cy <= have.bottom)
            return {};
        return text + L" [" + std::to_wstring(need.cy) + L" px high in " + std::to_wstring(have.bottom) + L"]";
    }
    if (lstrcmpiW(cls, L"Button") != 0)
        return {};
    const LONG_PTR type = style & BS_TYPEMASK;
    SIZE need = TextExtent(c, text, DT_SINGLELINE, 0);
    int used = need.cx;
    switch (type) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE:
        used += GetSystemMetrics(SM_CXMENUCHECK) + GetSystemMetrics(SM_CXEDGE) * 2;  // the box and its gap
        break;
    case BS_GROUPBOX:
        used += 16;  // the frame's corners on both sides of the caption
        break;
    default:
        used += 8;  // the edges and the focus rectangle
        break;
    }
    if (used <= room)
        return {};
    return text + L" [" + std::to_wstring(used) + L" px wide in 90% of " + std::to_wstring(have.right) + L"]";
}

// The full name of the font file the control's font is drawn with ("Tahoma Bold"): the face
// a substitute name such as "MS Shell Dlg" comes out as. Empty for a bitmap font.
inline std::wstring FaceDrawn(HWND control)
{
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    std::wstring name;
    if (UINT size = GetOutlineTextMetricsW(dc, 0, nullptr)) {
        std::vector<char> buffer(size);
        auto* otm = reinterpret_cast<OUTLINETEXTMETRICW*>(buffer.data());
        if (GetOutlineTextMetricsW(dc, size, otm))
            name = reinterpret_cast<const wchar_t*>(buffer.data() + reinterpret_cast<size_t>(otm->otmpFullName));
    }
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return name;
}

// Under Wine the dialog font must come out as Tahoma, as in the pictures: a prefix without
// it falls back to a narrower or wider face and would measure the wrong captions.
inline bool RunningUnderWine()
{
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// Every caption under the window (pages included) that lacks the room.
inline std::vector<std::wstring> CrampedCaptions(HWND window)
{
    struct Walk {
        static BOOL CALLBACK Each(HWND c, LPARAM found)
        {
            std::wstring text = Cramped(c);
            if (!text.empty())
                reinterpret_cast<std::vector<std::wstring>*>(found)->push_back(text);
            return TRUE;
        }
    };
    std::vector<std::wstring> found;
    EnumChildWindows(window, Walk::Each, reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace kwfit
