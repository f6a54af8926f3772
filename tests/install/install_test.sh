#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What `make install` and `make package` deliver: the installed files, the menu entry and the
# metainfo checked by the freedesktop validators, the installed program keeping its catalogue in
# the user's data folder (whoever runs it, root too) and creating nothing for --help, and the .deb
# unpacked into a temporary root with its dependencies worked out by dpkg-shlibdeps and lintian's
# verdict. Status 77: skipped.
# Usage: install_test.sh BUILD_DIR
set -uo pipefail
skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*"; exit 1; }
for tool in desktop-file-validate appstreamcli dpkg-deb dpkg-shlibdeps cpack file lintian; do
    command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/install-deps)"
done
work=$(mktemp -d "${TMPDIR:-/tmp}/palquin-install-XXXXXX")
trap 'rm -rf "$work"' EXIT
files_are() {  # root prefix
    diff <(cd "$1" && find . -type f | sort) <(printf "$2/%s\n" bin/palquin \
        share/applications/palquin.desktop share/icons/hicolor/scalable/apps/palquin.svg \
        share/metainfo/org.palquin.Palquin.metainfo.xml share/man/man1/palquin.1.gz \
        share/doc/palquin/copyright share/doc/palquin/changelog.gz | sort)
}
# Everything under the folder, hidden files too, one name a line.
contents() { (cd "$1" && find . -mindepth 1 | sort); }

# The installed program run by this user (root when the tests run as root, who may write into
# its bin folder either way): --help and --version name the per-user catalogue and create
# nothing; the window keeps the catalogue there and writes nothing beside itself.
installed_program_keeps_to_the_users_folder() {  # bin folder
    local home="$work/home" status pid
    rm -rf "$home" && mkdir "$home"
    for option in --version --help; do
        env -u XDG_DATA_HOME HOME="$home" "$1/palquin" "$option" >"$work/out" 2>&1 ||
            fail "$option: $(cat "$work/out")"
        [ -z "$(contents "$home")" ] || fail "$option created: $(contents "$home")"
    done
    grep -qF "$home/.local/share/palquin/satellite.txt" "$work/out" ||
        fail "--help names another catalogue: $(grep -i satellite "$work/out")"
    env -u XDG_DATA_HOME HOME="$home" QT_QPA_PLATFORM=offscreen "$1/palquin" >"$work/out" 2>&1 &
    pid=$!
    for _ in $(seq 300); do
        [ -e "$home/.local/share/palquin/satellite.txt" ] && break
        kill -0 $pid 2>/dev/null || break
        sleep 0.1
    done
    kill -TERM $pid 2>/dev/null
    wait $pid
    status=$?
    [ $status -eq 0 ] || fail "the window ended with $status: $(cat "$work/out")"
    grep -q '^------------------' "$home/.local/share/palquin/satellite.txt" ||
        fail "no saved catalogue in the data folder: $(contents "$home")"
    [ "$(ls -A "$1")" = palquin ] || fail "written beside the program: $(ls -A "$1")"
}

DESTDIR="$work/root" cmake --install "$1" --prefix /usr/local >"$work/log" 2>&1 || fail "install: $(cat "$work/log")"
files_are "$work/root" ./usr/local || fail "installed files differ from the list above"
share="$work/root/usr/local/share"
desktop-file-validate "$share/applications/palquin.desktop" || fail "desktop file"
grep -q '^Name\[ru\]=' "$share/applications/palquin.desktop" || fail "no Russian name"
appstreamcli validate --no-net "$share/metainfo/org.palquin.Palquin.metainfo.xml" || fail "metainfo"
file -b "$share/icons/hicolor/scalable/apps/palquin.svg" | grep -qi 'svg' || fail "icon is no SVG"
installed_program_keeps_to_the_users_folder "$work/root/usr/local/bin"

# The .deb, unpacked as dpkg would, without touching this machine's packages.
(cd "$1" && cpack -G DEB -B "$work/deb") >"$work/log" 2>&1 || fail "cpack: $(tail -20 "$work/log")"
deb=$(ls "$work"/deb/palquin_*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || fail "no .deb made: $(tail -5 "$work/log")"
dpkg-deb -x "$deb" "$work/unpacked" || fail "dpkg-deb -x"
files_are "$work/unpacked" ./usr || fail "packaged files differ from the list above"
installed_program_keeps_to_the_users_folder "$work/unpacked/usr/bin"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6gui6 libqt6core6 libc6 'libstdc++6' qt6-translations-l10n libqt6svg6; do
    grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
# Links open through xdg-open: recommended, so a plain install brings it without forcing it.
recommends=$(dpkg-deb -f "$deb" Recommends)
grep -qw xdg-utils <<<"$recommends" || fail "Recommends lacks xdg-utils: $recommends"
# Errors fail; warnings are shown for the reader of the log.
lintian --tag-display-limit 0 "$deb" >"$work/lintian" 2>&1
cat "$work/lintian"
grep -q '^E:' "$work/lintian" && fail "lintian finds errors"
echo "PASSED: $(basename "$deb"), Depends: $depends, Recommends: $recommends"
