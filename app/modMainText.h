#pragma once
// The text routines of modMain that need no window: portable, tested natively too.
#include <string>
#include <string_view>

namespace kw {

// Swallows (sets to 0) the characters a file name may not hold; \ : / pass only when
// allowed. Any other key code is left as it is.
void FilterFileNameKey(int& key, bool allowBackslash, bool allowColon, bool allowSlash);

// The text before the last "."; the name itself when it has none.
std::string RemoveExtension(std::string_view name);

// "\" appended unless the text is empty or already ends with one.
std::string AddBackslash(std::string_view text);

// The pixel width CompactPath fits a path into: 96 % of the control's width, rounded to
// the nearest whole number with halves to the even neighbour.
int CompactPathWidth(int controlWidth);

}  // namespace kw
