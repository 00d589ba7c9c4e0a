// The console program's pieces in-process: its prompt, its command line, its paths.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/CommandLine.h"
#include "cli/ConsolePrompt.h"
#include "cli/Paths.h"
#include "cli/Run.h"
#include "platform/Platform.h"

using namespace kw;
using namespace kw::cli;

TEST(ConsolePromptTest, AnswersEveryQuestionNoAndWritesTheWindowsWordsToStderr)
{
    StringConsole console;
    ConsolePrompt prompt(console);
    ScopedPrompt scope(prompt);
    // Through the platform, as the model and the core show their messages.
    EXPECT_EQ(platform::ShowMessage(0, "Replace it?", "Kitwright", platform::kMbYesNo | platform::kMbIconQuestion),
              platform::kIdNo);
    EXPECT_FALSE(prompt.Warned());
    EXPECT_EQ(platform::ShowMessage(0, "Plugin has been created.\r\nExplore the Plugin Folder?", "Kitwright",
                                    platform::kMbOkCancel | platform::kMbIconInformation),
              platform::kIdCancel);
    EXPECT_EQ(platform::ShowMessage(0, "The chosen plugin folder already exists", "Attention",
                                    platform::kMbOk | platform::kMbIconWarning),
              platform::kIdOk);
    EXPECT_TRUE(prompt.Warned());
    EXPECT_EQ(console.out, "");
    EXPECT_EQ(console.err,
              "Kitwright: Replace it?\n"
              "Kitwright: Plugin has been created.\n  Explore the Plugin Folder?\n"
              "Attention: The chosen plugin folder already exists\n");
    EXPECT_EQ(prompt.Shown().size(), 3u);

    // Save changes? Yes/No/Cancel: No, never Yes; retry boxes give up.
    EXPECT_EQ(ConsolePrompt::Answer(0x3), platform::kIdNo);
    EXPECT_EQ(ConsolePrompt::Answer(0x5), platform::kIdCancel);
    EXPECT_EQ(ConsolePrompt::Answer(0x2), 3);  // abort
    EXPECT_EQ(ConsolePrompt::Answer(0x6), platform::kIdCancel);
    EXPECT_EQ(ConsolePrompt::Format("a\rb\nc\r\n", "T"), "T: a\n  b\n  c\n  ");
}

TEST(CommandLineTest, OptionsBeforeAndAfterTheCommand)
{
    StringConsole console;
    Options o;
    ASSERT_FALSE(ParseCommandLine(
        {"--ini", "my.ini", "create", "x.kwp", "--plugins", "out", "--replace", "--windows-folder", "D:\\WINNT"}, o,
        console));
    EXPECT_EQ(o.command, Command::Create);
    EXPECT_EQ(o.input, "x.kwp");
    EXPECT_EQ(o.pluginsFolder, "out");
    EXPECT_TRUE(o.replace);
    EXPECT_EQ(o.iniFile, "my.ini");
    EXPECT_EQ(o.windowsFolder, "D:\\WINNT");

    o = Options{};
    ASSERT_FALSE(ParseCommandLine({"import", "Plugins/Tool", "-o", "Tool.kwp", "--ini", "p.ini"}, o, console));
    EXPECT_EQ(o.command, Command::Import);
    EXPECT_EQ(o.input, "Plugins/Tool");
    EXPECT_EQ(o.output, "Tool.kwp");
    EXPECT_EQ(o.iniFile, "p.ini");
    EXPECT_FALSE(o.replace);

    o = Options{};
    ASSERT_FALSE(ParseCommandLine({"check", "/abs/Tool", "--plugins", "/out"}, o, console));
    EXPECT_EQ(o.command, Command::Check);
    EXPECT_EQ(o.input, "/abs/Tool");  // "/" starts a path, never an option
    EXPECT_EQ(o.pluginsFolder, "/out");
    EXPECT_EQ(console.out + console.err, "");

    // What ends at the command line: help and version on stdout, usage errors on stderr.
    EXPECT_EQ(ParseCommandLine({"--version"}, o, console), 0);
    EXPECT_EQ(console.out, "kitwright-cli 4.1.2\n");
    console.out.clear();
    EXPECT_EQ(ParseCommandLine({"check", "a", "--replace"}, o, console), 2);
    EXPECT_EQ(console.out, "");
    EXPECT_NE(console.err.find("--replace"), std::string::npos) << console.err;
}

TEST(CommandLineTest, MainRunsNothingOnAUsageErrorAndNeverThrows)
{
    StringConsole console;
    EXPECT_EQ(Main({"check"}, console), 2);
    EXPECT_EQ(Main({"frobnicate"}, console), 2);
    EXPECT_NE(console.err.find("\"frobnicate\" is not a command"), std::string::npos) << console.err;
}

TEST(PathsTest, ArgumentsBecomeAbsoluteModelPaths)
{
    namespace fs = std::filesystem;
    const std::string here = CurrentFolder();
    ASSERT_FALSE(here.empty());
    EXPECT_NE(here.back(), '\\');
    EXPECT_EQ(ModelPath("sub/../Tool.kwp"), here + "\\Tool.kwp");
    EXPECT_EQ(ModelPath("out/"), here + "\\out");
    EXPECT_EQ(ModelPath(""), "");
#ifdef _WIN32
    EXPECT_EQ(ModelPath("C:\\Plugins\\"), "C:\\Plugins");
    EXPECT_EQ(ModelPath("C:\\"), "C:\\");
    EXPECT_EQ(WindowsFolderPath("C:\\WINNT\\"), "C:\\WINNT");
    EXPECT_EQ(ForDisplay("C:\\Plugins\\Tool"), "C:\\Plugins\\Tool");
#else
    EXPECT_EQ(ModelPath("/srv/plugins/"), "\\srv\\plugins");
    EXPECT_EQ(ModelPath("/"), "\\");
    // A Windows folder is only a name here: taken as given.
    EXPECT_EQ(WindowsFolderPath("D:/WINNT/"), "D:\\WINNT");
    EXPECT_EQ(ForDisplay("\"\\srv\\plugins\\Tool\": the plugin folder exists already."),
              "\"/srv/plugins/Tool\": the plugin folder exists already.");
#endif
}
