#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace kw {

// The platform's open-file dialog behind a few properties. FileName holds one full path,
// or for several files the folder, then each name, separated by NULs (none at the end).
class clsGetOpenFile {
public:
    void Parent(HWND v_hParent) { parent_ = v_hParent; }
    void DialogTitle(std::string_view v_sTitle) { title_ = v_sTitle; }
    // Description and pattern pairs separated by "|".
    void Filter(std::string_view v_sFilter) { filter_ = v_sFilter; }
    void FilterIndex(int v_lIndex) { filterIndex_ = v_lIndex; }
    void InitDir(std::string_view v_sDir) { initDir_ = v_sDir; }
    void BufferSize(int v_lChars) { bufferSize_ = v_lChars; }
    void MultiSelect(bool v_bMulti) { multiSelect_ = v_bMulti; }
    void HideReadOnly(bool v_bHide) { hideReadOnly_ = v_bHide; }
    void ShowHidden(bool v_bShow) { showHidden_ = v_bShow; }

    const std::string& FileName() const { return fileName_; }
    // After ShowOpen: true when the choice was confirmed but did not fit BufferSize (so it
    // was dropped), false after a success or a cancel.
    bool BufferTooSmall() const { return bufferTooSmall_; }

    // True when the user confirmed a choice; a cancel or a failure (such as a selection
    // that does not fit BufferSize) keeps FileName.
    bool ShowOpen();

private:
    static void StripTrailing(std::wstring& text, wchar_t ch);

    HWND parent_ = nullptr;
    std::string title_;
    std::string filter_ = "All Files|*.*";
    int filterIndex_ = 1;
    std::string initDir_;
    int bufferSize_ = 1024;
    bool multiSelect_ = false;
    bool hideReadOnly_ = false;
    bool showHidden_ = false;
    std::string fileName_;
    bool bufferTooSmall_ = false;
};

}  // namespace kw
