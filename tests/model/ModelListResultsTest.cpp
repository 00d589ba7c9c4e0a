// The sort behind Create and the removal of selected files give what the plain algorithms
// give, entry for entry, on generated lists of every kind of name; and big lists and big
// preference files come back whole.
#include <algorithm>
#include <random>

#include "ModelTestSupport.h"
#include "model/IniFile.h"

using namespace kw;
using namespace kwtest;

namespace {

std::string NameOf(const std::string& path) { return path.substr(path.rfind('\\') + 1); }

// Paths whose names differ in case, accents, letters that fold specially, punctuation the
// system's collation weighs apart, and digits; one name often under several folders.
std::vector<std::string> GeneratedPaths(unsigned seed, int count)
{
    static const char* const kFolders[] = {"C:\\P\\",           "c:\\p\\",           "C:\\P\\Sub\\",
                                           "D:\\Caf\xC3\xA9\\", "D:\\CAF\xC3\x89\\", "E:\\"};
    static const char* const kParts[] = {"a",  "A",  "b",        "\xC3\xA9", "\xC3\x89", "e", "\xC3\x9F",
                                         "ss", "SS", "\xCE\xA9", "\xCF\x89", "-",        "'", "_",
                                         " ",  "1",  "10",       "2",        "z"};
    std::mt19937 rng(seed);
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i) {
        std::string name;
        for (int n = 1 + static_cast<int>(rng() % 3); n > 0; --n)
            name += kParts[rng() % std::size(kParts)];
        out.push_back(kFolders[rng() % std::size(kFolders)] + name + (rng() % 2 ? ".dll" : ".TXT"));
    }
    return out;
}

// Each entry under the upper-cased name as its key, some under a key of their own so that
// a name can be in the list twice (as a list built by hand may hold it).
KeyedList ListOf(const std::vector<std::string>& paths)
{
    KeyedList list;
    for (std::size_t i = 0; i < paths.size(); ++i)
        list.Add(paths[i], i % 7 == 3 ? "#" + std::to_string(i) : platform::UpperCase(NameOf(paths[i])));
    return list;
}

// The sort as first written: each entry walked in from the front and inserted before the
// first entry that sorts after it, under the key of its name (a taken key: not inserted).
KeyedList ReferenceSort(const KeyedList& input, CompareMethod method)
{
    KeyedList result;
    for (const KeyedList::Entry& e : input.Entries()) {
        int count = 0;
        while (count < result.Count()) {
            const std::string& f = result.Item(count + 1);
            const int c = method == vbTextCompare ? platform::CompareText(f, e.value) : f.compare(e.value);
            if (c > 0)
                break;
            ++count;
        }
        const std::string key = platform::UpperCase(NameOf(e.value));
        if (count > 0)
            result.AddAfter(e.value, key, count);
        else if (result.Count() == 0)
            result.Add(e.value, key);
        else
            result.AddBefore(e.value, key, 1);
    }
    return result;
}

std::vector<std::string> Entries(const KeyedList& list)
{
    std::vector<std::string> out;
    for (const KeyedList::Entry& e : list.Entries())
        out.push_back(e.key + "=" + e.value);
    return out;
}

std::vector<std::string> ProgramFiles(const clsKitwright& kw)
{
    std::vector<std::string> out;
    for (int i = 1; i <= kw.ProgramFileCount(); ++i)
        out.push_back(kw.ProgramFileAll(i));
    return out;
}

class Names final : public StringList {
public:
    void Clear() override { items.clear(); }
    void AddItem(const std::string& text) override { items.push_back(text); }
    int ListCount() const override { return static_cast<int>(items.size()); }
    std::string List(int index) const override { return items.at(static_cast<std::size_t>(index)); }
    void ListIndex(int) override {}
    std::vector<std::string> items;
};

}  // namespace

class ListResults : public ModelTest {};

TEST_F(ListResults, SortGivesWhatInsertingOneByOneGives)
{
    clsKitwright kw;
    for (unsigned seed : {1u, 2u, 3u}) {
        const KeyedList input = ListOf(GeneratedPaths(seed, 300));
        for (CompareMethod method : {vbTextCompare, vbBinaryCompare})
            EXPECT_EQ(Entries(kw.DoSortCollection(input, method)), Entries(ReferenceSort(input, method)))
                << "seed " << seed << ", method " << method;
    }
}

// The window removes the selected lines from the bottom up, one name at a time; the batch
// must leave the very same list, whatever the selection, also for names given twice or
// not listed at all.
TEST_F(ListResults, BatchRemovalLeavesWhatRemovingOneByOneLeaves)
{
    for (unsigned seed : {4u, 5u, 6u}) {
        const std::vector<std::string> paths = GeneratedPaths(seed, 250);
        clsKitwright batch, single;
        for (const std::string& p : paths) {
            batch.AddFile(fcProgramFiles, p);
            single.AddFile(fcProgramFiles, p);
        }
        std::mt19937 rng(seed);
        std::vector<std::string> names;
        for (int i = batch.ProgramFileCount(); i >= 1; --i)
            if (rng() % 3 == 0)
                names.push_back(batch.ProgramFileName(i));
        names.push_back(platform::UpperCase(names.front()));
        names.push_back("not-listed.dll");
        names.push_back(NameOf(GeneratedPaths(seed + 100, 1).front()));

        // The plain way: the first entry whose name compares equal goes.
        std::vector<std::string> expected = ProgramFiles(single);
        for (const std::string& name : names) {
            auto it = std::find_if(expected.begin(), expected.end(),
                                   [&](const std::string& p) { return platform::CompareText(NameOf(p), name) == 0; });
            if (it != expected.end())
                expected.erase(it);
            single.DeleteFileFrom(fcProgramFiles, name);
        }
        batch.DeleteFilesFrom(fcProgramFiles, names);
        EXPECT_EQ(ProgramFiles(single), expected) << "seed " << seed;
        EXPECT_EQ(ProgramFiles(batch), expected) << "seed " << seed;
        // The removed names are free again.
        batch.AddFile(fcProgramFiles, "F:\\" + names.front());
        EXPECT_EQ(batch.ProgramFileAll(batch.ProgramFileCount()), "F:\\" + names.front());
    }
    clsKitwright kw;
    EXPECT_EQ(ErrorOf([&] { kw.DeleteFilesFrom(FileCollection(2), {"a"}); }), 5);
}

TEST_F(ListResults, RemovingEverySystemFileInOneGo)
{
    clsKitwright kw;
    kw.SystemFilesDest(dstSystem32);
    std::vector<std::string> names;
    for (int i = 0; i < 3000; ++i) {
        names.push_back("f" + std::to_string(i) + ".dll");
        kw.AddFile(fcSystemFiles, systemFolder + "\\" + names.back());
    }
    ASSERT_EQ(kw.SystemFileCount(), 3000);
    std::reverse(names.begin(), names.end());
    kw.DeleteFilesFrom(fcSystemFiles, names);
    EXPECT_EQ(kw.SystemFileCount(), 0);
    EXPECT_TRUE(prompt.shown.empty());
}

// A preferences file of 20,000 menu groups: every group loads, in order, and saving them
// writes them back as they were.
TEST_F(ListResults, TwentyThousandMenuGroupsLoadAndSaveWhole)
{
    std::string text = "[Preferences]\r\nIncAuthor=1\r\n[MenuGroup]\r\n";
    Names groups;
    for (int i = 0; i < 20000; ++i) {
        const std::string name = "Group " + std::to_string(i) + (i % 2 ? " Caf\xC3\xA9" : "");
        groups.items.push_back(name);
        text += std::to_string(i) + "=" + platform::ToAnsi(name) + "\r\n";
    }
    text += "[Personal]\r\nName=Ann\r\n";
    WriteAll(iniFile, text);
    clsKitwright kw;
    EXPECT_EQ(kw.IncAuthor(), 1);
    EXPECT_EQ(kw.AuthorName(), "Ann");
    Names loaded;
    kw.LoadMenuGroupItemsTo(loaded);
    EXPECT_EQ(loaded.items, groups.items);
    kw.SaveMenuGroupItems(loaded);
    // The section goes to the end when it is written anew, as the profile API puts it.
    const std::size_t groupsAt = text.find("[MenuGroup]"), personalAt = text.find("[Personal]");
    EXPECT_EQ(ReadAll(iniFile),
              text.substr(0, groupsAt) + text.substr(personalAt) + text.substr(groupsAt, personalAt - groupsAt));
}

// Lookups go through an index of names; each change must keep it true: twin keys, twin
// sections, names in any case, removals followed by writes.
TEST(IniIndex, LookupsFollowEveryChange)
{
    using ini::Document;
    auto get = [](const Document& d, std::string_view s, std::string_view k) {
        std::string v = "<missing>";
        d.Get(s, k, v);
        return v;
    };
    Document doc = Document::Parse("[A]\r\nk=1\r\n;k=c\r\nK=2\r\n[a]\r\nk=3\r\n[B]\r\nx=4\r\n");
    EXPECT_EQ(get(doc, "a", "K"), "1");
    doc.Set("A", "K", "one");
    EXPECT_EQ(doc.Serialize(), "[A]\r\nk=one\r\n;k=c\r\nK=2\r\n[a]\r\nk=3\r\n[B]\r\nx=4\r\n");
    doc.Set("A", "new", "n");
    EXPECT_EQ(get(doc, "A", "NEW"), "n");
    doc.RemoveKey("A", "k");
    EXPECT_EQ(get(doc, "A", "k"), "<missing>");
    EXPECT_EQ(get(doc, "A", "new"), "n");
    doc.Set("a", "k", "again");
    EXPECT_EQ(doc.Serialize(), "[A]\r\n;k=c\r\nnew=n\r\nk=again\r\n[a]\r\nk=3\r\n[B]\r\nx=4\r\n");
    doc.RemoveSection("A");
    EXPECT_EQ(get(doc, "A", "k"), "<missing>");
    EXPECT_EQ(get(doc, "B", "x"), "4");
    doc.Set("b", "y", "5");
    doc.Set("A", "k", "z");
    EXPECT_EQ(get(doc, "a", "k"), "z");
    EXPECT_EQ(doc.Serialize(), "[B]\r\nx=4\r\ny=5\r\n[A]\r\nk=z\r\n");
    // A copy answers on its own.
    Document copy = doc;
    copy.RemoveSection("B");
    EXPECT_EQ(get(doc, "B", "y"), "5");
    EXPECT_EQ(get(copy, "B", "y"), "<missing>");
    EXPECT_EQ(get(copy, "A", "k"), "z");
}
