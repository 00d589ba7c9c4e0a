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
    void OnCommand(int code) override;

private:
    friend class Form;
    bool last_ = false;
};

}  // namespace kw::forms
