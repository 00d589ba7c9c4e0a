#pragma once
// What every dialog does the same way.
#include "winsupport/forms/Forms.h"

namespace kw {

// The program icon on the dialog (and its owner chain) and the dialog font on every control.
void SetDialogLook(forms::Form& form);

// A step that may fail without stopping the ones after it.
template <class F>
void IgnoreErrors(F&& step)
{
    try {
        step();
    } catch (...) {
    }
}

// A button disabled while it had the focus leaves the dialog without one, and Enter and
// Escape would go nowhere: the focus goes to fallback then.
void KeepFocusInDialog(forms::Form& form, forms::Control& fallback);

}  // namespace kw
