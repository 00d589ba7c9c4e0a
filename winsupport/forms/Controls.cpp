#include "winsupport/forms/Controls.h"

#include <commctrl.h>

#include <cmath>
#include <map>
#include <tuple>
#include <utility>

#include "platform/RuntimeError.h"
#include "platform/WinText.h"
#include "winsupport/Dpi.h"
#include "winsupport/Placeholder.h"
#include "winsupport/forms/DropTarget.h"
#include "winsupport/forms/Form.h"

namespace kw::forms {

namespace {

constexpr long kErrNotSupported = 438;  // object doesn't support this property or method
constexpr UINT_PTR kSubclassId = 0x4B57;

[[noreturn]] void InvalidValue(const char* what)
{
    throw RuntimeError(kErrInvalidArgument, {}, what);
}

LRESULT Send(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return SendMessageW(hwnd, msg, wParam, lParam);
}

LONG_PTR Style(HWND hwnd)
{
    return GetWindowLongPtrW(hwnd, GWL_STYLE);
}

int ScreenPixelsPerInchY()
{
    static const int dpi = [] {
        HDC screen = GetDC(nullptr);
        int value = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        return value;
    }();
    return dpi;
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

std::string TextOf(HWND hwnd)
{
    int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), length + 1)));
    return Narrow(text);
}

bool IsRadio(HWND hwnd)
{
    wchar_t cls[16]{};
    GetClassNameW(hwnd, cls, 16);
    if (lstrcmpiW(cls, L"Button") != 0)
        return false;
    LONG_PTR type = Style(hwnd) & BS_TYPEMASK;
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

}  // namespace

COLORREF ResolveColor(std::uint32_t color)
{
    if (color & kSysColorFlag)
        return GetSysColor(static_cast<int>(color & 0xFF));
    return static_cast<COLORREF>(color & 0xFFFFFF);
}

// ---- Control --------------------------------------------------------------------------

Control::Control(Form& form, int id, ControlKind kind) : form_(form), id_(id), kind_(kind)
{
    form_.Register(this);
}

Control::~Control()
{
    Unbind();
    form_.Unregister(this);
}

void Control::Bind(HWND hwnd)
{
    hwnd_ = hwnd;
    Subclass(hwnd);
    if (auto font = reinterpret_cast<HFONT>(Send(hwnd, WM_GETFONT))) {
        LOGFONTW lf{};
        if (GetObjectW(font, sizeof(lf), &lf)) {
            fontName_ = Narrow(lf.lfFaceName);
            fontSize_ = MulDiv(lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight, 72, ScreenPixelsPerInchY());
            fontBold_ = lf.lfWeight >= FW_BOLD;
            templateFace_ = lf.lfFaceName;
            templateHeight_ = lf.lfHeight;
            templateBold_ = fontBold_;
        }
    }
    if (oleDropMode_ == kOleDropManual)
        RegisterDrop();
}

void Control::Unbind()
{
    RevokeDrop();
    for (HWND w : subclassed_)
        if (IsWindow(w))
            RemoveWindowSubclass(w, SubclassProc, kSubclassId);
    subclassed_.clear();
    hwnd_ = nullptr;
    // A window made anew starts from its template's font again.
    font_.reset();
    templateFace_.clear();
}

void Control::Subclass(HWND hwnd)
{
    if (SetWindowSubclass(hwnd, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        subclassed_.push_back(hwnd);
}

void Control::RequireBound() const
{
    if (!hwnd_)
        throw RuntimeError(kErrInvalidArgument, "The form is not loaded", "forms");
}

void Control::RequireFont() const
{
    if (!HasFont())
        throw RuntimeError(kErrNotSupported, "Object doesn't support this property or method", "Font");
    RequireBound();
}

std::string Control::WindowText() const
{
    return TextOf(hwnd_);
}

std::string Control::CaptionText() const
{
    RequireBound();
    return WindowText();
}

void Control::CaptionText(const std::string& caption)
{
    RequireBound();
    SetWindowTextW(hwnd_, Widen(caption).c_str());
}

LRESULT CALLBACK Control::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR ref)
{
    auto* c = reinterpret_cast<Control*>(ref);
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
        LRESULT r = DefSubclassProc(hwnd, msg, wParam, lParam);
        // An editable combo passes its focus on to its edit, which reports it.
        bool forwarded = c->kind_ == ControlKind::ComboBox && hwnd == c->hwnd_ &&
                         static_cast<ComboBox*>(c)->Editable();
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
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
        std::erase(c->subclassed_, hwnd);
        break;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

bool Control::Enabled() const
{
    RequireBound();
    return IsWindowEnabled(hwnd_) != FALSE;
}

void Control::Enabled(bool enabled)
{
    RequireBound();
    EnableWindow(hwnd_, enabled ? TRUE : FALSE);
}

bool Control::Visible() const
{
    RequireBound();
    return (Style(hwnd_) & WS_VISIBLE) != 0;
}

void Control::Visible(bool visible)
{
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
    std::wstring face = Widen(fontName_.empty() ? std::string("MS Shell Dlg") : fontName_);
    const LONG height = -MulDiv(fontSize_, ScreenPixelsPerInchY(), 72);
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

IDropTarget* Control::RegisteredDropTarget() const
{
    return drop_;
}

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

// ---- TextBox --------------------------------------------------------------------------

TextBox::TextBox(Form& form, int id) : Control(form, id, ControlKind::TextBox) {}

void TextBox::Bind(HWND hwnd)
{
    Control::Bind(hwnd);
    last_ = WindowText();
}

std::string TextBox::Text() const
{
    RequireBound();
    return WindowText();
}

void TextBox::Text(const std::string& text)
{
    RequireBound();
    if (text == WindowText()) {
        last_ = text;
        return;
    }
    // A single-line edit reports EN_CHANGE for every WM_SETTEXT: ours is raised below.
    settingText_ = true;
    BOOL ok = SetWindowTextW(hwnd_, Widen(text).c_str());
    settingText_ = false;
    if (!ok)
        throw RuntimeError(kErrInvalidArgument, "The text cannot be set", "Text");
    std::string now = WindowText();
    if (now == last_)
        return;
    last_ = now;
    if (Change)
        Change();
}

void TextBox::OnCommand(int code)
{
    if (code != EN_CHANGE || settingText_)
        return;
    std::string now = WindowText();
    if (now == last_)
        return;
    last_ = now;
    if (Change)
        Change();
}

int TextBox::TextLength() const
{
    RequireBound();
    return GetWindowTextLengthW(hwnd_);
}

int TextBox::SelStart() const
{
    RequireBound();
    DWORD start = 0, end = 0;
    Send(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(start);
}

void TextBox::SelStart(int start)
{
    RequireBound();
    if (start < 0)
        InvalidValue("SelStart");
    Send(hwnd_, EM_SETSEL, static_cast<WPARAM>(start), start);
}

int TextBox::SelLength() const
{
    RequireBound();
    DWORD start = 0, end = 0;
    Send(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TextBox::SelLength(int length)
{
    RequireBound();
    if (length < 0)
        InvalidValue("SelLength");
    int start = SelStart();
    Send(hwnd_, EM_SETSEL, static_cast<WPARAM>(start), start + length);
}

bool TextBox::Locked() const
{
    RequireBound();
    return (Style(hwnd_) & ES_READONLY) != 0;
}

void TextBox::Locked(bool locked)
{
    RequireBound();
    Send(hwnd_, EM_SETREADONLY, locked ? TRUE : FALSE);
}

// ---- ComboBox -------------------------------------------------------------------------

ComboBox::ComboBox(Form& form, int id) : Control(form, id, ControlKind::ComboBox) {}

void ComboBox::Bind(HWND hwnd)
{
    Control::Bind(hwnd);
    edit_ = nullptr;
    if (Editable()) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        if (GetComboBoxInfo(hwnd, &info) && info.hwndItem && info.hwndItem != hwnd) {
            edit_ = info.hwndItem;
            Subclass(edit_);
        }
    }
    lastIndex_ = static_cast<int>(Send(hwnd_, CB_GETCURSEL));
    lastText_ = Text();
}

void ComboBox::Unbind()
{
    Control::Unbind();
    edit_ = nullptr;
}

bool ComboBox::Editable() const
{
    RequireBound();
    return (Style(hwnd_) & 3) != CBS_DROPDOWNLIST;
}

std::string ComboBox::ItemText(int index) const
{
    LRESULT length = Send(hwnd_, CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (length == CB_ERR)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    LRESULT got = Send(hwnd_, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == CB_ERR ? 0 : static_cast<size_t>(got));
    return Narrow(text);
}

std::string ComboBox::Text() const
{
    RequireBound();
    if (Editable())
        return WindowText();
    int index = static_cast<int>(Send(hwnd_, CB_GETCURSEL));
    return index < 0 ? std::string() : ItemText(index);
}

void ComboBox::Text(const std::string& text)
{
    RequireBound();
    if (!Editable()) {
        if (text.empty()) {
            ListIndex(-1);
            return;
        }
        // Exact and case-sensitive, unlike CB_FINDSTRINGEXACT.
        int count = ListCount();
        for (int i = 0; i < count; ++i) {
            if (ItemText(i) == text) {
                ListIndex(i);
                return;
            }
        }
        InvalidValue("Text");
    }
    if (text == WindowText()) {
        lastText_ = text;
        return;
    }
    SetWindowTextW(hwnd_, Widen(text).c_str());
    std::string now = WindowText();
    if (now == lastText_)
        return;
    lastText_ = now;
    if (Change)
        Change();
}

int ComboBox::ListIndex() const
{
    RequireBound();
    return static_cast<int>(Send(hwnd_, CB_GETCURSEL));
}

void ComboBox::ListIndex(int index)
{
    RequireBound();
    if (index < -1 || index >= ListCount())
        InvalidValue("ListIndex");
    if (index == ListIndex())
        return;
    Send(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index));  // sends nothing by itself
    lastIndex_ = index;
    lastText_ = Text();
    if (Click)
        Click();
}

int ComboBox::ListCount() const
{
    RequireBound();
    return static_cast<int>(Send(hwnd_, CB_GETCOUNT));
}

std::string ComboBox::List(int index) const
{
    RequireBound();
    if (index < 0 || index >= ListCount())
        throw RuntimeError(kErrSubscript, {}, "List");
    return ItemText(index);
}

void ComboBox::List(int index, const std::string& text)
{
    RequireBound();
    if (index < 0 || index >= ListCount())
        throw RuntimeError(kErrSubscript, {}, "List");
    bool selected = ListIndex() == index;
    Send(hwnd_, CB_DELETESTRING, static_cast<WPARAM>(index));
    Send(hwnd_, CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(Widen(text).c_str()));
    if (selected)
        Send(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index));
    lastIndex_ = ListIndex();
    lastText_ = Text();
}

void ComboBox::AddItem(const std::string& text)
{
    RequireBound();
    LRESULT r = Send(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
    if (r == CB_ERR || r == CB_ERRSPACE)
        throw RuntimeError(kErrInvalidArgument, "The item cannot be added", "AddItem");
    lastIndex_ = ListIndex();
}

void ComboBox::RemoveItem(int index)
{
    RequireBound();
    if (index < 0 || index >= ListCount())
        InvalidValue("RemoveItem");
    Send(hwnd_, CB_DELETESTRING, static_cast<WPARAM>(index));
    lastIndex_ = ListIndex();
    lastText_ = Text();
}

void ComboBox::Clear()
{
    RequireBound();
    Send(hwnd_, CB_RESETCONTENT);  // also empties an editable combo's text; raises nothing
    lastIndex_ = -1;
    lastText_ = Text();
}

void ComboBox::OnCommand(int code)
{
    if (code == CBN_SELCHANGE) {
        int index = static_cast<int>(Send(hwnd_, CB_GETCURSEL));
        std::string text = index < 0 ? std::string() : ItemText(index);
        bool changed = index != lastIndex_ || (Editable() && text != lastText_);
        lastIndex_ = index;
        lastText_ = text;
        // The edit still shows the old entry here; the handler must read the new one.
        if (Editable() && text != WindowText())
            SetWindowTextW(hwnd_, Widen(text).c_str());
        if (changed && Click)
            Click();
    } else if (code == CBN_EDITCHANGE) {
        std::string now = WindowText();
        lastIndex_ = static_cast<int>(Send(hwnd_, CB_GETCURSEL));
        if (now == lastText_)
            return;
        lastText_ = now;
        if (Change)
            Change();
    }
}

// ---- ListBox --------------------------------------------------------------------------

ListBox::ListBox(Form& form, int id) : Control(form, id, ControlKind::ListBox) {}

bool ListBox::MultiSelect() const
{
    RequireBound();
    return (Style(hwnd_) & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL)) != 0;
}

void ListBox::Bind(HWND hwnd)
{
    Control::Bind(hwnd);
    selection_ = ReadSelection();
    index_ = MultiSelect() ? -1 : static_cast<int>(Send(hwnd_, LB_GETCURSEL));
}

std::vector<char> ListBox::ReadSelection() const
{
    std::vector<char> selection;
    if (!MultiSelect())
        return selection;
    int count = static_cast<int>(Send(hwnd_, LB_GETCOUNT));
    selection.resize(static_cast<size_t>(count < 0 ? 0 : count));
    for (int i = 0; i < count; ++i)
        selection[static_cast<size_t>(i)] = Send(hwnd_, LB_GETSEL, static_cast<WPARAM>(i)) > 0 ? 1 : 0;
    return selection;
}

bool ListBox::Resync(int newIndex)
{
    std::vector<char> selection = ReadSelection();
    bool changed = newIndex != index_ || selection != selection_;
    index_ = newIndex;
    selection_ = std::move(selection);
    return changed;
}

void ListBox::CheckIndex(int index) const
{
    if (index < 0 || index >= ListCount())
        throw RuntimeError(kErrSubscript, {}, "List");
}

int ListBox::ListIndex() const
{
    RequireBound();
    return MultiSelect() ? index_ : static_cast<int>(Send(hwnd_, LB_GETCURSEL));
}

void ListBox::ListIndex(int index)
{
    RequireBound();
    if (index < -1 || index >= ListCount())
        InvalidValue("ListIndex");
    bool changed;
    if (MultiSelect()) {
        // The current item alone is selected; -1 leaves nothing selected.
        Send(hwnd_, LB_SETSEL, FALSE, -1);
        if (index >= 0) {
            Send(hwnd_, LB_SETSEL, TRUE, index);
            Send(hwnd_, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
        }
        changed = Resync(index);
    } else {
        changed = index != static_cast<int>(Send(hwnd_, LB_GETCURSEL));
        if (changed)
            Send(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index));
        index_ = index;
    }
    if (changed && Click)
        Click();
}

int ListBox::ListCount() const
{
    RequireBound();
    return static_cast<int>(Send(hwnd_, LB_GETCOUNT));
}

std::string ListBox::List(int index) const
{
    RequireBound();
    CheckIndex(index);
    LRESULT length = Send(hwnd_, LB_GETTEXTLEN, static_cast<WPARAM>(index));
    std::wstring text(static_cast<size_t>(length < 0 ? 0 : length) + 1, L'\0');
    LRESULT got = Send(hwnd_, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got < 0 ? 0 : static_cast<size_t>(got));
    return Narrow(text);
}

void ListBox::List(int index, const std::string& text)
{
    RequireBound();
    CheckIndex(index);
    bool selected = Selected(index);
    Send(hwnd_, LB_DELETESTRING, static_cast<WPARAM>(index));
    Send(hwnd_, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(Widen(text).c_str()));
    if (selected) {
        if (MultiSelect())
            Send(hwnd_, LB_SETSEL, TRUE, index);
        else
            Send(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index));
    }
    if (MultiSelect())
        selection_ = ReadSelection();
}

std::string ListBox::Text() const
{
    int index = ListIndex();
    return index < 0 ? std::string() : List(index);
}

void ListBox::AddItem(const std::string& text)
{
    RequireBound();
    LRESULT pos = Send(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
    if (pos < 0)
        throw RuntimeError(kErrInvalidArgument, "The item cannot be added", "AddItem");
    if (MultiSelect()) {
        selection_.insert(selection_.begin() + pos, 0);
        if (index_ >= pos)
            ++index_;
    } else {
        index_ = static_cast<int>(Send(hwnd_, LB_GETCURSEL));
    }
}

void ListBox::RemoveItem(int index)
{
    RequireBound();
    if (index < 0 || index >= ListCount())
        InvalidValue("RemoveItem");
    Send(hwnd_, LB_DELETESTRING, static_cast<WPARAM>(index));
    if (MultiSelect()) {
        selection_.erase(selection_.begin() + index);
        if (index_ == index)
            index_ = -1;
        else if (index_ > index)
            --index_;
    } else {
        index_ = static_cast<int>(Send(hwnd_, LB_GETCURSEL));
    }
}

void ListBox::Clear()
{
    RequireBound();
    Send(hwnd_, LB_RESETCONTENT);
    index_ = -1;
    selection_.clear();
}

bool ListBox::Selected(int index) const
{
    RequireBound();
    CheckIndex(index);
    return Send(hwnd_, LB_GETSEL, static_cast<WPARAM>(index)) > 0;
}

void ListBox::Selected(int index, bool selected)
{
    RequireBound();
    CheckIndex(index);
    if (!MultiSelect()) {
        if (selected)
            ListIndex(index);
        else if (ListIndex() == index)
            ListIndex(-1);
        return;
    }
    Send(hwnd_, LB_SETSEL, selected ? TRUE : FALSE, index);
    if (Resync(index_) && Click)
        Click();
}

int ListBox::SelCount() const
{
    RequireBound();
    if (MultiSelect())
        return static_cast<int>(Send(hwnd_, LB_GETSELCOUNT));
    return Send(hwnd_, LB_GETCURSEL) >= 0 ? 1 : 0;
}

void ListBox::OnCommand(int code)
{
    if (code != LBN_SELCHANGE)
        return;
    bool changed;
    if (MultiSelect()) {
        changed = Resync(static_cast<int>(Send(hwnd_, LB_GETCARETINDEX)));
    } else {
        int index = static_cast<int>(Send(hwnd_, LB_GETCURSEL));
        changed = index != index_;  // a click on the current item reports it again
        index_ = index;
    }
    if (changed && Click)
        Click();
}

// ---- CheckBox -------------------------------------------------------------------------

CheckBox::CheckBox(Form& form, int id) : Control(form, id, ControlKind::CheckBox) {}

void CheckBox::Bind(HWND hwnd)
{
    Control::Bind(hwnd);
    last_ = static_cast<int>(Send(hwnd, BM_GETCHECK));
}

std::string CheckBox::Caption() const { return CaptionText(); }
void CheckBox::Caption(const std::string& caption) { CaptionText(caption); }

int CheckBox::Value() const
{
    RequireBound();
    return static_cast<int>(Send(hwnd_, BM_GETCHECK));
}

void CheckBox::Value(int value)
{
    RequireBound();
    if (value != kUnchecked && value != kChecked && value != kGrayed)
        InvalidValue("Value");
    if (value == Value()) {
        last_ = value;
        return;
    }
    Send(hwnd_, BM_SETCHECK, static_cast<WPARAM>(value));  // sends nothing by itself
    last_ = value;
    if (Click)
        Click();
}

void CheckBox::OnCommand(int code)
{
    if (code != BN_CLICKED)
        return;
    int now = Value();
    if (now == last_)
        return;
    last_ = now;
    if (Click)
        Click();
}

// ---- OptionButton ---------------------------------------------------------------------

OptionButton::OptionButton(Form& form, int id) : Control(form, id, ControlKind::OptionButton) {}

void OptionButton::Bind(HWND hwnd)
{
    Control::Bind(hwnd);
    last_ = Send(hwnd, BM_GETCHECK) == BST_CHECKED;
}

std::string OptionButton::Caption() const { return CaptionText(); }
void OptionButton::Caption(const std::string& caption) { CaptionText(caption); }

bool OptionButton::Value() const
{
    RequireBound();
    return Send(hwnd_, BM_GETCHECK) == BST_CHECKED;
}

void OptionButton::Value(bool value)
{
    RequireBound();
    if (value == Value()) {
        last_ = value;
        return;
    }
    if (value) {
        // The group runs from the nearest WS_GROUP sibling up to the next one. BM_SETCHECK
        // alone does not clear the others everywhere, nor do disabled siblings get skipped.
        HWND first = hwnd_;
        while (!(Style(first) & WS_GROUP)) {
            HWND prev = GetWindow(first, GW_HWNDPREV);
            if (!prev)
                break;
            first = prev;
        }
        for (HWND w = first; w; w = GetWindow(w, GW_HWNDNEXT)) {
            if (w != first && (Style(w) & WS_GROUP))
                break;
            if (w != hwnd_ && IsRadio(w))
                Send(w, BM_SETCHECK, BST_UNCHECKED);
        }
    }
    Send(hwnd_, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED);
    form_.SyncOptionButtons();
    if (value && Click)
        Click();
}

void OptionButton::OnCommand(int code)
{
    if (code != BN_CLICKED)
        return;
    bool was = last_;
    form_.SyncOptionButtons();
    // Clicking the checked button again reports BN_CLICKED again: no change, no Click.
    if (last_ && !was && Click)
        Click();
}

// ---- CommandButton --------------------------------------------------------------------

CommandButton::CommandButton(Form& form, int id) : Control(form, id, ControlKind::CommandButton) {}

std::string CommandButton::Caption() const { return CaptionText(); }
void CommandButton::Caption(const std::string& caption) { CaptionText(caption); }

bool CommandButton::Default() const
{
    return form_.defaultButton_ == this;
}

void CommandButton::Default(bool value)
{
    CommandButton* old = form_.defaultButton_;
    if (value == (old == this))
        return;
    if (!value && old != this)
        return;
    form_.defaultButton_ = value ? this : nullptr;
    if (!form_.hWnd())
        return;  // applied when the form loads
    if (old && old->hwnd_)
        Send(old->hwnd_, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    Send(form_.hWnd(), DM_SETDEFID, value ? static_cast<WPARAM>(id_) : 0);
    if (value && hwnd_)
        Send(hwnd_, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

bool CommandButton::Cancel() const
{
    return form_.cancelButton_ == this;
}

void CommandButton::Cancel(bool value)
{
    if (value)
        form_.cancelButton_ = this;
    else if (form_.cancelButton_ == this)
        form_.cancelButton_ = nullptr;
}

void CommandButton::OnCommand(int code)
{
    if (code == BN_CLICKED && Click)
        Click();
}

void CommandButton::PressFromKeyboard()
{
    if (!hwnd_ || !IsWindowEnabled(hwnd_) || !IsWindowVisible(hwnd_))
        return;
    if (Click)
        Click();
}

// ---- Label, Image, PictureBox ---------------------------------------------------------

Label::Label(Form& form, int id) : Control(form, id, ControlKind::Label) {}

std::string Label::Caption() const { return CaptionText(); }
void Label::Caption(const std::string& caption) { CaptionText(caption); }

Image::Image(Form& form, int id) : Control(form, id, ControlKind::Image) {}

Image::~Image()
{
    ReleaseLoaded();
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
    Send(hwnd_, STM_SETICON, reinterpret_cast<WPARAM>(icon));
    if (loaded_ && icon != loaded_)
        ReleaseLoaded();  // only now: the control showed it until here
}

bool Image::LoadPicture(int resourceId)
{
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
    return true;
}

PictureBox::PictureBox(Form& form, int id, int templateId)
    : Control(form, id, ControlKind::PictureBox), templateId_(templateId)
{
}

// ---- MenuItem -------------------------------------------------------------------------

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
