// The Program Files and System Files pages: the lists live in the model; the list boxes
// show them. Every pick or drop replaces a list.
#include "app/frmMain.h"

#include "app/modMain.h"
#include "platform/WinText.h"
#include "winsupport/clsBrowse.h"
#include "winsupport/clsGetOpenFile.h"

namespace kw {

namespace {

constexpr const char* kUseFolderTree = "Use \"Copy Folder Tree\" to copy a whole folder.";

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

// The paths of a dialog answer split by SplitFileSelection.
std::vector<std::string> FullPaths(const std::vector<std::string>& parts)
{
    std::vector<std::string> paths;
    for (size_t i = 1; i < parts.size(); ++i)
        paths.push_back(parts[0] + parts[i]);
    return paths;
}

std::string NameOf(const std::string& path)
{
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('\\');
    return AddBackslash(slash == std::string::npos ? path : path.substr(0, slash + 1));
}

std::string Lines(const std::vector<std::string>& items)
{
    std::string text;
    for (const std::string& item : items)
        text += "\r\n" + item;
    return text;
}

bool IsFolderPath(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The collection becomes exactly the paths, in their order.
void ReplaceFiles(clsKitwright& kw, FileCollection collection, const std::vector<std::string>& paths)
{
    if (collection == fcProgramFiles)
        kw.ClearProgramFiles();
    else
        kw.ClearSystemFiles();
    for (const std::string& path : paths)
        kw.AddFile(collection, path);
}

}  // namespace

bool frmMain::RefuseFolders(const std::vector<std::string>& paths, const std::string& advice)
{
    std::vector<std::string> folders;
    for (const std::string& path : paths)
        if (IsFolderPath(path))
            folders.push_back(path);
    if (folders.empty())
        return false;
    std::string text =
        folders.size() == 1 ? "A folder cannot be selected as a file:" : "Folders cannot be selected as files:";
    text += Lines(folders);
    if (!advice.empty())
        text += "\r\n" + advice;
    Warn(hWnd(), text);
    return true;
}

bool frmMain::RefuseMisplacedSystemFiles(const std::vector<std::string>& paths)
{
    // The model's own rule, asked once for the whole choice instead of once per file.
    const std::string required = platform::UpperCase(oKW().SystemFilesFolder());
    std::vector<std::string> refused;
    for (const std::string& path : paths)
        if (required.empty() || platform::UpperCase(FolderOf(path)) != required)
            refused.push_back(NameOf(path));
    if (refused.empty())
        return false;
    std::string text = "The file location must match the selected destination";
    if (!required.empty())
        text += " (" + oKW().SystemFilesFolder() + ")";
    text += "; the list was left as it was.\r\nNot added:" + Lines(refused);
    Warn(hWnd(), text);
    return true;
}

void frmMain::FillProgramFileList()
{
    forms::ListBox::Updating updating(lstProgramFiles);
    lstProgramFiles.Clear();
    for (int i = 1; i <= oKW().ProgramFileCount(); ++i)
        lstProgramFiles.AddItem(oKW().ProgramFileName(i));
}

void frmMain::FillSystemFileList()
{
    forms::ListBox::Updating updating(lstSystemFiles);
    lstSystemFiles.Clear();
    for (int i = 1; i <= oKW().SystemFileCount(); ++i)
        lstSystemFiles.AddItem(oKW().SystemFileName(i));
}

std::vector<std::string> frmMain::PickFiles(clsGetOpenFile& dialog, const std::string& tooManyAdvice)
{
    dialog.HideReadOnly(true);
    dialog.MultiSelect(true);
    dialog.Parent(hWnd());
    if (!dialog.ShowOpen()) {
        // The dialog dropped a choice too long for its buffer; the list stays as it was.
        if (dialog.BufferTooSmall())
            Warn(hWnd(), "Too many files were chosen at once; the list was left as it was.\r\n" + tooManyAdvice);
        return {};
    }
    return FullPaths(SplitFileSelection(dialog.FileName(), '\0'));
}

// ---- Program Files ----------------------------------------------------------------------

void frmMain::optCopyOption_Click(int index)
{
    if (switchingCopyOption_)
        return;
    // The other mode starts with an empty list. Its option's access key (Alt+F, Alt+T) is a
    // key away from the menu's: what would be lost is shown first, No keeps it.
    const bool folderChosen = oKW().CopyOption() == coFolderTree && !oKW().ProgramFolder().empty();
    const int files = oKW().CopyOption() == coIndividualFiles ? oKW().ProgramFileCount() : 0;
    if ((index == 0) != (oKW().CopyOption() == coIndividualFiles) && (folderChosen || files > 0)) {
        std::string folder = oKW().ProgramFolder();
        if (folder.ends_with("*.*"))
            folder.resize(folder.size() - 3);
        const std::string text = folderChosen
                                     ? "Copying individual files takes the program folder off the list:\r\n" + folder
                                     : "Copying a folder tree empties the list of program files (" +
                                           std::to_string(files) + (files == 1 ? " file)." : " files).");
        const int answer = platform::ShowMessage(reinterpret_cast<NativeHandle>(hWnd()),
                                                 text + "\r\n\r\nChange how the program files are copied?", kAppTitle,
                                                 platform::kMbYesNo | platform::kMbIconQuestion | MB_DEFBUTTON2);
        if (answer != platform::kIdYes) {
            switchingCopyOption_ = true;
            optCopyOption[index == 0 ? 1 : 0].Value(true);
            switchingCopyOption_ = false;
            optCopyOption[index == 0 ? 1 : 0].SetFocus();
            return;
        }
    }
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
    const std::vector<std::string> paths =
        PickFiles(*oGetOpenFile, "Choose fewer files, or copy their whole folder with \"Copy Folder Tree\".");
    if (paths.empty() || RefuseFolders(paths, kUseFolderTree))
        return;
    ReplaceFiles(oKW(), fcProgramFiles, paths);
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
    // The model takes the names bottom up in one pass, whatever the size of the selection.
    // The list shows the model's names in its order; they are read from the model, which
    // spares two messages a line (under Wine each is a trip to the server).
    const std::vector<int> selected = list.SelectedIndexes();
    const bool program = collection == fcProgramFiles;
    const bool mirrored = list.ListCount() == (program ? oKW().ProgramFileCount() : oKW().SystemFileCount());
    std::vector<std::string> names;
    names.reserve(selected.size());
    for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
        if (!mirrored)
            names.push_back(list.List(*it));
        else
            names.push_back(program ? oKW().ProgramFileName(*it + 1) : oKW().SystemFileName(*it + 1));
    }
    list.RemoveItems(selected);
    oKW().DeleteFilesFrom(collection, names);
}

void frmMain::cmdRemoveProgramFile_Click()
{
    if (oKW().CopyOption() == coFolderTree) {
        // The one line is the program folder: taking it off the list takes it out of the
        // plugin, or Create would still copy the tree nobody sees.
        if (lstProgramFiles.ListCount() > 0 && lstProgramFiles.Selected(0)) {
            lstProgramFiles.Clear();
            oKW().ClearProgramFiles();
        }
        return;
    }
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
    if (RefuseFolders(files, kUseFolderTree)) {
        effect = forms::kDropEffectNone;
        return;
    }
    ReplaceFiles(oKW(), fcProgramFiles, files);
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
    oGetOpenFile->InitDir(oKW().SystemFilesFolder());
    oGetOpenFile->ShowHidden(true);
    // Checked before the list is touched: a wrong choice leaves it as it was.
    const std::vector<std::string> paths = PickFiles(*oGetOpenFile, "Choose fewer files.");
    if (paths.empty() || RefuseFolders(paths, {}) || RefuseMisplacedSystemFiles(paths))
        return;
    ReplaceFiles(oKW(), fcSystemFiles, paths);
    FillSystemFileList();
}

void frmMain::cmdRemoveSystemFile_Click() { RemoveSelected(lstSystemFiles, fcSystemFiles); }

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
    // Every file must fit, or the drop is refused whole with one warning.
    if (files.empty() || RefuseFolders(files, {}) || RefuseMisplacedSystemFiles(files)) {
        effect = forms::kDropEffectNone;
        return;
    }
    ReplaceFiles(oKW(), fcSystemFiles, files);
    FillSystemFileList();
}

}  // namespace kw
