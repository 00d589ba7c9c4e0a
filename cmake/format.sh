#!/usr/bin/env bash
# make format: applies .clang-format to the C++ files of the tree.
# make format-check (part of make test): fails, naming the files, when one is not formatted.
set -eu
cd "$(dirname "$0")/.."
mode="${1:-check}"
format=clang-format-14

files=()
while IFS= read -r f; do
  [ -f "$f" ] && files+=("$f")
done < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' | sort -u)

if [ "$mode" = apply ]; then
  "$format" -i "${files[@]}"
  exit 0
fi
if ! out=$("$format" --dry-run --Werror "${files[@]}" 2>&1); then
  echo "Not formatted (make format fixes them):" >&2
  echo "$out" | grep -oE '^[^:]+\.(cpp|h):' | tr -d ':' | sort -u | sed 's/^/  /' >&2
  exit 1
fi
echo "clang-format: ${#files[@]} files formatted"
