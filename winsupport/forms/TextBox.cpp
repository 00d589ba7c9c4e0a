#include "winsupport/forms/TextBox.h"

#include <utility>

#include "winsupport/forms/ControlSupport.h"

namespace kw::forms {

using namespace detail;

TextBox::TextBox(Form& form, int id) : Control(form, id, ControlKind::TextBox) {}

void TextBox::Seed(PictureBox& page, const TemplateItem& item, const DialogTemplate& dialog)
{
    Control::Seed(page, item, dialog);
    last_ = keptText_;
}

void TextBox::Bind(HWND hwnd)
{
    const bool kept = Kept();
    const std::string text = keptText_;
    const LONG_PTR style = keptStyle_;
    Control::Bind(hwnd);
    if (kept) {
        if (text != WindowText()) {
            settingText_ = true;
            SetWindowTextW(hwnd_, Widen(text).c_str());
            settingText_ = false;
        }
        if ((style & ES_READONLY) != (Style(hwnd_) & ES_READONLY))
            Send(hwnd_, EM_SETREADONLY, (style & ES_READONLY) ? TRUE : FALSE);
    }
    last_ = WindowText();
}

std::string TextBox::Text() const
{
    if (!Kept())
        RequireBound();
    return WindowText();
}

void TextBox::Text(const std::string& text)
{
    if (!Kept())
        RequireBound();
    if (text == WindowText()) {
        last_ = text;
        return;
    }
    if (Kept()) {
        keptText_ = text;
        RaiseIfChanged();
        return;
    }
    // A single-line edit reports EN_CHANGE for every WM_SETTEXT: ours is raised below.
    settingText_ = true;
    BOOL ok = SetWindowTextW(hwnd_, Widen(text).c_str());
    settingText_ = false;
    if (!ok)
        throw RuntimeError(kErrInvalidArgument, "The text cannot be set", "Text");
    RaiseIfChanged();
}

void TextBox::OnCommand(int code)
{
    if (code != EN_CHANGE || settingText_)
        return;
    RaiseIfChanged();
}

void TextBox::RaiseIfChanged()
{
    std::string now = WindowText();
    if (now == last_)
        return;
    last_ = std::move(now);
    if (Change)
        Change();
}

int TextBox::TextLength() const
{
    if (Kept())
        return static_cast<int>(Widen(keptText_).size());
    RequireBound();
    return GetWindowTextLengthW(hwnd_);
}

int TextBox::SelStart() const
{
    RequireBound();
    DWORD start = 0, end = 0;
    Send(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(start);
}

void TextBox::SelStart(int start)
{
    RequireBound();
    if (start < 0)
        InvalidValue("SelStart");
    Send(hwnd_, EM_SETSEL, static_cast<WPARAM>(start), start);
}

int TextBox::SelLength() const
{
    RequireBound();
    DWORD start = 0, end = 0;
    Send(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TextBox::SelLength(int length)
{
    RequireBound();
    if (length < 0)
        InvalidValue("SelLength");
    int start = SelStart();
    Send(hwnd_, EM_SETSEL, static_cast<WPARAM>(start), start + length);
}

bool TextBox::Locked() const
{
    if (!Kept())
        RequireBound();
    return (StyleBits() & ES_READONLY) != 0;
}

void TextBox::Locked(bool locked)
{
    if (Kept()) {
        keptStyle_ = locked ? (keptStyle_ | ES_READONLY) : (keptStyle_ & ~ES_READONLY);
        return;
    }
    RequireBound();
    Send(hwnd_, EM_SETREADONLY, locked ? TRUE : FALSE);
}

}  // namespace kw::forms
