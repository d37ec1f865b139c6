# The colour demo during playback: the three steps on the waltz, Test Out, a click on the
# visualiser to start the demo, Play, and about 30 status updates (one every 100 ms) of ripples.
# shellcheck source=/dev/null
source "$root/scripts/screenshot-scenarios/workflow.sh"
click "$window" 43 274                      # Test Out
sleep 1
click "$window" 160 376                     # the visualiser: demo on
click "$window" 321 371                     # Play
sleep 3.2
