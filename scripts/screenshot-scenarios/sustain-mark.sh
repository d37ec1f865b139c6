# The style mixer with a sustain mark: the first part's mode digit opens the play-mode dialog;
# "Sustained" can be ticked only in mode 0 (the part plays in mode 1 on a first run), so mode 0
# is chosen first, then "Sustained" is ticked; Enter takes it, and the mark shows beside the
# digit, now 0.
xdotool mousemove --window "$window" 431 145 click 1
dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^Select play mode for instrument$' | head -n 1)
sleep 0.3
xdotool mousemove --window "$dialog" 60 23 click 1    # Mode 0 : Normal tunes
sleep 0.2
xdotool mousemove --window "$dialog" 290 23 click 1   # Sustained
xdotool key --window "$dialog" Return
sleep 0.3
# The scenario is only worth its picture with the mark on it: the mark is a short line in the
# slot's colour just right of the digit, where the panel is near black without it.
eval "$(xdotool getwindowgeometry --shell "$window")"
mark=$(import -window root -crop "1x1+$((X + 448))+$((Y + 145))" +repage -format '%[fx:int(255*luminance)]' info:)
if ((mark < 128)); then
  echo "sustain-mark: no sustain mark beside the first part's mode digit" >&2
  exit 1
fi
