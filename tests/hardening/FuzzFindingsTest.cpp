// What the fuzz targets found, kept as ordinary tests.
#include <climits>

#include "model/IniFile.h"
#include "model/ModelTestSupport.h"
#include "writers/WriteError.h"
#include "writers/WritePlugin.h"

using namespace kw;
using namespace kwtest;
using kw::ini::Document;

namespace {

std::string Get(const Document& doc, std::string_view section, std::string_view key)
{
    std::string value = "<missing>";
    doc.Get(section, key, value);
    return value;
}

}  // namespace

// An overlong UTF-8 form of a line break or of 0x1A decoded to that very byte, so a value
// could start a line of its own in Kitwright.ini or lose its end to the trimming.
TEST(FuzzFindings, OverlongUtf8NeverBecomesAsciiInTheFile)
{
    const std::string ansi = platform::ToAnsi(
        "a\xC0\x8A"
        "b\xE0\x80\xBD"
        "c");
    EXPECT_EQ(ansi.find_first_of("\n="), std::string::npos) << ansi;
#ifndef _WIN32
    EXPECT_EQ(ansi, "a??b???c");
#endif
    Document doc;
    doc.Set("S", "k", "x\xC0\x8A[MenuGroup]\xC0\x9A");
    const Document back = Document::Parse(doc.Serialize());
    EXPECT_EQ(back, doc);
    EXPECT_EQ(Get(back, "MenuGroup", "k"), "<missing>");
    EXPECT_EQ(Get(back, "S", "k"), Get(doc, "S", "k"));
}

// A rewritten file drops its leading blank lines; a mark behind them then came first and
// the rewrite read as another encoding.
TEST(FuzzFindings, MarkBehindBlankLinesReadsTheSameAfterARewrite)
{
    const Document doc = Document::Parse(std::string("\n\xFF\xFE[\0P\0]\0\r\0\n\0k\0=\0v\0", 19));
    EXPECT_EQ(Get(doc, "P", "k"), "v");
    EXPECT_EQ(Document::Parse(doc.Serialize()), doc);
}

// RemoveKey took only the first of two lines of a key; the twin came back on the next start.
TEST(FuzzFindings, RemovedKeyTakesItsTwinsAndNothingElse)
{
    Document doc = Document::Parse("[P]\r\nWebsite=a\r\nName=n\r\nwebsite=b\r\n[Q]\r\nWebsite=q\r\n");
    doc.RemoveKey("p", "WEBSITE");
    EXPECT_EQ(doc.Serialize(), "[P]\r\nName=n\r\n[Q]\r\nWebsite=q\r\n");
}

// A section or key name the code page cannot hold was stored with '?' and never found
// again: every write added another copy.
TEST(FuzzFindings, NameOutsideTheCodePageFindsWhatItWrote)
{
    Document doc;
    doc.Set("\xCE\xA9", "k", "1");
    doc.Set("\xCE\xA9", "k", "2");
    EXPECT_EQ(Get(doc, "\xCE\xA9", "k"), "2");
    const std::string text = doc.Serialize();  // "[?]" here, "[O]" where the code page maps best-fit
    EXPECT_EQ(text.find("k=2\r\n"), text.rfind("k=2\r\n"));
    EXPECT_EQ(text.find("k=1"), std::string::npos);
}

class WriterFindings : public ModelTest {};

// The writers trusted the plugin name: ".." wrote the plugin's files into the plugins
// folder's parent.
TEST_F(WriterFindings, PluginNameLeadingOutIsRefusedAndNothingIsWritten)
{
    fs::create_directories(ToFs(root + "\\out\\plugins"));
    clsKitwright kw;
    kw.PluginLocation(root + "\\out\\plugins");
    kw.ProgramFilesDest(dstPrograms);
    kw.SystemFilesDest(dstSystem32);
    for (const char* name : {"..", ".", "a\\..\\..", "x/y"}) {
        kw.PluginName(name);
        try {
            WritePluginFiles(kw);
            ADD_FAILURE() << name << " was written";
        } catch (const WriteError& e) {
            EXPECT_EQ(e.Code(), 123u) << name;
        }
    }
    EXPECT_TRUE(fs::is_empty(ToFs(root + "\\out\\plugins")));
    EXPECT_EQ(std::distance(fs::directory_iterator(ToFs(root + "\\out")), fs::directory_iterator()), 1);
}

// A line break in a model value went into the files as it stood: a bare LF in the help
// page, and in the INF a line of its own that could open a section.
TEST_F(WriterFindings, LineBreaksInValuesStayInsideTheirLine)
{
    clsKitwright kw;
    kw.PluginLocation(root);
    kw.PluginName("Kit");
    kw.ProgramFilesDest(dstPrograms);
    kw.SystemFilesDest(dstSystem32);
    kw.ProgramName("Prog\n[Strings]");
    kw.Description("one\ntwo");
    kw.IncAuthor(cvChecked);
    kw.AuthorComment("c\r\n[AddReg]");
    kw.Executable(0, "C:\\P\\run.exe");
    kw.ShortcutName(0, "Run");
    kw.IncAutorun(0, cvChecked);
    ASSERT_EQ(kw.CreatePlugin(), 0);
    WritePluginFiles(kw);
    const std::string inf = ReadAll(root + "\\Kit\\Kit.inf");
    EXPECT_NE(inf.find("; Prog [Strings]\r\n"), std::string::npos);
    EXPECT_NE(inf.find("; c [AddReg]\r\n"), std::string::npos);
    EXPECT_NE(inf.find("Name=\"Prog [Strings]\"\r\n"), std::string::npos);
    EXPECT_NE(ReadAll(root + "\\Kit\\Kit.htm").find("<div>one\r\ntwo</div>\r\n"), std::string::npos);
    EXPECT_NE(ReadAll(root + "\\Kit\\Kit.xml").find("<!-- ZelMenu entry for \"Prog [Strings]\" -->\r\n"),
              std::string::npos);
}

class ModelFindings : public ModelTest {};

// A plugins folder beyond the code page with NULs behind it: the plain key kept the path up
// to the NUL, the escaped copy kept the NULs too, the two never matched on the next start
// and the folder came back with '?' for the letters the code page lacks.
TEST_F(ModelFindings, PluginsFolderWithNulsBehindItComesBackWhole)
{
    WriteAll(iniFile, "[Treferences]\r\nPluginPath=C:\\Tools\rINCZELMENUor=1\r\n");
    const std::string omega = "D:\\\xCE\xA9me akPSt5ctypeIcE";
    {
        clsKitwright kw;
        kw.PluginLocation(omega + std::string(2, '\0'));
    }
    clsKitwright again;
    EXPECT_EQ(again.PluginLocation(), omega + "\\");
}

// Numbers of the preferences: leading zeros are only zeros, and "+-" is no sign at all.
TEST_F(ModelFindings, NumbersWithLeadingZerosCountAndASignTwiceDoesNot)
{
    WriteAll(iniFile,
             "[Preferences]\nIncZelMenu= +000001731463655\nIncAuthor=+-5\nIncJuxMenu=-0002147483648\n"
             "IncPopupDone=+0002147483648\n");
    clsKitwright kw;
    EXPECT_EQ(kw.IncZelMenu(), 1731463655);
    EXPECT_EQ(kw.IncAuthor(), 0);
    EXPECT_EQ(kw.IncJuxMenu(), INT_MIN);
    EXPECT_EQ(kw.IncPopupDone(), 0);
}
