# Two user style files, one of them read-only, for the dialog's Load and Delete.
printf 'x\r\n' > "$folder/Rock Evening.set"
printf 'x\r\n' > "$folder/ballads.set"
chmod a-w "$folder/ballads.set"
