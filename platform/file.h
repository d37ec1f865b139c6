// Files as the workers use them. A file opened for text writing turns every "\n" into CR LF on
// disk, as the stored formats have it; ReadLine accepts CR LF and LF alike. Every open File is
// listed in one process-wide registry so that a worker's fatal exit can close and flush them
// all, keeping the message it wrote just before.
//
// Only regular files are read or written. A folder, FIFO or device at a file's name counts as a
// file that cannot be opened (or created), and no open ever waits for a FIFO's other end. An
// output whose name is a symbolic link, or a regular file that has other names too (a hard
// link), gets a file of its own in its place; nothing is written through it.
//
// For tests, ORVELLA_FILE_FAULT makes the layer misbehave the way a failing disk or a killed
// run would, counting the changes the process makes to files (creating, writing, closing,
// renaming, removing) in the order it makes them:
//   full:NAME       every write to a file named NAME fails as on a full disk
//   full-from:N     from the N-th write on, every write fails as on a full disk, until the
//                   process removes a file that held data and so makes room
//   kill-at:N       the process is killed just before its N-th change
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

enum class FileMode {
    kReadBinary,   // reading as stored
    kWriteText,    // create or truncate; "\n" becomes CR LF
    kWriteBinary,  // create or truncate; bytes as given
    kAppendText,   // append; "\n" becomes CR LF
};

class File {
  public:
    File() = default;
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;

    [[nodiscard]] bool Open(const std::string& path, FileMode mode);
    // Flushes and closes; false when a write could not be completed.
    bool Close();
    // Closes an output; when it could not be written completely it is removed as well (while it
    // is still the file at its name), so that nobody takes the part that reached the disk for
    // the whole file. False then.
    bool CloseOrDiscard();
    bool IsOpen() const { return fd_ >= 0; }
    // False once any write or the close failed.
    bool good() const { return good_; }
    // True once a read since the open failed (rather than met the end of the file).
    bool ReadFailed() const { return readFailed_; }

    // printf-style writing; in text mode each "\n" is written as CR LF.
    bool Printf(const char* format, ...) __attribute__((format(printf, 2, 3)));
    bool Write(std::string_view text);
    bool WriteBytes(std::span<const std::uint8_t> bytes);

    // Reads up to bytes.size() bytes; returns how many were read: fewer at the end of the file
    // or after a read error, which ReadFailed tells apart.
    std::size_t Read(std::span<std::uint8_t> bytes);
    // Reads one line without its line end (LF, then a CR before it). False at end of file.
    bool ReadLine(std::string& line);

    std::int64_t Tell() const;
    bool Seek(std::int64_t offset);
    std::int64_t Size() const;

  private:
    void Register();
    void Unregister();
    void MoveFrom(File& other);
    bool Flush();
    void NoteWriteFault(int error);
    bool FillReadBuffer();

    int fd_ = -1;
    bool text_ = false;
    bool writing_ = false;
    bool good_ = true;
    bool readFailed_ = false;
    bool kept_ = false;  // the run's kept file, written from empty
    // The output as it was opened, so that only this file is ever discarded under its name.
    std::uint64_t device_ = 0;
    std::uint64_t inode_ = 0;
    std::string path_;
    std::vector<char> pending_;       // written, not yet on disk
    std::vector<std::uint8_t> read_;  // read ahead, not yet taken
    std::size_t readAt_ = 0;
};

// Closes every open File (the fatal exit's "close all files").
void CloseAllFiles();

// The outputs of one run. Every file the process creates or empties for writing through File is
// noted with its device and inode, and so is any fault of an output, one that could not be
// created or written completely (a full disk, a folder at its name), through File or
// ReplaceFileAtomically. A run that fails after such a fault removes the outputs it noted, so
// that none of them is left cut or taken for part of a good run. Files replaced whole are not
// noted: when their replacement fails they keep their earlier content, but when a later output
// of the run faults they keep the new content beside the removed others (the workers replace a
// file whole only as the last write of a run, so that cannot happen to them). A run that fails
// for any other reason keeps what it wrote: those files are whole.
//
// Starts a new run's record (the worker skeleton does, before each job). `kept` names the one
// output the removal never touches: the run's error file, which says what happened. The record
// keeps what the run writes into it, for RestoreKeptFile.
void BeginRunOutputs(std::string kept);
// True when an output of this run could not be created or written completely.
bool RunOutputFaulted();
// Why the latest attempt of this run to create or write the output `path` (named as it was
// opened or replaced) failed, in words a user can act on: the system's own for a failure of
// the file system ("No space left on device"), "Is a directory" for a folder at its name, "Not
// a regular file" for a FIFO or a device there. Empty when it did not fail.
std::string OutputFailureReason(const std::string& path);
// Removes every noted output of this run that is still the file the run made at its name (the
// same device and inode: a file put there since is not the run's), except the kept file, which
// is told apart by what it is on disk whatever the spelling of its name; returns how many it
// removed.
int RemoveRunOutputs();
// When what the run wrote into the kept file did not all reach it (a full disk), writes it in
// again whole, now that the removal may have made room, or leaves the file empty when it still
// does not fit; false then. Nothing changes when the kept file took every word.
bool RestoreKeptFile();

// Reads a whole regular file; false when it cannot be opened or read.
[[nodiscard]] bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes);

// Whether a replaced file is forced onto the disk before its rename. A user's file is, so that
// a crash soon after a save keeps it; a work file that the next step reads back at once (the
// front end's exchange files) needs only the rename's all or nothing, and no wait for the disk.
enum class Durability {
    kSynced,
    kNotSynced,
};

// Writes `bytes` to a fresh temporary file beside `path` and renames it over `path` only when
// every byte is written (and, kSynced, on disk), so a failure never leaves a half-written file
// under the real name and the old file stays; a link at the name is replaced, never written
// through. False (and nothing changed) when `path` names something other than a regular file
// or a symbolic link.
[[nodiscard]] bool ReplaceFileAtomically(const std::string& path,
                                         std::span<const std::uint8_t> bytes,
                                         Durability durability = Durability::kSynced);

// The temporary files of ReplaceFileAtomically are named "<stem>.tmp-XXXXXX<.ext>" beside the
// destination ("Data.aco" -> "Data.tmp-k3Jf9Q.aco"), so the program folder's clean-up patterns
// match them by their extension. A run that was killed before its rename leaves one behind;
// this removes every such leftover of `path` and returns how many there were. Only one run
// may write a destination at a time.
int RemoveStaleTemporaries(const std::string& path);

// True when `name` (without folder) has the shape of a temporary file of `destination`'s name.
bool IsTemporaryNameOf(std::string_view name, std::string_view destination);

}  // namespace platform
