#pragma once
// Shared by the writers only: a generated text file built in memory and written whole.
#include <string>
#include <string_view>

namespace kw {
class clsKitwright;
}

namespace kw::writers {

class TextFile {
public:
    // One line of UTF-8 text; the CR LF is added here.
    void Line(std::string_view text = {});
    // Writes the lines to folder + fileName in the ANSI code page, replacing any earlier
    // file; throws WriteError and leaves no partial file when that fails.
    void Save(const std::string& folder, const std::string& fileName) const;

private:
    std::string text_;
};

// "{PluginLocation}{PluginName}\"
std::string PluginFolder(const clsKitwright& kw);

}  // namespace kw::writers
