#include "formats/output_coding.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/song_builder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A track chunk with `events` (delta times included) and the end-of-track event.
Bytes Track(Bytes events) {
    events.insert(events.end(), {0x00, 0xFF, 0x2F, 0x00});
    return testsupport::TrackChunk(events);
}

Bytes Coded(const Bytes& plain, int runCode) {
    formats::OutputTrackCoder coder(runCode);
    Bytes coded;
    coder.Append(plain, coded);
    return coded;
}

TEST(OutputCoding, CounterRunsAcrossTracksAndStopsAt255) {
    formats::OutputTrackCoder coder(70);
    Bytes coded;
    coder.Append(Bytes(200, 0), coded);
    coder.Append(Bytes(100, 0), coded);  // a second track goes on with the same counter
    EXPECT_EQ(coded[0], static_cast<std::uint8_t>(-72));
    EXPECT_EQ(coded[252], static_cast<std::uint8_t>(-(70 + 254)));
    EXPECT_EQ(coded[253], static_cast<std::uint8_t>(-(70 + 255)));
    EXPECT_EQ(coded[299], static_cast<std::uint8_t>(-(70 + 255)));
    formats::UndoOutputCoding(coded, 70);
    EXPECT_EQ(coded, Bytes(300, 0));
}

TEST(OutputCoding, DecoderAcceptsOnlyWholeTracksOfTheRightRunCode) {
    // Long enough that the counter reaches 255 inside the second track.
    Bytes notes;
    for (int i = 0; i < 80; ++i) notes.insert(notes.end(), {0x10, 0x90, 0x3C, 0x64});
    Bytes plain = Track({0x00, 0xC0, 0x05});
    const Bytes second = Track(notes);
    plain.insert(plain.end(), second.begin(), second.end());

    Bytes cut = Coded(plain, 70);
    cut.resize(cut.size() - 1);
    Bytes trailing = Coded(plain, 70);
    trailing.push_back(0x00);
    const Bytes pastTheEnd = Coded(Track({0x00, 0xC0, 0x05}), 70);
    Bytes longer = Track({0x00, 0xC0, 0x05});
    longer[7] = 0x20;  // the length runs past the end of the file
    Bytes noEnd = Track({0x00, 0xC0, 0x05});
    noEnd[noEnd.size() - 2] = 0x2E;

    struct Case {
        const char* what;
        Bytes coded;
        int runCode;
        bool whole;
    };
    const Case cases[] = {
        {"the composer's run code", Coded(plain, 70), 70, true},
        {"no composed track at all", Bytes{}, 70, true},
        {"a code one higher", Coded(plain, 70), 71, false},
        {"a code one lower", Coded(plain, 70), 69, false},
        {"a code far off", Coded(plain, 70), 70 + 128, false},
        // The coding works modulo 256: such codes decode alike and cannot be told apart.
        {"a code 256 higher", Coded(plain, 70), 70 + 256, true},
        {"cut short inside the last track", cut, 70, false},
        {"a byte after the last track", trailing, 70, false},
        {"a track length past the end", Coded(longer, 70), 70, false},
        {"a track without its end event", Coded(noEnd, 70), 70, false},
        {"one track of another run", pastTheEnd, 12, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes bytes = c.coded;
        EXPECT_EQ(formats::DecodeOutputTracks(bytes, c.runCode), c.whole);
        if (c.whole) {
            EXPECT_EQ(bytes.size(), c.coded.empty() ? 0 : plain.size());
            if (!c.coded.empty()) {
                EXPECT_EQ(bytes, plain);
            }
            EXPECT_EQ(formats::CountWholeTrackChunks(bytes), c.coded.empty() ? 0u : 2u);
        }
    }
}

}  // namespace
