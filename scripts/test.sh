#!/usr/bin/env bash
# Installs what is missing, builds everything from scratch and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
rm -rf build/dev
cmake --preset dev >/dev/null
cmake --build --preset dev
ctest --preset dev --parallel "$(nproc)"
