#!/usr/bin/env bash
# The files the desktop reads pass its own validators, and the manual pages render without a
# warning: desktop entry, AppStream metainfo, MIME type, man pages, the package's changelog.
#   desktop_files.sh SOURCE_DIR BUILD_DIR VERSION RELEASE_DATE APP_ID
set -euo pipefail
source=$1 build=$2 version=$3 date=$4 id=$5
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

desktop-file-validate "$source/packaging/$id.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$build/packaging/$id.metainfo.xml" || fail "metainfo"
grep -q "<release version=\"$version\" date=\"$date\"" "$build/packaging/$id.metainfo.xml" ||
    fail "metainfo does not name release $version of $date"

# The MIME type: well-formed, and what update-mime-database makes of it maps *.lvf to it.
mime=$source/packaging/$id.mime.xml
xmllint --noout "$mime" || fail "MIME file is not well-formed XML"
mkdir -p "$scratch/mime/packages"
cp "$mime" "$scratch/mime/packages/$id.xml"
XDG_DATA_HOME=$scratch update-mime-database "$scratch/mime" 2>"$scratch/mime.err" || fail "update-mime-database"
[ ! -s "$scratch/mime.err" ] && echo "update-mime-database: no complaints" ||
    fail "update-mime-database: $(cat "$scratch/mime.err")"
grep -qx '50:application/x-setfolio-library:\*\.lvf' "$scratch/mime/globs2" ||
    fail "*.lvf is not mapped to application/x-setfolio-library"
grep -q '^MimeType=application/x-setfolio-library;$' "$source/packaging/$id.desktop" ||
    fail "the desktop entry does not open application/x-setfolio-library"

# The manual pages as lintian checks them: man(1) with groff's warnings, nothing on stderr.
for page in setfolio setfolio-cli setfolio-sim; do
    file=$build/packaging/man/$page.1
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
        man --warnings -E UTF-8 -l -Tutf8 -Z "$file" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$page.1: $warnings"
    grep -q "^\.TH .* $date \"Setfolio $version\"" "$file" || fail "$page.1 does not name $version"
    zcat "$build/packaging/man1/$page.1.gz" | cmp -s - "$file" || fail "$page.1.gz is stale"
done

# Bumping the version needs a changelog entry for it.
changelog=$source/packaging/changelog
[ "$(dpkg-parsechangelog -l "$changelog" -S Version)" = "$version" ] ||
    fail "the changelog's last entry is not $version"
[ "$(date -u -d "$(dpkg-parsechangelog -l "$changelog" -S Date)" +%F)" = "$date" ] ||
    fail "the changelog's last entry is not dated $date"
exit $failed
