#include "formats/chord_data.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

TEST(ChordDataCodingTest, RecordStartWithKey49) {
    const auto stored = formats::EncodeChordData(Bytes("000:"), 49);
    EXPECT_EQ(stored, (std::vector<std::uint8_t>{101, 104, 107, 120}));
}

TEST(ChordDataCodingTest, CounterRunsAcrossRecordsAndWrapsModulo256) {
    // 100 records: the counter passes 256 several times and never restarts per record.
    std::string plain;
    for (int m = 0; m < 100; ++m) plain += std::string(35, static_cast<char>('A' + m % 26));
    const auto stored = formats::EncodeChordData(Bytes(plain), '5');
    ASSERT_EQ(stored.size(), plain.size());
    // The first byte of record 2 is coded with i = 36.
    EXPECT_EQ(stored[35], static_cast<std::uint8_t>('B' + '5' + 1 + 3 * 36));
    EXPECT_EQ(stored[299], static_cast<std::uint8_t>(plain[299] + '5' + 1 + 3 * 300));
    EXPECT_EQ(formats::DecodeChordData(stored, '5'), Bytes(plain));
}

TEST(ChordDataCodingTest, StreamingCoderMatchesWholeFileAndRewinds) {
    const std::string plain = "003:8:C....:2:.....:8:0:          ;";
    formats::ChordDataCoder coder(formats::kChordEditorKey);
    std::vector<std::uint8_t> stored;
    for (const char c : plain) stored.push_back(coder.Encode(static_cast<std::uint8_t>(c)));
    EXPECT_EQ(stored, formats::EncodeChordData(Bytes(plain), formats::kChordEditorKey));
    coder.Rewind();
    std::string decoded;
    for (const std::uint8_t b : stored) decoded += static_cast<char>(coder.Decode(b));
    EXPECT_EQ(decoded, plain);
}

TEST(ChordDataCodingTest, WrongKeyGivesOtherBytes) {
    const auto stored = formats::EncodeChordData(Bytes("000:"), 49);
    EXPECT_NE(formats::DecodeChordData(stored, 50), Bytes("000:"));
}

}  // namespace
