# A few songs, a project and a sub-folder beside the program for the file dialog to list.
mkdir -p "$folder/My Songs" "$folder/archive.2024"
for name in Waltz.mid ballad.MID Sunrise.kar evening.mid; do
  "$root/build/tests/write_fixture_song" "$folder/$name" 4
done
printf 'QXS-Data' > "$folder/Waltz.qxs"
