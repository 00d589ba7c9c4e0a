#include <gtest/gtest.h>

#include <random>

#include "model/IniFile.h"

using kw::ini::Document;

namespace {

std::string Get(const Document& doc, const char* section, const char* key)
{
    std::string value = "<missing>";
    doc.Get(section, key, value);
    return value;
}

}  // namespace

TEST(IniDocument, RewriteConvertsToCrLfDropsBlankLinesKeepsComments)
{
    Document doc = Document::Parse("; my settings\n\n[A]\nx=1\n\n\n; note\n[B]\r\ny = 2 \n");
    doc.Set("A", "z", "3");
    EXPECT_EQ(doc.Serialize(), "; my settings\r\n[A]\r\nx=1\r\n; note\r\nz=3\r\n[B]\r\ny=2\r\n");
}

TEST(IniDocument, ReadsWithProfileConventions)
{
    Document doc = Document::Parse(
        "[Prefs]\r\n"
        "  Path  =  \"C:\\My Plugins\"  \r\n"
        "Single='quoted'\r\n"
        "Half=\"open\r\n"
        "Mixed=\"a'\r\n"
        "Bare\r\n"
        "Inner=a \"b\" c\r\n"
        "[prefs]\r\n"
        "Later=1\r\n");
    EXPECT_EQ(Get(doc, "PREFS", "path"), "C:\\My Plugins");
    EXPECT_EQ(Get(doc, " prefs ", "Single"), "quoted");
    EXPECT_EQ(Get(doc, "Prefs", "Half"), "\"open");
    EXPECT_EQ(Get(doc, "Prefs", "Mixed"), "\"a'");
    EXPECT_EQ(Get(doc, "Prefs", "Bare"), "");
    EXPECT_EQ(Get(doc, "Prefs", "Inner"), "a \"b\" c");
    // Only the first section of a name is looked at, as the profile API does.
    EXPECT_EQ(Get(doc, "Prefs", "Later"), "<missing>");
    EXPECT_EQ(Get(doc, "Other", "Path"), "<missing>");
}

TEST(IniDocument, WritesAppendAtTheEndOfTheirSectionOrFile)
{
    Document doc = Document::Parse("[A]\r\nk1=1\r\n[B]\r\nb=2\r\n");
    doc.Set("a", "K1", "  one  ");  // replaced in place, name kept as in the file
    doc.Set("A", "k2", "two");      // end of [A], not of the file
    doc.Set("C", "c", "");          // new section at the end, empty value kept
    EXPECT_EQ(doc.Serialize(), "[A]\r\nk1=one\r\nk2=two\r\n[B]\r\nb=2\r\n[C]\r\nc=\r\n");
}

TEST(IniDocument, RemovesKeysAndSections)
{
    Document doc = Document::Parse("[A]\r\nx=1\r\ny=2\r\n[B]\r\nz=3\r\n[a]\r\nw=4\r\n");
    doc.RemoveKey("A", "X");
    doc.RemoveKey("A", "missing");
    doc.RemoveKey("Missing", "y");
    EXPECT_EQ(doc.Serialize(), "[A]\r\ny=2\r\n[B]\r\nz=3\r\n[a]\r\nw=4\r\n");
    doc.RemoveSection("a");
    EXPECT_EQ(doc.Serialize(), "[B]\r\nz=3\r\n");
}

TEST(IniDocument, ValueWithLineBreakStaysOneLine)
{
    Document doc;
    doc.Set("Personal", "Comment", "first\r\n[MenuGroup]\r\n0=injected");
    Document back = Document::Parse(doc.Serialize());
    EXPECT_EQ(Get(back, "MenuGroup", "0"), "<missing>");
    EXPECT_EQ(Get(back, "Personal", "Comment").substr(0, 5), "first");
}

TEST(IniDocument, TextIsAnsiInTheFileAndUtf8Outside)
{
    Document doc;
    doc.Set("Personal", "Name", "Ren\xC3\xA9 \xE2\x82\xAC");  // "René €"
    EXPECT_EQ(doc.Serialize(), "[Personal]\r\nName=Ren\xE9 \x80\r\n");
    EXPECT_EQ(Get(Document::Parse("[Personal]\r\nName=Ren\xE9\r\n"), "Personal", "Name"), "Ren\xC3\xA9");
}

TEST(IniDocument, LongValuesComeBackWhole)
{
    std::string value(5000, 'v');
    value += "end";
    Document doc;
    doc.Set("S", "k", value);
    EXPECT_EQ(Get(Document::Parse(doc.Serialize()), "S", "k"), value);
}

TEST(IniDocument, GarbledBytesNeverFailAndRewriteIsStable)
{
    std::mt19937 rng(12345);
    static const char chars[] = "[]=;\"' \t\r\nab\x00\xff\x1a";
    const std::string alphabet(chars, sizeof chars - 1);
    for (int round = 0; round < 200; ++round) {
        std::string bytes;
        for (int i = 0; i < 200; ++i)
            bytes += alphabet[rng() % alphabet.size()];
        Document doc = Document::Parse(bytes);
        doc.Set("ab", "a", "1");
        const std::string once = doc.Serialize();
        std::string value;
        Document again = Document::Parse(once);
        ASSERT_TRUE(again.Get("ab", "a", value));
        EXPECT_EQ(value, "1");
        EXPECT_EQ(again.Serialize(), once);
    }
}
