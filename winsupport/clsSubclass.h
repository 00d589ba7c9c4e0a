#pragma once
#include <windows.h>

namespace kw {

// How a handler wants the current message treated; the dispatch tests the bits
// (2: previous procedure first, 1: previous procedure after the handlers).
enum EMsgResponse : LONG_PTR {
    HandleOnly = 0,
    HandleThenDefault = 1,
    DefaultThenHandle = 2,
};

// Implemented by whoever wants a window's messages. The subclasser never sets MsgResponse.
class iSubclass {
public:
    virtual LONG_PTR MsgResponse() = 0;
    virtual void MsgResponse(LONG_PTR v_lResponse) = 0;
    virtual LRESULT WindowProc(HWND lngHwnd, UINT iMsg, WPARAM wParam, LPARAM lParam) = 0;

protected:
    ~iSubclass() = default;
};

// Delivers chosen messages of the program's own windows to iSubclass handlers. All
// bookkeeping lives in the window's property list:
//   "{hWnd}"           previous window procedure
//   "{hWnd}C"          attachments on the window (one per message and handler)
//   "{hWnd}#{msg}C"    handlers attached to msg
//   "{hWnd}#{msg}#{i}" handler i (1-based, no gaps, attachment order)
// Handlers are not owned; callers keep them alive while attached.
class clsSubclass {
public:
    static constexpr long kErrCantSubclass = 13081;
    static constexpr long kErrAlreadyHandled = 13082;
    static constexpr long kErrInvalidWindow = 13083;
    static constexpr long kErrExternalWindow = 13084;

    void AttachMessage(iSubclass* iwp, HWND lngHwnd, UINT iMsg);
    // Silent for windows that are gone, foreign, or handlers that are not attached.
    void DetachMessage(iSubclass* iwp, HWND lngHwnd, UINT iMsg);

    // The message being dispatched; meaningful only inside a handler.
    UINT CurrentMessage() const;
    bool InIDE() const { return false; }

private:
    bool LastPropOk_ = true;

    [[noreturn]] static void RaiseSubclassError(long code);
    static bool IsOwnProcessWindow(HWND hWnd);
    bool WriteProp(HWND hWnd, const wchar_t* key, LONG_PTR value);

    static iSubclass* GetHandlerAt(HWND hWnd, UINT iMsg, LONG_PTR index);
    void SetHandlerAt(HWND hWnd, UINT iMsg, LONG_PTR index, iSubclass* handler);
    static LONG_PTR GetHandlerCount(HWND hWnd, UINT iMsg);
    void SetHandlerCount(HWND hWnd, UINT iMsg, LONG_PTR count);
    static LONG_PTR GetWindowUseCount(HWND hWnd);
    void SetWindowUseCount(HWND hWnd, LONG_PTR count);
    static WNDPROC GetPrevWndProc(HWND hWnd);
    void SetPrevWndProc(HWND hWnd, WNDPROC proc);

    static LRESULT CALLBACK DispatchProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    static LRESULT Dispatch(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    static void DropBookkeeping(HWND hWnd);
};

}  // namespace kw
