#include "workers/chordmaker/text_scan.h"

#include <limits>

namespace chordmaker {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

constexpr std::int64_t kSaturation = std::numeric_limits<std::int64_t>::max() / 16;

}  // namespace

bool LineReader::GetLine(std::string& line) {
    line.clear();
    if (AtEnd()) return false;
    while (position_ < bytes_.size() && (limit_ == 0 || line.size() < limit_)) {
        const char c = static_cast<char>(bytes_[position_++]);
        line.push_back(c);
        if (c == '\n') break;
    }
    if (!line.empty() && line.back() == '\n') line.pop_back();
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t nul = line.find('\0');
    if (nul != std::string::npos) line.resize(nul);
    return true;
}

bool FieldScanner::ReadNumber(int width, std::int64_t& value) {
    while (position_ < text_.size() && IsBlank(text_[position_])) ++position_;
    const std::size_t limit =
        width > 0 ? position_ + static_cast<std::size_t>(width) : text_.size();
    std::size_t at = position_;
    bool negative = false;
    if (at < text_.size() && at < limit && (text_[at] == '+' || text_[at] == '-')) {
        negative = text_[at] == '-';
        ++at;
    }
    std::int64_t number = 0;
    bool digits = false;
    while (at < text_.size() && at < limit && text_[at] >= '0' && text_[at] <= '9') {
        if (number < kSaturation) number = number * 10 + (text_[at] - '0');
        digits = true;
        ++at;
    }
    if (!digits) return false;
    position_ = at;
    value = negative ? -number : number;
    return true;
}

bool FieldScanner::Int(int width, std::int32_t& value) {
    std::int64_t number = 0;
    if (!ReadNumber(width, number)) return false;
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
    value = static_cast<std::int32_t>(number > kMax ? kMax : (number < kMin ? kMin : number));
    return true;
}

bool FieldScanner::Long(std::int64_t& value) {
    return ReadNumber(0, value);
}

bool FieldScanner::Literal(char expected) {
    if (position_ >= text_.size() || text_[position_] != expected) return false;
    ++position_;
    return true;
}

bool FieldScanner::Word(int width, std::string& word) {
    while (position_ < text_.size() && IsBlank(text_[position_])) ++position_;
    const std::size_t start = position_;
    while (position_ < text_.size() && !IsBlank(text_[position_]) &&
           position_ - start < static_cast<std::size_t>(width)) {
        ++position_;
    }
    if (position_ == start) return false;
    word.assign(text_.substr(start, position_ - start));
    return true;
}

std::int64_t LeadingNumber(std::string_view text) {
    FieldScanner scanner(text);
    std::int64_t value = 0;
    return scanner.Long(value) ? value : 0;
}

}  // namespace chordmaker
