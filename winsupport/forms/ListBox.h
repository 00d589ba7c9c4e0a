#pragma once
#include <functional>
#include <string>
#include <vector>

#include "model/StringList.h"
#include "winsupport/forms/Control.h"

namespace kw::forms {

class ListBox : public Control, public StringList {
public:
    ListBox(Form& form, int id);
    bool MultiSelect() const;
    // The current item: the selection of a single-selection list, the caret of a
    // multiple-selection one (-1 until an item is chosen).
    int ListIndex() const;
    void ListIndex(int index) override;
    int ListCount() const override;
    std::string List(int index) const override;
    void List(int index, const std::string& text);
    std::string Text() const;
    void AddItem(const std::string& text) override;
    void RemoveItem(int index);
    // Removes the given lines (ascending, each once); the others keep their selection.
    void RemoveItems(const std::vector<int>& ascending);
    void Clear() override;
    bool Selected(int index) const;
    void Selected(int index, bool selected);
    int SelCount() const;
    // The selected lines in ascending order, asked in one message.
    std::vector<int> SelectedIndexes() const;

    std::function<void()> Click;

protected:
    void Bind(HWND hwnd) override;
    void Unbind() override;
    void Seed(PictureBox& page, const TemplateItem& item, const DialogTemplate& dialog) override;
    void OnCommand(int code) override;
    std::uint32_t DefaultBackColor() const override { return kColorWindow; }

private:
    void CheckIndex(int index) const;
    std::vector<char> ReadSelection() const;
    // Compares with what was known; true when something changed.
    bool Resync(int newIndex);
    int index_ = -1;
    std::vector<char> selection_;
    // While the values are kept: the lines (selection_ and index_ keep the rest).
    std::vector<std::string> items_;
};

}  // namespace kw::forms
