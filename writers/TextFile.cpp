#include "TextFile.h"

#include "WriteError.h"
#include "model/clsKitwright.h"
#include "platform/Platform.h"

namespace kw {

WriteError::WriteError(std::string path, unsigned long code, std::string systemText)
    : RuntimeError(static_cast<long>(code), "Cannot write \"" + path + "\": " + systemText),
      path_(std::move(path)),
      systemText_(std::move(systemText))
{
}

namespace writers {

namespace {
constexpr unsigned long kErrorInvalidName = 123;

// Names come from the user (plugin and shortcut names): a separator would put the file
// somewhere else, "..\" even outside the plugin folder.
bool IsPlainFileName(std::string_view name)
{
    for (unsigned char c : name)
        if (c < 0x20 || std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos)
            return false;
    return !name.empty();
}
}  // namespace

void TextFile::Line(std::string_view text)
{
    text_.append(text);
    text_.append("\r\n");
}

void TextFile::Save(const std::string& folder, const std::string& fileName) const
{
    std::string path = folder + fileName;
    if (!IsPlainFileName(fileName))
        throw WriteError(path, kErrorInvalidName, platform::ErrorText(kErrorInvalidName));
    std::string errorText;
    if (unsigned long code = platform::WriteFileWhole(path, platform::ToAnsi(text_), &errorText))
        throw WriteError(path, code, errorText);
}

std::string PluginFolder(const clsKitwright& kw)
{
    return kw.PluginLocation() + kw.PluginName() + "\\";
}

std::string AddBackslash(const std::string& text)
{
    if (text.empty() || text.back() == '\\')
        return text;
    return text + "\\";
}

}  // namespace writers
}  // namespace kw
