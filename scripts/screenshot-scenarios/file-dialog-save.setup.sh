# shellcheck source=/dev/null
source "$root/scripts/screenshot-scenarios/workflow.setup.sh"
