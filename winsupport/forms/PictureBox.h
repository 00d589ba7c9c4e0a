#pragma once
#include "winsupport/forms/Control.h"

namespace kw::forms {

// A page: a child dialog (DS_CONTROL | WS_CHILD) made from its own template when the form
// loads. Its controls are wrapped in the same form and their notifications reach it.
class PictureBox : public Control {
public:
    PictureBox(Form& form, int id, int templateId);

private:
    friend class Form;
    int templateId_;
};

}  // namespace kw::forms
