# The drum fill wizard opened with Ctrl+Enter on a Drum cell of the chord list editor; the picture
# is of the wizard.
# shellcheck source=/dev/null
source "$root/scripts/screenshot-scenarios/chord-editor.sh"
xdotool key --window "$window" Right Right ctrl+Return
window=$(timeout 10 xdotool search --sync --onlyvisible --name '^Measure [0-9]+, Column' | head -n 1)
sleep 0.3
