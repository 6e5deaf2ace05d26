#!/usr/bin/env bash
# Checks the C++ lines a change touches against .clang-format and prints how they should
# read. The change is everything since BASE (the first argument, else $FORMAT_BASE, else
# where the branch left main, or the last commit when on main itself) together with what
# is not committed yet. Lines the change does not touch are not checked.
# Exit: 0 the lines conform, 1 they do not, 2 the check cannot run.
set -euo pipefail
cd "$(dirname "$0")/.."

base="${1:-${FORMAT_BASE:-}}"
if [ -z "$base" ]; then
  head=$(git rev-parse HEAD)
  if git rev-parse -q --verify main >/dev/null && [ "$(git merge-base HEAD main)" != "$head" ]; then
    base=$(git merge-base HEAD main)
  elif git rev-parse -q --verify HEAD~1 >/dev/null; then
    base=HEAD~1
  else
    echo "check-format: no earlier commit to compare with; nothing to check"
    exit 0
  fi
fi
if ! command -v git-clang-format >/dev/null || ! command -v clang-format >/dev/null; then
  echo "check-format: clang-format is not installed (scripts/install-deps.sh installs it)" >&2
  exit 2
fi

out=$(git clang-format --diff --extensions h,cpp "$base" -- src tools tests bench packaging 2>&1) || true
case "$out" in
  "" | "no modified files to format" | "clang-format did not modify any files")
    echo "check-format: the lines changed since $(git rev-parse --short "$base") follow .clang-format"
    exit 0 ;;
esac
echo "check-format: these lines changed since $(git rev-parse --short "$base") do not follow .clang-format;"
echo "'git clang-format $base' rewrites them so:"
echo "$out"
exit 1
