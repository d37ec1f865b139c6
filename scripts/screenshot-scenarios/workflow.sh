# Load In, Proceed and Make Output on the waltz in G major, through the real workers: the key
# label, the bar list and the section list filled. The key list dialog is answered with Save
# on a key list written beside it (its own editing comes with the key list editor). Another
# scenario may set song and keyLine before it sources this one.
song=${song:-$folder/waltz.mid}
keyLine=${keyLine:-001:02;G  Major}
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }
click "$window" 170 80                      # TxtInName
xdotool type --delay 5 "$song"
click "$window" 43 114                      # 1. Load
sleep 2
printf '%s\r\n' "$keyLine" > "$folder/KeysData.Aco"
click "$window" 43 146                      # 2. Proceed
keys=$(timeout 10 xdotool search --sync --onlyvisible --name '^Key Manager$' | head -n 1)
sleep 0.3
click "$keys" 458 445                       # Save
sleep 2
click "$window" 43 242                      # 3. Make
sleep 3
