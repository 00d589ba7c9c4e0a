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

// Points the picker at the start folder as it opens. A tree that fills as it goes may stop
// on the way there: then it is pointed again a few times, until it arrives or the user
// picks a folder off that way.
struct StartSelection {
    std::wstring folder;  // without its closing backslash, unless a root
    bool placing = false;
    bool placed = false;  // tried once: what the picker selected by itself before does not count
    bool userChose = false;
    int retries = 10;
    std::wstring reached = {};
};

// True when path is the folder or one above it, on the way down to it.
bool OnTheWayTo(const std::wstring& path, const std::wstring& folder)
{
    if (path.empty() || path.size() > folder.size())
        return false;
    if (CompareStringOrdinal(path.c_str(), static_cast<int>(path.size()), folder.c_str(), static_cast<int>(path.size()),
                             TRUE) != CSTR_EQUAL)
        return false;
    return path.size() == folder.size() || path.back() == L'\\' || folder[path.size()] == L'\\';
}

constexpr UINT_PTR kPlaceAgain = 0x4B57;
StartSelection* g_placing = nullptr;  // the one picker open on this thread

void Place(HWND dialog);

void CALLBACK PlaceAgain(HWND dialog, UINT, UINT_PTR id, DWORD)
{
    KillTimer(dialog, id);
    if (g_placing && !g_placing->userChose)
        Place(dialog);
}

bool There(const std::wstring& path)
{
    return CompareStringOrdinal(path.c_str(), -1, g_placing->folder.c_str(), -1, TRUE) == CSTR_EQUAL;
}

void PlaceSoon(HWND dialog)
{
    if (!g_placing->userChose && g_placing->retries-- > 0)
        SetTimer(dialog, kPlaceAgain, 100, PlaceAgain);
}

void Place(HWND dialog)
{
    StartSelection& start = *g_placing;
    start.placing = true;
    start.placed = true;
    start.reached.clear();
    SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(start.folder.c_str()));
    start.placing = false;
    if (!There(start.reached))
        PlaceSoon(dialog);
}

int CALLBACK SelectStartFolder(HWND dialog, UINT message, LPARAM lParam, LPARAM)
{
    if (!g_placing)
        return 0;
    if (message == BFFM_INITIALIZED) {
        // Once the picker has settled: pointed from inside its set-up, a tree that fills as
        // it goes can be left unable to find other folders.
        SetTimer(dialog, kPlaceAgain, 10, PlaceAgain);
    } else if (message == BFFM_SELCHANGED) {
        wchar_t path[MAX_PATH + 1]{};
        SHGetPathFromIDListW(reinterpret_cast<LPCITEMIDLIST>(lParam), path);
        if (g_placing->placing)
            g_placing->reached = path;
        else if (!g_placing->placed)
            ;  // the picker's own first choice, before it was pointed at the start folder
        else if (!OnTheWayTo(path, g_placing->folder))
            g_placing->userChose = true;  // from here on the selection is the user's
        else if (!There(path))
            PlaceSoon(dialog);
    }
    return 0;
}

}  // namespace

bool clsBrowse::IsNT5OrLater() { return IsWindowsVersionOrGreater(5, 0, 0); }

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
        g_placing = &start;
    }
    bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN;
    if (IsNT5OrLater()) {
        if (noNewFolderButton_)
            bi.ulFlags |= BIF_NONEWFOLDERBUTTON;
        if (newStyle_)
            bi.ulFlags |= BIF_NEWDIALOGSTYLE;
    }

    LPITEMIDLIST chosen = SHBrowseForFolderW(&bi);
    g_placing = nullptr;
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
