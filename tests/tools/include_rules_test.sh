#!/usr/bin/env bash
# The include-rule check catches each kind of breach in a small tree and passes a clean one.
set -euo pipefail
check=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
put() { mkdir -p "$tree/$(dirname "$1")"; printf '#include "%s"\n' "$2" >"$tree/$1"; }

put workers/alpha/a.cpp workers/alpha/a.h
put workers/alpha/b.cpp workers/common/skeleton.h
put workers/alpha/c.cpp formats/key_table.h
put workers/common/d.cpp platform/file.h
put formats/e.cpp platform/file.h
put tools/t/f.cpp formats/style_file.h
put frontend/core/g.cpp formats/key_table.h
"$check" "$tree" >/dev/null || { echo "a clean tree was refused"; exit 1; }

put workers/alpha/x1.cpp workers/beta/b.h
put workers/common/x2.cpp workers/alpha/a.h
put workers/beta/x3.cpp tools/midihex/hex_text.h
put formats/x4.cpp workers/common/skeleton.h
put platform/x5.cpp frontend/core/output_decoding.h
put tools/t/x6.cpp workers/alpha/a.h
put tools/t/x7.cpp tests/support/hex_text.h
put frontend/core/x8.cpp workers/common/skeleton.h
set +e
out=$("$check" "$tree")
rc=$?
set -e
[ "$rc" -eq 1 ] || { echo "breaches passed (exit $rc)"; exit 1; }
for n in 1 2 3 4 5 6 7 8; do
  grep -q "x$n.cpp" <<<"$out" || { echo "x$n.cpp was not reported:"; echo "$out"; exit 1; }
done
[ "$(wc -l <<<"$out")" -eq 8 ] || { echo "more than the breaches reported:"; echo "$out"; exit 1; }
