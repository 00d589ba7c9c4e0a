#pragma once
#include <functional>
#include <string>

#include "winsupport/forms/Control.h"

namespace kw::forms {

class CheckBox : public Control {
public:
    CheckBox(Form& form, int id);
    std::string Caption() const;
    void Caption(const std::string& caption);
    int Value() const;
    void Value(int value);  // kUnchecked, kChecked or kGrayed
    std::function<void()> Click;

protected:
    void Bind(HWND hwnd) override;
    void Seed(PictureBox& page, const TemplateItem& item, const DialogTemplate& dialog) override;
    void OnCommand(int code) override;

private:
    int last_ = 0;
};

}  // namespace kw::forms
