# The waltz in G major, with the styles of its time signature, as for the three steps.
# shellcheck source=/dev/null
source "$root/scripts/screenshot-scenarios/workflow.setup.sh"
