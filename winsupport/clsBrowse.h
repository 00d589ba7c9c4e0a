#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace kw {

// The platform's folder picker. SelectedPath always ends in one backslash.
class clsBrowse {
public:
    void Parent(HWND v_hParent) { parent_ = v_hParent; }
    void DialogTitle(std::string_view v_sTitle) { title_ = v_sTitle; }
    // A CSIDL value as the root of the tree; 0 or less is the desktop.
    void InitDir(int v_lCsidl) { initDir_ = v_lCsidl; }
    void NewStyle(bool v_bNewStyle) { newStyle_ = v_bNewStyle; }
    void NoNewFolderButton(bool v_bNoButton) { noNewFolderButton_ = v_bNoButton; }
    // The folder shown selected when the picker opens (empty: the picker's own choice).
    void StartFolder(std::string_view v_sPath) { startFolder_ = v_sPath; }

    const std::string& SelectedPath() const { return selectedPath_; }

    // True when the user confirmed a folder; a cancel keeps SelectedPath.
    bool BrowseForFolder();

private:
    static bool IsNT5OrLater();
    static std::string AddBackslash(std::string path);

    HWND parent_ = nullptr;
    std::string title_;
    int initDir_ = 0;
    bool newStyle_ = false;
    bool noNewFolderButton_ = false;
    std::string startFolder_;
    std::string selectedPath_;
};

}  // namespace kw
