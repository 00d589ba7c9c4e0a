#include "clsGetOpenFile.h"

#include <cderr.h>
#include <commdlg.h>

#include <algorithm>
#include <cstddef>
#include <string_view>

#include "platform/WinText.h"

namespace kw {

namespace {

constexpr size_t kOverrunRoom = 65536;

// A complete answer ends inside the buffer: a list with its closing double NUL, or one
// path whose NUL is the buffer's last character. A cut-off answer has neither.
bool Terminated(const std::wstring& buffer)
{
    if (buffer.find(std::wstring_view(L"\0\0", 2)) != std::wstring::npos)
        return true;
    return buffer.find(L'\0') == buffer.size() - 1;
}

}  // namespace

void clsGetOpenFile::StripTrailing(std::wstring& text, wchar_t ch)
{
    size_t end = text.find_last_not_of(ch);
    text.erase(end == std::wstring::npos ? 0 : end + 1);
}

bool clsGetOpenFile::ShowOpen()
{
    std::wstring filter = Widen(filter_);
    std::replace(filter.begin(), filter.end(), L'|', L'\0');
    filter.append(2, L'\0');

    const int chars = std::max(bufferSize_, 0);
    // Blanks after the answer are trimmed off below; the first character stays NUL so the
    // file name box opens empty.
    std::wstring buffer(static_cast<size_t>(chars), L' ');
    buffer.append(2, L'\0');
    buffer[0] = L'\0';
    // Some dialog implementations (Wine's) write a selection that does not fit past
    // nMaxFile instead of failing: the spare room keeps that off the heap and shows it.
    const size_t used = buffer.size();
    buffer.append(kOverrunRoom, L'\0');

    std::wstring initDir = Widen(initDir_);
    std::wstring title = Widen(title_);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = parent_;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(filterIndex_);
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(used);
    ofn.lpstrInitialDir = initDir.empty() ? nullptr : initDir.c_str();
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.Flags = OFN_LONGNAMES | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    if (showHidden_)
        ofn.Flags |= OFN_FORCESHOWHIDDEN;
    if (multiSelect_)
        ofn.Flags |= OFN_ALLOWMULTISELECT;
    if (hideReadOnly_)
        ofn.Flags |= OFN_HIDEREADONLY;

    bufferTooSmall_ = false;
    if (!GetOpenFileNameW(&ofn)) {
        bufferTooSmall_ = CommDlgExtendedError() == FNERR_BUFFERTOOSMALL;
        return false;
    }
    const bool overran = std::any_of(buffer.begin() + static_cast<std::ptrdiff_t>(used), buffer.end(),
                                     [](wchar_t c) { return c != L'\0'; });
    buffer.resize(used);
    if (overran || !Terminated(buffer)) {
        bufferTooSmall_ = true;  // as the platform's own failure
        return false;
    }

    // The answer is followed by the untouched blanks; a multiple selection also ends in an
    // empty name. Trimming both leaves the answer alone.
    StripTrailing(buffer, L'\0');
    size_t first = buffer.find_first_not_of(L' ');
    buffer.erase(0, first == std::wstring::npos ? buffer.size() : first);
    StripTrailing(buffer, L' ');
    StripTrailing(buffer, L'\0');
    fileName_ = Narrow(buffer);
    return true;
}

}  // namespace kw
