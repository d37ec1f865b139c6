#!/usr/bin/env bash
# The main command: installs what is missing, builds the ready program folder build/bin/ and
# starts Orvella there through its launcher Vessane, which starts the desktop program and ends.
# Without a display (DISPLAY and WAYLAND_DISPLAY unset) it accompanies the demo melody instead,
# in a fresh temporary program folder, the way the front end drives the workers: song loader,
# key detector (key list), chord maker, composer with five library styles of the song's time
# signature and the window's first-run settings. The composer's output is decoded into a plain
# MIDI file.
#   OUTPUT=path/song.mid ./scripts/run.sh    writes the accompanied demo song there instead
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build" -DORVELLA_TESTS=OFF

bin="$root/build/bin"
if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
  echo "Starting Orvella from $bin"
  # The program folder is the launcher's current folder; the launcher reports its own problems
  # in a message box and ends once the front end is started.
  cd "$bin"
  exec ./Vessane
fi
echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): accompanying the demo melody headless."

runworker="$root/build/devtools/runworker"
output=${OUTPUT:-"$root/build/demo/OdeToJoy-accompanied.mid"}
folder=$(mktemp -d /tmp/orvella-demo.XXXXXX)
cp -r "$bin/." "$folder/"
cp "$root/build/demo/OdeToJoy.mid" "$folder/InPut.bin"
echo "Program folder: $folder"

# Runs one worker through runworker and prints one line with its result; stops the job with
# the worker's error file when it fails. Sets $code to the completion code.
code=0
step() {
  local label=$1 errorFile=$2
  shift 2
  local report completion exitCode
  report=$("$runworker" "$folder" "$@")
  completion=$(sed -n 's/^completion: //p' <<<"$report")
  exitCode=$(sed -n 's/^exit: //p' <<<"$report")
  if [[ "$completion" == none || "$exitCode" != 0 || $(awk '{print $3}' <<<"$completion") != 0x00000000 ]]; then
    echo "$label: failed (completion ${completion:-none}, exit $exitCode)"
    [[ -f "$folder/$errorFile" ]] && head -c 400 "$folder/$errorFile" && echo
    exit 1
  fi
  code=$(awk '{print $2}' <<<"$completion")
  printf '%s: done, completion code %s\n' "$label" "$code"
}

start=$(date +%s%N)
step "Ambrel  (song loader)  " Error1.msg "$folder/Ambrel" /2 InPut.bin '{hwnd}' 2426
# "0,+,C,16,120,4/4": the song's key, measures, tempo and time signature.
IFS=, read -r _ _ _ measures tempo signature < <(tr -d '\r' < "$folder/Notes.aco")
echo "                          $measures measures, $tempo beats per minute, $signature"

# The key list editor's request: one line per key change. Its handle token is the window
# handle plus a handshake constant, so the shell adds it up once runworker has the handle.
step "Sorvik  (key detector) " kErr1.msg /bin/sh -c \
  'exec ./Sorvik {hwnd} 2426 $(( {hwnd} + 31470952 + 2426 )) 1'
echo "                          key list: $(tr -d '\r' < "$folder/KeysData.Aco" | paste -sd' ')"

step "Tressil (chord maker)  " Error2.msg "$folder/Tressil" 3 '{hwnd}' 2426 0
chordKey=$code

# Five library styles of the song's time signature: slot 1 plays from the start, the chord
# maker's style column switches to the others. (The window on a first run puts the library's
# first style into all five slots instead; it is a 4/4 style.)
case "$signature" in
  2/4) styles="Mr2431 Pk2430 Mr2431 Pk2430 Mr2431" ;;
  3/4) styles="Wz3431 Sw3412 Jw3430 Wz3431 Sw3412" ;;
  6/8) styles="Bd6831 Jg6830 Bd6831 Jg6830 Bd6831" ;;
  *) styles="8B4431 Ds4433 Rk4430 Bl4412 Bs4432" ;;
esac
names=""
for style in $styles; do names+=" $style.sty"; done
# The play options and the composer's command line are the window's own on a first run, built
# by the front end's rules (firstrun): nothing stored, so echo voices 50 and 90 with echo levels
# 6 and 5, every slot at 80 percent, and each part at its style's own program, volume and play
# mode as the style panel reads them. The library's level checks compose with the same.
# shellcheck disable=SC2086  # the style names are separate arguments
tokens=$("$root/build/devtools/firstrun" "$folder" "$tempo" "$chordKey" $names)
# shellcheck disable=SC2086  # the tokens are separate arguments
step "Compose (composer)     " Error3.msg "$folder/Compose" $tokens
runCode=$((code + 1))

mkdir -p "$(dirname "$output")"
"$root/build/devtools/decodeout" "$folder/ComposeOut.bin" "$runCode" "$output"
end=$(date +%s%N)
echo "decodeout (output)     : done, run code $runCode, styles$names"
echo "Accompanied song: $output"
printf 'The whole chain took %d ms.\n' $(((end - start) / 1000000))
