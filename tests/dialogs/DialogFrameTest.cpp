// What the three settings dialogs share: a fixed frame centred over the owner, which stays
// disabled until the dialog is gone.
#include "DialogTestSupport.h"
#include "dialogs/frmAuthor.h"
#include "dialogs/frmMenu.h"
#include "dialogs/frmOptions.h"

namespace dlgtest {
namespace {

using DialogFrame = DialogTest;

TEST_F(DialogFrame, FixedCentredOverTheOwnerAndModal)
{
    HWND owner = CreateWindowExW(0, L"STATIC", L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 30, 700, 500,
                                 nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    const std::pair<const wchar_t*, void (*)(kw::clsKitwright&, HWND)> dialogs[] = {
        {L"Plugin Author", kw::ShowAuthorDialog},
        {L"Menu Groups", kw::ShowMenuDialog},
        {L"Global Options", kw::ShowOptionsDialog},
    };
    for (auto [caption, show] : dialogs) {
        Drive([&] { show(Model(), owner); }, [&] {
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
            Key(VK_ESCAPE);
        });
        EXPECT_TRUE(IsWindowEnabled(owner)) << caption;
    }
    DestroyWindow(owner);
}

}  // namespace
}  // namespace dlgtest
