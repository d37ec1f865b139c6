# The waltz made through the three steps, as in the workflow scenario.
# shellcheck source=/dev/null
source "$root/scripts/screenshot-scenarios/workflow.setup.sh"
