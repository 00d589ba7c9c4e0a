#include "app/modMain.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>

#include "model/clsKitwright.h"
#include "platform/WinText.h"

namespace kw {

namespace {
MainFormFactory g_factory;
std::unique_ptr<forms::Form> g_mainForm;
std::unique_ptr<clsFont> g_font;
std::unique_ptr<clsAppIcon> g_appIcon;
std::unique_ptr<clsInitCC> g_initCC;
HANDLE g_instanceMark = nullptr;

// Marks the main window, so that a second start can find it.
constexpr const wchar_t* kMainWindowMark = L"Kitwright.MainWindow";

BOOL CALLBACK FindMarkedWindow(HWND hwnd, LPARAM found)
{
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process == GetCurrentProcessId() || !GetPropW(hwnd, kMainWindowMark))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
}
}  // namespace

void Warn(HWND owner, const std::string& text) { ShowWarning(reinterpret_cast<NativeHandle>(owner), text); }

void SetMainFormFactory(MainFormFactory factory) { g_factory = std::move(factory); }

forms::Form* MainForm() { return g_mainForm.get(); }

clsFont* AppFont() { return g_font.get(); }

clsInitCC* InitCCObject() { return g_initCC.get(); }

clsAppIcon& NewAppIcon()
{
    g_appIcon = std::make_unique<clsAppIcon>();
    return *g_appIcon;
}

void ReleaseAppIcon() { g_appIcon.reset(); }

bool AnotherInstanceRunning()
{
    if (g_instanceMark)
        return false;
    HANDLE mark = CreateMutexW(nullptr, FALSE, L"Local\\Kitwright.Instance");
    if (!mark)
        return false;  // cannot tell: better to start than to vanish
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mark);
        return true;
    }
    g_instanceMark = mark;  // kept until the process ends
    return false;
}

HWND RunningInstanceWindow()
{
    HWND found = nullptr;
    EnumWindows(FindMarkedWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool ActivateRunningInstance()
{
    HWND main = RunningInstanceWindow();
    for (int wait = 0; !main && wait < 20; ++wait) {
        Sleep(100);
        main = RunningInstanceWindow();
    }
    if (!main)
        return false;
    // Asynchronous: a busy instance must not hold up this one's end.
    if (IsIconic(main))
        ShowWindowAsync(main, SW_RESTORE);
    HWND front = GetLastActivePopup(main);
    SetForegroundWindow(front && IsWindowVisible(front) ? front : main);
    return true;
}

std::string DocumentArgument(std::wstring_view commandLine)
{
    // The shell's parser is only loaded when there is an argument, so a plain start stays as
    // quick as it was.
    std::wstring_view rest = commandLine;
    const bool quoted = !rest.empty() && rest.front() == L'"';
    const size_t end = quoted ? rest.find(L'"', 1) : rest.find_first_of(L" \t");
    rest.remove_prefix(end == std::wstring_view::npos ? rest.size() : end + (quoted ? 1 : 0));
    if (rest.find_first_not_of(L" \t") == std::wstring_view::npos)
        return {};
    const std::wstring line(commandLine);
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(line.c_str(), &count);
    if (!args)
        return {};
    std::wstring path = count > 1 ? args[1] : L"";
    LocalFree(args);
    if (path.empty())
        return {};
    std::wstring full(32768, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length > 0 && length < full.size()) {
        full.resize(length);
        path = full;
    }
    return Narrow(path);
}

bool HandDocumentTo(HWND mainWindow, const std::string& path)
{
    if (!mainWindow || path.empty())
        return false;
    std::wstring wide = Widen(path);
    COPYDATASTRUCT data{};
    data.dwData = kOpenDocumentData;
    data.cbData = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
    data.lpData = wide.data();
    DWORD_PTR taken = 0;
    // With a time limit: a window that hangs must not hold this start up for ever.
    return SendMessageTimeoutW(mainWindow, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 5000,
                               &taken) != 0 &&
           taken != 0;
}

void Main() { Main(std::string()); }

void Main(const std::string& documentPath)
{
    g_font = std::make_unique<clsFont>();
    if (AnotherInstanceRunning()) {
        if (!documentPath.empty()) {
            HWND running = RunningInstanceWindow();
            for (int wait = 0; !running && wait < 20; ++wait) {
                Sleep(100);
                running = RunningInstanceWindow();
            }
            HandDocumentTo(running, documentPath);
        }
        ActivateRunningInstance();
        UnloadAllForms();
        return;
    }
    g_initCC = std::make_unique<clsInitCC>();
    g_initCC->InitCC(0);
    if (!g_factory)
        return;
    g_mainForm = g_factory();
    if (!g_mainForm)
        return;
    g_mainForm->Show();
    if (g_mainForm->hWnd()) {
        SetPropW(g_mainForm->hWnd(), kMainWindowMark, reinterpret_cast<HANDLE>(1));
        if (!documentPath.empty())
            HandDocumentTo(g_mainForm->hWnd(), documentPath);
    }
}

void UnloadAllForms()
{
    if (g_mainForm && g_mainForm->hWnd())
        RemovePropW(g_mainForm->hWnd(), kMainWindowMark);
    g_font.reset();
    g_appIcon.reset();
    g_initCC.reset();
    for (forms::Form* form : forms::Form::Forms()) {
        // An earlier form's unload may have closed this one already.
        std::vector<forms::Form*> now = forms::Form::Forms();
        if (std::find(now.begin(), now.end(), form) == now.end())
            continue;
        try {
            form->Unload();
        } catch (...) {
        }
    }
}

void SetFormFont(forms::Form& form, const std::string& fontName, int fontSize)
{
    for (forms::Control* c : form.Controls()) {
        if (!c->HasFont())
            continue;
        try {
            c->SetFont(fontName, fontSize);
        } catch (...) {
        }
    }
}

void SelectAllText(forms::TextBox& box)
{
    box.SelStart(0);
    box.SelLength(box.TextLength());
}

std::string CompactPath(const std::string& path, const forms::Control& control, const forms::Form& form)
{
    if (form.ScaleMode() != forms::kScalePixels)
        return path;
    std::wstring wide = Widen(path);
    if (wide.size() >= MAX_PATH || wide.find(L'\0') != std::wstring::npos)
        return path;
    // The path, a NUL, then blanks, as the shell routine works in place.
    std::wstring buffer = wide;
    buffer.push_back(L'\0');
    buffer.resize(MAX_PATH, L' ');
    buffer.back() = L'\0';
    int width = CompactPathWidth(control.Width());
    HDC dc = GetDC(form.hWnd());
    auto font = reinterpret_cast<HFONT>(form.hWnd() ? SendMessageW(form.hWnd(), WM_GETFONT, 0, 0) : 0);
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    // A path that fits stays as it is: the shell's library is loaded only for one that does not.
    SIZE extent{};
    if (!GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent) || extent.cx > width)
        PathCompactPathW(dc, buffer.data(), static_cast<UINT>(width));
    if (old)
        SelectObject(dc, old);
    ReleaseDC(form.hWnd(), dc);
    std::wstring result(buffer.c_str());
    result.erase(0,
                 result.find_first_not_of(L' ') == std::wstring::npos ? result.size() : result.find_first_not_of(L' '));
    return Narrow(result);
}

namespace {

// A box the user can neither type into nor reach with the Tab key only shows a value.
bool IsDisplayField(const forms::Control& c)
{
    return c.Kind() == forms::ControlKind::TextBox && static_cast<const forms::TextBox&>(c).Locked() && !c.TabStop();
}

std::uint32_t ThemeBackColor(const forms::Control& c, bool themeActive)
{
    switch (c.Kind()) {
    case forms::ControlKind::TextBox:
        // Display fields look read-only in every theme; what takes input stays white.
        return IsDisplayField(c) ? forms::kColorButtonFace : forms::kColorWindow;
    case forms::ControlKind::ComboBox:
    case forms::ControlKind::ListBox: return forms::kColorWindow;
    default: return themeActive ? forms::kColorWindow : forms::kColorButtonFace;
    }
}

}  // namespace

void ApplyThemeBackColors(forms::Form& form, bool themesSupported, bool themeActive)
{
    if (!themesSupported)
        return;
    for (forms::Control* c : form.Controls()) {
        if (c->Kind() == forms::ControlKind::MenuItem || c->Tag().find("notheme") != std::string::npos)
            continue;
        // A control without a back colour and without the mark: error 438.
        c->BackColor(ThemeBackColor(*c, themeActive));
    }
}

void ApplyThemeBackColors()
{
    forms::Form* form = MainForm();
    if (!form)
        return;
    clsInitCC probe;
    const clsInitCC& cc = g_initCC ? *g_initCC : probe;
    bool supported = cc.XPThemesSupported();
    ApplyThemeBackColors(*form, supported, supported && cc.ThemeIsActive());
}

}  // namespace kw
