// The command line itself: version, help, and what is not a valid command line.
#include "CliTestSupport.h"

using namespace kwtest;

namespace {

class Usage : public CliTest {
protected:
    // A usage error: exit 2, nothing on stdout, the reason and the way to help on stderr.
    void ExpectUsageError(const std::vector<std::string>& args, const std::string& reason)
    {
        const ChildResult r = Cli(args);
        EXPECT_EQ(r.code, 2) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(reason), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("kitwright-cli --help"), std::string::npos) << r.err;
        EXPECT_TRUE(fs::is_empty(base_)) << "something was written";
    }
};

}  // namespace

TEST_F(Usage, VersionAndHelpGoToStandardOutput)
{
    ChildResult r = Cli({"--version"});
    EXPECT_EQ(r.code, 0);
    // A pipe gets UTF-8 text; Windows ends its lines with CR LF.
#ifdef _WIN32
    EXPECT_EQ(r.out, "kitwright-cli 4.1.2\r\n");
#else
    EXPECT_EQ(r.out, "kitwright-cli 4.1.2\n");
#endif
    EXPECT_EQ(r.err, "");

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"}, std::vector<std::string>{"-h"}, std::vector<std::string>{"/?"}}) {
        r = Cli(args);
        EXPECT_EQ(r.code, 0) << args[0];
        EXPECT_EQ(r.err, "") << args[0];
        for (const char* word : {"create", "import", "check", "--ini", "--windows-folder", "Exit codes"})
            EXPECT_NE(r.out.find(word), std::string::npos) << args[0] << " lacks " << word << ":\n" << r.out;
    }

    r = Cli({"create", "--help"});
    EXPECT_EQ(r.code, 0);
    for (const char* word : {"DESCRIPTION.kwp", "--plugins", "--replace"})
        EXPECT_NE(r.out.find(word), std::string::npos) << word << ":\n" << r.out;
    EXPECT_TRUE(fs::is_empty(base_));
}

TEST_F(Usage, WrongCommandLinesEndWithTwo)
{
    ExpectUsageError({}, "command");
    ExpectUsageError({"make", "x.kwp"}, "make");
    ExpectUsageError({"create"}, "description");
    ExpectUsageError({"create", "a.kwp", "b.kwp"}, "b.kwp");
    ExpectUsageError({"create", "a.kwp", "--plugins"}, "--plugins");
    ExpectUsageError({"create", "a.kwp", "--force"}, "--force");
    ExpectUsageError({"import"}, "plugin");
    ExpectUsageError({"import", "Folder", "--replace"}, "--replace");
    ExpectUsageError({"check", "a.kwp", "-o", "x.kwp"}, "-o");
    ExpectUsageError({"check", "a.kwp", "--ini"}, "--ini");
    ExpectUsageError({"create", "a.kwp", "import", "b"}, "import");
}
