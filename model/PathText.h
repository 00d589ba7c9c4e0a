#pragma once
// The path and file-name text routines shared by the writers, the model and (through
// modMain) the windows. Portable.
#include <string>
#include <string_view>

namespace kw {

// The text before the last "."; the name itself when it has none.
std::string RemoveExtension(std::string_view name);

// "\" appended unless the text is empty or already ends with one.
std::string AddBackslash(std::string_view text);

}  // namespace kw
