#include "winsupport/forms/Control.h"

#include <algorithm>
#include <commctrl.h>
#include <map>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "winsupport/Placeholder.h"
#include "winsupport/forms/ComboBox.h"
#include "winsupport/forms/ControlSupport.h"
#include "winsupport/forms/DialogTemplate.h"
#include "winsupport/forms/DropTarget.h"
#include "winsupport/forms/Form.h"
#include "winsupport/forms/PictureBox.h"

namespace kw::forms {

using namespace detail;

namespace {

// The windows this layer hooked, with the procedure each had before and the control it
// reports to (none once the control let go while another hook sat above ours). Kept here
// rather than in a window property: the system's subclass helper looks its property up on
// every message, and under Wine each look-up is a round trip to the window server.
struct Hook {
    WNDPROC previous = nullptr;
    Control* owner = nullptr;
};

// Never destroyed: forms held in statics may let go of their windows after it would be.
std::unordered_map<HWND, Hook>& Hooks()
{
    static auto* hooks = new std::unordered_map<HWND, Hook>;
    return *hooks;
}

// One font per (face, height, weight) for as long as some control uses it: a form sets the
// same font on a hundred controls, and a font object each costs start-up time and memory.
std::shared_ptr<const Font> SharedFont(const std::wstring& face, int height, bool bold)
{
    static std::map<std::tuple<std::wstring, int, bool>, std::weak_ptr<const Font>> fonts;
    std::weak_ptr<const Font>& slot = fonts[{face, height, bold}];
    if (auto font = slot.lock())
        return font;
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    auto font = std::make_shared<const Font>(CreateFontIndirectW(&lf));
    if (!*font)
        throw RuntimeError(kErrInvalidArgument, "The font cannot be made", "Font");
    slot = font;
    return font;
}

}  // namespace

COLORREF ResolveColor(std::uint32_t color)
{
    if (color & kSysColorFlag)
        return GetSysColor(static_cast<int>(color & 0xFF));
    return static_cast<COLORREF>(color & 0xFFFFFF);
}

Control::Control(Form& form, int id, ControlKind kind) : form_(form), id_(id), kind_(kind) { form_.Register(this); }

Control::Updating::Updating(Control& control) : hwnd_(control.hWnd())
{
    if (hwnd_)
        SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
}

Control::Updating::~Updating()
{
    if (!hwnd_)
        return;
    SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

Control::~Control()
{
    Unbind();
    form_.Unregister(this);
}

void Control::Bind(HWND hwnd)
{
    const bool kept = Kept();
    const std::string keptFace = fontName_;
    const int keptSize = fontSize_;
    const bool keptBold = fontBold_;
    hwnd_ = hwnd;
    page_ = nullptr;
    Subclass(hwnd);
    if (auto font = reinterpret_cast<HFONT>(Send(hwnd, WM_GETFONT))) {
        LOGFONTW lf{};
        if (GetObjectW(font, sizeof(lf), &lf)) {
            fontName_ = Narrow(lf.lfFaceName);
            fontSize_ = MulDiv(lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight, 72, static_cast<int>(form_.Dpi()));
            fontBold_ = lf.lfWeight >= FW_BOLD;
            templateFace_ = lf.lfFaceName;
            templateHeight_ = lf.lfHeight;
            templateBold_ = fontBold_;
        }
    }
    if (kept) {
        // What was set while there was no window; the template gave the window the rest.
        if (keptFace != fontName_ || keptSize != fontSize_ || keptBold != fontBold_) {
            fontName_ = keptFace;
            fontSize_ = keptSize;
            fontBold_ = keptBold;
            ApplyFont();
        }
        const LONG_PTR style = Style(hwnd);
        if ((style & WS_DISABLED) != (keptStyle_ & WS_DISABLED))
            EnableWindow(hwnd, (keptStyle_ & WS_DISABLED) ? FALSE : TRUE);
        if ((style & WS_VISIBLE) != (keptStyle_ & WS_VISIBLE))
            ShowWindow(hwnd, (keptStyle_ & WS_VISIBLE) ? SW_SHOWNA : SW_HIDE);
        // Captions (the text boxes and combos give their texts themselves).
        const bool caption = kind_ == ControlKind::Label || kind_ == ControlKind::CheckBox ||
                             kind_ == ControlKind::OptionButton || kind_ == ControlKind::CommandButton;
        if (caption && keptText_ != TextOf(hwnd))
            SetWindowTextW(hwnd, Widen(keptText_).c_str());
        keptText_.clear();
    }
    if (oleDropMode_ == kOleDropManual)
        RegisterDrop();
}

void Control::Seed(PictureBox& page, const TemplateItem& item, const DialogTemplate& dialog)
{
    page_ = &page;
    keptStyle_ = static_cast<LONG_PTR>(item.style);
    keptText_ = Narrow(item.text);
    if (!dialog.fontFace.empty()) {
        fontName_ = Narrow(dialog.fontFace);
        fontSize_ = dialog.fontPoints;
        fontBold_ = dialog.fontWeight >= FW_BOLD;
    }
}

LONG_PTR Control::StyleBits() const { return hwnd_ ? Style(hwnd_) : keptStyle_; }

bool Control::TabStop() const
{
    if (!Kept())
        RequireBound();
    return (StyleBits() & WS_TABSTOP) != 0;
}

void Control::Unbind()
{
    RevokeDrop();
    for (HWND w : subclassed_)
        Unhook(w);
    subclassed_.clear();
    hwnd_ = nullptr;
    page_ = nullptr;
    keptText_.clear();
    // A window made anew starts from its template's font again.
    font_.reset();
    templateFace_.clear();
}

void Control::Subclass(HWND hwnd)
{
    auto [at, added] = Hooks().try_emplace(hwnd);
    if (added) {
        const LONG_PTR previous = SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HookProc));
        if (!previous) {
            Hooks().erase(at);
            return;
        }
        at->second.previous = reinterpret_cast<WNDPROC>(previous);
    } else if (at->second.owner && at->second.owner != this) {
        std::erase(at->second.owner->subclassed_, hwnd);
    }
    at->second.owner = this;
    if (std::find(subclassed_.begin(), subclassed_.end(), hwnd) == subclassed_.end())
        subclassed_.push_back(hwnd);
}

void Control::Unhook(HWND hwnd)
{
    auto at = Hooks().find(hwnd);
    if (at == Hooks().end())
        return;
    if (!IsWindow(hwnd)) {
        Hooks().erase(at);
    } else if (GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&HookProc)) {
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(at->second.previous));
        Hooks().erase(at);
    } else {
        at->second.owner = nullptr;  // another hook came after ours: ours only passes messages on
    }
}

void Control::RequireBound() const
{
    // What only a window can answer (where it is, the focus, the selection) makes its page.
    if (!hwnd_ && page_)
        page_->Load();
    if (!hwnd_)
        throw RuntimeError(kErrInvalidArgument, "The form is not loaded", "forms");
}

void Control::RequireFont() const
{
    if (!HasFont())
        throw RuntimeError(kErrNotSupported, "Object doesn't support this property or method", "Font");
    if (!Kept())
        RequireBound();
}

std::string Control::WindowText() const { return hwnd_ ? TextOf(hwnd_) : keptText_; }

std::string Control::CaptionText() const
{
    if (!Kept())
        RequireBound();
    return WindowText();
}

void Control::CaptionText(const std::string& caption)
{
    if (Kept()) {
        keptText_ = caption;
        return;
    }
    RequireBound();
    SetWindowTextW(hwnd_, Widen(caption).c_str());
}

LRESULT CALLBACK Control::HookProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const auto at = Hooks().find(hwnd);
    if (at == Hooks().end())
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    const WNDPROC previous = at->second.previous;
    Control* c = at->second.owner;
    if (msg == WM_NCDESTROY) {
        if (c)
            std::erase(c->subclassed_, hwnd);
        if (GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&HookProc))
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        Hooks().erase(at);
        return CallWindowProcW(previous, hwnd, msg, wParam, lParam);
    }
    if (!c)
        return CallWindowProcW(previous, hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_CHAR:
        if (c->KeyPress) {
            int key = static_cast<int>(wParam);
            try {
                auto handler = c->KeyPress;
                handler(key);
            } catch (const std::exception& e) {
                ReportUnhandledError(&e);
                return 0;
            } catch (...) {
                ReportUnhandledError(nullptr);
                return 0;
            }
            if (key == 0)
                return 0;
            wParam = static_cast<WPARAM>(key);
        }
        break;
    case WM_SETFOCUS: {
        LRESULT r = CallWindowProcW(previous, hwnd, msg, wParam, lParam);
        // An editable combo passes its focus on to its edit, which reports it.
        bool forwarded = c->kind_ == ControlKind::ComboBox && hwnd == c->hwnd_ && static_cast<ComboBox*>(c)->Editable();
        if (c->GotFocus && !forwarded) {
            try {
                auto handler = c->GotFocus;
                handler();
            } catch (const std::exception& e) {
                ReportUnhandledError(&e);
            } catch (...) {
                ReportUnhandledError(nullptr);
            }
        }
        return r;
    }
    }
    return CallWindowProcW(previous, hwnd, msg, wParam, lParam);
}

bool Control::Enabled() const
{
    if (Kept())
        return (keptStyle_ & WS_DISABLED) == 0;
    RequireBound();
    return IsWindowEnabled(hwnd_) != FALSE;
}

void Control::Enabled(bool enabled)
{
    if (Kept()) {
        keptStyle_ = enabled ? (keptStyle_ & ~WS_DISABLED) : (keptStyle_ | WS_DISABLED);
        return;
    }
    RequireBound();
    EnableWindow(hwnd_, enabled ? TRUE : FALSE);
}

bool Control::Visible() const
{
    if (!Kept())
        RequireBound();
    return (StyleBits() & WS_VISIBLE) != 0;
}

void Control::Visible(bool visible)
{
    if (Kept()) {
        keptStyle_ = visible ? (keptStyle_ | WS_VISIBLE) : (keptStyle_ & ~WS_VISIBLE);
        return;
    }
    RequireBound();
    ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

std::uint32_t Control::BackColor() const
{
    if (!HasBackColor())
        throw RuntimeError(kErrNotSupported, "Object doesn't support this property or method", "BackColor");
    return hasBackColor_ ? backColor_ : DefaultBackColor();
}

void Control::BackColor(std::uint32_t color)
{
    if (!HasBackColor())
        throw RuntimeError(kErrNotSupported, "Object doesn't support this property or method", "BackColor");
    bool system = (color & kSysColorFlag) != 0;
    if (system ? (color & ~kSysColorFlag) > COLOR_MENUBAR : color > 0xFFFFFF)
        InvalidValue("BackColor");
    if (hasBackColor_ && backColor_ == color)
        return;
    brush_ = system ? Brush() : Brush(CreateSolidBrush(static_cast<COLORREF>(color)));
    hasBackColor_ = true;
    backColor_ = color;
    if (hwnd_)
        InvalidateRect(hwnd_, nullptr, TRUE);
}

INT_PTR Control::OnCtlColor(HDC hdc)
{
    if (!hasBackColor_)
        return 0;
    SetBkColor(hdc, ResolveColor(backColor_));
    HBRUSH brush = (backColor_ & kSysColorFlag) ? GetSysColorBrush(static_cast<int>(backColor_ & 0xFF)) : brush_.get();
    return reinterpret_cast<INT_PTR>(brush);
}

std::string Control::FontName() const
{
    RequireFont();
    return fontName_;
}

void Control::FontName(const std::string& name)
{
    RequireFont();
    if (name.empty() || Widen(name).size() >= LF_FACESIZE)
        InvalidValue("FontName");
    fontName_ = name;
    ApplyFont();
}

int Control::FontSize() const
{
    RequireFont();
    return fontSize_;
}

void Control::FontSize(int points)
{
    RequireFont();
    if (points <= 0 || points > 2048)
        InvalidValue("FontSize");
    fontSize_ = points;
    ApplyFont();
}

bool Control::FontBold() const
{
    RequireFont();
    return fontBold_;
}

void Control::FontBold(bool bold)
{
    RequireFont();
    fontBold_ = bold;
    ApplyFont();
}

void Control::SetFont(const std::string& name, int points)
{
    RequireFont();
    if (name.empty() || Widen(name).size() >= LF_FACESIZE)
        InvalidValue("FontName");
    if (points <= 0 || points > 2048)
        InvalidValue("FontSize");
    fontName_ = name;
    fontSize_ = points;
    ApplyFont();
}

void Control::ApplyFont()
{
    if (!hwnd_)
        return;  // kept: the window gets it when it is made
    std::wstring face = Widen(fontName_.empty() ? std::string("MS Shell Dlg") : fontName_);
    const LONG height = -MulDiv(fontSize_, static_cast<int>(form_.Dpi()), 72);
    // Setting the font the template already gave is a no-op, and a costly one on a big form.
    if (!font_ && !templateFace_.empty() && height == templateHeight_ && fontBold_ == templateBold_ &&
        CompareStringOrdinal(face.c_str(), -1, templateFace_.c_str(), -1, TRUE) == CSTR_EQUAL)
        return;
    auto font = SharedFont(face, height, fontBold_);
    if (font == font_)
        return;
    Send(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font->get()), TRUE);
    font_ = std::move(font);  // the old one only now: the control used it until here
}

void Control::DpiChanged()
{
    // Only a font the control had or was given: one drawn in the system font stays so.
    if (HasFont() && hwnd_ && (font_ || !templateFace_.empty()))
        ApplyFont();
}

RECT Control::Bounds() const
{
    RequireBound();
    return BoundaryRect(hwnd_, GetParent(hwnd_));
}

int Control::Left() const { return Bounds().left; }
int Control::Top() const { return Bounds().top; }
int Control::Width() const { return Bounds().right - Bounds().left; }
int Control::Height() const { return Bounds().bottom - Bounds().top; }

void Control::Move(int left, int top, int width, int height)
{
    RequireBound();
    if (width < 0 || height < 0)
        InvalidValue("Move");
    SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Control::SetFocus()
{
    RequireBound();
    ::SetFocus(hwnd_);
}

void Control::OLEDropMode(int mode)
{
    if (mode != kOleDropNone && mode != kOleDropManual)
        InvalidValue("OLEDropMode");
    if (mode == oleDropMode_)
        return;
    oleDropMode_ = mode;
    if (!hwnd_)
        return;  // registered when the form loads
    if (mode == kOleDropManual)
        RegisterDrop();
    else
        RevokeDrop();
}

IDropTarget* Control::RegisteredDropTarget() const { return drop_; }

void Control::RegisterDrop()
{
    if (drop_ || !hwnd_)
        return;
    if (!EnsureOle())
        throw RuntimeError(kErrInvalidArgument, "OLE cannot be started", "OLEDropMode");
    auto* target = new DropTarget(this);
    if (FAILED(RegisterDragDrop(hwnd_, target))) {
        target->Release();
        throw RuntimeError(kErrInvalidArgument, "The drop target cannot be registered", "OLEDropMode");
    }
    drop_ = target;
}

void Control::RevokeDrop()
{
    if (!drop_)
        return;
    if (hwnd_ && IsWindow(hwnd_))
        RevokeDragDrop(hwnd_);
    drop_->Detach();
    drop_->Release();
    drop_ = nullptr;
}

}  // namespace kw::forms
