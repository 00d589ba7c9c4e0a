#include "dialogs/frmMenu.h"

#include "app/modMain.h"
#include "dialogs/DialogSupport.h"
#include "platform/Platform.h"
#include "resources/resource.h"

namespace kw {

frmMenu::frmMenu(clsKitwright& oKW)
    : Form(IDD_MENU),
      lblNewMenuGroup(*this, IDC_LBL_NEW_MENU_GROUP),
      txtNewMenuGroup(*this, IDC_TXT_NEW_MENU_GROUP),
      lstMenuGroups(*this, IDC_LST_MENU_GROUPS),
      cmdAddNewGroup(*this, IDC_CMD_ADD_NEW_GROUP),
      cmdDeleteGroup(*this, IDC_CMD_DELETE_GROUP),
      cmdMenu_OK(*this, IDC_CMD_MENU_OK),
      cmdMenu_Cancel(*this, IDC_CMD_MENU_CANCEL),
      oKW_(oKW)
{
    cmdMenu_Cancel.Cancel(true);
    txtNewMenuGroup.Change = [this] { UpdateMenuButtons(); };
    lstMenuGroups.Click = [this] { UpdateMenuButtons(); };
    txtNewMenuGroup.GotFocus = [this] { txtNewMenuGroup_GotFocus(); };
    txtNewMenuGroup.KeyPress = [this](int& key) { txtNewMenuGroup_KeyPress(key); };
    cmdAddNewGroup.Click = [this] { cmdAddNewGroup_Click(); };
    cmdDeleteGroup.Click = [this] { cmdDeleteGroup_Click(); };
    cmdMenu_OK.Click = [this] { cmdMenu_OK_Click(); };
    cmdMenu_Cancel.Click = [this] { cmdMenu_Cancel_Click(); };
}

void frmMenu::Form_Load() { SetDialogLook(*this); }

void frmMenu::Form_Activate()
{
    oKW_.LoadMenuGroupItemsTo(lstMenuGroups);
    UpdateMenuButtons();
    txtNewMenuGroup.SetFocus();
}

void frmMenu::txtNewMenuGroup_GotFocus()
{
    SelectAllText(txtNewMenuGroup);
    lstMenuGroups.ListIndex(-1);
}

void frmMenu::txtNewMenuGroup_KeyPress(int& key) { FilterFileNameKey(key, false, false, false); }

std::string frmMenu::NewGroupName() const
{
    // What the key filter keeps out can still be pasted; it goes into paths and quoted
    // file entries, so it is dropped here as it would have been when typed.
    std::string name;
    for (char ch : txtNewMenuGroup.Text()) {
        int key = static_cast<unsigned char>(ch);
        FilterFileNameKey(key, false, false, false);
        if (key >= ' ')
            name.push_back(ch);
    }
    // The settings file drops blanks around a value, and an empty value ends the stored
    // list: a name of blanks only would lose every group after it.
    size_t first = name.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return name.substr(first, name.find_last_not_of(' ') - first + 1);
}

bool frmMenu::IsListed(const std::string& name) const
{
    // Group names become folder names, where case does not count.
    const std::string key = platform::UpperCase(name);
    for (int i = 0; i < lstMenuGroups.ListCount(); ++i)
        if (platform::UpperCase(lstMenuGroups.List(i)) == key)
            return true;
    return false;
}

void frmMenu::UpdateMenuButtons()
{
    bool canAdd = !NewGroupName().empty();
    cmdAddNewGroup.Enabled(canAdd);
    cmdAddNewGroup.Default(canAdd);
    bool canDelete = lstMenuGroups.ListIndex() != -1;
    cmdDeleteGroup.Enabled(canDelete);
    cmdDeleteGroup.Default(canDelete);
}

void frmMenu::cmdAddNewGroup_Click()
{
    std::string name = NewGroupName();
    if (!name.empty() && !IsListed(name))
        lstMenuGroups.AddItem(name);
    cmdMenu_OK.Enabled(true);
    cmdMenu_OK.Default(true);
    txtNewMenuGroup.Text("");
    KeepFocusInDialog(*this, txtNewMenuGroup);
}

void frmMenu::cmdDeleteGroup_Click()
{
    for (int i = lstMenuGroups.ListCount() - 1; i >= 0; --i)
        if (lstMenuGroups.Selected(i))
            lstMenuGroups.RemoveItem(i);
    UpdateMenuButtons();
    cmdMenu_OK.Enabled(true);
    cmdMenu_OK.Default(true);
    if (lstMenuGroups.ListCount() > 0)
        KeepFocusInDialog(*this, lstMenuGroups);
    else
        KeepFocusInDialog(*this, txtNewMenuGroup);
}

void frmMenu::cmdMenu_OK_Click()
{
    oKW_.SaveMenuGroupItems(lstMenuGroups);
    Unload();
}

void frmMenu::cmdMenu_Cancel_Click() { Unload(); }

void ShowMenuDialog(clsKitwright& oKW, HWND owner)
{
    frmMenu form(oKW);
    form.ShowModal(owner);
}

}  // namespace kw
