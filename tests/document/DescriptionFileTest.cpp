// Documents taken from and put into the model, and description files (.kwp) on disk.
#include "document/DescriptionFile.h"
#include "ModelTestSupport.h"
#include "document/PluginDocument.h"
#ifdef _WIN32
#include <windows.h>
#endif

using namespace kwtest;
using kw::PluginDocument;

namespace {

// Every value a user can reach, with the awkward characters a file format trips over.
PluginDocument FullDocument(const std::string& base)
{
    PluginDocument doc;
    doc.PluginName = "Café Kit";
    doc.ProgramName = " Café \"Deluxe\" <Pro> ";  // blanks at both ends must survive
    doc.ProgramWebsite = "http://example.org/a%20b?x=1;y=[2]";
    doc.Description = "Line one\r\nLine two\nLine three\rend\t100% = [done]; # not a comment\r\n";
    doc.IncAuthor = kw::cvChecked;
    doc.CopyOption = kw::coFolderTree;
    doc.ProgramFilesDest = kw::dstSystem32;
    doc.ProgramFolder = base + "src\\";
    doc.ProgramFiles = {base + "src\\readme.txt", "D:\\Other\\Ω.dll", base + "bin\\tool.exe"};
    doc.SystemFilesDest = kw::dstWindows;
    doc.SystemFiles = {"notepad.exe", "msvcrt.dll"};
    doc.Executables[0] = {base + "bin\\tool.exe", "Tool=1",        kw::cvChecked,
                          kw::cvChecked,          kw::cvUnchecked, kw::cvChecked};
    doc.Executables[3] = {"", "", kw::CheckValue(-1), kw::cvUnchecked, kw::CheckValue(2), kw::cvUnchecked};
    doc.Executables[9] = {"E:\\漢字\\viewer.exe", "Viewer 👀",    kw::cvUnchecked,
                          kw::cvChecked,          kw::cvChecked, kw::cvUnchecked};
    doc.IncZelMenu = kw::cvChecked;
    doc.IncJuxMenu = kw::cvUnchecked;
    doc.MenuGroup = "Tools\\Hex";
    doc.IncSubGroup = true;
    return doc;
}

class DescriptionFile : public ModelTest {
protected:
    // A folder below the test's own, made on first use.
    std::string Folder(const std::string& name) const
    {
        fs::create_directories(ToFs(root + "\\" + name));
        return root + "\\" + name + "\\";
    }
};

TEST_F(DescriptionFile, EveryValueSurvivesAndASecondSaveGivesTheSameBytes)
{
    const std::string path = Folder("work") + "Café Kit.kwp";
    PluginDocument doc = FullDocument(Folder("work"));
    doc.Description += std::string(200000, 'x') + "\xFF\xFE not UTF-8 " + std::string("\0nul", 4);
    ASSERT_EQ(kw::SaveDescription(doc, path).code, 0u);
    const std::string first = ReadAll(path);

    kw::DescriptionReading read = kw::LoadDescription(path);
    ASSERT_TRUE(read.ok) << read.message;
    EXPECT_TRUE(read.document == doc);
    EXPECT_EQ(read.document.Description, doc.Description);
    EXPECT_EQ(read.document.ProgramName, doc.ProgramName);
    ASSERT_EQ(kw::SaveDescription(read.document, path).code, 0u);
    EXPECT_EQ(ReadAll(path), first);

    // Text a person can read: UTF-8 as it is, one value per line, breaks and edges escaped.
    EXPECT_NE(first.find("\r\nProgramName=%20Café \"Deluxe\" <Pro>%20\r\n"), std::string::npos);
    EXPECT_NE(first.find("\r\nDescription=Line one%0D%0ALine two%0ALine three%0Dend%09100%25 = [done]; # not"),
              std::string::npos);
    EXPECT_NE(first.find("\r\nShortcutName=Viewer 👀\r\n"), std::string::npos);
    EXPECT_NE(first.find("%FF%FE not UTF-8 %00nul"), std::string::npos);
    EXPECT_EQ(first.find("\r\n\r\n\r\n"), std::string::npos);
    for (char c : first)
        EXPECT_TRUE(c == '\r' || c == '\n' || static_cast<unsigned char>(c) >= 0x20) << int(c);
}

TEST_F(DescriptionFile, PathsBelowItsFolderFollowAMove)
{
    const std::string path = Folder("work") + "tool.kwp";
    PluginDocument doc = FullDocument(Folder("work"));
    doc.ProgramFolder = Folder("work");  // the folder itself
    ASSERT_EQ(kw::SaveDescription(doc, path).code, 0u);
    const std::string text = ReadAll(path);
    EXPECT_NE(text.find("\r\nFolder=.\\\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nFile=src\\readme.txt\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nFile=D:\\Other\\Ω.dll\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nPath=bin\\tool.exe\r\n"), std::string::npos);
    EXPECT_EQ(text.find(root), std::string::npos) << "no absolute path below the folder";

    fs::rename(ToFs(root + "\\work"), ToFs(root + "\\moved elsewhere"));
    kw::DescriptionReading read = kw::LoadDescription(Folder("moved elsewhere") + "tool.kwp");
    ASSERT_TRUE(read.ok) << read.message;
    const std::string moved = Folder("moved elsewhere");
    EXPECT_EQ(read.document.ProgramFolder, moved);
    EXPECT_EQ(read.document.ProgramFiles,
              (std::vector<std::string>{moved + "src\\readme.txt", "D:\\Other\\Ω.dll", moved + "bin\\tool.exe"}));
    EXPECT_EQ(read.document.Executables[0].Path, moved + "bin\\tool.exe");
    EXPECT_EQ(read.document.Executables[9].Path, "E:\\漢字\\viewer.exe");
    // A sibling folder that merely starts with the same letters is not below it.
    doc = PluginDocument{};
    doc.ProgramFiles = {root + "\\moved elsewhere2\\x.dll"};
    EXPECT_NE(kw::FormatDescription(doc, root + "\\moved elsewhere").find("File=" + root + "\\moved elsewhere2\\x.dll"),
              std::string::npos);
}

TEST_F(DescriptionFile, DamagedFilesAreRefusedNamingFileAndLine)
{
    const std::string good = kw::FormatDescription(FullDocument(Folder("w")), Folder("w"));
    ASSERT_TRUE(kw::ParseDescription(good, Folder("w"), "x.kwp").ok);
    const struct {
        std::string text;
        std::string says;
    } cases[] = {
        {"", "line 1: no format version"},
        {std::string("\x89PNG\r\n\x1A\n\0\0\0", 11), "not UTF-8"},
        {"[Information]\r\nPluginName=x\r\n", "[Kitwright] must come first"},
        {"[Kitwright]\r\nFormat=1\r\n[Information]\r\nPluginName=a%4", "line 4: a \"%\""},
        {"[Kitwright]\r\nFormat=one\r\n", "line 2: \"Format\" must be a whole number"},
        {"[Kitwright]\r\nFormat=1\r\n[Information]\r\nColour=red\r\n", "line 4: the unknown name \"Colour\""},
        {"[Kitwright]\r\nFormat=1\r\n[Garden]\r\n", "line 3: the unknown section [Garden]"},
        {"[Kitwright]\r\nFormat=1\r\n[Executable 10]\r\n", "numbered 0 to 9"},
        {"[Kitwright]\r\nFormat=1\r\n[Program Files]\r\nCopyMode=Sideways\r\n", "Files or FolderTree"},
        {"[Kitwright]\r\nFormat=1\r\n[Executables]\r\nMenuGroup=a\r\nmenugroup=b\r\n",
         "line 5: \"menugroup\" a second time"},
        {"[Kitwright]\r\nFormat=1\r\n[Information]\r\n[information]\r\n", "a second time"},
        {"[Kitwright]\r\nFormat=1\r\njust words\r\n", "line 3: a line that is neither"},
        {"[Kitwright]\r\nFormat=1\r\n[Information\r\n", "closing"},
        {"[Kitwright]\r\nFormat=0\r\n", "format version 0"},
        {"[Kitwright]\r\nFormat=1\r\n[Information]\r\nIncludeAuthor=yes\r\n", "whole number"},
        {good.substr(0, good.size() / 2) + "\xC3", "not UTF-8"},
    };
    for (const auto& c : cases) {
        kw::DescriptionReading r = kw::ParseDescription(c.text, Folder("w"), "C:\\Work\\x.kwp");
        EXPECT_FALSE(r.ok) << c.says;
        EXPECT_FALSE(r.newer);
        EXPECT_NE(r.message.find("\"C:\\Work\\x.kwp\" is not a Kitwright description, or it is damaged ("),
                  std::string::npos)
            << r.message;
        EXPECT_NE(r.message.find(c.says), std::string::npos) << r.message;
    }
}

TEST_F(DescriptionFile, NewerFormatIsRefusedAsNewerWhateverFollows)
{
    const std::string path = Folder("w") + "future.kwp";
    MakeFile("w\\future.kwp",
             "\xEF\xBB\xBF; from a later Kitwright\r\n[Kitwright]\r\nFormat=2\r\n[Hologram]\r\nbinary\x01\xFF\r\n");
    kw::DescriptionReading r = kw::LoadDescription(path);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.newer);
    EXPECT_EQ(r.message, "\"" + path +
                             "\" was saved by a newer version of Kitwright (description format 2). "
                             "This version opens format 1 only.");

    r = kw::LoadDescription(Folder("w") + "absent.kwp");
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("absent.kwp\" does not exist."), std::string::npos) << r.message;
}

TEST_F(DescriptionFile, AHandWrittenFileNeedsOnlyWhatItSets)
{
    kw::DescriptionReading r = kw::ParseDescription(
        "  [kitwright]  \n format = 1 \n\n[Information]\nPluginName = Tiny \n# a comment\n[Executable "
        "2]\nPath=tiny.exe\n",
        Folder("w"), "tiny.kwp");
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.document.PluginName, "Tiny");
    EXPECT_EQ(r.document.Executables[2].Path, Folder("w") + "tiny.exe");
    EXPECT_EQ(r.document.ProgramFilesDest, kw::dstPrograms);
    EXPECT_EQ(r.document.SystemFilesDest, kw::dstSystem32);
    EXPECT_TRUE(r.document.Executables[0].IsBlank());
}

TEST_F(DescriptionFile, AReadOnlyOrMissingTargetKeepsWhatWasThere)
{
    const std::string path = MakeFile("w\\locked.kwp", "old bytes");
    fs::permissions(ToFs(path), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
#ifdef _WIN32
    SetFileAttributesW(ToFs(path).c_str(), FILE_ATTRIBUTE_READONLY);
#endif
    kw::DescriptionSaving s = kw::SaveDescription(FullDocument(Folder("w")), path);
    EXPECT_EQ(s.code, 5u);
    EXPECT_EQ(s.message.rfind("\"" + path + "\" could not be saved: ", 0), 0u) << s.message;
    EXPECT_GT(s.message.size(), path.size() + 24);
    EXPECT_EQ(ReadAll(path), "old bytes");
    EXPECT_EQ(std::distance(fs::directory_iterator(ToFs(root + "\\w")), fs::directory_iterator{}), 1);

    s = kw::SaveDescription(FullDocument(Folder("w")), root + "\\nowhere\\a.kwp");
    EXPECT_EQ(s.code, 3u);
    EXPECT_FALSE(fs::exists(ToFs(root + "\\nowhere")));
}

// ---- The document and the model ------------------------------------------------------------

TEST_F(DescriptionFile, DocumentGoesIntoAModelAndComesBackUnchanged)
{
    const std::string src = root + "\\src\\";
    PluginDocument doc = FullDocument(src);
    doc.SystemFilesDest = kw::dstSystem32;
    doc.ProgramFolder = src;
    doc.ProgramFiles = {src + "readme.txt", src + "helper.dll"};
    doc.Executables[9].Path = src + "viewer.exe";

    kw::clsKitwright kw;
    const std::vector<std::string> refused = kw::ApplyDocument(doc, kw);
    EXPECT_TRUE(refused.empty()) << refused.front();
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(kw.MaxExecutables(), 9);
    EXPECT_EQ(kw.ProgramFolder(), src + "*.*");
    EXPECT_EQ(kw.SystemFileCount(), 2);
    EXPECT_TRUE(kw::DocumentFromModel(kw) == doc);

    // Applied over a model that held another plugin, nothing of the old one stays.
    kw::clsKitwright other;
    other.MaxExecutables(9);
    other.Executable(5, src + "old.exe");
    other.ShortcutName(5, "Old");
    other.ProgramFile(src + "old.dll");
    other.AddFile(kw::fcSystemFiles, systemFolder + "\\old.sys");
    kw::ApplyDocument(doc, other);
    EXPECT_TRUE(kw::DocumentFromModel(other) == doc);
    // The check boxes the model keeps as preferences are stored as the window stores them.
    EXPECT_EQ(kw::clsKitwright().IncZelMenu(), kw::cvChecked);
    EXPECT_EQ(kw::clsKitwright().IncJuxMenu(), kw::cvUnchecked);
}

TEST_F(DescriptionFile, WhatTheModelRefusesIsListedNotShown)
{
    PluginDocument doc;
    doc.ProgramFiles = {"C:\\A\\x.dll", "D:\\B\\X.DLL"};
    doc.Executables[0].Path = "C:\\P\\run.exe";
    doc.Executables[4].Path = "D:\\Q\\RUN.exe";
    doc.Executables[4].ShortcutName = "Second";
    doc.SystemFiles = {"oledlg.dll", "..\\evil.dll"};

    kw::clsKitwright kw;
    std::vector<std::string> refused = kw::ApplyDocument(doc, kw);
    EXPECT_TRUE(prompt.shown.empty());
    ASSERT_EQ(refused.size(), 3u);
    EXPECT_EQ(refused[0], "\"D:\\B\\X.DLL\": A file with the same name is already in the list.");
    EXPECT_EQ(refused[1], "\"..\\evil.dll\": This is not a file name.");
    EXPECT_EQ(refused[2], "\"D:\\Q\\RUN.exe\": A file with the same name has already been selected");
    EXPECT_EQ(kw.Executable(4), "");
    EXPECT_EQ(kw.ShortcutName(4), "");
    EXPECT_EQ(kw.ProgramFileCount(), 1);
    ASSERT_EQ(kw.SystemFileCount(), 1);
    EXPECT_EQ(kw.SystemFileName(1), "oledlg.dll");

#ifndef _WIN32
    // A machine with no Windows folders at all (Windows always has them).
    kw::platform::SetSpecialFolderForTesting(kw::platform::kCsidlSystem, {});
    refused = kw::ApplyDocument(doc, kw);
    EXPECT_TRUE(prompt.shown.empty());
    ASSERT_EQ(refused.size(), 4u);
    EXPECT_EQ(refused[1], "\"oledlg.dll\": This computer has no folder for the chosen system-file destination.");
    EXPECT_EQ(kw.SystemFileCount(), 0);
#endif
}

}  // namespace
