# A first run (nothing stored, so all five slots hold the library's first style) with the demo
# melody beside the programs.
cp "$root/build/demo/OdeToJoy.mid" "$folder/OdeToJoy.mid"
