// The about box: its lines from the version block, their fonts and fit, the icon, and the
// one button that Enter, Escape and a click all press.
#include <vector>

#include "CaptionFit.h"
#include "DialogTestSupport.h"
#include "IconSize.h"
#include "dialogs/frmAbout.h"
#include "winsupport/VersionInfo.h"

namespace dlgtest {
namespace {

using AboutBox = DialogTest;

LOGFONTW FontOf(HWND hwnd)
{
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
    return lf;
}

// How dark the text draws, black on white: the sum of its pixels' darkness.
long long Ink(HFONT font, const std::wstring& text)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = 400;
    bi.bmiHeader.biHeight = -60;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldBmp = SelectObject(dc, bmp);
    HGDIOBJ oldFont = SelectObject(dc, font);
    RECT all{0, 0, 400, 60};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    TextOutW(dc, 4, 4, text.c_str(), static_cast<int>(text.size()));
    GdiFlush();
    long long ink = 0;
    const auto* px = static_cast<const BYTE*>(bits);
    for (int i = 0; i < 400 * 60; ++i)
        ink += 255 - px[i * 4 + 1];  // the green channel: grey text has all three alike
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBmp);
    DeleteObject(bmp);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return ink;
}

TEST_F(AboutBox, ShowsTheVersionBlockInItsFontsAndFits)
{
    Drive([] { kw::ShowAboutBox(); },
          [&] {
              wchar_t caption[64]{};
              GetWindowTextW(dlg, caption, 64);
              EXPECT_STREQ(caption, L"About Kitwright");
              EXPECT_EQ(Text(IDC_LBL_ABOUT), "Kitwright v4.1.2");
              EXPECT_EQ(Text(IDC_LBL_ABOUT + 1), kw::ReadProgramVersion().legalCopyright);
              EXPECT_NE(Text(IDC_LBL_ABOUT + 1).find("Kitwright authors"), std::string::npos);
              // Modal without an owner of its own: a hidden one keeps it off the task bar.
              HWND owner = GetWindow(dlg, GW_OWNER);
              EXPECT_TRUE(owner && !IsWindowVisible(owner));
              EXPECT_EQ(GetWindowLongPtrW(dlg, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
              EXPECT_NE(Text(IDC_LBL_ABOUT + 2).find("Velmont"), std::string::npos);
              EXPECT_NE(SendMessageW(Item(IDC_IMG_ABOUT), STM_GETICON, 0, 0), 0);

              HDC screen = GetDC(nullptr);
              int dpi = GetDeviceCaps(screen, LOGPIXELSY);
              ReleaseDC(nullptr, screen);
              LOGFONTW title = FontOf(Item(IDC_LBL_ABOUT));
              EXPECT_EQ(title.lfHeight, -MulDiv(14, dpi, 72));
              EXPECT_GE(title.lfWeight, FW_BOLD);
              // Every line whole, with room to spare, in the face the pictures show.
              EXPECT_EQ(kwfit::CrampedCaptions(dlg), std::vector<std::wstring>{});
              if (kwfit::RunningUnderWine()) {
                  EXPECT_NE(kwfit::FaceDrawn(Item(IDC_LBL_ABOUT + 2)).find(L"Tahoma"), std::wstring::npos)
                      << "the test prefix lacks Tahoma: make wineprefix";
              }
              // The title is drawn heavier than the same text in the regular weight, not merely
              // asked for bold (a bold face whose strokes are as thin as the regular one's fails).
              {
                  LOGFONTW lf = FontOf(Item(IDC_LBL_ABOUT));
                  HFONT bold = CreateFontIndirectW(&lf);
                  lf.lfWeight = FW_NORMAL;
                  HFONT regular = CreateFontIndirectW(&lf);
                  EXPECT_GT(Ink(bold, L"Kitwright v4.1.2"), Ink(regular, L"Kitwright v4.1.2") * 5 / 4);
                  DeleteObject(bold);
                  DeleteObject(regular);
              }
              for (int line = 1; line < 4; ++line) {
                  HWND label = Item(IDC_LBL_ABOUT + line);
                  LOGFONTW lf = FontOf(label);
                  EXPECT_EQ(lf.lfHeight, -MulDiv(8, dpi, 72)) << line;
                  EXPECT_LT(lf.lfWeight, FW_BOLD) << line;
                  EXPECT_STREQ(lf.lfFaceName, L"MS Shell Dlg") << line;
              }
              EXPECT_EQ(DefaultId(), IDC_CMD_ABOUT_OK);
              Key(VK_RETURN);
          });
}

int IconPixels(HWND image)
{
    return kwfit::IconPixels(reinterpret_cast<HICON>(SendMessageW(image, STM_GETICON, 0, 0)));
}

TEST_F(AboutBox, TheIconIsTheFrameForItsBoxAtEveryDpi)
{
    Drive([] { kw::ShowAboutBox(); },
          [&] {
              HDC screen = GetDC(nullptr);
              const int start = GetDeviceCaps(screen, LOGPIXELSY);
              ReleaseDC(nullptr, screen);
              EXPECT_EQ(IconPixels(Item(IDC_IMG_ABOUT)), start >= 192 ? 64 : start >= 144 ? 48 : 32);
              int from = start;
              for (int dpi : {144, 192, start}) {
                  RECT w{};
                  GetWindowRect(dlg, &w);
                  RECT suggested{w.left, w.top, w.left + MulDiv(w.right - w.left, dpi, from),
                                 w.top + MulDiv(w.bottom - w.top, dpi, from)};
                  SendMessageW(dlg, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
                  from = dpi;
                  EXPECT_EQ(IconPixels(Item(IDC_IMG_ABOUT)), dpi >= 192 ? 64 : dpi >= 144 ? 48 : 32) << dpi;
                  EXPECT_EQ(FontOf(Item(IDC_LBL_ABOUT)).lfHeight, -MulDiv(14, dpi, 72)) << dpi;
                  EXPECT_GE(FontOf(Item(IDC_LBL_ABOUT)).lfWeight, FW_BOLD) << dpi;
                  EXPECT_EQ(FontOf(Item(IDC_LBL_ABOUT + 3)).lfHeight, -MulDiv(8, dpi, 72)) << dpi;
                  EXPECT_EQ(kwfit::CrampedCaptions(dlg), std::vector<std::wstring>{}) << dpi;
              }
              Key(VK_ESCAPE);
          });
}

TEST_F(AboutBox, EscapeTheCloseBoxAndTheButtonCloseIt)
{
    for (int way = 0; way < 3; ++way) {
        Drive([] { kw::ShowAboutBox(); },
              [&] {
                  EXPECT_EQ(Text(IDC_CMD_ABOUT_OK), "Cancel");
                  if (way == 0)
                      Key(VK_ESCAPE);
                  else if (way == 1)
                      CloseBox();
                  else
                      Click(IDC_CMD_ABOUT_OK);
              });
    }
}

}  // namespace
}  // namespace dlgtest
