#include "frontend/core/style_header.h"

#include <algorithm>
#include <array>

#include "frontend/core/vb_text.h"

namespace corvane {
namespace {

constexpr std::string_view kRecordTag = "Mtrk,";
constexpr int kHeaderTextField = 13;
constexpr std::array<std::string_view, 4> kTimeSignatures = {"2/4", "3/4", "4/4", "6/8"};

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// The fields of the first line as a list-input statement reads them: blanks before a field are
// skipped; a quoted field runs to its closing quote and whatever follows up to the next comma
// is dropped; an unquoted field runs to the next comma. The line end ends the record.
std::string HeaderTextField(std::string_view text) {
    std::size_t i = 0;
    for (int field = 1; field <= kHeaderTextField; ++field) {
        while (i < text.size() && text[i] == ' ') ++i;
        if (i >= text.size() || IsLineEnd(text[i])) return {};
        std::string value;
        if (text[i] == '"') {
            const std::size_t close = text.find_first_of("\"\r\n", i + 1);
            const std::size_t end = close == std::string_view::npos ? text.size() : close;
            value = text.substr(i + 1, end - i - 1);
            i = end;
            if (i < text.size() && text[i] == '"') ++i;
            while (i < text.size() && text[i] != ',' && !IsLineEnd(text[i])) ++i;
        } else {
            const std::size_t end = std::min(text.find_first_of(",\r\n", i), text.size());
            value = text.substr(i, end - i);
            i = end;
        }
        if (field == kHeaderTextField) return value;
        if (i >= text.size() || text[i] != ',') return {};
        ++i;
    }
    return {};
}

}  // namespace

bool HoldsFirstRecord(std::span<const std::uint8_t> bytes) {
    return std::any_of(bytes.begin(), bytes.end(),
                       [](std::uint8_t b) { return IsLineEnd(static_cast<char>(b)); });
}

StyleHeaderScan ScanStyleHeader(std::span<const std::uint8_t> bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (text.size() < kMinStyleFileLength || !text.starts_with(kRecordTag)) return {};

    std::string header = HeaderTextField(text);
    header.resize(kStyleHeaderTextLength, ' ');
    const std::size_t colon = header.find(':');
    if (colon == std::string::npos || colon >= kStyleHeaderTextLength - 1) {
        return {StyleHeaderStatus::kNoColon, {}};
    }
    const std::string_view rest = TrimBlanks(std::string_view(header).substr(colon + 1));
    if (rest.empty()) return {StyleHeaderStatus::kEmptyHeader, {}};
    std::string signature;
    for (char c : rest.substr(0, 4)) {
        if (c != ' ') signature += c;
    }
    if (std::find(kTimeSignatures.begin(), kTimeSignatures.end(), signature) ==
        kTimeSignatures.end()) {
        return {StyleHeaderStatus::kBadTimeSignature, {}};
    }
    return {StyleHeaderStatus::kAccepted, " " + std::string(rest)};
}

std::string StyleHeaderMessage(StyleHeaderStatus status, std::string_view fileName) {
    const std::string head = "Style data error in " + std::string(fileName) + ": ";
    switch (status) {
        case StyleHeaderStatus::kNoColon:
            return head + "No <:> mark found in header.";
        case StyleHeaderStatus::kEmptyHeader:
            return head + "empty header.";
        case StyleHeaderStatus::kBadTimeSignature:
            return head + "Invalid timesignature.";
        case StyleHeaderStatus::kAccepted:
        case StyleHeaderStatus::kNotAStyle:
            break;
    }
    return {};
}

}  // namespace corvane
