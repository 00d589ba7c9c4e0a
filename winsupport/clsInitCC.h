#pragma once
#include <windows.h>

namespace kw {

// Common-controls start-up and the theme questions the back-colour routine asks.
class clsInitCC {
public:
    clsInitCC() = default;
    ~clsInitCC() = default;
    clsInitCC(const clsInitCC&) = delete;
    clsInitCC& operator=(const clsInitCC&) = delete;

    bool InitCC(DWORD v_eFlags);
    // Callers ask XPThemesSupported first: without uxtheme.dll this raises.
    bool ThemeIsActive() const;
    bool XPThemesSupported() const;
};

}  // namespace kw
