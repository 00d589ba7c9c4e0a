#include "clsBrowse.h"

#include <objbase.h>
#include <shlobj.h>
#include <versionhelpers.h>

#include "platform/WinText.h"

namespace kw {

namespace {

LPITEMIDLIST GetFolderPidl(HWND owner, int csidl)
{
    LPITEMIDLIST pidl = nullptr;
    if (csidl > 0 && FAILED(SHGetSpecialFolderLocation(owner, csidl, &pidl)))
        pidl = nullptr;
    return pidl;
}

}  // namespace

bool clsBrowse::IsNT5OrLater()
{
    return IsWindowsVersionOrGreater(5, 0, 0);
}

std::string clsBrowse::AddBackslash(std::string path)
{
    if (!path.empty() && path.back() != '\\')
        path += '\\';
    return path;
}

bool clsBrowse::BrowseForFolder()
{
    // The new-style dialog needs COM on this thread; balanced only when it succeeded.
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

    std::wstring title = Widen(title_);
    LPITEMIDLIST root = GetFolderPidl(parent_, initDir_);

    BROWSEINFOW bi{};
    bi.hwndOwner = parent_;
    bi.pidlRoot = root;
    bi.lpszTitle = title.empty() ? nullptr : title.c_str();
    bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN;
    if (IsNT5OrLater()) {
        if (noNewFolderButton_)
            bi.ulFlags |= BIF_NONEWFOLDERBUTTON;
        if (newStyle_)
            bi.ulFlags |= BIF_NEWDIALOGSTYLE;
    }

    LPITEMIDLIST chosen = SHBrowseForFolderW(&bi);
    const bool confirmed = chosen != nullptr;
    if (chosen) {
        wchar_t path[MAX_PATH + 1]{};
        if (SHGetPathFromIDListW(chosen, path))
            selectedPath_ = AddBackslash(Narrow(path));
        CoTaskMemFree(chosen);
    }
    if (root)
        CoTaskMemFree(root);
    if (SUCCEEDED(com))
        CoUninitialize();
    return confirmed;
}

}  // namespace kw
