#!/usr/bin/env bash
# The main job: installs what is missing, builds the ready program folder and runs the song
# loader on the demo melody in a fresh temporary program folder, then prints the measure files.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build" -DORVELLA_TESTS=OFF

folder=$(mktemp -d /tmp/orvella-demo.XXXXXX)
cp -r "$root/build/bin/." "$folder/"
cp "$root/build/demo/OdeToJoy.mid" "$folder/InPut.bin"
echo "Program folder: $folder"
echo "== Ambrel /2 InPut.bin <handle> 2426"
"$root/build/devtools/runworker" "$folder" "$folder/Ambrel" /2 InPut.bin '{hwnd}' 2426
for file in Notes.aco Temps2.aco Notes.dat BtData.dat Error1.msg; do
  echo "== $file"
  tr -d '\r' < "$folder/$file"
done
