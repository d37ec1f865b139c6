#include "workers/keydetect/key_finding.h"

#include <bit>
#include <cstdio>
#include <cstdlib>

#include "formats/key_table.h"

namespace keydetect {
namespace {

constexpr int kFifth = 7;
constexpr int kMajorThird = 4;
constexpr int kMinorThird = 3;
// Scores of a tonic are rank sums below this; it stands for "no such tonic".
constexpr int kNoTonicScore = 24;
// A fit this close (in ticks plus missing notes) is taken as the segment's own key.
constexpr ScaleErrorValue kNearPerfectFit = 2;
// Above this error, or with more than one candidate, the picked key is checked again.
constexpr ScaleErrorValue kDoubtfulError = 12;

constexpr std::array<int, 7> kMajorSteps = {0, 2, 4, 5, 7, 9, 11};
constexpr std::array<int, 7> kHarmonicMinorSteps = {0, 2, 3, 5, 7, 8, 11};
constexpr std::array<int, 7> kMelodicMinorSteps = {0, 2, 3, 5, 7, 9, 11};

PitchClassSet Bit(int pitchClass) {
    return static_cast<PitchClassSet>(1u << pitchClass);
}

int ClassOfEntry(const KcnEntry& entry) {
    return PitchClassOf(entry.Pitch);
}

KeyValue KeyOfEntry(const KcnEntry& entry) {
    return entry.Mode == 'M' ? entry.Pitch + kMajorKeyOffset : entry.Pitch;
}

// The row whose major (Mode 'M') or minor (Mode 'm') tonic is the entry's class; -1 for '.'.
int RowOfRoot(const KcnEntry& entry) {
    if (entry.Mode != 'M' && entry.Mode != 'm') return -1;
    const int pitchClass = ClassOfEntry(entry);
    for (int row = 0; row < kScaleRows; ++row) {
        const int tonic = entry.Mode == 'M' ? RowTonics[row].major : RowTonics[row].minor;
        if (tonic == pitchClass) return row;
    }
    return -1;
}

std::string Format(const char* format, auto... args) {
    char buffer[128];
    const int length = std::snprintf(buffer, sizeof buffer, format, args...);
    if (length < 0) return {};
    if (static_cast<std::size_t>(length) < sizeof buffer) return std::string(buffer, length);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, args...);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

}  // namespace

const std::array<RowTonic, kScaleRows> RowTonics = {{
    {0, 9},
    {5, 2},
    {10, 7},
    {3, 0},
    {8, 5},
    {1, 10},
    {7, 4},
    {2, 11},
    {9, 6},
    {4, 1},
    {11, 8},
    {6, 3},
}};

int EntryOfClass(const KcnData& table, int pitchClass) {
    for (int i = 0; i < kPitchClasses; ++i) {
        if (ClassOfEntry(table[i]) == pitchClass) return i;
    }
    return 0;
}

KcnResult Create_KcnData(const NoteStatistics& stats, int first, int end, KcnData& table) {
    table = KcnData{};
    const PitchClassBins bins = stats.Bins(first, end);

    // Greatest total first; the lower class wins a tie, so silent classes follow in pitch order.
    std::array<bool, kPitchClasses> taken{};
    std::array<int, kPitchClasses> entryOf{};
    for (int rank = 0; rank < kPitchClasses; ++rank) {
        int best = -1;
        for (int pc = 0; pc < kPitchClasses; ++pc) {
            if (taken[pc]) continue;
            if (best < 0 || bins[pc].total > bins[best].total) best = pc;
        }
        taken[best] = true;
        entryOf[best] = rank;
        KcnEntry& entry = table[rank];
        entry.Pitch = static_cast<std::int16_t>(kLowestPitch + best);
        entry.Count = static_cast<std::int16_t>(bins[best].count);
        entry.Total = bins[best].total;
        entry.Rank = static_cast<std::int16_t>(rank);
    }
    if (table[2].Total < 1) return KcnResult{};

    for (KcnEntry& entry : table) {
        const KcnEntry& fifth = table[entryOf[(ClassOfEntry(entry) + kFifth) % kPitchClasses]];
        entry.FifthTotal = fifth.Total;
        entry.FifthRank = fifth.Rank;
        entry.RankSum = static_cast<std::int16_t>(entry.Rank + entry.FifthRank);
        entry.RankDiff = static_cast<std::int16_t>(std::abs(entry.Rank - entry.FifthRank));
        if (entry.Total < 1 || entry.FifthTotal < 1) {
            entry.RootScore = kSilentRootScore + entry.FifthRank;
        } else {
            entry.RootScore = (entry.RankSum + entry.RankDiff) * 100 + entry.FifthRank;
        }
    }

    KcnResult result{true, 0, 0};
    for (int i = 1; i < kPitchClasses; ++i) {
        if (table[i].RootScore < table[result.bestRoot].RootScore) result.bestRoot = i;
    }

    for (KcnEntry& entry : table) {
        const int pc = ClassOfEntry(entry);
        if (entry.RootScore >= kSilentRootScore) {
            entry.Mode = '.';
        } else {
            const int majorThirdRank = entryOf[(pc + kMajorThird) % kPitchClasses];
            const int minorThirdRank = entryOf[(pc + kMinorThird) % kPitchClasses];
            entry.Mode = majorThirdRank < minorThirdRank ? 'M' : 'm';
        }
    }

    for (KcnEntry& entry : table) {
        const int root = ClassOfEntry(entry);
        PitchClassSet triad = Bit(root) | Bit((root + kFifth) % kPitchClasses);
        if (entry.Mode == 'M') triad |= Bit((root + kMajorThird) % kPitchClasses);
        if (entry.Mode == 'm') triad |= Bit((root + kMinorThird) % kPitchClasses);
        std::int64_t outside = entry.Rank;
        for (const KcnEntry& other : table) {
            if ((triad & Bit(ClassOfEntry(other))) == 0) outside += other.Total;
        }
        entry.TriadOutside = outside;
    }
    for (int i = 1; i < kPitchClasses; ++i) {
        if (table[i].TriadOutside < table[result.bestTriad].TriadOutside) result.bestTriad = i;
    }
    return result;
}

PitchClassSet ScaleOf(int family, int row) {
    const std::array<int, 7>& steps = family == kMajorFamily           ? kMajorSteps
                                      : family == kHarmonicMinorFamily ? kHarmonicMinorSteps
                                                                       : kMelodicMinorSteps;
    const int tonic = family == kMajorFamily ? RowTonics[row].major : RowTonics[row].minor;
    PitchClassSet scale = 0;
    for (int step : steps) scale |= Bit((tonic + step) % kPitchClasses);
    return scale;
}

namespace {

// What the scale errors of one table need, gathered once for the 36 scales a fit tries.
struct ClassWeights {
    std::array<std::int64_t, kPitchClasses> total{};
    PitchClassSet sounding = 0;
    std::int64_t soundingTotal = 0;
};

ClassWeights WeightsOf(const KcnData& table) {
    ClassWeights weights;
    for (const KcnEntry& entry : table) {
        if (entry.Total <= 0) continue;
        const int pc = ClassOfEntry(entry);
        weights.total[pc] = entry.Total;
        weights.sounding |= Bit(pc);
        weights.soundingTotal += entry.Total;
    }
    return weights;
}

ScaleErrorValue ErrorOf(PitchClassSet scale, const ClassWeights& weights) {
    ScaleErrorValue inside = 0;
    for (int pc = 0; pc < kPitchClasses; ++pc) {
        if (scale & Bit(pc)) inside += weights.total[pc];
    }
    const int silentScaleNotes = std::popcount(static_cast<unsigned>(scale & ~weights.sounding));
    return weights.soundingTotal - inside + silentScaleNotes;
}

const std::array<PitchClassSet, kScaleFamilies * kScaleRows>& AllScales() {
    static const auto scales = [] {
        std::array<PitchClassSet, kScaleFamilies * kScaleRows> all{};
        for (int family = 0; family < kScaleFamilies; ++family) {
            for (int row = 0; row < kScaleRows; ++row) {
                all[family * kScaleRows + row] = ScaleOf(family, row);
            }
        }
        return all;
    }();
    return scales;
}

}  // namespace

ScaleErrorValue ScaleError(PitchClassSet scale, const KcnData& table) {
    return ErrorOf(scale, WeightsOf(table));
}

ScaleErrorValue KeyScaleError(int family, int row, const KcnData& table) {
    return ScaleError(ScaleOf(family, row), table);
}

FitResult FitScales(const KcnData& table) {
    const ClassWeights weights = WeightsOf(table);
    FitResult fit;
    for (int family = 0; family < kScaleFamilies; ++family) {
        for (int row = 0; row < kScaleRows; ++row) {
            const ScaleErrorValue error = ErrorOf(AllScales()[family * kScaleRows + row], weights);
            if (error < fit.smallestError) {
                fit.smallestError = error;
                fit.candidates[0] = ScaleFit{row, family};
                fit.count = 1;
            } else if (error == fit.smallestError && fit.count < kMaxScaleFits) {
                fit.candidates[fit.count] = ScaleFit{row, family};
                ++fit.count;
            }
        }
    }
    fit.candidates[fit.count] = ScaleFit{};
    return fit;
}

KeyValue PickKey(const KcnData& table, const FitResult& fit) {
    KeyValue key = -1;
    int best = kNoTonicScore;
    for (const ScaleFit& candidate : fit.candidates) {
        if (candidate.Row < 0) break;
        const RowTonic tonics = RowTonics[candidate.Row];
        const KcnEntry& minor = table[EntryOfClass(table, tonics.minor)];
        int minorScore = minor.Rank + minor.FifthRank;
        int majorScore = kNoTonicScore;
        if (candidate.Family == kMajorFamily) {
            const KcnEntry& major = table[EntryOfClass(table, tonics.major)];
            majorScore = major.Rank + major.FifthRank;
            if (majorScore == minorScore) {
                if (major.Rank < minor.Rank) {
                    ++minorScore;
                } else {
                    ++majorScore;
                }
            }
        }
        if (majorScore < best) {
            key = kLowestPitch + tonics.major + kMajorKeyOffset;
            best = majorScore;
        }
        if (minorScore <= best) {
            key = kLowestPitch + tonics.minor;
            best = minorScore;
        }
    }
    return key;
}

KeyValue RecheckKey(ScaleErrorValue error, KeyValue picked, int bestRoot, int bestTriad,
                    const KcnData& table) {
    const KcnEntry& a = table[bestRoot];
    const KcnEntry& b = table[bestTriad];
    const int rowA = RowOfRoot(a);
    const int rowB = RowOfRoot(b);
    if (rowA < 0 && rowB < 0) return picked;

    const KeyValue keyA = KeyOfEntry(a);
    const KeyValue keyB = KeyOfEntry(b);
    // Minor roots are tried against the major row too: the natural minor of the same notes.
    const ScaleErrorValue errorA = rowA >= 0 ? KeyScaleError(kMajorFamily, rowA, table) : 0;
    const ScaleErrorValue errorB = rowB >= 0 ? KeyScaleError(kMajorFamily, rowB, table) : 0;
    if (rowA < 0) return errorB < error ? keyB : picked;
    if (rowB < 0) return errorA < error ? keyA : picked;

    if (a.Pitch == b.Pitch) {
        // A root that stands clearly apart from the next two trusts the triad.
        std::array<bool, kPitchClasses> taken{};
        std::array<std::int64_t, 3> smallest{};
        for (std::int64_t& value : smallest) {
            int pick = -1;
            for (int i = 0; i < kPitchClasses; ++i) {
                if (taken[i]) continue;
                if (pick < 0 || table[i].RootScore / 100 < table[pick].RootScore / 100) pick = i;
            }
            taken[pick] = true;
            value = table[pick].RootScore / 100;
        }
        if (smallest[0] <= 6 && smallest[1] >= smallest[0] + 2 && smallest[2] >= smallest[0] + 4) {
            return keyB;
        }
    }

    if (keyA == keyB || picked == keyA) return keyA;
    if (picked == keyB) return keyB;
    KeyValue key = picked;
    ScaleErrorValue taken = error;
    if (errorA < error) {
        key = keyA;
        taken = errorA;
    }
    if (errorB < taken) key = keyB;
    return key;
}

std::string PrintKeyName(KeyValue key) {
    const int pitchClass = PitchClassOf(key % kMajorKeyOffset - kLowestPitch);
    const std::string_view flat = formats::FlatNoteNames[pitchClass];
    const std::string_view sharp = formats::SharpNoteNames[pitchClass];
    const char* mode = key >= kMajorKeyOffset ? "Major" : "Minor";
    if (flat == sharp) return Format("%s %s", std::string(flat).c_str(), mode);
    return Format("%s/%s %s", std::string(flat).c_str(), std::string(sharp).c_str(), mode);
}

GlobalKeyResult FindGlobalKey(const NoteStatistics& stats) {
    KcnData table;
    const KcnResult ranking = Create_KcnData(stats, 0, stats.size(), table);
    if (!ranking.ok) return GlobalKeyResult{};
    const FitResult fit = FitScales(table);
    KeyValue key = PickKey(table, fit);
    if (fit.smallestError > kDoubtfulError || fit.count > 1) {
        key = RecheckKey(fit.smallestError, key, ranking.bestRoot, ranking.bestTriad, table);
    }
    return GlobalKeyResult{true, GlobalKey{key, fit.smallestError, formats::KeyCodeOfValue(key)}};
}

ScanResult ScanKeySegment(const NoteStatistics& stats, int start, bool handleTokenValid,
                          KcnData& segmentTable) {
    const std::span<const NotOn> notes = stats.notes();
    ScanResult result;
    PitchClassSet seen = 0;
    ScaleErrorValue previous = kNoErrorYet;
    for (int i = start; i < stats.size(); ++i) {
        const PitchClassSet bit = Bit(PitchClassOf(notes[i].Note));
        if (seen & bit) continue;
        seen |= bit;
        const KcnResult ranking = Create_KcnData(stats, start, i + 1, segmentTable);
        const FitResult fit = FitScales(segmentTable);
        // A near-perfect fit needs six sounding classes, so the ranking has always succeeded
        // here; the test keeps PickKey off a half-filled table all the same.
        if (fit.smallestError < kNearPerfectFit && ranking.ok) {
            result.keyRecorded = true;
            result.recordedKeyIndex = formats::KeyCodeOfValue(PickKey(segmentTable, fit));
        }
        if (previous < fit.smallestError) {
            result.end = ScanEnd::kRise;
            result.index = i;
            return result;
        }
        previous = fit.smallestError;
    }
    result.end = handleTokenValid ? ScanEnd::kEnd : ScanEnd::kHandleTokenRejected;
    return result;
}

KeyChangeResult FindKeyChangePoints(const NoteStatistics& stats, const SongTiming& timing,
                                    bool handleTokenValid) {
    KeyChangeResult result;
    const int noteCount = stats.size();
    if (noteCount == 0) return result;
    const std::span<const NotOn> notes = stats.notes();
    KcnData segmentTable;
    int scanStart = 0;
    int segmentStart = 0;
    for (;;) {
        ScanResult scan = ScanKeySegment(stats, scanStart, handleTokenValid, segmentTable);
        // A rise before any good fit was seen is a stray note: look past it, same segment.
        while (scan.end == ScanEnd::kRise && !scan.keyRecorded && scanStart < noteCount - 1) {
            ++scanStart;
            scan = ScanKeySegment(stats, scanStart, handleTokenValid, segmentTable);
        }
        if (scan.end == ScanEnd::kHandleTokenRejected) {
            result.status = KeyChangeStatus::kHandleTokenRejected;
            return result;
        }
        const int segmentEnd = scan.end == ScanEnd::kRise ? scan.index : noteCount;

        KeyChangePoint point;
        if (Create_KcnData(stats, segmentStart, segmentEnd, segmentTable).ok) {
            const KeyValue key = PickKey(segmentTable, FitScales(segmentTable));
            const int keyIndex = formats::KeyCodeOfValue(key);
            if (keyIndex >= 0) {
                point.KeyIndex = static_cast<std::int16_t>(keyIndex);
                point.Name = formats::KeyNameTable[keyIndex];
            }
        }
        int longNotes = 0;
        Tick longTicks = 0;
        for (const PitchClassBin& bin : stats.Bins(segmentStart, segmentEnd)) {
            longNotes += bin.count;
            longTicks += bin.total;
        }
        if (longNotes < kMinSegmentLongNotes || longTicks < kMinSegmentTicks) point.KeyIndex = -1;

        // A segment that starts on the third quarter of a measure or later counts from the next.
        const Tick startTick = notes[segmentStart].StartTick;
        Tick measure = 0;
        if (timing.ticksPerMeasure > 0) {
            measure = startTick / timing.ticksPerMeasure;
            if (timing.division > 0 &&
                (startTick % timing.ticksPerMeasure) / timing.division >= 2) {
                ++measure;
            }
        }
        point.Measure = static_cast<std::int16_t>(measure);
        result.points.push_back(point);
        if (static_cast<int>(result.points.size()) > kMaxKeyChangePoints) {
            result.status = KeyChangeStatus::kTooManyPoints;
            return result;
        }

        if (scan.end == ScanEnd::kEnd) return result;
        segmentStart = segmentEnd;
        scanStart = segmentEnd;
    }
}

std::string KeyCodeText(int keyCode) {
    return Format("%02d\n", keyCode);
}

std::string KeyListText(const std::vector<KeyChangePoint>& points, bool keyChangeFlag,
                        int keyCode) {
    std::string text;
    if (keyChangeFlag) {
        int lastWritten = -1;
        for (const KeyChangePoint& point : points) {
            if (point.KeyIndex < 0 || point.KeyIndex == lastWritten) continue;
            text += Format("%03d:%02d;%s\n", point.Measure + 1, point.KeyIndex,
                           std::string(formats::KeyNameTable[point.KeyIndex]).c_str());
            lastWritten = point.KeyIndex;
        }
    }
    if (text.empty()) {
        const bool known = keyCode >= 0 && keyCode < formats::kKeyCount;
        const std::string name(known ? formats::KeyNameTable[keyCode] : std::string_view{});
        text = Format("001:%02d;%s\n", keyCode, name.c_str());
    }
    return text;
}

std::string KeyFoundLogText(const GlobalKey& key) {
    return std::string(kKeyFoundLogLead) + PrintKeyName(key.key) +
           Format("\n(Sai so = %06lld)\n", static_cast<long long>(key.error));
}

}  // namespace keydetect
