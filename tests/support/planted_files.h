// What a hostile or careless neighbour can leave at a file's name in place of a regular file,
// for the tests that show every program refuses it at once instead of waiting, crashing or
// writing through it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

enum class Planted {
    kFolder,
    kFifo,
    kFifoWithPeer,  // a FIFO that another process holds open for reading
    kLinkToFolder,
    kLinkToFifo,
    kLinkToFile,      // a link to a regular file elsewhere ("victim"), which must stay as it is
    kHardLinkToFile,  // another name of such a file: a regular file, but not ours to change
    kDanglingLink,
    kMissing,
};

std::string Describe(Planted planted);

// The things that are no regular file of our own.
const std::vector<Planted>& EveryPlanted();

// Plants `planted` at `path` (which must not exist). The folders, FIFOs and files that links
// point to go beside it, named after it with ".target". Returns a descriptor to close after the
// test (a FIFO's peer), or -1.
int Plant(const std::filesystem::path& path, Planted planted);

// Where the links of Plant point for `path`.
std::filesystem::path PlantTarget(const std::filesystem::path& path);

// True for the kinds that are a symbolic link at the name itself.
bool IsLink(Planted planted);

// True for the kinds that lead to the regular file "victim": a good input, read through, and an
// output name that gets a file of its own, leaving the victim as it was.
bool LeadsToAFile(Planted planted);

}  // namespace testsupport
