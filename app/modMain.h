#pragma once
// Start-up and the routines every window shares.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "app/modMainText.h"
#include "model/PathText.h"
#include "winsupport/clsAppIcon.h"
#include "winsupport/clsFont.h"
#include "winsupport/clsInitCC.h"
#include "winsupport/forms/Forms.h"

namespace kw {

// The main window registers how it is made; Main shows what the factory returns.
using MainFormFactory = std::function<std::unique_ptr<forms::Form>()>;
void SetMainFormFactory(MainFormFactory factory);
forms::Form* MainForm();

// Single instance: a second start brings the running window to the front and ends.
// Otherwise the common controls are set up and the main window is shown modeless; the
// caller then runs forms::RunMessageLoop.
void Main();
// The same, with a document to open (a description file, a plugin folder or its INF): a
// second start hands it to the running window, the first opens it once its window shows.
void Main(const std::string& documentPath);
// The document a command line names (its first argument, as a full path); empty when it
// names none.
std::string DocumentArgument(std::wstring_view commandLine);
// WM_COPYDATA that hands a document's path to the main window.
inline constexpr ULONG_PTR kOpenDocumentData = 0x4B575044;
// Hands the path to that main window (of this process or another); false when it did not
// take it.
bool HandDocumentTo(HWND mainWindow, const std::string& path);
// True when another process of the program holds the instance mark; the first call that
// finds none takes it for this process, for the rest of its life.
bool AnotherInstanceRunning();
// The main window of the program's other running process (null when there is none yet).
HWND RunningInstanceWindow();
// Brings the running instance's window to the front, restored when minimised (its open
// dialog, when it shows one). Waits a moment for a window that is still being made; false
// when none came.
bool ActivateRunningInstance();

// Releases the font, icon and common-controls objects, then unloads every loaded form in
// load order, ignoring errors.
void UnloadAllForms();

// The application-wide objects (null before Main and after UnloadAllForms).
clsFont* AppFont();
clsInitCC* InitCCObject();
// Each form's load routine takes a fresh icon object and releases it when done.
clsAppIcon& NewAppIcon();
void ReleaseAppIcon();

// A warning over the window (see ShowWarning).
void Warn(HWND owner, const std::string& text);

void SetFormFont(forms::Form& form, const std::string& fontName, int fontSize);
void SelectAllText(forms::TextBox& box);
// The path shortened with an ellipsis to fit the control, measured with the form's font;
// unchanged on a form not in pixels, and for paths of MAX_PATH characters or more.
std::string CompactPath(const std::string& path, const forms::Control& control, const forms::Form& form);

// Back colours of the main window's controls for the current visual theme.
void ApplyThemeBackColors();
// The rule itself: without theme support nothing; else every control but menus and those
// tagged "notheme" gets the window colour (theme active) or the button face colour, except
// that input boxes, lists and drop-downs keep the window colour in every theme, and display
// fields (read-only text boxes the Tab key skips) take the button face in every theme.
void ApplyThemeBackColors(forms::Form& form, bool themesSupported, bool themeActive);

}  // namespace kw
