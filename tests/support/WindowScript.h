#pragma once
// Drives a program window the way a user does: typed characters, clicks, tab and up-down
// clicks, the file pickers answered through a hook, files dropped through the window's own
// drop target, and the program's messages answered through its prompt. Shared by the
// window tests, the memory benchmark and the screenshot tool.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace kwscript {

// Runs the thread's message loop for about ms milliseconds.
inline void Pump(DWORD ms = 50)
{
    const DWORD start = GetTickCount();
    MSG msg;
    do {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(2);
    } while (GetTickCount() - start < ms);
}

// The folder of the running exe (where the program keeps Kitwright.ini).
inline std::wstring ProgramFolder()
{
    wchar_t exe[MAX_PATH]{};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring s = exe;
    return s.substr(0, s.find_last_of(L'\\'));
}

inline std::wstring TextOf(HWND hwnd)
{
    const int n = GetWindowTextLengthW(hwnd);
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    GetWindowTextW(hwnd, s.data(), n + 1);
    s.resize(static_cast<size_t>(n));
    return s;
}

inline std::wstring ClassOf(HWND hwnd)
{
    wchar_t buf[128]{};
    GetClassNameW(hwnd, buf, 128);
    return buf;
}

// Typed characters reach the box through its message queue, as keys do.
inline void Type(HWND box, std::wstring_view text)
{
    SetFocus(box);
    Pump(20);
    HWND target = GetFocus();  // an editable combo types into its inner edit
    for (wchar_t ch : text)
        PostMessageW(target, WM_CHAR, ch, 1);
    Pump(30);
}

// Selects the whole text first, so the typed text replaces it.
inline void TypeOver(HWND box, std::wstring_view text)
{
    SetFocus(box);
    Pump(20);
    HWND target = GetFocus();
    SendMessageW(target, EM_SETSEL, 0, -1);
    for (wchar_t ch : text)
        PostMessageW(target, WM_CHAR, ch, 1);
    Pump(30);
}

// A mouse click in the middle of a button, check box or radio.
inline void Click(HWND control)
{
    SendMessageW(control, BM_CLICK, 0, 0);
    Pump(30);
}

inline void ClickAt(HWND hwnd, int x, int y)
{
    const LPARAM at = MAKELPARAM(x, y);
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(hwnd, WM_LBUTTONUP, 0, at);
    Pump(30);
}

// A click on a tab's caption (TCM_SETCURSEL would not tell the program).
inline void ClickTab(HWND tab, int index)
{
    RECT r{};
    SendMessageW(tab, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    ClickAt(tab, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

// A click on the up (or down) arrow of an up-down control.
inline void ClickUpDown(HWND updown, bool up)
{
    RECT r{};
    GetClientRect(updown, &r);
    const bool vertical = !(GetWindowLongW(updown, GWL_STYLE) & UDS_HORZ);
    int x = r.right / 2, y = r.bottom / 2;
    if (vertical)
        y = up ? r.bottom / 4 : r.bottom * 3 / 4;
    else
        x = up ? r.right * 3 / 4 : r.right / 4;
    ClickAt(updown, x, y);
}

struct FindState {
    const wchar_t* cls;
    HWND found;
};

inline BOOL CALLBACK FindByClass(HWND hwnd, LPARAM lParam)
{
    auto* s = reinterpret_cast<FindState*>(lParam);
    if (ClassOf(hwnd) == s->cls) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// The first descendant window of a class (the tab strip, the up-down).
inline HWND FindChildOfClass(HWND parent, const wchar_t* cls)
{
    FindState s{cls, nullptr};
    EnumChildWindows(parent, FindByClass, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// ---- The pickers -------------------------------------------------------------------------

// What to do with the next picker the program opens.
struct PickerScript {
    // Open-file dialog: texts put into the file name box one after the other, each followed
    // by OK (a folder first makes the dialog show it; then the names, quoted when several).
    std::vector<std::wstring> fileTexts;
    // Folder picker: the folder to select, and its name as the tree shows it.
    std::wstring folder;
    std::wstring treeName;
    // Folder picker: OK on whatever it shows selected as it opens (its name in shownName).
    bool acceptShown = false;
    std::wstring shownName;
    bool cancel = false;

    HWND dialog = nullptr;
    std::wstring title;
    LRESULT filterCount = -1;  // the open-file dialog's file types, and the one shown
    LRESULT filterSel = -1;
    size_t step = 0;
    UINT_PTR giveUp = 0;
};

inline PickerScript*& CurrentPicker()
{
    static PickerScript* script = nullptr;
    return script;
}

inline HHOOK& PickerHook()
{
    static HHOOK hook = nullptr;
    return hook;
}

inline void PressDialogButton(HWND dlg, int id)
{
    PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, id)));
}

inline std::wstring WithoutTrailingBackslash(std::wstring path)
{
    while (path.size() > 3 && path.back() == L'\\')
        path.pop_back();
    return path;
}

inline void CALLBACK OpenFileStep(HWND dlg, UINT, UINT_PTR id, DWORD)
{
    PickerScript& s = *CurrentPicker();
    if (s.step == 0) {
        s.title = TextOf(dlg);  // the caption is set after the dialog is activated
        HWND types = GetDlgItem(dlg, cmb1);
        s.filterCount = SendMessageW(types, CB_GETCOUNT, 0, 0);
        s.filterSel = SendMessageW(types, CB_GETCURSEL, 0, 0);
    }
    if (s.cancel || s.step >= s.fileTexts.size()) {
        KillTimer(dlg, id);
        if (s.cancel)
            PressDialogButton(dlg, IDCANCEL);
        return;
    }
    // After a folder was entered, wait until the dialog shows it (slow on a busy machine).
    if (s.step > 0) {
        const std::wstring& previous = s.fileTexts[s.step - 1];
        const DWORD attributes = GetFileAttributesW(previous.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            wchar_t shown[MAX_PATH]{};
            SendMessageW(dlg, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(shown));
            if (lstrcmpiW(WithoutTrailingBackslash(shown).c_str(), WithoutTrailingBackslash(previous).c_str()) != 0)
                return;
        }
    }
    const std::wstring& text = s.fileTexts[s.step++];
    SendMessageW(dlg, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(dlg, CDM_SETCONTROLTEXT, edt1, reinterpret_cast<LPARAM>(text.c_str()));
    PressDialogButton(dlg, IDOK);
}

inline std::wstring SelectedTreeText(HWND tree)
{
    auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    wchar_t text[MAX_PATH]{};
    if (!item)
        return {};
    TVITEMW tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = MAX_PATH;
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
    return text;
}

// The item of that name among those the tree shows now (expanded branches only).
inline HTREEITEM FindShownTreeItem(HWND tree, HTREEITEM from, const std::wstring& name)
{
    for (HTREEITEM it = from; it; it = reinterpret_cast<HTREEITEM>(
                                      SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(it)))) {
        wchar_t text[MAX_PATH]{};
        TVITEMW tv{};
        tv.mask = TVIF_TEXT | TVIF_STATE;
        tv.stateMask = TVIS_EXPANDED;
        tv.hItem = it;
        tv.pszText = text;
        tv.cchTextMax = MAX_PATH;
        SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
        if (name == text)
            return it;
        if (tv.state & TVIS_EXPANDED) {
            auto child = reinterpret_cast<HTREEITEM>(
                SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(it)));
            if (HTREEITEM found = FindShownTreeItem(tree, child, name))
                return found;
        }
    }
    return nullptr;
}

// The folder picker takes the selection only once its tree is filled: ask until it shows.
// Wine's picker sometimes refuses a folder it was not opened at; then the folder is clicked
// in the tree when it shows there, as a user would.
inline void CALLBACK BrowseStep(HWND dlg, UINT, UINT_PTR id, DWORD)
{
    PickerScript& s = *CurrentPicker();
    s.title = TextOf(dlg);
    if (s.cancel) {
        KillTimer(dlg, id);
        PressDialogButton(dlg, IDCANCEL);
        return;
    }
    HWND tree = FindChildOfClass(dlg, L"SysTreeView32");
    if (s.acceptShown) {
        // The tree fills as it goes: the selection counts once it held still for a while.
        std::wstring shown = tree ? SelectedTreeText(tree) : std::wstring();
        s.step = shown == s.shownName ? s.step + 1 : 0;
        s.shownName = shown;
        if (!shown.empty() && s.step >= 3) {
            KillTimer(dlg, id);
            PressDialogButton(dlg, IDOK);
        }
        return;
    }
    if (!SendMessageW(dlg, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(s.folder.c_str())) && tree) {
        auto root = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
        if (HTREEITEM item = FindShownTreeItem(tree, root, s.treeName))
            SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    }
    if (tree && SelectedTreeText(tree) == s.treeName) {
        KillTimer(dlg, id);
        PressDialogButton(dlg, IDOK);
    }
}

inline BOOL CALLBACK CancelOwnedBox(HWND hwnd, LPARAM owner)
{
    if (GetWindow(hwnd, GW_OWNER) == reinterpret_cast<HWND>(owner) && ClassOf(hwnd) == L"#32770")
        PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

// A picker that did not end in time is cancelled (with any box it shows), so a fault
// fails the test instead of hanging it.
inline void CALLBACK GiveUpOnPicker(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    PickerScript* s = CurrentPicker();
    if (!s || s->giveUp != id || !IsWindow(s->dialog))
        return;
    s->giveUp = 0;
    EnumThreadWindows(GetCurrentThreadId(), CancelOwnedBox, reinterpret_cast<LPARAM>(s->dialog));
    PressDialogButton(s->dialog, IDCANCEL);
}

inline LRESULT CALLBACK PickerCbt(int code, WPARAM wParam, LPARAM lParam)
{
    PickerScript* s = CurrentPicker();
    if (code == HCBT_ACTIVATE && s && !s->dialog) {
        HWND h = reinterpret_cast<HWND>(wParam);
        if (ClassOf(h) == L"#32770") {
            s->dialog = h;
            const bool browse = !s->folder.empty() || s->acceptShown;
            SetTimer(h, 1, browse ? 100 : 150, browse ? BrowseStep : OpenFileStep);
            s->giveUp = SetTimer(nullptr, 0, 20000, GiveUpOnPicker);
        }
    }
    return CallNextHookEx(PickerHook(), code, wParam, lParam);
}

// Answers the pickers opened while it lives.
class PickerDriver {
public:
    explicit PickerDriver(PickerScript& s)
    {
        CurrentPicker() = &s;
        PickerHook() = SetWindowsHookExW(WH_CBT, PickerCbt, nullptr, GetCurrentThreadId());
    }
    ~PickerDriver()
    {
        if (CurrentPicker()->giveUp)
            KillTimer(nullptr, CurrentPicker()->giveUp);
        UnhookWindowsHookEx(PickerHook());
        PickerHook() = nullptr;
        CurrentPicker() = nullptr;
    }
    PickerDriver(const PickerDriver&) = delete;
    PickerDriver& operator=(const PickerDriver&) = delete;
};

// ---- Dropped files -----------------------------------------------------------------------

// The data a file drag from the shell carries: a CF_HDROP file list (or, for a drag of
// something else, no file list at all).
class FileDropData : public IDataObject {
public:
    explicit FileDropData(std::vector<std::wstring> files, bool hasFiles = true)
        : files_(std::move(files)),
          hasFiles_(hasFiles)
    {
    }
    virtual ~FileDropData() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (riid == IID_IUnknown || riid == IID_IDataObject) {
            *out = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs_; }  // lives on the stack
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        if (QueryGetData(format) != S_OK)
            return DV_E_FORMATETC;
        size_t chars = 1;
        for (const auto& f : files_)
            chars += f.size() + 1;
        HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * sizeof(wchar_t));
        auto* drop = static_cast<DROPFILES*>(GlobalLock(mem));
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = TRUE;
        auto* p = reinterpret_cast<wchar_t*>(drop + 1);
        for (const auto& f : files_) {
            p = std::copy(f.begin(), f.end(), p);
            *p++ = L'\0';
        }
        GlobalUnlock(mem);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = mem;
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
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    std::vector<std::wstring> files_;
    bool hasFiles_ = true;
    ULONG refs_ = 1;
};

// Drags the files over the target and drops them, as the shell does; returns the effect
// the drop ended with.
inline DWORD DropFiles(IDropTarget* target, const std::vector<std::wstring>& files)
{
    FileDropData data(files);
    POINTL pt{5, 5};
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    target->DragEnter(&data, MK_LBUTTON, pt, &effect);
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    target->DragOver(MK_LBUTTON, pt, &effect);
    if (effect == DROPEFFECT_NONE) {
        target->DragLeave();
        return effect;
    }
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    target->Drop(&data, 0, pt, &effect);
    Pump(30);
    return effect;
}

// ---- Messages ----------------------------------------------------------------------------

struct ShownMessage {
    std::string text, title;
    unsigned style;
};

// Records the program's messages; answers each with the next scripted answer, else with
// `answer`.
class RecordingPrompt : public kw::platform::iPrompt {
public:
    int Show(kw::NativeHandle, std::string_view text, std::string_view title, unsigned style) override
    {
        shown.push_back({std::string(text), std::string(title), style});
        if (onShow)
            onShow();
        if (answers.empty())
            return answer;
        const int next = answers.front();
        answers.erase(answers.begin());
        return next;
    }
    std::vector<ShownMessage> shown;
    std::vector<int> answers;
    int answer = kw::platform::kIdOk;
    std::function<void()> onShow;  // sees the window as it is while the message is up
};

}  // namespace kwscript
