// Key finding over the note list: the twelve pitch classes are weighed by the summed duration of
// their long notes and ranked, the weights are fitted against 36 scales (major, harmonic minor
// and melodic minor on twelve tonics), ties between equally good scales are broken by the ranks
// of their tonics and fifths, and doubtful results are checked again against the best root and
// the best triad of the ranking. The same pieces cut the melody into segments with keys of their
// own (the key change points). Everything here is computation; the driver writes the files.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "workers/keydetect/note_list.h"

namespace keydetect {

// A key value: the tonic as 60..71 for a minor key, the tonic + 100 for a major key.
using KeyValue = int;
constexpr KeyValue kMajorKeyOffset = 100;
constexpr int kLowestPitch = 60;  // pitch classes are written as the MIDI notes 60..71

// Scale errors are sums of durations; 64 bits hold any song the reader accepts.
using ScaleErrorValue = std::int64_t;
// "No error yet": larger than any error, so the first scale tried always becomes a candidate.
constexpr ScaleErrorValue kNoErrorYet = std::numeric_limits<ScaleErrorValue>::max();

// A root score this high marks a class that cannot be a root (it or its fifth is silent).
constexpr std::int64_t kSilentRootScore = 99900;

struct KcnEntry {
    std::int16_t Pitch = 0;  // 60..71
    std::int16_t Count = 0;  // long notes of the class
    std::int64_t Total = 0;  // their summed durations
    std::int16_t Rank = 0;   // 0 = greatest Total
    std::int64_t FifthTotal = 0;
    std::int16_t FifthRank = 0;
    std::int16_t RankSum = 0;
    std::int16_t RankDiff = 0;
    std::int64_t RootScore = 0;
    char Mode = '.';  // 'M' major, 'm' minor, '.' no triad
    std::int64_t TriadOutside = 0;
};

// Twelve entries in rank order: entry i has Rank i.
using KcnData = std::array<KcnEntry, kPitchClasses>;

struct KcnResult {
    bool ok = false;     // false when fewer than three pitch classes sound
    int bestRoot = -1;   // entry index
    int bestTriad = -1;  // entry index
};

// Fills `table` from the long notes of [first, end) of the statistics' list. On failure only
// Pitch, Count, Total and Rank are filled; the other fields are left cleared.
KcnResult Create_KcnData(const NoteStatistics& stats, int first, int end, KcnData& table);

// The entry index of a pitch class (0..11) in a ranked table.
int EntryOfClass(const KcnData& table, int pitchClass);

// Scale families and rows.
enum ScaleFamily : int { kMajorFamily = 0, kHarmonicMinorFamily = 1, kMelodicMinorFamily = 2 };
constexpr int kScaleFamilies = 3;
constexpr int kScaleRows = 12;

struct RowTonic {
    int major;  // pitch class of the major tonic
    int minor;  // pitch class of the relative minor tonic
};
// Row i: 0 C/A, 1 F/D, 2 Bb/G, 3 Eb/C, 4 Ab/F, 5 Db/Bb, 6 G/E, 7 D/B, 8 A/F#, 9 E/C#, 10 B/G#,
// 11 F#/D#.
extern const std::array<RowTonic, kScaleRows> RowTonics;

// A set of pitch classes, bit n for class n.
using PitchClassSet = std::uint16_t;
PitchClassSet ScaleOf(int family, int row);

// Summed Totals of the sounding classes outside the scale, plus one for each scale note that
// does not sound.
ScaleErrorValue ScaleError(PitchClassSet scale, const KcnData& table);
ScaleErrorValue KeyScaleError(int family, int row, const KcnData& table);

struct ScaleFit {
    int Row = -1;
    int Family = -1;
};
constexpr int kMaxScaleFits = 39;

struct FitResult {
    ScaleErrorValue smallestError = kNoErrorYet;
    int count = 0;
    // The candidates, then a terminator {-1, -1}.
    std::array<ScaleFit, kMaxScaleFits + 1> candidates{};
};

// Tries the 36 scales, family by family and row by row, and keeps those of the smallest error.
FitResult FitScales(const KcnData& table);

// The key among the candidates whose tonic and fifth rank best.
KeyValue PickKey(const KcnData& table, const FitResult& fit);

// Checks the picked key `picked` (scale error `error`) against the best root and the best triad.
KeyValue RecheckKey(ScaleErrorValue error, KeyValue picked, int bestRoot, int bestTriad,
                    const KcnData& table);

// "G Major", "Bb/A# Minor": the key's tonic by its flat and its sharp name when they differ.
std::string PrintKeyName(KeyValue key);

// The key of the whole melody.
struct GlobalKey {
    KeyValue key = 0;
    ScaleErrorValue error = 0;
    int keyCode = 0;  // first row of the key table holding `key`
};
// ok is false when fewer than three pitch classes sound among the long notes.
struct GlobalKeyResult {
    bool ok = false;
    GlobalKey key;
};
GlobalKeyResult FindGlobalKey(const NoteStatistics& stats);

// --- Key change points ---

constexpr int kMaxKeyChangePoints = 63;
// A segment needs this many long notes, lasting this long together, to carry a key.
constexpr int kMinSegmentLongNotes = 12;
constexpr Tick kMinSegmentTicks = 1536;

struct KeyChangePoint {
    std::int16_t Measure = 0;    // 0-based
    std::int16_t KeyIndex = -1;  // key code, or -1 for no key
    std::string_view Name;       // key name from the key table
};

struct SongTiming {
    Tick ticksPerMeasure = 0;
    Tick division = formats::kTicksPerQuarter;
};

enum class ScanEnd { kRise, kEnd, kHandleTokenRejected };

struct ScanResult {
    ScanEnd end = ScanEnd::kEnd;
    int index = -1;            // the note where the fit got worse (kRise)
    bool keyRecorded = false;  // a near-perfect fit was seen on the way
    int recordedKeyIndex = -1;
};

// Grows a segment from `start` until a new pitch class makes its fit worse. Reaching the end of
// the list runs the handle-token test: a caller that failed it is rejected.
ScanResult ScanKeySegment(const NoteStatistics& stats, int start, bool handleTokenValid,
                          KcnData& segmentTable);

enum class KeyChangeStatus { kOk, kHandleTokenRejected, kTooManyPoints };

struct KeyChangeResult {
    KeyChangeStatus status = KeyChangeStatus::kOk;
    std::vector<KeyChangePoint> points;
};

KeyChangeResult FindKeyChangePoints(const NoteStatistics& stats, const SongTiming& timing,
                                    bool handleTokenValid);

// --- Output texts (with "\n" line ends; the files are written in text mode) ---

// "KeyCode.dat": the key code in two digits.
std::string KeyCodeText(int keyCode);
// "KeysData.Aco": one line per key change, or the single line of the whole melody's key.
std::string KeyListText(const std::vector<KeyChangePoint>& points, bool keyChangeFlag, int keyCode);
// "kInfo.aco" after a found key.
std::string KeyFoundLogText(const GlobalKey& key);

// The log text and the messages of the key finding.
inline constexpr std::string_view kKeyFoundLogLead = "Neu la mot key => ";
inline constexpr std::string_view kTooFewClassesLog =
    "CreateKcnData() Error:\nKhong tim duoc Key cho truong hop co it hon ba not khac nhau.\n";

}  // namespace keydetect
