#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and
# runs the whole test suite under them (the asan preset, in build-asan/).
# Any report fails its test; the toolkit's own leaks are suppressed in
# tools/sanitizers/lsan.supp.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
cmake --preset asan
cmake --build --preset asan
ctest --preset asan
