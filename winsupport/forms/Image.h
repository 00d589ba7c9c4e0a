#pragma once
#include "winsupport/forms/Control.h"

namespace kw::forms {

class Image : public Control {
public:
    Image(Form& form, int id);
    bool HasBackColor() const override { return false; }
    bool HasFont() const override { return false; }
    ~Image() override;
    HICON Picture() const;
    void Picture(HICON icon);
    // Loads an icon of the program by number, the frame that fits the control; false when
    // missing. The image owns that icon (a frame of its own size cannot be a shared one).
    bool LoadPicture(int resourceId);

protected:
    void Bind(HWND hwnd) override;
    void Unbind() override;
    void DpiChanged() override;

private:
    void ReleaseLoaded();
    HICON loaded_ = nullptr;
    int pictureId_ = 0;  // reloaded at the frame that fits when the DPI changes
};

}  // namespace kw::forms
