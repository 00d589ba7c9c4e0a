#pragma once
#include <string>
#include <vector>

#include "CommandLine.h"
#include "Console.h"

namespace kw::cli {

// The whole program: parses the arguments (UTF-8, without the program's name), runs the
// command and returns the exit code. Never shows a window; never throws.
int Main(const std::vector<std::string>& args, Console& console);

// Runs a parsed command.
int Run(const Options& options, Console& console);

}  // namespace kw::cli
