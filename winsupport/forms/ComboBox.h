#pragma once
#include <functional>
#include <string>
#include <vector>

#include "model/StringList.h"
#include "winsupport/forms/Control.h"

namespace kw::forms {

class ComboBox : public Control, public StringList {
public:
    ComboBox(Form& form, int id);
    bool Editable() const;
    // A drop-down list's text is its selected entry; setting it selects the entry with
    // that exact text (error 5 when there is none).
    std::string Text() const;
    void Text(const std::string& text);
    int ListIndex() const;
    void ListIndex(int index) override;  // -1 clears; raises Click when it changes
    int ListCount() const override;
    std::string List(int index) const override;
    void List(int index, const std::string& text);
    void AddItem(const std::string& text) override;
    void RemoveItem(int index);
    void Clear() override;  // empties list and text; raises nothing

    std::function<void()> Change;  // typing, or Text set from code
    std::function<void()> Click;   // a list entry chosen by the user or by ListIndex

protected:
    void Bind(HWND hwnd) override;
    void Seed(PictureBox& page, const TemplateItem& item, const DialogTemplate& dialog) override;
    void Unbind() override;
    void OnCommand(int code) override;
    bool Owns(HWND hwnd) const override { return hwnd && (hwnd == hwnd_ || hwnd == edit_); }
    std::uint32_t DefaultBackColor() const override { return kColorWindow; }

private:
    std::string ItemText(int index) const;
    // While the values are kept: the list (the text is the control's kept text).
    std::vector<std::string> items_;
    HWND edit_ = nullptr;
    std::string lastText_;
    int lastIndex_ = -1;
};

}  // namespace kw::forms
