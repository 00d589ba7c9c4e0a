// Shows the real main window with a sample plugin filled in, clicks through its four pages
// and opens each dialog, saving a picture of every one as <folder>\<name>.bmp.
// Usage (under Wine on an X display): kw_screenshots <folder>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchWindow.h"
#include "Capture.h"
#include "WindowScript.h"
#include "app/frmMain.h"
#include "app/modMain.h"
#if __has_include("dialogs/frmAuthor.h")
#include "dialogs/frmAbout.h"
#include "dialogs/frmAuthor.h"
#include "dialogs/frmMenu.h"
#include "dialogs/frmOptions.h"
#define KW_HAS_DIALOGS 1
#endif

namespace {

std::wstring g_folder;
std::wstring g_dialogShot;
HWND g_main = nullptr;
HWND g_closing = nullptr;  // the dialog asked to close, and its fallback timer
UINT_PTR g_forceTimer = 0;
int g_failures = 0;

// As a mouse user sees the window in use: its caption active, no focus rectangle (on the
// tab just clicked, say) until the keyboard is used.
void LookInUse(HWND hwnd)
{
    // Wine's tab control draws its focus rectangle whatever the UI state says.
    HWND focus = GetFocus();
    wchar_t cls[32] = {};
    if (focus && GetClassNameW(focus, cls, 32) && lstrcmpiW(cls, L"SysTabControl32") == 0)
        SetFocus(nullptr);
    SendMessageW(hwnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
    SendMessageW(hwnd, WM_NCACTIVATE, TRUE, 0);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME | RDW_UPDATENOW);
    kwscript::Pump(100);
}

void Save(HWND hwnd, const std::wstring& name)
{
    const std::wstring path = g_folder + L"\\" + name + L".bmp";
    if (kwshot::SaveWindowBitmap(hwnd, path)) {
        std::printf("saved %ls\n", path.c_str());
    } else {
        std::printf("could not save %ls\n", path.c_str());
        ++g_failures;
    }
}

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM found)
{
    if (hwnd != g_main && IsWindowVisible(hwnd) && GetWindowTextLengthW(hwnd) > 0) {
        *reinterpret_cast<HWND*>(found) = hwnd;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK ForceClose(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    g_forceTimer = 0;
    if (IsWindow(g_closing) && IsWindowVisible(g_closing)) {
        std::printf("%ls did not close on WM_CLOSE; pressing Cancel\n", g_dialogShot.c_str());
        ++g_failures;
        PostMessageW(g_closing, WM_COMMAND, IDCANCEL, 0);
    }
}

// Runs inside the dialog's modal loop: picture, then close it as the close box would.
void CALLBACK ShootDialog(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    HWND dlg = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dlg));
    if (!dlg) {
        std::printf("no dialog for %ls\n", g_dialogShot.c_str());
        ++g_failures;
        return;
    }
    LookInUse(dlg);
    Save(dlg, g_dialogShot);
    g_closing = dlg;
    PostMessageW(dlg, WM_CLOSE, 0, 0);
    g_forceTimer = SetTimer(nullptr, 0, 3000, ForceClose);
}

template <typename Show>
void ShootModal(const std::wstring& name, Show show)
{
    g_dialogShot = name;
    const UINT_PTR shoot = SetTimer(nullptr, 0, 700, ShootDialog);
    show();
    KillTimer(nullptr, shoot);
    if (g_forceTimer)
        KillTimer(nullptr, g_forceTimer);
    g_forceTimer = 0;
    kwscript::Pump(300);
}

void MakeFile(const std::wstring& path)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD n = 0;
    WriteFile(h, "sample", 6, &n, nullptr);
    CloseHandle(h);
}

// Preferences of a user who has set the program up: author, groups, a plugins folder.
void WritePreferences(const std::wstring& plugins)
{
    const std::wstring ini = kwscript::ProgramFolder() + L"\\Kitwright.ini";
    DeleteFileW(ini.c_str());
    auto put = [&](const wchar_t* section, const wchar_t* key, const std::wstring& value) {
        WritePrivateProfileStringW(section, key, value.c_str(), ini.c_str());
    };
    put(L"Preferences", L"PluginPath", plugins);
    for (const wchar_t* key : {L"IncAuthor", L"IncZelMenu", L"IncJuxMenu", L"IncPopupDone"})
        put(L"Preferences", key, L"1");
    put(L"MenuGroup", L"0", L"Accessories");
    put(L"MenuGroup", L"1", L"System Tools");
    put(L"MenuGroup", L"2", L"Tools");
    put(L"Personal", L"Name", L"Ann Author");
    put(L"Personal", L"Website", L"http://ann.example.org/");
    put(L"Personal", L"Contact", L"ann@example.org");
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: kw_screenshots <folder>\n");
        return 2;
    }
    g_folder = argv[1];
    CreateDirectoryW(g_folder.c_str(), nullptr);
    const std::wstring sample = L"C:\\Kitwright sample";
    CreateDirectoryW(sample.c_str(), nullptr);
    CreateDirectoryW((sample + L"\\Plugins").c_str(), nullptr);
    CreateDirectoryW((sample + L"\\HexTools").c_str(), nullptr);
    std::vector<std::wstring> files;
    for (const wchar_t* name : {L"hexed.exe", L"hexed.dll", L"hexview.exe", L"readme.txt"}) {
        files.push_back(sample + L"\\HexTools\\" + name);
        MakeFile(files.back());
    }
    WritePreferences(sample + L"\\Plugins");
    kwscript::RecordingPrompt prompt;
    kw::frmMain* main = kwbench::OpenQuietMainWindow(prompt, 0);
    if (!main)
        return 1;
    g_main = main->hWnd();
    SetForegroundWindow(g_main);
    kwscript::Pump(300);

    // A sample plugin, entered as a user would.
    kwscript::Type(main->txtPluginName.hWnd(), L"HexTools");
    kwscript::TypeOver(main->txtProgramName.hWnd(), L"Hex Tools & Co");
    kwscript::TypeOver(main->txtProgramWebsite.hWnd(), L"http://hex.example/tools");
    kwscript::Type(main->txtDescription.hWnd(), L"Views and edits binary files of any size.");
    // Each page is made when its tab is first clicked: the drops go onto the shown page.
    HWND tab = kwscript::FindChildOfClass(g_main, L"SysTabControl32");
    kwscript::ClickTab(tab, 1);
    if (IDropTarget* t = main->lstProgramFiles.RegisteredDropTarget())
        kwscript::DropFiles(t, files);
    kwscript::ClickTab(tab, 2);
    if (IDropTarget* t = main->lstSystemFiles.RegisteredDropTarget())
        kwscript::DropFiles(t, {L"C:\\windows\\system32\\msvcrt.dll"});
    kwscript::ClickTab(tab, 3);
    if (IDropTarget* t = main->txtExecutable.RegisteredDropTarget())
        kwscript::DropFiles(t, {files[0]});
    kwscript::TypeOver(main->txtShortcutName.hWnd(), L"Hex Editor");
    kwscript::Click(main->chkIncAutorun.hWnd());
    kwscript::Click(main->chkIncJuxDesktop.hWnd());
    kwscript::Type(main->cboMenuGroup.hWnd(), L"Tools");
    kwscript::Click(main->chkAppendMenuGroup.hWnd());

    const wchar_t* pages[] = {L"main-information", L"main-program-files", L"main-system-files", L"main-executables"};
    for (int i = 3; i >= 0; --i) {  // ends on the first page, as the program starts
        kwscript::ClickTab(tab, i);
        kwscript::Pump(400);
        LookInUse(g_main);
        Save(g_main, pages[i]);
    }
    main->txtPluginName.SetFocus();
    kwscript::Pump(200);

#ifdef KW_HAS_DIALOGS
    ShootModal(L"dialog-menu-groups", [&] { kw::ShowMenuDialog(main->oKW(), g_main); });
    ShootModal(L"dialog-author", [&] { kw::ShowAuthorDialog(main->oKW(), g_main); });
    ShootModal(L"dialog-options", [&] { kw::ShowOptionsDialog(main->oKW(), g_main); });
    ShootModal(L"dialog-about", [&] { kw::ShowAboutBox(); });
#else
    std::printf("this version has no dialogs yet: none shown\n");
#endif

    for (const auto& m : prompt.shown)
        std::printf("message: %s | %s\n", m.title.c_str(), m.text.c_str());
    kw::UnloadAllForms();
    return g_failures == 0 ? 0 : 1;
}
