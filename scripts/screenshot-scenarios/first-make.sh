# The README's first steps on the demo with no style chosen: Load, Proceed with the key list
# saved, Make. Make takes the library's first style (4/4) for the demo and composes; a refusal
# would show in the message box log.
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }
click "$window" 170 80                      # TxtInName
xdotool type --delay 5 "$folder/OdeToJoy.mid"
click "$window" 43 114                      # 1. Load
sleep 2
printf '001:00;C  Major\r\n' > "$folder/KeysData.Aco"
click "$window" 43 146                      # 2. Proceed
keys=$(timeout 10 xdotool search --sync --onlyvisible --name '^Key Manager$' | head -n 1)
sleep 0.3
click "$keys" 458 445                       # Save
sleep 2
click "$window" 43 242                      # 3. Make
sleep 3
