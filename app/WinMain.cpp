// The program's entry point: the main window is shown by Main, then the loop runs until
// the last window is gone.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "app/frmMain.h"
#include "app/modMain.h"
#include "platform/WinText.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // The one argument the program takes: a document to open. The shell's parser is only
    // loaded when there is one, so a plain start stays as quick as it was.
    std::string document;
    std::wstring_view rest = GetCommandLineW();
    const bool quoted = !rest.empty() && rest.front() == L'"';
    const size_t end = quoted ? rest.find(L'"', 1) : rest.find_first_of(L" \t");
    rest.remove_prefix(end == std::wstring_view::npos ? rest.size() : end + (quoted ? 1 : 0));
    int count = 0;
    LPWSTR* args = rest.find_first_not_of(L" \t") == std::wstring_view::npos ? nullptr
                                                                              : CommandLineToArgvW(GetCommandLineW(), &count);
    if (args) {
        if (count > 1) {
            std::wstring full(32768, L'\0');
            const DWORD length = GetFullPathNameW(args[1], static_cast<DWORD>(full.size()), full.data(), nullptr);
            full.resize(length > 0 && length < 32768 ? length : 0);
            document = kw::Narrow(full.empty() ? std::wstring(args[1]) : full);
        }
        LocalFree(args);
    }
    kw::RegisterMainForm();
    kw::Main(document);
    return kw::forms::RunMessageLoop();
}
