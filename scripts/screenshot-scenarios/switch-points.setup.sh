# The demo melody (4/4, C major) and the Swing Shuffle style in every slot: the style with the
# longest name of the 4/4 library styles.
mkdir -p "$XDG_CONFIG_HOME/Orvella"
printf '[RegStFName]\nStFName=Sh4430.sty\n' > "$XDG_CONFIG_HOME/Orvella/Orvella 2426.ini"
cp "$root/build/demo/OdeToJoy.mid" "$folder/OdeToJoy.mid"
