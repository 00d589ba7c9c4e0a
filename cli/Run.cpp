#include "Run.h"

#include <exception>

#include "Commands.h"
#include "Session.h"

namespace kw::cli {

int Main(const std::vector<std::string>& args, Console& console)
{
    try {
        Options options;
        if (std::optional<int> code = ParseCommandLine(args, options, console))
            return *code;
        return Run(options, console);
    } catch (const std::exception& e) {
        console.Err(std::string(kProgramName) + ": " + e.what() + "\n");
    } catch (...) {
        console.Err(std::string(kProgramName) + ": an unexpected error ended the program.\n");
    }
    return kExitFailed;
}

int Run(const Options& options, Console& console)
{
    Session session(options, console);
    if (int code = session.Open())
        return code;
    switch (options.command) {
    case Command::Create: return RunCreate(session);
    case Command::Import: return RunImport(session);
    case Command::Check: return RunCheck(session);
    }
    return kExitUsage;
}

}  // namespace kw::cli
