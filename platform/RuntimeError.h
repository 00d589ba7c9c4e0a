#pragma once
#include <stdexcept>
#include <string>

namespace kw {

// The program's run-time error: a number, a description and the source that raised it.
// Callers in the program never pass values that raise these, and nothing catches them
// except at the edge of a window procedure.
inline constexpr long kErrInvalidArgument = 5;  // invalid procedure call or argument
inline constexpr long kErrSubscript = 9;        // subscript out of range

class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(long number, std::string description = {}, std::string source = {});
    long Number() const { return number_; }
    const std::string& Description() const { return description_; }
    const std::string& Source() const { return source_; }

private:
    long number_;
    std::string description_;
    std::string source_;
};

}  // namespace kw
