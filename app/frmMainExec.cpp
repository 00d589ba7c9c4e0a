// The Executables page: ten executable slots, one shown at a time and chosen with the
// up-down; controls marked " *" belong to the shown slot, the others to the plugin.
#include "app/frmMain.h"

#include <charconv>

#include "app/modMain.h"
#include "winsupport/clsGetOpenFile.h"

namespace kw {

namespace {

// The box's text read as a whole number: leading digits, else 0.
int WholeNumber(const std::string& text)
{
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

}  // namespace

void frmMain::txtExecutableGroup_Change()
{
    oKW().CurrentExecutable(WholeNumber(txtExecutableGroup.Text()));
    RefreshControls();
}

void frmMain::cmdGetExecutable_Click()
{
    const int slot = oKW().CurrentExecutable();
    auto oGetOpenFile = std::make_unique<clsGetOpenFile>();
    oGetOpenFile->BufferSize(512);
    oGetOpenFile->DialogTitle("Select Executable");
    oGetOpenFile->Filter("All Files|*.*|Executables|*.exe;*.cmd;*.bat");
    oGetOpenFile->FilterIndex(2);
    oGetOpenFile->MultiSelect(false);
    oGetOpenFile->HideReadOnly(true);
    oGetOpenFile->Parent(hWnd());
    if (oKW().ProgramFileCount() != 0) {
        oGetOpenFile->InitDir(oKW().ProgramFilePath(1));
    } else if (!oKW().ProgramFolder().empty()) {
        const std::string folder = oKW().ProgramFolder();  // stored with "*.*" after it
        oGetOpenFile->InitDir(folder.substr(0, folder.size() >= 3 ? folder.size() - 3 : 0));
    }
    if (!oGetOpenFile->ShowOpen() || RefuseFolders({oGetOpenFile->FileName()}, {}))
        return;
    oKW().Executable(slot, oGetOpenFile->FileName());
    txtExecutable.Text(oKW().ExecutableName(slot));
}

void frmMain::txtExecutable_Change()
{
    const int slot = oKW().CurrentExecutable();
    const std::string name = txtExecutable.Text();
    if (!name.empty() && oKW().ShortcutName(slot).empty())
        txtShortcutName.Text(RemoveExtension(name));  // stored by txtShortcutName_Change
    UpdateControlStates();
}

void frmMain::txtExecutable_OLEDragOver(const std::vector<std::string>* files, int& effect)
{
    effect = files ? forms::kDropEffectCopy : forms::kDropEffectNone;
}

void frmMain::txtExecutable_OLEDragDrop(const std::vector<std::string>& files, int& effect)
{
    if (files.empty() || RefuseFolders({files.front()}, {})) {
        effect = forms::kDropEffectNone;
        return;
    }
    const int slot = oKW().CurrentExecutable();
    oKW().Executable(slot, files.front());  // further files are ignored
    txtExecutable.Text(oKW().ExecutableName(slot));
}

void frmMain::chkIncRamdisk_Click() { oKW().IncRamdisk(oKW().CurrentExecutable(), CheckValue(chkIncRamdisk.Value())); }

void frmMain::chkIncAutorun_Click() { oKW().IncAutorun(oKW().CurrentExecutable(), CheckValue(chkIncAutorun.Value())); }

void frmMain::chkIncZel_Click()
{
    oKW().IncZelMenu(CheckValue(chkIncZel.Value()));
    UpdateControlStates();
}

void frmMain::chkIncJuxMenu_Click()
{
    oKW().IncJuxMenu(CheckValue(chkIncJuxMenu.Value()));
    UpdateControlStates();
}

void frmMain::chkIncJuxDesktop_Click()
{
    oKW().IncJuxDesktop(oKW().CurrentExecutable(), CheckValue(chkIncJuxDesktop.Value()));
    UpdateControlStates();
}

void frmMain::chkIncJuxQlaunch_Click()
{
    oKW().IncJuxQlaunch(oKW().CurrentExecutable(), CheckValue(chkIncJuxQlaunch.Value()));
    UpdateControlStates();
}

void frmMain::txtShortcutName_Change() { oKW().ShortcutName(oKW().CurrentExecutable(), txtShortcutName.Text()); }

void frmMain::txtShortcutName_KeyPress(int& key) { FilterFileNameKey(key, false, false, false); }

void frmMain::cboMenuGroup_Change()
{
    oKW().MenuGroup(cboMenuGroup.Text());
    UpdateControlStates();
}

void frmMain::cboMenuGroup_Click()
{
    oKW().MenuGroup(cboMenuGroup.Text());
    UpdateControlStates();
}

void frmMain::cboMenuGroup_KeyPress(int& key) { FilterFileNameKey(key, false, false, false); }

void frmMain::chkAppendMenuGroup_Click() { oKW().IncSubGroup(chkAppendMenuGroup.Value() != 0); }

void frmMain::cmdResetExecutable_Click(int index)
{
    // Each control's own handler empties what it shows in the model.
    txtExecutable.Text("");
    cboMenuGroup.Text("");
    txtShortcutName.Text("");
    for (forms::CheckBox* box :
         {&chkIncRamdisk, &chkIncAutorun, &chkIncJuxDesktop, &chkIncJuxQlaunch, &chkAppendMenuGroup})
        box->Value(forms::kUnchecked);
    if (index == 0)
        oKW().ClearCurrentExecutable();
    else
        oKW().ClearExecutables();
    UpdateControlStates();
}

}  // namespace kw
