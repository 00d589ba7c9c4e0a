#include "winsupport/forms/Label.h"

#include "winsupport/forms/ControlSupport.h"

namespace kw::forms {

Label::Label(Form& form, int id) : Control(form, id, ControlKind::Label) {}

std::string Label::Caption() const { return CaptionText(); }
void Label::Caption(const std::string& caption) { CaptionText(caption); }

}  // namespace kw::forms
