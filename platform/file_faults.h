// The test faults of the file layer (ORVELLA_FILE_FAULT, described in file.h): a disk that is
// full for one file or from some write on, and a run that is killed at a chosen change. Without
// the variable every call here lets the change through.
#pragma once

#include <string_view>

namespace platform::faults {

// Before each change to a file (creating, closing, renaming, removing); a run asked to be
// killed at this change ends here.
void BeforeChange();

// Before each write of data to the file named `name` (without folder); false, with errno set
// as on a full disk, when the write must fail. Counts as a change.
[[nodiscard]] bool WriteAllowed(std::string_view name);

// After the process removed a file that held data: a disk full from some write on has room
// again, as a real one would.
void RoomFreed();

}  // namespace platform::faults
