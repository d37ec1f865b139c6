// Chord texts to notes, roots and scales; the degree rule; the section-to-mode rule; the two
// register rules; the chord scale tables and the nearest-tone searches the generators share.
#include <algorithm>
#include <cstdlib>

#include "workers/composer/composer.h"
#include "workers/composer/program_ranges.h"

namespace composer {

namespace {

constexpr const char* kNameTableA[12] = {"C.", "Db", "D.", "Eb", "E.", "F.",
                                         "Gb", "G.", "Ab", "A.", "Bb", "B."};
constexpr const char* kNameTableB[12] = {"C.", "Db", "D.", "Eb", "Fb", "F.",
                                         "Gb", "G.", "Ab", "A.", "Bb", "Cb"};
constexpr const char* kNameTableC[12] = {"B#", "C#", "D.", "D#", "E.", "E#",
                                         "F#", "G.", "G#", "A.", "A#", "B."};
constexpr const char* kRootLetters = "C~D~EF~G~A~B";

char At(const std::string& chord, std::size_t i) {
    return i < chord.size() ? chord[i] : '\0';
}

int NameIndex(const std::string& chord) {
    const char a = At(chord, 0), b = At(chord, 1);
    for (const auto* table : {kNameTableA, kNameTableB, kNameTableC}) {
        for (int i = 0; i < 12; ++i) {
            if (table[i][0] == a && table[i][1] == b) return i;
        }
    }
    return -1;
}

int Fold(int note, int low, int high) {
    while (note < low) note += 12;
    while (note > high) note -= 12;
    return note;
}

bool WholeOctaves(int a, int b) {
    return (a - b) % 12 == 0;
}

void BuildChordScaleInto(std::array<int, 13>& cs, int root, const std::string& chord) {
    const char Q = At(chord, 2), N = At(chord, 3), A = At(chord, 4);
    for (int i = 0; i < 12; ++i) cs[i + 1] = root + i - 5 - (A == 'o' ? 1 : 0);
    cs[6] = root;
    if (Q == 'M') {
        cs[9] = cs[10];
        if (N == '7' || N == '9')
            cs[4] = cs[5];
        else
            cs[4] = cs[5] = root;
    } else if (Q == 'm') {
        if (N != '9') cs[8] = cs[9];
        cs[10] = cs[9];
    } else if (Q == 's') {
        if (N != '9') cs[8] = root;
        cs[10] = cs[11];
    } else {
        if (N != '9') cs[8] = root;
        cs[9] = cs[10];
    }
    if (Q != 'M') {
        if (N != '7') {
            if (N == '6')
                cs[4] = cs[3];
            else if (N != '9')
                cs[4] = root;
        }
        cs[5] = cs[4];
    }
    if (A == '+')
        cs[1] = cs[2];
    else if (A == '-')
        cs[1] = cs[12];
}

}  // namespace

int Composer::RootValueOf(const std::string& chord) const {
    const int i = NameIndex(chord);
    return i < 0 ? 0 : 60 + i;
}

void Composer::KhHa2Notes(const std::string& chord, std::array<int, 4>& notes) {
    notes = {-1, -1, -1, -1};
    int j = -1;
    for (int i = 0; i < 12; ++i) {
        if (At(chord, 0) != '~' && kRootLetters[i] == At(chord, 0)) j = i;
    }
    if (j < 0) {
        log_.Append("\nKhHa2-Notes: Error finding 1.\n");
        AbortCompose(1);
    }
    switch (At(chord, 1)) {
        case 'b':
            --j;
            break;
        case '.':
            break;
        case '#':
            ++j;
            break;
        default:
            log_.Append("\nKhHa2-Notes: Error finding 2.\n");
            AbortCompose(1);
    }
    int quality = 4;
    bool major = false;
    switch (At(chord, 2)) {
        case 'm':
            quality = 3;
            break;
        case 's':
            quality = 5;
            break;
        case '.':
            quality = 4;
            break;
        case 'M':
            quality = 4;
            major = true;
            break;
        default:
            log_.Append("\nKhHa2-Notes: Error finding 3.\n");
            AbortCompose(1);
    }
    int fourth = -1;
    switch (At(chord, 3)) {
        case '.':
            break;
        case '6':
            fourth = j + 9;
            break;
        case '7':
        case '9':
            fourth = j + 10 + (major ? 1 : 0);
            break;
        default:
            log_.Append("\nKhHa2-Notes: Error finding 4.\n");
            AbortCompose(1);
    }
    int fifth = j + 7;
    int third = j + quality;
    if (At(chord, 4) == 'o') {
        --third;
        --fifth;
    }
    const int root = j;
    auto pc = [](int v) { return ((v % 12) + 12) % 12; };
    fifth = pc(fifth);
    third = pc(third);
    const int r = pc(root);
    if (fourth >= 0) fourth = pc(fourth);
    if (At(chord, 3) == '.' && major) fourth = pc(third + 2);
    notes = {60 + fifth, 60 + third, 60 + r, fourth < 0 ? -1 : 60 + fourth};
}

int Composer::KhHa2ValGoc(const std::string& chord) {
    const int i = NameIndex(chord);
    if (i < 0) {
        log_.Printf("KhHa2ValGoc() Error: Invalid HaString <%s>", chord.c_str());
        AbortCompose(1);
    }
    int v = 60 + i;
    if (v > 67) v -= 12;
    khLast_ = khBefore_ = v;
    return v;
}

int Composer::KhNote2Val(int beg, const std::string& chord) {
    const int i = NameIndex(chord);
    if (i < 0) {
        log_.Printf("KhNote2Val() Error: Ms=%03d,Beg=%02d,ChOnCode=%02X: invalid HaString <%s>",
                    pass.curMeasure + 1, beg, NoteOnCode(), chord.c_str());
        return 0;
    }
    int v = Fold(60 + i, 61, 72);
    const int p = khLast_, q = khBefore_;
    if (p - q >= 4 && v - p >= 4)
        v -= 12;
    else if (q - p >= 4 && p - v >= 4)
        v += 12;
    khBefore_ = p;
    khLast_ = v;
    if (v <= 0) {
        log_.Printf("Invalid NoteVal %d", v);
        AbortCompose(1);
    }
    return v;
}

bool Composer::ChordScaleNotes(const std::string& chord, std::array<int, 7>& out, int variant) {
    const int r = KhHa2ValGoc(chord);
    const bool minor = At(chord, 2) == 'm';
    static constexpr int kMajor[3][4] = {{4, 5, 9, 11}, {4, 6, 8, 11}, {4, 6, 8, 10}};
    static constexpr int kMinor[3][4] = {{3, 5, 8, 10}, {3, 5, 9, 11}, {3, 5, 8, 10}};
    if (variant < 0 || variant > 2) return false;
    const int* x = minor ? kMinor[variant] : kMajor[variant];
    out = {r, r + 2, r + x[0], r + x[1], r + 7, r + x[2], r + x[3]};
    return true;
}

int Composer::ChordCandidates(int /*second*/, const std::string& chord) {
    KhHa2Notes(chord, scales.chordNotes);
    chordNames_.clear();
    for (int bi = 0; bi < 4; ++bi) {
        const int b = scales.chordNotes[bi];
        if (b < 0) continue;
        auto search = [&](int lo, int hi) {
            for (int xi = 0; xi < 4; ++xi) {
                const int x = scales.chordNotes[xi];
                if (xi == bi || x < 0) continue;
                const int d = (x < b ? x + 12 : x) - b;
                if (d >= lo && d <= hi) return d;
            }
            return 0;
        };
        const int third = search(3, 5);
        const int fifth = search(6, 8);
        if (third == 0 || fifth == 0) continue;
        std::string name = b >= 60 ? std::string(kNameTableA[(b - 60) % 12]) : std::string();
        name += third == 3 ? 'm' : third == 4 ? '.' : 's';
        name += '.';
        name += fifth == 6 ? '-' : fifth == 7 ? '.' : '+';
        while (name.size() < 5) name += '.';
        if (chordNames_.size() < kMaxChordNames)
            chordNames_.push_back(name);
        else
            chordNames_.back() = name;
    }
    return static_cast<int>(chordNames_.size());
}

int Composer::ChordStepValue(int beg, const std::string& chord, int t, int& shift) {
    shift = 0;
    if (t == 6) return 6;
    const int half = HalfIndex(beg);
    const int scaleNote = t >= 1 && t <= 12 ? scales.chordScale[t] : 0;
    if (play.oneNoteMode && t >= 1 && t <= 12 && IsNotMayOn(scaleNote, chord, half, 0) == 0)
        return t;
    const char Q = At(chord, 2), N = At(chord, 3), A = At(chord, 4);
    const bool n79 = N == '7' || N == '9';
    int result = t;
    bool conditional = false;
    switch (t) {
        case 1:
            if (A == '+')
                result = 2;
            else if (A == '-' || Q == 'o') {
                result = 12;
                shift = -12;
            } else
                result = 1;
            break;
        case 2:
            result = A == '+' ? 2 : N == '6' ? 3 : 1;
            conditional = true;
            break;
        case 3:
            result = N == '6' ? 3 : n79 ? (Q == 'M' ? 5 : 4) : A == '+' ? 2 : 6;
            break;
        case 4:
            result = N == '7' && Q != 'M' ? 4 : N == '6' ? 3 : N == '7' && Q == 'M' ? 5 : 6;
            break;
        case 5:
            result = n79 && Q == 'M' ? 5 : n79 ? 4 : 6;
            conditional = true;
            break;
        case 7:
            result = N == '9' || Q == 'M' ? 8 : 6;
            conditional = true;
            break;
        case 8:
            result = Q == 'M' || N == '9' ? 8 : Q == 'm' ? 9 : Q == '.' ? 10 : 6;
            break;
        case 9:
            if (Q != 'm' && Q != 's')
                result = N == '9' ? 8 : (Q == '.' || Q == 'M') ? 10 : 9;
            else
                result = 9;
            break;
        case 10:
            result = (Q == '.' || Q == 'M') ? 10 : (Q == 'm' || Q == 'o') ? 9 : Q == 's' ? 11 : 10;
            break;
        case 11:
            result = (Q == '.' || Q == 'M') ? 10 : (Q == 'm' || Q == 's') ? 11 : A == '-' ? 12 : 9;
            break;
        case 12:
            if (A == '-')
                result = 12;
            else if (Q == 's')
                result = 11;
            else {
                result = 1;
                shift = 12;
            }
            break;
        default:
            return t;
    }
    if (conditional && result != t) {
        const bool offScale = scaleNote != NearestSongNote(scaleNote, 0);
        const bool mayTake = !play.oneNoteMode || IsNotMayOn(scaleNote, chord, half, 0) != 0;
        if (!(offScale && mayTake)) {
            shift = 0;
            return t;
        }
    }
    return result;
}

int Composer::GetInst31Mode(int code, int advance, int hold) {
    if (!part.styleFlagNew) return code;
    int mode = 0;
    switch (code) {
        case 0:
            mode = 4 + 2 * play.normalStep;
            play.introSeen = 0;
            break;
        case 1:
            if (hold == 0 && play.introSeen) {
                mode = 3;
                if (advance > 0) play.introSeen = 0;
            } else {
                mode = 13;
            }
            play.normalStep = 0;
            break;
        case 2:
            mode = hold == 0 && play.introSeen ? 2 : 12;
            play.normalStep = 0;
            break;
        case 3:
            mode = 1;
            play.normalStep = 0;
            play.introSeen = 1;
            break;
        case 4:
            mode = 0;
            play.normalStep = 0;
            play.introSeen = 0;
            break;
        case 5:
            mode = 5 + 2 * play.normalStep;
            if (advance > 0) play.normalStep = play.normalStep >= 3 ? 0 : play.normalStep + 1;
            play.introSeen = 0;
            break;
        case 6:
        case 8:
            mode = 15;
            play.normalStep = 0;
            play.introSeen = 0;
            break;
        case 7:
            mode = 14;
            play.normalStep = 0;
            play.introSeen = 0;
            break;
        case 9:
            mode = kPauseMode;
            play.normalStep = 0;
            play.introSeen = 0;
            break;
        default:
            log_.Printf("GetInst31Mode(): Invalid InpMode %d", code);
            AbortCompose(1);
    }
    return mode;
}

int Composer::PlaceOnValue(int instMode, int note, int /*count*/, int /*centreArg*/,
                           int reference) {
    const int centre = setup_.options.autoOctave == 1 ? 60 : songKeyNote_;
    if (note < 1 || note > 127) {
        log_.Printf("Ms=%03d, Ch=%d, AsDrums=%d, InstMode=%d: Invalid On_Value <%d>\n",
                    pass.curMeasure + 1, pass.channel, part.styleFlag1, instMode, note);
        AbortCompose(1);
    }
    const int t = pass.trackNumber - 1;
    if (play.oneNoteMode) {
        while (note < 28) note += 12;
        if (part.trackChannelMode[t] == 1) {
            while (note > 52) note -= 12;
        }
        return note;
    }
    const int m = part.trackTensValue[t];
    const int f = part.trackTensFlag[t];
    switch (m) {
        case 1:
            while (note >= centre) note -= 12;
            if (f) {
                while (note < centre - 13) note += 12;
            }
            break;
        case 2:
            note = f ? Fold(note, centre - 5, centre + 7) : Fold(note, centre - 12, centre + 12);
            break;
        case 3:
            while (note < centre) note += 12;
            if (f) {
                while (note > centre + 13) note -= 12;
            }
            break;
        case 4:
            if (reference >= 0) {
                const int target = Fold(reference + 72, 36, 84);
                // Without a direction argument in the calls, the note is kept at or below it.
                while (note > target) note -= 12;
            }
            break;
        default:
            break;
    }
    if (setup_.options.autoOctave == 1 && part.partProgram >= 0 && part.partProgram < 128) {
        const ProgramRange& range = kProgramRanges[part.partProgram];
        while (note < range.low) note += 12;
        while (note > range.high) note -= 12;
    }
    while (note <= 27) note += 12;
    while (note > 108) note -= 12;
    return note;
}

int Composer::FitNoteRegister(int n, int w, int add, int half, int wanted) {
    const int t = pass.trackNumber - 1;
    if (part.trackTensValue[t] == 1) return Fold(n, 43, 70);
    if (w == -36) {
        while (n > 60) n -= 12;
        while (n < 32) n += 12;
        return n;
    }
    if (part.trackTensValue[t] != 0 || half != wanted) return 0;
    const MeasureStat& st = Stat(pass.curMeasure);
    int main = half == 0 ? st.mainNote1 : st.mainNote2;
    if (main <= 0) return 0;
    main = Fold(main, w + 57, w + 69);
    // The note's octaves are searched down from it to the bottom of the range, then up from it
    // to 126; a note outside the MIDI range still finds its main note.
    const bool reached = main <= n ? main >= 0 : main <= 126;
    if (WholeOctaves(n, main) && reached) return main + add;
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Chord scales

void Composer::BuildChordScale(int root, const std::string& chord) {
    BuildChordScaleInto(scales.chordScale, root, chord);
    // The plain table follows the same rules without the diminished shift.
    std::string plainChord = chord;
    if (plainChord.size() > 4 && plainChord[4] == 'o') plainChord[4] = '.';
    BuildChordScaleInto(scales.plainScale, root, plainChord);
}

void Composer::ApplyMayOnToScale(int root, const std::string& chord, int beg) {
    const int half = HalfIndex(beg);
    for (int i = 0; i < 12; ++i) {
        const int p = root + i - 5;
        if (IsNotMayOn(p, chord, half, 0) == 0) {
            if (scales.plainScale[i + 1] != p) ++prePass.bsCnt0;
            if (scales.chordScale[i + 1] != p) ++prePass.bsCnt1;
            scales.plainScale[i + 1] = p;
            scales.chordScale[i + 1] = p;
        }
    }
}

int Composer::IsNotMayOn(int note, const std::string& chord, int halfIndex, int rootTest) const {
    const int folded = Fold(note, 60, 71);
    if (rootTest) {
        const int root = RootValueOf(chord);
        if (root > 0 && Fold(root - 2, 60, 71) == folded) return 0;
    }
    if (halfIndex < 0 || halfIndex >= static_cast<int>(prePass.mayOnAtBegTab.size())) return 1;
    const int fill = std::min(prePass.mayOnFill[halfIndex], 12);
    for (int i = 0; i < fill; ++i) {
        if (prePass.mayOnAtBegTab[halfIndex][i] == folded) return 0;
    }
    return 1;
}

int Composer::KeyDegreeOf(int note) const {
    const int low = keyScale_[0], high = keyScale_[6];
    while (note > high) note -= 12;
    while (note < low) note += 12;
    int best = 0, bestDistance = 14;
    for (int i = 0; i < 7; ++i) {
        const int d = std::abs(keyScale_[i] - note);
        if (d < bestDistance && d <= 13) {
            best = i;
            bestDistance = d;
        }
    }
    return best + 1;
}

static int NearestOf(const std::array<int, 13>& table, const int* candidates, int count, int note,
                     bool upward) {
    int octaves = 0;
    while (note > table[12]) {
        note -= 12;
        octaves += 12;
    }
    while (note < table[1]) {
        note += 12;
        octaves -= 12;
    }
    int best = 0, bestDistance = 1 << 20;
    for (int i = 0; i < count; ++i) {
        int c = candidates[i];
        if (i >= 3 && c <= 0) continue;
        if (upward) {
            while (c < note) c += 12;
        } else {
            while (c > note) c -= 12;
        }
        const int d = std::abs(c - note);
        if (d < bestDistance) {
            best = c;
            bestDistance = d;
        }
    }
    return best + octaves;
}

int Composer::NearestChordTone(const std::string& chord, int note, int beg) {
    const int r = KhNote2Val(beg, chord);
    if (r == 0) AbortCompose(1);
    bool upward = false;
    if (pass.curMeasure > 0) {
        const int prevRoot = RootValueOf(pass.genPrevChord);
        if (prevRoot > 0) upward = KeyDegreeOf(prevRoot) < KeyDegreeOf(r);
    }
    std::array<int, 13> cs{};
    BuildChordScaleInto(cs, r, chord);
    const char Q = At(chord, 2), N = At(chord, 3);
    const int root = cs[6];
    const int third = Q == 'm' ? cs[9] : Q == 's' ? cs[11] : cs[10];
    int fourth = root, fifth = root;
    if (Q == 'M') {
        fourth = (N == '7' || N == '9') ? cs[5] : N == '6' ? cs[2] : root;
        fifth = cs[8];
    } else {
        const int plain = Q == 's' ? cs[9] : root;
        if (N == '7') {
            fourth = cs[4];
            fifth = plain;
        } else if (N == '9') {
            fourth = cs[4];
            fifth = cs[8];
        } else if (N == '6') {
            fourth = cs[2];
            fifth = plain;
        } else {
            fourth = root;
            fifth = plain;
        }
    }
    const int candidates[5] = {cs[1], root, third, fourth, fifth};
    return NearestOf(cs, candidates, 5, note, upward);
}

int Composer::NearestChordTone3(const std::string& chord, int note, int beg) {
    const int r = KhNote2Val(beg, chord);
    if (r == 0) AbortCompose(1);
    bool upward = false;
    if (pass.curMeasure > 0) {
        const int prevRoot = RootValueOf(pass.genPrevChord);
        if (prevRoot > 0) upward = KeyDegreeOf(prevRoot) < KeyDegreeOf(r);
    }
    std::array<int, 13> cs{};
    BuildChordScaleInto(cs, r, chord);
    const int candidates[3] = {cs[1], cs[6], cs[10]};
    return NearestOf(cs, candidates, 3, note, upward);
}

int Composer::NearestSongNote(int note, int above) const {
    int octaves = 0;
    int folded = note;
    while (folded > 71) {
        folded -= 12;
        octaves += 12;
    }
    while (folded < 60) {
        folded += 12;
        octaves -= 12;
    }
    const int cached = (above ? nearestSongAbove_ : nearestSong_)[folded - 60];
    return cached == 0 ? note : cached + octaves;
}

int Composer::NearestSongNoteFolded(int folded, int above) const {
    int best = 0, bestDistance = 1 << 20;
    for (int entry : songScaleTab_) {
        if (entry == 0) continue;
        const int d = entry - folded;
        if (above && d <= 0) continue;
        if (std::abs(d) < bestDistance) {
            best = entry;
            bestDistance = std::abs(d);
        }
    }
    return best;
}

int Composer::NearestKeyNote(int note) const {
    int best = note, bestDistance = 13;
    for (int s : keyScale_) {
        const int d = ((note - s) % 12 + 12) % 12;
        const int below = note - d, above = below + 12;
        for (int c : {below, above}) {
            const int distance = std::abs(c - note);
            if (distance < bestDistance && distance <= 12) {
                best = c;
                bestDistance = distance;
            }
        }
    }
    return best;
}

int Composer::FitNearKey(int note) const {
    const int r = songKeyRoot_ > 60 ? songKeyRoot_ : songKeyRoot_ + 12;
    return FoldNear(note, r);
}

int Composer::FoldNear(int note, int centre) {
    while (note > centre + 6) note -= 12;
    while (note < centre - 6) note += 12;
    return note;
}

}  // namespace composer
