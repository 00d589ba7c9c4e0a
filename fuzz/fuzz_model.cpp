// The model over any Kitwright.ini: construction never throws, every property reads back
// as the file holds it, and writing one preference changes that key and nothing else.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <climits>

#include "FuzzSupport.h"
#include "model/IniFile.h"
#include "model/clsKitwright.h"

using namespace kwfuzz;
using kw::ini::Document;

namespace {

class Items final : public kw::StringList {
public:
    void Clear() override { items.clear(); }
    void AddItem(const std::string& text) override { items.push_back(text); }
    int ListCount() const override { return static_cast<int>(items.size()); }
    std::string List(int index) const override { return items.at(static_cast<std::size_t>(index)); }
    void ListIndex(int) override {}
    std::vector<std::string> items;
};

std::string Stored(const Document& doc, const char* section, const char* key)
{
    std::string v;
    doc.Get(section, key, v);
    return v;
}

// Decimal text (blanks and one sign allowed) that fits 32 bits; anything else is 0.
int Number(std::string s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.erase(0, 1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.pop_back();
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.erase(0, 1);
    }
    if (s.empty())
        return 0;
    // Leading zeros count for nothing: the range is checked on the value, not the length.
    long long v = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return 0;
        v = v * 10 + (c - '0');
        if (v > 1LL + INT_MAX)
            return 0;
    }
    v = negative ? -v : v;
    return v < INT_MIN || v > INT_MAX ? 0 : static_cast<int>(v);
}

std::string WithBackslash(const std::string& s) { return s.empty() || s.back() == '\\' ? s : s + "\\"; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QuietPrompt prompt;
    static const fs::path prog = [] {
        kw::platform::SetPrompt(&prompt);
        fs::path p = Scratch() / "prog";
        fs::create_directories(p);
        kw::platform::SetProgramFolderForTesting(ModelPath(p));
        return p;
    }();
    const fs::path ini = prog / "Kitwright.ini";

    FuzzedDataProvider in(data, size);
    const std::string bytes = in.ConsumeRandomLengthString(8192);
    WriteAll(ini, bytes);
    const Document doc = Document::Parse(bytes);

    kw::clsKitwright kw;
    KW_CHECK(ReadAll(ini) == bytes);  // an existing file is only read
    // The escaped copy of a path beyond the code page is the model's own affair; the plain
    // key is what it falls back on.
    std::string escaped;
    if (!doc.Get("Preferences", "PluginPathUtf8", escaped))
        KW_CHECK(kw.PluginLocation() == WithBackslash(Stored(doc, "Preferences", "PluginPath")));
    KW_CHECK(kw.IncAuthor() == Number(Stored(doc, "Preferences", "IncAuthor")));
    KW_CHECK(kw.IncZelMenu() == Number(Stored(doc, "Preferences", "IncZelMenu")));
    KW_CHECK(kw.IncJuxMenu() == Number(Stored(doc, "Preferences", "IncJuxMenu")));
    KW_CHECK(kw.IncPopupDone() == Number(Stored(doc, "Preferences", "IncPopupDone")));
    KW_CHECK(kw.ZelFileName() == Number(Stored(doc, "Preferences", "ZelFileName")));
    KW_CHECK(kw.ZelVersion() == Number(Stored(doc, "Preferences", "ZelVersion")));
    KW_CHECK(kw.AuthorName() == Stored(doc, "Personal", "Name"));
    KW_CHECK(kw.AuthorWebsite() == Stored(doc, "Personal", "Website"));
    KW_CHECK(kw.AuthorContact() == Stored(doc, "Personal", "Contact"));
    KW_CHECK(kw.AuthorComment() == Stored(doc, "Personal", "Comment"));
    KW_CHECK(kw.MaxExecutables() == 0 && kw.CurrentExecutable() == 0 && kw.ProgramFileCount() == 0);
    Items groups;
    kw.LoadMenuGroupItemsTo(groups);
    for (std::size_t i = 0; i <= groups.items.size(); ++i) {
        const std::string v = Stored(doc, "MenuGroup", std::to_string(i).c_str());
        if (i == groups.items.size())
            KW_CHECK(v.empty());
        else
            KW_CHECK(!v.empty() && v == groups.items[i]);
    }

    // One preference written: the file becomes the document with that one change.
    Document expected = doc;
    const int op = in.ConsumeIntegralInRange(0, 5);
    const std::string text = in.ConsumeRandomLengthString(300);
    // Values reach the file as C strings, as through the profile API: a NUL ends them.
    const std::string written = text.c_str();
    const int number = in.ConsumeIntegral<int>();
    switch (op) {
    case 0:
        kw.AuthorName(text);
        expected.Set("Personal", "Name", written);
        KW_CHECK(kw.AuthorName() == text);
        break;
    case 1:
        kw.AuthorWebsite(text);
        if (text == "http://")
            expected.RemoveKey("Personal", "Website");
        else
            expected.Set("Personal", "Website", written);
        break;
    case 2: {
        kw.PluginLocation(text);
        expected.Set("Preferences", "PluginPath", written);
        // A path the code page cannot hold also goes escaped under a key of its own.
        // Its line may hold enclosing quotes, which reading drops: either form will do.
        const std::string now = ReadAll(ini);
        std::string whole;
        if (Document::Parse(now).Get("Preferences", "PluginPathUtf8", whole)) {
            for (const std::string& line : {whole, '"' + whole + '"', '\'' + whole + '\''}) {
                expected.Set("Preferences", "PluginPathUtf8", line);
                if (expected.Serialize() == now)
                    break;
            }
        } else {
            expected.RemoveKey("Preferences", "PluginPathUtf8");
        }
        KW_CHECK(whole.empty() || !kw::clsKitwright::FitsAnsi(text));
        KW_CHECK(kw.PluginLocation() == WithBackslash(text));
        break;
    }
    case 3:
        kw.ZelVersion(kw::ZelMenuVersion(number));
        expected.Set("Preferences", "ZelVersion", std::to_string(number));
        break;
    case 4:
        kw.IncAuthor(kw::CheckValue(number));
        expected.Set("Preferences", "IncAuthor", std::to_string(number));
        break;
    default: {
        Items list;
        while (in.remaining_bytes() > 0 && list.items.size() < 12)
            list.items.push_back(in.ConsumeRandomLengthString(30));
        kw.SaveMenuGroupItems(list);
        expected.RemoveSection("MenuGroup");
        for (std::size_t i = 0; i < list.items.size(); ++i)
            expected.Set("MenuGroup", std::to_string(i), list.items[i]);
        break;
    }
    }
    KW_CHECK(ReadAll(ini) == expected.Serialize());

    // What was written is what the next start reads.
    kw::clsKitwright again;
    const Document now = Document::Parse(ReadAll(ini));
    KW_CHECK(again.AuthorName() == Stored(now, "Personal", "Name"));
    KW_CHECK(again.AuthorWebsite() == Stored(now, "Personal", "Website"));
    if (op == 0 && (!UnicodeFile(bytes) || kw::utf::IsValidUtf8(written)))
        KW_CHECK(again.AuthorName() == ExpectedValue(written, UnicodeFile(bytes)));
    if (op == 1 && text == "http://")
        KW_CHECK(again.AuthorWebsite().empty());
    // A plain path comes back whole, whether the code page holds it or not.
    const bool plainPath =
        !written.empty() && kw::utf::IsValidUtf8(written) && !ProfileBlank(written.front()) &&
        !ProfileBlank(written.back()) && written.front() != '"' && written.front() != '\'' &&
        std::none_of(written.begin(), written.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
    if (op == 2 && plainPath)
        KW_CHECK(again.PluginLocation() == WithBackslash(written));
    if (op == 3)
        KW_CHECK(again.ZelVersion() == number);
    if (op == 4)
        KW_CHECK(again.IncAuthor() == number);
    return 0;
}
