#pragma once
#include <string>

#include "winsupport/forms/Control.h"

namespace kw::forms {

class Label : public Control {
public:
    Label(Form& form, int id);
    std::string Caption() const;
    void Caption(const std::string& caption);
};

}  // namespace kw::forms
