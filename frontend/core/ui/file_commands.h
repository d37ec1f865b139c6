// The main window's commands that keep and pick files: saving the output as a MIDI file or a
// song project, unpacking a project for Load In, the callers of the file dialog (Browse, Save,
// Load User Style) and the melody importer opener.
//
// Every save is written whole under a temporary name in the destination folder and renamed over
// the destination only when complete, so a failed save leaves the previous file as it was and
// never reports success; a read-only destination (owner-write bit clear) is left alone. A
// project save reads and checks the chord data before the user is asked anything.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "frontend/core/song_project.h"

namespace corvane {

class FrmMain;

class FileCommands {
  public:
    explicit FileCommands(FrmMain& main);

    // Save (direct: to the path in TxtOutName, a bare name into the program folder) or, not
    // direct, through the file dialog.
    void SaveOutput(bool direct);
    // The bytes a save of the output to `path` writes: a song project for ".qxs" in any letter
    // case, else the MIDI file. Nothing, after its box, when the save does not go on: a project
    // that cannot be made or a read-only file there, both refused before anything is asked, or
    // a file there that the user keeps (the question's default keeps it).
    std::optional<std::vector<std::uint8_t>> AgreedSave(const std::string& path);
    // Writes the bytes of an agreed save to OutputSavePath.
    void CreateOutName(std::span<const std::uint8_t> bytes);
    // Loading a song project, in two halves so that the song loaded before stays whole until
    // the new one is known to be good. ReadProject reads and checks the whole project named in
    // TxtInName in memory and changes nothing: nothing, after its box, when it is not a whole
    // project. UnpackProject writes its pieces into "InPut.bin", MyVmCode, "Data.aco" and
    // "QXsDataSet.dat"; false, with its box, when one cannot be written.
    std::optional<SongProject> ReadProject();
    bool UnpackProject(const SongProject& project);

    void BrowseInput();
    void SetInputName(const QString& path);
    void CmdLoadSet_Click();
    // The chord list editor's Browse: a user chord file for its TxtUsrList.
    void BrowseUserChordFile();
    void OpenMelodyImporter();

    std::string OutputSavePath;  // the file the output is saved to

  private:
    FrmMain& main_;
};

}  // namespace corvane
