#!/usr/bin/env bash
# make dist: build/dist/Kitwright-<version>.zip with the stripped x86-64 Kitwright.exe, its
# console program kitwright-cli.exe and the guide at the top, and the 32-bit exes with their
# own copy of the guide in 32-bit\ (the programs keep, or read, their INI beside themselves).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
version=$(sed -n 's/^project(Kitwright VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
name="Kitwright-$version"

cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target Kitwright kitwright-cli
cmake --preset windows-i686 >/dev/null
cmake --build --preset windows-i686 -j2 --target Kitwright kitwright-cli

stage="$top/build/dist/$name"
rm -rf "$top/build/dist"
mkdir -p "$stage/32-bit"
x86_64-w64-mingw32-strip -o "$stage/Kitwright.exe" "$top/build/windows/app/Kitwright.exe"
i686-w64-mingw32-strip -o "$stage/32-bit/Kitwright.exe" "$top/build/windows-i686/app/Kitwright.exe"
x86_64-w64-mingw32-strip -o "$stage/kitwright-cli.exe" "$top/build/windows/cli/kitwright-cli.exe"
i686-w64-mingw32-strip -o "$stage/32-bit/kitwright-cli.exe" "$top/build/windows-i686/cli/kitwright-cli.exe"
cp "$top/build/windows/app/Kitwright.txt" "$stage/Kitwright.txt"
cp "$top/build/windows-i686/app/Kitwright.txt" "$stage/32-bit/Kitwright.txt"

# Each exe must be what its folder says.
check_format() {
  local got
  got=$(x86_64-w64-mingw32-objdump -f "$1" | sed -n 's/.*file format //p')
  if [ "$got" != "$2" ]; then echo "dist: $1 is $got, expected $2" >&2; exit 1; fi
}
check_format "$stage/Kitwright.exe" pei-x86-64
check_format "$stage/kitwright-cli.exe" pei-x86-64
check_format "$stage/32-bit/kitwright-cli.exe" pei-i386
check_format "$stage/32-bit/Kitwright.exe" pei-i386

# The console programs: console subsystem, static, importing only Windows' own DLLs.
check_console() {
  local sub dll
  sub=$(x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^Subsystem[[:space:]]*[0-9a-f]*[[:space:]]*//p')
  if [ "$sub" != "(Windows CUI)" ]; then echo "dist: $1 is not a console program ($sub)" >&2; exit 1; fi
  for dll in $(x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z'); do
    case " kernel32.dll msvcrt.dll user32.dll shell32.dll ole32.dll advapi32.dll " in
      *" $dll "*) ;;
      *) echo "dist: $1 imports $dll, which Windows does not bring" >&2; exit 1 ;;
    esac
  done
}
check_console "$stage/kitwright-cli.exe"
check_console "$stage/32-bit/kitwright-cli.exe"

zip="$top/build/dist/$name.zip"
(cd "$top/build/dist" && cmake -E tar cf "$zip" --format=zip "$name")
echo "dist: $zip"
(cd "$top/build/dist" && cmake -E tar tvf "$zip") | sed 's/^/  /'
