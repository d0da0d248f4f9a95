#!/usr/bin/env bash
# Every C++ file under src/, tools/, tests/ and bench/ is formatted as .clang-format says.
# Usage: check_format.sh <clang-format> <source-root>
set -u
clang_format=$1
root=$2
cd "$root" || exit 1
mapfile -d '' files < <(find src tools tests bench -type f \
    \( -name '*.cpp' -o -name '*.h' -o -name '*.hpp' -o -name '*.cc' \) -print0 | sort -z)
[ "${#files[@]}" -gt 0 ] || { echo "FAIL: no C++ files found under $root"; exit 1; }
if ! "$clang_format" --dry-run -Werror "${files[@]}"; then
    echo "FAIL: run clang-format -i on the files above"
    exit 1
fi
echo "PASS: ${#files[@]} files formatted"
