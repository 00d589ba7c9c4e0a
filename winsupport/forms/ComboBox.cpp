#include "winsupport/forms/ComboBox.h"

#include "winsupport/forms/ControlSupport.h"

namespace kw::forms {

using namespace detail;

ComboBox::ComboBox(Form& form, int id) : Control(form, id, ControlKind::ComboBox) {}

void ComboBox::Bind(HWND hwnd)
{
    Control::Bind(hwnd);
    edit_ = nullptr;
    if (Editable()) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        if (GetComboBoxInfo(hwnd, &info) && info.hwndItem && info.hwndItem != hwnd) {
            edit_ = info.hwndItem;
            Subclass(edit_);
        }
    }
    lastIndex_ = static_cast<int>(Send(hwnd_, CB_GETCURSEL));
    lastText_ = Text();
}

void ComboBox::Unbind()
{
    Control::Unbind();
    edit_ = nullptr;
}

bool ComboBox::Editable() const
{
    RequireBound();
    return (Style(hwnd_) & 3) != CBS_DROPDOWNLIST;
}

std::string ComboBox::ItemText(int index) const
{
    LRESULT length = Send(hwnd_, CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (length == CB_ERR)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    LRESULT got = Send(hwnd_, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == CB_ERR ? 0 : static_cast<size_t>(got));
    return Narrow(text);
}

std::string ComboBox::Text() const
{
    RequireBound();
    if (Editable())
        return WindowText();
    int index = static_cast<int>(Send(hwnd_, CB_GETCURSEL));
    return index < 0 ? std::string() : ItemText(index);
}

void ComboBox::Text(const std::string& text)
{
    RequireBound();
    if (!Editable()) {
        if (text.empty()) {
            ListIndex(-1);
            return;
        }
        // Exact and case-sensitive, unlike CB_FINDSTRINGEXACT.
        int count = ListCount();
        for (int i = 0; i < count; ++i) {
            if (ItemText(i) == text) {
                ListIndex(i);
                return;
            }
        }
        InvalidValue("Text");
    }
    if (text == WindowText()) {
        lastText_ = text;
        return;
    }
    SetWindowTextW(hwnd_, Widen(text).c_str());
    std::string now = WindowText();
    if (now == lastText_)
        return;
    lastText_ = now;
    if (Change)
        Change();
}

int ComboBox::ListIndex() const
{
    RequireBound();
    return static_cast<int>(Send(hwnd_, CB_GETCURSEL));
}

void ComboBox::ListIndex(int index)
{
    RequireBound();
    if (index < -1 || index >= ListCount())
        InvalidValue("ListIndex");
    if (index == ListIndex())
        return;
    Send(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index));  // sends nothing by itself
    lastIndex_ = index;
    lastText_ = Text();
    if (Click)
        Click();
}

int ComboBox::ListCount() const
{
    RequireBound();
    return static_cast<int>(Send(hwnd_, CB_GETCOUNT));
}

std::string ComboBox::List(int index) const
{
    RequireBound();
    if (index < 0 || index >= ListCount())
        throw RuntimeError(kErrSubscript, {}, "List");
    return ItemText(index);
}

void ComboBox::List(int index, const std::string& text)
{
    RequireBound();
    if (index < 0 || index >= ListCount())
        throw RuntimeError(kErrSubscript, {}, "List");
    bool selected = ListIndex() == index;
    Send(hwnd_, CB_DELETESTRING, static_cast<WPARAM>(index));
    Send(hwnd_, CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(Widen(text).c_str()));
    if (selected)
        Send(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index));
    lastIndex_ = ListIndex();
    lastText_ = Text();
}

void ComboBox::AddItem(const std::string& text)
{
    RequireBound();
    LRESULT r = Send(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
    if (r == CB_ERR || r == CB_ERRSPACE)
        throw RuntimeError(kErrInvalidArgument, "The item cannot be added", "AddItem");
    // Only a sorted list can put the new item before the current one.
    if (Style(hwnd_) & CBS_SORT)
        lastIndex_ = ListIndex();
}

void ComboBox::RemoveItem(int index)
{
    RequireBound();
    if (index < 0 || index >= ListCount())
        InvalidValue("RemoveItem");
    Send(hwnd_, CB_DELETESTRING, static_cast<WPARAM>(index));
    lastIndex_ = ListIndex();
    lastText_ = Text();
}

void ComboBox::Clear()
{
    RequireBound();
    Send(hwnd_, CB_RESETCONTENT);  // also empties an editable combo's text; raises nothing
    lastIndex_ = -1;
    lastText_ = Text();
}

void ComboBox::OnCommand(int code)
{
    if (code == CBN_SELCHANGE) {
        int index = static_cast<int>(Send(hwnd_, CB_GETCURSEL));
        std::string text = index < 0 ? std::string() : ItemText(index);
        bool changed = index != lastIndex_ || (Editable() && text != lastText_);
        lastIndex_ = index;
        lastText_ = text;
        // The edit still shows the old entry here; the handler must read the new one.
        if (Editable() && text != WindowText())
            SetWindowTextW(hwnd_, Widen(text).c_str());
        if (changed && Click)
            Click();
    } else if (code == CBN_EDITCHANGE) {
        std::string now = WindowText();
        lastIndex_ = static_cast<int>(Send(hwnd_, CB_GETCURSEL));
        if (now == lastText_)
            return;
        lastText_ = now;
        if (Change)
            Change();
    }
}

}  // namespace kw::forms
