#include "winsupport/forms/ComboBox.h"

#include <algorithm>

#include "winsupport/forms/ControlSupport.h"

namespace kw::forms {

using namespace detail;

ComboBox::ComboBox(Form& form, int id) : Control(form, id, ControlKind::ComboBox) {}

void ComboBox::Seed(PictureBox& page, const TemplateItem& item, const DialogTemplate& dialog)
{
    Control::Seed(page, item, dialog);
    items_.clear();
    lastIndex_ = -1;
    lastText_ = Editable() ? keptText_ : std::string();
}

void ComboBox::Bind(HWND hwnd)
{
    const bool kept = Kept();
    const std::string text = keptText_;
    const int index = lastIndex_;
    Control::Bind(hwnd);
    if (kept) {
        // One storage request and no repaint per line: thousands of lines take no time.
        size_t chars = 0;
        for (const std::string& item : items_)
            chars += item.size() + 1;
        Updating updating(*this);
        Send(hwnd_, CB_INITSTORAGE, items_.size(), static_cast<LPARAM>(chars * sizeof(wchar_t)));
        // Inserted where they stand: the kept list is in the order a sorted list keeps.
        for (const std::string& item : items_)
            Send(hwnd_, CB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(Widen(item).c_str()));
        std::vector<std::string>().swap(items_);
        if (index >= 0)
            Send(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index));
        if (Editable() && text != WindowText())
            SetWindowTextW(hwnd_, Widen(text).c_str());
    }
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
    items_.clear();
}

bool ComboBox::Editable() const
{
    if (!Kept())
        RequireBound();
    return (StyleBits() & 3) != CBS_DROPDOWNLIST;
}

std::string ComboBox::ItemText(int index) const
{
    if (Kept())
        return index >= 0 && static_cast<size_t>(index) < items_.size() ? items_[static_cast<size_t>(index)]
                                                                        : std::string();
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
    if (!Kept())
        RequireBound();
    if (Editable())
        return WindowText();
    int index = ListIndex();
    return index < 0 ? std::string() : ItemText(index);
}

void ComboBox::Text(const std::string& text)
{
    if (!Kept())
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
    if (Kept())
        keptText_ = text;
    else
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
    if (Kept())
        return lastIndex_;
    RequireBound();
    return static_cast<int>(Send(hwnd_, CB_GETCURSEL));
}

void ComboBox::ListIndex(int index)
{
    if (!Kept())
        RequireBound();
    if (index < -1 || index >= ListCount())
        InvalidValue("ListIndex");
    if (index == ListIndex())
        return;
    if (Kept()) {
        // Choosing an entry puts its text in an editable combo's field, as the control does.
        if (Editable())
            keptText_ = ItemText(index);
    } else {
        Send(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index));  // sends nothing by itself
    }
    lastIndex_ = index;
    lastText_ = Text();
    if (Click)
        Click();
}

int ComboBox::ListCount() const
{
    if (Kept())
        return static_cast<int>(items_.size());
    RequireBound();
    return static_cast<int>(Send(hwnd_, CB_GETCOUNT));
}

std::string ComboBox::List(int index) const
{
    if (!Kept())
        RequireBound();
    if (index < 0 || index >= ListCount())
        throw RuntimeError(kErrSubscript, {}, "List");
    return ItemText(index);
}

void ComboBox::List(int index, const std::string& text)
{
    if (!Kept())
        RequireBound();
    if (index < 0 || index >= ListCount())
        throw RuntimeError(kErrSubscript, {}, "List");
    if (Kept()) {
        items_[static_cast<size_t>(index)] = text;
        if (index == lastIndex_ && Editable())
            keptText_ = text;
        lastText_ = Text();
        return;
    }
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
    if (Kept()) {
        auto at = items_.end();
        if (StyleBits() & CBS_SORT) {
            // Where the sorted control puts it: after the entries that compare equal or less.
            const std::wstring wide = Widen(text);
            at = std::upper_bound(items_.begin(), items_.end(), wide, [](const std::wstring& a, const std::string& b) {
                return lstrcmpiW(a.c_str(), Widen(b).c_str()) < 0;
            });
            if (lastIndex_ >= at - items_.begin())
                ++lastIndex_;
        }
        items_.insert(at, text);
        return;
    }
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
    if (!Kept())
        RequireBound();
    if (index < 0 || index >= ListCount())
        InvalidValue("RemoveItem");
    if (Kept()) {
        items_.erase(items_.begin() + index);
        if (lastIndex_ == index)
            lastIndex_ = -1;
        else if (lastIndex_ > index)
            --lastIndex_;
        lastText_ = Text();
        return;
    }
    Send(hwnd_, CB_DELETESTRING, static_cast<WPARAM>(index));
    lastIndex_ = ListIndex();
    lastText_ = Text();
}

void ComboBox::Clear()
{
    if (Kept()) {
        items_.clear();
        keptText_.clear();
    } else {
        RequireBound();
        Send(hwnd_, CB_RESETCONTENT);  // also empties an editable combo's text; raises nothing
    }
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
