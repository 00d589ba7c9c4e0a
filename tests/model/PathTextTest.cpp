#include <gtest/gtest.h>

#include "model/PathText.h"

namespace {

TEST(RemoveExtension, CutsAtTheLastDot)
{
    EXPECT_EQ(kw::RemoveExtension("tool.setup.exe"), "tool.setup");
    EXPECT_EQ(kw::RemoveExtension("README"), "README");
    EXPECT_EQ(kw::RemoveExtension(".hidden"), "");
    EXPECT_EQ(kw::RemoveExtension("name."), "name");
    EXPECT_EQ(kw::RemoveExtension(""), "");
}

TEST(AddBackslash, AppendsOneUnlessEmptyOrPresent)
{
    EXPECT_EQ(kw::AddBackslash("C:\\Plugins"), "C:\\Plugins\\");
    EXPECT_EQ(kw::AddBackslash("C:\\Plugins\\"), "C:\\Plugins\\");
    EXPECT_EQ(kw::AddBackslash(""), "");
    EXPECT_EQ(kw::AddBackslash("C:"), "C:\\");
}

}  // namespace
