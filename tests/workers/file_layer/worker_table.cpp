#include "tests/workers/file_layer/worker_table.h"

#include <stdexcept>

#include "frontend/core/output_decoding.h"
#include "tests/support/hex_text.h"

namespace filelayer {
namespace {

using testsupport::RunWorker;
using testsupport::TempProgramFolder;
using testsupport::WorkerRun;

constexpr const char* kChordKeySeed = "7";
const std::vector<std::string> kStyles = {"Md4412.sty", "Kd4425.sty", "Lt4430.sty", "Nw4431.sty",
                                          "Nx4435.sty"};

Expectation Fails(std::string message) {
    return {Outcome::kFailure, std::move(message)};
}
// A failure of an output, told with the file system's reason.
Expectation FailsSayingWhy(std::string message, Outcome outcome = Outcome::kFailure) {
    return {outcome, std::move(message), true};
}
Expectation Succeeds(std::optional<std::string> message = std::string()) {
    return {Outcome::kSuccess, std::move(message)};
}
// The error file itself: nothing can be said in it, and before the handle is read nothing is
// sent either.
Expectation Silent() {
    return {Outcome::kSilentFailure, std::nullopt};
}

OutputFile Output(const std::string& name, Expectation whenNotCreatable,
                  Expectation whenNotWritable) {
    OutputFile output;
    output.name = name;
    output.whenNotCreatable = std::move(whenNotCreatable);
    output.whenNotWritable = std::move(whenNotWritable);
    return output;
}
// An output whose failure, creating or writing, ends the run with one message.
OutputFile Required(const std::string& name, const std::string& message) {
    return Output(name, FailsSayingWhy(message), FailsSayingWhy(message));
}
// An output the run can go on without.
OutputFile Optional(const std::string& name, Expectation whenNotCreatable,
                    Expectation whenNotWritable) {
    OutputFile output = Output(name, std::move(whenNotCreatable), std::move(whenNotWritable));
    output.optional = true;
    return output;
}
OutputFile ReplacedWhole(const std::string& name, const std::string& message) {
    OutputFile output = Required(name, message);
    output.replacedWhole = true;
    return output;
}
OutputFile ScratchRemadeOnFailure(OutputFile output) {
    output.emptyAfterFailure = true;
    return output;
}
OutputFile ErrorFileOutput(const std::string& name, std::optional<std::string> onSuccess) {
    return Output(name, Silent(), Succeeds(std::move(onSuccess)));
}

Worker NewWorker(const std::string& program, std::function<std::string(platform::Hwnd)> arguments,
                 const std::string& errorFile, std::uint32_t failureCode) {
    Worker w;
    w.program = program;
    w.arguments = std::move(arguments);
    w.errorFile = errorFile;
    w.failureCode = failureCode;
    return w;
}

Bytes SongBytes() {
    return testsupport::BytesFromHexText(
        testsupport::ReadTextFile(testsupport::SourceDir() / "demo" / "ode_to_joy.txt"));
}

Bytes Text(std::string_view text) {
    return {text.begin(), text.end()};
}

Bytes BytesAt(const std::filesystem::path& path) {
    return Text(testsupport::ReadTextFile(path));
}

void Require(bool condition, const char* what) {
    if (!condition) throw std::runtime_error(std::string("cannot prepare the suite: ") + what);
}

std::string SorvikArguments(platform::Hwnd handle) {
    return std::to_string(handle) + " 2426 " +
           std::to_string(std::int64_t{handle} + 31470952 + 2426) + " 1";
}

std::string QuenbyArguments(platform::Hwnd handle) {
    // Track 1 in 4/4, C major, 120 beats per minute, as the importer dialog sends it.
    const int values[] = {1, 4, 0, 60, 120, 1, 0, 0, 0, 100};
    std::string line;
    std::uint32_t sum = handle;
    for (int value : values) {
        line += std::to_string(value) + " ";
        sum += static_cast<std::uint32_t>(value);
    }
    return line + std::to_string(static_cast<std::int32_t>(sum)) + " " + std::to_string(handle) +
           " 0";
}

// The song loader's and the chord maker's results on the demo melody, for the workers after them.
struct ChainFiles {
    Files files;
    std::uint32_t chordKey = 0;
};

const ChainFiles& Chain() {
    static const ChainFiles chain = [] {
        ChainFiles made;
        TempProgramFolder folder;
        folder.Write("InPut.bin", SongBytes());
        Require(RunWorker("Ambrel", folder.path(), "/2 InPut.bin {hwnd} 2426").exitCode == 0,
                "the song loader failed");
        folder.Write("KeysData.Aco", std::string_view("001:00;C  Major\r\n"));
        const WorkerRun chords =
            RunWorker("Tressil", folder.path(), "3 {hwnd} 2426 1", SuiteRunOptions());
        Require(chords.exitCode == 0 && chords.completion.has_value(), "the chord maker failed");
        made.chordKey = chords.completion->wParam;
        for (const char* name :
             {"Temps2.aco", "Notes.aco", "Notes.dat", "BtData.dat", "KeysData.Aco", "Data.aco"}) {
            made.files[name] = folder.ReadBytes(name);
        }
        return made;
    }();
    return chain;
}

Worker SongLoader() {
    Worker w = NewWorker(
        "Ambrel", [](platform::Hwnd h) { return "/2 InPut.bin " + std::to_string(h) + " 2426"; },
        "Error1.msg", 47);
    w.inputs = {{"InPut.bin", Fails(" InPut.bin not found.")}};
    w.outputs = {
        ErrorFileOutput("Error1.msg", ""),
        Required("Temps.aco", "Cannot create Temps.aco."),
        Required("Temps2.aco", "Cannot create Temps2.aco."),
        Required("Notes.dat", "Cannot create Notes.dat."),
        Output("Notes.aco", FailsSayingWhy("Cannot create file Notes.aco."),
               FailsSayingWhy("Cannot create Notes.aco.")),
        // Skipped when it cannot be created; one cut short would mislead the composer.
        Optional("BtData.dat", Succeeds(), FailsSayingWhy("Cannot create BtData.dat.")),
    };
    w.prepared = {{"InPut.bin", SongBytes()}};
    return w;
}

Worker KeyDetector() {
    Worker w = NewWorker("Sorvik", SorvikArguments, "kErr1.msg", 46);
    w.inputs = {{"InPut.bin", Fails(" InPut.bin not found.")}};
    const std::string keyCodeMessage = "Cannot create KeyCode.dat to write KqKeyCode.\r\n";
    const std::string logMessage = "Cannot create output file kInfo.aco\r\n";
    w.outputs = {
        ErrorFileOutput("kErr1.msg", ""),
        // The log is for people: once it exists, losing it does not stop the run.
        Optional("kInfo.aco", FailsSayingWhy(logMessage, Outcome::kSilentFailure),
                 Succeeds(logMessage)),
        Optional("KeyCode.dat", Succeeds(keyCodeMessage), Succeeds(keyCodeMessage)),
        Required("KeysData.Aco", "Cannot create KeysData.Aco for output."),
    };
    w.prepared = {{"InPut.bin", SongBytes()}};
    return w;
}

Worker ChordMaker() {
    Worker w = NewWorker(
        "Tressil", [](platform::Hwnd h) { return "3 " + std::to_string(h) + " 2426 1"; },
        "Error2.msg", 49);
    w.inputs = {
        {"Temps2.aco", Fails("Temps2.aco not found.")},
        {"Notes.aco", Fails("\r\nNotes.aco not found.")},
        {"Notes.dat", Fails("\r\nNotes.dat not found.")},
        {"KeysData.Aco", Fails("Cannot open KeysData.Aco for reading.")},
    };
    w.outputs = {
        ErrorFileOutput("Error2.msg", ""),
        Optional("MsInfo.dat", Succeeds(), Succeeds()),
        Optional("Error1.msg", Succeeds(), Succeeds()),  // the path-score dump
        ReplacedWhole("Data.aco", "\r\nCannot create Data.aco."),
    };
    for (const char* name : {"Temps2.aco", "Notes.aco", "Notes.dat", "KeysData.Aco"}) {
        w.prepared[name] = Chain().files.at(name);
    }
    return w;
}

// The output grows by a track at a time; a track that does not fit has a message of its own.
OutputFile ComposeOutput() {
    OutputFile output =
        Required("ComposeOut.bin", "Error: Cannot create template data <ComposeOut.bin>.");
    output.whenALaterStepFails = FailsSayingWhy("Error: Cannot open template data for update mode");
    return output;
}

Worker Composer() {
    const std::uint32_t chordKey = Chain().chordKey;
    const auto arguments = [chordKey](platform::Hwnd h) {
        std::string line = "4 5 6 1";
        for (const std::string& style : kStyles) line += " " + style;
        return line + " 49 89 " + std::to_string(chordKey) + " " + std::to_string(h) +
               " 0 0 0 1 2426";
    };
    Worker w = NewWorker("Compose", arguments, "Error3.msg", 59);
    w.inputs = {
        {"vPara.dat", Fails("Cannot open vPara.dat for reading.")},
        {"InPut.bin", Fails("Error: <InPut.bin> not found.")},
        // Without the beat pattern every step counts as a beat: a different song, no failure.
        {"BtData.dat", Succeeds(std::nullopt)},
        {"Data.aco", Fails("Error: Data.aco not found.")},
        {"Notes.dat", Fails("Notes.dat not found.")},
        {"Temps2.aco", Fails("Error: Temps2.aco not found.")},
        {"Lt4430.sty", Fails("Error: <Lt4430.sty> not found.")},
    };
    w.outputs = {
        ErrorFileOutput("Error3.msg", std::nullopt),
        Required("Error2.msg", "Cannot create Error2.msg."),
        ComposeOutput(),
        Required("Temp.dat", "Error: Cannot create template output."),
        // Written empty, so only its creation can fail.
        ScratchRemadeOnFailure(
            Output("sty.err", FailsSayingWhy("LoadStys() Error: Cannot create file <sty.err>"),
                   Succeeds(std::nullopt))),
        Required("cPara.dat", "Error: Cannot create cPara.dat"),
    };
    for (const char* name : {"BtData.dat", "Data.aco", "Notes.dat", "Temps2.aco"}) {
        w.prepared[name] = Chain().files.at(name);
    }
    w.prepared["InPut.bin"] = SongBytes();
    std::string options;
    for (int slot = 0; slot < 5; ++slot) {
        options += "080,000,000,000,000,000,000,000,000,000,000,000,002,003,001,001\r\n";
    }
    w.prepared["vPara.dat"] = Text(options);
    for (const std::string& style : kStyles) {
        w.prepared[style] = BytesAt(testsupport::StylePath(style));
        Require(!w.prepared[style].empty(), "a test style is missing");
    }
    return w;
}

Worker MelodyImporter() {
    Worker w = NewWorker("Quenby", QuenbyArguments, "Error4.msg", 51);
    w.inputs = {{"InpMel.bin", Fails("InpMel.bin not found.")}};
    w.outputs = {
        ErrorFileOutput("Error4.msg", ""),
        Required("KqList.dat", "Cannot create KqList.dat."),
        Required("Tempos.dat", "Cannot create Tempos.dat."),
        Required("Events.dat", "Cannot create Events.dat."),
        ReplacedWhole("InPut.bin", "Cannot create output midi file."),
    };
    w.prepared = {{"InpMel.bin", SongBytes()}};
    return w;
}

}  // namespace

std::string ExpectedErrorText(const Expectation& expected, const std::string& reason) {
    std::string text = expected.errorText.value_or("");
    if (!expected.saysWhy) return text;
    // The reason closes the message, before the line end that may end it.
    const std::size_t end = text.ends_with("\r\n") ? text.size() - 2 : text.size();
    return text.insert(end, " (" + reason + ")");
}

std::vector<std::string> FullDiskErrorTexts(const Worker& worker, const std::string& reason) {
    std::vector<std::string> texts;
    for (const OutputFile& output : worker.outputs) {
        const Expectation later = output.whenALaterStepFails.value_or(Expectation());
        for (const Expectation* failure : {&output.whenNotWritable, &later}) {
            if (failure->saysWhy) texts.push_back(ExpectedErrorText(*failure, reason));
        }
    }
    return texts;
}

const std::vector<std::string>& WorkerNames() {
    static const std::vector<std::string> names = {"Ambrel", "Sorvik", "Tressil", "Compose",
                                                   "Quenby"};
    return names;
}

const Worker& WorkerNamed(const std::string& program) {
    static std::map<std::string, Worker> made;
    auto found = made.find(program);
    if (found != made.end()) return found->second;
    Worker worker;
    if (program == "Ambrel") worker = SongLoader();
    if (program == "Sorvik") worker = KeyDetector();
    if (program == "Tressil") worker = ChordMaker();
    if (program == "Compose") worker = Composer();
    if (program == "Quenby") worker = MelodyImporter();
    Require(!worker.program.empty(), "unknown worker");
    return made.emplace(program, std::move(worker)).first->second;
}

testsupport::RunOptions SuiteRunOptions(const std::string& fault) {
    testsupport::RunOptions options;
    options.environment.emplace_back("TRESSIL_SEED", kChordKeySeed);
    if (!fault.empty()) options.environment.emplace_back("ORVELLA_FILE_FAULT", fault);
    return options;
}

WorkerRun RunIn(const Worker& worker, const std::filesystem::path& folder,
                const std::string& fault) {
    return RunWorker(worker.program, folder, worker.arguments, SuiteRunOptions(fault));
}

Files ReadOutputs(const Worker& worker, const std::filesystem::path& folder, const WorkerRun& run) {
    Files files;
    for (const OutputFile& output : worker.outputs) {
        const auto path = folder / output.name;
        if (!std::filesystem::is_regular_file(std::filesystem::symlink_status(path))) continue;
        Bytes bytes = BytesAt(path);
        if (output.name == "ComposeOut.bin" && run.completion && !run.completion->failed()) {
            const auto runCode = static_cast<std::int16_t>(run.completion->wParam + 1);
            if (auto decoded = frontend::DecodeComposeOutput(bytes, runCode)) bytes = decoded->song;
        }
        files[output.name] = std::move(bytes);
    }
    return files;
}

const Files& CleanOutputs(const Worker& worker) {
    static std::map<std::string, Files> made;
    auto found = made.find(worker.program);
    if (found != made.end()) return found->second;
    TempProgramFolder folder;
    for (const auto& [name, bytes] : worker.prepared) folder.Write(name, bytes);
    const WorkerRun run = RunIn(worker, folder.path());
    Require(run.exitCode == 0 && run.completion && !run.completion->failed(), "a clean run failed");
    return made.emplace(worker.program, ReadOutputs(worker, folder.path(), run)).first->second;
}

Bytes PreviousContent(const std::string& name) {
    return Text("the previous " + name);
}

}  // namespace filelayer
