# The chord builder opened with Ctrl+Enter on a Chord1 cell of the chord list editor; the picture
# is of the builder.
# shellcheck source=/dev/null
source "$root/scripts/screenshot-scenarios/chord-editor.sh"
xdotool key --window "$window" ctrl+Return
window=$(timeout 10 xdotool search --sync --onlyvisible --name '^Chord1, Measure' | head -n 1)
sleep 0.3
