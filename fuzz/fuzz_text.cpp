// The text routines the window relies on, over any bytes: the file-name check and the key
// filter agree, the path helpers keep what they are given, and the ANSI conversions keep
// every character the code page holds while never inventing a character of their own.
#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzSupport.h"
#include "app/modMainText.h"
#include "model/PathText.h"
#include "model/clsKitwright.h"

using namespace kwfuzz;
namespace platform = kw::platform;

namespace {

// The ASCII characters of a text other than '?': what a conversion may neither add nor lose.
std::string AsciiOf(std::string_view s)
{
    std::string out;
    for (char c : s)
        if (static_cast<unsigned char>(c) < 0x80 && c != '?')
            out += c;
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const bool allowBackslash = in.ConsumeBool(), allowColon = in.ConsumeBool(), allowSlash = in.ConsumeBool();
    const std::string text = in.ConsumeRemainingBytesAsString();

    // A valid name can never lead out of its folder nor name a device.
    if (kw::clsKitwright::IsValidFileName(text)) {
        KW_CHECK(!text.empty() && text.find_first_of("\\/:*?\"<>|") == std::string::npos);
        KW_CHECK(text != "." && text != ".." && !text.ends_with('.') && !text.ends_with(' '));
        for (char c : text)
            KW_CHECK(static_cast<unsigned char>(c) >= 0x20);
    }
    // What the key filter lets through without separators holds no character the name
    // check refuses (the filter is stricter: it also drops '^').
    std::string typed;
    for (unsigned char c : text) {
        int key = c;
        kw::FilterFileNameKey(key, allowBackslash, allowColon, allowSlash);
        KW_CHECK(key == 0 || key == c);
        if (key == 0 && c != 0)
            KW_CHECK(std::string_view("\"*<>?^|\\:/").find(char(c)) != std::string_view::npos);
        if (c == '\\')
            KW_CHECK((key != 0) == allowBackslash);
        if (c == ':')
            KW_CHECK((key != 0) == allowColon);
        if (c == '/')
            KW_CHECK((key != 0) == allowSlash);
        int strict = c;
        kw::FilterFileNameKey(strict, false, false, false);
        if (strict != 0 && c >= 0x20)
            typed += char(c);
    }
    if (!typed.empty() && !typed.ends_with('.') && !typed.ends_with(' ') && typed.size() <= 255 &&
        kw::utf::IsValidUtf8(typed)) {
        const std::string base = platform::UpperCase(typed.substr(0, typed.find('.')));
        bool device = false;
        for (const char* d : {"CON", "PRN", "AUX", "NUL", "COM", "LPT"})
            device = device || base.starts_with(d);
        if (!device)
            KW_CHECK(kw::clsKitwright::IsValidFileName(typed));
    }

    // RemoveExtension cuts at the last dot only.
    const std::string stem = kw::RemoveExtension(text);
    KW_CHECK(text.starts_with(stem));
    if (text.find('.') == std::string::npos)
        KW_CHECK(stem == text);
    else
        KW_CHECK(stem.size() == text.rfind('.') && kw::RemoveExtension(stem + ".x") == stem);

    // AddBackslash adds at most one and is idempotent.
    const std::string slashed = kw::AddBackslash(text);
    KW_CHECK(slashed.starts_with(text) && slashed.size() <= text.size() + 1);
    KW_CHECK(text.empty() ? slashed.empty() : slashed.ends_with('\\'));
    KW_CHECK(kw::AddBackslash(slashed) == slashed);

    // ANSI conversions: any bytes come back as valid UTF-8 and go back to the same bytes;
    // any text keeps its ASCII (so no line break or '=' appears from nowhere), and a valid
    // text whose characters the code page holds survives the round trip.
    const std::string fromAnsi = platform::FromAnsi(text);
    KW_CHECK(kw::utf::IsValidUtf8(fromAnsi));
    KW_CHECK(platform::ToAnsi(fromAnsi) == text);
    const std::string ansi = platform::ToAnsi(text);
    KW_CHECK(AsciiOf(ansi) == AsciiOf(text));
    const std::string back = platform::FromAnsi(ansi);
    if (kw::utf::IsValidUtf8(text) && ansi.find('?') == std::string::npos)
        KW_CHECK(back == text);
    return 0;
}
