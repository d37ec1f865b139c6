# The help window over the main window: a click on Help; the picture is of the help window.
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove --sync $((X + 129)) $((Y + 22)) click 1
window=$(timeout 10 xdotool search --sync --onlyvisible --name '^Orvella Help$' | head -n 1)
