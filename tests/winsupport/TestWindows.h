#pragma once
// Small helpers shared by the window-driving tests.
#include <windows.h>

#include <string>

#include "WindowScript.h"

namespace kwtest {

using kwscript::Pump;

inline void RegisterClassOnce(const wchar_t* name, WNDPROC proc)
{
    WNDCLASSEXW wc{};
    if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &wc))
        return;
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc ? proc : DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    RegisterClassExW(&wc);
}

// A visible top-level window of the plain default class (owner may be 0).
inline HWND MakeTopWindow(const wchar_t* title, HWND owner = nullptr, int w = 480, int h = 360)
{
    RegisterClassOnce(L"KwTestTop", nullptr);
    HWND hwnd = CreateWindowExW(0, L"KwTestTop", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, w, h, owner, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    return hwnd;
}

inline HWND MakeChild(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h,
                      DWORD exStyle = 0, int id = 0)
{
    return CreateWindowExW(exStyle, cls, text, WS_CHILD | style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

// A window's rectangle in its parent's client coordinates.
inline RECT RectInParent(HWND child)
{
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

inline std::wstring WindowText(HWND hwnd)
{
    wchar_t buf[512]{};
    GetWindowTextW(hwnd, buf, 512);
    return buf;
}

inline std::wstring ClassOf(HWND hwnd)
{
    wchar_t buf[128]{};
    GetClassNameW(hwnd, buf, 128);
    return buf;
}

}  // namespace kwtest
