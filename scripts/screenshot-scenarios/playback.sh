# Load In, Proceed and Make Output as in the workflow scenario, then Test Out and Play: after
# three seconds of the waltz (1.5 s a bar at its tempo) the bar label, the selected bar, the
# beat LEDs, the style-slot LED and the status line follow the music. There is no audio device
# under the virtual display, so the player plays silently.
# shellcheck source=/dev/null
source "$root/scripts/screenshot-scenarios/workflow.sh"
click "$window" 43 274                      # Test Out
sleep 1
click "$window" 322 371                     # Play
sleep "${PLAY_SECONDS:-3.2}"
