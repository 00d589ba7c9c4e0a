#pragma once
#include <windows.h>

namespace kw {

// A placeholder window's rectangle in its parent's client coordinates: the wrappers
// create their native controls exactly over it.
inline RECT BoundaryRect(HWND boundary, HWND parent)
{
    RECT r{};
    if (boundary && GetWindowRect(boundary, &r))
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace kw
