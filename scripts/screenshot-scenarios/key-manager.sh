# The key list dialog as Proceed shows it, over a key list with three key change points: one
# added by typing a measure and picking a key, and the middle one selected, so the notice line
# tells where the key changes. The picture is of the dialog.
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }
click "$window" 170 80                      # TxtInName
xdotool type --delay 5 "$folder/waltz.mid"
click "$window" 43 114                      # 1. Load
sleep 2
printf '001:02;G  Major\r\n009:03;E  Minor\r\n' > "$folder/KeysData.Aco"
click "$window" 43 146                      # 2. Proceed
window=$(timeout 10 xdotool search --sync --onlyvisible --name '^Key Manager$' | head -n 1)
sleep 0.3
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
click "$window" 212 157                     # TxtMsNo
xdotool key ctrl+a
xdotool type --delay 20 "17"
click "$window" 316 164                     # Add >>
sleep 0.2
click "$window" 480 186                     # the second item of the list
sleep 0.3
