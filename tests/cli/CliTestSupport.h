#pragma once
// Shared by the console program's tests: runs kitwright-cli as its own process, in a fresh
// temporary folder, and compares folders byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "ChildProcess.h"

namespace kwtest {

namespace fs = std::filesystem;

inline std::string Utf8(const fs::path& p)
{
    std::u8string u = p.u8string();
    return std::string(u.begin(), u.end());
}

inline fs::path PathOf(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

// A path the build names (a Linux path); under Wine the same file is on drive Z:.
inline fs::path BuildPath(std::string path)
{
#ifdef _WIN32
    if (path.starts_with('/'))
        path = "Z:" + path;
#endif
    return PathOf(path);
}

inline fs::path CliExe() { return BuildPath(KW_CLI_EXE); }
inline fs::path CliData() { return BuildPath(KW_CLI_DATA); }

inline std::string ReadBytes(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteBytes(const fs::path& p, const std::string& bytes)
{
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary | std::ios::trunc) << bytes;
}

// Every file below a folder by its relative name ("files/x.cmd"), with its bytes.
inline std::map<std::string, std::string> FilesBelow(const fs::path& folder)
{
    std::map<std::string, std::string> files;
    if (!fs::exists(folder))
        return files;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (e.is_regular_file())
            files[Utf8(e.path().lexically_relative(folder).generic_u8string())] = ReadBytes(e.path());
    return files;
}

// Same names, same bytes; a difference is named by its first differing line.
inline void ExpectSameFolder(const fs::path& expected, const fs::path& actual)
{
    const auto want = FilesBelow(expected), got = FilesBelow(actual);
    ASSERT_FALSE(want.empty()) << "no expected files in " << Utf8(expected);
    for (const auto& [name, bytes] : want) {
        auto it = got.find(name);
        if (it == got.end()) {
            ADD_FAILURE() << "missing: " << name;
            continue;
        }
        if (it->second == bytes)
            continue;
        std::istringstream e(bytes), a(it->second);
        std::string le, la;
        int line = 1;
        while (std::getline(e, le) && std::getline(a, la) && le == la)
            ++line;
        ADD_FAILURE() << name << ": differs at line " << line << "\n expected: " << ::testing::PrintToString(le)
                      << "\n   actual: " << ::testing::PrintToString(la);
    }
    for (const auto& [name, bytes] : got)
        EXPECT_TRUE(want.count(name)) << "unexpected file: " << name;
}

// A platform's line ending in text the program writes to a pipe.
#ifdef _WIN32
inline const std::string kEol = "\r\n";
#else
inline const std::string kEol = "\n";
#endif

// The text the program shows for a path: on POSIX with "/" as it is given.
inline std::string Shown(const fs::path& p) { return Utf8(p.lexically_normal()); }

inline bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A fresh folder for each test, removed afterwards.
class CliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        base_ = fs::temp_directory_path() / ("kwcli-" + std::string(info->test_suite_name()) + "-" + info->name() +
                                             "-" + std::to_string(std::random_device{}()));
        fs::remove_all(base_);
        fs::create_directories(base_);
    }
    void TearDown() override
    {
        std::error_code ec;
        for (const auto& e : fs::recursive_directory_iterator(base_, ec))
            fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add, ec);
        fs::remove_all(base_, ec);
    }

    // kitwright-cli with these arguments, run in the test's folder (or `exe`, a copy).
    ChildResult Cli(const std::vector<std::string>& args) { return RunChild(Utf8(CliExe()), args, Utf8(base_)); }
    ChildResult CliAt(const fs::path& exe, const std::vector<std::string>& args)
    {
        return RunChild(Utf8(exe), args, Utf8(base_));
    }

    // A path of the test's folder as an argument.
    std::string Arg(const fs::path& p) const { return Utf8(p); }
    // A path below the test's folder as an argument.
    std::string In(const std::string& relative) const { return Utf8(base_ / PathOf(relative)); }

    // A description file written into the test's folder from lines (CR LF added).
    fs::path Description(const std::string& name, const std::vector<std::string>& lines)
    {
        std::string text;
        for (const std::string& line : lines)
            text += line + "\r\n";
        const fs::path path = base_ / PathOf(name);
        WriteBytes(path, text);
        return path;
    }

    fs::path base_;
};

}  // namespace kwtest
