// The Information page: the texts that name and describe the plugin.
#include "app/frmMain.h"

#include "app/modMain.h"

namespace kw {

void frmMain::txtPluginName_Change()
{
    const std::string name = txtPluginName.Text();
    oKW().PluginName(name);
    // The program name follows every edit of the plugin name.
    txtProgramName.Text(name);
    if (cboProgramFilesDestination.ListCount() > 0)
        cboProgramFilesDestination.List(0, "Programs\\" + name);
    UpdateControlStates();
}

void frmMain::txtPluginName_KeyPress(int& key) { FilterFileNameKey(key, false, false, false); }

void frmMain::txtProgramName_Change() { oKW().ProgramName(txtProgramName.Text()); }

void frmMain::txtProgramName_KeyPress(int& key) { FilterFileNameKey(key, false, false, false); }

void frmMain::txtProgramWebsite_Change()
{
    if (txtProgramWebsite.Text().empty()) {
        txtProgramWebsite.Text("http://");  // runs this handler once more
        // Typing goes on after the prefix, not in front of it.
        txtProgramWebsite.SelStart(txtProgramWebsite.TextLength());
    }
    oKW().ProgramWebsite(txtProgramWebsite.Text());
}

void frmMain::txtProgramWebsite_KeyPress(int& key) { FilterFileNameKey(key, false, true, true); }

void frmMain::txtDescription_Change() { oKW().Description(txtDescription.Text()); }

void frmMain::chkIncAuthor_Click() { oKW().IncAuthor(CheckValue(chkIncAuthor.Value())); }

void frmMain::cmdResetInformation_Click()
{
    txtPluginName.Text("");
    txtProgramName.Text("");
    txtProgramWebsite.Text("");
    txtDescription.Text("");
    if (oTabs_ && oTabs_->CurrentTab() == 1)
        txtPluginName.SetFocus();
    UpdateControlStates();
}

}  // namespace kw
