#!/usr/bin/env bash
# window_under_xvfb.sh BIN_DIR: runs Corvane from a fresh program folder under a virtual X
# server and checks, as a user would see it, the window's outline (the desktop shows at its
# top corners, the skin inside) and the window drag: Ctrl with the left button held moves the
# window by exactly the pointer's movement, the same drag without Ctrl moves nothing.
# Exits 77 (skipped) when the X tools are not installed.
set -euo pipefail

if [[ "${1:-}" == "--in-display" ]]; then
  folder=$2 work=$3
  pixel() {
    convert "$1" -crop "1x1+$2+$3" -format "%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]" info:
  }
  import -window root "$work/before.png"
  (cd "$folder" && exec ./Corvane) &
  corvane=$!
  trap 'kill $corvane 2>/dev/null || true' EXIT
  window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Orvella 2426$' | head -n 1)
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$window")"
  [[ $WIDTH == 625 && $HEIGHT == 407 ]] || { echo "window is ${WIDTH}x$HEIGHT"; exit 1; }

  import -window root "$work/after.png"
  for corner in "0 0" "624 0"; do
    read -r cx cy <<<"$corner"
    desktop=$(pixel "$work/before.png" $((X + cx)) $((Y + cy)))
    shown=$(pixel "$work/after.png" $((X + cx)) $((Y + cy)))
    [[ $shown == "$desktop" ]] || { echo "($cx,$cy) shows $shown, not the desktop $desktop"; exit 1; }
  done
  desktop=$(pixel "$work/before.png" $((X + 16)) $((Y + 16)))
  shown=$(pixel "$work/after.png" $((X + 16)) $((Y + 16)))
  [[ $shown != "$desktop" ]] || { echo "(16,16) shows the desktop, not the skin"; exit 1; }

  # A drag from the window's own background, left of the workflow column.
  drag() {
    xdotool mousemove --sync $((X + 3)) $((Y + 200))
    [[ $1 == ctrl ]] && xdotool keydown ctrl
    xdotool mousedown 1
    for step in "10 10" "10 10" "10 5" "10 5"; do
      read -r dx dy <<<"$step"
      xdotool mousemove_relative --sync -- "$dx" "$dy"
      sleep 0.05
    done
    xdotool mouseup 1
    [[ $1 == ctrl ]] && xdotool keyup ctrl
    sleep 0.3
  }
  startX=$X startY=$Y
  drag plain
  eval "$(xdotool getwindowgeometry --shell "$window")"
  [[ $X == "$startX" && $Y == "$startY" ]] || { echo "a drag without Ctrl moved the window"; exit 1; }
  drag ctrl
  eval "$(xdotool getwindowgeometry --shell "$window")"
  [[ $X == $((startX + 40)) && $Y == $((startY + 30)) ]] || {
    echo "Ctrl+drag by (40,30) moved the window from ($startX,$startY) to ($X,$Y)"
    exit 1
  }
  echo "outline and drag as expected"
  exit 0
fi

bin=$(realpath "${1:?usage: window_under_xvfb.sh BIN_DIR}")
for tool in xvfb-run xdotool import convert; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
work=$(mktemp -d /tmp/orvella-xvfb.XXXXXX)
trap 'rm -rf "$work"' EXIT
folder=$work/program
mkdir -p "$folder" "$work/config" "$work/data" "$work/runtime"
chmod 700 "$work/runtime"
cp "$bin/Corvane" "$folder/"
cp "$bin"/*.sty "$folder/"
cp "$bin"/DIRIzu.fon* "$folder/" 2>/dev/null || true
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/runtime
export ORVELLA_MSGBOX_LOG=$work/boxes.log QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 800x600x24" "$0" --in-display "$folder" "$work"
