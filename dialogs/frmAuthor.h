#pragma once
// "Plugin Author": the author's name, website, contact and comment, stored on OK.
#include "model/clsKitwright.h"
#include "winsupport/forms/Forms.h"

namespace kw {

class frmAuthor : public forms::Form {
public:
    explicit frmAuthor(clsKitwright& oKW);

    forms::Label lblAuthorName;
    forms::TextBox txtAuthorName;
    forms::Label lblAuthorWebsite;
    forms::TextBox txtAuthorWebsite;
    forms::Label lblAuthorContact;
    forms::TextBox txtAuthorContact;
    forms::Label lblAuthorComment;
    forms::TextBox txtAuthorComment;
    forms::CommandButton cmdAuthorOK;
    forms::CommandButton cmdAuthorCancel;

protected:
    void Form_Load() override;
    void Form_Activate() override;

private:
    void txtAuthorWebsite_Change();
    void txtAuthorWebsite_KeyPress(int& key);
    void cmdAuthorOK_Click();
    void cmdAuthorCancel_Click();
    void LoadAuthorFields();
    void UpdateAuthorButtons();

    clsKitwright& oKW_;
};

// A fresh dialog over the model, modal to owner; returns when it is closed.
void ShowAuthorDialog(clsKitwright& oKW, HWND owner);

}  // namespace kw
