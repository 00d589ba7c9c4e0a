#include "RuntimeError.h"

namespace kw {

namespace {
std::string DefaultDescription(long number)
{
    switch (number) {
    case kErrInvalidArgument: return "Invalid procedure call or argument";
    case kErrSubscript: return "Subscript out of range";
    default: return "Application-defined or object-defined error";
    }
}
}  // namespace

RuntimeError::RuntimeError(long number, std::string description, std::string source)
    : std::runtime_error(description.empty() ? DefaultDescription(number) : description),
      number_(number),
      description_(description.empty() ? DefaultDescription(number) : std::move(description)),
      source_(std::move(source))
{
}

}  // namespace kw
