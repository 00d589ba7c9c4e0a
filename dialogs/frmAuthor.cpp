#include "dialogs/frmAuthor.h"

#include "app/modMain.h"
#include "dialogs/DialogSupport.h"
#include "resources/resource.h"

namespace kw {

namespace {
constexpr const char* kEmptyWebsite = "http://";
}

frmAuthor::frmAuthor(clsKitwright& oKW)
    : Form(IDD_AUTHOR),
      lblAuthorName(*this, IDC_LBL_AUTHOR_NAME),
      txtAuthorName(*this, IDC_TXT_AUTHOR_NAME),
      lblAuthorWebsite(*this, IDC_LBL_AUTHOR_WEBSITE),
      txtAuthorWebsite(*this, IDC_TXT_AUTHOR_WEBSITE),
      lblAuthorContact(*this, IDC_LBL_AUTHOR_CONTACT),
      txtAuthorContact(*this, IDC_TXT_AUTHOR_CONTACT),
      lblAuthorComment(*this, IDC_LBL_AUTHOR_COMMENT),
      txtAuthorComment(*this, IDC_TXT_AUTHOR_COMMENT),
      cmdAuthorOK(*this, IDC_CMD_AUTHOR_OK),
      cmdAuthorCancel(*this, IDC_CMD_AUTHOR_CANCEL),
      oKW_(oKW)
{
    cmdAuthorCancel.Cancel(true);
    txtAuthorName.Change = [this] { UpdateAuthorButtons(); };
    txtAuthorContact.Change = [this] { UpdateAuthorButtons(); };
    txtAuthorComment.Change = [this] { UpdateAuthorButtons(); };
    txtAuthorWebsite.Change = [this] { txtAuthorWebsite_Change(); };
    for (forms::TextBox* box : {&txtAuthorName, &txtAuthorWebsite, &txtAuthorContact, &txtAuthorComment})
        box->GotFocus = [box] { SelectAllText(*box); };
    txtAuthorWebsite.KeyPress = [this](int& key) { txtAuthorWebsite_KeyPress(key); };
    cmdAuthorOK.Click = [this] { cmdAuthorOK_Click(); };
    cmdAuthorCancel.Click = [this] { cmdAuthorCancel_Click(); };
}

void frmAuthor::Form_Load() { SetDialogLook(*this); }

void frmAuthor::Form_Activate() { LoadAuthorFields(); }

void frmAuthor::LoadAuthorFields()
{
    IgnoreErrors([&] { txtAuthorName.Text(oKW_.AuthorName()); });
    IgnoreErrors([&] { txtAuthorContact.Text(oKW_.AuthorContact()); });
    IgnoreErrors([&] { txtAuthorComment.Text(oKW_.AuthorComment()); });
    IgnoreErrors([&] { txtAuthorWebsite.Text(oKW_.AuthorWebsite()); });
    IgnoreErrors([&] { cmdAuthorOK.Enabled(false); });
    IgnoreErrors([&] { cmdAuthorCancel.Default(true); });
    IgnoreErrors([&] { txtAuthorName.SetFocus(); });
}

void frmAuthor::txtAuthorWebsite_Change()
{
    if (txtAuthorWebsite.Text().empty()) {
        txtAuthorWebsite.Text(kEmptyWebsite);  // raises this handler once more
        // Typing goes on after the prefix, not in front of it.
        txtAuthorWebsite.SelStart(txtAuthorWebsite.TextLength());
    }
    UpdateAuthorButtons();
}

void frmAuthor::txtAuthorWebsite_KeyPress(int& key) { FilterFileNameKey(key, false, true, true); }

void frmAuthor::UpdateAuthorButtons()
{
    // The box shows "http://" for no website, and the model stores it as none: only what
    // OK would really change counts.
    std::string website = txtAuthorWebsite.Text();
    if (website == kEmptyWebsite)
        website.clear();
    bool changed = txtAuthorName.Text() != oKW_.AuthorName() || website != oKW_.AuthorWebsite() ||
                   txtAuthorContact.Text() != oKW_.AuthorContact() || txtAuthorComment.Text() != oKW_.AuthorComment();
    cmdAuthorOK.Enabled(changed);
    if (changed)
        cmdAuthorOK.Default(true);
    else
        cmdAuthorCancel.Default(true);
}

void frmAuthor::cmdAuthorOK_Click()
{
    oKW_.AuthorName(txtAuthorName.Text());
    oKW_.AuthorWebsite(txtAuthorWebsite.Text());
    oKW_.AuthorContact(txtAuthorContact.Text());
    oKW_.AuthorComment(txtAuthorComment.Text());
    Unload();
}

void frmAuthor::cmdAuthorCancel_Click() { Unload(); }

void ShowAuthorDialog(clsKitwright& oKW, HWND owner)
{
    frmAuthor form(oKW);
    form.ShowModal(owner);
}

}  // namespace kw
