# The melody importer dialog opened by its button on the main window, with the waltz named as
# the song to import from. The picture is of the dialog.
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }
click "$window" 170 80                      # TxtInName
xdotool type --delay 5 "$folder/waltz.mid"
click "$window" 253 148                     # the melody importer button
window=$(timeout 10 xdotool search --sync --onlyvisible --name 'Import melody from|Generate/Import Melody|Auto Music' | head -n 1)
sleep 0.3
