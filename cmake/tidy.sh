#!/usr/bin/env bash
# make tidy: clang-tidy with the checks of .clang-tidy, first over the portable core from the
# native compile database, then over the Windows code from the MinGW one (clang reads it for
# the MinGW target, with the cross compiler's own C++ library headers). Any finding fails.
set -eu
cd "$(dirname "$0")/.."
root=$PWD
jobs="${KW_TIDY_JOBS:-2}"
cmake --preset native >/dev/null
cmake --preset windows >/dev/null

# The compile databases carry GCC-only warning options (-Wno-error=restrict): clang skips them.
common=(-extra-arg=-Wno-unknown-warning-option)

status=0
echo "== clang-tidy: portable core (native)"
run-clang-tidy-14 -p build/native -j "$jobs" -quiet "${common[@]}" "^$root/(platform|model|writers|document|cli)/" || status=1

# The MinGW compiler's C++ headers, in its own order: clang would otherwise look for a C++
# library of its own.
args=("${common[@]}" -extra-arg=--target=x86_64-w64-mingw32 -extra-arg=-nostdinc++)
while read -r dir; do
  args+=("-extra-arg=-isystem$dir")
done < <(echo | x86_64-w64-mingw32-g++-posix -E -x c++ - -v 2>&1 |
         sed -n '/^#include <...> search starts here/,/^End of search list/p' | grep '/c++' | sed 's/^ *//')
echo "== clang-tidy: Windows code (MinGW)"
run-clang-tidy-14 -p build/windows -j "$jobs" -quiet "${args[@]}" \
  "^$root/(app|dialogs|winsupport|cli)/|^$root/platform/(Win32Platform|WinText)\.cpp$" || status=1
[ "$status" = 0 ] && echo "clang-tidy: no findings"
exit "$status"
