# The dialog that saves the style settings as a user style, opened by its button beside the
# style panel, with a path typed in. The screenshot shows the dialog.
xdotool mousemove --window "$window" 570 266 click 1
dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^Save as User Style' | head -n 1)
xdotool windowactivate --sync "$dialog" 2>/dev/null || xdotool windowfocus --sync "$dialog"
xdotool mousemove --window "$dialog" 200 185 click 1
xdotool type --delay 20 "My Rock Setting"
sleep 0.3
window=$dialog
