#include "clsInitCC.h"

#include <commctrl.h>

#include "platform/RuntimeError.h"

namespace kw {

bool clsInitCC::InitCC(DWORD v_eFlags)
{
    // The shell's library is not loaded here: it is large (about 2 MB of the first paint's
    // working set under Wine) and the program's calls into it load it when first made.
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
