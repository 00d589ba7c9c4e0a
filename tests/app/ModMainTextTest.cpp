#include <gtest/gtest.h>

#include <string>

#include "app/modMainText.h"

using kw::FilterFileNameKey;

namespace {

int Filtered(int key, bool backslash, bool colon, bool slash)
{
    FilterFileNameKey(key, backslash, colon, slash);
    return key;
}

TEST(FilterFileNameKey, SwallowsWhatNoFileNameMayHold)
{
    for (int key : std::initializer_list<int>{'"', '*', '<', '>', '?', '^', '|'}) {
        EXPECT_EQ(Filtered(key, false, false, false), 0) << key;
        EXPECT_EQ(Filtered(key, true, true, true), 0) << key;
    }
}

TEST(FilterFileNameKey, SeparatorsPassOnlyWhenAllowed)
{
    EXPECT_EQ(Filtered('\\', false, true, true), 0);
    EXPECT_EQ(Filtered('\\', true, false, false), '\\');
    EXPECT_EQ(Filtered(':', false, false, false), 0);
    EXPECT_EQ(Filtered(':', false, true, false), ':');
    EXPECT_EQ(Filtered('/', false, false, false), 0);
    EXPECT_EQ(Filtered('/', false, false, true), '/');
    // A website box: colon and slash pass, the backslash does not.
    std::string typed;
    for (char c : std::string("a:b\\c/d?")) {
        int key = static_cast<unsigned char>(c);
        FilterFileNameKey(key, false, true, true);
        if (key)
            typed += static_cast<char>(key);
    }
    EXPECT_EQ(typed, "a:bc/d");
}

TEST(FilterFileNameKey, EverythingElsePassesUnchanged)
{
    for (int key : std::initializer_list<int>{'a', 'Z', '0', '9', ' ', '.', '-', '_', 8, 13, 27, 0xE9, 0x20AC}) {
        EXPECT_EQ(Filtered(key, false, false, false), key) << key;
        EXPECT_EQ(Filtered(key, true, true, true), key) << key;
    }
}

TEST(CompactPathWidth, NinetySixPercentRoundedToNearest)
{
    EXPECT_EQ(kw::CompactPathWidth(100), 96);
    EXPECT_EQ(kw::CompactPathWidth(250), 240);
    EXPECT_EQ(kw::CompactPathWidth(13), 12);  // 12.48
    EXPECT_EQ(kw::CompactPathWidth(38), 36);  // 36.48
    EXPECT_EQ(kw::CompactPathWidth(39), 37);  // 37.44
    EXPECT_EQ(kw::CompactPathWidth(40), 38);  // 38.40
    EXPECT_EQ(kw::CompactPathWidth(42), 40);  // 40.32
    EXPECT_EQ(kw::CompactPathWidth(12), 12);  // 11.52
    EXPECT_EQ(kw::CompactPathWidth(0), 0);
}

}  // namespace
