// Running the key detector from the dialogs: its command line, which the detector itself must
// accept, its key code file, and where a completion goes while a dialog waits.
#include "frontend/editors/key_detection.h"

#include <gtest/gtest.h>

#include <cstring>

#include "workers/keydetect/keydetect_driver.h"

namespace corvane::editors {
namespace {

TEST(KeyDetectionTest, CommandLineCarriesTheHandleTokenTheDetectorAccepts) {
    EXPECT_EQ(SorvikArgs(1704, 1), "Sorvik 1704 2426 31475082 1");
    EXPECT_EQ(SorvikArgs(1704, 0), "Sorvik 1704 2426 31475082 0");
    // The receivers' handles stay below 2^30; the largest of them, and even a handle whose token
    // passes 2^31 and wraps, pass the detector's check.
    for (const std::uint32_t handle : {1u, 1704u, (1u << 30) - 1, 0x7FFFFFFFu}) {
        keydetect::SorvikArgs args;
        args.caller = handle;
        args.versionToken = 2426;
        args.handleToken = HandleToken(handle);
        EXPECT_TRUE(keydetect::HandleTokenValid(args)) << handle;
    }
}

TEST(KeyDetectionTest, KeyCodeFileFirstLine) {
    using Bytes = std::vector<std::uint8_t>;
    const auto bytes = [](const char* text) { return Bytes(text, text + std::strlen(text)); };
    const struct {
        const char* what;
        std::optional<Bytes> file;
        std::optional<int> code;
    } cases[] = {
        {"missing file", std::nullopt, 0},
        {"empty file", bytes(""), 0},
        {"two digits", bytes("07\r\n"), 7},
        {"C major", bytes("00\r\n"), 0},
        {"last key", bytes("27"), 27},
        {"only the first line counts", bytes("\r\n05\r\n"), 0},
        {"not a number", bytes("xx\r\n"), 0},
        {"beyond the table", bytes("28\r\n"), std::nullopt},
        {"negative", bytes("-1\r\n"), std::nullopt},
        {"huge", bytes("99999999999999999999\r\n"), std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(DetectedKeyCode(c.file), c.code);
    }
}

TEST(KeyDetectionTest, TimeOutTextNamesTheProgram) {
    EXPECT_EQ(TimeOutText("Sorvik"),
              "Time Out error. Command aborted.\nYou may have an incorrect version of Sorvik "
              "installed.");
}

TEST(KeyDetectionTest, CompletionGoesOnlyToTheRunThatWaitsForIt) {
    using Run = DialogRun;
    using Route = DialogCompletion;
    const struct {
        int code;
        Run pending;
        bool timedOut;
        Route route;
    } cases[] = {
        {46, Run::kKeyDetection, false, Route::kKeyDetection},
        {51, Run::kMelodyImport, false, Route::kMelodyImport},
        // A detection's completion must not end a melody run, nor the other way round.
        {46, Run::kMelodyImport, false, Route::kNotWaited},
        {51, Run::kKeyDetection, false, Route::kNotWaited},
        {47, Run::kKeyDetection, false, Route::kNotWaited},
        {46, Run::kNone, false, Route::kNotWaited},
        // The one completion after a time-out is dropped, whatever its code.
        {46, Run::kNone, true, Route::kLateAfterTimeOut},
        {51, Run::kNone, true, Route::kLateAfterTimeOut},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RouteDialogCompletion(c.code, c.pending, c.timedOut), c.route)
            << c.code << " " << static_cast<int>(c.pending) << " " << c.timedOut;
    }
}

}  // namespace
}  // namespace corvane::editors
