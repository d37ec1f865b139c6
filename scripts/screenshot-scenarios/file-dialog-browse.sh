# The file dialog opened by Browse, listing the songs of the program folder, one of them chosen.
# The screenshot shows the dialog.
xdotool mousemove --window "$window" 43 82 click 1      # Browse
dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^Select an input' | head -n 1)
xdotool windowactivate --sync "$dialog" 2>/dev/null || xdotool windowfocus --sync "$dialog"
xdotool mousemove --window "$dialog" 60 84 click 1      # the second song of the list
sleep 0.3
window=$dialog
