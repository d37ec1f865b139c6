# The input test: the waltz named in the input box and Test Input pressed; a second later the
# status line says it is testing, Stop Testing Input stands in its place and the output test's
# buttons are off.
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }
click "$window" 170 80                      # TxtInName
xdotool type --delay 5 "$folder/waltz.mid"
click "$window" 231 105                     # Test Input
sleep 1.2
