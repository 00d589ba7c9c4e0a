#include "winsupport/forms/ListBox.h"

#include <algorithm>

#include "winsupport/forms/ControlSupport.h"

namespace kw::forms {

using namespace detail;

ListBox::ListBox(Form& form, int id) : Control(form, id, ControlKind::ListBox) {}

bool ListBox::MultiSelect() const
{
    if (!Kept())
        RequireBound();
    return (StyleBits() & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL)) != 0;
}

void ListBox::Seed(PictureBox& page, const TemplateItem& item, const DialogTemplate& dialog)
{
    Control::Seed(page, item, dialog);
    items_.clear();
    selection_.clear();
    index_ = -1;
}

void ListBox::Bind(HWND hwnd)
{
    const bool kept = Kept();
    Control::Bind(hwnd);
    if (!kept) {
        selection_ = ReadSelection();
        index_ = MultiSelect() ? -1 : static_cast<int>(Send(hwnd_, LB_GETCURSEL));
        return;
    }
    size_t chars = 0;
    for (const std::string& item : items_)
        chars += item.size() + 1;
    {
        Updating updating(*this);
        Send(hwnd_, LB_INITSTORAGE, items_.size(), static_cast<LPARAM>(chars * sizeof(wchar_t)));
        // Where they stand: the kept list is already in a sorted list's order.
        for (const std::string& item : items_)
            Send(hwnd_, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(Widen(item).c_str()));
        if (MultiSelect()) {
            for (size_t i = 0; i < selection_.size(); ++i)
                if (selection_[i])
                    Send(hwnd_, LB_SETSEL, TRUE, static_cast<LPARAM>(i));
            if (index_ >= 0)
                Send(hwnd_, LB_SETCARETINDEX, static_cast<WPARAM>(index_), FALSE);
        } else if (index_ >= 0) {
            Send(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index_));
        }
    }
    std::vector<std::string>().swap(items_);
    selection_ = ReadSelection();
    if (!MultiSelect())
        index_ = static_cast<int>(Send(hwnd_, LB_GETCURSEL));
}

void ListBox::Unbind()
{
    Control::Unbind();
    items_.clear();
}

std::vector<char> ListBox::ReadSelection() const
{
    std::vector<char> selection;
    if (Kept())
        return selection_;
    if (!MultiSelect())
        return selection;
    int count = static_cast<int>(Send(hwnd_, LB_GETCOUNT));
    selection.resize(static_cast<size_t>(count < 0 ? 0 : count));
    for (int i = 0; i < count; ++i)
        selection[static_cast<size_t>(i)] = Send(hwnd_, LB_GETSEL, static_cast<WPARAM>(i)) > 0 ? 1 : 0;
    return selection;
}

bool ListBox::Resync(int newIndex)
{
    std::vector<char> selection = ReadSelection();
    bool changed = newIndex != index_ || selection != selection_;
    index_ = newIndex;
    selection_ = std::move(selection);
    return changed;
}

void ListBox::CheckIndex(int index) const
{
    if (index < 0 || index >= ListCount())
        throw RuntimeError(kErrSubscript, {}, "List");
}

int ListBox::ListIndex() const
{
    if (Kept())
        return index_;
    RequireBound();
    return MultiSelect() ? index_ : static_cast<int>(Send(hwnd_, LB_GETCURSEL));
}

void ListBox::ListIndex(int index)
{
    if (!Kept())
        RequireBound();
    if (index < -1 || index >= ListCount())
        InvalidValue("ListIndex");
    bool changed;
    if (Kept()) {
        // As the control does: the current item alone selected.
        std::vector<char> selection(MultiSelect() ? items_.size() : 0, 0);
        if (MultiSelect() && index >= 0)
            selection[static_cast<size_t>(index)] = 1;
        changed = index != index_ || selection != selection_;
        index_ = index;
        selection_ = std::move(selection);
    } else if (MultiSelect()) {
        // The current item alone is selected; -1 leaves nothing selected.
        Send(hwnd_, LB_SETSEL, FALSE, -1);
        if (index >= 0) {
            Send(hwnd_, LB_SETSEL, TRUE, index);
            Send(hwnd_, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
        }
        changed = Resync(index);
    } else {
        changed = index != static_cast<int>(Send(hwnd_, LB_GETCURSEL));
        if (changed)
            Send(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index));
        index_ = index;
    }
    if (changed && Click)
        Click();
}

int ListBox::ListCount() const
{
    if (Kept())
        return static_cast<int>(items_.size());
    RequireBound();
    return static_cast<int>(Send(hwnd_, LB_GETCOUNT));
}

std::string ListBox::List(int index) const
{
    if (!Kept())
        RequireBound();
    CheckIndex(index);
    if (Kept())
        return items_[static_cast<size_t>(index)];
    LRESULT length = Send(hwnd_, LB_GETTEXTLEN, static_cast<WPARAM>(index));
    std::wstring text(static_cast<size_t>(length < 0 ? 0 : length) + 1, L'\0');
    LRESULT got = Send(hwnd_, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got < 0 ? 0 : static_cast<size_t>(got));
    return Narrow(text);
}

void ListBox::List(int index, const std::string& text)
{
    if (!Kept())
        RequireBound();
    CheckIndex(index);
    if (Kept()) {
        items_[static_cast<size_t>(index)] = text;
        return;
    }
    bool selected = Selected(index);
    Send(hwnd_, LB_DELETESTRING, static_cast<WPARAM>(index));
    Send(hwnd_, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(Widen(text).c_str()));
    if (selected) {
        if (MultiSelect())
            Send(hwnd_, LB_SETSEL, TRUE, index);
        else
            Send(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index));
    }
    if (MultiSelect())
        selection_ = ReadSelection();
}

std::string ListBox::Text() const
{
    int index = ListIndex();
    return index < 0 ? std::string() : List(index);
}

void ListBox::AddItem(const std::string& text)
{
    if (Kept()) {
        auto at = items_.end();
        if (StyleBits() & LBS_SORT) {
            const std::wstring wide = Widen(text);
            at = std::upper_bound(items_.begin(), items_.end(), wide, [](const std::wstring& a, const std::string& b) {
                return lstrcmpiW(a.c_str(), Widen(b).c_str()) < 0;
            });
        }
        const auto pos = at - items_.begin();
        items_.insert(at, text);
        if (MultiSelect())
            selection_.insert(selection_.begin() + pos, 0);
        if (index_ >= pos)
            ++index_;
        return;
    }
    RequireBound();
    LRESULT pos = Send(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
    if (pos < 0)
        throw RuntimeError(kErrInvalidArgument, "The item cannot be added", "AddItem");
    if (MultiSelect()) {
        selection_.insert(selection_.begin() + pos, 0);
        if (index_ >= pos)
            ++index_;
    } else {
        index_ = static_cast<int>(Send(hwnd_, LB_GETCURSEL));
    }
}

void ListBox::RemoveItem(int index)
{
    if (!Kept())
        RequireBound();
    if (index < 0 || index >= ListCount())
        InvalidValue("RemoveItem");
    if (Kept()) {
        items_.erase(items_.begin() + index);
        if (MultiSelect())
            selection_.erase(selection_.begin() + index);
        if (index_ == index)
            index_ = -1;
        else if (index_ > index)
            --index_;
        return;
    }
    Send(hwnd_, LB_DELETESTRING, static_cast<WPARAM>(index));
    if (MultiSelect()) {
        selection_.erase(selection_.begin() + index);
        if (index_ == index)
            index_ = -1;
        else if (index_ > index)
            --index_;
    } else {
        index_ = static_cast<int>(Send(hwnd_, LB_GETCURSEL));
    }
}

void ListBox::RemoveItems(const std::vector<int>& ascending)
{
    if (!Kept())
        RequireBound();
    const int count = ListCount();
    for (int index : ascending)
        if (index < 0 || index >= count)
            InvalidValue("RemoveItem");
    if (Kept()) {
        for (auto it = ascending.rbegin(); it != ascending.rend(); ++it)
            RemoveItem(*it);
        return;
    }
    Updating updating(*this);
    if (ascending.size() * 2 <= static_cast<size_t>(count)) {
        for (auto it = ascending.rbegin(); it != ascending.rend(); ++it)
            RemoveItem(*it);
        return;
    }
    // Most of the list goes: one reset and the few that stay added back costs far fewer
    // messages than a deletion per line.
    std::vector<char> gone(static_cast<size_t>(count), 0);
    for (int index : ascending)
        gone[static_cast<size_t>(index)] = 1;
    std::vector<std::string> keptText;
    std::vector<char> keptSelection;
    int newIndex = -1;
    for (int i = 0; i < count; ++i) {
        if (gone[static_cast<size_t>(i)])
            continue;
        if (MultiSelect() && i == index_)
            newIndex = static_cast<int>(keptText.size());
        keptText.push_back(List(i));
        keptSelection.push_back(static_cast<char>(MultiSelect() && Send(hwnd_, LB_GETSEL, static_cast<WPARAM>(i)) > 0));
    }
    Send(hwnd_, LB_RESETCONTENT);
    for (const std::string& text : keptText)
        Send(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
    if (MultiSelect()) {
        for (size_t i = 0; i < keptSelection.size(); ++i)
            if (keptSelection[i])
                Send(hwnd_, LB_SETSEL, TRUE, static_cast<LPARAM>(i));
        selection_ = std::move(keptSelection);
        index_ = newIndex;
    } else {
        index_ = static_cast<int>(Send(hwnd_, LB_GETCURSEL));
    }
}

std::vector<int> ListBox::SelectedIndexes() const
{
    if (!Kept())
        RequireBound();
    std::vector<int> indexes;
    if (Kept() && MultiSelect()) {
        for (size_t i = 0; i < selection_.size(); ++i)
            if (selection_[i])
                indexes.push_back(static_cast<int>(i));
        return indexes;
    }
    if (!MultiSelect()) {
        if (const int index = ListIndex(); index >= 0)
            indexes.push_back(index);
        return indexes;
    }
    const LRESULT n = Send(hwnd_, LB_GETSELCOUNT);
    if (n <= 0)
        return indexes;
    indexes.resize(static_cast<size_t>(n));
    const LRESULT got = Send(hwnd_, LB_GETSELITEMS, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(indexes.data()));
    indexes.resize(got < 0 ? 0 : static_cast<size_t>(got));
    std::sort(indexes.begin(), indexes.end());
    return indexes;
}

void ListBox::Clear()
{
    if (Kept()) {
        items_.clear();
    } else {
        RequireBound();
        Send(hwnd_, LB_RESETCONTENT);
    }
    index_ = -1;
    selection_.clear();
}

bool ListBox::Selected(int index) const
{
    if (!Kept())
        RequireBound();
    CheckIndex(index);
    if (Kept())
        return MultiSelect() ? selection_[static_cast<size_t>(index)] != 0 : index_ == index;
    return Send(hwnd_, LB_GETSEL, static_cast<WPARAM>(index)) > 0;
}

void ListBox::Selected(int index, bool selected)
{
    if (!Kept())
        RequireBound();
    CheckIndex(index);
    if (!MultiSelect()) {
        if (selected)
            ListIndex(index);
        else if (ListIndex() == index)
            ListIndex(-1);
        return;
    }
    if (Kept()) {
        char& slot = selection_[static_cast<size_t>(index)];
        const bool changed = (slot != 0) != selected;
        slot = selected ? 1 : 0;
        if (changed && Click)
            Click();
        return;
    }
    Send(hwnd_, LB_SETSEL, selected ? TRUE : FALSE, index);
    if (Resync(index_) && Click)
        Click();
}

int ListBox::SelCount() const
{
    if (Kept())
        return MultiSelect() ? static_cast<int>(std::count(selection_.begin(), selection_.end(), 1)) : (index_ >= 0);
    RequireBound();
    if (MultiSelect())
        return static_cast<int>(Send(hwnd_, LB_GETSELCOUNT));
    return Send(hwnd_, LB_GETCURSEL) >= 0 ? 1 : 0;
}

void ListBox::OnCommand(int code)
{
    if (code != LBN_SELCHANGE)
        return;
    bool changed;
    if (MultiSelect()) {
        changed = Resync(static_cast<int>(Send(hwnd_, LB_GETCARETINDEX)));
    } else {
        int index = static_cast<int>(Send(hwnd_, LB_GETCURSEL));
        changed = index != index_;  // a click on the current item reports it again
        index_ = index;
    }
    if (changed && Click)
        Click();
}

}  // namespace kw::forms
