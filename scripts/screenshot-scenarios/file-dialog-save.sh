# The three steps on the waltz, then the output saved through the file dialog with the song
# project option chosen. The screenshot shows the dialog with the proposed project name.
# shellcheck source=/dev/null
source "$root/scripts/screenshot-scenarios/workflow.sh"
click "$window" 455 105                      # Save Output
dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^Save output as' | head -n 1)
xdotool windowactivate --sync "$dialog" 2>/dev/null || xdotool windowfocus --sync "$dialog"
click "$dialog" 252 232                      # the song project option
xdotool mousemove --window "$dialog" 120 39 click 1
xdotool type --delay 20 "waltz"
sleep 0.3
window=$dialog
