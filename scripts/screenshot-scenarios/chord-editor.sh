# The chord list editor on the waltz after Load In and Proceed: the chord-list face opens it;
# a measure further down is made current and a chord typed into it, so the picture shows the
# current cell, the section names and the text of an unsaved edit. The picture is of the editor.
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }
click "$window" 170 80                      # TxtInName
xdotool type --delay 5 "$folder/waltz.mid"
click "$window" 43 114                      # 1. Load
sleep 2
printf '001:02;G  Major\r\n' > "$folder/KeysData.Aco"
click "$window" 43 146                      # 2. Proceed
keys=$(timeout 10 xdotool search --sync --onlyvisible --name '^Key Manager$' | head -n 1)
sleep 0.3
click "$keys" 271 276                       # Save
sleep 2
click "$window" 43 210                      # the chord list
window=$(timeout 10 xdotool search --sync --onlyvisible --name '^Edit Chord List$' | head -n 1)
sleep 0.3
click "$window" 80 160                      # Chord1 of a measure
xdotool key --window "$window" Down Down Delete e b Return Up
