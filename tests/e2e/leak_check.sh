#!/usr/bin/env bash
# One whole session of the real program under valgrind's leak checker: the
# end-to-end run (every window opened and closed, both readings, the calendar
# walked through a year, the exit question answered No twice and then Yes)
# with the program started by valgrind.
#
# Prints the leak totals and every definite or indirect leak whose stack
# passes through this repository's sources, and fails if there is one.
# Leaks inside the toolkit and the system libraries are reported in the log
# but are not ours to mend; valgrind.supp keeps the known ones out of it.
# Slow: expect several minutes.
#
# Usage: leak_check.sh [--binary PATH] [--gen-suppressions] [OUT_DIR]
#   --binary             the taliven program (default: build/app/taliven)
#   --gen-suppressions   write a suppression for every leak into the log
#   OUT_DIR              the valgrind log and the screenshots (default: /tmp/taliven-leaks)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(cd "$here/../.." && pwd)
binary=$repo/build/app/taliven
out=/tmp/taliven-leaks
gen_suppressions=no

while (($#)); do
  case $1 in
    --binary) binary=$2; shift 2 ;;
    --gen-suppressions) gen_suppressions=all; shift ;;
    -h|--help) sed -n '2,16p' "$0"; exit 0 ;;
    -*) echo "leak_check.sh: unknown option $1" >&2; exit 2 ;;
    *) out=$1; shift ;;
  esac
done

command -v valgrind >/dev/null || { echo "leak_check.sh: valgrind is not installed" >&2; exit 77; }
binary=$(cd "$(dirname "$binary")" && pwd)/$(basename "$binary")
mkdir -p "$out"
out=$(cd "$out" && pwd)
log=$out/valgrind.log
rm -f "$log"

launcher=$out/valgrind-launcher.sh
cat >"$launcher" <<EOF
#!/bin/sh
exec valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite,indirect \\
  --num-callers=50 --fullpath-after= --child-silent-after-fork=yes \\
  --gen-suppressions=$gen_suppressions \\
  --suppressions="$here/valgrind.supp" --log-file="$log" "\$@"
EOF
chmod +x "$launcher"

# Under valgrind the program runs some 20 to 50 times slower.
bash "$here/run_e2e.sh" --binary "$binary" --launcher "$launcher" --slowdown 20 "$out/screenshots"

[[ -s $log ]] || { echo "leak_check.sh: valgrind wrote no log to $log" >&2; exit 1; }
echo "leak_check.sh: totals (full log: $log)"
grep -E "(definitely|indirectly|possibly) lost:|still reachable:|suppressed:|ERROR SUMMARY" "$log" |
  sed 's/^==[0-9]*== */  /'

# A loss record runs from its "are definitely/indirectly lost" line to the
# next empty line. It is ours when the code that asked for the memory is:
# the first frame past the allocator and the standard library's inline
# templates lies in this repository. Every run starts in main(), so a frame
# of ours further out only says who called the library that leaked.
ours=$(awk -v repo="$repo/" '
  { sub(/^==[0-9]+== ?/, "") }
  /are (definitely|indirectly) lost in loss record/ { record = $0; inside = 1; decided = 0; mine = 0; next }
  inside && $0 == "" { if (mine) print record "\n"; inside = 0; next }
  inside {
    record = record "\n" $0
    if (!decided && /^ +(at|by) 0x/ && !/vgpreload_memcheck/ && !/\(\/usr\/include\//) {
      decided = 1
      mine = index($0, repo) > 0
    }
  }
' "$log")

if [[ -n $ours ]]; then
  echo "leak_check.sh: leaks through our code:"
  printf '%s\n' "$ours"
  exit 1
fi
echo "leak_check.sh: no definite or indirect leak passes through $repo"
