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
    // What becomes of a line break inside a model value. Line-based formats (INF, XML,
    // scripts) would read the rest as a line of its own, so there it becomes a blank; the
    // help page keeps it as a CR LF.
    enum class Breaks { Blank, CrLf };
    explicit TextFile(Breaks breaks = Breaks::Blank) : breaks_(breaks) {}

    // One line of UTF-8 text; the CR LF is added here.
    void Line(std::string_view text = {});
    // Writes the lines to folder + fileName in the ANSI code page, replacing any earlier
    // file; throws WriteError and leaves no partial file when that fails.
    void Save(const std::string& folder, const std::string& fileName) const;

private:
    Breaks breaks_;
    std::string text_;
};

// "{PluginLocation}{PluginName}\"; throws WriteError 123 when the plugin name is not one
// valid file name, so that no file lands outside the plugins folder.
std::string PluginFolder(const clsKitwright& kw);

}  // namespace kw::writers
