// The Program Files and System Files pages: the lists live in the model; the list boxes
// show them. Every pick or drop replaces a list.
#include "app/frmMain.h"

#include "app/modMain.h"
#include "winsupport/clsBrowse.h"
#include "winsupport/clsGetOpenFile.h"

namespace kw {

namespace {

// A dialog answer as a folder part (ending in "\") and name parts; parts[0] + parts[i]
// is a full path for every i >= 1. A single path gives itself and one empty name.
std::vector<std::string> SplitFileSelection(const std::string& selection, char separator)
{
    std::vector<std::string> parts;
    if (selection.find(separator) == std::string::npos)
        return {selection, std::string()};
    size_t start = 0;
    for (;;) {
        size_t end = selection.find(separator, start);
        parts.push_back(selection.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    parts[0] = AddBackslash(parts[0]);
    return parts;
}

}  // namespace

void frmMain::FillProgramFileList()
{
    lstProgramFiles.Clear();
    for (int i = 1; i <= oKW().ProgramFileCount(); ++i)
        lstProgramFiles.AddItem(oKW().ProgramFileName(i));
}

void frmMain::FillSystemFileList()
{
    lstSystemFiles.Clear();
    for (int i = 1; i <= oKW().SystemFileCount(); ++i)
        lstSystemFiles.AddItem(oKW().SystemFileName(i));
}

// The dialog dropped a choice too long for its buffer; the list stays as it was.
void frmMain::WarnTooManyFiles(const std::string& advice)
{
    platform::ShowMessage(reinterpret_cast<NativeHandle>(hWnd()),
                          "Too many files were chosen at once; the list was left as it was.\r\n" + advice,
                          "Attention", platform::kMbOk | platform::kMbIconWarning);
}

// ---- Program Files ----------------------------------------------------------------------

void frmMain::optCopyOption_Click(int index)
{
    if (index == 0) {
        oKW().CopyOption(coIndividualFiles);
        lstProgramFiles.Clear();
        oKW().ClearProgramFiles();
        cmdGetProgramFiles.Caption("Select Program Files...");
    } else {
        oKW().CopyOption(coFolderTree);
        cboProgramFilesDestination.ListIndex(0);
        lstProgramFiles.Clear();
        oKW().ClearProgramFiles();
        cmdGetProgramFiles.Caption("Select Program Folder... ");
    }
    UpdateControlStates();
}

void frmMain::cmdGetProgramFiles_Click()
{
    if (oKW().CopyOption() != coIndividualFiles)
        SelectProgramFolder();
    else
        SelectProgramFiles();
}

void frmMain::SelectProgramFiles()
{
    auto oGetOpenFile = std::make_unique<clsGetOpenFile>();
    oGetOpenFile->BufferSize(32768);
    oGetOpenFile->DialogTitle("Select Program Files");
    oGetOpenFile->HideReadOnly(true);
    oGetOpenFile->MultiSelect(true);
    oGetOpenFile->Parent(hWnd());
    if (!oGetOpenFile->ShowOpen()) {
        if (oGetOpenFile->BufferTooSmall())
            WarnTooManyFiles("Choose fewer files, or copy their whole folder with \"Copy Folder Tree\".");
        return;
    }
    std::vector<std::string> parts = SplitFileSelection(oGetOpenFile->FileName(), '\0');
    oKW().ClearProgramFiles();
    for (size_t i = 1; i < parts.size(); ++i)
        oKW().AddFile(fcProgramFiles, parts[0] + parts[i]);
    FillProgramFileList();
}

void frmMain::SelectProgramFolder()
{
    auto oBrowse = std::make_unique<clsBrowse>();
    oBrowse->DialogTitle("Select Program Folder");
    oBrowse->NoNewFolderButton(true);
    oBrowse->NewStyle(true);
    oBrowse->Parent(hWnd());
    if (!oBrowse->BrowseForFolder())
        return;
    lstProgramFiles.Clear();
    oKW().ClearProgramFiles();
    oKW().ProgramFolder(oBrowse->SelectedPath());
    lstProgramFiles.AddItem(CompactPath(oBrowse->SelectedPath(), lstProgramFiles, *this));
}

void frmMain::RemoveSelected(forms::ListBox& list, FileCollection collection)
{
    // From the bottom up, so the remaining line numbers stay valid; the model takes the
    // names in that order in one pass, whatever the size of the selection.
    std::vector<std::string> names;
    for (int i = list.ListCount() - 1; i >= 0; --i) {
        if (!list.Selected(i))
            continue;
        names.push_back(list.List(i));
        list.RemoveItem(i);
    }
    oKW().DeleteFilesFrom(collection, names);
}

void frmMain::cmdRemoveProgramFile_Click()
{
    RemoveSelected(lstProgramFiles, fcProgramFiles);
}

void frmMain::cmdResetProgramFiles_Click()
{
    lstProgramFiles.Clear();
    oKW().ClearProgramFiles();
    UpdateControlStates();
}

void frmMain::cboProgramFilesDestination_Click()
{
    int index = cboProgramFilesDestination.ListIndex();
    if (index == 0)
        oKW().ProgramFilesDest(dstPrograms);
    else if (index == 1)
        oKW().ProgramFilesDest(dstSystem32);
    UpdateControlStates();
}

void frmMain::lstProgramFiles_OLEDragOver(const std::vector<std::string>* files, int& effect)
{
    if (oKW().CopyOption() == coIndividualFiles)
        effect = files ? forms::kDropEffectCopy : forms::kDropEffectNone;
}

void frmMain::lstProgramFiles_OLEDragDrop(const std::vector<std::string>& files, int& effect)
{
    if (oKW().CopyOption() != coIndividualFiles) {
        effect = forms::kDropEffectNone;
        return;
    }
    oKW().ClearProgramFiles();
    lstProgramFiles.Clear();
    for (const std::string& path : files)
        oKW().AddFile(fcProgramFiles, path);
    FillProgramFileList();
}

// ---- System Files -----------------------------------------------------------------------

void frmMain::cmdGetSystemFiles_Click()
{
    auto oGetOpenFile = std::make_unique<clsGetOpenFile>();
    oGetOpenFile->BufferSize(8192);
    oGetOpenFile->DialogTitle("Select System Files");
    oGetOpenFile->Filter("All Files|*.*|EXE|*.exe|DLL|*.dll|CPL|*.cpl");
    oGetOpenFile->FilterIndex(1);
    oGetOpenFile->HideReadOnly(true);
    oGetOpenFile->InitDir(oKW().SystemFilesFolder());
    oGetOpenFile->MultiSelect(true);
    oGetOpenFile->Parent(hWnd());
    oGetOpenFile->ShowHidden(true);
    if (!oGetOpenFile->ShowOpen()) {
        if (oGetOpenFile->BufferTooSmall())
            WarnTooManyFiles("Choose fewer files.");
        return;
    }
    std::vector<std::string> parts = SplitFileSelection(oGetOpenFile->FileName(), '\0');
    oKW().ClearSystemFiles();
    for (size_t i = 1; i < parts.size(); ++i)
        oKW().AddFile(fcSystemFiles, parts[0] + parts[i]);
    FillSystemFileList();
}

void frmMain::cmdRemoveSystemFile_Click()
{
    RemoveSelected(lstSystemFiles, fcSystemFiles);
}

void frmMain::cmdResetSystemFiles_Click()
{
    lstSystemFiles.Clear();
    oKW().ClearSystemFiles();
    UpdateControlStates();
}

void frmMain::cboSystemFilesDestination_Click()
{
    int index = cboSystemFilesDestination.ListIndex();
    if (index == 0)
        oKW().SystemFilesDest(dstWindows);
    else if (index == 1)
        oKW().SystemFilesDest(dstSystem32);
}

void frmMain::lstSystemFiles_OLEDragOver(const std::vector<std::string>* files, int& effect)
{
    effect = files ? forms::kDropEffectCopy : forms::kDropEffectNone;
}

void frmMain::lstSystemFiles_OLEDragDrop(const std::vector<std::string>& files, int& effect)
{
    // The first file decides for the whole drop; the model warns when it does not fit.
    if (files.empty() || !oKW().IsSystemFilePathOk(files.front())) {
        effect = forms::kDropEffectNone;
        return;
    }
    oKW().ClearSystemFiles();
    lstSystemFiles.Clear();
    for (const std::string& path : files)
        oKW().AddFile(fcSystemFiles, path);
    FillSystemFileList();
}

}  // namespace kw
