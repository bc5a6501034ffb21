#!/usr/bin/env bash
# Cross-builds the toolkit-free core and its unit tests for 64-bit Windows with mingw-w64 and runs
# them under wine; the test runner's summary comes last and a failing test fails the script.
# Installs what is missing (Debian 12 packages). The build lives in build/windows (kept between
# runs, compiled through ccache when it is there); wine's prefix lives in it too.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++-mingw-w64-x86-64-posix wine wine64 googletest nlohmann-json3-dev)
missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

build=build/windows
# Header-only packages the core needs, staged where the cross build looks for packages (never
# the build machine's /usr/include, whose C library headers are not the target's).
staging="$PWD/$build/staging"
mkdir -p "$staging/usr/include" "$staging/usr/share/cmake"
cp -a /usr/include/nlohmann "$staging/usr/include/"
cp -a /usr/share/cmake/nlohmann_json "$staging/usr/share/cmake/"

launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
if [ ! -f "$build/build.ninja" ]; then
    cmake -S . -B "$build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
        -DSETFOLIO_CROSS_STAGING="$staging" \
        -DSETFOLIO_CORE_ONLY=ON \
        -DSETFOLIO_GTEST_SOURCE_DIR=/usr/src/googletest \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" \
        -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
        "${launcher[@]}" >/dev/null
fi
cmake --build "$build" --parallel "$(nproc)" --target setfolio_unit_tests 2>&1 |
    { grep -v '^\[' || true; }

# No display: wine must neither wait for X nor offer to install Mono or Gecko.
export WINEPREFIX="$PWD/$build/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
unset DISPLAY WAYLAND_DISPLAY
status=0
wine "$build/tests/setfolio_unit_tests.exe" --gtest_brief=1 || status=$?
# Let this prefix's wine server go before returning, so nothing is left running.
wineserver -w || true
exit "$status"
