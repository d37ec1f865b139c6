#!/usr/bin/env bash
# The test command: installs what is missing, fails on a C++ file that drifts from .clang-format,
# then builds and runs every test twice, once in a normal build and once under AddressSanitizer
# and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/install-deps.sh"
jobs=$(nproc)

echo "== formatting"
"$root/scripts/check-format.sh"

echo "== normal build"
"$root/scripts/build.sh" "$root/build" -DORVELLA_TESTS=ON
ctest --test-dir "$root/build" --output-on-failure --parallel "$jobs"

echo "== sanitizer build (address, undefined behaviour)"
"$root/scripts/build.sh" "$root/build-asan" -DORVELLA_TESTS=ON -DORVELLA_SANITIZE=ON
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions="$root/scripts/lsan.supp":print_suppressions=0 \
  ctest --test-dir "$root/build-asan" --output-on-failure --parallel "$jobs"
