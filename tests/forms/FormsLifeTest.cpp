// When forms say they are active, where a form without an owner lives, and which colour
// the children without a wrapper of their own get on a coloured page.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "FormsTestIds.h"
#include "winsupport/forms/Forms.h"

using namespace kw::forms;

namespace {

class LoggingForm : public Form {
public:
    explicit LoggingForm(std::string name) : Form(IDD_SMALLFORM), name_(std::move(name)) {}
    TextBox txt{*this, IDC_SMALL_TEXT};
    CommandButton cmdOk{*this, IDC_SMALL_OK};
    std::vector<std::string>* log = nullptr;
    std::function<void()> onActivate;

protected:
    void Form_Activate() override
    {
        if (log)
            log->push_back(name_ + ".Activate");
        if (onActivate) {
            auto once = std::move(onActivate);
            onActivate = nullptr;
            once();
        }
    }

private:
    std::string name_;
};

HWND Plain()
{
    return CreateWindowExW(0, L"Static", L"plain", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

// Presses OK on the next message box as soon as it is activated.
HHOOK g_boxHook = nullptr;
LRESULT CALLBACK DismissBox(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        wchar_t cls[16]{};
        GetClassNameW(reinterpret_cast<HWND>(wParam), cls, 16);
        if (lstrcmpW(cls, L"#32770") == 0)
            PostMessageW(reinterpret_cast<HWND>(wParam), WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(g_boxHook, code, wParam, lParam);
}

TEST(FormsActivation, OnlyAMoveFromAnotherFormRaisesActivate)
{
    std::vector<std::string> log;
    LoggingForm a("a"), b("b");
    a.log = &log;
    b.log = &log;
    a.Show();
    DoEvents();
    EXPECT_EQ(log, std::vector<std::string>{"a.Activate"});
    log.clear();

    // Another window (as another program would) takes the activation and gives it back.
    HWND other = Plain();
    SetActiveWindow(other);
    DoEvents();
    SetActiveWindow(a.hWnd());
    DoEvents();
    EXPECT_EQ(GetActiveWindow(), a.hWnd());
    DestroyWindow(other);

    // A message box owned by the form closes: the form comes back without an event.
    g_boxHook = SetWindowsHookExW(WH_CBT, DismissBox, nullptr, GetCurrentThreadId());
    EXPECT_EQ(MessageBoxW(a.hWnd(), L"Note", L"Forms test", MB_OK), IDOK);
    UnhookWindowsHookEx(g_boxHook);
    DoEvents();
    EXPECT_EQ(GetActiveWindow(), a.hWnd());
    EXPECT_TRUE(log.empty()) << log.front();

    // Between two forms, each arrival counts.
    b.Show();
    DoEvents();
    SetActiveWindow(a.hWnd());
    DoEvents();
    SetActiveWindow(a.hWnd());  // already active
    DoEvents();
    EXPECT_EQ(log, (std::vector<std::string>{"b.Activate", "a.Activate"}));
    b.Unload();
    a.Unload();
}

TEST(FormsActivation, AnErrorBoxFromActivateDoesNotRepeat)
{
    // The default prompt: a real message box owned by the active form, pressed by the hook.
    LoggingForm a("a");
    int activations = 0;
    std::function<void()> fail = [&] {
        ++activations;
        if (activations < 5)
            a.onActivate = fail;
        throw std::runtime_error("activate failed");
    };
    a.onActivate = fail;
    g_boxHook = SetWindowsHookExW(WH_CBT, DismissBox, nullptr, GetCurrentThreadId());
    a.Show();
    for (int i = 0; i < 5; ++i)
        DoEvents();
    UnhookWindowsHookEx(g_boxHook);
    EXPECT_EQ(activations, 1);
    a.Unload();
}

TEST(FormsModal, WithoutAnOwnerStaysOffTheTaskbarAndStillBlocks)
{
    std::vector<std::string> log;
    LoggingForm main("main"), about("about");
    main.log = &log;
    main.Show();
    DoEvents();
    HWND owner = nullptr;
    bool ownerVisible = true, appWindow = true, mainDisabled = false;
    about.onActivate = [&] {
        owner = GetWindow(about.hWnd(), GW_OWNER);
        ownerVisible = owner && IsWindowVisible(owner);
        appWindow = (GetWindowLongPtrW(about.hWnd(), GWL_EXSTYLE) & WS_EX_APPWINDOW) != 0;
        mainDisabled = !IsWindowEnabled(main.hWnd());
        PostMessageW(about.hWnd(), WM_CLOSE, 0, 0);
    };
    log.clear();
    about.ShowModal(nullptr);
    DoEvents();
    EXPECT_FALSE(about.Loaded());
    ASSERT_NE(owner, nullptr);
    EXPECT_NE(owner, main.hWnd());
    EXPECT_FALSE(ownerVisible);
    EXPECT_FALSE(appWindow);
    EXPECT_TRUE(mainDisabled);
    EXPECT_FALSE(IsWindow(owner));  // gone with the form
    EXPECT_TRUE(IsWindowEnabled(main.hWnd()));
    EXPECT_EQ(GetActiveWindow(), main.hWnd());
    EXPECT_EQ(log, std::vector<std::string>{"main.Activate"});
    main.Unload();
}

class PagedForm : public Form {
public:
    PagedForm() : Form(IDD_PAGEDFORM) {}
    PictureBox pic{*this, IDC_COLOUR_PAGE, IDD_COLOURPAGE};
    Image imgPage{*this, IDC_PAGE_IMAGE};
    Image imgForm{*this, IDC_FORM_IMAGE};
    // IDC_PAGE_GROUP has no wrapper, like a group box made over a placeholder.
};

COLORREF BrushColour(LRESULT brush)
{
    LOGBRUSH lb{};
    if (!brush || !GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof(lb), &lb))
        return CLR_INVALID;
    return lb.lbColor;
}

TEST(FormsColours, ImagesAndUnwrappedChildrenTakeTheirPagesColour)
{
    PagedForm form;
    form.Show();
    HWND page = form.pic.hWnd();
    HWND group = GetDlgItem(page, IDC_PAGE_GROUP);
    ASSERT_NE(group, nullptr);
    HDC dc = GetDC(page);
    auto ask = [&](HWND parent, HWND child) {
        return SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child));
    };
    form.pic.BackColor(0x00123456);
    EXPECT_EQ(BrushColour(ask(page, form.imgPage.hWnd())), 0x00123456u);
    EXPECT_EQ(GetBkColor(dc), 0x00123456u);
    EXPECT_EQ(BrushColour(ask(page, group)), 0x00123456u);
    form.pic.BackColor(kColorWindow);
    EXPECT_EQ(ask(page, group), reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW)));
    EXPECT_EQ(ask(page, form.imgPage.hWnd()), reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW)));
    // An image on the form itself stays with the dialog's own colour, not the page's.
    EXPECT_EQ(BrushColour(ask(form.hWnd(), form.imgForm.hWnd())), GetSysColor(COLOR_BTNFACE));
    ReleaseDC(page, dc);
    form.Unload();
}

}  // namespace
