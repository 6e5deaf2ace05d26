#!/usr/bin/env bash
# The Debian package, made from this build into a temporary folder and looked at without
# installing it: its files, dependencies taken from the programs, and a program that runs
# from the unpacked tree.
# Usage: package_test.sh BUILD_DIR
set -uo pipefail
BUILD=$(cd "$1" && pwd)
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
. "$(dirname "$0")/lib.sh"
need cpack dpkg-deb dpkg-shlibdeps file

(cd "$BUILD" && cpack -G DEB -B "$TMP/pkg") >"$TMP/cpack.log" 2>&1 || fail "cpack -G DEB failed"
deb=$(ls "$TMP"/pkg/zodovaz_*.deb 2>/dev/null)
[ -n "$deb" ] || fail "cpack made no zodovaz_*.deb"
pass "cpack made $(basename "$deb")"

[ "$(dpkg-deb -f "$deb" Package)" = zodovaz ] || fail "the package is not named zodovaz"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6serialport6 libqt6multimedia6 libsndfile1 libc6; do
  case "$depends" in *"$lib "*) ;; *) fail "Depends lacks $lib: $depends" ;; esac
done
pass "dependencies come from the programs: $depends"

dpkg-deb -c "$deb" | awk '{print $6}' >"$TMP/contents"
for f in usr/bin/zodovaz usr/bin/zodovaz-sim usr/bin/zodovaz-replay usr/bin/zodovaz-zkd \
         usr/share/zodovaz/dummy.mp3 usr/share/applications/zodovaz.desktop \
         usr/share/mime/packages/zodovaz.xml usr/share/icons/hicolor/scalable/apps/zodovaz.svg \
         usr/share/man/man1/zodovaz.1.gz; do
  grep -qx "./$f" "$TMP/contents" || fail "the package lacks /$f"
done
if grep -v '^\./usr/' "$TMP/contents" | grep -qv '^\./$'; then
  fail "the package puts files outside /usr: $(grep -v '^\./usr/' "$TMP/contents")"
fi
pass "the package holds the installed tree under /usr"

dpkg-deb -x "$deb" "$TMP/x" || fail "dpkg-deb -x failed"
out=$("$TMP/x/usr/bin/zodovaz" --version 2>&1) || fail "zodovaz --version from the package failed: $out"
case "$out" in "zk3 Zodovaz "[0-9]*) ;; *) fail "zodovaz --version from the package printed: $out" ;; esac
pass "zodovaz --version from the unpacked package: $out"
