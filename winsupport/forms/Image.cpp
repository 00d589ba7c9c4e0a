#include "winsupport/forms/Image.h"

#include <utility>

#include "winsupport/Dpi.h"
#include "winsupport/forms/ControlSupport.h"

namespace kw::forms {

using detail::Send;

Image::Image(Form& form, int id) : Control(form, id, ControlKind::Image) {}

Image::~Image() { ReleaseLoaded(); }

void Image::Bind(HWND hwnd)
{
    const bool kept = Kept();
    Control::Bind(hwnd);
    if (kept && pictureId_)
        LoadPicture(pictureId_);
}

void Image::Unbind()
{
    Control::Unbind();
    ReleaseLoaded();
}

void Image::ReleaseLoaded()
{
    if (loaded_)
        DestroyIcon(std::exchange(loaded_, nullptr));
}

HICON Image::Picture() const
{
    RequireBound();
    return reinterpret_cast<HICON>(Send(hwnd_, STM_GETICON));
}

void Image::Picture(HICON icon)
{
    RequireBound();
    pictureId_ = 0;
    Send(hwnd_, STM_SETICON, reinterpret_cast<WPARAM>(icon));
    if (loaded_ && icon != loaded_)
        ReleaseLoaded();  // only now: the control showed it until here
}

bool Image::LoadPicture(int resourceId)
{
    if (Kept()) {
        // Loaded at the size of the box once it exists; until then only whether it is there.
        if (!FindResourceW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(14)))
            return false;  // RT_GROUP_ICON
        pictureId_ = resourceId;
        return true;
    }
    RequireBound();
    RECT rc;
    GetClientRect(hwnd_, &rc);
    // A frame drawn for the box's size: one stretched to it looks soft.
    HINSTANCE module = GetModuleHandleW(nullptr);
    int size = FittingIconFrame(module, MAKEINTRESOURCEW(resourceId), rc.right < rc.bottom ? rc.right : rc.bottom);
    auto icon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(resourceId), IMAGE_ICON, size, size, 0));
    if (!icon)
        return false;
    Picture(icon);
    loaded_ = icon;
    pictureId_ = resourceId;
    return true;
}

void Image::DpiChanged()
{
    // The box has its new size: the frame that fits it now.
    if (pictureId_ && hwnd_)
        LoadPicture(pictureId_);
}

}  // namespace kw::forms
