#!/usr/bin/env bash
# An install into a temporary folder: every file where the desktop expects it, a valid
# menu entry, a file type the MIME database maps *.zkd to, man pages that render, and
# programs that run from there.
# Usage: install_test.sh BUILD_DIR
set -uo pipefail
BUILD=$(cd "$1" && pwd)
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
. "$(dirname "$0")/lib.sh"
need desktop-file-validate update-mime-database man identify appstreamcli

install_into_temp
for f in bin/zodovaz bin/zodovaz-sim bin/zodovaz-replay bin/zodovaz-zkd \
         share/zodovaz/dummy.mp3 share/applications/zodovaz.desktop share/mime/packages/zodovaz.xml \
         share/icons/hicolor/scalable/apps/zodovaz.svg share/icons/hicolor/48x48/apps/zodovaz.png \
         share/icons/hicolor/256x256/apps/zodovaz.png \
         share/man/man1/zodovaz.1.gz share/man/man1/zodovaz-sim.1.gz share/man/man1/zodovaz-replay.1.gz \
         share/man/man1/zodovaz-zkd.1.gz share/zodovaz/samples/sample-session.zkd \
         share/zodovaz/samples/sample-session.wav share/metainfo/example.vantorel.zodovaz.metainfo.xml \
         share/doc/zodovaz/copyright share/doc/zodovaz/changelog.gz share/lintian/overrides/zodovaz; do
  [ -s "$ROOT/$f" ] || fail "$f was not installed (or is empty)"
done
for p in bin/zodovaz bin/zodovaz-sim bin/zodovaz-replay bin/zodovaz-zkd; do
  [ -x "$ROOT/$p" ] || fail "$p is not executable"
done
pass "every file is installed"

for px in 48 256; do
  size=$(identify -format '%wx%h' "$ROOT/share/icons/hicolor/${px}x${px}/apps/zodovaz.png" 2>&1)
  [ "$size" = "${px}x${px}" ] || fail "the ${px} px icon is $size"
done
grep -q '<svg' "$ROOT/share/icons/hicolor/scalable/apps/zodovaz.svg" || fail "the scalable icon is no SVG"
pass "icons have their sizes"

desktop-file-validate "$ROOT/share/applications/zodovaz.desktop" >"$TMP/desktop-file-validate.log" 2>&1 ||
  fail "desktop-file-validate rejects the menu entry"
grep -qx 'Exec=zodovaz %f' "$ROOT/share/applications/zodovaz.desktop" || fail "the menu entry does not run zodovaz %f"
grep -qx 'Name=zk3 Zodovaz' "$ROOT/share/applications/zodovaz.desktop" || fail "the menu entry has another name"
grep -q '^MimeType=.*application/x-zodovaz-recording;' "$ROOT/share/applications/zodovaz.desktop" ||
  fail "the menu entry does not open recordings"
pass "the menu entry is valid"

appstreamcli validate --no-net "$ROOT/share/metainfo/example.vantorel.zodovaz.metainfo.xml" \
  >"$TMP/appstreamcli.log" 2>&1 || fail "appstreamcli rejects the software-centre entry"
grep -q '<launchable type="desktop-id">zodovaz.desktop</launchable>' \
  "$ROOT/share/metainfo/example.vantorel.zodovaz.metainfo.xml" || fail "the software-centre entry launches another entry"
pass "the software-centre entry is valid"

head -n 1 "$ROOT/share/doc/zodovaz/copyright" |
  grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "the copyright file is not in Debian's machine-readable form"
grep -qx 'License: Expat' "$ROOT/share/doc/zodovaz/copyright" || fail "the copyright file does not give the MIT (Expat) licence"
zcat "$ROOT/share/doc/zodovaz/changelog.gz" | head -n 1 | grep -q '^zodovaz (' ||
  fail "the changelog is not a Debian changelog"
pass "the copyright file and the changelog are in Debian's form"

# The MIME database, built from a copy: x.zkd maps to the recording type.
mkdir -p "$TMP/mime/packages"
cp "$ROOT/share/mime/packages/zodovaz.xml" "$TMP/mime/packages/"
update-mime-database "$TMP/mime" >"$TMP/update-mime-database.log" 2>&1 || fail "update-mime-database failed"
grep -q '^[0-9]*:application/x-zodovaz-recording:\*\.zkd$' "$TMP/mime/globs2" ||
  fail "the MIME database does not map *.zkd to the recording type: $(cat "$TMP/mime/globs2")"
[ -f "$TMP/mime/application/x-zodovaz-recording.xml" ] || fail "the MIME database has no entry for the recording type"
pass "x.zkd is a zk3 Zodovaz recording"

for prog in zodovaz zodovaz-sim zodovaz-replay zodovaz-zkd; do
  page="$ROOT/share/man/man1/$prog.1.gz"
  MANWIDTH=80 MANPAGER=cat man -l "$page" >"$TMP/man-$prog.txt" 2>"$TMP/man-$prog.log" || fail "man -l $prog.1 failed"
  grep -q "^NAME" "$TMP/man-$prog.txt" || fail "$prog(1) has no NAME section"
  grep -q "$prog" "$TMP/man-$prog.txt" || fail "$prog(1) does not name its program"
  # Every option the program's --help lists is on its page.
  for opt in $(QT_QPA_PLATFORM=offscreen "$ROOT/bin/$prog" --help 2>&1 | grep -o -- '--[a-z][a-z-]*' | sort -u); do
    grep -q -- "$opt" "$TMP/man-$prog.txt" || fail "$prog(1) lacks $opt, which --help lists"
  done
done
pass "the man pages render and list every option of --help"

# zodovaz(1) tells the keys and the files; the replay's capture example keeps its lines.
page="$TMP/man-zodovaz.txt"
for section in KEYS FILES; do
  grep -q "^$section\$" "$page" || fail "zodovaz(1) has no $section section"
done
sed -n '/^KEYS$/,/^[A-Z]/p' "$page" | grep -qE '^ +Space( |$)' || fail "the KEYS section of zodovaz(1) lacks Space"
for file in zk3_Zodovaz.cfg zk3_Zodovaz.ini recovery/ NAME.zkd NAME.wav NAME.notes; do
  sed -n '/^FILES$/,/^[A-Z]/p' "$page" | grep -qF "$file" || fail "the FILES section of zodovaz(1) lacks $file"
done
grep -qx ' *0 P0FA0\\r' "$TMP/man-zodovaz-replay.txt" && grep -qx ' *20 P0FA1\\r' "$TMP/man-zodovaz-replay.txt" ||
  fail "the capture example of zodovaz-replay(1) is not two lines: $(grep -n 'P0FA' "$TMP/man-zodovaz-replay.txt")"
pass "zodovaz(1) lists the keys and the files; the replay example is two lines"

out=$("$ROOT/bin/zodovaz-zkd" verify "$ROOT/share/zodovaz/samples/sample-session.zkd" 2>&1) ||
  fail "the installed sample session does not verify: $out"
pass "the installed sample session verifies with its sound"

out=$("$ROOT/bin/zodovaz" --version 2>&1) || fail "installed zodovaz --version failed: $out"
case "$out" in "zk3 Zodovaz "[0-9]*) ;; *) fail "installed zodovaz --version printed: $out" ;; esac
pass "installed zodovaz --version: $out"
