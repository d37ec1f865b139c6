# The README's first steps on the demo with no style chosen, as a user takes them: Load,
# Proceed with Auto Detect Keys and Save, Make. Make takes the library's first style (4/4) for
# the demo and composes. Without the detection the Key Manager would stay open on "There is
# nothing in the Key List." and the picture would show no chords and no "<Make> command
# complete.".
song=OdeToJoy.mid auto_detect=1
# shellcheck source=/dev/null
source "$root/scripts/screenshot-scenarios/workflow.sh"
