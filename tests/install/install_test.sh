#!/usr/bin/env bash
# What `make install` and `make package` deliver: the installed files, the menu entry and the
# metainfo checked by the freedesktop validators, and the .deb unpacked into a temporary root with
# its dependencies worked out by dpkg-shlibdeps. Status 77: skipped.
# Usage: install_test.sh BUILD_DIR
set -uo pipefail
skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*"; exit 1; }
for tool in desktop-file-validate appstreamcli dpkg-deb dpkg-shlibdeps cpack file; do
    command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/install-deps)"
done
work=$(mktemp -d "${TMPDIR:-/tmp}/palquin-install-XXXXXX")
trap 'rm -rf "$work"' EXIT
files_are() {  # root prefix
    diff <(cd "$1" && find . -type f | sort) <(printf "$2/%s\n" bin/palquin \
        share/applications/palquin.desktop share/icons/hicolor/scalable/apps/palquin.svg \
        share/metainfo/org.palquin.Palquin.metainfo.xml)
}

DESTDIR="$work/root" cmake --install "$1" --prefix /usr/local >"$work/log" 2>&1 || fail "install: $(cat "$work/log")"
files_are "$work/root" ./usr/local || fail "installed files differ from the list above"
share="$work/root/usr/local/share"
desktop-file-validate "$share/applications/palquin.desktop" || fail "desktop file"
grep -q '^Name\[ru\]=' "$share/applications/palquin.desktop" || fail "no Russian name"
appstreamcli validate --no-net "$share/metainfo/org.palquin.Palquin.metainfo.xml" || fail "metainfo"
file -b "$share/icons/hicolor/scalable/apps/palquin.svg" | grep -qi 'svg' || fail "icon is no SVG"

# The .deb, unpacked as dpkg would, without touching this machine's packages.
(cd "$1" && cpack -G DEB -B "$work/deb") >"$work/log" 2>&1 || fail "cpack: $(tail -20 "$work/log")"
deb=$(ls "$work"/deb/palquin_*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || fail "no .deb made: $(tail -5 "$work/log")"
dpkg-deb -x "$deb" "$work/unpacked" || fail "dpkg-deb -x"
files_are "$work/unpacked" ./usr || fail "packaged files differ from the list above"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6gui6 libqt6core6 libc6 'libstdc++6'; do
    grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
# Links open through xdg-open: recommended, so a plain install brings it without forcing it.
recommends=$(dpkg-deb -f "$deb" Recommends)
grep -qw xdg-utils <<<"$recommends" || fail "Recommends lacks xdg-utils: $recommends"
echo "PASSED: $(basename "$deb"), Depends: $depends, Recommends: $recommends"
