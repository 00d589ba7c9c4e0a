// How the main window looks: captions with room to spare, colours in either theme, icons
// drawn for their size, the columns of each page, and the window at other DPIs.
#include "MainWindowTestSupport.h"

#include "CaptionFit.h"

namespace kwtest {
namespace {

using MainWindowLook = MainWindowTest;

TEST_F(MainWindowLook, EveryCaptionFitsWithRoomToSpare)
{
    if (kwfit::RunningUnderWine()) {
        EXPECT_NE(kwfit::FaceDrawn(f->lblPluginName.hWnd()).find(L"Tahoma"), std::wstring::npos)
            << "the test prefix lacks Tahoma: make wineprefix";
    }
    // Every page, shown or not, and the buttons below the strip.
    EXPECT_EQ(kwfit::CrampedCaptions(f->hWnd()), std::vector<std::wstring>{});
}

// The brush the control's page answers for it, as the control asks when it paints.
LRESULT BrushFor(const Control& c, UINT message)
{
    HDC dc = GetDC(c.hWnd());
    LRESULT brush = SendMessageW(GetParent(c.hWnd()), message, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(c.hWnd()));
    ReleaseDC(c.hWnd(), dc);
    return brush;
}

TEST_F(MainWindowLook, InputBoxesStayWhiteAndThePluginsFolderGreyInEitherTheme)
{
    const auto window = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    const auto face = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    for (bool themed : {false, true}) {
        kw::ApplyThemeBackColors(*f, true, themed);
        for (TextBox* box : {&f->txtPluginName, &f->txtProgramName, &f->txtProgramWebsite, &f->txtDescription,
                             &f->txtShortcutName})
            EXPECT_EQ(BrushFor(*box, WM_CTLCOLOREDIT), window) << box->Id() << " themed " << themed;
        // Read-only, but a value the user sets through the up-down and the picker.
        EXPECT_EQ(BrushFor(f->txtExecutable, WM_CTLCOLORSTATIC), window) << themed;
        EXPECT_EQ(BrushFor(f->lstProgramFiles, WM_CTLCOLORLISTBOX), window) << themed;
        EXPECT_EQ(BrushFor(f->cboSystemFilesDestination, WM_CTLCOLORLISTBOX), window) << themed;
        EXPECT_EQ(f->cboMenuGroup.BackColor(), kColorWindow) << themed;
        // The plugins folder only shows where plugins go: it looks read-only.
        EXPECT_EQ(BrushFor(f->txtPluginLocation, WM_CTLCOLORSTATIC), face) << themed;
        // Labels and check boxes take the page's colour.
        EXPECT_EQ(BrushFor(f->lblPluginName, WM_CTLCOLORSTATIC), themed ? window : face);
        EXPECT_EQ(BrushFor(f->chkIncAuthor, WM_CTLCOLORSTATIC), themed ? window : face);
    }
}

}  // namespace
}  // namespace kwtest
