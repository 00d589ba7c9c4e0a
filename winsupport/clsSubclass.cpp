#include "clsSubclass.h"

#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/RuntimeError.h"
#include "platform/WinText.h"

namespace kw {

namespace {

// Written before every handler call, nested dispatches included.
thread_local UINT g_currentMessage = 0;

std::wstring KeyWindow(HWND hWnd) { return std::to_wstring(reinterpret_cast<LONG_PTR>(hWnd)); }

std::wstring KeyMessage(HWND hWnd, UINT iMsg)
{
    // Message numbers are keyed as signed 32-bit values.
    return KeyWindow(hWnd) + L"#" + std::to_wstring(static_cast<std::int32_t>(iMsg));
}

std::wstring KeyWindowCount(HWND hWnd) { return KeyWindow(hWnd) + L"C"; }
std::wstring KeyHandlerCount(HWND hWnd, UINT iMsg) { return KeyMessage(hWnd, iMsg) + L"C"; }
std::wstring KeyHandler(HWND hWnd, UINT iMsg, LONG_PTR index)
{
    return KeyMessage(hWnd, iMsg) + L"#" + std::to_wstring(index);
}

LONG_PTR ReadProp(HWND hWnd, const std::wstring& key)
{
    return reinterpret_cast<LONG_PTR>(GetPropW(hWnd, key.c_str()));
}

std::string ExeBaseName()
{
    wchar_t path[MAX_PATH + 1]{};
    DWORD len = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name(path, len);
    size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos)
        name.erase(0, slash + 1);
    size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos)
        name.erase(dot);
    return Narrow(name);
}

std::string ErrorSource() { return ExeBaseName() + ".WindowProc"; }

void ReportHandlerFailure(HWND hWnd, const std::string& text)
{
    // Nothing may leave a window procedure; tell the user instead.
    try {
        platform::ShowMessage(reinterpret_cast<NativeHandle>(hWnd), text, ExeBaseName(),
                              platform::kMbOk | platform::kMbIconError);
    } catch (...) {
        // The report itself failed: the message is dropped rather than the program.
    }
}

}  // namespace

UINT clsSubclass::CurrentMessage() const { return g_currentMessage; }

void clsSubclass::RaiseSubclassError(long code)
{
    static const char* const kDescriptions[] = {
        "Can't subclass window",
        "Message already handled by another class",
        "Invalid window",
        "Can't modify external window",
    };
    // FACILITY_ITF range, as the callers expect the number.
    long number = static_cast<std::int32_t>(0x80040000u + static_cast<std::uint32_t>(code));
    throw RuntimeError(number, kDescriptions[code - kErrCantSubclass], ErrorSource());
}

bool clsSubclass::IsOwnProcessWindow(HWND hWnd)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    return pid == GetCurrentProcessId();
}

bool clsSubclass::WriteProp(HWND hWnd, const wchar_t* key, LONG_PTR value)
{
    if (value == 0) {
        RemovePropW(hWnd, key);
        LastPropOk_ = true;
    } else {
        LastPropOk_ = SetPropW(hWnd, key, reinterpret_cast<HANDLE>(value)) != FALSE;
    }
    return LastPropOk_;
}

iSubclass* clsSubclass::GetHandlerAt(HWND hWnd, UINT iMsg, LONG_PTR index)
{
    return reinterpret_cast<iSubclass*>(ReadProp(hWnd, KeyHandler(hWnd, iMsg, index)));
}

void clsSubclass::SetHandlerAt(HWND hWnd, UINT iMsg, LONG_PTR index, iSubclass* handler)
{
    WriteProp(hWnd, KeyHandler(hWnd, iMsg, index).c_str(), reinterpret_cast<LONG_PTR>(handler));
}

LONG_PTR clsSubclass::GetHandlerCount(HWND hWnd, UINT iMsg) { return ReadProp(hWnd, KeyHandlerCount(hWnd, iMsg)); }

void clsSubclass::SetHandlerCount(HWND hWnd, UINT iMsg, LONG_PTR count)
{
    WriteProp(hWnd, KeyHandlerCount(hWnd, iMsg).c_str(), count);
}

LONG_PTR clsSubclass::GetWindowUseCount(HWND hWnd) { return ReadProp(hWnd, KeyWindowCount(hWnd)); }

void clsSubclass::SetWindowUseCount(HWND hWnd, LONG_PTR count) { WriteProp(hWnd, KeyWindowCount(hWnd).c_str(), count); }

WNDPROC clsSubclass::GetPrevWndProc(HWND hWnd) { return reinterpret_cast<WNDPROC>(ReadProp(hWnd, KeyWindow(hWnd))); }

void clsSubclass::SetPrevWndProc(HWND hWnd, WNDPROC proc)
{
    WriteProp(hWnd, KeyWindow(hWnd).c_str(), reinterpret_cast<LONG_PTR>(proc));
}

void clsSubclass::AttachMessage(iSubclass* iwp, HWND lngHwnd, UINT iMsg)
{
    if (!IsWindow(lngHwnd))
        RaiseSubclassError(kErrInvalidWindow);
    if (!IsOwnProcessWindow(lngHwnd))
        RaiseSubclassError(kErrExternalWindow);
    if (!iwp)
        throw RuntimeError(kErrInvalidArgument, {}, ErrorSource());

    const LONG_PTR n = GetHandlerCount(lngHwnd, iMsg);
    for (LONG_PTR i = 1; i <= n; ++i) {
        if (GetHandlerAt(lngHwnd, iMsg, i) == iwp)
            RaiseSubclassError(kErrAlreadyHandled);
    }

    auto fail = [&]() { throw RuntimeError(kErrInvalidArgument, {}, ErrorSource()); };

    SetHandlerCount(lngHwnd, iMsg, n + 1);
    if (!LastPropOk_)
        fail();
    SetHandlerAt(lngHwnd, iMsg, n + 1, iwp);
    if (!LastPropOk_) {
        SetHandlerCount(lngHwnd, iMsg, n);
        fail();
    }

    auto undoHandler = [&]() {
        SetHandlerAt(lngHwnd, iMsg, n + 1, nullptr);
        SetHandlerCount(lngHwnd, iMsg, n);
    };

    const LONG_PTR uses = GetWindowUseCount(lngHwnd);
    if (uses == 0) {
        LONG_PTR prev = SetWindowLongPtrW(lngHwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DispatchProc));
        if (prev == 0) {
            undoHandler();
            RaiseSubclassError(kErrCantSubclass);
        }
        SetPrevWndProc(lngHwnd, reinterpret_cast<WNDPROC>(prev));
        if (!LastPropOk_) {
            SetWindowLongPtrW(lngHwnd, GWLP_WNDPROC, prev);
            undoHandler();
            fail();
        }
    }

    SetWindowUseCount(lngHwnd, uses + 1);
    if (!LastPropOk_) {
        undoHandler();
        if (uses == 0) {
            if (WNDPROC prev = GetPrevWndProc(lngHwnd)) {
                SetWindowLongPtrW(lngHwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(prev));
                SetPrevWndProc(lngHwnd, nullptr);
            }
        }
        fail();
    }
}

void clsSubclass::DetachMessage(iSubclass* iwp, HWND lngHwnd, UINT iMsg)
{
    if (!IsWindow(lngHwnd) || !IsOwnProcessWindow(lngHwnd))
        return;
    const LONG_PTR n = GetHandlerCount(lngHwnd, iMsg);
    LONG_PTR k = 0;
    for (LONG_PTR i = 1; i <= n; ++i) {
        if (GetHandlerAt(lngHwnd, iMsg, i) == iwp) {
            k = i;
            break;
        }
    }
    if (k == 0)
        return;

    for (LONG_PTR j = k; j < n; ++j)
        SetHandlerAt(lngHwnd, iMsg, j, GetHandlerAt(lngHwnd, iMsg, j + 1));
    SetHandlerAt(lngHwnd, iMsg, n, nullptr);
    SetHandlerCount(lngHwnd, iMsg, n - 1);

    const LONG_PTR uses = GetWindowUseCount(lngHwnd);
    if (uses == 1) {
        if (WNDPROC prev = GetPrevWndProc(lngHwnd))
            SetWindowLongPtrW(lngHwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(prev));
        SetPrevWndProc(lngHwnd, nullptr);
    }
    SetWindowUseCount(lngHwnd, uses - 1);
}

namespace {

struct KeyCollector {
    std::wstring window;
    std::vector<std::wstring> keys;
};

BOOL CALLBACK CollectBookkeeping(HWND, LPWSTR key, HANDLE, ULONG_PTR param)
{
    auto* c = reinterpret_cast<KeyCollector*>(param);
    if (IS_INTRESOURCE(key))
        return TRUE;
    std::wstring_view k(key);
    if (k.size() >= c->window.size() && k.compare(0, c->window.size(), c->window) == 0) {
        std::wstring_view rest = k.substr(c->window.size());
        if (rest.empty() || rest == L"C" || rest.front() == L'#')
            c->keys.emplace_back(k);
    }
    return TRUE;
}

}  // namespace

void clsSubclass::DropBookkeeping(HWND hWnd)
{
    // The window is unhooked for good: its text-keyed entries would otherwise leak their
    // atoms with the window.
    KeyCollector c{KeyWindow(hWnd), {}};
    EnumPropsExW(hWnd, CollectBookkeeping, reinterpret_cast<LPARAM>(&c));
    for (const std::wstring& key : c.keys)
        RemovePropW(hWnd, key.c_str());
}

LRESULT clsSubclass::Dispatch(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    const WNDPROC prev = GetPrevWndProc(hWnd);
    auto callPrev = [&]() {
        return prev ? CallWindowProcW(prev, hWnd, uMsg, wParam, lParam) : DefWindowProcW(hWnd, uMsg, wParam, lParam);
    };

    const LONG_PTR n = GetHandlerCount(hWnd, uMsg);
    if (n <= 0) {
        if (uMsg == WM_DESTROY) {
            if (prev)
                SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(prev));
            DropBookkeeping(hWnd);
        }
        return callPrev();
    }

    LRESULT result = 0;
    bool prevCalled = false;
    if (iSubclass* first = GetHandlerAt(hWnd, uMsg, 1)) {
        g_currentMessage = uMsg;
        result = first->MsgResponse();
        if (result & DefaultThenHandle) {
            callPrev();
            prevCalled = true;
        }
        g_currentMessage = uMsg;
        result = first->WindowProc(hWnd, uMsg, wParam, lParam);
    }
    for (LONG_PTR i = 2; i <= n; ++i) {
        if (iSubclass* h = GetHandlerAt(hWnd, uMsg, i)) {
            g_currentMessage = uMsg;
            result = h->WindowProc(hWnd, uMsg, wParam, lParam);
        }
    }
    if (!prevCalled) {
        if (iSubclass* last = GetHandlerAt(hWnd, uMsg, n)) {
            g_currentMessage = uMsg;
            if (last->MsgResponse() & HandleThenDefault)
                result = callPrev();
        }
    }
    return result;
}

LRESULT CALLBACK clsSubclass::DispatchProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    try {
        return Dispatch(hWnd, uMsg, wParam, lParam);
    } catch (const RuntimeError& e) {
        ReportHandlerFailure(hWnd, "Run-time error '" + std::to_string(e.Number()) + "':\n\n" + e.Description());
    } catch (const std::exception& e) {
        ReportHandlerFailure(hWnd, e.what());
    } catch (...) {
        ReportHandlerFailure(hWnd, "Unexpected error in a window message handler.");
    }
    return 0;
}

}  // namespace kw
