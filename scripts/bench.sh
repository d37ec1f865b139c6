#!/usr/bin/env bash
# Builds the benchmarks (optimised, no sanitizers) and runs each one, then times the composer
# and the whole worker chain on the 259-measure song, and each program of the chain against its
# floor (bench/floor); every figure is a median over repeated whole-process runs (with valgrind
# installed, the instruction counts come too).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build-bench" -DCMAKE_BUILD_TYPE=Release -DORVELLA_TESTS=OFF -DORVELLA_BENCH=ON
for program in "$root"/build-bench/benchmarks/*; do
  [[ -x "$program" && -f "$program" ]] || continue
  echo "== $(basename "$program")"
  "$program" --benchmark_report_aggregates_only=true
done
echo "== composer, 259 measures"
python3 "$root/bench/composer/time_compose.py" "$root/build-bench"
echo "== chain, 259 measures"
python3 "$root/bench/chain/time_chain.py" "$root/build-bench"
echo "== each program and the chain against trivial processes doing the same reads and writes"
python3 "$root/bench/floor/time_floor.py" "$root/build-bench"
