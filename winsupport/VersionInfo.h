#pragma once
// The program's version block, for captions and the about box.
#include <windows.h>

#include <string>

namespace kw {

struct ProgramVersion {
    int major = 0, minor = 0, revision = 0;
    std::string legalCopyright, productName;
};

// The version block of a module (the running exe when null): the file version 4,1,0,2
// gives 4, 1, 2. A module without a version block gives zeros and empty texts.
ProgramVersion ReadProgramVersion(HMODULE module = nullptr);

// Product name, " v", major.minor.revision in plain decimal: "Kitwright v4.1.2".
std::string AppTitleWithVersion();

}  // namespace kw
