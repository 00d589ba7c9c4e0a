#pragma once
// The real main window, opened as the program opens it, for the tools that drive it.
#include <cstdio>

#include "app/frmMain.h"
#include "app/modMain.h"

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

}  // namespace kwbench
