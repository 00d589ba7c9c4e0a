#include "winsupport/forms/MenuItem.h"

#include "winsupport/forms/ControlSupport.h"
#include "winsupport/forms/Form.h"

namespace kw::forms {

using detail::kErrNotSupported;

MenuItem::MenuItem(Form& form, int id) : Control(form, id, ControlKind::MenuItem) {}

namespace {
bool FindMenuItem(HMENU menu, int id, HMENU& found, UINT& position)
{
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_SUBMENU;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info))
            continue;
        if (static_cast<int>(info.wID) == id) {
            found = menu;
            position = static_cast<UINT>(i);
            return true;
        }
        if (info.hSubMenu && FindMenuItem(info.hSubMenu, id, found, position))
            return true;
    }
    return false;
}
}  // namespace

void MenuItem::Locate(HMENU& menu, UINT& position) const
{
    HWND owner = form_.hWnd();
    HMENU bar = owner ? GetMenu(owner) : nullptr;
    if (!bar || !FindMenuItem(bar, id_, menu, position))
        throw RuntimeError(kErrInvalidArgument, "No such menu item", "MenuItem");
}

std::string MenuItem::Caption() const
{
    HMENU menu;
    UINT pos;
    Locate(menu, pos);
    wchar_t text[256]{};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 256;
    GetMenuItemInfoW(menu, pos, TRUE, &info);
    return Narrow(text);
}

void MenuItem::Caption(const std::string& caption)
{
    HMENU menu;
    UINT pos;
    Locate(menu, pos);
    std::wstring text = Widen(caption);
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = text.data();
    SetMenuItemInfoW(menu, pos, TRUE, &info);
    DrawMenuBar(form_.hWnd());
}

bool MenuItem::Enabled() const
{
    HMENU menu;
    UINT pos;
    Locate(menu, pos);
    return (GetMenuState(menu, pos, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)) == 0;
}

void MenuItem::Enabled(bool enabled)
{
    HMENU menu;
    UINT pos;
    Locate(menu, pos);
    EnableMenuItem(menu, pos, MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
    DrawMenuBar(form_.hWnd());
}

void MenuItem::Visible(bool visible)
{
    if (!visible)
        throw RuntimeError(kErrNotSupported, "Object doesn't support this property or method", "Visible");
}

bool MenuItem::Checked() const
{
    HMENU menu;
    UINT pos;
    Locate(menu, pos);
    return (GetMenuState(menu, pos, MF_BYPOSITION) & MF_CHECKED) != 0;
}

void MenuItem::Checked(bool checked)
{
    HMENU menu;
    UINT pos;
    Locate(menu, pos);
    CheckMenuItem(menu, pos, MF_BYPOSITION | (checked ? MF_CHECKED : MF_UNCHECKED));
}

}  // namespace kw::forms
