// The program's entry point: the main window is shown by Main, then the loop runs until
// the last window is gone.
#include <windows.h>

#include "app/frmMain.h"
#include "app/modMain.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    kw::RegisterMainForm();
    kw::Main();
    return kw::forms::RunMessageLoop();
}
