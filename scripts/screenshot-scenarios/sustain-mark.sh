# The style mixer with a sustain mark: the first part's mode digit opens the play-mode dialog,
# where mode 0 is ticked "Sustained"; Enter takes it, and the mark shows beside the digit.
xdotool mousemove --window "$window" 431 145 click 1
dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^Select play mode for instrument$' | head -n 1)
sleep 0.3
xdotool mousemove --window "$dialog" 290 23 click 1   # Sustained
xdotool key --window "$dialog" Return
sleep 0.3
