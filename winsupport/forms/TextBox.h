#pragma once
#include <functional>
#include <string>

#include "winsupport/forms/Control.h"

namespace kw::forms {

class TextBox : public Control {
public:
    TextBox(Form& form, int id);
    std::string Text() const;
    void Text(const std::string& text);
    // Length, SelStart and SelLength count UTF-16 units, as the control does.
    int TextLength() const;
    int SelStart() const;
    void SelStart(int start);
    int SelLength() const;
    void SelLength(int length);
    bool Locked() const;
    void Locked(bool locked);

    std::function<void()> Change;

protected:
    void Bind(HWND hwnd) override;
    void Seed(PictureBox& page, const TemplateItem& item, const DialogTemplate& dialog) override;
    void OnCommand(int code) override;
    std::uint32_t DefaultBackColor() const override { return kColorWindow; }

private:
    // Change, once, for a text other than the one last known.
    void RaiseIfChanged();
    std::string last_;
    bool settingText_ = false;
};

}  // namespace kw::forms
