# The song of the chord editor's picture.
# shellcheck source=/dev/null
source "$root/scripts/screenshot-scenarios/chord-editor.setup.sh"
