#include "Dpi.h"

#include <climits>

namespace kw {

namespace {

// Entry points of newer systems, looked up once; null where the system lacks them.
template <typename Fn>
Fn User32Entry(const char* name)
{
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

UINT ScreenDpi()
{
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi;
}

#pragma pack(push, 2)
struct IconGroupHeader {
    WORD reserved, type, count;
};
struct IconGroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

}  // namespace

UINT WindowDpi(HWND hwnd)
{
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = User32Entry<GetDpiForWindowFn>("GetDpiForWindow");
    if (hwnd && getDpiForWindow)
        if (UINT dpi = getDpiForWindow(hwnd))
            return dpi;
    return ScreenDpi();
}

int ScaleToDpi(int pixelsAt96, UINT dpi)
{
    return MulDiv(pixelsAt96, static_cast<int>(dpi), static_cast<int>(kBaseDpi));
}

int SystemMetricForDpi(int index, UINT dpi)
{
    using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
    static const auto forDpi = User32Entry<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    if (forDpi)
        return forDpi(index, dpi);
    return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(ScreenDpi()));
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, bool hasMenu, DWORD exStyle, UINT dpi)
{
    using AdjustFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto forDpi = User32Entry<AdjustFn>("AdjustWindowRectExForDpi");
    if (!forDpi || !forDpi(&rect, style, hasMenu ? TRUE : FALSE, exStyle, dpi))
        AdjustWindowRectEx(&rect, style, hasMenu ? TRUE : FALSE, exStyle);
}

void LeaveDpiChangesToTheProgram(HWND dialog)
{
    using BehaviorFn = BOOL(WINAPI*)(HWND, int, int);
    static const auto setBehavior = User32Entry<BehaviorFn>("SetDialogDpiChangeBehavior");
    constexpr int kDisableAll = 1;  // DDC_DISABLE_ALL
    if (setBehavior && dialog)
        setBehavior(dialog, kDisableAll, kDisableAll);
}

int FittingIconFrame(HMODULE module, LPCWSTR group, int box)
{
    HRSRC res = FindResourceW(module, group, MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
    HGLOBAL data = res ? LoadResource(module, res) : nullptr;
    const auto* header = data ? static_cast<const IconGroupHeader*>(LockResource(data)) : nullptr;
    if (!header || SizeofResource(module, res) < sizeof(IconGroupHeader) + header->count * sizeof(IconGroupEntry))
        return 0;
    const auto* entries = reinterpret_cast<const IconGroupEntry*>(header + 1);
    int fitting = 0, smallest = INT_MAX;
    for (WORD i = 0; i < header->count; ++i) {
        const int size = entries[i].width ? entries[i].width : 256;
        if (size <= box && size > fitting)
            fitting = size;
        if (size < smallest)
            smallest = size;
    }
    if (fitting)
        return fitting;
    return smallest == INT_MAX ? 0 : smallest;
}

}  // namespace kw
