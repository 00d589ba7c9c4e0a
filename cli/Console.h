#pragma once
// Where the console program's text goes. Text is UTF-8 in memory; a Windows console gets it
// through the wide console API, a pipe or a file gets the UTF-8 bytes.
#include <string>
#include <string_view>

namespace kw::cli {

class Console {
public:
    virtual ~Console() = default;
    // Text lines ("\n" ends a line; written as CR LF to a Windows pipe or file).
    virtual void Out(std::string_view text) = 0;
    virtual void Err(std::string_view text) = 0;
    // Bytes written exactly as they are (a description file on stdout).
    virtual void OutBytes(std::string_view bytes) = 0;
};

// The process's own standard output and error.
Console& StandardConsole();

// Keeps what is written, for tests of the commands.
class StringConsole final : public Console {
public:
    void Out(std::string_view text) override { out.append(text); }
    void Err(std::string_view text) override { err.append(text); }
    void OutBytes(std::string_view bytes) override { out.append(bytes); }
    std::string out, err;
};

}  // namespace kw::cli
