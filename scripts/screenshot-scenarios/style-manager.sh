# The style manager, opened by the Styles button, after a search for "waltz" and a pick of the
# found style into slot 3. The screenshot shows the dialog.
xdotool mousemove --window "$window" 43 178 click 1
dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^Style Manager$' | head -n 1)
xdotool windowactivate --sync "$dialog" 2>/dev/null || xdotool windowfocus --sync "$dialog"
# The search text, then Enter; then "--> 3".
xdotool mousemove --window "$dialog" 90 331 click 1
xdotool type --delay 20 "waltz"
xdotool key Return
sleep 0.3
xdotool mousemove --window "$dialog" 299 97 click 1
sleep 0.3
window=$dialog
