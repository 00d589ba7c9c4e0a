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

struct StartSelection {
    std::wstring folder;  // without its closing backslash, unless a root
    DWORD until = 0;      // the picker is pointed at it again until this tick
};

// True when path is a folder above `folder`, on the way down to it.
bool OnTheWayTo(const std::wstring& path, const std::wstring& folder)
{
    if (path.empty() || path.size() >= folder.size())
        return false;
    if (CompareStringOrdinal(path.c_str(), static_cast<int>(path.size()), folder.c_str(),
                             static_cast<int>(path.size()), TRUE) != CSTR_EQUAL)
        return false;
    return path.back() == L'\\' || folder[path.size()] == L'\\';
}

int CALLBACK SelectStartFolder(HWND dialog, UINT message, LPARAM lParam, LPARAM data)
{
    auto* start = reinterpret_cast<StartSelection*>(data);
    if (message == BFFM_INITIALIZED) {
        start->until = GetTickCount() + 1000;
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(start->folder.c_str()));
    } else if (message == BFFM_SELCHANGED && GetTickCount() < start->until) {
        // A tree that fills as it goes may stop on the way the first time: point it there
        // again, only while it opens, so that the user's own choice stands.
        wchar_t path[MAX_PATH + 1]{};
        if (SHGetPathFromIDListW(reinterpret_cast<LPCITEMIDLIST>(lParam), path) && OnTheWayTo(path, start->folder))
            PostMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(start->folder.c_str()));
    }
    return 0;
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
    // The picker selects a folder given without its closing backslash (a root keeps it).
    StartSelection start{Widen(startFolder_)};
    while (start.folder.size() > 3 && start.folder.back() == L'\\')
        start.folder.pop_back();
    if (!start.folder.empty()) {
        bi.lpfn = SelectStartFolder;
        bi.lParam = reinterpret_cast<LPARAM>(&start);
    }
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
