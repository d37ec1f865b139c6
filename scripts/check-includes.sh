#!/usr/bin/env bash
# check-includes.sh [ROOT]: the include rules between the parts of the tree. Prints every
# include that breaks one and exits 1; exit 0 when all hold.
#   - a worker includes only its own folder, workers/common, formats/ and platform/;
#   - formats/ and platform/ include no worker, tool, front-end or test header;
#   - a tool includes no worker and no test header;
#   - the front end includes no worker, tool or test header.
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

status=0
# Lists the project includes ("dir/...") of the C++ files under $1 whose path matches the
# extended regex $2: file:line:include.
breaking() {
  local folder=$1 pattern=$2
  [ -d "$folder" ] || return 0
  grep -rnE --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$folder" |
    sed -E 's/^([^:]*:[0-9]+):[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]*)".*/\1:\2/' |
    grep -E ":($pattern)" || true
}
report() {
  local rule=$1 found=$2
  if [ -n "$found" ]; then
    printf "%s\n" "$found" | sed "s|^|$rule: |"
    status=1
  fi
}

for dir in workers/*/; do
  name=$(basename "$dir")
  found=$(breaking "$dir" '(workers/|tools/|frontend/|tests/)' |
    grep -vE ":(workers/$name/|workers/common/)" || true)
  report "worker $name includes another part" "$found"
done
report "formats/ includes a program" "$(breaking formats '(workers/|tools/|frontend/|tests/)')"
report "platform/ includes a program" "$(breaking platform '(workers/|tools/|frontend/|tests/)')"
report "a tool includes a worker or a test" "$(breaking tools '(workers/|tests/)')"
report "the front end includes a worker, tool or test" "$(breaking frontend '(workers/|tools/|tests/)')"
exit $status
