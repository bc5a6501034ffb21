#!/usr/bin/env bash
# Installs what is missing, builds, and makes the Debian package
# build/dev/setfolio_<version>_<arch>.deb; install it with
#   sudo apt-get install ./build/dev/setfolio_<version>_<arch>.deb
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
[ -f build/dev/CMakeCache.txt ] || cmake --preset dev >/dev/null
cmake --build --preset dev
cpack --config build/dev/CPackConfig.cmake -G DEB -B build/dev >/dev/null
ls build/dev/setfolio_*.deb
