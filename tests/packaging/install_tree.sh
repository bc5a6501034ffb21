#!/usr/bin/env bash
# Installs into a temporary DESTDIR as a package does, runs the installed programs' --version,
# and starts the installed setfolio off screen as a new user would: its settings file appears
# in the user's folder, setfolio-sim --com puts the program's COM1 there too, and nothing
# appears beside the executable.
#   install_tree.sh BUILD_DIR VERSION APP_ID
set -euo pipefail
build=$1 version=$2 id=$3
root=$(mktemp -d)
program=
trap '[ -z "$program" ] || kill "$program" 2>/dev/null || true; rm -rf "$root"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

DESTDIR=$root/stage cmake --install "$build" --prefix /usr >/dev/null
usr=$root/stage/usr
for file in bin/setfolio bin/setfolio-cli bin/setfolio-sim \
    share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
    share/mime/packages/$id.xml share/icons/hicolor/scalable/apps/$id.svg \
    share/man/man1/setfolio.1.gz share/man/man1/setfolio-cli.1.gz \
    share/man/man1/setfolio-sim.1.gz share/doc/setfolio/copyright \
    share/doc/setfolio/changelog.gz; do
    [ -f "$usr/$file" ] || fail "$file is not installed"
done
for size in 16 24 32 48 64 128 256; do
    png=$usr/share/icons/hicolor/${size}x${size}/apps/$id.png
    file "$png" | grep -q "PNG image data, $size x $size" || fail "no ${size}x$size icon"
done

# One version everywhere; setfolio answers without a display.
for name in setfolio setfolio-cli setfolio-sim; do
    said=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$usr/bin/$name" --version) ||
        fail "$name --version failed"
    [ "$said" = "$name $version" ] || fail "$name --version said '$said'"
done

home=$root/home config=$root/config
mkdir -p "$home"
export HOME=$home XDG_CONFIG_HOME=$config QT_QPA_PLATFORM=offscreen
env -u DISPLAY "$usr/bin/setfolio" --help | grep -qx "$config/Setfolio" ||
    fail "--help does not name $config/Setfolio"

# A first start: the language dialog is answered with German, which is stored at once.
SETFOLIO_ANSWER_LANGUAGE_DIALOG=1 "$usr/bin/setfolio" >"$root/out" 2>&1 &
program=$!
for _ in $(seq 200); do
    [ -s "$config/Setfolio/Setfolio.ini" ] && break
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$program" 2>/dev/null || fail "setfolio ended: $(cat "$root/out")"
kill "$program"
wait "$program" 2>/dev/null || true
program=
grep -q '^Language=1' "$config/Setfolio/Setfolio.ini" ||
    fail "no Language=1 in $config/Setfolio/Setfolio.ini"
[ "$(stat -c %a "$config/Setfolio")" = 700 ] || fail "the settings folder is not the user's own"
# The simulator puts the program's COM1 where the installed program looks for it.
"$usr/bin/setfolio-sim" --com 1 --program "$usr/bin/setfolio" >"$root/sim" 2>&1 &
program=$!
for _ in $(seq 100); do
    grep -q ready "$root/sim" && break
    sleep 0.1
done
[ -L "$config/Setfolio/ports/COM1" ] || fail "no COM1 link in $config/Setfolio/ports: $(cat "$root/sim")"
kill "$program"
wait "$program" 2>/dev/null || true
program=
beside=$(ls -A "$usr/bin" | tr '\n' ' ')
[ "$beside" = "setfolio setfolio-cli setfolio-sim " ] || fail "written beside the program: $beside"
exit $failed
