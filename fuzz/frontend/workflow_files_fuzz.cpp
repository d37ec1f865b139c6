// The exchange files the workflow reads after its workers: the first byte picks the reader, the
// rest is the file. 0: the song header of Notes.aco; 1: the section table cPara.dat; 2: the
// chord data Data.aco (its key the next byte); 3: the key list KeysData.Aco, also read as the
// key code file KeyCode.dat; 4: an error file. Every reader must keep its promises on any bytes.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "frontend/core/section_table.h"
#include "frontend/core/song_header.h"
#include "frontend/core/worker_control.h"
#include "frontend/editors/chord_data.h"
#include "frontend/editors/key_detection.h"
#include "frontend/editors/key_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::span<const std::uint8_t> file(data + 1, size - 1);
    const std::string_view text(reinterpret_cast<const char*>(file.data()), file.size());
    switch (data[0] % 5) {
        case 0: {
            const corvane::SongHeader header = corvane::ParseSongHeader(text);
            if (header.keyCode) {
                if (*header.keyCode < 0 || *header.keyCode > 27) std::abort();
                (void)corvane::MusicTypeCaption(header);
            }
            break;
        }
        case 1: {
            const std::array<std::string, 6> names = {"a", "b", "c", "d", "e", "f"};
            if (const auto table = corvane::ParseSectionTable(text)) {
                for (const std::string& line : table->switchLines) {
                    if (line.empty()) std::abort();
                    (void)corvane::SectionListEntry(line, names);
                }
            }
            break;
        }
        case 2: {
            const int key = file.empty() ? 0 : file[0];
            const auto read =
                corvane::editors::ReadChordData(file.empty() ? file : file.subspan(1), key);
            if (read.records.size() > corvane::editors::kMaxChordRecords) std::abort();
            if (read.error && !read.records.empty()) std::abort();
            for (const auto& record : read.records) {
                if (record.ChordListLine().size() != 38) std::abort();
            }
            break;
        }
        case 3: {
            const auto read = corvane::editors::ParseKeysData(text);
            std::vector<std::string> lines;
            for (const auto& change : read.changes) {
                if (change.code < 0 || change.code > 27 || change.measure < 0 ||
                    change.measure > corvane::editors::kMaxKeyMeasure) {
                    std::abort();
                }
                lines.push_back(corvane::editors::KeyChangeLine(change));
            }
            (void)corvane::editors::KeysDataText(lines);
            // The detector's other file, KeyCode.dat, read by both key dialogs.
            const auto code = corvane::editors::DetectedKeyCode(
                std::vector<std::uint8_t>(file.begin(), file.end()));
            if (code && (*code < 0 || *code >= corvane::editors::kKeyCodeCount)) std::abort();
            break;
        }
        default: {
            const std::vector<std::uint8_t> head(file.begin(), file.end());
            const auto box =
                corvane::WorkerErrorMessage(head, corvane::WorkerErrorMode::kLoadIn, false);
            if (box.text.size() > corvane::kWorkerErrorBytes) std::abort();
            break;
        }
    }
    return 0;
}
