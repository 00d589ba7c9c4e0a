#pragma once
#include <functional>
#include <string>

#include "winsupport/forms/Control.h"

namespace kw::forms {

class CommandButton : public Control {
public:
    CommandButton(Form& form, int id);
    std::string Caption() const;
    void Caption(const std::string& caption);
    // Enter presses the default button; only one button of a form holds the role, and
    // clearing it on a button that does not hold it changes nothing.
    bool Default() const;
    void Default(bool value);
    // Escape and the dialog manager's cancel press the cancel button.
    bool Cancel() const;
    void Cancel(bool value);
    std::function<void()> Click;

protected:
    void OnCommand(int code) override;

private:
    friend class Form;
    void PressFromKeyboard();
};

}  // namespace kw::forms
