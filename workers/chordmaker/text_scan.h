// Reading the chord maker's text inputs the way their formats were defined: lines of at most 79
// characters with the line end removed, and fields read like scanf conversions (a %d skips
// blanks, reads at most its width of sign and digits, and needs one digit at least).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace chordmaker {

// The longest line piece one read takes; a longer line is read in pieces.
inline constexpr std::size_t kLineReadLimit = 79;

class LineReader {
  public:
    // `limit` characters at most per read; 0 reads whole lines.
    explicit LineReader(std::span<const std::uint8_t> bytes, std::size_t limit = kLineReadLimit)
        : bytes_(bytes), limit_(limit) {}

    // One line without its line end (LF, then a CR before it); false at the end of the input.
    // Text after a NUL byte in a line is not part of it.
    bool GetLine(std::string& line);
    bool AtEnd() const { return position_ >= bytes_.size(); }

  private:
    std::span<const std::uint8_t> bytes_;
    std::size_t limit_;
    std::size_t position_ = 0;
};

class FieldScanner {
  public:
    explicit FieldScanner(std::string_view text) : text_(text) {}

    // %d with a width (0 = no width); values beyond 32 bits saturate.
    bool Int(int width, std::int32_t& value);
    bool Long(std::int64_t& value);
    // A character of the format that must stand here exactly.
    bool Literal(char expected);
    // %Ns: skips blanks, then at most `width` non-blank characters.
    bool Word(int width, std::string& word);

  private:
    bool ReadNumber(int width, std::int64_t& value);

    std::string_view text_;
    std::size_t position_ = 0;
};

// atoi: leading blanks, a sign, the digits that follow; 0 when there are none.
std::int64_t LeadingNumber(std::string_view text);

}  // namespace chordmaker
