#include <gtest/gtest.h>

#include "TestWindows.h"

#include <commctrl.h>

#include <string>

#include "winsupport/clsAppIcon.h"
#include "winsupport/clsFont.h"
#include "winsupport/clsInitCC.h"

namespace {

int ScreenDpi()
{
    HDC dc = GetDC(nullptr);
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return dpi;
}

LOGFONTW FontOf(HFONT font)
{
    LOGFONTW lf{};
    GetObjectW(font, sizeof(lf), &lf);
    return lf;
}

TEST(FontHeight, PointSizeToPixelsRoundsHalvesToEven)
{
    EXPECT_EQ(kw::clsFont::HeightFor(8, 96), -11);
    EXPECT_EQ(kw::clsFont::HeightFor(8, 120), -13);
    EXPECT_EQ(kw::clsFont::HeightFor(10, 72), -10);
    // 4.5 and 7.5 pixels: to the even neighbour, not away from zero or towards it.
    EXPECT_EQ(kw::clsFont::HeightFor(3, 108), -4);
    EXPECT_EQ(kw::clsFont::HeightFor(5, 108), -8);
    EXPECT_EQ(kw::clsFont::HeightFor(9, 100), -12);
}

TEST(ApiFont, WithoutAWindowOnlyTheFontIsMade)
{
    kw::clsFont font;
    EXPECT_EQ(font.FontHandle(), nullptr);
    font.SetApiFontFor(nullptr, "MS Shell Dlg", 8);
    ASSERT_NE(font.FontHandle(), nullptr);
    LOGFONTW lf = FontOf(font.FontHandle());
    EXPECT_EQ(std::wstring(lf.lfFaceName), L"MS Shell Dlg");
    EXPECT_EQ(lf.lfHeight, kw::clsFont::HeightFor(8, ScreenDpi()));
    if (ScreenDpi() == 96) {
        EXPECT_EQ(lf.lfHeight, -11);
    }
    EXPECT_EQ(lf.lfWeight, 0);
    EXPECT_FALSE(lf.lfItalic);
    EXPECT_FALSE(lf.lfUnderline);

    // An over-long face name is cut to the field, not written past it.
    std::string longName(60, 'x');
    font.SetApiFontFor(nullptr, longName, 8);
    ASSERT_NE(font.FontHandle(), nullptr);
    EXPECT_EQ(std::wstring(FontOf(font.FontHandle()).lfFaceName), std::wstring(LF_FACESIZE - 1, L'x'));
}

TEST(ApiFont, WindowGetsTheFontAndEarlierFontsOutliveTheObject)
{
    HWND top = kwtest::MakeTopWindow(L"font");
    HWND label = kwtest::MakeChild(top, L"STATIC", L"label", WS_VISIBLE, 5, 5, 100, 20);
    HFONT first = nullptr, second = nullptr;
    {
        kw::clsFont font;
        font.SetApiFontFor(label, "MS Shell Dlg", 8);
        first = font.FontHandle();
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)), first);
        font.SetApiFontFor(label, "Tahoma", 10);
        second = font.FontHandle();
        EXPECT_NE(second, first);
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)), second);
        EXPECT_EQ(std::wstring(FontOf(second).lfFaceName), L"Tahoma");
    }
    // Only the latest font goes with the object; the first stays with whoever uses it.
    EXPECT_EQ(GetObjectType(first), static_cast<DWORD>(OBJ_FONT));
    EXPECT_EQ(GetObjectType(second), 0u);
    DeleteObject(first);
    DestroyWindow(top);
}

HICON IconOf(HWND hwnd, WPARAM which) { return reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, which, 0)); }

HICON SharedIcon(int cxMetric, int cyMetric)
{
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"A1", IMAGE_ICON, GetSystemMetrics(cxMetric),
                                         GetSystemMetrics(cyMetric), LR_SHARED));
}

TEST(AppIcon, WindowAndTopOfItsOwnerChainGetBothSizes)
{
    HICON big = SharedIcon(SM_CXICON, SM_CYICON);
    HICON small = SharedIcon(SM_CXSMICON, SM_CYSMICON);
    ASSERT_NE(big, nullptr);
    ASSERT_NE(small, nullptr);
    ASSERT_NE(big, small);

    HWND alone = kwtest::MakeTopWindow(L"alone");
    kw::clsAppIcon icon;
    icon.SetAppIcon(alone, "A1");
    EXPECT_EQ(IconOf(alone, ICON_BIG), big);
    EXPECT_EQ(IconOf(alone, ICON_SMALL), small);

    HWND topOwner = kwtest::MakeTopWindow(L"top");
    HWND middle = kwtest::MakeTopWindow(L"middle", topOwner);
    HWND dialog = kwtest::MakeTopWindow(L"dialog", middle);
    ASSERT_EQ(GetWindow(dialog, GW_OWNER), middle);
    icon.SetAppIcon(dialog, "A1");
    EXPECT_EQ(IconOf(dialog, ICON_BIG), big);
    EXPECT_EQ(IconOf(dialog, ICON_SMALL), small);
    EXPECT_EQ(IconOf(topOwner, ICON_BIG), big);
    EXPECT_EQ(IconOf(topOwner, ICON_SMALL), small);
    EXPECT_EQ(IconOf(middle, ICON_BIG), nullptr);
    EXPECT_EQ(IconOf(middle, ICON_SMALL), nullptr);

    DestroyWindow(dialog);
    DestroyWindow(middle);
    DestroyWindow(topOwner);
    DestroyWindow(alone);
}

TEST(AppIcon, MissingResourceLeavesTheWindowAsItWas)
{
    HWND top = kwtest::MakeTopWindow(L"keep");
    HICON stock = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    SendMessageW(top, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(stock));
    kw::clsAppIcon icon;
    icon.SetAppIcon(top, "NO_SUCH_ICON");
    EXPECT_EQ(IconOf(top, ICON_BIG), stock);
    EXPECT_EQ(IconOf(top, ICON_SMALL), nullptr);
    DestroyWindow(top);
}

TEST(InitCC, InitialisesTheControlsAndAnswersThemeQuestions)
{
    kw::clsInitCC cc;
    EXPECT_TRUE(cc.InitCC(0));
    EXPECT_TRUE(cc.InitCC(ICC_TAB_CLASSES | ICC_UPDOWN_CLASS));

    // uxtheme.dll is part of every system the program runs on.
    ASSERT_TRUE(cc.XPThemesSupported());
    EXPECT_NO_THROW(cc.ThemeIsActive());
}

}  // namespace
