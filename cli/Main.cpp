// kitwright-cli: the plugin maker without its window. On Windows the arguments arrive as
// UTF-16 (wmain) and become UTF-8 before parsing; POSIX hands them over as UTF-8.
#include <string>
#include <vector>

#include "CommandLine.h"
#include "Console.h"
#include "Run.h"

#ifdef _WIN32
#include "platform/WinText.h"

int wmain(int argc, wchar_t** argv)
{
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(kw::Narrow(argv[i]));
    return kw::cli::Main(args, kw::cli::StandardConsole());
}
#else
int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return kw::cli::Main(args, kw::cli::StandardConsole());
}
#endif
