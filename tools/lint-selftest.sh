#!/usr/bin/env bash
# The lint must reject planted faults and name their file and line, and pass a clean tree.
set -uo pipefail
lint="$(cd "$(dirname "$0")" && pwd)/lint.sh"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "lint-selftest: $1"; exit 1; }

mkdir -p "$dir/clean" "$dir/wide" "$dir/comment" "$dir/name"
printf 'int n = lstrlenW(L"abc");\n' > "$dir/clean/ok.cpp"
"$lint" "$dir/clean" >/dev/null || fail "a clean tree was rejected"

printf '#include <wchar.h>\n\nsize_t n = wcslen(L"abc");\n' > "$dir/wide/bad.cpp"
out=$("$lint" "$dir/wide") && fail "wcslen was not caught"
echo "$out" | grep -q 'bad.cpp:3:' || fail "wcslen was caught without its file and line: $out"

printf 'std::wstring s;\n' > "$dir/wide/bad2.h"
out=$("$lint" "$dir/wide")
echo "$out" | grep -q 'bad2.h:1:' || fail "std::wstring was not caught: $out"

printf 'int a;\n// as Part'' 2.103 says\n' > "$dir/comment/c.cpp"
out=$("$lint" "$dir/comment") && fail "a numbered reference was not caught"
echo "$out" | grep -q 'c.cpp:2:' || fail "a numbered reference was caught without its line: $out"

printf '# see the spe''c\n' > "$dir/comment/notes.txt"
out=$("$lint" "$dir/comment")
echo "$out" | grep -q 'notes.txt:1:' || fail "the word was not caught in a text file: $out"

printf 'x\n' > "$dir/name/spe""c_notes.txt"
out=$("$lint" "$dir/name") && fail "a file name was not caught"
echo "$out" | grep -q "c_notes.txt" || fail "the file name was not named: $out"
echo "lint-selftest: ok"
