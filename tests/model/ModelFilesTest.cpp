#include <algorithm>
#include <random>

#include "ModelTestSupport.h"
#include "platform/RuntimeError.h"

using namespace kw;
using namespace kwtest;

namespace {

KeyedList ListOf(std::initializer_list<const char*> paths)
{
    KeyedList list;
    for (const char* p : paths) {
        std::string s = p;
        list.Add(s, platform::UpperCase(s.substr(s.rfind('\\') + 1)));
    }
    return list;
}

std::vector<std::string> Values(const KeyedList& list)
{
    std::vector<std::string> out;
    for (const auto& e : list.Entries())
        out.push_back(e.value);
    return out;
}

}  // namespace

class FileLists : public ModelTest {};

TEST_F(FileLists, SameFileNameIsSkippedSilently)
{
    clsKitwright kw;
    kw.AddFile(fcProgramFiles, "C:\\A\\x.dll");
    kw.AddFile(fcProgramFiles, "D:\\B\\X.DLL");
    kw.ProgramFile("E:\\x.Dll");
    kw.ProgramFile("");
    EXPECT_EQ(kw.ProgramFileCount(), 1);
    EXPECT_EQ(kw.ProgramFileAll(1), "C:\\A\\x.dll");
    EXPECT_TRUE(prompt.shown.empty());

    kw.AddFile(fcProgramFiles, "C:\\A\\\xC3\xA9t\xC3\xA9.txt");  // été.txt
    kw.AddFile(fcProgramFiles, "C:\\B\\\xC3\x89T\xC3\x89.TXT");  // ÉTÉ.TXT
    EXPECT_EQ(kw.ProgramFileCount(), 2);
}

TEST_F(FileLists, DeleteByFileNameIgnoringCase)
{
    clsKitwright kw;
    kw.AddFile(fcProgramFiles, "C:\\A\\x.dll");
    kw.AddFile(fcProgramFiles, "C:\\A\\y.dll");
    kw.DeleteFileFrom(fcProgramFiles, "Z.DLL");
    EXPECT_EQ(kw.ProgramFileCount(), 2);
    kw.DeleteFileFrom(fcProgramFiles, "X.DLL");
    ASSERT_EQ(kw.ProgramFileCount(), 1);
    EXPECT_EQ(kw.ProgramFileName(1), "y.dll");
    // The name is free again.
    kw.AddFile(fcProgramFiles, "D:\\X.DLL");
    EXPECT_EQ(kw.ProgramFileCount(), 2);
}

TEST_F(FileLists, ReadBackByPosition)
{
    clsKitwright kw;
    kw.AddFile(fcProgramFiles, "C:\\Prog\\a.exe");
    kw.AddFile(fcProgramFiles, "bare.txt");
    EXPECT_EQ(kw.ProgramFileName(1), "a.exe");
    EXPECT_EQ(kw.ProgramFilePath(1), "C:\\Prog\\");
    EXPECT_EQ(kw.ProgramFileName(2), "bare.txt");
    EXPECT_EQ(kw.ProgramFilePath(2), "bare.txt");
    for (int bad : {0, 3, -1}) {
        EXPECT_EQ(ErrorOf([&] { kw.ProgramFileAll(bad); }), 5) << bad;
        EXPECT_EQ(ErrorOf([&] { kw.ProgramFileName(bad); }), 5) << bad;
        EXPECT_EQ(ErrorOf([&] { kw.ProgramFilePath(bad); }), 5) << bad;
    }
    EXPECT_EQ(ErrorOf([&] { kw.SystemFileName(1); }), 5);
}

TEST_F(FileLists, InvalidSelectorsRaiseInvalidArgument)
{
    clsKitwright kw;
    EXPECT_EQ(ErrorOf([&] { kw.AddFile(FileCollection(2), "C:\\a"); }), 5);
    EXPECT_EQ(ErrorOf([&] { kw.DeleteFileFrom(FileCollection(-1), "a"); }), 5);
    EXPECT_EQ(ErrorOf([&] { kw.GetDestinationData(FileCollection(2), dfInfCode); }), 5);
    EXPECT_EQ(ErrorOf([&] { kw.DoSortCollection(KeyedList(), CompareMethod(2)); }), 5);
    EXPECT_EQ(kw.ProgramFileCount() + kw.SystemFileCount(), 0);
}

TEST_F(FileLists, SortByTextOrExactCompare)
{
    clsKitwright kw;
    const KeyedList input = ListOf({"C:\\b.exe", "C:\\B.txt", "C:\\a.dll"});
    EXPECT_EQ(Values(kw.DoSortCollection(input, vbTextCompare)),
              (std::vector<std::string>{"C:\\a.dll", "C:\\b.exe", "C:\\B.txt"}));
    EXPECT_EQ(Values(kw.DoSortCollection(input, vbBinaryCompare)),
              (std::vector<std::string>{"C:\\B.txt", "C:\\a.dll", "C:\\b.exe"}));
    EXPECT_EQ(Values(input), (std::vector<std::string>{"C:\\b.exe", "C:\\B.txt", "C:\\a.dll"}));
    EXPECT_EQ(Values(kw.DoSortCollection(ListOf({"C:\\b.exe", "C:\\A.dll", "C:\\a.txt"}), vbTextCompare)),
              (std::vector<std::string>{"C:\\A.dll", "C:\\a.txt", "C:\\b.exe"}));
    EXPECT_EQ(kw.DoSortCollection(KeyedList(), vbTextCompare).Count(), 0);

    const KeyedList sorted = kw.DoSortCollection(input, vbTextCompare);
    EXPECT_TRUE(sorted.Contains("b.EXE"));
    EXPECT_EQ(sorted.Entries()[0].key, "A.DLL");
}

TEST_F(FileLists, SortOfManyEntriesMatchesAStableSort)
{
    clsKitwright kw;
    std::mt19937 rng(7);
    const char* folders[] = {"C:\\P\\", "C:\\p\\sub\\", "D:\\", "C:\\P\\Sub\\"};
    KeyedList input;
    std::vector<std::string> expected;
    for (int i = 0; input.Count() < 400; ++i) {
        std::string name;
        for (int n = 0; n < 3; ++n)
            name += "aAbB_-1"[rng() % 7];
        std::string path = folders[rng() % 4] + name + "." + std::to_string(i % 5);
        if (input.Add(path, platform::UpperCase(name + "." + std::to_string(i % 5))))
            expected.push_back(path);
    }
    std::stable_sort(expected.begin(), expected.end(),
                     [](const std::string& a, const std::string& b) { return platform::CompareText(a, b) < 0; });
    EXPECT_EQ(Values(kw.DoSortCollection(input, vbTextCompare)), expected);
    std::stable_sort(expected.begin(), expected.end());
    EXPECT_EQ(Values(kw.DoSortCollection(input, vbBinaryCompare)), expected);
}

TEST_F(FileLists, ProgramFolderPattern)
{
    clsKitwright kw;
    EXPECT_EQ(kw.ProgramFolder(), "");
    kw.ProgramFolder("C:\\Prog");
    EXPECT_EQ(kw.ProgramFolder(), "C:\\Prog\\*.*");
    kw.ProgramFolder("C:\\Prog\\");
    EXPECT_EQ(kw.ProgramFolder(), "C:\\Prog\\*.*");
    kw.ProgramFolder("");
    EXPECT_EQ(kw.ProgramFolder(), "C:\\Prog\\*.*");
    kw.AddFile(fcProgramFiles, "C:\\x");
    kw.ClearProgramFiles();
    EXPECT_EQ(kw.ProgramFolder(), "");
    EXPECT_EQ(kw.ProgramFileCount(), 0);
}

TEST_F(FileLists, SystemFilesMustComeFromTheDestinationFolder)
{
    clsKitwright kw;
    kw.SystemFilesDest(dstSystem32);
    EXPECT_EQ(kw.SystemFilesFolder(), systemFolder + "\\");

    std::string upper = platform::UpperCase(systemFolder) + "\\KERNEL.DLL";
    kw.AddFile(fcSystemFiles, upper);
    EXPECT_EQ(kw.SystemFileCount(), 1);
    EXPECT_TRUE(prompt.shown.empty());

    kw.AddFile(fcSystemFiles, systemFolder + "\\drivers\\x.sys");
    kw.AddFile(fcSystemFiles, windowsFolder + "\\win.ini");
    EXPECT_EQ(kw.SystemFileCount(), 1);
    ASSERT_EQ(prompt.shown.size(), 2u);
    for (const ShownMessage& m : prompt.shown) {
        EXPECT_EQ(m.text, "The file location must match the selected destination");
        EXPECT_EQ(m.title, "Attention");
        EXPECT_EQ(m.style, platform::kMbOk | platform::kMbIconWarning);
        EXPECT_EQ(m.owner, 0u);
    }

    kw.SystemFilesDest(dstWindows);
    EXPECT_TRUE(kw.IsSystemFilePathOk(windowsFolder + "\\win.ini"));
    kw.AddFile(fcSystemFiles, windowsFolder + "\\win.ini");
    EXPECT_EQ(kw.SystemFileName(2), "win.ini");

    kw.ClearSystemFiles();
    EXPECT_EQ(kw.SystemFileCount(), 0);
}

TEST_F(FileLists, UnresolvedSystemFolderRefusesEverything)
{
    clsKitwright kw;
    kw.SystemFilesDest(Destination(0x7F0F));  // no shell folder has this number
    EXPECT_EQ(kw.SystemFilesFolder(), "");
    kw.AddFile(fcSystemFiles, systemFolder + "\\a.dll");
    kw.AddFile(fcSystemFiles, "");
    EXPECT_EQ(kw.SystemFileCount(), 0);
    EXPECT_EQ(prompt.shown.size(), 2u);
}

TEST_F(FileLists, DestinationCodesAndPaths)
{
    clsKitwright kw;
    kw.PluginName("Tool");
    kw.ProgramFilesDest(dstPrograms);
    kw.SystemFilesDest(dstWindows);
    EXPECT_EQ(kw.GetDestinationData(fcProgramFiles, dfInfCode), "a");
    EXPECT_EQ(kw.GetDestinationData(fcProgramFiles, dfEnvironmentPath), "%SystemDrive%\\Programs\\Tool\\");
    EXPECT_EQ(kw.GetDestinationData(fcProgramFiles, dfZelMenuPath), "@GetProgramDrive()\\Programs\\Tool\\");
    EXPECT_EQ(kw.GetDestinationData(fcSystemFiles, dfInfCode), "1");
    EXPECT_EQ(kw.GetDestinationData(fcSystemFiles, dfEnvironmentPath), "%SystemRoot%\\");
    EXPECT_EQ(ErrorOf([&] { kw.GetDestinationData(fcSystemFiles, dfZelMenuPath); }), 5);

    kw.ProgramFilesDest(dstSystem32);
    EXPECT_EQ(kw.GetDestinationData(fcProgramFiles, dfInfCode), "2");
    EXPECT_EQ(kw.GetDestinationData(fcProgramFiles, dfEnvironmentPath), "%SystemRoot%\\System32\\");
    EXPECT_EQ(kw.GetDestinationData(fcProgramFiles, dfZelMenuPath), "@GetWinDir()\\System32\\");
    EXPECT_EQ(ErrorOf([&] { kw.GetDestinationData(fcProgramFiles, DestinationFormat(3)); }), 5);

    kw.ProgramFilesDest(Destination(0));  // before the window has chosen one
    EXPECT_EQ(ErrorOf([&] { kw.GetDestinationData(fcProgramFiles, dfInfCode); }), 5);
}

TEST_F(FileLists, DestinationListsSelectTheirDefaults)
{
    clsKitwright kw;
    RecordingList programs, system;
    programs.items = {"old"};
    kw.LoadProgramFilesDestinationsTo(programs);
    kw.LoadSystemFilesDestinationsTo(system);
    EXPECT_EQ(programs.items, (std::vector<std::string>{"Programs\\", "System32"}));
    EXPECT_EQ(programs.clicks, std::vector<int>{0});
    EXPECT_EQ(system.items, (std::vector<std::string>{"i386", "System32"}));
    EXPECT_EQ(system.clicks, std::vector<int>{1});
}
