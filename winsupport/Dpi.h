#pragma once
// The display density a window is drawn at and what follows from it. Systems with
// per-monitor awareness answer per window; older ones (and Wine) with the one screen DPI.
#include <windows.h>

namespace kw {

inline constexpr UINT kBaseDpi = 96;

// The DPI of the window's monitor where the system tells it, else the screen's.
UINT WindowDpi(HWND hwnd);
// A length given in pixels at 96 dpi, at dpi (rounded to the nearest pixel).
int ScaleToDpi(int pixelsAt96, UINT dpi);
// A system metric at dpi: asked of the system where it can answer, else scaled.
int SystemMetricForDpi(int index, UINT dpi);
// Widens the client rectangle to the window rectangle of a window with these styles at dpi.
void AdjustWindowRectForDpi(RECT& rect, DWORD style, bool hasMenu, DWORD exStyle, UINT dpi);
// The dialog manager of newer systems rescales dialogs by itself on a DPI change; the forms
// do it themselves, so it is told to leave this dialog alone.
void LeaveDpiChangesToTheProgram(HWND dialog);

// The pixel size of the frame of an icon group that fits a square box of `box` pixels: the
// largest frame not larger than the box, else the smallest frame. 0 when there is no group.
int FittingIconFrame(HMODULE module, LPCWSTR group, int box);

}  // namespace kw
