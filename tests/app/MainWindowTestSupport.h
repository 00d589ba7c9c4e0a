#pragma once
// Shared by the main-window tests: the real window started through Main in a temporary
// program folder, with the messages recorded, typed keys, clicks, shell drops and a
// driver for the open-file and folder pickers.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "app/frmMain.h"
#include "app/modMain.h"
#include "platform/Platform.h"
#include "platform/WinText.h"
#include "resources/resource.h"

namespace kwtest {

namespace fs = std::filesystem;
using namespace kw::forms;

struct ShownMessage {
    std::string text, title;
    unsigned style;
};

// Records every message; answers with the next scripted answer, else OK.
class RecordingPrompt : public kw::platform::iPrompt {
public:
    int Show(kw::NativeHandle, std::string_view text, std::string_view title, unsigned style) override
    {
        shown.push_back({std::string(text), std::string(title), style});
        if (onShow)
            onShow();
        if (answers.empty())
            return kw::platform::kIdOk;
        int answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    std::vector<ShownMessage> shown;
    std::vector<int> answers;
    std::function<void()> onShow;  // sees the window as it is while the message is up
};

// A data object carrying a shell file list (CF_HDROP), or no file list at all.
class FileData : public IDataObject {
public:
    explicit FileData(std::vector<std::string> files, bool hasFiles = true)
        : files_(std::move(files)), hasFiles_(hasFiles) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }  // lives on the stack
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        if (QueryGetData(format) != S_OK)
            return DV_E_FORMATETC;
        std::wstring list;
        for (const auto& f : files_)
            list += kw::Widen(f) + L'\0';
        list += L'\0';
        size_t bytes = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
        HGLOBAL h = GlobalAlloc(GHND, bytes);
        auto* drop = static_cast<DROPFILES*>(GlobalLock(h));
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = TRUE;
        std::memcpy(drop + 1, list.data(), list.size() * sizeof(wchar_t));
        GlobalUnlock(h);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = h;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override
    {
        return hasFiles_ && format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    std::vector<std::string> files_;
    bool hasFiles_;
};

// What the next picker does, and what the test saw of it.
struct PickerScript {
    bool folderPicker = false;
    bool cancel = false;
    std::wstring fileText;   // typed into the open-file dialog's name box
    std::wstring navigateTo; // a folder the open-file dialog shows first (then fileText)
    std::wstring folder;     // selected in the folder picker
    std::wstring treeName;   // its name in the tree
    HWND dialog = nullptr;
    bool navigated = false;
    std::wstring title;
    LRESULT filterCount = -1;
    LRESULT filterSel = -1;
};

namespace detail {
inline PickerScript* g_script = nullptr;
inline HHOOK g_hook = nullptr;
inline UINT_PTR g_giveUp = 0;

inline std::wstring ClassOf(HWND h)
{
    wchar_t name[64]{};
    GetClassNameW(h, name, 64);
    return name;
}
inline std::wstring TextOf(HWND h)
{
    wchar_t text[512]{};
    GetWindowTextW(h, text, 512);
    return text;
}
inline void Press(HWND dlg, int id)
{
    PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, id)));
}
inline BOOL CALLBACK CancelDialog(HWND hwnd, LPARAM)
{
    if (ClassOf(hwnd) == L"#32770")
        PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}
inline void CALLBACK GiveUp(HWND hwnd, UINT, UINT_PTR id, DWORD)
{
    KillTimer(hwnd, id);
    EnumThreadWindows(GetCurrentThreadId(), CancelDialog, 0);
}
inline void CALLBACK OpenFileStep(HWND dlg, UINT, UINT_PTR id, DWORD)
{
    KillTimer(dlg, id);
    PickerScript& s = *g_script;
    s.title = TextOf(dlg);
    HWND types = GetDlgItem(dlg, cmb1);
    s.filterCount = SendMessageW(types, CB_GETCOUNT, 0, 0);
    s.filterSel = SendMessageW(types, CB_GETCURSEL, 0, 0);
    if (s.cancel) {
        Press(dlg, IDCANCEL);
        return;
    }
    if (!s.navigateTo.empty() && !s.navigated) {
        // The dialog remembers where it was last: show the folder meant, then pick in it.
        s.navigated = true;
        SendMessageW(dlg, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(s.navigateTo.c_str()));
        SendMessageW(dlg, CDM_SETCONTROLTEXT, edt1, reinterpret_cast<LPARAM>(s.navigateTo.c_str()));
        Press(dlg, IDOK);
        SetTimer(dlg, 1, 200, OpenFileStep);
        return;
    }
    SendMessageW(dlg, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(s.fileText.c_str()));
    SendMessageW(dlg, CDM_SETCONTROLTEXT, edt1, reinterpret_cast<LPARAM>(s.fileText.c_str()));
    Press(dlg, IDOK);
}
inline BOOL CALLBACK FindTreeChild(HWND child, LPARAM found)
{
    if (ClassOf(child) == L"SysTreeView32") {
        *reinterpret_cast<HWND*>(found) = child;
        return FALSE;
    }
    return TRUE;
}
inline std::wstring SelectedTreeText(HWND tree)
{
    auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (!item)
        return {};
    wchar_t text[MAX_PATH]{};
    TVITEMW tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = MAX_PATH;
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
    return text;
}
// The folder picker takes the selection only once it is ready: ask again until the tree
// shows the folder selected, then press OK.
inline void CALLBACK BrowseStep(HWND dlg, UINT, UINT_PTR id, DWORD)
{
    PickerScript& s = *g_script;
    s.title = TextOf(dlg);
    if (s.cancel) {
        KillTimer(dlg, id);
        Press(dlg, IDCANCEL);
        return;
    }
    SendMessageW(dlg, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(s.folder.c_str()));
    HWND tree = nullptr;
    EnumChildWindows(dlg, FindTreeChild, reinterpret_cast<LPARAM>(&tree));
    if (tree && SelectedTreeText(tree) == s.treeName) {
        KillTimer(dlg, id);
        Press(dlg, IDOK);
    }
}
inline LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && g_script && !g_script->dialog) {
        HWND h = reinterpret_cast<HWND>(wParam);
        if (ClassOf(h) == L"#32770") {
            g_script->dialog = h;
            const bool browse = g_script->folderPicker;
            SetTimer(h, 1, browse ? 100 : 50, browse ? BrowseStep : OpenFileStep);
            g_giveUp = SetTimer(nullptr, 0, 10000, GiveUp);
        }
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}
}  // namespace detail

// Drives the pickers opened while it lives.
class PickerDriver {
public:
    explicit PickerDriver(PickerScript& s)
    {
        detail::g_script = &s;
        detail::g_hook = SetWindowsHookExW(WH_CBT, detail::CbtHook, nullptr, GetCurrentThreadId());
    }
    ~PickerDriver()
    {
        if (detail::g_giveUp)
            KillTimer(nullptr, detail::g_giveUp);
        detail::g_giveUp = 0;
        UnhookWindowsHookEx(detail::g_hook);
        detail::g_hook = nullptr;
        detail::g_script = nullptr;
    }
    PickerDriver(const PickerDriver&) = delete;
    PickerDriver& operator=(const PickerDriver&) = delete;
};

inline std::wstring DisplayName(const std::string& path)
{
    SHFILEINFOW info{};
    SHGetFileInfoW(kw::Widen(path).c_str(), 0, &info, sizeof(info), SHGFI_DISPLAYNAME);
    return info.szDisplayName;
}

inline std::string ReadAll(const std::string& path)
{
    std::ifstream in(fs::path(kw::Widen(path)), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The real main window, started as the program starts it, in a program folder of its own.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        fs::path base = fs::temp_directory_path() /
                        (std::string("kwmain-") + info->name() + "-" + std::to_string(std::random_device{}() % 100000));
        fs::remove_all(base);
        fs::create_directories(base);
        root = kw::Narrow(base.wstring());
        programFolder = root + "\\prog";
        plugins = root + "\\plugins\\";
        systemFolder = root + "\\win\\system32";
        fs::create_directories(fs::path(kw::Widen(programFolder)));
        fs::create_directories(fs::path(kw::Widen(plugins)));
        fs::create_directories(fs::path(kw::Widen(systemFolder)));
        kw::platform::SetProgramFolderForTesting(programFolder);
        kw::platform::SetSpecialFolderForTesting(kw::platform::kCsidlWindows, root + "\\win");
        kw::platform::SetSpecialFolderForTesting(kw::platform::kCsidlSystem, systemFolder);
        kw::platform::SetShellOpenHookForTesting(
            [this](kw::NativeHandle, std::string_view verb, std::string_view file, std::string_view) {
                opened.push_back(std::string(verb) + " " + std::string(file));
            });
        previousPrompt = kw::platform::SetPrompt(&prompt);

        current_ = this;
        kw::RegisterMainForm();
        kw::Main();
        ASSERT_NE(kw::MainForm(), nullptr);
        f = static_cast<kw::frmMain*>(kw::MainForm());
        DoEvents();
        SetForegroundWindow(f->hWnd());
        DoEvents();
        f->oKW().PluginLocation(plugins);
    }

    void TearDown() override
    {
        kw::UnloadAllForms();
        DoEvents();
        kw::platform::SetPrompt(previousPrompt);
        kw::platform::SetShellOpenHookForTesting({});
        kw::platform::SetProgramFolderForTesting({});
        kw::platform::SetSpecialFolderForTesting(kw::platform::kCsidlWindows, {});
        kw::platform::SetSpecialFolderForTesting(kw::platform::kCsidlSystem, {});
        std::error_code ec;
        for (auto& entry : fs::recursive_directory_iterator(fs::path(kw::Widen(root)), ec))
            SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        fs::remove_all(fs::path(kw::Widen(root)), ec);
    }

    // A small file under the test's folder, its folders made as needed.
    std::string MakeFile(const std::string& relative, const std::string& content = "x")
    {
        std::string path = root + "\\" + relative;
        fs::path p(kw::Widen(path));
        fs::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << content;
        return path;
    }

    void ShowTab(int tab)
    {
        // As a click does: the selection changes and the strip notifies its parent.
        HWND strip = f->oTabs()->hWnd();
        RECT r{};
        SendMessageW(strip, TCM_GETITEMRECT, static_cast<WPARAM>(tab - 1), reinterpret_cast<LPARAM>(&r));
        LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageW(strip, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(strip, WM_LBUTTONUP, 0, at);
        DoEvents();
    }

    void Type(Control& c, const std::string& chars)
    {
        c.SetFocus();
        DoEvents();
        HWND focus = GetFocus();
        ASSERT_NE(focus, nullptr);
        for (unsigned char ch : chars)
            PostMessageW(focus, WM_CHAR, ch, 1);
        DoEvents();
    }
    void Key(UINT vk)
    {
        HWND focus = GetFocus();
        ASSERT_NE(focus, nullptr);
        PostMessageW(focus, WM_KEYDOWN, vk, 1);
        PostMessageW(focus, WM_KEYUP, vk, 0xC0000001);
        DoEvents();
    }
    // The key with Ctrl (and Shift) held, as the thread's key state shows them.
    void CtrlKey(UINT vk, bool shift = false)
    {
        BYTE keys[256]{};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = 0x80;
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        Key(vk);
        keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
    }
    void Click(Control& c)
    {
        ASSERT_TRUE(IsWindowEnabled(c.hWnd())) << c.Id();
        SendMessageW(c.hWnd(), BM_CLICK, 0, 0);
        DoEvents();
    }
    void Menu(int id)
    {
        SendMessageW(f->hWnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
        DoEvents();
    }
    // Drags the files over the control and drops them, as the shell does; returns the
    // effect the drop ended with.
    DWORD Drop(Control& c, FileData& data)
    {
        IDropTarget* target = c.RegisteredDropTarget();
        EXPECT_NE(target, nullptr);
        if (!target)
            return DROPEFFECT_NONE;
        POINTL pt{5, 5};
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
        target->DragEnter(&data, MK_LBUTTON, pt, &effect);
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
        target->DragOver(MK_LBUTTON, pt, &effect);
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
        target->Drop(&data, 0, pt, &effect);
        DoEvents();
        return effect;
    }
    static std::vector<std::string> Items(const ListBox& list)
    {
        std::vector<std::string> out;
        for (int i = 0; i < list.ListCount(); ++i)
            out.push_back(list.List(i));
        return out;
    }
    // Runs script inside the modal loop of the form that action opens; the script closes it.
    void WhileModal(const std::function<void()>& action, const std::function<void(HWND dialog)>& script)
    {
        modalScript_ = &script;
        modalRan_ = false;
        UINT_PTR timer = SetTimer(nullptr, 0, 10, ModalTick);
        action();
        if (!modalRan_)
            KillTimer(nullptr, timer);
        EXPECT_TRUE(modalRan_) << "no modal form ran";
        EXPECT_EQ(Form::Forms().size(), 1u);
    }
    static void ClickIn(HWND dialog, int id)
    {
        SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
        DoEvents();
    }
    int DefaultId() const { return LOWORD(SendMessageW(f->hWnd(), DM_GETDEFID, 0, 0)); }

    kw::frmMain* f = nullptr;
    bool mainDisabledWhileModal = false;
    RecordingPrompt prompt;
    kw::platform::iPrompt* previousPrompt = nullptr;
    std::vector<std::string> opened;
    std::string root, programFolder, plugins, systemFolder;

private:
    static void CALLBACK ModalTick(HWND, UINT, UINT_PTR id, DWORD)
    {
        KillTimer(nullptr, id);
        modalRan_ = true;
        auto forms = Form::Forms();
        if (forms.size() < 2) {
            ADD_FAILURE() << "no modal form is open";
            return;
        }
        current_->mainDisabledWhileModal = !IsWindowEnabled(forms.front()->hWnd());
        (*modalScript_)(forms.back()->hWnd());
        for (size_t i = 1; i < Form::Forms().size(); ++i) {
            ADD_FAILURE() << "the script left the form open";
            PostMessageW(Form::Forms()[i]->hWnd(), WM_CLOSE, 0, 0);
        }
    }
    static inline const std::function<void(HWND)>* modalScript_ = nullptr;
    static inline bool modalRan_ = false;

protected:
    static inline MainWindowTest* current_ = nullptr;
};

}  // namespace kwtest
