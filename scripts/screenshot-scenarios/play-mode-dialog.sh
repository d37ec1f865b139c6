# The play-mode dialog of the second part, opened by a click on its mode digit.
# The dialog opens in the middle of the screen; ORVELLA_SHOT_SCREEN=<png> also saves the whole screen.
xdotool mousemove --window "$window" 431 163 click 1
sleep 0.5
if [[ -n "${ORVELLA_SHOT_SCREEN:-}" ]]; then import -window root "$ORVELLA_SHOT_SCREEN"; fi
