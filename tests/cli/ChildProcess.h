#pragma once
// Runs a program as a child process with its standard output and error on separate pipes,
// as a shell script or a batch file would see them.
#include <string>
#include <vector>

namespace kwtest {

struct ChildResult {
    int code = -1;  // the exit code; -1 when the program could not be started
    std::string out, err;
};

// program and args are UTF-8; workDir empty: the current folder. Standard input is empty.
ChildResult RunChild(const std::string& program, const std::vector<std::string>& args, const std::string& workDir = {});

}  // namespace kwtest
