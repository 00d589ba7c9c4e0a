#include "winsupport/forms/CommandButton.h"

#include "winsupport/forms/ControlSupport.h"
#include "winsupport/forms/Form.h"

namespace kw::forms {

using detail::Send;

CommandButton::CommandButton(Form& form, int id) : Control(form, id, ControlKind::CommandButton) {}

std::string CommandButton::Caption() const { return CaptionText(); }
void CommandButton::Caption(const std::string& caption) { CaptionText(caption); }

bool CommandButton::Default() const { return form_.defaultButton_ == this; }

void CommandButton::Default(bool value)
{
    CommandButton* old = form_.defaultButton_;
    if (value == (old == this))
        return;
    if (!value && old != this)
        return;
    form_.defaultButton_ = value ? this : nullptr;
    if (!form_.hWnd())
        return;  // applied when the form loads
    if (old && old->hwnd_)
        Send(old->hwnd_, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    Send(form_.hWnd(), DM_SETDEFID, value ? static_cast<WPARAM>(id_) : 0);
    if (value && hwnd_)
        Send(hwnd_, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

bool CommandButton::Cancel() const { return form_.cancelButton_ == this; }

void CommandButton::Cancel(bool value)
{
    if (value)
        form_.cancelButton_ = this;
    else if (form_.cancelButton_ == this)
        form_.cancelButton_ = nullptr;
}

void CommandButton::OnCommand(int code)
{
    if (code == BN_CLICKED && Click)
        Click();
}

void CommandButton::PressFromKeyboard()
{
    if (!hwnd_ || !IsWindowEnabled(hwnd_) || !IsWindowVisible(hwnd_))
        return;
    if (Click)
        Click();
}

}  // namespace kw::forms
