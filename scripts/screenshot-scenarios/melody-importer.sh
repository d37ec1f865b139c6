# The melody importer opened by its button with no song named: generation only, the import
# controls off. The screenshot shows the importer.
xdotool mousemove --window "$window" 253 148 click 1   # Melody importer
dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^Auto Music Generatator$' | head -n 1)
sleep 0.3
window=$dialog
