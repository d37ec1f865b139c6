# The about box over the main window: a click on About; the picture is of the about box.
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove --sync $((X + 229)) $((Y + 22)) click 1
window=$(timeout 10 xdotool search --sync --onlyvisible --name '^About Box$' | head -n 1)
