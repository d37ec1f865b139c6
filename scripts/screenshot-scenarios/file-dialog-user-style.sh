# The file dialog opened by the user style button: Load and Delete; Delete on the read-only file
# leaves it and says so. The screenshot shows the dialog with the notice.
xdotool mousemove --window "$window" 594 266 click 1   # Load User Style
dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^Select an User Style' | head -n 1)
xdotool windowactivate --sync "$dialog" 2>/dev/null || xdotool windowfocus --sync "$dialog"
xdotool mousemove --window "$dialog" 60 64 click 1      # ballads.set
xdotool mousemove --window "$dialog" 352 290 click 1    # Delete
sleep 0.3
window=$dialog
