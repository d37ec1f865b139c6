#!/usr/bin/env bash
# check-format.sh: fails (and names the places) when a tracked C++ file differs from what the
# tree's .clang-format makes of it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
git ls-files -z -- '*.cpp' '*.h' | xargs -0 -r clang-format --dry-run -Werror
