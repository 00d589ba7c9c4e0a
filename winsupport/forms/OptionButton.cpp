#include "winsupport/forms/OptionButton.h"

#include "winsupport/forms/ControlSupport.h"
#include "winsupport/forms/DialogTemplate.h"
#include "winsupport/forms/Form.h"

namespace kw::forms {

using detail::Send;
using detail::Style;

namespace {

bool IsRadio(HWND hwnd)
{
    wchar_t cls[16]{};
    GetClassNameW(hwnd, cls, 16);
    if (lstrcmpiW(cls, L"Button") != 0)
        return false;
    LONG_PTR type = Style(hwnd) & BS_TYPEMASK;
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

}  // namespace

OptionButton::OptionButton(Form& form, int id) : Control(form, id, ControlKind::OptionButton) {}

void OptionButton::Seed(PictureBox& page, const TemplateItem& item, const DialogTemplate& dialog)
{
    Control::Seed(page, item, dialog);
    last_ = false;
    group_ = item.group;
}

void OptionButton::Bind(HWND hwnd)
{
    const bool kept = Kept();
    Control::Bind(hwnd);
    if (kept && last_ != (Send(hwnd, BM_GETCHECK) == BST_CHECKED))
        Send(hwnd, BM_SETCHECK, last_ ? BST_CHECKED : BST_UNCHECKED);
    last_ = Send(hwnd, BM_GETCHECK) == BST_CHECKED;
}

std::string OptionButton::Caption() const { return CaptionText(); }
void OptionButton::Caption(const std::string& caption) { CaptionText(caption); }

bool OptionButton::Value() const
{
    if (Kept())
        return last_;
    RequireBound();
    return Send(hwnd_, BM_GETCHECK) == BST_CHECKED;
}

void OptionButton::Value(bool value)
{
    if (!Kept())
        RequireBound();
    if (value == Value()) {
        last_ = value;
        return;
    }
    if (Kept()) {
        // The group as the template has it: the page's other buttons of the same run.
        if (value)
            for (Control* c : form_.Controls()) {
                if (c == this || c->Kind() != ControlKind::OptionButton)
                    continue;
                auto* other = static_cast<OptionButton*>(c);
                if (other->page_ == page_ && other->group_ == group_ && other->Kept())
                    other->last_ = false;
            }
        last_ = value;
        if (value && Click)
            Click();
        return;
    }
    if (value) {
        // The group runs from the nearest WS_GROUP sibling up to the next one. BM_SETCHECK
        // alone does not clear the others everywhere, nor do disabled siblings get skipped.
        HWND first = hwnd_;
        while (!(Style(first) & WS_GROUP)) {
            HWND prev = GetWindow(first, GW_HWNDPREV);
            if (!prev)
                break;
            first = prev;
        }
        for (HWND w = first; w; w = GetWindow(w, GW_HWNDNEXT)) {
            if (w != first && (Style(w) & WS_GROUP))
                break;
            if (w != hwnd_ && IsRadio(w))
                Send(w, BM_SETCHECK, BST_UNCHECKED);
        }
    }
    Send(hwnd_, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED);
    form_.SyncOptionButtons();
    if (value && Click)
        Click();
}

void OptionButton::OnCommand(int code)
{
    if (code != BN_CLICKED)
        return;
    bool was = last_;
    form_.SyncOptionButtons();
    // Clicking the checked button again reports BN_CLICKED again: no change, no Click.
    if (last_ && !was && Click)
        Click();
}

}  // namespace kw::forms
