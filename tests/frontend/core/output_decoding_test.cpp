#include "frontend/core/output_decoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/hex_text.h"
#include "tests/support/song_builder.h"

namespace frontend {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testsupport::BytesFromHexText;

// The composer's coding of the composed tracks: stored = plain - run code - counter, the
// counter starting at 2 and staying at 255 from the 254th byte on.
Bytes Code(const Bytes& plain, int runCode) {
    Bytes coded;
    int counter = 1;
    for (std::uint8_t byte : plain) {
        if (counter < 255) ++counter;
        coded.push_back(static_cast<std::uint8_t>(byte - runCode - counter));
    }
    return coded;
}

Bytes Track(const Bytes& events) {
    Bytes track = {'M', 'T', 'r', 'k', 0, 0, 0, 0};
    const std::size_t length = events.size();
    track[4] = static_cast<std::uint8_t>(length >> 24);
    track[5] = static_cast<std::uint8_t>(length >> 16);
    track[6] = static_cast<std::uint8_t>(length >> 8);
    track[7] = static_cast<std::uint8_t>(length);
    track.insert(track.end(), events.begin(), events.end());
    return track;
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

const Bytes kHeader = BytesFromHexText(R"("MThd" 00 00 00 06  00 01  00 0C  01 80)");

TEST(OutputDecoding, DecodesTheComposedTracksOfARealisticOutput) {
    testsupport::SimpleSong song;
    song.notes = {{0, 384, 60, 100}, {384, 768, 64, 90}};
    const Bytes input = testsupport::BuildSong(song);
    const Bytes plainPart = input;  // header and the two copied tracks
    Bytes composed;
    for (int t = 0; t < 10; ++t) {
        Bytes events = BytesFromHexText("00 FF 03 0B \"Zq-Composer\" 00 B1 07 78 00 C1 21");
        for (int n = 0; n < 40; ++n) {  // enough bytes to pass the counter's last value
            events.insert(events.end(), {0x10, 0x91, static_cast<std::uint8_t>(40 + n), 0x64});
            events.insert(events.end(), {0x10, 0x81, static_cast<std::uint8_t>(40 + n), 0x00});
        }
        events.insert(events.end(), {0x00, 0xFF, 0x2F, 0x00});
        const Bytes track = Track(events);
        composed.insert(composed.end(), track.begin(), track.end());
    }
    for (int runCode : {59, 71, 100}) {
        SCOPED_TRACE(runCode);
        const Bytes output = Join({plainPart, Code(composed, runCode)});
        const auto decoded = DecodeComposeOutput(output, static_cast<std::int16_t>(runCode));
        ASSERT_TRUE(decoded.has_value());
        EXPECT_EQ(decoded->headLength, plainPart.size());
        EXPECT_EQ(decoded->song, Join({plainPart, composed}));
    }
}

TEST(OutputDecoding, FindsThePlainPartByChunksEvenWhenTracksEndLate) {
    // Both copied tracks end with a non-zero delta before their end event, so the byte search
    // for 00 FF 2F 00 would not find them; the chunk walk does.
    const Bytes first = Track(BytesFromHexText("00 FF 51 03 07 A1 20  83 00 FF 2F 00"));
    const Bytes second = Track(BytesFromHexText("00 90 3C 64  83 00 80 3C 00  10 FF 2F 00"));
    const Bytes composed = Track(BytesFromHexText("00 B5 07 78  00 FF 2F 00"));
    const Bytes output = Join({kHeader, first, second, Code(composed, 70)});
    const auto decoded = DecodeComposeOutput(output, 70);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->headLength, kHeader.size() + first.size() + second.size());
    EXPECT_EQ(decoded->song, Join({kHeader, first, second, composed}));
}

TEST(OutputDecoding, HeadLengthCases) {
    const Bytes first = Track(BytesFromHexText("00 FF 2F 00"));
    const Bytes second = Track(BytesFromHexText("00 90 3C 64 60 80 3C 00 00 FF 2F 00"));
    const std::size_t plain = kHeader.size() + first.size() + second.size();
    Bytes badLength = Join({kHeader, first, second});
    badLength[kHeader.size() + 7] = 0x40;  // the first track claims more than it holds
    const struct {
        const char* what;
        Bytes output;
        std::optional<std::size_t> headLength;
    } cases[] = {
        {"chunks that check out", Join({kHeader, first, second, Bytes{1, 2, 3}}), plain},
        {"nothing coded behind the plain part", Join({kHeader, first, second}), plain},
        {"a broken length falls back to the byte search", badLength, plain},
        {"no header chunk: byte search", Join({first, second, Bytes{9, 9}}),
         first.size() + second.size()},
        {"a single end of track", Join({kHeader, first}), std::nullopt},
        {"an empty file", Bytes{}, std::nullopt},
        {"the sequence anywhere counts in the search",
         BytesFromHexText("00 FF 2F 00 00 FF 2F 00 AA"), 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(FindOutputHeadLength(c.output), c.headLength);
    }
    EXPECT_FALSE(DecodeComposeOutput(Join({kHeader, first}), 70).has_value());
}

TEST(OutputDecoding, CounterRunsOverAllCodedBytes) {
    // With run code 70 the stored byte B8 at the first coded place decodes to 00; the counter
    // is not restarted per track and stays at 255 from the 254th byte on.
    Bytes coded(300, 0xB8);
    DecodeOutputTracks(coded, 0, 70);
    EXPECT_EQ(coded[0], 0x00);                       // B8 + 70 + 2
    EXPECT_EQ(coded[1], 0x01);                       // B8 + 70 + 3
    EXPECT_EQ(coded[252], (0xB8 + 70 + 254) % 256);  // 253rd byte, counter 254
    EXPECT_EQ(coded[253], (0xB8 + 70 + 255) % 256);  // 254th byte, counter 255
    EXPECT_EQ(coded[299], (0xB8 + 70 + 255) % 256);

    Bytes head = {1, 2, 3, 0xB8};
    DecodeOutputTracks(head, 3, 70);
    EXPECT_EQ(head, (Bytes{1, 2, 3, 0x00}));
}

}  // namespace
}  // namespace frontend
