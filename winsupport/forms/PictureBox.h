#pragma once
#include <functional>

#include "winsupport/forms/Control.h"

namespace kw::forms {

// A page: a child dialog (DS_CONTROL | WS_CHILD) made from its own template, when the form
// loads or, on demand, when it is first needed. Its controls are wrapped in the same form
// and their notifications reach it.
class PictureBox : public Control {
public:
    PictureBox(Form& form, int id, int templateId);

    // Set before the form loads: the page is made only when Load is called, when it is made
    // visible, or when one of its controls is asked what only a window knows. Until then its
    // controls keep what the program gives them (texts, checks, lists, enabled, fonts) and
    // raise their events as they would with windows; the page shows all of it once made.
    bool LoadOnDemand() const { return onDemand_; }
    void LoadOnDemand(bool onDemand) { onDemand_ = onDemand; }
    // Makes the page now (hidden) if the form is loaded and the page is not made yet.
    void Load();
    void Visible(bool visible) override;
    using Control::Visible;

    // After the page was made on demand and its controls were given their values.
    std::function<void()> PageLoad;

private:
    friend class Form;
    int templateId_;
    bool onDemand_ = false;
};

}  // namespace kw::forms
