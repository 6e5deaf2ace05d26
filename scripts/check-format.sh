#!/usr/bin/env bash
# Checks every C++ file of the checkout (tracked, or new and not ignored) against
# .clang-format and prints the first lines of how each one that differs should read. The
# whole tree was formatted once (that commit is listed in .git-blame-ignore-revs), so any
# difference is one a change brought in.
# Exit: 0 every file conforms, 1 some do not, 2 the check cannot run.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v clang-format >/dev/null; then
  echo "check-format: clang-format is not installed (scripts/install-deps.sh installs it)" >&2
  exit 2
fi

# New files too: a file not yet added is checked before it reaches a commit.
mapfile -t files < <(git ls-files --cached --others --exclude-standard '*.h' '*.cpp')
bad=()
for f in "${files[@]}"; do
  clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done
if [ ${#bad[@]} -eq 0 ]; then
  echo "check-format: all ${#files[@]} C++ files follow .clang-format"
  exit 0
fi
echo "check-format: ${#bad[@]} of ${#files[@]} C++ files do not follow .clang-format; 'clang-format -i FILE' rewrites them:"
for f in "${bad[@]}"; do
  echo "--- $f"
  clang-format "$f" | diff -u "$f" - | head -20 || true
done
exit 1
