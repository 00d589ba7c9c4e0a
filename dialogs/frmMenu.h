#pragma once
// "Menu Groups": the start-menu group names the main window offers, saved on OK.
#include "model/clsKitwright.h"
#include "winsupport/forms/Forms.h"

namespace kw {

class frmMenu : public forms::Form {
public:
    explicit frmMenu(clsKitwright& oKW);

    forms::Label lblNewMenuGroup;
    forms::TextBox txtNewMenuGroup;
    forms::ListBox lstMenuGroups;
    forms::CommandButton cmdAddNewGroup;
    forms::CommandButton cmdDeleteGroup;
    forms::CommandButton cmdMenu_OK;
    forms::CommandButton cmdMenu_Cancel;

protected:
    void Form_Load() override;
    void Form_Activate() override;

private:
    void txtNewMenuGroup_GotFocus();
    void txtNewMenuGroup_KeyPress(int& key);
    void cmdAddNewGroup_Click();
    void cmdDeleteGroup_Click();
    void cmdMenu_OK_Click();
    void cmdMenu_Cancel_Click();
    void UpdateMenuButtons();
    // The typed name as it would be stored: only what the key filter lets through, without
    // surrounding blanks.
    std::string NewGroupName() const;
    bool IsListed(const std::string& name) const;

    clsKitwright& oKW_;
};

void ShowMenuDialog(clsKitwright& oKW, HWND owner);

}  // namespace kw
