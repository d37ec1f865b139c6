# The waltz and the waltz style, as for the workflow scenario.
# shellcheck source=/dev/null
source "$root/scripts/screenshot-scenarios/workflow.setup.sh"
