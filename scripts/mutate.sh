#!/usr/bin/env bash
# Mutation testing: makes small faults in the sources one at a time (a comparison flipped,
# a call dropped, a branch inverted) and checks that a test notices each one.
#
#   ./scripts/mutate.sh [NAME-REGEX]
#
# The mutants are in scripts/mutants.txt (ZK_MUTANTS names another list); the optional
# argument keeps those whose name matches the extended regular expression. The checkout
# as it stands (tracked and untracked files, not the ignored ones) is copied once to a
# scratch folder and built there; the checkout itself is never written. Per mutant: the
# edit is applied to the copy, only the test binary named for it is rebuilt and run, and
# the copy is put back. Each mutant prints one line:
#   KILLED        a test failed (or timed out) with the fault in place
#   SURVIVED      every test passed: no test notices this fault
#   NOT APPLIED   the original text is not in the file exactly once
#   BUILD FAILED  the mutant does not compile: the entry needs mending
# The exit status is 0 only when every mutant was killed. ZK_MUTATE_TIMEOUT (seconds,
# 300 by default) bounds one test run; ZK_MUTATE_KEEP=1 keeps the scratch folder.
set -euo pipefail
cd "$(dirname "$0")/.."
checkout=$PWD
list=${ZK_MUTANTS:-$checkout/scripts/mutants.txt}
pick=${1:-}
limit=${ZK_MUTATE_TIMEOUT:-300}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

[ -f "$list" ] || { echo "mutate: no mutant list at $list" >&2; exit 2; }

# ---------------------------------------------------------------- the list
# Entries are blocks of "key: value" lines beginning with "[name]"; '#' lines are
# comments. In "from" and "to", \n stands for a line break; an empty "to" deletes.
names=() files=() tests=() filters=() whats=() froms=() tos=()
add_entry() {
  [ -n "$name" ] || return 0
  if [ -z "$file" ] || [ -z "$test" ] || [ -z "$from" ]; then
    echo "mutate: entry [$name] needs file, test and from" >&2
    exit 2
  fi
  if [ -z "$pick" ] || [[ $name =~ $pick ]]; then
    names+=("$name") files+=("$file") tests+=("$test") filters+=("${filter:-*}") whats+=("$what")
    froms+=("${from//\\n/$'\n'}") tos+=("${to//\\n/$'\n'}")
  fi
}
name='' file='' test='' filter='' what='' from='' to=''
while IFS= read -r line || [ -n "$line" ]; do
  case $line in
    '#'* | '') continue ;;
    '['*']')
      add_entry
      name=${line:1:-1} file='' test='' filter='' what='' from='' to=''
      ;;
    *': '* | *':')
      key=${line%%:*} value=${line#*:}
      value=${value# }
      case $key in
        file) file=$value ;;
        test) test=$value ;;
        filter) filter=$value ;;
        what) what=$value ;;
        from) from=$value ;;
        to) to=$value ;;
        *) echo "mutate: unknown key '$key' in [$name]" >&2; exit 2 ;;
      esac
      ;;
    *) echo "mutate: cannot read line: $line" >&2; exit 2 ;;
  esac
done <"$list"
add_entry
[ ${#names[@]} -gt 0 ] || { echo "mutate: no mutant matches '$pick'" >&2; exit 2; }

# ---------------------------------------------------------------- the scratch copy
scratch=$(mktemp -d "${TMPDIR:-/tmp}/zk-mutate.XXXXXX")
if [ "${ZK_MUTATE_KEEP:-0}" = 1 ]; then
  echo "mutate: scratch folder $scratch"
else
  trap 'rm -rf "$scratch"' EXIT
fi
git ls-files -z --cached --others --exclude-standard |
  while IFS= read -r -d '' f; do [ -f "$f" ] && printf '%s\0' "$f"; done |
  tar --null -T - -cf - | tar -C "$scratch" -xf -

cd "$scratch"
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
# Paths relative to the copy, so that the compiler cache of the checkout serves it.
export CCACHE_BASEDIR="$scratch" CCACHE_NOHASHDIR=true
mapfile -t targets < <(printf '%s\n' "${tests[@]}" | sort -u)
echo "mutate: building ${targets[*]} in the scratch copy"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" -DZK_WERROR=OFF -DZK_BENCH=OFF \
  >build.log 2>&1 || { cat build.log >&2; exit 2; }
cmake --build build -j2 --target "${targets[@]}" >>build.log 2>&1 || { tail -40 build.log >&2; exit 2; }

# A mutant is only killed by a test that passes without it.
for t in "${targets[@]}"; do
  if ! (cd build && timeout "$limit" "bin/$t" >"$scratch/baseline-$t.log" 2>&1); then
    tail -40 "$scratch/baseline-$t.log" >&2
    echo "mutate: $t fails without any mutant; nothing can be learned" >&2
    exit 2
  fi
done

# ---------------------------------------------------------------- one mutant at a time
# Counts the occurrences of $2 in $1.
occurrences() {
  local rest=$1 n=0
  while [[ $rest == *"$2"* ]]; do
    rest=${rest#*"$2"}
    n=$((n + 1))
  done
  echo "$n"
}

killed=0 survived=0 unapplied=0 broken=0
report() { printf '%-13s %-30s %s\n' "$1" "$2" "$3"; }
echo
for i in "${!names[@]}"; do
  name=${names[$i]} path=$scratch/${files[$i]} what=${whats[$i]} t=${tests[$i]}
  if [ ! -f "$path" ]; then
    report "NOT APPLIED" "$name" "$what (no file ${files[$i]})"
    unapplied=$((unapplied + 1))
    continue
  fi
  IFS= read -r -d '' content <"$path" || true
  n=$(occurrences "$content" "${froms[$i]}")
  if [ "$n" != 1 ]; then
    report "NOT APPLIED" "$name" "$what (original text found $n times in ${files[$i]})"
    unapplied=$((unapplied + 1))
    continue
  fi
  cp "$path" "$scratch/original"
  printf '%s' "${content/"${froms[$i]}"/"${tos[$i]}"}" >"$path"
  log=$scratch/mutant-$name.log
  if ! cmake --build build -j2 --target "$t" >"$log" 2>&1; then
    report "BUILD FAILED" "$name" "$what"
    broken=$((broken + 1))
  elif (cd build && timeout "$limit" "bin/$t" --gtest_filter="${filters[$i]}" >>"$log" 2>&1); then
    report "SURVIVED" "$name" "$what"
    survived=$((survived + 1))
  else
    report "KILLED" "$name" "$what"
    killed=$((killed + 1))
  fi
  # A fresh copy (a new time stamp): the next build compiles the original again, from
  # the compiler cache.
  cp "$scratch/original" "$path"
done

total=${#names[@]}
echo
echo "mutate: $total mutants: $killed killed, $survived survived, $unapplied not applied, $broken did not build"
[ "$killed" = "$total" ]
