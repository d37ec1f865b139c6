# The chord list editor on the waltz after the three steps: the chord-list face opens it; a
# measure further down is made current and a chord typed into it, so the picture shows the
# current cell, the section names and the text of an unsaved edit. The picture is of the editor.
# shellcheck source=/dev/null
source "$root/scripts/screenshot-scenarios/workflow.sh"
click "$window" 43 210                      # the chord list
window=$(timeout 10 xdotool search --sync --onlyvisible --name '^Edit Chord List$' | head -n 1)
sleep 0.3
click "$window" 80 160                      # Chord1 of a measure
xdotool key --window "$window" Down Down Delete e b Return Up
