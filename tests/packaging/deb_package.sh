#!/usr/bin/env bash
# Builds the Debian package into a temporary folder (nothing is installed), lists what it holds
# and what it depends on, and runs lintian on it: no errors.
#   deb_package.sh BUILD_DIR VERSION APP_ID
set -euo pipefail
build=$1 version=$2 id=$3
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1 ||
    { cat "$out/cpack.log"; exit 1; }
deb=$out/setfolio_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { ls "$out"; exit 1; }

dpkg-deb -c "$deb" | awk '{print $6}' >"$out/contents"
for file in bin/setfolio bin/setfolio-cli bin/setfolio-sim share/applications/$id.desktop \
    share/metainfo/$id.metainfo.xml share/mime/packages/$id.xml \
    share/icons/hicolor/scalable/apps/$id.svg share/icons/hicolor/48x48/apps/$id.png \
    share/man/man1/setfolio.1.gz share/man/man1/setfolio-cli.1.gz \
    share/man/man1/setfolio-sim.1.gz share/doc/setfolio/copyright \
    share/doc/setfolio/changelog.gz share/doc/setfolio/examples/setfolio-backup.service \
    share/doc/setfolio/examples/setfolio-backup.timer; do
    grep -qx "./usr/$file" "$out/contents" || fail "the package lacks /usr/$file"
done
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 \
    libqt6serialport6 qt6-qpa-plugins; do
    [[ ", $depends," == *", $package "* || ", $depends," == *", $package,"* ]] ||
        fail "Depends lacks $package"
done
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package's version is not $version"

lintian --fail-on error --tag-display-limit 0 "$deb" | tee "$out/lintian.log" ||
    fail "lintian found errors"
exit $failed
