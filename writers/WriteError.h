#pragma once
#include <string>

#include "platform/RuntimeError.h"

namespace kw {

// A generated file that could not be written. Number() is the system's error code
// (Win32 numbering); the file is then absent or still holds its previous bytes.
class WriteError : public RuntimeError {
public:
    WriteError(std::string path, unsigned long code, std::string systemText);
    const std::string& Path() const { return path_; }
    unsigned long Code() const { return static_cast<unsigned long>(Number()); }
    const std::string& SystemText() const { return systemText_; }

private:
    std::string path_;
    std::string systemText_;
};

}  // namespace kw
