# Load In, Proceed and Make Output on the waltz in G major, through the real workers: the key
# label, the bar list and the section list filled. The key list dialog is answered with Save
# on a key list written beside it, or, with $auto_detect set, on the list that Auto Detect Keys
# finds, as a user does. A scenario may set $song (a file of the program folder), $key_line
# (its key list) or $auto_detect before sourcing it.
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }
click "$window" 170 80                      # TxtInName
xdotool type --delay 5 "$folder/${song:-waltz.mid}"
click "$window" 43 114                      # 1. Load
sleep 2
[[ -n "${auto_detect:-}" ]] || printf '%s\r\n' "${key_line:-001:02;G  Major}" > "$folder/KeysData.Aco"
click "$window" 43 146                      # 2. Proceed
keys=$(timeout 10 xdotool search --sync --onlyvisible --name '^Key Manager$' | head -n 1)
sleep 0.3
if [[ -n "${auto_detect:-}" ]]; then
  click "$keys" 527 47                      # Auto Detect Keys
  sleep 2
fi
click "$keys" 458 445                       # Save
sleep 2
click "$window" 43 242                      # 3. Make
sleep 3
