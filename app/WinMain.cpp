// The program's entry point: the main window is shown by Main, then the loop runs until
// the last window is gone.
#include <windows.h>

#include <string>

#include "app/frmMain.h"
#include "app/modMain.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // The one argument the program takes: a document to open.
    const std::string document = kw::DocumentArgument(GetCommandLineW());
    kw::RegisterMainForm();
    kw::Main(document);
    return kw::forms::RunMessageLoop();
}
