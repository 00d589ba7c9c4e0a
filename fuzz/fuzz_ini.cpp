// Kitwright.ini as users leave it: any bytes parse, a rewrite parses back to the same
// document, and Set / RemoveKey / RemoveSection do what the profile rules say and touch
// no other line.
#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzSupport.h"
#include "model/IniFile.h"

using kw::ini::Document;
using namespace kwfuzz;

namespace {

bool IsHeader(const std::string& line)
{
    return !line.empty() && line.front() == '[' && line.rfind(']') != std::string::npos && line.rfind(']') > 0;
}

// Lines are read on their own in the file's encoding: Unicode ones behind a UTF-8 mark.
std::string g_mark;

// Whether a serialized line, read on its own, is a header naming `section`.
bool HeaderOf(const std::string& line, const std::string& section)
{
    std::string v;
    return IsHeader(line) && Document::Parse(g_mark + line + "\r\nk=1\r\n").Get(section, "k", v);
}

// Whether a serialized line, read on its own inside a section, is the line of `key`.
bool KeyLineOf(const std::string& line, const std::string& key)
{
    std::string v;
    return !IsHeader(line) && Document::Parse(g_mark + "[s]\r\n" + line + "\r\n").Get("s", key, v);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::string bytes = in.ConsumeRandomLengthString(4096);
    Document doc = Document::Parse(bytes);

    const bool unicode = UnicodeFile(bytes);
    g_mark = unicode ? "\xEF\xBB\xBF" : "";
    const std::string once = doc.Serialize();
    KW_CHECK(PlainText(once).empty() || PlainText(once).ends_with("\r\n"));
    KW_CHECK(Document::Parse(once) == doc);
    const std::vector<std::string> before = CrLfLines(PlainText(once));

    const int op = in.ConsumeIntegralInRange(0, 2);
    const std::string section = in.ConsumeRandomLengthString(40);
    const std::string key = in.ConsumeRandomLengthString(40);
    const std::string value = in.ConsumeRemainingBytesAsString();

    if (op == 0) {
        if (!UsableKey(key) || (unicode && !kw::utf::IsValidUtf8(value)))
            return 0;
        doc.Set(section, key, value);
        std::string got;
        KW_CHECK(doc.Get(section, key, got));
        KW_CHECK(got == ExpectedValue(value, unicode));
        const std::string twice = doc.Serialize();
        const Document back = Document::Parse(twice);
        KW_CHECK(back == doc);
        std::string reread;
        KW_CHECK(back.Get(section, key, reread) && reread == got);
        // Only the key's own line changes, or one line (and its header) is appended.
        const std::vector<std::string> after = CrLfLines(PlainText(twice));
        std::size_t head = 0, tail = 0;
        while (head < before.size() && head < after.size() && before[head] == after[head])
            ++head;
        while (tail < before.size() - head && tail < after.size() - head &&
               before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
            ++tail;
        const std::size_t gone = before.size() - head - tail, added = after.size() - head - tail;
        KW_CHECK(gone <= 1 && added <= 2 && added >= gone);
    } else if (op == 1) {
        doc.RemoveKey(section, key);
        std::string got;
        KW_CHECK(!doc.Get(section, key, got));
        // Expected: the key's lines dropped from the first section of that name.
        std::vector<std::string> expected;
        bool seen = false, inside = false;
        for (const std::string& line : before) {
            if (IsHeader(line)) {
                inside = !seen && HeaderOf(line, section);
                seen = seen || inside;
            } else if (inside && KeyLineOf(line, key)) {
                continue;
            }
            expected.push_back(line);
        }
        KW_CHECK(CrLfLines(PlainText(doc.Serialize())) == expected);
    } else {
        doc.RemoveSection(section);
        std::vector<std::string> expected;
        bool dropping = false;
        for (const std::string& line : before) {
            if (IsHeader(line))
                dropping = HeaderOf(line, section);
            if (!dropping)
                expected.push_back(line);
        }
        KW_CHECK(CrLfLines(PlainText(doc.Serialize())) == expected);
    }
    return 0;
}
