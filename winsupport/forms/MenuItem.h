#pragma once
#include <functional>
#include <string>

#include "winsupport/forms/Control.h"

namespace kw::forms {

// A menu item of the form's menu, found by its id (popups need an id: MENUEX).
class MenuItem : public Control {
public:
    MenuItem(Form& form, int id);
    bool HasBackColor() const override { return false; }
    bool HasFont() const override { return false; }
    std::string Caption() const;
    void Caption(const std::string& caption);
    bool Enabled() const override;
    void Enabled(bool enabled) override;
    bool Visible() const override { return true; }
    void Visible(bool visible) override;  // menus here are always visible: error 438 otherwise
    bool Checked() const;
    void Checked(bool checked);
    std::function<void()> Click;

private:
    friend class Form;
    void Locate(HMENU& menu, UINT& position) const;
};

}  // namespace kw::forms
