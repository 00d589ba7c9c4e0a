// What the three settings dialogs share: a fixed frame centred over the owner, which stays
// disabled until the dialog is gone.
#include <vector>

#include "CaptionFit.h"
#include "DialogTestSupport.h"
#include "dialogs/frmAuthor.h"
#include "dialogs/frmMenu.h"
#include "dialogs/frmOptions.h"

namespace dlgtest {
namespace {

using DialogFrame = DialogTest;

TEST_F(DialogFrame, FixedCentredOverTheOwnerAndModal)
{
    HWND owner = CreateWindowExW(0, L"STATIC", L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 30, 700, 500, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    struct {
        const wchar_t* caption;
        void (*show)(kw::clsKitwright&, HWND);
        std::vector<int> tabStops;  // those enabled on opening, from the first one
    } const dialogs[] = {
        {L"Plugin Author",
         kw::ShowAuthorDialog,
         {IDC_TXT_AUTHOR_NAME, IDC_TXT_AUTHOR_WEBSITE, IDC_TXT_AUTHOR_CONTACT, IDC_TXT_AUTHOR_COMMENT,
          IDC_CMD_AUTHOR_CANCEL}},
        {L"Menu Groups", kw::ShowMenuDialog, {IDC_TXT_NEW_MENU_GROUP, IDC_LST_MENU_GROUPS, IDC_CMD_MENU_CANCEL}},
        {L"Global Options",
         kw::ShowOptionsDialog,
         {IDC_CHK_POPUP_DONE, IDC_CHK_ZEL_FILE_NAME, IDC_CMD_OPTIONS_CANCEL, IDC_CBO_ZEL_VERSION}},
    };
    for (const auto& [caption, show, tabStops] : dialogs) {
        Drive([&] { show(Model(), owner); },
              [&] {
                  wchar_t text[64]{};
                  GetWindowTextW(dlg, text, 64);
                  EXPECT_STREQ(text, caption);
                  EXPECT_EQ(GetWindow(dlg, GW_OWNER), owner) << caption;
                  EXPECT_FALSE(IsWindowEnabled(owner)) << caption;
                  LONG_PTR style = GetWindowLongPtrW(dlg, GWL_STYLE);
                  EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0) << caption;
                  EXPECT_EQ(GetWindowLongPtrW(dlg, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0) << caption;
                  RECT d{}, o{};
                  GetWindowRect(dlg, &d);
                  GetWindowRect(owner, &o);
                  EXPECT_NEAR((d.left + d.right) / 2, (o.left + o.right) / 2, 1) << caption;
                  EXPECT_NEAR((d.top + d.bottom) / 2, (o.top + o.bottom) / 2, 1) << caption;
                  EXPECT_EQ(kwfit::CrampedCaptions(dlg), std::vector<std::wstring>{}) << caption;
                  std::vector<int> order;
                  HWND first = GetNextDlgTabItem(dlg, nullptr, FALSE);
                  for (HWND c = first; c && order.size() < 10; c = GetNextDlgTabItem(dlg, c, FALSE)) {
                      order.push_back(GetDlgCtrlID(c));
                      if (GetNextDlgTabItem(dlg, c, FALSE) == first)
                          break;
                  }
                  EXPECT_EQ(order, tabStops) << caption;
                  Key(VK_ESCAPE);
              });
        EXPECT_TRUE(IsWindowEnabled(owner)) << caption;
    }
    DestroyWindow(owner);
}

}  // namespace
}  // namespace dlgtest
