#pragma once
// Thin wrappers over the controls of a dialog template, bound by control id when the form
// loads. Each remembers the value it last knew, so that Change and Click fire exactly once
// when the value really changes, whether the user or the program changed it.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/StringList.h"
#include "winsupport/forms/GdiHandles.h"

struct IDropTarget;

namespace kw::forms {

class Form;
class DropTarget;

enum class ControlKind {
    TextBox, ComboBox, ListBox, CheckBox, OptionButton, CommandButton, Label, Image, PictureBox, MenuItem
};

// Colours: 0x00BBGGRR, or 0x80000000 + a system colour index.
inline constexpr std::uint32_t kSysColorFlag = 0x80000000;
inline constexpr std::uint32_t kColorWindow = kSysColorFlag | COLOR_WINDOW;
inline constexpr std::uint32_t kColorButtonFace = kSysColorFlag | COLOR_BTNFACE;
COLORREF ResolveColor(std::uint32_t color);

inline constexpr int kDropEffectNone = 0;
inline constexpr int kDropEffectCopy = 1;  // DROPEFFECT_COPY
inline constexpr int kOleDropNone = 0;
inline constexpr int kOleDropManual = 1;

inline constexpr int kUnchecked = 0;
inline constexpr int kChecked = 1;
inline constexpr int kGrayed = 2;

class Control {
public:
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control();

    ControlKind Kind() const { return kind_; }
    int Id() const { return id_; }
    HWND hWnd() const { return hwnd_; }
    Form& Parent() const { return form_; }

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

    std::string WindowText() const;
    // The control's rectangle in its parent's client coordinates.
    RECT Bounds() const;
    // Captions of buttons and labels: no change event of their own.
    std::string CaptionText() const;
    void CaptionText(const std::string& caption);
    void ApplyFont();

    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

    Form& form_;
    int id_;
    ControlKind kind_;
    HWND hwnd_ = nullptr;

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

class TextBox : public Control {
public:
    TextBox(Form& form, int id);
    std::string Text() const;
    void Text(const std::string& text);
    // Length, SelStart and SelLength count UTF-16 units, as the control does.
    int TextLength() const;
    int SelStart() const;
    void SelStart(int start);
    int SelLength() const;
    void SelLength(int length);
    bool Locked() const;
    void Locked(bool locked);

    std::function<void()> Change;

protected:
    void Bind(HWND hwnd) override;
    void OnCommand(int code) override;
    std::uint32_t DefaultBackColor() const override { return kColorWindow; }

private:
    std::string last_;
    bool settingText_ = false;
};

class ComboBox : public Control, public StringList {
public:
    ComboBox(Form& form, int id);
    bool Editable() const;
    // A drop-down list's text is its selected entry; setting it selects the entry with
    // that exact text (error 5 when there is none).
    std::string Text() const;
    void Text(const std::string& text);
    int ListIndex() const;
    void ListIndex(int index) override;  // -1 clears; raises Click when it changes
    int ListCount() const override;
    std::string List(int index) const override;
    void List(int index, const std::string& text);
    void AddItem(const std::string& text) override;
    void RemoveItem(int index);
    void Clear() override;  // empties list and text; raises nothing

    std::function<void()> Change;  // typing, or Text set from code
    std::function<void()> Click;   // a list entry chosen by the user or by ListIndex

protected:
    void Bind(HWND hwnd) override;
    void Unbind() override;
    void OnCommand(int code) override;
    bool Owns(HWND hwnd) const override { return hwnd && (hwnd == hwnd_ || hwnd == edit_); }
    std::uint32_t DefaultBackColor() const override { return kColorWindow; }

private:
    std::string ItemText(int index) const;
    HWND edit_ = nullptr;
    std::string lastText_;
    int lastIndex_ = -1;
};

class ListBox : public Control, public StringList {
public:
    ListBox(Form& form, int id);
    bool MultiSelect() const;
    // The current item: the selection of a single-selection list, the caret of a
    // multiple-selection one (-1 until an item is chosen).
    int ListIndex() const;
    void ListIndex(int index) override;
    int ListCount() const override;
    std::string List(int index) const override;
    void List(int index, const std::string& text);
    std::string Text() const;
    void AddItem(const std::string& text) override;
    void RemoveItem(int index);
    void Clear() override;
    bool Selected(int index) const;
    void Selected(int index, bool selected);
    int SelCount() const;

    std::function<void()> Click;

protected:
    void Bind(HWND hwnd) override;
    void OnCommand(int code) override;
    std::uint32_t DefaultBackColor() const override { return kColorWindow; }

private:
    void CheckIndex(int index) const;
    std::vector<char> ReadSelection() const;
    // Compares with what was known; true when something changed.
    bool Resync(int newIndex);
    int index_ = -1;
    std::vector<char> selection_;
};

class CheckBox : public Control {
public:
    CheckBox(Form& form, int id);
    std::string Caption() const;
    void Caption(const std::string& caption);
    int Value() const;
    void Value(int value);  // kUnchecked, kChecked or kGrayed
    std::function<void()> Click;

protected:
    void Bind(HWND hwnd) override;
    void OnCommand(int code) override;

private:
    int last_ = 0;
};

class OptionButton : public Control {
public:
    OptionButton(Form& form, int id);
    std::string Caption() const;
    void Caption(const std::string& caption);
    bool Value() const;
    // True checks this one and clears the others of its group; Click is raised for the
    // button that becomes checked.
    void Value(bool value);
    std::function<void()> Click;

protected:
    void Bind(HWND hwnd) override;
    void OnCommand(int code) override;

private:
    friend class Form;
    bool last_ = false;
};

class CommandButton : public Control {
public:
    CommandButton(Form& form, int id);
    std::string Caption() const;
    void Caption(const std::string& caption);
    // Enter presses the default button; only one button of a form holds the role, and
    // clearing it on a button that does not hold it changes nothing.
    bool Default() const;
    void Default(bool value);
    // Escape and the dialog manager's cancel press the cancel button.
    bool Cancel() const;
    void Cancel(bool value);
    std::function<void()> Click;

protected:
    void OnCommand(int code) override;

private:
    friend class Form;
    void PressFromKeyboard();
};

class Label : public Control {
public:
    Label(Form& form, int id);
    std::string Caption() const;
    void Caption(const std::string& caption);
};

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
    void Unbind() override;
    void DpiChanged() override;

private:
    void ReleaseLoaded();
    HICON loaded_ = nullptr;
    int pictureId_ = 0;  // reloaded at the frame that fits when the DPI changes
};

// A page: a child dialog (DS_CONTROL | WS_CHILD) made from its own template when the form
// loads. Its controls are wrapped in the same form and their notifications reach it.
class PictureBox : public Control {
public:
    PictureBox(Form& form, int id, int templateId);

private:
    friend class Form;
    int templateId_;
};

// A menu item of the form's menu, found by its id (popups need an id: MENUEX).
class MenuItem : public Control {
public:
    MenuItem(Form& form, int id);
    bool HasBackColor() const override { return false; }
    bool HasFont() const override { return false; }
    std::string Caption() const;
    void Caption(const std::string& caption);
    bool Enabled() const override;
    void Enabled(bool enabled) override;
    bool Visible() const override { return true; }
    void Visible(bool visible) override;  // menus here are always visible: error 438 otherwise
    bool Checked() const;
    void Checked(bool checked);
    std::function<void()> Click;

private:
    friend class Form;
    void Locate(HMENU& menu, UINT& position) const;
};

}  // namespace kw::forms
