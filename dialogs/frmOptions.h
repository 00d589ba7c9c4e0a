#pragma once
// "Global Options": the completion message, the menu file's name and the Zel version.
#include "model/clsKitwright.h"
#include "winsupport/forms/Forms.h"

namespace kw {

class frmOptions : public forms::Form {
public:
    explicit frmOptions(clsKitwright& oKW);

    forms::CheckBox chkPopupDone;
    forms::CheckBox chkZelFileName;
    forms::CommandButton cmdOptionsCancel;
    forms::CommandButton cmdOptionsOK;
    forms::ComboBox cboZelVersion;
    forms::Label lblZelVersion;

protected:
    void Form_Load() override;
    void Form_Activate() override;

private:
    void cmdOptionsOK_Click();
    void cmdOptionsCancel_Click();
    void LoadOptionFields();
    void UpdateOptionButtons();

    clsKitwright& oKW_;
};

void ShowOptionsDialog(clsKitwright& oKW, HWND owner);

}  // namespace kw
