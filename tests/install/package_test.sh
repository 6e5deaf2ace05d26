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
case "$(dpkg-deb -f "$deb" Recommends)" in *qt6-wayland*) ;; *) fail "the package does not recommend qt6-wayland" ;; esac
[ "$(dpkg-deb -f "$deb" Section)/$(dpkg-deb -f "$deb" Priority)" = science/optional ] ||
  fail "section and priority are $(dpkg-deb -f "$deb" Section)/$(dpkg-deb -f "$deb" Priority)"
pass "it recommends qt6-wayland, and is optional in science"

# No errors and no warnings. (This build lacks the packaging build's hardening flags, so
# the informational notes are checked by scripts/package.sh --install-check instead.)
if command -v lintian >/dev/null 2>&1; then
  lintian --fail-on error,warning "$deb" >"$TMP/lintian.log" 2>&1 || fail "lintian finds errors or warnings"
  pass "lintian finds no errors or warnings"
else
  echo "note: lintian is not installed; the package was not checked with it"
fi

dpkg-deb -c "$deb" | awk '{print $6}' >"$TMP/contents"
for f in usr/bin/zodovaz usr/bin/zodovaz-sim usr/bin/zodovaz-replay usr/bin/zodovaz-zkd \
         usr/share/zodovaz/dummy.mp3 usr/share/applications/zodovaz.desktop \
         usr/share/mime/packages/zodovaz.xml usr/share/icons/hicolor/scalable/apps/zodovaz.svg \
         usr/share/man/man1/zodovaz.1.gz usr/share/doc/zodovaz/copyright usr/share/doc/zodovaz/changelog.gz \
         usr/share/lintian/overrides/zodovaz usr/share/metainfo/example.vantorel.zodovaz.metainfo.xml \
         usr/share/zodovaz/samples/sample-session.zkd usr/share/zodovaz/samples/sample-session.wav; do
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
