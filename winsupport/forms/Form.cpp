#include "winsupport/forms/Form.h"

#include <algorithm>
#include <utility>

#include "model/clsKitwright.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"
#include "platform/WinText.h"
#include "winsupport/Dpi.h"
#include "winsupport/Placeholder.h"
#include "winsupport/forms/DialogTemplate.h"

namespace kw::forms {

namespace {

std::vector<Form*> g_loaded;   // user-interface thread only
Form* g_lastActive = nullptr;  // the form that last raised Form_Activate
int g_pointer = kPointerDefault;

Form* LoadedForm(HWND hwnd)
{
    auto it = std::find_if(g_loaded.begin(), g_loaded.end(), [hwnd](Form* f) { return f->hWnd() == hwnd; });
    return it == g_loaded.end() ? nullptr : *it;
}

int ShiftState()
{
    int shift = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        shift |= kShiftMask;
    if (GetKeyState(VK_CONTROL) < 0)
        shift |= kCtrlMask;
    if (GetKeyState(VK_MENU) < 0)
        shift |= kAltMask;
    return shift;
}

template <typename F>
void Guarded(F&& body)
{
    try {
        body();
    } catch (const std::exception& e) {
        ReportUnhandledError(&e);
    } catch (...) {
        ReportUnhandledError(nullptr);
    }
}

}  // namespace

void Form::DispatchOne(MSG& msg)
{
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    Form* form = root ? LoadedForm(root) : nullptr;
    if (form && msg.message == WM_KEYDOWN) {
        int keyCode = static_cast<int>(msg.wParam);
        bool swallowed = false;
        Guarded([&] {
            form->Form_KeyDown(keyCode, ShiftState());
            swallowed = keyCode == 0;
        });
        if (swallowed)
            return;
        form = LoadedForm(root);  // the handler may have unloaded it
    }
    // The dialog manager (Tab, Enter, Escape, access keys) for the form the message is for.
    if (form && IsDialogMessageW(root, &msg))
        return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void ReportUnhandledError(const std::exception* e)
{
    std::string text;
    if (auto* rt = dynamic_cast<const RuntimeError*>(e))
        text = "Run-time error '" + std::to_string(rt->Number()) + "':\r\n\r\n" + rt->Description();
    else if (e)
        text = std::string("Run-time error:\r\n\r\n") + e->what();
    else
        text = "Run-time error: unexpected failure";
    try {
        platform::ShowMessage(0, text, kAppTitle, platform::kMbOk | platform::kMbIconError);
    } catch (...) {
        // Nothing more can be done from inside a window procedure.
    }
}

Form::Form(int templateId) : templateId_(templateId) {}

Form::~Form()
{
    if (hwnd_)
        DestroyWindow(hwnd_);
    ReleaseHiddenOwner();
    if (g_lastActive == this)
        g_lastActive = nullptr;
}

void Form::ReleaseHiddenOwner()
{
    if (!hiddenOwner_)
        return;
    HWND hidden = std::exchange(hiddenOwner_, nullptr);
    // The hidden owner cannot take the activation: give it back to the window that had it.
    HWND active = GetActiveWindow();
    if ((!active || active == hidden) && activeBeforeModal_ && IsWindow(activeBeforeModal_) &&
        IsWindowVisible(activeBeforeModal_) && IsWindowEnabled(activeBeforeModal_))
        SetActiveWindow(activeBeforeModal_);
    activeBeforeModal_ = nullptr;
    DestroyWindow(hidden);
}

void Form::Register(Control* c) { controls_.push_back(c); }

void Form::Unregister(Control* c)
{
    std::erase(controls_, c);
    if (defaultButton_ == c)
        defaultButton_ = nullptr;
    if (cancelButton_ == c)
        cancelButton_ = nullptr;
}

std::vector<Form*> Form::Forms() { return g_loaded; }

std::string Form::Caption() const
{
    if (!hwnd_)
        return {};
    int length = GetWindowTextLengthW(hwnd_);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd_, text.data(), length + 1)));
    return Narrow(text);
}

void Form::Caption(const std::string& caption)
{
    if (!hwnd_)
        throw RuntimeError(kErrInvalidArgument, "The form is not loaded", "Caption");
    SetWindowTextW(hwnd_, Widen(caption).c_str());
}

Control* Form::FindByWindow(HWND hwnd) const
{
    if (!hwnd)
        return nullptr;
    for (Control* c : controls_)
        if (c->hwnd_ && c->Owns(hwnd))
            return c;
    return nullptr;
}

Control* Form::FindById(int id) const
{
    for (Control* c : controls_)
        if (c->id_ == id && c->Kind() == ControlKind::MenuItem)
            return c;
    for (Control* c : controls_)
        if (c->id_ == id)
            return c;
    return nullptr;
}

void Form::SyncOptionButtons()
{
    for (Control* c : controls_)
        if (c->Kind() == ControlKind::OptionButton && c->hwnd_)
            static_cast<OptionButton*>(c)->last_ = SendMessageW(c->hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Form::Load(HWND owner)
{
    if (hwnd_)
        return;
    HWND h = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), owner, DialogProc,
                                reinterpret_cast<LPARAM>(this));
    if (!h)
        throw RuntimeError(kErrInvalidArgument, "The form's template cannot be loaded", "Form.Load");
    Center(owner);
}

void Form::Center(HWND owner)
{
    RECT window, area;
    GetWindowRect(hwnd_, &window);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(owner ? owner : hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    area = monitor.rcWork;
    RECT around = area;
    if (owner && IsWindowVisible(owner) && !IsIconic(owner))
        GetWindowRect(owner, &around);
    LONG w = window.right - window.left, h = window.bottom - window.top;
    LONG x = around.left + ((around.right - around.left) - w) / 2;
    LONG y = around.top + ((around.bottom - around.top) - h) / 2;
    x = std::max(area.left, std::min(x, area.right - w));
    y = std::max(area.top, std::min(y, area.bottom - h));
    SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::Show(HWND owner)
{
    Load(owner);
    if (hwnd_)
        ShowWindow(hwnd_, SW_SHOW);
}

void Form::ShowModal(HWND owner)
{
    // Like the system's own modal dialogs: every other window of the program waits. Done
    // before the window exists, as creating it may already activate it.
    for (Form* f : g_loaded) {
        if (f != this && IsWindowEnabled(f->hwnd_)) {
            EnableWindow(f->hwnd_, FALSE);
            disabledByModal_.push_back(f->hwnd_);
        }
    }
    if (owner && !LoadedForm(owner) && IsWindowEnabled(owner)) {
        EnableWindow(owner, FALSE);
        disabledByModal_.push_back(owner);
    }
    if (!owner && !hwnd_) {
        // Every visible unowned window gets a taskbar button; an owned one does not.
        activeBeforeModal_ = GetActiveWindow();
        hiddenOwner_ = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
        owner = hiddenOwner_;
    }
    try {
        Load(owner);
    } catch (...) {
        for (HWND w : disabledByModal_)
            EnableWindow(w, TRUE);
        disabledByModal_.clear();
        ReleaseHiddenOwner();
        throw;
    }
    modal_ = true;
    ShowWindow(hwnd_, SW_SHOW);
    while (hwnd_) {
        MSG msg;
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
            break;
        }
        if (got == -1)
            break;
        DispatchOne(msg);
    }
    modal_ = false;
    if (!hwnd_)
        ReleaseHiddenOwner();
}

void Form::Unload()
{
    if (!hwnd_ || unloading_)
        return;
    unloading_ = true;
    bool cancel = false;
    Guarded([&] { Form_QueryUnload(cancel); });
    if (cancel) {
        unloading_ = false;
        return;
    }
    Guarded([&] { Form_Unload(); });
    if (hwnd_) {
        // Before the window goes, so that the activation returns to the owner.
        for (HWND w : disabledByModal_)
            if (IsWindow(w))
                EnableWindow(w, TRUE);
        disabledByModal_.clear();
        DestroyWindow(hwnd_);
        ReleaseHiddenOwner();
    }
    unloading_ = false;
}

void Form::OnInit(HWND hwnd)
{
    hwnd_ = hwnd;
    dpi_ = WindowDpi(hwnd);
    dpiFonts_.clear();  // the windows that used them are gone
    LeaveDpiChangesToTheProgram(hwnd);
    g_loaded.push_back(this);
    std::vector<HWND> pages;
    for (Control* c : controls_) {
        if (c->Kind() != ControlKind::PictureBox)
            continue;
        auto* box = static_cast<PictureBox*>(c);
        if (box->onDemand_ && SeedPage(*box))
            continue;
        if (HWND page = MakePage(*box)) {
            Guarded([&] { box->Bind(page); });
            pages.push_back(page);
        }
    }
    for (Control* c : controls_) {
        if (c->Kind() == ControlKind::PictureBox || c->Kind() == ControlKind::MenuItem || c->Kept())
            continue;
        HWND child = GetDlgItem(hwnd_, c->id_);
        for (size_t i = 0; !child && i < pages.size(); ++i)
            child = GetDlgItem(pages[i], c->id_);
        if (child)
            Guarded([&] { c->Bind(child); });  // a refused drop target must not stop the load
    }
    if (defaultButton_ && defaultButton_->hwnd_) {
        SendMessageW(hwnd_, DM_SETDEFID, static_cast<WPARAM>(defaultButton_->id_), 0);
        SendMessageW(defaultButton_->hwnd_, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    } else {
        for (Control* c : controls_) {
            if (c->Kind() == ControlKind::CommandButton && c->hwnd_ &&
                (GetWindowLongPtrW(c->hwnd_, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
                defaultButton_ = static_cast<CommandButton*>(c);
                SendMessageW(hwnd_, DM_SETDEFID, static_cast<WPARAM>(c->id_), 0);
                break;
            }
        }
    }
    Guarded([&] { Form_Load(); });
}

HWND Form::MakePage(PictureBox& box)
{
    HWND page = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(box.templateId_), hwnd_, DialogProc,
                                   reinterpret_cast<LPARAM>(this));
    if (!page)
        return nullptr;
    SetWindowLongPtrW(page, GWLP_ID, box.id_);
    LeaveDpiChangesToTheProgram(page);
    return page;
}

bool Form::SeedPage(PictureBox& box)
{
    DialogTemplate dialog;
    if (!ReadDialogTemplate(GetModuleHandleW(nullptr), box.templateId_, dialog))
        return false;  // made at once, as any other page
    TemplateItem self;
    self.id = box.id_;
    self.style = dialog.style;
    box.Seed(box, self, dialog);
    for (const TemplateItem& item : dialog.items)
        for (Control* c : controls_)
            if (c->id_ == item.id && c->Kind() != ControlKind::MenuItem && c->Kind() != ControlKind::PictureBox &&
                !c->hwnd_)
                c->Seed(box, item, dialog);
    return true;
}

void Form::LoadPage(PictureBox& box)
{
    if (!hwnd_ || box.hwnd_ || box.page_ != &box)
        return;
    HWND page = MakePage(box);
    if (!page)
        throw RuntimeError(kErrInvalidArgument, "The page cannot be made", "Load");
    // The dialog manager laid the page out at the system's DPI; the form may be at another.
    const UINT made = WindowDpi(page);
    if (made && made != dpi_) {
        auto scale = [&](LONG v) {
            return static_cast<LONG>(MulDiv(v, static_cast<int>(dpi_), static_cast<int>(made)));
        };
        std::vector<HWND> windows{page};
        for (HWND w = GetWindow(page, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
            windows.push_back(w);
        for (HWND w : windows) {
            const RECT r = BoundaryRect(w, GetParent(w));
            layout_[w] = {r, made};
            SetWindowPos(w, nullptr, scale(r.left), scale(r.top), scale(r.right) - scale(r.left),
                         scale(r.bottom) - scale(r.top), SWP_NOZORDER | SWP_NOACTIVATE);
            ScaleFontOf(w, made, dpi_);
        }
    }
    std::vector<Control*> held;
    for (Control* c : controls_)
        if (c != &box && c->page_ == &box)
            held.push_back(c);
    Guarded([&] { box.Bind(page); });
    for (Control* c : held)
        if (HWND child = GetDlgItem(page, c->id_))
            Guarded([&] { c->Bind(child); });
    if (box.PageLoad) {
        auto handler = box.PageLoad;
        Guarded([&] { handler(); });
    }
}

void Form::OnDestroy()
{
    for (Control* c : controls_)
        c->Unbind();
    layout_.clear();
    clientDpi_ = 0;
    for (HWND w : disabledByModal_)
        if (IsWindow(w))
            EnableWindow(w, TRUE);
    disabledByModal_.clear();
    std::erase(g_loaded, this);
    if (g_lastActive == this)
        g_lastActive = nullptr;
    hwnd_ = nullptr;
}

void Form::RecordLayout()
{
    std::erase_if(layout_, [](const auto& entry) { return !IsWindow(entry.first); });
    auto record = [&](HWND w) {
        if (layout_.count(w))
            return;
        RECT r = BoundaryRect(w, GetParent(w));
        wchar_t cls[16]{};
        GetClassNameW(w, cls, 16);
        RECT dropped{};
        // A combo box's height is the field and its list together.
        if (lstrcmpiW(cls, L"ComboBox") == 0 &&
            SendMessageW(w, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped)))
            r.bottom = std::max(r.bottom, r.top + (dropped.bottom - dropped.top));
        layout_[w] = {r, dpi_};
    };
    for (HWND c = GetWindow(hwnd_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        record(c);
        if (Control* page = FindByWindow(c); page && page->Kind() == ControlKind::PictureBox)
            for (HWND g = GetWindow(c, GW_CHILD); g; g = GetWindow(g, GW_HWNDNEXT))
                record(g);
    }
    if (!clientDpi_) {
        RECT rc{};
        GetClientRect(hwnd_, &rc);
        client_ = {rc.right, rc.bottom};
        clientDpi_ = dpi_;
    }
}

void Form::ScaleFontOf(HWND window, UINT from, UINT to)
{
    auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    LOGFONTW lf{};
    if (!font || !GetObjectW(font, sizeof(lf), &lf))
        return;
    // Through whole points, as the wrappers size theirs: to and fro comes back exactly.
    const int points = MulDiv(lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight, 72, static_cast<int>(from));
    lf.lfHeight = -MulDiv(points, static_cast<int>(to), 72);
    for (const Font& made : dpiFonts_) {
        LOGFONTW have{};
        GetObjectW(made.get(), sizeof(have), &have);
        if (have.lfHeight == lf.lfHeight && have.lfWeight == lf.lfWeight && have.lfItalic == lf.lfItalic &&
            lstrcmpiW(have.lfFaceName, lf.lfFaceName) == 0) {
            SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(made.get()), TRUE);
            return;
        }
    }
    Font made(CreateFontIndirectW(&lf));
    if (!made)
        return;
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(made.get()), TRUE);
    dpiFonts_.push_back(std::move(made));
}

void Form::OnDpiChanged(UINT dpi, const RECT* suggested)
{
    if (!dpi || dpi == dpi_)
        return;
    const UINT from = dpi_;
    RecordLayout();
    dpi_ = dpi;
    auto scale = [dpi](LONG v, UINT at) {
        return static_cast<LONG>(MulDiv(v, static_cast<int>(dpi), static_cast<int>(at)));
    };
    for (const auto& [w, placed] : layout_) {
        const RECT& r = placed.rect;
        const LONG left = scale(r.left, placed.dpi), top = scale(r.top, placed.dpi);
        SetWindowPos(w, nullptr, left, top, scale(r.right, placed.dpi) - left, scale(r.bottom, placed.dpi) - top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        if (!FindByWindow(w))
            ScaleFontOf(w, from, dpi);
    }
    ScaleFontOf(hwnd_, from, dpi);  // the form's own font, which text is measured with
    // Fonts after sizes: an image picks its icon frame by its box's new size.
    for (Control* c : controls_)
        Guarded([&] { c->DpiChanged(); });

    const RECT want{0, 0, scale(client_.cx, clientDpi_), scale(client_.cy, clientDpi_)};
    RECT frame = want;
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
    AdjustWindowRectForDpi(frame, style, GetMenu(hwnd_) != nullptr, exStyle, dpi);
    RECT now{};
    GetWindowRect(hwnd_, &now);
    const POINT at = suggested ? POINT{suggested->left, suggested->top} : POINT{now.left, now.top};
    SetWindowPos(hwnd_, nullptr, at.x, at.y, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // A frame that did not change with the DPI as predicted (Wine keeps one): made good once.
    RECT got{};
    GetClientRect(hwnd_, &got);
    if (got.right != want.right || got.bottom != want.bottom) {
        GetWindowRect(hwnd_, &now);
        SetWindowPos(hwnd_, nullptr, 0, 0, now.right - now.left + want.right - got.right,
                     now.bottom - now.top + want.bottom - got.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Guarded([&] { Form_DpiChanged(); });
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

INT_PTR CALLBACK Form::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Form* form;
    if (msg == WM_INITDIALOG) {
        form = reinterpret_cast<Form*>(lParam);
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    } else {
        form = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    if (!form)
        return FALSE;
    try {
        return form->Dispatch(hwnd, msg, wParam, lParam);
    } catch (const std::exception& e) {
        ReportUnhandledError(&e);
    } catch (...) {
        ReportUnhandledError(nullptr);
    }
    return FALSE;
}

// Both the form and its pages come here; controls are found by their window.
INT_PTR Form::Dispatch(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    bool own = hwnd_ == nullptr ? msg == WM_INITDIALOG : hwnd == hwnd_;
    if (own) {
        INT_PTR result = 0;
        if (WindowMessage(msg, wParam, lParam, result))
            return result;
    }
    switch (msg) {
    case WM_INITDIALOG:
        if (!own)
            return FALSE;  // a page: the form sets the focus
        OnInit(hwnd);
        {
            HWND focus = GetFocus();
            // TRUE lets the dialog manager focus the first control, unless Form_Load did.
            return focus && IsChild(hwnd, focus) ? FALSE : TRUE;
        }
    case WM_COMMAND: {
        auto control = reinterpret_cast<HWND>(lParam);
        int id = LOWORD(wParam);
        if (control) {
            if (Control* c = FindByWindow(control))
                c->OnCommand(HIWORD(wParam));
            return TRUE;
        }
        // No window: a menu, an accelerator, or the dialog manager's Enter and Escape.
        if (id == IDCANCEL) {
            if (cancelButton_)
                cancelButton_->PressFromKeyboard();
            return TRUE;
        }
        if (id == IDOK) {
            if (defaultButton_)
                defaultButton_->PressFromKeyboard();
            return TRUE;
        }
        if (Control* c = FindById(id)) {
            if (c->Kind() == ControlKind::MenuItem) {
                auto* item = static_cast<MenuItem*>(c);
                if (item->Click)
                    item->Click();
            } else if (c->Kind() == ControlKind::CommandButton) {
                // The default button lives on a page, where the dialog manager cannot find it.
                static_cast<CommandButton*>(c)->PressFromKeyboard();
            }
        }
        return TRUE;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
        auto hdc = reinterpret_cast<HDC>(wParam);
        Control* c = FindByWindow(reinterpret_cast<HWND>(lParam));
        if (c && c->HasBackColor())
            return c->OnCtlColor(hdc);
        // Images and the children no wrapper knows (group boxes made over placeholders)
        // have no colour of their own: they take their page's.
        if (!own)
            if (Control* page = FindByWindow(hwnd); page && page->Kind() == ControlKind::PictureBox)
                return page->OnCtlColor(hdc);
        return FALSE;
    }
    case WM_SETCURSOR:
        if (g_pointer == kPointerHourglass) {
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        return FALSE;
    case WM_ACTIVATE:
        // Coming back from another program, a message box or a picker: the same form was
        // the last active one, so its unsaved edits stay as they are.
        if (own && LOWORD(wParam) != WA_INACTIVE && g_lastActive != this) {
            g_lastActive = this;
            HWND before = GetFocus();
            Guarded([&] { Form_Activate(); });
            HWND after = GetFocus();
            // Focus moved by Form_Activate stays; else the dialog manager restores its own.
            if (after != before && after && IsChild(hwnd, after)) {
                SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, 0);
                return TRUE;
            }
        }
        return FALSE;
    case WM_DPICHANGED:
        if (own) {
            OnDpiChanged(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
            return TRUE;  // the dialog manager's own rescaling would come on top
        }
        return FALSE;
    case WM_CLOSE:
        if (own) {
            Unload();
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY:
        if (own)
            OnDestroy();
        return FALSE;
    }
    return FALSE;
}

int RunMessageLoop()
{
    MSG msg;
    while (!g_loaded.empty()) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0)
            return static_cast<int>(msg.wParam);
        if (got == -1)
            break;
        Form::DispatchOne(msg);
    }
    return 0;
}

void DoEvents()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        Form::DispatchOne(msg);
    }
}

int Screen::MousePointer() { return g_pointer; }

void Screen::MousePointer(int pointer)
{
    if (pointer != kPointerDefault && pointer != kPointerHourglass)
        throw RuntimeError(kErrInvalidArgument, {}, "MousePointer");
    g_pointer = pointer;
    SetCursor(LoadCursorW(nullptr, pointer == kPointerHourglass ? IDC_WAIT : IDC_ARROW));
}

}  // namespace kw::forms
