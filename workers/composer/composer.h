// The composing engine: five loaded style slots, the song tables and one working copy of the
// current track's style values, turned into nine coded MIDI tracks by track passes measure by
// measure. The routines keep the system's names (SwOn, KhNote2Val, MakeBngB1Part ...) so that
// each can be traced to the rule it implements. The state of a run is kept in a few records by
// what it means (the pass, how the part plays, its loudness, held notes, pattern buffers, the
// slot's values and step grid, the echo parts, the pre-pass), so that a routine shows which of
// them it reads and changes.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "workers/composer/compose_args.h"
#include "workers/composer/compose_types.h"
#include "workers/composer/song_inputs.h"
#include "workers/composer/style_loader.h"

namespace composer {

constexpr int kMaxMeasureEvents = 239;
constexpr int kOnBffSize = 32000;
constexpr int kMaxHeldNotes = 63;
constexpr int kPartBufferSize = 64;
// The chord part's buffer keeps its last entry free: the 64th sounding note stops the run.
constexpr int kMaxAccompNotes = kPartBufferSize - 1;
constexpr int kMaxCandidates = 63;
constexpr int kMaxDeferredOffs = 64;
constexpr int kMaxMayOnAtBegVal = 24;
constexpr int kMaxDrum0Evs = 239;
// Pass 11 may record five echo notes in every half measure of the longest song.
constexpr int kEchoEventLimit = kMeasureTabSize * 2 * 5;
constexpr int kMaxChordNames = 4;

// Controller numbers of the events that open a track and reopen it after a section change.
constexpr int kCtlBank = 0;
constexpr int kCtlVolume = 7;
constexpr int kCtlPan = 10;
constexpr int kCtlSustain = 64;
constexpr int kCtlSoftPedal = 67;
constexpr int kCtlRelease = 72;
constexpr int kCtlBrightness = 74;
constexpr int kCtlReverb = 91;
constexpr int kCtlChorus = 93;
constexpr int kCtlOmniOn = 125;
constexpr int kCtlPolyOn = 127;

struct MeasureEvent {
    int step = 0;
    int status = 0;
    int data1 = 0;
    int data2 = 0;
    int offset = 0;
};

struct OnEntry {
    int note = 0;
    bool active = false;
    int channel = 0;  // a section change may move the track to another channel meanwhile
};

struct HeldNote {
    int note = 0;
    int length = 0;
    int age = 0;
    int offset = 0;
    int velocity = 0;
};

struct DrumHit {
    int note = 0;
    bool released = false;
};

struct DeferredOff {
    int note = 0;
    int measure = 0;
};

struct AccompEntry {
    int note = 0;
    int released = 1;  // 1 = free
    int degree = 0;
    int octave = 0;
    int velocity = 0;
};

struct PatternEntry {
    int nVal = 0;
    int sVal = 0;
    int start = 0;
    int degree = 0;
    int octave = 0;
    int velocity = 0;
};

struct Candidate {
    int note = 0;
    int start = 0;
    int velocity = 0;
    int offset = 0;
    int degree = 0;
    int octave = 0;
};

struct EchoEvent {
    int measure = 0;
    int step = 0;
    int note = 0;
    int velocity = 0;
};

struct ReVoiced {
    int note = 0;
    int velocity = 0;
    int degree = 0;
    int octave = 0;
};

// Where a track pass stands: its track and channel, the measure, the events it has sent.
struct PassState {
    int trackNumber = 1;  // 1..9
    int channel = 0;
    int curMeasure = 0;
    bool lastMeasure = false;
    std::vector<MeasureEvent> events;  // the measure event buffer
    std::vector<OnEntry> onBff;        // every note-on of the pass, to pair its note-off
    long noteOnCount = 0;
    long noteOffCount = 0;
    bool errorMark = false;
    int sectionNext = 0;  // the next entry of the section table
    std::string prevChord = ".....";
    std::string genPrevChord = ".....";  // the chord the generators last played on
};

// How the part plays at the moment: whether it has come in or been stopped, the sustain pedal,
// the one-note rule, and where the section codes have walked the play modes.
struct PlayState {
    bool silenced = true;
    bool stoppedOnce = false;
    bool mayStop = false;
    bool playFromStart = false;
    int oneNoteMode = 0;
    int pendingNote = 0;
    // The entry in the note-on table of a note the chord-change walk sounded in one-note mode
    // after the rule had emptied the held list: nothing but the pending note holds it.
    std::optional<std::size_t> loneNoteEntry;
    int sustainDown = 0;
    int sustainNotes = 0;
    int idleCalls = 0;
    int normalStep = 0;
    int introSeen = 0;
};

// The part's loudness: the velocity it starts from, the factor that follows the melody, the
// velocity this follows to, and the channel volume it last sent.
struct Loudness {
    int partVelocity = 120;
    float accompVelFactor = 1.0f;
    int baseVel = 120;
    int channelVolume = 125;

    // The factor climbs back to full while the melody rests in a measure that plays, and drops
    // (not below 0.85) while it sings.
    void FollowMelody(bool melodyRests, float step);
};

// The chord of the half measure as tables: its scale with and without the diminished shift and
// its notes.
struct ChordTables {
    std::array<int, 13> chordScale{};
    std::array<int, 13> plainScale{};
    std::array<int, 4> chordNotes{-1, -1, -1, -1};
};

// Notes the drum and chord parts hold across steps, and the note-offs put off to a later chord.
struct HeldNotes {
    std::vector<HeldNote> s3Dr3;
    std::vector<HeldNote> s3A3;
    std::vector<DeferredOff> deferredOffs;
    std::vector<AccompEntry> bngOnEvA0;
    std::vector<DrumHit> drum0Evs;
};

// The two pattern parts' sounding and sustained notes.
struct PatternBuffers {
    std::vector<PatternEntry> bngOnEvB1;
    std::vector<PatternEntry> bngOnEvB3;
    int sValCount = 0;
    int lastB1Note = 0;
    int lastB3Note = 0;
    bool recheckRequest = false;
};

// The routine that writes the current part's half measures and its ending. The key-relative
// and the late chord parts keep their notes in the held list, the plain one in its own buffer.
enum class PartGenerator {
    kNone,
    kDrum,
    kDrumLate,
    kAccomp,
    kAccompKeyed,
    kAccompLate,
    kPatternB1,
    kPatternB3,
    kEcho1,
    kEcho2,
    kEcho3,
    kEcho4,
};

// The part that `generator` writes, on `channel` in play mode `mode` with the style flags.
PartGenerator GeneratorFor(int channel, int mode, int styleFlag1, int styleFlagLate);

// Whether the generator ages the held list (S3OnEvsA3) at every step it plays: the three chord
// parts do; the pattern, echo and drum parts never look at it.
bool AgesHeldList(PartGenerator generator);

// The buffer a part's generator keeps its sounding notes in.
enum class HeldBuffer { kAccomp, kHeldList, kPatternB3, kPatternB1, kNone };

// The current slot's style flags and the working copy of the current track's style values.
struct PartValues {
    int currentSlot = 1;
    int styleFlagLate = 0;
    int styleFlagNew = 0;
    int partProgram = 0;
    int partVolume = 0;
    int partPan = 0;
    int partEffect = 0;
    int pUseSust = 0;
    int styleFlag1 = 0;
    int partModeTens = 0;
    int partStyleValue = 0;
    std::array<int, kModeCount> velHs{};
    // The cells the current part reads: its slot's own as loaded (read, never copied), or
    // `work`, which the echo parts fill for themselves (and tests for their parts).
    std::unique_ptr<StyleCells> work = std::make_unique<StyleCells>();
    const StyleCells* cells = work.get();
    std::array<int, 16> trackChannelMode{};
    std::array<int, 16> trackChannel{};
    std::array<int, 16> trackTensValue{};
    std::array<int, 16> trackTensFlag{};
    int partIsDrumOrMode0 = 0, partIsMode1 = 0, partIsMode2 = 0, partIsMode3 = 0;
    PartGenerator generator = PartGenerator::kNone;
};

// The current slot's step grid: steps, ticks and the bounds of the two half measures.
struct MeasureGrid {
    int stepsPerQuarter = 8;
    int linesPerMeasure = 32;
    int maxTickOffset = 47;
    int ticksPerStep = 48;
    int measureTicks = 1536;
    int halfStart1 = 0, halfEnd1 = 16, halfStart2 = 16, measureEnd = 32;
    int holdLimitS = 17, holdLimitN = 177;
    int lastStepOfHalf = 15;

    // The half measures of a measure in `numerator` beats and how long pattern notes may hold.
    void SetHalves(int numerator, int holdMode);
};

// The echo parts: part 1's note for each measure, which the others follow, and their notes.
struct EchoState {
    std::array<int, kMeasureTabSize + 1> echoNoteTab{};
    int echoPart1Note = 0;
    int prevEchoNote = 0;
    int currentEchoNote = 0;
    std::vector<int> bngOnEv2;
    std::vector<EchoEvent> echoEv;
    std::vector<std::array<int, 2>> bngOnEv45;
    int lastEcho3Note = 0;
    int lastEcho4Note = 0;
};

// What the silent pre-pass learns: the pitch classes still held at each half measure's start
// (12 per half measure), and how often they changed a chord scale.
struct PrePass {
    std::vector<std::array<int, 12>> mayOnAtBegTab;
    std::vector<int> mayOnFill;
    long bsCnt0 = 0, bsCnt1 = 0;
};

// Everything a run needs before the track passes start.
struct ComposeSetup {
    ComposeOptions options;
    int runCode = 59;
    std::array<SlotSettings, kSlotCount> slotSettings;
    std::array<SlotParams, kSlotCount> slotParams;
    SongHeader header;
    ChordData chords;
    std::array<int, 12> songPitchClasses{};
    std::vector<MeasureStat> stats;
    std::array<int, 48> beatPattern{};
};

// What the passes produce.
struct ComposeResult {
    std::vector<std::uint8_t> codedTracks;     // the nine tracks and the name track, coded
    std::vector<std::uint8_t> lastPlainTrack;  // the name track as it stood in "Temp.dat"
    std::array<long, 9> noteOnCounts{};
    std::array<long, 9> noteOffCounts{};
    int tracksWritten = 0;
};

// Receives each finished track: its plain bytes and the same bytes coded for the output.
class TrackSink {
  public:
    virtual ~TrackSink() = default;
    virtual void Track(std::span<const std::uint8_t> plain,
                       std::span<const std::uint8_t> coded) = 0;
};

class Composer {
  public:
    Composer(ComposeSetup setup, MessageLog& log);

    // Loads a style file's bytes into a slot (1..5) with that slot made current.
    void LoadStyle(int slot, std::span<const std::uint8_t> file);
    // Whether any track pass plays slot `slot` (1..5), so that its style cells are read.
    bool SlotIsPlayed(int slot) const;
    // Steps 6 and 7 of the run: key-chord state, pre-pass, the nine passes and the name track.
    ComposeResult ComposeAll(TrackSink* sink = nullptr);
    // "cPara.dat" from the loaded slots and the section table.
    std::string SectionFileText() const;
    // "sty.err" after a successful run.
    std::string CountsFileText(const ComposeResult& result) const;
    // "Error2.msg": the song scale table.
    std::string SongScaleText() const;
    // The two closing lines of the error file.
    std::string ClosingLines(const ComposeResult& result) const;

    // ---- song and key ----
    void PrepareSong();  // continuation chords, key chord, key root, song scale
    int SongKeyRoot() const { return songKeyRoot_; }
    int SongKeyNote() const { return songKeyNote_; }
    const std::array<int, 12>& SongScaleTab() const { return songScaleTab_; }
    const std::vector<MeasureRecord>& Measures() const { return setup_.chords.measures; }

    // ---- slots and track values ----
    // The settings a slot's style file name gives (step grid, style flags), of slot 1 to 5.
    const SlotSettings& SettingsOfSlot(int slot) const;
    void SelectStyleSlot(int slot);
    void SwStyData(int slot, int track);
    void SwitchStyles(int& evCount);
    void FlushSectionEnd(int& evCount, int step);
    void ResetPartFlags();
    // Picks the part's generator from its channel, play mode and style flags; called once they
    // are all set, at a pass's start and after a style switch.
    void ChoosePartGenerator();
    // The generator the track will have after the switch to the next section's slot.
    PartGenerator GeneratorAfterSwitch() const;
    int ScaleVelocity(int value, int slotIndex) const;

    // ---- chord and note rules ----
    void KhHa2Notes(const std::string& chord, std::array<int, 4>& notes);
    int KhHa2ValGoc(const std::string& chord);
    int KhNote2Val(int beg, const std::string& chord);
    bool ChordScaleNotes(const std::string& chord, std::array<int, 7>& out, int variant);
    int ChordCandidates(int second, const std::string& chord);
    int ChordStepValue(int beg, const std::string& chord, int t, int& shift);
    int GetInst31Mode(int code, int advance, int hold);
    int PlaceOnValue(int instMode, int note, int count, int centre, int octave);
    int FitNoteRegister(int note, int window, int add, int half, int wanted);
    const std::vector<std::string>& ChordNames() const { return chordNames_; }

    // ---- note event core ----
    void SwOn(int& evCount, int step, int tick, int note, int velocity);
    void SwOff(int& evCount, int step, int tick, int note, int velocity);
    void AddMeasureEvent(int& evCount, int step, int tick, int status, int data1, int data2);
    void SustainOn(int& evCount, int step, int tick);
    void SustainOff(int& evCount, int step, int tick, int force);
    void ReleaseAccompNotes(int defer, int step, int& evCount);
    void ReleaseA3Notes(int defer, int step, int tick, int& evCount);
    void ReleaseDrumHeld(int step, int tick, int& evCount);
    void AddDrumHeld(int note, int tick, int mode, int row, int column);
    void AddA3Held(int note, int tick, int mode, int row, int column, int velocity);
    void AgeDrumHeld(int step, int& evCount);
    void AgeA3Held(int step, int& evCount);
    void ReleaseA3Note(int step, int& evCount, int note);
    int FitNearKey(int note) const;
    static int FoldNear(int note, int centre);

    // ---- dispatch ----
    void SetHalfMeasureBounds();
    void PrePassMeasure();
    int ComposeMeasure();
    void SetupEchoPart12(int first);
    void SetupEchoPart3();
    void SetupEchoPart4();

    // ---- generators ----
    int DrumPart(int drumCode, const std::string& chord, int beg, int end, int evCount);
    int DrumPartAlt(int drumCode, const std::string& chord, int beg, int end, int evCount);
    int DrumEnding(const std::string& chord, int beg, int end, int evCount);
    int DrumSectionEnd(int step, int evCount);
    static int DrumAccent(int note);
    int ScanMayOnAtBeg(int code, const std::string& chord, int beg, int end, int evCount);
    int MakeBngB3Part(int instCode, const std::string& chord, int beg, int end, int evCount);
    int MakeBngB1Part(int instCode, const std::string& chord, int beg, int end, int evCount);
    int MakeEchoPart1(int instCode, const std::string& chord, int beg, int end, int evCount);
    int MakeEchoPart2(int instCode, const std::string& chord, int beg, int end, int evCount);
    int MakeEchoPart34(bool upper, const std::string& chord, int beg, int end, int evCount);
    int BeginAccompHalf(int drumCode, int instCode, const std::string& chord, int beg);
    int MakeAccompPart(int drumCode, int instCode, const std::string& chord, int beg, int end,
                       int evCount);
    int MakeAccompPartAlt(int variant, int drumCode, int instCode, const std::string& chord,
                          int beg, int end, int evCount);
    // One half measure, or the last measure, with the part's generator.
    int PlayHalf(int drumCode, int instCode, const std::string& chord, int beg, int end,
                 int evCount);
    int PlayEnding(const std::string& chord, int beg, int end, int evCount);
    int SectStyleEnd(int step, int& evCount);
    // Moves the notes the chord and pattern parts hold to the deferred note-offs, those of the
    // held list only when `heldList` is set.
    void HandOverHeldNotes(int step, int& evCount, bool heldList);
    // Which of the parts' held-note buffers the track's generator keeps its notes in.
    HeldBuffer HeldBufferKind() const;
    // Puts a note's note-off off to a later chord (at once when the deferred list is full).
    void DeferNoteOff(int note, int step, int& evCount);
    // After a section switch: the walk's lone note, which only the one-note rule would end,
    // goes to the deferred note-offs when the new section leaves nothing that ends it.
    void DeferLoneNote(int step, int& evCount);
    // After the last measure's ending: the lone note, if it still sounds, ends with the
    // ending's notes.
    int EndLoneNote(int beg, int end, int evCount);
    int FlushDeferredOffs(int step, int evCount);
    int MakeAccompEnding(int variant, int code, const std::string& chord, int beg, int end,
                         int evCount);
    int MakeBngEnding(bool b3, int code, const std::string& chord, int beg, int end, int evCount);
    int MakeEchoEnding(int echoPart, const std::string& chord, int beg, int end, int evCount);

    // ---- chord scales ----
    void BuildChordScale(int root, const std::string& chord);
    void ApplyMayOnToScale(int root, const std::string& chord, int beg);
    int IsNotMayOn(int note, const std::string& chord, int halfIndex, int rootTest) const;
    int NearestChordTone(const std::string& chord, int note, int beg);
    int NearestChordTone3(const std::string& chord, int note, int beg);
    int KeyDegreeOf(int note) const;
    int NearestSongNote(int note, int above) const;
    int NearestKeyNote(int note) const;
    // The scale note nearest to a note in 60..71 (0 when the song scale is empty).
    int NearestSongNoteFolded(int folded, int above) const;

    // ---- state visible to tests ----
    PassState pass;
    PlayState play;
    Loudness loudness;
    ChordTables scales;
    HeldNotes held;
    PatternBuffers pattern;
    PartValues part;
    MeasureGrid grid;
    EchoState echo;
    PrePass prePass;
    std::array<StyleSlot, kSlotCount + 1> slots;  // 1..5

    // Cell access that treats the Pause mode and steps outside the rows as empty. Inline: the
    // part generators read every cell of every step through it.
    const StyleCell& Cell(int mode, int row, int column) const {
        static constexpr StyleCell kEmpty{};
        if (static_cast<unsigned>(column) >= kColumnCount) return kEmpty;
        return CellRow(mode, row)[column];
    }
    // The cells of one step, read the same way, for loops over its columns.
    const StyleRow& CellRow(int mode, int row) const {
        static constexpr StyleRow kEmptyRow{};
        if (static_cast<unsigned>(mode) >= kModeCount || static_cast<unsigned>(row) >= kRowCount) {
            return kEmptyRow;
        }
        return part.cells->Row(mode, row);
    }
    int VelHsOf(int mode) const { return mode >= 0 && mode < kModeCount ? part.velHs[mode] : 0; }
    int HalfIndex(int beg) const { return 2 * pass.curMeasure + (beg > 0 ? 1 : 0); }
    int StepsPerMeasure() const { return grid.measureEnd; }
    const MeasureStat& Stat(int measure) const;
    int NoteOnCode() const { return 0x90 + pass.channel; }
    int NoteOffCode() const { return 0x80 + pass.channel; }
    int ControlCode() const { return 0xB0 + pass.channel; }
    int ProgramCode() const { return 0xC0 + pass.channel; }

  private:
    // Appends to a buffer that holds at most `limit` entries; a full buffer ends the run with
    // that buffer's own message.
    template <typename Buffer, typename... Args>
    void AppendBounded(Buffer& buffer, int limit, typename Buffer::value_type entry,
                       const char* message, Args... args) {
        if (static_cast<int>(buffer.size()) >= limit) {
            if constexpr (sizeof...(Args) == 0)
                log_.Append(message);
            else
                log_.Printf(message, args...);
            AbortCompose(1);
        }
        buffer.push_back(std::move(entry));
    }

    // A track pass (1..5, 10..13): returns the plain track bytes.
    std::vector<std::uint8_t> TrackPass(int number);
    void ResetPassState();
    void UpdateVelocityFactor(float step);
    int RootValueOf(const std::string& chord) const;  // name-table lookup without side effects
    void SendVolume(int& evCount, int step, int offset, int volume);
    void CommonEndingFade(int& evCount, int beg, int end);
    int ExpirePattern(std::vector<PatternEntry>& buffer, bool b3, bool quiet, int step,
                      int& evCount);
    void SwitchOffSVal(std::vector<PatternEntry>& buffer, int step, int offset, int note,
                       int& evCount);
    void AddHeldToMayOn(int halfIndex);
    int CurrentStepTime(int step) const { return step + pass.curMeasure * StepsPerMeasure(); }
    bool LoneNoteSounds() const;
    int LoneNote() const;  // only while it sounds
    // Whether one of the part's lists (held, deferred, chord or pattern buffers) holds the note.
    bool HeldByAList(int note) const;
    int PatternPart(bool b3, bool quiet, int instCode, const std::string& chord, int beg, int end,
                    int evCount);
    // Pattern parts: deferred notes that are no chord tone (by pitch class) or too old end here.
    void DeferredOffsAtChord(const std::string& chord, int beg, int& evCount);
    void DeferredOffsOffChord(const std::string& chord, int beg, int& ev);
    void ReleaseSustainWhenBusy(int mode, int beg, int end, int& ev);

    ComposeSetup setup_;
    MessageLog& log_;
    int khLast_ = 0;
    int khBefore_ = 0;
    std::vector<std::string> chordNames_;
    std::array<int, 12> songScaleTab_{};
    // NearestSongNote for the twelve folded notes, filled once the song scale is known.
    std::array<int, 12> nearestSong_{};
    std::array<int, 12> nearestSongAbove_{};
    std::array<int, 7> keyScale_{};
    std::string keyChord_;
    int songKeyRoot_ = 60;
    int songKeyNote_ = 60;
    int currentKeyNote_ = 60;
};

}  // namespace composer
