#include "dialogs/frmAbout.h"

#include "dialogs/DialogSupport.h"
#include "resources/resource.h"
#include "winsupport/VersionInfo.h"

namespace kw {

frmAbout::frmAbout()
    : Form(IDD_ABOUT),
      imgAbout(*this, IDC_IMG_ABOUT),
      lblAbout{
          {*this, IDC_LBL_ABOUT}, {*this, IDC_LBL_ABOUT + 1}, {*this, IDC_LBL_ABOUT + 2}, {*this, IDC_LBL_ABOUT + 3}},
      cmdAboutOK(*this, IDC_CMD_ABOUT_OK)
{
    // One button for Enter and Escape alike.
    cmdAboutOK.Default(true);
    cmdAboutOK.Cancel(true);
    cmdAboutOK.Click = [this] { cmdAboutOK_Click(); };
}

void frmAbout::Form_Load()
{
    lblAbout[0].Caption(AppTitleWithVersion());
    lblAbout[1].Caption(ReadProgramVersion().legalCopyright);
    lblAbout[2].Caption("Makes plugins for the Velmont 3 builder (by its authors) and its Carrow system.");
    lblAbout[3].Caption("Free of charge, and made in the hope that it will be useful.");
    imgAbout.LoadPicture(IDI_ABOUT);
    SetDialogLook(*this);
    lblAbout[0].FontSize(14);
    lblAbout[0].FontBold(true);
}

void frmAbout::cmdAboutOK_Click() { Unload(); }

void ShowAboutBox()
{
    frmAbout form;
    form.ShowModal(nullptr);
}

}  // namespace kw
