// The version routine over the program's own version block (linked into this exe).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "winsupport/VersionInfo.h"

namespace {

TEST(VersionInfo, ReadsTheProgramsBlock)
{
    kw::ProgramVersion v = kw::ReadProgramVersion();
    // File version 4,1,0,2: the third number is not the revision.
    EXPECT_EQ(v.major, 4);
    EXPECT_EQ(v.minor, 1);
    EXPECT_EQ(v.revision, 2);
    EXPECT_EQ(v.productName, "Kitwright");
    // UTF-8 in memory: the copyright sign arrives whole, and the text has no trailing NUL.
    EXPECT_EQ(v.legalCopyright.rfind("\xC2\xA9 2026 The Kitwright authors", 0), 0u) << v.legalCopyright;
    EXPECT_EQ(v.legalCopyright.find('\0'), std::string::npos);
    EXPECT_EQ(v.legalCopyright.back(), '.');
    EXPECT_EQ(kw::AppTitleWithVersion(), "Kitwright v4.1.2");
}

TEST(VersionInfo, AModuleWithoutABlockGivesNothing)
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    path.resize(path.find_last_of(L'\\') + 1);
    path += L"kw_foreign_window.exe";
    HMODULE other = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(other, nullptr);
    kw::ProgramVersion v = kw::ReadProgramVersion(other);
    FreeLibrary(other);
    EXPECT_EQ(v.major, 0);
    EXPECT_EQ(v.minor, 0);
    EXPECT_EQ(v.revision, 0);
    EXPECT_TRUE(v.legalCopyright.empty());
    EXPECT_TRUE(v.productName.empty());
}

}  // namespace
