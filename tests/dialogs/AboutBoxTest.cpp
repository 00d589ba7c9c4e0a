// The about box: its lines from the version block, their fonts and fit, the icon, and the
// one button that Enter, Escape and a click all press.
#include "DialogTestSupport.h"
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

// The height the label's text needs when wrapped to its width.
int NeededHeight(HWND label)
{
    RECT rc{};
    GetClientRect(label, &rc);
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    wchar_t text[512]{};
    GetWindowTextW(label, text, 512);
    DrawTextW(dc, text, -1, &rc, DT_CALCRECT | DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    return rc.bottom - rc.top;
}

TEST_F(AboutBox, ShowsTheVersionBlockInItsFontsAndFits)
{
    Drive([] { kw::ShowAboutBox(); }, [&] {
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
        for (int line = 0; line < 4; ++line) {
            HWND label = Item(IDC_LBL_ABOUT + line);
            RECT rc{};
            GetClientRect(label, &rc);
            EXPECT_LE(NeededHeight(label), rc.bottom) << "line " << line << " is cut off";
            if (line == 0)
                continue;
            LOGFONTW lf = FontOf(label);
            EXPECT_EQ(lf.lfHeight, -MulDiv(8, dpi, 72)) << line;
            EXPECT_LT(lf.lfWeight, FW_BOLD) << line;
            EXPECT_STREQ(lf.lfFaceName, L"MS Shell Dlg") << line;
        }
        EXPECT_EQ(DefaultId(), IDC_CMD_ABOUT_OK);
        Key(VK_RETURN);
    });
}

TEST_F(AboutBox, EscapeTheCloseBoxAndTheButtonCloseIt)
{
    for (int way = 0; way < 3; ++way) {
        Drive([] { kw::ShowAboutBox(); }, [&] {
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
