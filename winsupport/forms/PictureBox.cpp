#include "winsupport/forms/PictureBox.h"

#include "winsupport/forms/ControlSupport.h"
#include "winsupport/forms/Form.h"

namespace kw::forms {

PictureBox::PictureBox(Form& form, int id, int templateId)
    : Control(form, id, ControlKind::PictureBox),
      templateId_(templateId)
{
}

void PictureBox::Load()
{
    if (!hwnd_ && page_)
        form_.LoadPage(*this);
}

void PictureBox::Visible(bool visible)
{
    if (visible)
        Load();  // a page that shows needs its window
    Control::Visible(visible);
}

}  // namespace kw::forms
