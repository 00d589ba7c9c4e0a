#include "ConsolePrompt.h"

#include "Paths.h"

namespace kw::cli {

namespace {

// Button sets and icons of a message box style (the Win32 numbers).
constexpr unsigned kButtons = 0xF, kIcons = 0xF0;
constexpr unsigned kAbortRetryIgnore = 0x2, kYesNoCancel = 0x3, kRetryCancel = 0x5, kCancelTryContinue = 0x6;
constexpr int kIdAbort = 3;

}  // namespace

int ConsolePrompt::Answer(unsigned style)
{
    switch (style & kButtons) {
    case platform::kMbOk: return platform::kIdOk;
    case platform::kMbYesNo:
    case kYesNoCancel: return platform::kIdNo;
    case kAbortRetryIgnore: return kIdAbort;
    case platform::kMbOkCancel:
    case kRetryCancel:
    case kCancelTryContinue:
    default: return platform::kIdCancel;
    }
}

std::string ConsolePrompt::Format(std::string_view text, std::string_view title)
{
    std::string out(title);
    out += ": ";
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        if (text[i] == '\r' || text[i] == '\n')
            out += "\n  ";
        else
            out += text[i];
    }
    return out;
}

int ConsolePrompt::Show(NativeHandle, std::string_view text, std::string_view title, unsigned style)
{
    const std::string line = Format(text, title);
    shown_.push_back(line);
    const unsigned icon = style & kIcons;
    if (icon == platform::kMbIconWarning || icon == platform::kMbIconError)
        warned_ = true;
    console_.Err(ForDisplay(line) + "\n");
    return Answer(style);
}

}  // namespace kw::cli
