#include "clsInitCC.h"

#include <commctrl.h>

#include "platform/RuntimeError.h"

namespace kw {

clsInitCC::~clsInitCC()
{
    if (shell32_)
        FreeLibrary(shell32_);
}

bool clsInitCC::InitCC(DWORD v_eFlags)
{
    // Loaded before the controls are set up so the themed shell32 parts bind to the same
    // activation context; kept until the object goes.
    if (!shell32_)
        shell32_ = LoadLibraryW(L"shell32.dll");
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof(icc);
    icc.dwICC = v_eFlags;
    return InitCommonControlsEx(&icc) != FALSE;
}

bool clsInitCC::ThemeIsActive() const
{
    using IsThemeActiveFn = BOOL(WINAPI*)();
    HMODULE ux = LoadLibraryW(L"uxtheme.dll");
    if (!ux)
        throw RuntimeError(53, "File not found: uxtheme.dll", "clsInitCC.ThemeIsActive");
    auto fn = reinterpret_cast<IsThemeActiveFn>(reinterpret_cast<void*>(GetProcAddress(ux, "IsThemeActive")));
    bool active = fn && fn() != FALSE;
    FreeLibrary(ux);
    return active;
}

bool clsInitCC::XPThemesSupported() const
{
    HMODULE ux = LoadLibraryW(L"uxtheme.dll");
    if (!ux)
        return false;
    FreeLibrary(ux);
    return true;
}

}  // namespace kw
