// modMain's start-up and shared routines on real windows under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "AppTestIds.h"
#include "app/modMain.h"
#include "platform/RuntimeError.h"
#include "platform/WinText.h"

using namespace kw::forms;

namespace {

class AppForm : public Form {
public:
    AppForm() : Form(IDD_APPFORM) {}
    TextBox txtName{*this, IDC_APP_NAME};
    TextBox txtPath{*this, IDC_APP_PATH};
    Label lbl{*this, IDC_APP_LABEL};
    Image img{*this, IDC_APP_ICON};
    CheckBox chk{*this, IDC_APP_CHECK};
    CommandButton cmd{*this, IDC_APP_BUTTON};
    MenuItem mnuHelp{*this, IDM_APP_ITEM};
    MenuItem mnuAbout{*this, IDM_APP_ITEM + 1};
    bool unloadAllOnQuery = false;
    int queries = 0;
    std::string handedOver;  // the document a second start handed over

protected:
    bool WindowMessage(UINT msg, WPARAM, LPARAM lParam, INT_PTR& result) override
    {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (msg != WM_COPYDATA || data->dwData != kw::kOpenDocumentData)
            return false;
        handedOver = kw::Narrow(std::wstring_view(static_cast<const wchar_t*>(data->lpData)));
        SetWindowLongPtrW(hWnd(), DWLP_MSGRESULT, TRUE);
        result = TRUE;
        return true;
    }
    void Form_QueryUnload(bool&) override
    {
        ++queries;
        if (unloadAllOnQuery)
            kw::UnloadAllForms();  // as the main window does when it closes
    }
};

std::string FaceOf(HWND hwnd)
{
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
    return kw::Narrow(lf.lfFaceName);
}

// Runs this test exe again with only the given disabled test; returns its exit code.
DWORD RunChild(const char* mode, const std::string& document = {})
{
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring cmd = L"\"" + std::wstring(exe) +
                       L"\" --gtest_filter=SingleInstanceChild.DISABLED_Start --gtest_also_run_disabled_tests";
    SetEnvironmentVariableW(L"KW_INSTANCE_CHILD", kw::Widen(mode).c_str());
    SetEnvironmentVariableW(L"KW_INSTANCE_DOCUMENT", document.empty() ? nullptr : kw::Widen(document).c_str());
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return 1000 + GetLastError();
    DWORD code = 999;
    // Pumping meanwhile: the child may ask this process's windows to come forward.
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 60000) {
        DWORD r = MsgWaitForMultipleObjects(1, &pi.hProcess, FALSE, 100, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0) {
            GetExitCodeProcess(pi.hProcess, &code);
            break;
        }
        DoEvents();
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    SetEnvironmentVariableW(L"KW_INSTANCE_CHILD", nullptr);
    SetEnvironmentVariableW(L"KW_INSTANCE_DOCUMENT", nullptr);
    return code;
}

TEST(SingleInstanceChild, DISABLED_Start)
{
    const char* mode = std::getenv("KW_INSTANCE_CHILD");
    ASSERT_NE(mode, nullptr);
    bool made = false;
    kw::SetMainFormFactory([&] {
        made = true;
        return std::make_unique<AppForm>();
    });
    const wchar_t* document = _wgetenv(L"KW_INSTANCE_DOCUMENT");
    kw::Main(document ? kw::Narrow(document) : std::string());
    if (std::string(mode) == "first") {
        EXPECT_TRUE(made);
        EXPECT_EQ(Form::Forms().size(), 1u);
    } else {
        // Gone without a window of its own, and the font object already released again.
        EXPECT_FALSE(made);
        EXPECT_TRUE(Form::Forms().empty());
        EXPECT_EQ(kw::AppFont(), nullptr);
        EXPECT_EQ(kw::InitCCObject(), nullptr);
    }
    kw::UnloadAllForms();
}

TEST(Main, SecondStartBringsTheRunningWindowToTheFront)
{
    // No instance yet: a child process starts normally.
    EXPECT_EQ(RunChild("first"), 0u);

    kw::SetMainFormFactory([] { return std::make_unique<AppForm>(); });
    kw::Main();
    ASSERT_NE(kw::MainForm(), nullptr);
    HWND main = kw::MainForm()->hWnd();
    EXPECT_TRUE(kw::MainForm()->Loaded());
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_NE(kw::AppFont(), nullptr);
    EXPECT_NE(kw::InitCCObject(), nullptr);
    EXPECT_FALSE(kw::AnotherInstanceRunning());       // this process holds the mark itself
    EXPECT_EQ(kw::RunningInstanceWindow(), nullptr);  // and its own window is no other's

    // Minimised behind another window: the second start restores it and brings it forward.
    HWND other = CreateWindowExW(0, L"STATIC", L"Other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200, nullptr,
                                 nullptr, nullptr, nullptr);
    ShowWindow(main, SW_MINIMIZE);
    SetForegroundWindow(other);
    DoEvents();
    ASSERT_TRUE(IsIconic(main));
    ASSERT_EQ(GetForegroundWindow(), other);

    // It hands over the document it was given (the path in UTF-8, non-ANSI letters whole).
    const std::string document = "C:\\Work\\\xCE\xA9 Tool.kwp";
    EXPECT_EQ(RunChild("second", document), 0u);
    EXPECT_EQ(static_cast<AppForm*>(kw::MainForm())->handedOver, document);
    for (int i = 0; i < 50 && (IsIconic(main) || GetForegroundWindow() != main); ++i) {
        Sleep(20);
        DoEvents();
    }
    EXPECT_TRUE(kw::MainForm()->Loaded());
    EXPECT_FALSE(IsIconic(main));
    EXPECT_EQ(GetForegroundWindow(), main);
    DestroyWindow(other);
    kw::UnloadAllForms();
}

TEST(Main, TheCommandLineNamesTheDocumentAsAFullPath)
{
    EXPECT_EQ(kw::DocumentArgument(L"Kitwright.exe"), "");
    EXPECT_EQ(kw::DocumentArgument(L"\"C:\\Program Files\\Kitwright\\Kitwright.exe\"   "), "");
    EXPECT_EQ(kw::DocumentArgument(L"\"C:\\Program Files\\Kitwright\\Kitwright.exe\" \"D:\\My Plugins\\Tool.kwp\""),
              "D:\\My Plugins\\Tool.kwp");
    EXPECT_EQ(kw::DocumentArgument(L"Kitwright.exe D:\\Plugins\\Tool extra"), "D:\\Plugins\\Tool");
    EXPECT_EQ(kw::DocumentArgument(L"Kitwright.exe D:\\\u03A9\\a.kwp"), "D:\\\xCE\xA9\\a.kwp");
    wchar_t current[MAX_PATH]{};
    GetCurrentDirectoryW(MAX_PATH, current);
    std::wstring folder = current;
    if (folder.back() != L'\\')
        folder += L'\\';
    EXPECT_EQ(kw::DocumentArgument(L"Kitwright.exe Tool.kwp"), kw::Narrow(folder + L"Tool.kwp"));
}

TEST(UnloadAllForms, ReleasesTheObjectsAndUnloadsEveryForm)
{
    kw::SetMainFormFactory([] {
        auto form = std::make_unique<AppForm>();
        form->unloadAllOnQuery = true;
        return form;
    });
    kw::Main();
    auto* main = static_cast<AppForm*>(kw::MainForm());
    ASSERT_NE(main, nullptr);
    AppForm other;
    other.Show();
    kw::NewAppIcon().SetAppIcon(main->hWnd(), "A1");
    EXPECT_EQ(Form::Forms().size(), 2u);

    // Closing the main window unloads everything through its QueryUnload, once each.
    PostMessageW(main->hWnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(RunMessageLoop(), 0);
    EXPECT_TRUE(Form::Forms().empty());
    EXPECT_EQ(main->queries, 1);
    EXPECT_EQ(other.queries, 1);
    EXPECT_EQ(kw::AppFont(), nullptr);
    EXPECT_EQ(kw::InitCCObject(), nullptr);
    kw::UnloadAllForms();  // nothing left: harmless
}

class SharedRoutines : public ::testing::Test {
protected:
    void SetUp() override
    {
        form.Show();
        DoEvents();
        SetForegroundWindow(form.hWnd());
    }
    void TearDown() override
    {
        form.Unload();
        DoEvents();
    }
    void Type(Control& c, const std::string& chars)
    {
        c.SetFocus();
        DoEvents();
        for (char ch : chars)
            PostMessageW(GetFocus(), WM_CHAR, static_cast<unsigned char>(ch), 1);
        DoEvents();
    }
    AppForm form;
};

TEST_F(SharedRoutines, SetFormFontReachesEveryControlButMenus)
{
    kw::SetFormFont(form, "Tahoma", 10);
    for (Control* c : form.Controls()) {
        if (!c->HasFont()) {
            EXPECT_THROW(c->FontName(), kw::RuntimeError);
            continue;
        }
        EXPECT_EQ(FaceOf(c->hWnd()), "Tahoma") << c->Id();
        EXPECT_EQ(c->FontSize(), 10) << c->Id();
    }
    kw::SetFormFont(form, std::string(40, 'x'), 8);  // refused by every control: ignored
    EXPECT_EQ(FaceOf(form.lbl.hWnd()), "Tahoma");
}

TEST_F(SharedRoutines, SelectAllTextFromAFocusHandler)
{
    form.txtName.Text("hello world");
    form.txtName.GotFocus = [this] { kw::SelectAllText(form.txtName); };
    form.cmd.SetFocus();
    DoEvents();
    form.txtName.SetFocus();  // a plain SetFocus selects nothing by itself
    DoEvents();
    DWORD start = 99, end = 0;
    SendMessageW(form.txtName.hWnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 11u);
    // So the first typed character replaces the whole text.
    Type(form.txtName, "x");
    EXPECT_EQ(form.txtName.Text(), "x");
}

TEST_F(SharedRoutines, KeyFilterOnTypedCharacters)
{
    form.txtName.KeyPress = [](int& key) { kw::FilterFileNameKey(key, false, false, false); };
    form.txtName.Text("");
    Type(form.txtName, "a:b\\c/d");
    EXPECT_EQ(form.txtName.Text(), "abcd");
    form.txtName.KeyPress = [](int& key) { kw::FilterFileNameKey(key, false, true, true); };
    form.txtName.Text("");
    Type(form.txtName, "a:b\\c/d");
    EXPECT_EQ(form.txtName.Text(), "a:bc/d");
    // Pasted text is not typed: it is not filtered.
    form.txtName.Text("x?y");
    EXPECT_EQ(form.txtName.Text(), "x?y");
}

int TextWidth(const Form& f, const std::string& text)
{
    HDC dc = GetDC(f.hWnd());
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(f.hWnd(), WM_GETFONT, 0, 0)));
    std::wstring w = kw::Widen(text);
    SIZE size{};
    GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(f.hWnd(), dc);
    return size.cx;
}

TEST_F(SharedRoutines, CompactPathFitsTheControl)
{
    const std::string longPath = "C:\\Documents and Settings\\Someone\\Plugins\\Collected\\Tools\\";
    std::string shortened = kw::CompactPath(longPath, form.txtPath, form);
    EXPECT_NE(shortened, longPath);
    EXPECT_NE(shortened.find("..."), std::string::npos) << shortened;
    EXPECT_LE(TextWidth(form, shortened), kw::CompactPathWidth(form.txtPath.Width())) << shortened;
    EXPECT_EQ(shortened.substr(0, 3), "C:\\");

    EXPECT_EQ(kw::CompactPath("C:\\P\\", form.txtPath, form), "C:\\P\\");
    std::string huge = "C:\\" + std::string(300, 'a');
    EXPECT_EQ(kw::CompactPath(huge, form.txtPath, form), huge);

    form.ScaleMode(kScaleTwips);
    EXPECT_EQ(kw::CompactPath(longPath, form.txtPath, form), longPath);
    form.ScaleMode(kScalePixels);
}

TEST_F(SharedRoutines, ThemeBackColoursFollowTheThemeAndTheMark)
{
    form.img.Tag("notheme");
    form.cmd.Tag("x notheme y");
    form.cmd.BackColor(0x00123456);
    form.lbl.BackColor(0x00654321);

    kw::ApplyThemeBackColors(form, false, true);  // no theme support: nothing changes
    EXPECT_EQ(form.lbl.BackColor(), 0x00654321u);

    // Without a theme the window is button face, but what takes input stays white; the
    // display field (read-only, skipped by Tab) is button face in either theme.
    kw::ApplyThemeBackColors(form, true, false);
    for (Control* c :
         {static_cast<Control*>(&form.txtPath), static_cast<Control*>(&form.lbl), static_cast<Control*>(&form.chk)})
        EXPECT_EQ(c->BackColor(), kColorButtonFace) << c->Id();
    EXPECT_EQ(form.txtName.BackColor(), kColorWindow);
    EXPECT_EQ(form.cmd.BackColor(), 0x00123456u);
    HDC dc = GetDC(form.hWnd());
    auto brushFor = [&](UINT message, const Control& c) {
        return SendMessageW(form.hWnd(), message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(c.hWnd()));
    };
    EXPECT_EQ(brushFor(WM_CTLCOLOREDIT, form.txtName), reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW)));
    EXPECT_EQ(brushFor(WM_CTLCOLORSTATIC, form.txtPath), reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE)));

    kw::ApplyThemeBackColors(form, true, true);
    EXPECT_EQ(form.lbl.BackColor(), kColorWindow);
    EXPECT_EQ(form.txtName.BackColor(), kColorWindow);
    EXPECT_EQ(form.txtPath.BackColor(), kColorButtonFace);
    EXPECT_EQ(form.cmd.BackColor(), 0x00123456u);
    EXPECT_EQ(brushFor(WM_CTLCOLORSTATIC, form.chk), reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW)));
    EXPECT_EQ(brushFor(WM_CTLCOLORSTATIC, form.txtPath), reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE)));
    ReleaseDC(form.hWnd(), dc);

    // An image has no back colour: without the mark that is the window's error.
    form.img.Tag("");
    try {
        kw::ApplyThemeBackColors(form, true, true);
        ADD_FAILURE() << "no error for an unmarked image";
    } catch (const kw::RuntimeError& e) {
        EXPECT_EQ(e.Number(), 438);
    }
}

TEST_F(SharedRoutines, ThemeRoutineAsksTheSystemForTheMainWindow)
{
    kw::SetMainFormFactory([] {
        auto f = std::make_unique<AppForm>();
        return f;
    });
    kw::Main();
    auto* main = static_cast<AppForm*>(kw::MainForm());
    ASSERT_NE(main, nullptr);
    main->img.Tag("notheme");
    kw::ApplyThemeBackColors();
    kw::clsInitCC cc;
    std::uint32_t expected = cc.ThemeIsActive() ? kColorWindow : kColorButtonFace;
    EXPECT_TRUE(cc.XPThemesSupported());
    EXPECT_EQ(main->txtName.BackColor(), kColorWindow);
    EXPECT_EQ(main->lbl.BackColor(), expected);
    EXPECT_EQ(main->cmd.BackColor(), expected);
    kw::UnloadAllForms();
}

}  // namespace
