#pragma once
// What the control files share: not for use outside winsupport/forms.
#include <windows.h>

#include <string>

#include "platform/RuntimeError.h"
#include "platform/WinText.h"

namespace kw::forms::detail {

inline constexpr long kErrNotSupported = 438;  // object doesn't support this property or method

[[noreturn]] inline void InvalidValue(const char* what) { throw RuntimeError(kErrInvalidArgument, {}, what); }

inline LRESULT Send(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return SendMessageW(hwnd, msg, wParam, lParam);
}

inline LONG_PTR Style(HWND hwnd) { return GetWindowLongPtrW(hwnd, GWL_STYLE); }

inline std::string TextOf(HWND hwnd)
{
    int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), length + 1)));
    return Narrow(text);
}

}  // namespace kw::forms::detail
