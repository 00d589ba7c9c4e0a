#pragma once
// The real main window, opened as the program opens it, for the tools that drive it.
#include <cstdio>

#include "WindowScript.h"
#include "app/frmMain.h"
#include "app/modMain.h"
#include "platform/Platform.h"

namespace kwbench {

inline kw::frmMain* OpenMainWindow()
{
    kw::RegisterMainForm();
    kw::Main();
    auto* main = dynamic_cast<kw::frmMain*>(kw::MainForm());
    if (!main)
        std::fprintf(stderr, "the main window did not open\n");
    return main;
}

// The window with every message box recorded instead of shown, after its first paint.
inline kw::frmMain* OpenQuietMainWindow(kwscript::RecordingPrompt& prompt, int settleMs = 200)
{
    kw::platform::SetPrompt(&prompt);
    kw::frmMain* main = OpenMainWindow();
    if (main)
        kwscript::Pump(settleMs);
    return main;
}

}  // namespace kwbench
