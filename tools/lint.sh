#!/usr/bin/env bash
# Fails, naming file and line, on glibc or libstdc++ wide-character functions in sources
# (wrong with the 16-bit wchar_t of Winelib) and on references to the design documents'
# numbering in any file or file name. Usage: lint.sh [root]
set -uo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root" || exit 2

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  files=$(git ls-files --cached --others --exclude-standard | while read -r f; do [ -f "$f" ] && echo "$f"; done)
else
  files=$(find . -type f -not -path './build/*' -not -path './.git/*' | sed 's|^\./||')
fi

wide='wcslen|wcsnlen|wcscpy|wcsncpy|wcscat|wcsncat|wcscmp|wcsncmp|wcsicmp|wcscasecmp|wcschr|wcsrchr|wcsstr|wcstok|wcsspn|wcscspn|wcspbrk|wcscoll|wcsxfrm|wcsdup|wcstol|wcstoul|wcstoll|wcstoull|wcstod|wcstof|wcsftime|wmemcpy|wmemmove|wmemset|wmemcmp|wmemchr|swprintf|vswprintf|wprintf|vwprintf|fwprintf|vfwprintf|swscanf|wscanf|fwscanf|mbstowcs|wcstombs|mbtowc|wctomb|mbrtowc|wcrtomb|towupper|towlower|iswalpha|iswdigit|iswspace|fgetws|fputws|getwc|putwc|wstring|wstringstream|wostringstream|wistringstream|wcout|wcerr|wcin|to_wstring|wregex'
word="spe""c"
design="\\b${word}(ification|ifications|s)?\\b|\\bPart [0-9]+\\.[0-9]+"

status=0
sources=$(echo "$files" | grep -E '\.(c|cc|cpp|cxx|h|hh|hpp|inl|rc)$' || true)
if [ -n "$sources" ]; then
  hits=$(echo "$sources" | tr '\n' '\0' | xargs -0 grep -HnwE "$wide" 2>/dev/null)
  if [ -n "$hits" ]; then
    echo "lint: glibc/libstdc++ wide-character functions (wrong with 16-bit wchar_t):"
    echo "$hits"
    status=1
  fi
fi
if [ -n "$files" ]; then
  hits=$(echo "$files" | tr '\n' '\0' | xargs -0 grep -HnIiE "$design" 2>/dev/null)
  if [ -n "$hits" ]; then
    echo "lint: references to the design documents' numbering:"
    echo "$hits"
    status=1
  fi
  names=$(echo "$files" | grep -iE "${word}|part[-_ ]?[0-9]")
  if [ -n "$names" ]; then
    echo "lint: file names that refer to the design documents:"
    echo "$names"
    status=1
  fi
fi
exit $status
