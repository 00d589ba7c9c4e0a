#pragma once
// The base of the control wrappers: what every control of a form has (enabled, visible,
// colour, font, position, focus, OLE drops).
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "winsupport/forms/GdiHandles.h"

struct IDropTarget;

namespace kw::forms {

class Form;
class DropTarget;
class PictureBox;
struct TemplateItem;
struct DialogTemplate;

enum class ControlKind {
    TextBox,
    ComboBox,
    ListBox,
    CheckBox,
    OptionButton,
    CommandButton,
    Label,
    Image,
    PictureBox,
    MenuItem
};

// Colours: 0x00BBGGRR, or 0x80000000 + a system colour index.
inline constexpr std::uint32_t kSysColorFlag = 0x80000000;
inline constexpr std::uint32_t kColorWindow = kSysColorFlag | COLOR_WINDOW;
inline constexpr std::uint32_t kColorButtonFace = kSysColorFlag | COLOR_BTNFACE;
COLORREF ResolveColor(std::uint32_t color);

enum DropEffect : int { kDropEffectNone = 0, kDropEffectCopy = 1 /* DROPEFFECT_COPY */ };
enum OleDropMode : int { kOleDropNone = 0, kOleDropManual = 1 };
enum CheckState : int { kUnchecked = 0, kChecked = 1, kGrayed = 2 };

class Control {
public:
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control();

    // Many lines added or removed at once (lists and combos): while one of these lives the
    // control neither repaints nor moves its scroll bar per line (under Wine each is a trip
    // to the server). Nothing while the control has no window.
    class Updating {
    public:
        explicit Updating(Control& control);
        ~Updating();
        Updating(const Updating&) = delete;
        Updating& operator=(const Updating&) = delete;

    private:
        HWND hwnd_;
    };

    ControlKind Kind() const { return kind_; }
    int Id() const { return id_; }
    // Null while the control's page has not been made (see PictureBox::LoadOnDemand).
    HWND hWnd() const { return hwnd_; }
    Form& Parent() const { return form_; }
    // Whether the Tab key stops at the control.
    bool TabStop() const;

    const std::string& Tag() const { return tag_; }
    void Tag(std::string tag) { tag_ = std::move(tag); }

    virtual bool Enabled() const;
    virtual void Enabled(bool enabled);
    virtual bool Visible() const;
    virtual void Visible(bool visible);

    // Menu items and images have no back colour; asking them raises error 438.
    virtual bool HasBackColor() const { return true; }
    std::uint32_t BackColor() const;
    void BackColor(std::uint32_t color);

    // Point size and face name. Controls with the same face, size and weight share one font.
    // Images and menu items have none: error 438.
    virtual bool HasFont() const { return true; }
    // Font sizes are points at the form's DPI (Form::Dpi).
    std::string FontName() const;
    void FontName(const std::string& name);
    // Face and size at once: one font change instead of two.
    void SetFont(const std::string& name, int points);
    int FontSize() const;
    void FontSize(int points);
    bool FontBold() const;
    void FontBold(bool bold);

    // Pixels, relative to the client area of the control's parent window.
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void Move(int left, int top, int width, int height);

    void SetFocus();

    // 0 none, 1 manual: OLEDragOver/OLEDragDrop see files dragged from the shell.
    int OLEDropMode() const { return oleDropMode_; }
    void OLEDropMode(int mode);
    // The registered OLE drop target (null while none is registered).
    IDropTarget* RegisteredDropTarget() const;

    std::function<void()> GotFocus;
    // The typed character code; set it to 0 to swallow the key.
    std::function<void(int& key)> KeyPress;
    // files is null when the dragged data holds no file list; effect starts at none.
    std::function<void(const std::vector<std::string>* files, int& effect)> OLEDragOver;
    // Runs only for a file list OLEDragOver accepted; effect starts as what it chose, and
    // setting it to kDropEffectNone refuses the drop (the source sees no copy).
    std::function<void(const std::vector<std::string>& files, int& effect)> OLEDragDrop;

protected:
    Control(Form& form, int id, ControlKind kind);

    virtual void Bind(HWND hwnd);
    virtual void Unbind();
    // The page that holds the control is made on demand: until then the control answers from
    // its template and keeps what it is given; Bind hands that to the window, raising nothing.
    virtual void Seed(PictureBox& page, const TemplateItem& item, const DialogTemplate& dialog);
    // True while the control has no window but keeps its values for the one its page makes.
    bool Kept() const { return !hwnd_ && page_ != nullptr; }
    // The window's style, or the template's while the values are kept.
    LONG_PTR StyleBits() const;
    // The form moved to another DPI (and already moved and sized the control).
    virtual void DpiChanged();
    // Notification codes of WM_COMMAND from the control.
    virtual void OnCommand(int /*code*/) {}
    // WM_CTLCOLOR*: a brush, or 0 for the default colours.
    virtual INT_PTR OnCtlColor(HDC hdc);
    virtual std::uint32_t DefaultBackColor() const { return kColorButtonFace; }
    // Windows besides hWnd that belong to this control (an editable combo's edit).
    virtual bool Owns(HWND hwnd) const { return hwnd == hwnd_; }
    void Subclass(HWND hwnd);
    void RequireBound() const;
    void RequireFont() const;

    // The window's text, or the kept one.
    std::string WindowText() const;
    // The control's rectangle in its parent's client coordinates.
    RECT Bounds() const;
    // Captions of buttons and labels: no change event of their own.
    std::string CaptionText() const;
    void CaptionText(const std::string& caption);
    void ApplyFont();

    static LRESULT CALLBACK HookProc(HWND, UINT, WPARAM, LPARAM);
    static void Unhook(HWND hwnd);

    Form& form_;
    int id_;
    ControlKind kind_;
    HWND hwnd_ = nullptr;
    // While the values are kept: the page that will make the window, the style and text.
    PictureBox* page_ = nullptr;
    LONG_PTR keptStyle_ = 0;
    std::string keptText_;

private:
    friend class Form;
    friend class DropTarget;
    void RegisterDrop();
    void RevokeDrop();

    std::string tag_;
    bool hasBackColor_ = false;
    std::uint32_t backColor_ = 0;
    Brush brush_;
    std::string fontName_;
    int fontSize_ = 8;
    bool fontBold_ = false;
    std::shared_ptr<const Font> font_;
    std::wstring templateFace_;  // the font the control had when bound
    long templateHeight_ = 0;
    bool templateBold_ = false;
    int oleDropMode_ = kOleDropNone;
    DropTarget* drop_ = nullptr;
    std::vector<HWND> subclassed_;
};

}  // namespace kw::forms
