# The style switch-point list after Make: the three steps on the demo melody with the Swing
# Shuffle style, each line of the list whole.
song=OdeToJoy.mid key_line='001:00;C  Major'
# shellcheck source=/dev/null
source "$root/scripts/screenshot-scenarios/workflow.sh"
