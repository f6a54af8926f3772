#!/usr/bin/env bash
# What `make install` and `make package` deliver: the installed file list, the menu entry and the
# metainfo checked by the freedesktop validators, and the .deb unpacked into a temporary root with
# its dependencies worked out by dpkg-shlibdeps. Status 77 means "skipped".
# Usage: install_test.sh BUILD_DIR
set -uo pipefail
build=$1
skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*"; exit 1; }
for tool in desktop-file-validate appstreamcli dpkg-deb dpkg-shlibdeps cpack file; do
    command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/install-deps)"
done
work=$(mktemp -d "${TMPDIR:-/tmp}/palquin-install-XXXXXX")
trap 'rm -rf "$work"' EXIT

expected_files() {  # prefix
    printf '%s\n' "$1/bin/palquin" \
        "$1/share/applications/palquin.desktop" \
        "$1/share/icons/hicolor/scalable/apps/palquin.svg" \
        "$1/share/metainfo/org.palquin.Palquin.metainfo.xml"
}

# make install: a DESTDIR install under the default prefix.
DESTDIR="$work/root" cmake --install "$build" --prefix /usr/local >"$work/install.log" 2>&1 ||
    fail "install failed: $(cat "$work/install.log")"
diff <(expected_files ./usr/local) <(cd "$work/root" && find . -type f | sort) ||
    fail "installed files differ from the list above"
share="$work/root/usr/local/share"
desktop-file-validate "$share/applications/palquin.desktop" || fail "desktop file"
grep -q '^Name\[ru\]=' "$share/applications/palquin.desktop" || fail "no Russian name"
appstreamcli validate --no-net "$share/metainfo/org.palquin.Palquin.metainfo.xml" || fail "metainfo"
file -b "$share/icons/hicolor/scalable/apps/palquin.svg" | grep -qi 'svg' || fail "icon is no SVG"
file -b "$work/root/usr/local/bin/palquin" | grep -q 'ELF.*executable' || fail "program is no executable"

# make package: the .deb, unpacked as dpkg would, without touching this machine's packages.
(cd "$build" && cpack -G DEB -B "$work/deb") >"$work/cpack.log" 2>&1 ||
    fail "cpack failed: $(tail -20 "$work/cpack.log")"
deb=$(ls "$work"/deb/palquin_*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || fail "no .deb made: $(tail -5 "$work/cpack.log")"
dpkg-deb -x "$deb" "$work/unpacked" || fail "dpkg-deb -x"
diff <(expected_files ./usr) <(cd "$work/unpacked" && find . -type f | sort) ||
    fail "packaged files differ from the list above"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6gui6 libqt6core6 libc6 'libstdc++6'; do
    grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
[ "$(dpkg-deb -f "$deb" Package)" = palquin ] || fail "package name"
echo "PASSED: $(basename "$deb"), Depends: $depends"
