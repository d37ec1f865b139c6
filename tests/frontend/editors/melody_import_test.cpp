// The melody importer's run as the dialog sets it up: field limits, key and time tokens, and
// command lines that the melody worker itself accepts.
#include "frontend/editors/melody_import.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "workers/melody/melody_args.h"

namespace corvane::editors {
namespace {

TEST(MelodyImportTest, FieldsStayWithinTheirLimits) {
    const struct {
        const char* text;
        int measures;
        int tempo;
        int volume;
    } cases[] = {
        {"25", 16, 25, 50},
        {"17", 16, 20, 50},
        {"16", 16, 20, 50},
        {"1", 1, 20, 50},
        {"0", 0, 20, 50},
        {"-3", 0, 20, 50},
        {"", 0, 20, 50},
        {"abc", 0, 20, 50},
        {"10", 10, 20, 50},
        {"120", 16, 120, 120},
        {"240", 16, 240, 200},
        {"500", 16, 240, 200},
        {"99999999999", 16, 240, 200},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(MeasuresToInsertOf(c.text), c.measures);
        EXPECT_EQ(TempoOf(c.text), c.tempo);
        EXPECT_EQ(VolumePercentOf(c.text), c.volume);
    }
}

TEST(MelodyImportTest, KeyAndTimeTokens) {
    const struct {
        const char* name;
        int keySf;
        int tonic;
    } keys[] = {{"C  Major", 0, 60},  {"A  Minor", 0, 69},    {"Bb Minor", -5, 70},
                {"C# Major", 7, 61},  {"A# Minor", 7, 70},    {"Gb Major", -6, 66},
                {"Eb Minor", -6, 63}, {" F  Major ", -1, 65}, {"No Key", 0, 60},
                {"", 0, 60}};
    for (const auto& k : keys) {
        SCOPED_TRACE(k.name);
        EXPECT_EQ(KeyTokensOf(k.name).keySf, k.keySf);
        EXPECT_EQ(KeyTokensOf(k.name).tonic, k.tonic);
    }
    const struct {
        const char* text;
        int beats;
    } times[] = {{"2/4", 2}, {"3/4", 3}, {"4/4", 4}, {" 6/8 ", 6}, {"5/4", 4}, {"", 4}};
    for (const auto& t : times) EXPECT_EQ(BeatsCodeOf(t.text), t.beats) << t.text;
}

TEST(MelodyImportTest, CommandLines) {
    MelodyRun plain;
    plain.handle = 1704;
    EXPECT_EQ(QuenbyArgs(plain), "Quenby 1 4 0 60 120 1 1 0 0 100 1991 1704 0");

    MelodyRun run;
    run.track = 5;
    run.beats = 6;
    run.key = {-5, 70};
    run.tempo = 96;
    run.doubled = true;
    run.intro = 16;
    run.ending = 2;
    run.volume = 200;
    run.handle = 1000;
    // 5 + 6 - 5 + 70 + 96 + 2 + 1 + 16 + 2 + 200 = 393
    EXPECT_EQ(QuenbyArgs(run), "Quenby 5 6 -5 70 96 2 1 16 2 200 1393 1000 0");
    run.generate = true;
    EXPECT_EQ(QuenbyArgs(run), "Quenby 5 6 -5 70 96 2 1 16 2 200 1393 1000 1");
}

// Every line the dialog can build is one the worker takes: 13 tokens, all in range, and a sum
// that leaves no remainder, for the smallest and the largest values of every field and for
// handles up to the receivers' limit and beyond, where the sum wraps past 2^31.
TEST(MelodyImportTest, WorkerAcceptsEveryLineTheDialogBuilds) {
    std::vector<MelodyRun> runs;
    for (const std::uint32_t handle : {1u, (1u << 30) - 1, 0x7FFFFFF0u}) {
        for (const bool high : {false, true}) {
            MelodyRun run;
            run.track = high ? 16 : 1;
            run.beats = high ? 6 : 2;
            run.key = high ? KeyTokens{7, 71} : KeyTokens{-6, 60};
            run.tempo = high ? 240 : 20;
            run.doubled = high;
            run.intro = high ? 16 : 0;
            run.ending = high ? 16 : 0;
            run.volume = high ? 200 : 50;
            run.generate = high;
            run.handle = handle;
            runs.push_back(run);
        }
    }
    for (const MelodyRun& run : runs) {
        const std::string full = QuenbyArgs(run);
        SCOPED_TRACE(full);
        std::string line = full.substr(full.find(' ') + 1);
        melody::QuenbyTokens tokens{};
        ASSERT_EQ(melody::SplitQuenbyLine(line.data(), tokens), melody::kQuenbyTokenCount);
        const melody::QuenbyArgs args = melody::ConvertQuenbyTokens(tokens);
        EXPECT_EQ(melody::SumTokenRemainder(args), 0);
        EXPECT_EQ(static_cast<std::uint32_t>(args.callerWnd), run.handle);
        EXPECT_EQ(args.runMode == melody::kGenerateRunMode, run.generate);
        EXPECT_TRUE(melody::QuenbyArgsInRange(args));
    }
}

}  // namespace
}  // namespace corvane::editors
