#pragma once
// The console program's command line: commands, options and what they mean.
#include <optional>
#include <string>
#include <vector>

#include "Console.h"

namespace kw::cli {

// What the program ends with.
enum ExitCode : int {
    kExitDone = 0,     // done
    kExitRefused = 1,  // refused, or problems found
    kExitUsage = 2,    // the command line is wrong
    kExitFailed = 3,   // a read, write or copy failed
};

enum class Command { Create, Import, Check };

struct Options {
    Command command = Command::Check;
    std::string input;          // the description or plugin folder, as given
    std::string output;         // import -o; empty: standard output
    std::string pluginsFolder;  // create/check --plugins
    bool replace = false;       // create --replace
    std::string iniFile;        // --ini
    std::string windowsFolder;  // --windows-folder
};

inline constexpr const char* kProgramName = "kitwright-cli";
// The project's version, as the window's about box shows it.
inline constexpr const char* kVersionText = "kitwright-cli " KW_PROJECT_VERSION;

// Parses the arguments (UTF-8, without the program's own name). Returns the exit code when
// the command line is all there is to do (--help, --version, a usage error; the text is
// written to the console), or nothing when `options` holds a command to run.
std::optional<int> ParseCommandLine(const std::vector<std::string>& args, Options& options, Console& console);

}  // namespace kw::cli
