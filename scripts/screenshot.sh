#!/usr/bin/env bash
# screenshot.sh OUT.png [scenario]: starts Orvella (Vessane, which starts Corvane) under a
# virtual X server in a fresh program folder (the built programs and the shipped styles, settings,
# fonts and caches in a temporary folder), lets an optional scenario drive it
# (scripts/screenshot-scenarios/<scenario>.sh, sourced once the main window is up; it may use
# xdotool and $window; <scenario>.setup.sh, when there is one, is sourced in the program folder
# before the program starts), and saves the main window as OUT.png.
# Message boxes are logged instead of shown; the log is printed at the end.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [[ "${1:-}" == "--in-display" ]]; then
  shift
  out=$1 scenario=$2 folder=$3
  cd "$folder"
  # A scenario may prepare the folder and the settings before the program starts.
  if [[ -f "$root/scripts/screenshot-scenarios/$scenario.setup.sh" ]]; then
    # shellcheck source=/dev/null
    source "$root/scripts/screenshot-scenarios/$scenario.setup.sh"
  fi
  # Started the way users start it: the launcher installs the editor font (into the temporary
  # data folder), starts Corvane and ends.
  ./Vessane
  window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Orvella 2426$' | head -n 1)
  corvane=$(xdotool getwindowpid "$window")
  # shellcheck source=/dev/null
  source "$root/scripts/screenshot-scenarios/$scenario.sh"
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$window")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out"
  kill "$corvane"
  exit 0
fi

out=$(realpath -m "${1:?usage: screenshot.sh OUT.png [scenario]}")
scenario=${2:-main}
[[ -f "$root/scripts/screenshot-scenarios/$scenario.sh" ]] || { echo "no scenario $scenario" >&2; exit 2; }
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build"

work=$(mktemp -d /tmp/orvella-shot.XXXXXX)
trap 'rm -rf "$work"' EXIT
folder=$work/program
mkdir -p "$folder" "$work/config" "$work/data" "$work/runtime"
chmod 700 "$work/runtime"
for program in Ambrel Sorvik Tressil Compose Quenby Corvane Vessane; do cp "$root/build/bin/$program" "$folder/"; done
cp "$root"/build/bin/DIRIzu.fon* "$folder/" 2>/dev/null || true
cp -r "$root/build/bin/Vessane.chm" "$folder/"
for style in "$root"/styles/??????.txt; do
  cp "$root/build/bin/$(basename "$style" .txt).sty" "$folder/"
done

export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/runtime
export XDG_CACHE_HOME=$work/cache
export ORVELLA_MSGBOX_LOG=$work/boxes.log QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 800x600x24" "$0" --in-display "$out" "$scenario" "$folder"
if [[ -s "$work/boxes.log" ]]; then
  echo "Message boxes:"
  cat "$work/boxes.log"
fi
echo "Screenshot: $out"
