#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
rm -rf build/asan
cmake --preset asan
cmake --build --preset asan
# Qt's own libraries keep a few objects for the life of the process; leaks are not what these
# runs look for.
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --preset asan --parallel "$(nproc)"
