#pragma once
// The text routines of modMain that need no window: portable, tested natively too.
namespace kw {

// Swallows (sets to 0) the characters a file name may not hold; \ : / pass only when
// allowed. Any other key code is left as it is.
void FilterFileNameKey(int& key, bool allowBackslash, bool allowColon, bool allowSlash);

// The pixel width CompactPath fits a path into: 96 % of the control's width, rounded to
// the nearest whole number with halves to the even neighbour.
int CompactPathWidth(int controlWidth);

}  // namespace kw
