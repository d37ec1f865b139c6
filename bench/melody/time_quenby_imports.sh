#!/usr/bin/env bash
# Times the Quenby program importing every track of every MIDI file in a folder, each import run
# several times in a fresh program folder, and prints the median per file and track with the
# run's exit code and the first words of its error file.
# Usage: time_quenby_imports.sh <Quenby program> <folder of .mid files> [runs per import]
set -euo pipefail
quenby=$(realpath "$1")
source_dir=$2
runs=${3:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
handle=0  # no completion is posted; the exit code tells the result
for file in "$source_dir"/*.mid "$source_dir"/*.MID; do
    [ -f "$file" ] || continue
    tracks=$(python3 -c "import sys;b=open(sys.argv[1],'rb').read();print(max(1,int.from_bytes(b[10:12],'big')-1))" "$file")
    format=$(python3 -c "import sys;b=open(sys.argv[1],'rb').read();print(int.from_bytes(b[8:10],'big'))" "$file")
    [ "$format" = 0 ] && tracks=16
    for track in $(seq 1 "$tracks"); do
        cp "$file" InpMel.bin
        sum=$((track + 4 + 0 + 60 + 120 + 1 + 1 + 0 + 0 + 100 + 1))
        times=()
        code=0
        for _ in $(seq 1 "$runs"); do
            start=$(date +%s%N)
            # A hung import is killed after the front end's ten seconds (code 124).
            timeout 10 "$quenby" "$track" 4 0 60 120 1 1 0 0 100 "$sum" 1 0 && code=0 || code=$?
            end=$(date +%s%N)
            times+=($(( (end - start) / 1000 )))
        done
        median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")
        printf '%-40s %8d bytes track %2d  median %6d us  exit %d  %s\n' "$(basename "$file")" \
            "$(stat -c %s "$file")" "$track" "$median" "$code" "$(head -c 60 Error4.msg | tr -d '\r\n')"
    done
done
