# Shared pieces of the install tests. Source it after setting BUILD (the build folder) and
# TMP (a private temporary folder).

fail() {
  echo "FAIL: $*" >&2
  for log in "$TMP"/*.log; do
    [ -f "$log" ] && sed "s|^|  $(basename "$log" .log): |" "$log" >&2
  done
  exit 1
}
pass() { echo "ok: $*"; }

need() {
  local t
  for t in "$@"; do
    if ! command -v "$t" >/dev/null 2>&1; then
      echo "SKIP: $t is not installed" >&2
      exit 77
    fi
  done
}

# Installs the build with prefix /usr into $TMP/root, as a package would lay it out; sets
# ROOT to the installed /usr.
install_into_temp() {
  DESTDIR="$TMP/root" cmake --install "$BUILD" --prefix /usr >"$TMP/install.log" 2>&1 ||
    fail "cmake --install failed"
  ROOT="$TMP/root/usr"
}
