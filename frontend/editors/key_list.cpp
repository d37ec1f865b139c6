#include "frontend/editors/key_list.h"

#include "frontend/core/name_tables.h"
#include "frontend/core/vb_text.h"

namespace corvane::editors {
namespace {

std::string_view KeyCodeField(std::string_view line) {
    return line.substr(4, 2);
}

}  // namespace

const std::array<std::string, 29>& KeySigTable() {
    // Major and relative minor share a signature, so the codes go in pairs.
    static const std::array<std::string, 29> table = {
        "0",  "0",  "+1", "+1", "+2", "+2", "+3", "+3", "+4", "+4", "+5", "+5", "+6", "+6", "+7",
        "+7", "-1", "-1", "-2", "-2", "-3", "-3", "-4", "-4", "-5", "-5", "-6", "-6", ""};
    return table;
}

int MsNoOf(std::string_view text) {
    const long n = LeadingNumber(text);
    return n < 1 || n > kMaxKeyMeasure ? 1 : static_cast<int>(n);
}

std::string KeyChangeLine(const KeyChange& change) {
    return ZeroPad(change.measure, 3) + ":" + ZeroPad(change.code, 2) + ";" +
           KeyNameTable()[change.code];
}

std::string KeyUserItem(const KeyChange& change) {
    return ZeroPad(change.measure, 3) + ": " + KeyNameTable()[change.code];
}

KeysDataRead ParseKeysData(std::string_view text) {
    KeysDataRead read;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const bool shaped = line.size() == kKeyChangeLineLength && line[3] == ':' && line[6] == ';';
        const long measure = shaped ? LeadingNumber(line.substr(0, 3)) : -1;
        const long code = shaped ? LeadingNumber(KeyCodeField(line)) : -1;
        if (measure < 0 || measure > kMaxKeyMeasure || code < 0 || code >= kKeyCodeCount) {
            read.badLine = true;
            break;
        }
        read.changes.push_back({static_cast<int>(measure), static_cast<int>(code)});
    }
    return read;
}

std::string KeysDataText(const std::vector<std::string>& lines) {
    std::string text;
    std::string lastCode;
    for (std::string line : lines) {
        if (line.size() < kKeyChangeLineLength) continue;  // the dialog makes none
        const std::string code(KeyCodeField(line));
        if (text.empty()) {
            line.replace(0, 3, "001");
        } else if (code == lastCode) {
            continue;
        }
        text += line + "\r\n";
        lastCode = code;
    }
    return text;
}

}  // namespace corvane::editors
