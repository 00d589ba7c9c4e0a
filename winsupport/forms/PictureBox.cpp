#include "winsupport/forms/PictureBox.h"

#include "winsupport/forms/ControlSupport.h"

namespace kw::forms {

PictureBox::PictureBox(Form& form, int id, int templateId)
    : Control(form, id, ControlKind::PictureBox),
      templateId_(templateId)
{
}

}  // namespace kw::forms
