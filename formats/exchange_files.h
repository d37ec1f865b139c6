// The files the programs exchange in their program folder, by the names every program uses.
// A program reads what an earlier step of the chain wrote: the song loader and the key detector
// the song input, the chord maker the loader's note files and the key list, the composer the
// chord data and the front end's options; each worker writes its own error file.
#pragma once

namespace formats::files {

// The song input: the melody as a MIDI file (written by the front end or the melody importer).
inline constexpr char kInPut[] = "InPut.bin";
// The melody file the melody importer takes in.
inline constexpr char kInpMel[] = "InpMel.bin";
// The melody importer's listing of the file's tracks, its tempo list and its event list.
inline constexpr char kKqList[] = "KqList.dat";
inline constexpr char kTempos[] = "Tempos.dat";
inline constexpr char kEvents[] = "Events.dat";

// The song loader's measure files: notes per measure (Notes.aco, Notes.dat), measure
// statistics (Temps.aco, Temps2.aco) and the beat pattern (BtData.dat).
inline constexpr char kNotesAco[] = "Notes.aco";
inline constexpr char kNotesDat[] = "Notes.dat";
inline constexpr char kTempsAco[] = "Temps.aco";
inline constexpr char kTemps2Aco[] = "Temps2.aco";
inline constexpr char kBtData[] = "BtData.dat";

// The key detector's key code, key list and log.
inline constexpr char kKeyCode[] = "KeyCode.dat";
inline constexpr char kKeysData[] = "KeysData.Aco";
inline constexpr char kKInfo[] = "kInfo.aco";

// The chord maker's chord data (coded, formats/chord_data.h) and measure information.
inline constexpr char kDataAco[] = "Data.aco";
inline constexpr char kMsInfo[] = "MsInfo.dat";

// The composer's options (per slot), section list, output (formats/output_coding.h) and the
// scratch copy of the track it is writing.
inline constexpr char kVPara[] = "vPara.dat";
inline constexpr char kCPara[] = "cPara.dat";
inline constexpr char kComposeOut[] = "ComposeOut.bin";
inline constexpr char kTempDat[] = "Temp.dat";

// Error and log files: Error1.msg is the song loader's error file and the chord maker's
// path-score dump, Error2.msg the chord maker's error file and the composer's scale listing,
// Error3.msg the composer's, Error4.msg the melody importer's and kErr1.msg the key detector's.
inline constexpr char kError1[] = "Error1.msg";
inline constexpr char kError2[] = "Error2.msg";
inline constexpr char kError3[] = "Error3.msg";
inline constexpr char kError4[] = "Error4.msg";
inline constexpr char kKErr1[] = "kErr1.msg";

}  // namespace formats::files
