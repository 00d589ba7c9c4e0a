#pragma once
// A form is a dialog made from a DIALOGEX template of the program, with one dialog
// procedure that hands the controls' notifications to their wrappers.
#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "winsupport/forms/Controls.h"

namespace kw::forms {

inline constexpr int kShiftMask = 1;
inline constexpr int kCtrlMask = 2;
inline constexpr int kAltMask = 4;

inline constexpr int kScaleTwips = 1;
inline constexpr int kScalePixels = 3;

class Form {
public:
    explicit Form(int templateId);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    virtual ~Form();

    HWND hWnd() const { return hwnd_; }
    bool Loaded() const { return hwnd_ != nullptr; }
    // Every wrapper of the form, in declaration order (pages and menu items included).
    const std::vector<Control*>& Controls() const { return controls_; }

    std::string Caption() const;
    void Caption(const std::string& caption);
    int ScaleMode() const { return scaleMode_; }
    void ScaleMode(int mode) { scaleMode_ = mode; }
    // The DPI the form is drawn at: its monitor's when it loaded, then whatever the last
    // WM_DPICHANGED said (the form rescales itself: positions, fonts, icons, its size).
    UINT Dpi() const { return dpi_; }

    // Creates the window if needed (running Form_Load), centres it over the owner or the
    // screen and shows it. Modeless: returns at once; its messages go through the loop.
    void Show(HWND owner = nullptr);
    // Modal: the other forms (and the owner) are disabled until this one is unloaded.
    // Without an owner the form gets a hidden one, which keeps it off the taskbar.
    void ShowModal(HWND owner = nullptr);
    // Form_QueryUnload, then Form_Unload, then the window goes. Nothing when not loaded.
    void Unload();

    // The forms loaded now, in load order.
    static std::vector<Form*> Forms();

protected:
    virtual void Form_Load() {}
    // When the form is first shown, and whenever activation moves to it from another form
    // of the program; not when the program comes back, nor after a message box or picker.
    virtual void Form_Activate() {}
    virtual void Form_QueryUnload(bool& /*cancel*/) {}
    virtual void Form_Unload() {}
    // Sees every message of the form's own window first; true when handled.
    virtual bool WindowMessage(UINT /*msg*/, WPARAM, LPARAM, INT_PTR& /*result*/) { return false; }
    // Sees each key pressed in the form or any of its controls before the dialog manager
    // and the control do; setting keyCode to 0 swallows the key. shift: kShiftMask,
    // kCtrlMask, kAltMask.
    virtual void Form_KeyDown(int& /*keyCode*/, int /*shift*/) {}
    // After the form has moved, sized and re-fonted its controls for a new DPI: for what
    // the form made itself (native controls, compacted texts).
    virtual void Form_DpiChanged() {}

private:
    friend int RunMessageLoop();
    friend void DoEvents();
    friend class Control;
    friend class CommandButton;
    friend class OptionButton;
    friend class PictureBox;

    void Load(HWND owner);
    void Register(Control* c);
    void Unregister(Control* c);
    Control* FindByWindow(HWND hwnd) const;
    Control* FindById(int id) const;
    void SyncOptionButtons();
    // A page made on demand: its controls seeded from its template at load, then made.
    bool SeedPage(PictureBox& box);
    void LoadPage(PictureBox& box);
    HWND MakePage(PictureBox& box);
    INT_PTR Dispatch(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void OnInit(HWND hwnd);
    void OnDestroy();
    void Center(HWND owner);
    void OnDpiChanged(UINT dpi, const RECT* suggested);
    void RecordLayout();
    void ScaleFontOf(HWND window, UINT from, UINT to);
    void ReleaseHiddenOwner();
    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
    static void DispatchOne(MSG& msg);

    int templateId_;
    HWND hwnd_ = nullptr;
    std::vector<Control*> controls_;
    CommandButton* defaultButton_ = nullptr;
    CommandButton* cancelButton_ = nullptr;
    int scaleMode_ = kScalePixels;
    bool unloading_ = false;
    bool modal_ = false;
    std::vector<HWND> disabledByModal_;
    HWND hiddenOwner_ = nullptr;
    HWND activeBeforeModal_ = nullptr;

    UINT dpi_ = 96;
    // Where each window of the form's layout was at the DPI it was recorded at, so that
    // going to and fro between DPIs adds up no rounding.
    struct Placed {
        RECT rect;
        UINT dpi;
    };
    std::map<HWND, Placed> layout_;
    SIZE client_{};
    UINT clientDpi_ = 0;
    // Fonts the form made for windows no wrapper owns (native controls it created).
    std::vector<Font> dpiFonts_;
};

// Pumps messages, with the dialog manager for each form, until no form is loaded.
// Returns the exit code of a WM_QUIT, or 0.
int RunMessageLoop();
// Handles the messages waiting now (tests and long work use it).
void DoEvents();

// The mouse pointer of the whole screen while the program works.
inline constexpr int kPointerDefault = 0;
inline constexpr int kPointerHourglass = 11;
struct Screen {
    static int MousePointer();
    static void MousePointer(int pointer);
};

// Reports an error that reached a window procedure: through the program's prompt.
void ReportUnhandledError(const std::exception* e);

}  // namespace kw::forms
