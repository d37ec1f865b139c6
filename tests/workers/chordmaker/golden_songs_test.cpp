// The chord maker's whole output pinned on stored songs, so that no preset, search rule,
// refinement pass or table entry can change while the code around them moves without a test
// noticing. Each file under golden_songs/ holds one song: its four input files exactly as the song
// loader and the key list editor wrote them (stored, so a change in those programs cannot shift
// the net), then one block per Tressil run with its arguments, Error2.msg, Error1.msg and the
// decoded Data.aco records. The runs go through the driver's own steps in this process, which
// keeps hundreds of runs fast under the sanitizers; a few also run the program itself to show that
// the two agree. ORVELLA_UPDATE_GOLDEN=1 rewrites the blocks on purpose; see
// golden_songs/README.md.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "formats/chord_data.h"
#include "tests/workers/chordmaker/tressil_test_support.h"
#include "workers/chordmaker/chordmaker_driver.h"
#include "workers/chordmaker/song_input.h"
#include "workers/common/worker_fatal.h"

namespace chordmaker {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUpdateVariable = "ORVELLA_UPDATE_GOLDEN";
constexpr const char* kSectionMark = "== ";
constexpr const char* kRunMark = "== Tressil ";
// Fewer cases than this means the folder was not found or lost cases: never a pass.
constexpr std::size_t kMinimumCases = 70;

const char* const kInputNames[] = {"Notes.aco", "Temps2.aco", "Notes.dat", "KeysData.Aco"};

struct RunArgs {
    int mode = 0;
    int phraseToken = 0;
};

struct GoldenCase {
    std::string name;
    fs::path file;
    std::vector<std::string> inputs;  // in the order of kInputNames
    std::string inputPart;            // the file up to the first run, kept as it is on update
    std::vector<RunArgs> runs;
    std::string expected;  // the file from the first run on
};

// What one run leaves in the program folder; nullopt where it writes no file.
struct RunOutput {
    std::string errorText;
    std::optional<std::string> pathScores;
    std::optional<std::vector<std::string>> records;
};

fs::path GoldenRoot() {
    return testsupport::SourceDir() / "tests" / "workers" / "chordmaker" / "golden_songs";
}

std::string CommandLine(const RunArgs& args) {
    return std::to_string(args.mode) + " {hwnd} 2426 " + std::to_string(args.phraseToken);
}

// Line ends inside a message would break the one-line-per-field layout.
std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else {
            out += c;
        }
    }
    return out;
}

std::string Render(const RunArgs& args, const RunOutput& output) {
    std::string text = kRunMark + CommandLine(args) + "\n";
    text += "Error2.msg: " + Escaped(output.errorText) + "\n";
    text += "Error1.msg: " + (output.pathScores ? Escaped(*output.pathScores) : "(none)") + "\n";
    if (!output.records) return text + "Data.aco: (none)\n";
    text += "Data.aco:\n";
    for (const std::string& record : *output.records) text += record + "\n";
    return text;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

bool StartsWith(const std::string& line, const char* prefix) {
    return line.rfind(prefix, 0) == 0;
}

std::optional<RunArgs> ParseRunLine(const std::string& line) {
    RunArgs args;
    char end = 0;
    if (std::sscanf(line.c_str(), "== Tressil %d {hwnd} 2426 %d%c", &args.mode, &args.phraseToken,
                    &end) != 2) {
        return std::nullopt;
    }
    return args;
}

// The input files' lines all end in CR LF, which the golden file leaves out.
GoldenCase ReadCase(const fs::path& file) {
    GoldenCase c;
    c.file = file;
    c.name = file.stem().string();
    c.inputs.resize(std::size(kInputNames));
    const std::string text = testsupport::ReadTextFile(file);
    const std::size_t runsAt = text.find(std::string("\n") + kRunMark);
    c.inputPart = text.substr(0, runsAt == std::string::npos ? text.size() : runsAt + 1);
    c.expected = text.substr(c.inputPart.size());
    std::string* input = nullptr;
    for (const std::string& line : Lines(c.inputPart)) {
        if (!StartsWith(line, kSectionMark)) {
            if (input == nullptr) ADD_FAILURE() << c.name << ": a line before any section";
            if (input != nullptr) *input += line + "\r\n";
            continue;
        }
        input = nullptr;
        for (std::size_t i = 0; i < std::size(kInputNames); ++i) {
            if (line == kSectionMark + std::string(kInputNames[i])) input = &c.inputs[i];
        }
        if (input == nullptr) ADD_FAILURE() << c.name << ": unknown section " << line;
    }
    for (const std::string& line : Lines(c.expected)) {
        if (!StartsWith(line, kRunMark)) continue;
        const auto args = ParseRunLine(line);
        if (args) {
            c.runs.push_back(*args);
        } else {
            ADD_FAILURE() << c.name << ": unreadable run line: " << line;
        }
    }
    return c;
}

std::vector<GoldenCase> LoadCases() {
    std::vector<fs::path> files;
    std::error_code missing;
    for (const auto& entry : fs::directory_iterator(GoldenRoot(), missing)) {
        if (entry.path().extension() == ".txt") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    std::vector<GoldenCase> cases;
    for (const fs::path& file : files) cases.push_back(ReadCase(file));
    return cases;
}

std::span<const std::uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::vector<std::string> SplitRecords(const std::string& plain) {
    std::vector<std::string> records;
    for (std::size_t at = 0; at < plain.size(); at += formats::kChordDataRecordSize) {
        records.push_back(plain.substr(at, formats::kChordDataRecordSize));
    }
    return records;
}

// The driver's steps on the same bytes, without its process and files.
RunOutput RunInProcess(const GoldenCase& c, const RunArgs& args) {
    RunOutput output;
    try {
        SongInput song;
        std::string log;
        const bool read = ReadMeasureFiles(Bytes(c.inputs[0]), Bytes(c.inputs[1]), song, log);
        output.errorText += log;
        if (!read) return output;
        ReadNotesDat(Bytes(c.inputs[2]), song);
        std::string plain;
        log.clear();
        const bool made =
            MakeChordData(song, Bytes(c.inputs[3]), RunParametersFor(args.mode, args.phraseToken),
                          output.pathScores, plain, log);
        output.errorText += log;
        if (made) output.records = SplitRecords(plain);
    } catch (const worker::WorkerFatal& failure) {
        output.errorText += failure.message();
    }
    return output;
}

RunOutput RunProgram(const GoldenCase& c, const RunArgs& args) {
    testsupport::TempProgramFolder folder;
    for (std::size_t i = 0; i < c.inputs.size(); ++i) folder.Write(kInputNames[i], c.inputs[i]);
    const testing::TressilResult result = testing::RunTressil(folder, CommandLine(args));
    RunOutput output;
    output.errorText = result.errorText;
    if (folder.Exists("Error1.msg")) output.pathScores = result.pathScores;
    if (result.dataWritten && result.completion && !result.completion->failed()) {
        output.records = result.records;
    }
    return output;
}

// The first differing line as file:line with the run it belongs to, so a failure names the mode
// and the measure.
std::string FirstDifference(const GoldenCase& c, const std::string& actual) {
    const auto want = Lines(c.expected);
    const auto got = Lines(actual);
    const std::size_t inputLines = Lines(c.inputPart).size();
    std::string run = "(no run line)";
    int differing = 0;
    std::string first;
    for (std::size_t i = 0; i < std::max(want.size(), got.size()); ++i) {
        const std::string w = i < want.size() ? want[i] : "(missing)";
        const std::string g = i < got.size() ? got[i] : "(missing)";
        if (first.empty() && StartsWith(w, kRunMark)) run = w;
        if (w == g) continue;
        ++differing;
        if (first.empty()) {
            first = c.file.string() + ":" + std::to_string(inputLines + i + 1) + " in " + run +
                    "\n  expected: " + w + "\n  actual:   " + g;
        }
    }
    return first + "\n" + std::to_string(differing) + " line(s) differ";
}

bool UpdateRequested() {
    const char* value = std::getenv(kUpdateVariable);
    return value != nullptr && std::string(value) == "1";
}

TEST(GoldenSongsTest, EveryRunMatchesItsGoldenBlock) {
    const auto cases = LoadCases();
    ASSERT_GE(cases.size(), kMinimumCases) << "golden songs under " << GoldenRoot();
    const bool update = UpdateRequested();
    std::vector<std::string> rewritten;
    for (const GoldenCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.runs.empty()) << "the file names no Tressil run";
        std::string actual;
        for (const RunArgs& args : c.runs) actual += Render(args, RunInProcess(c, args));
        if (actual == c.expected) continue;
        if (update) {
            std::ofstream(c.file, std::ios::binary | std::ios::trunc) << c.inputPart << actual;
            rewritten.push_back(c.name);
            continue;
        }
        ADD_FAILURE() << FirstDifference(c, actual);
    }
    // An update run never passes silently: what it rewrote must be read in the diff.
    if (!rewritten.empty()) {
        std::string names;
        for (const std::string& name : rewritten) names += " " + name;
        ADD_FAILURE() << "rewrote " << rewritten.size() << " golden file(s):" << names
                      << "\nreview the diff before committing it";
    }
}

TEST(GoldenSongsTest, TheProgramWritesWhatTheLibraryRunGives) {
    const auto cases = LoadCases();
    ASSERT_GE(cases.size(), kMinimumCases);
    // Every mode once, on cases spread over the set; the in-process runs cover the rest.
    constexpr std::size_t kProgramRuns = 4;
    for (std::size_t i = 0; i < kProgramRuns; ++i) {
        const GoldenCase& c = cases[i * cases.size() / kProgramRuns];
        ASSERT_FALSE(c.runs.empty()) << c.name;
        const RunArgs& args = c.runs[i % c.runs.size()];
        SCOPED_TRACE(c.name + ": Tressil " + CommandLine(args));
        EXPECT_EQ(Render(args, RunProgram(c, args)), Render(args, RunInProcess(c, args)));
    }
}

}  // namespace
}  // namespace chordmaker
