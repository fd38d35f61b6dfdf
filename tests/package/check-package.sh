#!/bin/bash
# check-package.sh <build folder>: builds the Debian package from the build and checks it.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/out/*.deb)
listing=$(dpkg-deb -c "$deb")
for file in ./usr/bin/corvane \
            ./usr/share/applications/corvane.desktop \
            ./usr/share/icons/hicolor/scalable/apps/corvane.svg \
            ./usr/share/man/man1/corvane.1.gz \
            ./usr/share/corvane/data/cvnpref.txt ./usr/share/corvane/data/cw.txt ./usr/share/corvane/data/log.txt \
            ./usr/share/corvane/data/readCVN.txt ./usr/share/corvane/data/wave2.txt; do
    grep -Eq " $file\$" <<<"$listing" || fail "$file is not in the package"
done
grep -Eq '^-rwxr-xr-x .* \./usr/bin/corvane$' <<<"$listing" || fail "corvane is not executable"
# The report's coastlines go along when the build made them.
if [ -f "$build/data/coastlines.txt" ]; then
    grep -Eq " \./usr/share/corvane/data/coastlines\.txt\$" <<<"$listing" || fail "the coastlines are not in the package"
fi
[ "$(dpkg-deb -f "$deb" Package)" = corvane ] || fail "package name"
dpkg-deb -f "$deb" Depends | grep -q libqt6serialport6 || fail "Depends lacks the serial port library"

dpkg-deb -x "$deb" "$work/root"
desktop-file-validate "$work/root/usr/share/applications/corvane.desktop" || fail "desktop-file-validate"
grep -qx 'Exec=corvane --desktop' "$work/root/usr/share/applications/corvane.desktop" || fail "Exec line"
grep -qx 'Icon=corvane' "$work/root/usr/share/applications/corvane.desktop" || fail "Icon line"
page=$(zcat "$work/root/usr/share/man/man1/corvane.1.gz")
grep -q '^\.TH CORVANE 1' <<<"$page" || fail "man page heading"
grep -q 'corvane cabrillo' <<<"$page" || fail "man page lacks the commands of --help"
grep -q 'desktop' <<<"$page" || fail "man page lacks --desktop"
grep -q 'corvane report' <<<"$page" || fail "man page lacks the report"
# The installed program runs from its installed place.
"$work/root/usr/bin/corvane" --help | grep -q '^Usage: corvane' || fail "installed corvane --help"
# Debian's own checker: no errors and no warnings.
if command -v lintian >/dev/null 2>&1; then
    lintian --fail-on error,warning --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 ||
        { cat "$work/lintian.log"; fail "lintian"; }
    grep -E '^[EW]: ' "$work/lintian.log" && fail "lintian reports errors or warnings"
else
    echo "lintian is not installed: the package was not checked by it (scripts/install-deps.sh installs it)" >&2
fi
echo "package ok: $(basename "$deb")"
