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

void TextFile::Line(std::string_view text)
{
    const std::string_view lineEnd = breaks_ == Breaks::CrLf ? "\r\n" : " ";
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            text_.append(lineEnd);
        } else {
            text_ += text[i];
        }
    }
    text_.append("\r\n");
}

void TextFile::Save(const std::string& folder, const std::string& fileName) const
{
    std::string path = folder + fileName;
    // Names come from the user: a separator or ".." would put the file somewhere else.
    if (!clsKitwright::IsValidFileName(fileName))
        throw WriteError(path, kErrorInvalidName, platform::ErrorText(kErrorInvalidName));
    std::string errorText;
    if (unsigned long code = platform::WriteFileWhole(path, platform::ToAnsi(text_), &errorText))
        throw WriteError(path, code, errorText);
}

std::string PluginFolder(const clsKitwright& kw)
{
    std::string folder = kw.PluginLocation() + kw.PluginName() + "\\";
    if (!clsKitwright::IsValidFileName(kw.PluginName()))
        throw WriteError(folder, kErrorInvalidName, platform::ErrorText(kErrorInvalidName));
    return folder;
}

}  // namespace writers
}  // namespace kw
