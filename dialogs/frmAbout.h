#pragma once
// "About Kitwright": the program's title and version, its legal notice and two sentences.
#include "winsupport/forms/Forms.h"

namespace kw {

class frmAbout : public forms::Form {
public:
    frmAbout();

    forms::Image imgAbout;
    // 0 title and version, 1 legal notice, 2 and 3 the two sentences.
    forms::Label lblAbout[4];
    forms::CommandButton cmdAboutOK;

protected:
    void Form_Load() override;

private:
    void cmdAboutOK_Click();
};

// Modal, without an owner window; returns when it is closed.
void ShowAboutBox();

}  // namespace kw
