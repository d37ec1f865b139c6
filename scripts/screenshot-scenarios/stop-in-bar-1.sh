# Stop during the first bar with the colour demo on: the three steps on the waltz, Test Out, a
# click on the visualiser to start the demo, Play, and Stop after about ten status updates of
# ripples. Stop wipes the visualiser, the LEDs go grey and the status line says "Stoped".
# shellcheck source=/dev/null
source "$root/scripts/screenshot-scenarios/workflow.sh"
click "$window" 43 274                      # Test Out
sleep 1
click "$window" 160 376                     # the visualiser: demo on
click "$window" 321 371                     # Play
sleep 1
click "$window" 375 377                     # Stop, still in bar 1 (1.5 s a bar)
