#include "winsupport/forms/CheckBox.h"

#include "winsupport/forms/ControlSupport.h"

namespace kw::forms {

using detail::InvalidValue;
using detail::Send;

CheckBox::CheckBox(Form& form, int id) : Control(form, id, ControlKind::CheckBox) {}

void CheckBox::Seed(PictureBox& page, const TemplateItem& item, const DialogTemplate& dialog)
{
    Control::Seed(page, item, dialog);
    last_ = kUnchecked;  // templates make check boxes clear
}

void CheckBox::Bind(HWND hwnd)
{
    const bool kept = Kept();
    Control::Bind(hwnd);
    if (kept && last_ != static_cast<int>(Send(hwnd, BM_GETCHECK)))
        Send(hwnd, BM_SETCHECK, static_cast<WPARAM>(last_));
    last_ = static_cast<int>(Send(hwnd, BM_GETCHECK));
}

std::string CheckBox::Caption() const { return CaptionText(); }
void CheckBox::Caption(const std::string& caption) { CaptionText(caption); }

int CheckBox::Value() const
{
    if (Kept())
        return last_;
    RequireBound();
    return static_cast<int>(Send(hwnd_, BM_GETCHECK));
}

void CheckBox::Value(int value)
{
    if (!Kept())
        RequireBound();
    if (value != kUnchecked && value != kChecked && value != kGrayed)
        InvalidValue("Value");
    if (value == Value()) {
        last_ = value;
        return;
    }
    if (hwnd_)
        Send(hwnd_, BM_SETCHECK, static_cast<WPARAM>(value));  // sends nothing by itself
    last_ = value;
    if (Click)
        Click();
}

void CheckBox::OnCommand(int code)
{
    if (code != BN_CLICKED)
        return;
    int now = Value();
    if (now == last_)
        return;
    last_ = now;
    if (Click)
        Click();
}

}  // namespace kw::forms
