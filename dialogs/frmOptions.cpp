#include "dialogs/frmOptions.h"

#include <algorithm>

#include "dialogs/DialogSupport.h"
#include "resources/resource.h"

namespace kw {

namespace {

// Whatever number the file holds, the program treats every non-zero one as set.
int CheckStateOf(CheckValue value) { return value != cvUnchecked ? forms::kChecked : forms::kUnchecked; }

}  // namespace

frmOptions::frmOptions(clsKitwright& oKW)
    : Form(IDD_OPTIONS),
      chkPopupDone(*this, IDC_CHK_POPUP_DONE),
      chkZelFileName(*this, IDC_CHK_ZEL_FILE_NAME),
      cmdOptionsCancel(*this, IDC_CMD_OPTIONS_CANCEL),
      cmdOptionsOK(*this, IDC_CMD_OPTIONS_OK),
      cboZelVersion(*this, IDC_CBO_ZEL_VERSION),
      lblZelVersion(*this, IDC_LBL_ZEL_VERSION),
      oKW_(oKW)
{
    cmdOptionsCancel.Cancel(true);
    chkPopupDone.Click = [this] { UpdateOptionButtons(); };
    chkZelFileName.Click = [this] { UpdateOptionButtons(); };
    cboZelVersion.Click = [this] { UpdateOptionButtons(); };
    cmdOptionsOK.Click = [this] { cmdOptionsOK_Click(); };
    cmdOptionsCancel.Click = [this] { cmdOptionsCancel_Click(); };
}

void frmOptions::Form_Load()
{
    oKW_.LoadZelVersionsTo(cboZelVersion);
    SetDialogLook(*this);
}

void frmOptions::Form_Activate() { LoadOptionFields(); }

void frmOptions::LoadOptionFields()
{
    IgnoreErrors([&] { chkPopupDone.Value(CheckStateOf(oKW_.IncPopupDone())); });
    IgnoreErrors([&] { chkZelFileName.Value(CheckStateOf(oKW_.ZelFileName())); });
    IgnoreErrors([&] {
        // A stored version the list does not hold shows the first entry, so OK always
        // stores a version the menu file can be written for.
        int version = oKW_.ZelVersion();
        cboZelVersion.ListIndex(version >= 0 && version < cboZelVersion.ListCount() ? version : 0);
    });
    IgnoreErrors([&] { cmdOptionsOK.Enabled(false); });
    IgnoreErrors([&] { cmdOptionsCancel.Default(true); });
}

void frmOptions::UpdateOptionButtons()
{
    bool changed = cboZelVersion.ListIndex() != oKW_.ZelVersion() ||
                   chkZelFileName.Value() != CheckStateOf(oKW_.ZelFileName()) ||
                   chkPopupDone.Value() != CheckStateOf(oKW_.IncPopupDone());
    cmdOptionsOK.Enabled(changed);
    if (changed)
        cmdOptionsOK.Default(true);
    else
        cmdOptionsCancel.Default(true);
}

void frmOptions::cmdOptionsOK_Click()
{
    oKW_.IncPopupDone(chkPopupDone.Value() == forms::kChecked ? cvChecked : cvUnchecked);
    oKW_.ZelFileName(chkZelFileName.Value() == forms::kChecked ? cvChecked : cvUnchecked);
    oKW_.ZelVersion(static_cast<ZelMenuVersion>(std::max(cboZelVersion.ListIndex(), 0)));
    Unload();
}

void frmOptions::cmdOptionsCancel_Click() { Unload(); }

void ShowOptionsDialog(clsKitwright& oKW, HWND owner)
{
    frmOptions form(oKW);
    form.ShowModal(owner);
}

}  // namespace kw
