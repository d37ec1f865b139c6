# The README's first steps on the demo with no style chosen: Load, Proceed with the key list
# saved, Make, as the workflow scenario takes them. Make takes the library's first style (4/4)
# for the demo and composes; a refusal would show in the message box log.
song=OdeToJoy.mid key_line='001:00;C  Major'
# shellcheck source=/dev/null
source "$root/scripts/screenshot-scenarios/workflow.sh"
