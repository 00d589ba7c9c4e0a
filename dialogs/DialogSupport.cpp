#include "dialogs/DialogSupport.h"

#include "app/modMain.h"
#include "resources/resource.h"

namespace kw {

void SetDialogLook(forms::Form& form)
{
    NewAppIcon().SetAppIcon(form.hWnd(), IDI_APP_NAME, form.Dpi());
    ReleaseAppIcon();
    SetFormFont(form, "MS Shell Dlg", 8);
}

void KeepFocusInDialog(forms::Form& form, forms::Control& fallback)
{
    HWND focus = GetFocus();
    if (focus && IsWindowEnabled(focus) && IsChild(form.hWnd(), focus))
        return;
    fallback.SetFocus();
}

}  // namespace kw
