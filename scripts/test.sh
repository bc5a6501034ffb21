#!/usr/bin/env bash
# Installs what is missing, builds everything from scratch (warnings are errors) and runs every
# test.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
rm -rf build/dev
cmake --preset ci
cmake --build --preset ci
ctest --preset ci --parallel "$(nproc)"
