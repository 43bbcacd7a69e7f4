#!/usr/bin/env bash
# Fails when a C++ file of the tree differs from what clang-format makes of it.
# Generated files are left as their generator writes them.
#   tools/check-format.sh         list the files that need formatting
#   tools/check-format.sh --fix   format them in place
set -euo pipefail
cd "$(dirname "$0")/.."

clang_format=${CLANG_FORMAT:-clang-format}
mapfile -t files < <(git ls-files '*.cpp' '*.h' | grep -v -x -F -e readings/pinyin_index.cpp)

if [[ ${1:-} == --fix ]]; then
  "$clang_format" -i "${files[@]}"
  exit 0
fi

unformatted=()
for f in "${files[@]}"; do
  if ! "$clang_format" --dry-run --Werror "$f" >/dev/null 2>&1; then unformatted+=("$f"); fi
done
if ((${#unformatted[@]} > 0)); then
  printf 'Not formatted (run tools/check-format.sh --fix):\n' >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  exit 1
fi
echo "All ${#files[@]} C++ files are formatted."
