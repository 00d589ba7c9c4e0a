#include "clsGetOpenFile.h"

#include <commdlg.h>

#include <algorithm>

#include "platform/WinText.h"

namespace kw {

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

    std::wstring initDir = Widen(initDir_);
    std::wstring title = Widen(title_);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = parent_;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(filterIndex_);
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(chars + 2);
    ofn.lpstrInitialDir = initDir.empty() ? nullptr : initDir.c_str();
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.Flags = OFN_LONGNAMES | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    if (showHidden_)
        ofn.Flags |= OFN_FORCESHOWHIDDEN;
    if (multiSelect_)
        ofn.Flags |= OFN_ALLOWMULTISELECT;
    if (hideReadOnly_)
        ofn.Flags |= OFN_HIDEREADONLY;

    if (!GetOpenFileNameW(&ofn))
        return false;

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
