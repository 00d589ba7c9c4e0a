#pragma once
#include <functional>
#include <string>

#include "winsupport/forms/Control.h"

namespace kw::forms {

class OptionButton : public Control {
public:
    OptionButton(Form& form, int id);
    std::string Caption() const;
    void Caption(const std::string& caption);
    bool Value() const;
    // True checks this one and clears the others of its group; Click is raised for the
    // button that becomes checked.
    void Value(bool value);
    std::function<void()> Click;

protected:
    void Bind(HWND hwnd) override;
    void Seed(PictureBox& page, const TemplateItem& item, const DialogTemplate& dialog) override;
    void OnCommand(int code) override;

private:
    friend class Form;
    bool last_ = false;
    int group_ = 0;  // the template's WS_GROUP run, while the values are kept
};

}  // namespace kw::forms
