// The file dialog's rules without a window: the callers' set-ups, the proposed save names, what
// a TagOpt and a pattern make of the buttons, and how chosen paths are put together.
#include "frontend/core/file_dialog_rules.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(FileDialogRules, EachCallerAsksForItsCaptionPatternAndPurpose) {
    const struct {
        const char* caller;
        FileDialogSetup setup;
        const char* caption;
        const char* pattern;
        const char* tagOpt;
        bool options;
    } cases[] = {
        {"browse", BrowseInputSetup(false), "Select an input *.mid, *.kar, *.qxs", "*.mid;*.kar",
         "input", true},
        {"browse projects", BrowseInputSetup(true), "Select an input *.mid, *.kar, *.qxs", "*.qxs",
         "input", true},
        {"save", SaveOutputSetup(false), "Save output as *.mid, *.qxs", "*.mid", "output", true},
        {"save project", SaveOutputSetup(true), "Save output as *.mid, *.qxs", "*.qxs", "output",
         true},
        {"user style", UserStyleSetup(), "Select an User Style *.set to load or delete:", "*.set",
         "input", false},
        {"chord file", ChordFileSetup(), "Select an user Chord File *.chd", "*.chd", "input",
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caller);
        EXPECT_EQ(c.setup.caption, c.caption);
        EXPECT_EQ(c.setup.pattern, c.pattern);
        EXPECT_EQ(c.setup.tagOpt, c.tagOpt);
        EXPECT_EQ(c.setup.typeOptionsVisible, c.options);
    }
}

TEST(FileDialogRules, TheSaveDialogProposesTheOutputNamesBareNameOrADefault) {
    const struct {
        const char* outName;
        bool project;
        const char* proposed;
    } cases[] = {
        {"", false, "Accompanied_Song.mid"},
        {"   ", true, "Orvella_Data.qxs"},
        {"/music/Tune.mid", true, "Tune.qxs"},
        {"/music/Tune.mid", false, "Tune.mid"},
        {"  song  ", false, "song.mid"},
        {"/home/u/my.songs/Tune", true, "Tune.qxs"},
        // The last four characters go whatever they are, as the bare name always had it.
        {"/music/Ballad", false, "Ba.mid"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.outName);
        EXPECT_EQ(SaveDialogFileName(c.outName, c.project), c.proposed);
    }
}

TEST(FileDialogRules, TagOptAndPatternDecideTheButtons) {
    const struct {
        const char* tagOpt;
        const char* pattern;
        DialogPurpose purpose;
        const char* ok;
        bool deleteVisible;
        bool editable;
    } cases[] = {
        {"input", "*.mid;*.kar", DialogPurpose::kOpenSong, "Ok", false, false},
        {"input", "*.qxs", DialogPurpose::kOpenSong, "Ok", false, false},
        {"input", "*.chd", DialogPurpose::kOpenChordFile, "Ok", false, false},
        {"input", "*.set", DialogPurpose::kOpenUserStyle, "Load", true, false},
        {"output", "*.mid", DialogPurpose::kSave, "Save", false, true},
        {"output", "*.qxs", DialogPurpose::kSave, "Save", false, true},
        {"input", "*.mid", DialogPurpose::kUnsupportedPattern, nullptr, false, false},
        {"output", "*.mid;*.kar", DialogPurpose::kUnsupportedPattern, nullptr, false, false},
        {"output", "*.set", DialogPurpose::kUnsupportedPattern, nullptr, false, false},
        {"", "*.mid", DialogPurpose::kUnsupportedTag, nullptr, false, false},
        {"Input", "*.mid;*.kar", DialogPurpose::kUnsupportedTag, nullptr, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.tagOpt) + " " + c.pattern);
        EXPECT_EQ(PurposeOf(c.tagOpt, c.pattern), c.purpose);
        if (c.ok == nullptr) continue;
        const DialogFace face = FaceOf(c.purpose);
        EXPECT_EQ(face.okCaption, c.ok);
        EXPECT_EQ(face.deleteVisible, c.deleteVisible);
        EXPECT_EQ(face.nameEditable, c.editable);
        EXPECT_EQ(face.nameLabel, c.editable ? "Type in a file name to save:" : "Selected file:");
    }
    EXPECT_EQ(UnsupportedPatternText("input", "*.mid"), "The TagOpt <input:*.mid>not supported.");
    EXPECT_EQ(UnsupportedTagText("x", true), "The TagOpt <x> not supported.");
    EXPECT_EQ(UnsupportedTagText("x", false), "The TagOpt <x>not supported.");
}

TEST(FileDialogRules, PathsJoinWithOneSeparator) {
    const struct {
        const char* folder;
        const char* name;
        const char* path;
    } cases[] = {
        {"/", "Tune.mid", "/Tune.mid"},
        {"/home/u", "Tune.mid", "/home/u/Tune.mid"},
        {"/home/u/", "Tune.mid", "/home/u/Tune.mid"},
        {"/home/u", "/Tune.mid", "/home/u/Tune.mid"},
        {"", "Tune.mid", "/Tune.mid"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.folder) + " + " + c.name);
        EXPECT_EQ(JoinPath(c.folder, c.name), c.path);
    }
}

TEST(FileDialogRules, ASavePathGetsItsExtensionOnlyWhenTheNameLacksIt) {
    const struct {
        const char* path;
        const char* pattern;
        const char* saved;
    } cases[] = {
        {"/m/Tune", "*.qxs", "/m/Tune.qxs"},
        {"/m/Tune.QXS", "*.qxs", "/m/Tune.QXS"},
        {"/m/Tune.mid", "*.qxs", "/m/Tune.mid.qxs"},
        {"/m/Tune", "*.mid", "/m/Tune.mid"},
        {"/m/Tune.Mid", "*.mid", "/m/Tune.Mid"},
        // A dot in a folder's name is no extension.
        {"/m/x.qxs/Tune", "*.qxs", "/m/x.qxs/Tune.qxs"},
        {"/m/my.mid/Tune", "*.mid", "/m/my.mid/Tune.mid"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(SavePathFor(c.path, c.pattern), c.saved);
    }
    EXPECT_EQ(SavePathFor("/m/Tune", "*.set"), std::nullopt);
}

TEST(FileDialogRules, ADirectSaveTakesTheTrimmedNameAndAddsMidUnlessItIsAMidiFileOrAProject) {
    const struct {
        const char* outName;
        const char* saved;
    } cases[] = {
        {"song", "song.mid"},
        {"  song.QXS ", "song.QXS"},
        {"song.mId", "song.mId"},
        {"song.kar", "song.kar.mid"},
        {"/m/x.qxs/song", "/m/x.qxs/song.mid"},
        {"   ", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.outName);
        EXPECT_EQ(DirectSavePath(c.outName), c.saved);
    }
    EXPECT_TRUE(IsProjectPath("/m/Song.Qxs"));
    EXPECT_FALSE(IsProjectPath("/m/songs.qxs/Song"));
    EXPECT_FALSE(IsProjectPath("/m/Song.qxs.mid"));
}

}  // namespace
}  // namespace corvane
