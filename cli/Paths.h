#pragma once
// Paths from the command line, in the form the model uses.
#include <string>
#include <string_view>

namespace kw::cli {

// A local path as given on the command line, made absolute against the current folder,
// with "\" separators (on POSIX the platform turns them back into "/"); no trailing "\"
// except at a root.
std::string ModelPath(std::string_view argument);

// Text for the user: on POSIX the model's "\" separators become "/" again, so paths read as
// the system writes them; on Windows the text stays as it is.
std::string ForDisplay(std::string_view text);

// The current folder, in the model's form.
std::string CurrentFolder();

// A Windows folder as the user names it (on POSIX only a name: nothing is read there), or
// the local path of one (Windows), without a trailing "\".
std::string WindowsFolderPath(std::string_view argument);

}  // namespace kw::cli
