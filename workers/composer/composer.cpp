#include "workers/composer/composer.h"

#include <algorithm>
#include <cstdio>

#include "workers/composer/track_coding.h"

namespace composer {

namespace {

constexpr int kEchoPassFirst = 10;
constexpr int kHeadVolume = 120;
constexpr int kHeadBrightness = 60;
constexpr int kDrumBank = 127;
constexpr int kEchoReverb = 20;

// The part's scaled volume is the velocity its notes start from, so that the part volumes,
// the section volumes and the echo levels are heard.
int PartVelocityOf(int scaledVolume) {
    return std::max(1, scaledVolume);
}

// What a slot gives the entry `e` of the part's track table while the track that plays has the
// key-relative flag `styleFlag1`: the channel, and the play mode (a key-relative track always
// plays in mode 0). The section switch sets them, and the hand-over before it looks ahead with
// them.
int ChannelInSlot(const StyleSlot& slot, int e) {
    return e < kStyleTrackCount ? slot.channel[e] : 0;
}
int PlayModeInSlot(const StyleSlot& slot, int styleFlag1, int e) {
    return styleFlag1 == 1 || e >= kStyleTrackCount ? 0 : slot.channelMode[e];
}

}  // namespace

Composer::Composer(ComposeSetup setup, MessageLog& log) : setup_(std::move(setup)), log_(log) {
    pass.events.reserve(kMaxMeasureEvents);
    pass.onBff.reserve(1024);
    const int halves = 2 * static_cast<int>(setup_.chords.measures.size()) + 2;
    prePass.mayOnAtBegTab.assign(halves, {});
    prePass.mayOnFill.assign(halves, 0);
    SelectStyleSlot(1);
    SetHalfMeasureBounds();
    grid.lastStepOfHalf = grid.halfEnd1 - 1;
}

const MeasureStat& Composer::Stat(int measure) const {
    static const MeasureStat kEmpty{};
    if (measure < 0 || measure >= static_cast<int>(setup_.stats.size())) return kEmpty;
    return setup_.stats[measure];
}

// ---------------------------------------------------------------------------------------------
// Song preparation

void Composer::PrepareSong() {
    auto& measures = setup_.chords.measures;
    if (measures.empty()) return;
    keyChord_ = measures.back().chord1;
    measures.back().chord2 = keyChord_;
    std::string running = measures.front().chord1;
    for (MeasureRecord& m : measures) {
        for (std::string* chord : {&m.chord1, &m.chord2}) {
            if (*chord == ".....")
                *chord = running;
            else
                running = *chord;
        }
    }
    songKeyRoot_ = KhHa2ValGoc(keyChord_);
    songKeyNote_ = songKeyRoot_;
    while (songKeyNote_ < 60) songKeyNote_ += 12;
    while (songKeyNote_ > 71) songKeyNote_ -= 12;
    std::array<int, 7> scale{};
    ChordScaleNotes(keyChord_, scale, 0);
    keyScale_ = scale;
    khLast_ = khBefore_ = songKeyRoot_;
    for (int c = 0; c < 12; ++c) {
        songScaleTab_[c] = setup_.songPitchClasses[c] != 0 ? NearestKeyNote(60 + c) : 0;
    }
    for (int c = 0; c < 12; ++c) {
        nearestSong_[c] = NearestSongNoteFolded(60 + c, 0);
        nearestSongAbove_[c] = NearestSongNoteFolded(60 + c, 1);
    }
}

std::string Composer::SongScaleText() const {
    std::string text;
    char item[16];
    for (int value : songScaleTab_) {
        std::snprintf(item, sizeof item, "%03d,", value);
        text += item;
    }
    return text;
}

// ---------------------------------------------------------------------------------------------
// Slots and track values

void Composer::LoadStyle(int slot, std::span<const std::uint8_t> file) {
    SelectStyleSlot(slot);
    StyleLoadContext context;
    context.fileName = setup_.options.styleNames[slot - 1];
    context.slot = slot;
    context.settings = setup_.slotSettings[slot - 1];
    context.params = setup_.slotParams[slot - 1];
    context.linesPerMeasure = grid.linesPerMeasure;
    context.timeSigName = setup_.header.timeSigName;
    context.keepCells = SlotIsPlayed(slot);
    LoadStyleBytes(file, context, log_, slots[slot]);
}

bool Composer::SlotIsPlayed(int slot) const {
    // Every track pass starts in slot 1; a section switches to the slot its record names.
    const auto& sections = setup_.chords.sections;
    return slot == 1 || std::any_of(sections.begin(), sections.end(),
                                    [slot](const SectionEntry& e) { return e.slot == slot; });
}

const SlotSettings& Composer::SettingsOfSlot(int slot) const {
    return setup_.slotSettings[std::clamp(slot, 1, kSlotCount) - 1];
}

void Composer::SelectStyleSlot(int slot) {
    const SlotSettings& s = SettingsOfSlot(slot);
    grid.stepsPerQuarter = s.stepsPerQuarter;
    grid.linesPerMeasure = setup_.header.timeCode == 2   ? s.lines24
                           : setup_.header.timeCode == 3 ? s.lines34
                                                         : s.lines44;
    grid.maxTickOffset = s.maxTickOffset;
    part.styleFlagLate = s.flagLate;
    part.styleFlagNew = s.flagNew;
    grid.ticksPerStep = setup_.header.division / s.stepsPerQuarter;
    grid.measureTicks = setup_.header.division * setup_.header.timeCode;
}

int Composer::ScaleVelocity(int value, int slotIndex) const {
    if (value == 0) return 0;
    const int sectVol = setup_.slotParams[std::clamp(slotIndex, 0, kSlotCount - 1)].sectVol;
    double r = static_cast<double>(value) / 100.0 * sectVol;
    int result = r >= 1e9 ? 1000000000 : r <= -1e9 ? -1000000000 : static_cast<int>(r);
    if (result < 1) result = 1;
    if (result >= 128) result = 127;
    return result;
}

void Composer::SwStyData(int slot, int t) {
    if (slot < 1 || slot > kSlotCount) {
        log_.Printf("Fatal error in call to SwStyData(): Invalid SectNo %d", slot);
        AbortCompose(1);
    }
    const StyleSlot& s = slots[slot];
    const StyleTrack& track = s.tracks[t];
    part.partProgram = track.program;
    part.partVolume = track.volume;
    part.partPan = track.pan;
    part.partEffect = track.effect;
    part.pUseSust = track.pUseSust;
    part.styleFlag1 = track.styleFlag1;
    part.partModeTens = track.partModeTens;
    for (int e = 0; e < 16; ++e) {
        const bool known = e < kStyleTrackCount;
        part.trackChannelMode[e] = PlayModeInSlot(s, part.styleFlag1, e);
        part.trackChannel[e] = ChannelInSlot(s, e);
        part.trackTensValue[e] = known ? s.partTensValue[e] : 0;
        part.trackTensFlag[e] = known ? s.partTensFlag[e] : 0;
    }
    part.velHs = track.velHs;
    part.partStyleValue = track.partStyleValue;
    if (track.cells) {
        part.cells = track.cells.get();
    } else {
        part.work->Clear();
        part.cells = part.work.get();
    }
    ResetPartFlags();
}

void Composer::ResetPartFlags() {
    part.partIsDrumOrMode0 = part.partIsMode1 = part.partIsMode2 = part.partIsMode3 = 0;
    if (pass.channel == kDrumChannel) {
        part.partIsDrumOrMode0 = 1;
        return;
    }
    switch (part.trackChannelMode[pass.trackNumber - 1]) {
        case 0:
            part.partIsDrumOrMode0 = 1;
            break;
        case 1:
            part.partIsMode1 = 1;
            break;
        case 2:
            part.partIsMode2 = 1;
            break;
        case 3:
            part.partIsMode3 = 1;
            break;
        default:
            break;
    }
}

void Composer::SwitchStyles(int& /*evCount*/) {
    const int s = setup_.chords.sections[pass.sectionNext].slot;
    if (s < 1 || s > kSlotCount) {
        log_.Printf("Fatal error in call to Switch-Styles(): Invalid StyIdToSwTo %d", s);
        AbortCompose(1);
    }
    SwStyData(s, pass.trackNumber - 1);
    pass.channel = part.trackChannel[pass.trackNumber - 1];
    SelectStyleSlot(s);
    part.partVolume = ScaleVelocity(part.partVolume, s - 1);
    loudness.partVelocity = PartVelocityOf(part.partVolume);
    part.currentSlot = s;
    ++pass.sectionNext;
    // The first half measure of the new section looks at the held pattern notes again.
    pattern.recheckRequest = true;
    ChoosePartGenerator();
}

void Composer::FlushSectionEnd(int& evCount, int step) {
    play.oneNoteMode = part.partStyleValue == -36 && part.styleFlagLate ? 1 : 0;
    const int cc = ControlCode();
    const int mode = part.trackChannelMode[pass.trackNumber - 1];
    AddMeasureEvent(evCount, step, 0, cc, kCtlVolume, kHeadVolume);
    AddMeasureEvent(evCount, step, 0, cc, kCtlBank, pass.channel == kDrumChannel ? kDrumBank : 0);
    AddMeasureEvent(evCount, step, 0, cc, kCtlPan, part.partPan);
    AddMeasureEvent(evCount, step, 0, cc, kCtlReverb, part.partEffect);
    AddMeasureEvent(evCount, step, 0, cc, kCtlChorus, part.partEffect);
    AddMeasureEvent(evCount, step, 0, cc, kCtlSustain, 0);
    play.sustainDown = 0;
    play.idleCalls = 0;
    AddMeasureEvent(evCount, step, 0, cc, kCtlRelease, setup_.options.headRelease);
    AddMeasureEvent(evCount, step, 0, cc, kCtlBrightness, kHeadBrightness);
    AddMeasureEvent(evCount, step, 0, cc, kCtlSoftPedal, mode == 1 || mode == 3 ? 127 : 0);
    AddMeasureEvent(evCount, step, 0, ProgramCode(), part.partProgram, -1);
}

// ---------------------------------------------------------------------------------------------
// Measure dispatch

void MeasureGrid::SetHalves(int numerator, int holdMode) {
    const int q = stepsPerQuarter;
    halfStart1 = 0;
    switch (numerator) {
        case 2:
            halfEnd1 = q;
            measureEnd = 2 * q;
            break;
        case 3:
            halfEnd1 = 2 * q;
            measureEnd = 3 * q;
            break;
        case 6:
            halfEnd1 = 3 * q / 2;
            measureEnd = 3 * q;
            break;
        default:
            halfEnd1 = 2 * q;
            measureEnd = 4 * q;
            break;
    }
    halfStart2 = halfEnd1;
    holdLimitS = holdMode * halfEnd1 + 1;
    holdLimitN = 11 * halfEnd1 + 1;
}

void Composer::SetHalfMeasureBounds() {
    grid.SetHalves(setup_.header.numerator, setup_.options.holdMode);
}

void Composer::PrePassMeasure() {
    SetHalfMeasureBounds();
    const MeasureRecord& rec = setup_.chords.measures[pass.curMeasure];
    std::string chord = rec.chord1.empty() || rec.chord1[0] == '.' ? pass.prevChord : rec.chord1;
    ScanMayOnAtBeg(0, chord, grid.halfStart1, grid.halfEnd1, 0);
    pass.prevChord = chord;
    std::string chord2 = rec.chord2.empty() || rec.chord2[0] == '.' ? pass.prevChord : rec.chord2;
    ScanMayOnAtBeg(0, chord2, grid.halfStart2, grid.measureEnd, 0);
    pass.prevChord = chord2;
}

int Composer::ComposeMeasure() {
    SetHalfMeasureBounds();
    const MeasureRecord& rec = setup_.chords.measures[pass.curMeasure];
    int instCode = rec.instCode;
    const int drumCode = rec.drumCode;
    if (drumCode == 7 || drumCode == 6) instCode = drumCode;
    std::string chord = rec.chord1.empty() || rec.chord1[0] == '.' ? pass.prevChord : rec.chord1;
    const int startMode = part.trackChannelMode[pass.trackNumber - 1];
    if (startMode == 2) ChordCandidates(0, chord);
    int ev = 0;

    if (pass.lastMeasure) {
        ev = PlayEnding(chord, grid.halfStart1, grid.measureEnd, ev);
        ev = EndLoneNote(grid.halfStart1, grid.measureEnd, ev);
        pass.prevChord = chord;
        return ev;
    }

    ev = PlayHalf(drumCode, instCode, chord, grid.halfStart1, grid.halfEnd1, ev);
    const auto& sections = setup_.chords.sections;
    if (pass.trackNumber <= kStyleTrackCount &&
        pass.sectionNext < static_cast<int>(sections.size()) &&
        pass.curMeasure == sections[pass.sectionNext].measure) {
        bool skip = false;
        const HeldBuffer heldBuffer = HeldBufferKind();
        if (pass.channel == kDrumChannel) {
            ReleaseDrumHeld(grid.halfEnd1, 0, ev);
            ev = DrumSectionEnd(grid.halfEnd1, ev);
        } else {
            skip = SectStyleEnd(grid.halfEnd1, ev) != 0;
        }
        SwitchStyles(ev);
        // In the first measure the held notes carry over to the second half. A part whose new
        // play mode keeps its notes in another buffer would never end them, so they are handed
        // over; the held list only when the new part does not age it.
        if (!skip && pass.channel != kDrumChannel && HeldBufferKind() != heldBuffer)
            HandOverHeldNotes(grid.halfEnd1, ev, !AgesHeldList(part.generator));
        FlushSectionEnd(ev, grid.halfEnd1);
        DeferLoneNote(grid.halfEnd1, ev);
        if (skip) {
            pass.prevChord = chord;
            return ev;
        }
    }
    pass.prevChord = chord;
    SetHalfMeasureBounds();
    std::string chord2 = rec.chord2.empty() || rec.chord2[0] == '.' ? pass.prevChord : rec.chord2;
    // The candidate rule goes with the play mode the measure began in, also after a switch.
    if (startMode == 2 && chord2.substr(0, 2) == chord.substr(0, 2)) {
        if (ChordCandidates(1, chord2) > 0) chord2 = chordNames_[0];
    }
    ev = PlayHalf(drumCode, instCode, chord2, grid.halfStart2, grid.measureEnd, ev);
    pass.prevChord = chord2;
    return ev;
}

PartGenerator GeneratorFor(int channel, int mode, int styleFlag1, int styleFlagLate) {
    if (channel == kDrumChannel)
        return styleFlagLate ? PartGenerator::kDrumLate : PartGenerator::kDrum;
    if (mode == 0) {
        return styleFlag1      ? PartGenerator::kAccompKeyed
               : styleFlagLate ? PartGenerator::kAccompLate
                               : PartGenerator::kAccomp;
    }
    if (mode == 3) return PartGenerator::kPatternB3;
    if (mode == 1 && channel >= 5 && channel <= 8) {
        static constexpr PartGenerator kEchoByChannel[4] = {
            PartGenerator::kEcho1, PartGenerator::kEcho2, PartGenerator::kEcho3,
            PartGenerator::kEcho4};
        return kEchoByChannel[channel - 5];
    }
    if (mode == 2 || mode == 1) return PartGenerator::kPatternB1;
    return PartGenerator::kNone;
}

bool AgesHeldList(PartGenerator generator) {
    return generator == PartGenerator::kAccomp || generator == PartGenerator::kAccompKeyed ||
           generator == PartGenerator::kAccompLate;
}

void Composer::ChoosePartGenerator() {
    part.generator = GeneratorFor(pass.channel, part.trackChannelMode[pass.trackNumber - 1],
                                  part.styleFlag1, part.styleFlagLate);
}

PartGenerator Composer::GeneratorAfterSwitch() const {
    const int slot = setup_.chords.sections[pass.sectionNext].slot;
    const int t = pass.trackNumber - 1;
    const StyleSlot& next = slots[slot];
    // As SwStyData and SelectStyleSlot will set them.
    const int flag1 = next.tracks[t].styleFlag1;
    return GeneratorFor(ChannelInSlot(next, t), PlayModeInSlot(next, flag1, t), flag1,
                        SettingsOfSlot(slot).flagLate);
}

int Composer::PlayHalf(int drumCode, int instCode, const std::string& chord, int beg, int end,
                       int ev) {
    switch (part.generator) {
        case PartGenerator::kDrum:
            return DrumPart(drumCode, chord, beg, end, ev);
        case PartGenerator::kDrumLate:
            return DrumPartAlt(drumCode, chord, beg, end, ev);
        case PartGenerator::kAccomp:
            return MakeAccompPart(drumCode, instCode, chord, beg, end, ev);
        case PartGenerator::kAccompKeyed:
            return MakeAccompPartAlt(1, drumCode, instCode, chord, beg, end, ev);
        case PartGenerator::kAccompLate:
            return MakeAccompPartAlt(2, drumCode, instCode, chord, beg, end, ev);
        case PartGenerator::kPatternB3:
            return MakeBngB3Part(instCode, chord, beg, end, ev);
        case PartGenerator::kPatternB1:
            return MakeBngB1Part(instCode, chord, beg, end, ev);
        case PartGenerator::kEcho1:
            return MakeEchoPart1(instCode, chord, beg, end, ev);
        case PartGenerator::kEcho2:
            return MakeEchoPart2(instCode, chord, beg, end, ev);
        case PartGenerator::kEcho3:
            return MakeEchoPart34(true, chord, beg, end, ev);
        case PartGenerator::kEcho4:
            return MakeEchoPart34(false, chord, beg, end, ev);
        case PartGenerator::kNone:
            break;
    }
    return ev;
}

int Composer::PlayEnding(const std::string& chord, int beg, int end, int ev) {
    switch (part.generator) {
        case PartGenerator::kDrum:
        case PartGenerator::kDrumLate:
            return DrumEnding(chord, beg, end, ev);
        case PartGenerator::kAccomp:
            return MakeAccompEnding(0, 1, chord, beg, end, ev);
        case PartGenerator::kAccompKeyed:
            return MakeAccompEnding(1, 1, chord, beg, end, ev);
        case PartGenerator::kAccompLate:
            return MakeAccompEnding(2, 1, chord, beg, end, ev);
        case PartGenerator::kPatternB3:
            return MakeBngEnding(true, 1, chord, beg, end, ev);
        case PartGenerator::kPatternB1:
            return MakeBngEnding(false, 1, chord, beg, end, ev);
        case PartGenerator::kEcho1:
            return MakeEchoEnding(1, chord, beg, end, ev);
        case PartGenerator::kEcho2:
            return MakeEchoEnding(2, chord, beg, end, ev);
        case PartGenerator::kEcho3:
            return MakeEchoEnding(3, chord, beg, end, ev);
        case PartGenerator::kEcho4:
            return MakeEchoEnding(4, chord, beg, end, ev);
        case PartGenerator::kNone:
            break;
    }
    return ev;
}

HeldBuffer Composer::HeldBufferKind() const {
    switch (part.generator) {
        case PartGenerator::kAccomp:
            return HeldBuffer::kAccomp;
        case PartGenerator::kAccompKeyed:
        case PartGenerator::kAccompLate:
            return HeldBuffer::kHeldList;
        case PartGenerator::kPatternB3:
            return HeldBuffer::kPatternB3;
        case PartGenerator::kPatternB1:
        case PartGenerator::kEcho1:
        case PartGenerator::kEcho2:
        case PartGenerator::kEcho3:
        case PartGenerator::kEcho4:
            return HeldBuffer::kPatternB1;
        default:
            return HeldBuffer::kNone;
    }
}

void Composer::SetupEchoPart12(int first) {
    part.work->Clear();
    part.cells = part.work.get();
    const int t = pass.trackNumber - 1;
    part.trackChannelMode[t] = 1;
    part.trackChannel[t] = first ? 5 : 6;
    part.trackTensValue[t] = 0;
    part.trackTensFlag[t] = 0;
    pass.channel = part.trackChannel[t];
    part.partProgram = setup_.options.echoProgram1;
    part.partPan = first ? 24 : 104;
    part.partEffect = 64;
    part.pUseSust = 0;
    part.styleFlag1 = 0;
    part.partModeTens = 0;
    part.partStyleValue = 0;
    part.velHs = {};
    part.partVolume = ScaleVelocity(setup_.options.echoLevel1, 0);
    const int S = grid.lastStepOfHalf;
    auto put = [&](int row, int value) {
        if (row < 0 || row >= kRowCount) return;
        for (int mode = 0; mode < kModeCount; ++mode)
            part.work->RowToFill(mode, row)[0].whole = value;
    };
    if (setup_.options.echoLevel1 == 0) {
        if (first) {
            put(0, 6);
            put(S - 1, -6);
        }
        return;
    }
    put(0, 6);
    put(S - 1, -6);
    const bool fine = grid.stepsPerQuarter == 12;
    struct Pair {
        int at;
        int value;
    };
    std::vector<Pair> pairs;
    switch (setup_.header.numerator) {
        case 3:
            pairs = fine ? std::vector<Pair>{{1, 3}, {2, -3}, {7, 6}, {8, -6}}
                         : std::vector<Pair>{{1, 3}, {2, -3}, {5, 6}, {6, -6}};
            break;
        case 2:
            pairs = fine ? std::vector<Pair>{{1, 2}, {2, -2}, {4, 4},  {5, -4},
                                             {7, 6}, {8, -6}, {10, 8}, {11, -8}}
                         : std::vector<Pair>{{1, 2}, {2, -2}, {3, 4}, {4, -4},
                                             {5, 6}, {6, -6}, {7, 8}, {8, -8}};
            break;
        case 6:
            pairs = fine ? std::vector<Pair>{{1, 2}, {2, -2}, {7, 5}, {8, -5}, {13, 8}, {14, -8}}
                         : std::vector<Pair>{{1, 2}, {2, -2}, {5, 5}, {6, -5}, {9, 8}, {10, -8}};
            break;
        default:
            pairs = fine ? std::vector<Pair>{{1, 2},  {2, -2},  {7, 4},  {8, -4},
                                             {13, 6}, {14, -6}, {19, 8}, {20, -8}}
                         : std::vector<Pair>{{1, 2}, {2, -2},  {5, 4},  {6, -4},
                                             {9, 6}, {10, -6}, {13, 8}, {14, -8}};
            break;
    }
    for (const Pair& p : pairs) put(S + p.at, p.value);
}

void Composer::SetupEchoPart3() {
    part.work->Clear();
    part.cells = part.work.get();
    const int t = pass.trackNumber - 1;
    part.trackChannelMode[t] = 1;
    part.trackChannel[t] = 7;
    part.trackTensValue[t] = part.trackTensFlag[t] = 0;
    pass.channel = 7;
    part.partProgram = setup_.options.echoProgram2;
    part.partPan = 34;
    part.partEffect = 64;
    part.pUseSust = part.styleFlag1 = part.partModeTens = part.partStyleValue = 0;
    part.velHs = {};
    part.partVolume = ScaleVelocity(setup_.options.echoLevel2, 0);
}

void Composer::SetupEchoPart4() {
    SetupEchoPart3();
    part.trackChannel[pass.trackNumber - 1] = 8;
    pass.channel = 8;
    part.partPan = 94;
}

// ---------------------------------------------------------------------------------------------
// Track passes and output

void Composer::ResetPassState() {
    SelectStyleSlot(1);
    part.currentSlot = 1;
    khLast_ = khBefore_ = songKeyRoot_;
    currentKeyNote_ = songKeyRoot_;
    pass.lastMeasure = false;
    pass.events.clear();
    pass.onBff.clear();
    pass.noteOnCount = pass.noteOffCount = 0;
    held.s3Dr3.clear();
    held.s3A3.clear();
    held.deferredOffs.clear();
    held.bngOnEvA0.clear();
    pattern.bngOnEvB1.clear();
    pattern.bngOnEvB3.clear();
    held.drum0Evs.clear();
    pattern.lastB1Note = pattern.lastB3Note = 0;
    loudness.channelVolume = 125;
    pattern.sValCount = 0;
    play.idleCalls = 0;
    play.silenced = true;
    play.stoppedOnce = false;
    play.mayStop = false;
    play.oneNoteMode = 0;
    play.pendingNote = 0;
    play.loneNoteEntry.reset();
    play.normalStep = 0;
    play.introSeen = 0;
    play.sustainDown = 0;
    play.sustainNotes = 0;
    pattern.recheckRequest = false;
    pass.sectionNext = 0;
    echo.echoPart1Note = echo.prevEchoNote = echo.currentEchoNote = 0;
    echo.bngOnEv2.clear();
    echo.bngOnEv45.clear();
    echo.lastEcho3Note = echo.lastEcho4Note = 0;
}

std::vector<std::uint8_t> Composer::TrackPass(int number) {
    pass.trackNumber =
        number <= kStyleTrackCount ? number : number - (kEchoPassFirst - kStyleTrackCount - 1);
    ResetPassState();
    if (number <= kStyleTrackCount) {
        pass.channel = slots[1].channel[number - 1];
        SwStyData(1, number - 1);
        pass.channel = part.trackChannel[number - 1];
        part.partVolume = ScaleVelocity(part.partVolume, 0);
        // A part the user set to a play mode other than 0 in slot 1, where every pass starts,
        // plays from the first measure; a mode-0 part waits for its entry codes.
        play.playFromStart = setup_.slotParams[0].channelMode[number - 1] != 0;
    } else {
        switch (number) {
            case 10:
                SetupEchoPart12(1);
                break;
            case 11:
                SetupEchoPart12(0);
                break;
            case 12:
                SetupEchoPart3();
                break;
            default:
                SetupEchoPart4();
                break;
        }
        play.playFromStart = false;
    }
    loudness.partVelocity = PartVelocityOf(part.partVolume);

    TrackWriter writer;
    const char* name = pass.channel == kDrumChannel ? "Zq-Drums"
                       : pass.channel == 5          ? "Zq-Echo-Part-01"
                       : pass.channel == 6          ? "Zq-Echo-Part-02"
                       : pass.channel == 7          ? "Zq-Echo-Part-03"
                       : pass.channel == 8          ? "Zq-Echo-Part-04"
                                                    : "Zq-Composer";
    writer.BeginTrack(name);
    const int cc = ControlCode();
    if (pass.channel != kDrumChannel)
        writer.Meta(0x59, {setup_.header.keySignature[0], setup_.header.keySignature[1]});
    writer.Event(cc, kCtlVolume, kHeadVolume);
    writer.Event(cc, kCtlBank, pass.channel == kDrumChannel ? kDrumBank : 0);
    writer.Event(cc, kCtlPan, part.partPan);
    writer.Event(cc, kCtlReverb, part.partEffect);
    writer.Event(cc, kCtlChorus,
                 pass.channel >= 5 && pass.channel <= 8 ? kEchoReverb : part.partEffect);
    writer.Event(cc, kCtlSustain, 0);
    writer.Event(cc, kCtlRelease, setup_.options.headRelease);
    writer.Event(cc, kCtlBrightness, kHeadBrightness);
    writer.Event(cc, kCtlOmniOn, 0);
    writer.Event(cc, kCtlPolyOn, 0);
    writer.Event(cc, kCtlSoftPedal, part.trackChannelMode[pass.trackNumber - 1] != 0 ? 127 : 0);
    writer.Event(ProgramCode(), part.partProgram, -1);

    ResetPartFlags();
    ChoosePartGenerator();
    std::int64_t measureStart = 0;
    std::int64_t lastEventTime = 0;
    std::vector<TimedEvent> timed;
    const int count = static_cast<int>(setup_.chords.measures.size());
    for (int m = 0; m < count; ++m) {
        pass.curMeasure = m;
        pass.lastMeasure = m == count - 1;
        pass.events.clear();
        const int n = ComposeMeasure();
        for (int i = 0; i < n && i < static_cast<int>(pass.events.size()); ++i) {
            const MeasureEvent& e = pass.events[i];
            if (e.offset < 0 || e.offset > grid.maxTickOffset) {
                log_.Printf("Ms=%03d Error: Invalid mbM Value %02d, ", m + 1, e.offset);
                log_.Printf("MesuBegTime=%06ld, MesuRelaTime=%02d, mbM=%02d, code=%02X\n",
                            static_cast<long>(measureStart), e.step, e.offset, e.status);
                AbortCompose(1);
            }
            // An event placed before the one written last is written at the same time.
            const std::int64_t time =
                static_cast<std::int64_t>(e.step) * grid.ticksPerStep + measureStart + e.offset;
            lastEventTime = std::max(lastEventTime, time);
            timed.push_back({lastEventTime, e.status, e.data1, e.data2});
        }
        measureStart += grid.measureTicks;
    }
    WellFormedNotes(timed);
    std::int64_t written = 0;
    for (const TimedEvent& e : timed) {
        if (!writer.Delta(e.tick - written)) {
            log_.Printf("Error: The Value is too big.");
            AbortCompose(1);
        }
        writer.Raw(e.status, e.data1, e.data2);
        written = e.tick;
    }
    return writer.EndTrack();
}

ComposeResult Composer::ComposeAll(TrackSink* sink) {
    ComposeResult result;
    khLast_ = khBefore_ = songKeyRoot_;
    pass.trackNumber = 1;
    pass.channel = 0;
    const int count = static_cast<int>(setup_.chords.measures.size());
    for (int m = 0; m < count; ++m) {
        pass.curMeasure = m;
        PrePassMeasure();
    }
    OutputTrackCoder coder(setup_.runCode);
    static constexpr int kPasses[9] = {1, 2, 3, 4, 5, 10, 11, 12, 13};
    for (int i = 0; i < 9; ++i) {
        const std::vector<std::uint8_t> plain = TrackPass(kPasses[i]);
        const std::size_t before = result.codedTracks.size();
        coder.Append(plain, result.codedTracks);
        if (sink)
            sink->Track(plain, std::span<const std::uint8_t>(result.codedTracks).subspan(before));
        result.noteOnCounts[i] = pass.noteOnCount;
        result.noteOffCounts[i] = pass.noteOffCount;
        ++result.tracksWritten;
    }
    result.lastPlainTrack = NameTrack(setup_.slotSettings);
    const std::size_t before = result.codedTracks.size();
    coder.Append(result.lastPlainTrack, result.codedTracks);
    if (sink)
        sink->Track(result.lastPlainTrack,
                    std::span<const std::uint8_t>(result.codedTracks).subspan(before));
    return result;
}

std::string Composer::SectionFileText() const {
    std::string text;
    char item[32];
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        for (int t = 0; t < kStyleTrackCount; ++t) {
            const StyleTrack& track = slots[slot].tracks[t];
            std::snprintf(item, sizeof item, "%03d %03d ", track.program + 1, track.volume);
            text += item;
        }
        text += "000 000; ";
    }
    text += "\r\n";
    for (const SectionEntry& e : setup_.chords.sections) {
        std::snprintf(item, sizeof item, "%03d:%d\r\n", e.measure + 1, e.slot);
        text += item;
    }
    return text;
}

std::string Composer::CountsFileText(const ComposeResult& result) const {
    if (result.noteOnCounts[8] == result.noteOffCounts[8]) return {};
    std::string text;
    char line[96];
    for (int i = 0; i < 9; ++i) {
        std::snprintf(line, sizeof line, "%d=> %06ld:%06ld,%03d\r\n", i + 1, result.noteOnCounts[i],
                      result.noteOffCounts[i], songKeyNote_);
        text += line;
    }
    return text;
}

std::string Composer::ClosingLines(const ComposeResult& result) const {
    long total = 0;
    for (long n : result.noteOnCounts) total += n;
    char text[128];
    std::snprintf(text, sizeof text, "BsCnt0=%ld, BsCnt1=%ld\nTest: = %06ld", prePass.bsCnt0,
                  prePass.bsCnt1, total);
    return text;
}

}  // namespace composer
