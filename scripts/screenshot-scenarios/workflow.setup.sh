# The three steps need styles of the song's time signature: the waltz style in every slot, as
# the start-up restores the style of the last run.
mkdir -p "$XDG_CONFIG_HOME/Orvella"
printf '[RegStFName]\nStFName=Jw3430.sty\n' > "$XDG_CONFIG_HOME/Orvella/Orvella 2426.ini"
"$root/build/tests/write_fixture_song" "$folder/waltz.mid" 24
