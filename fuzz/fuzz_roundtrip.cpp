// The round trip of a plugin, all in memory. For a document D and preferences P that Create
// accepts, the document read back from the files write(D, P) makes, written under P again,
// gives the same files. One difference is allowed: where D's program files came from more
// than one folder, they are listed by name (read back, they all lie in files\), which is
// what writing D with every program file moved into one folder gives.
// Then the same files, damaged by the rest of the input, are read again: no crash, and the
// reader still answers.
#include <fuzzer/FuzzedDataProvider.h>

#include <memory>
#include <set>

#include "FuzzSupport.h"
#include "document/DescriptionFile.h"
#include "document/PluginReader.h"

using namespace kwfuzz;

namespace {

// Pieces texts are made of: what the formats themselves use, so that a value can look like
// the markup around it; letters the code page has and lacks.
const char* const kTextPieces[] = {
    "a",         "B",      "z",          "7",        " ",
    "  ",        "\t",     "\"",         "'",        "<",
    ">",         "&",      "\\",         "/",        ":",
    ";",         "=",      ",",          ", ",       ".",
    "%",         "[",      "]",          "(",        ")",
    "@",         "|",      "||",         "é",        "Ü",
    "€",         "Ω",      "漢",         "😀",        "http://",
    "</div>",    "<div>",  "<br />",     "</h1>",    "</tt>",
    "<kbd>",     "</kbd>", "</a>.",      "\">",      " can be downloaded from: <a href=\"",
    "<div><tt>", "; ",     "\", \"",     "ramdisk_", "autorun_",
    ".cmd",      ".exe",   "Plugin by ", "Tools",    "Hex",
    "*"};
// Line breaks, for the multi-line values.
const char* const kBreaks[] = {"\r\n", "\n", "\r"};
// Pieces of file names: valid ones, mostly.
const char* const kNamePieces[] = {"a", "b", "X", "tool",     "view", "1",    " ",    "-",   "_",
                                   ".", "é", "Ü", "€",        "Ω",    "&",    ",",    "'",   "(",
                                   ")", "#", "%", "ramdisk_", ".cmd", ".exe", ".dll", "con", ";"};
const char* const kFolders[] = {"C:\\Src\\", "C:\\Src\\bin\\", "D:\\Other\\"};

std::string Text(FuzzedDataProvider& in, int maxPieces, bool breaks)
{
    std::string out;
    for (int n = in.ConsumeIntegralInRange(0, maxPieces); n > 0; --n) {
        if (breaks && in.ConsumeIntegralInRange(0, 7) == 0)
            out += kBreaks[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kBreaks) - 1)];
        else
            out += kTextPieces[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kTextPieces) - 1)];
    }
    return out;
}

std::string Name(FuzzedDataProvider& in, int maxPieces)
{
    std::string out;
    for (int n = in.ConsumeIntegralInRange(1, maxPieces); n > 0; --n)
        out += kNamePieces[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kNamePieces) - 1)];
    return out;
}

kw::CheckValue Check(FuzzedDataProvider& in) { return in.ConsumeBool() ? kw::cvChecked : kw::cvUnchecked; }

kw::PluginDocument Document(FuzzedDataProvider& in)
{
    kw::PluginDocument doc;
    doc.PluginName = Name(in, 4);
    doc.ProgramName = Text(in, 6, true);
    doc.ProgramWebsite = in.ConsumeIntegralInRange(0, 5) == 0 ? "http://" : Text(in, 5, true);
    doc.Description = Text(in, 10, true);
    doc.IncAuthor = Check(in);
    doc.CopyOption = in.ConsumeBool() ? kw::coFolderTree : kw::coIndividualFiles;
    doc.ProgramFilesDest = in.ConsumeBool() ? kw::dstSystem32 : kw::dstPrograms;
    doc.SystemFilesDest = in.ConsumeBool() ? kw::dstSystem32 : kw::dstWindows;
    if (in.ConsumeBool())
        doc.ProgramFolder = kFolders[in.ConsumeIntegralInRange(0, 2)];
    // Mostly one folder, sometimes several.
    const bool severalFolders = in.ConsumeIntegralInRange(0, 3) == 0;
    auto folder = [&] { return kFolders[severalFolders ? in.ConsumeIntegralInRange(0, 2) : 0]; };
    for (int n = in.ConsumeIntegralInRange(0, 6); n > 0; --n)
        doc.ProgramFiles.push_back(folder() + Name(in, 3));
    for (int n = in.ConsumeIntegralInRange(0, 3); n > 0; --n)
        doc.SystemFiles.push_back(Name(in, 3));
    // Slots as the window fills them: a free slot holds nothing else.
    const int used = in.ConsumeIntegralInRange(0, kw::PluginDocument::kSlots);
    for (int i = 0; i < kw::PluginDocument::kSlots && used > 0; ++i) {
        if (in.ConsumeIntegralInRange(0, kw::PluginDocument::kSlots) >= used)
            continue;
        kw::DocumentExecutable& e = doc.Executables[static_cast<std::size_t>(i)];
        e.Path = folder() + Name(in, 3) + (in.ConsumeBool() ? ".exe" : "");
        e.ShortcutName = in.ConsumeIntegralInRange(0, 3) == 0 ? Text(in, 4, false) : Name(in, 3);
        e.IncRamdisk = Check(in);
        e.IncAutorun = Check(in);
        e.IncJuxDesktop = Check(in);
        e.IncJuxQlaunch = Check(in);
    }
    doc.IncZelMenu = Check(in);
    doc.IncJuxMenu = Check(in);
    doc.MenuGroup = in.ConsumeBool() ? Text(in, 4, false) : std::string();
    doc.IncSubGroup = in.ConsumeBool();
    return doc;
}

// The document with every program file and executable moved into one folder.
kw::PluginDocument InOneFolder(kw::PluginDocument doc)
{
    auto move = [](std::string& path) {
        if (!path.empty())
            path = "E:\\One\\" + path.substr(path.rfind('\\') + 1);
    };
    for (std::string& file : doc.ProgramFiles)
        move(file);
    for (kw::DocumentExecutable& e : doc.Executables)
        move(e.Path);
    return doc;
}

bool FromSeveralFolders(const kw::PluginDocument& doc)
{
    std::string first;
    auto other = [&](const std::string& path) {
        if (path.empty())
            return false;
        const std::string folder = path.substr(0, path.rfind('\\') + 1);
        if (first.empty())
            first = folder;
        return folder != first;
    };
    bool several = false;
    for (const std::string& file : doc.ProgramFiles)
        several = other(file) || several;
    if (doc.CopyOption == kw::coIndividualFiles)
        for (const kw::DocumentExecutable& e : doc.Executables)
            several = other(e.Path) || several;
    return several;
}

// What the folder would hold: the generated files, and the copies in files\.
kw::PluginContent Content(const kw::PluginDocument& doc, const std::map<std::string, std::string>& files)
{
    kw::PluginContent content;
    content.folder = "C:\\Plugins\\" + doc.PluginName + "\\";
    content.infName = doc.PluginName + ".inf";
    content.files = files;
    content.hasFilesFolder = true;
    std::set<std::string> names;
    for (const auto& [name, bytes] : files)
        if (name.starts_with("files\\"))
            names.insert(name.substr(6));
    auto copied = [&](const std::string& path) {
        if (!path.empty())
            names.insert(path.substr(path.rfind('\\') + 1));
    };
    if (doc.CopyOption == kw::coIndividualFiles)
        for (const std::string& file : doc.ProgramFiles)
            copied(file);
    if (doc.CopyOption == kw::coIndividualFiles || doc.ProgramFolder.empty())
        for (const kw::DocumentExecutable& e : doc.Executables)
            copied(e.Path);
    for (const std::string& name : names)
        content.filesFolder.push_back({name, false, 1});
    return content;
}

void Damage(FuzzedDataProvider& in, kw::PluginContent& content)
{
    if (content.files.empty())
        return;
    auto it = content.files.begin();
    std::advance(it, in.ConsumeIntegralInRange<std::size_t>(0, content.files.size() - 1));
    std::string& bytes = it->second;
    switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0: bytes.resize(in.ConsumeIntegralInRange<std::size_t>(0, bytes.size())); break;
    case 1:
        bytes.insert(in.ConsumeIntegralInRange<std::size_t>(0, bytes.size()), in.ConsumeRandomLengthString(60));
        break;
    case 2:
        for (int n = in.ConsumeIntegralInRange(1, 8); n > 0 && !bytes.empty(); --n)
            bytes[in.ConsumeIntegralInRange<std::size_t>(0, bytes.size() - 1)] =
                static_cast<char>(in.ConsumeIntegral<uint8_t>());
        break;
    default: content.files.erase(it); break;
    }
}

// On a finding: the document written, the one read back, and what the reader said.
void Explain(const kw::PluginDocument& written, const kw::PluginReading& read, const kw::GeneratedPlugin& before,
             const kw::GeneratedPlugin& after)
{
    std::fprintf(stderr, "---- written\n%s---- read back\n%s", kw::FormatDescription(written, "").c_str(),
                 kw::FormatDescription(read.document, "").c_str());
    for (const std::string& u : read.unread)
        std::fprintf(stderr, "unread: %s\n", u.c_str());
    for (const std::string& c : read.changed)
        std::fprintf(stderr, "changed: %s\n", c.c_str());
    for (const auto& [name, bytes] : before.files) {
        auto it = after.files.find(name);
        if (it == after.files.end() || it->second != bytes)
            std::fprintf(stderr, "---- %s before\n%s\n---- after\n%s\n", name.c_str(), bytes.c_str(),
                         it == after.files.end() ? "(none)" : it->second.c_str());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QuietPrompt prompt;
    static const std::unique_ptr<kw::clsKitwright> base = [] {
        kw::platform::SetPrompt(&prompt);
        const fs::path root = Scratch() / "roundtrip";
        fs::create_directories(root);
        kw::platform::SetProgramFolderForTesting(ModelPath(root));
        kw::platform::SetSpecialFolderForTesting(kw::platform::kCsidlWindows, "C:\\Windows");
        kw::platform::SetSpecialFolderForTesting(kw::platform::kCsidlSystem, "C:\\Windows\\System32");
        auto model = std::make_unique<kw::clsKitwright>();
        model->DetachPreferences();
        model->MaxExecutables(9);
        return model;
    }();
    const std::string plugins = "C:\\Plugins\\";

    FuzzedDataProvider in(data, size);
    kw::clsKitwright prefs = *base;
    prefs.AuthorName(Text(in, 4, false));
    prefs.AuthorWebsite(Text(in, 3, false));
    prefs.AuthorContact(Text(in, 3, false));
    prefs.AuthorComment(Text(in, 4, false));
    prefs.ZelFileName(Check(in));
    prefs.ZelVersion(kw::ZelMenuVersion(in.ConsumeIntegralInRange(0, 2)));

    // What the model takes of the generated document is the document D.
    kw::clsKitwright model = prefs;
    kw::ApplyDocument(Document(in), model);
    const kw::PluginDocument doc = kw::DocumentFromModel(model);
    const kw::GeneratedPlugin written = kw::WriteInMemory(doc, prefs, plugins);
    if (written.code != 0)
        return 0;  // Create refuses it: no plugin to read back

    kw::PluginContent content = Content(doc, written.files);
    const kw::PluginReading read = kw::ReadPluginContent(content, prefs);
    KW_CHECK(read.found);
    const kw::GeneratedPlugin again = kw::WriteInMemory(read.document, prefs, plugins);
    KW_CHECK(again.code == 0);
    const bool several = FromSeveralFolders(doc);
    const kw::GeneratedPlugin expected = several ? kw::WriteInMemory(InOneFolder(doc), prefs, plugins) : written;
    const bool same = again.files == expected.files && (several || (read.changed.empty() && read.unread.empty()));
    if (!same)
        Explain(doc, read, expected, again);
    KW_CHECK(same);

    // A damaged plugin now and then: reading it is slower than the rest of the run.
    if (in.ConsumeIntegralInRange(0, 3) != 0)
        return 0;
    Damage(in, content);
    const kw::PluginReading damaged = kw::ReadPluginContent(content, prefs);
    KW_CHECK(damaged.found);
    return 0;
}
