#include "tests/support/planted_files.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <fstream>
#include <stdexcept>

namespace testsupport {

std::string Describe(Planted planted) {
    switch (planted) {
        case Planted::kFolder:
            return "a folder";
        case Planted::kFifo:
            return "a FIFO";
        case Planted::kFifoWithPeer:
            return "a FIFO held open by a reader";
        case Planted::kLinkToFolder:
            return "a link to a folder";
        case Planted::kLinkToFifo:
            return "a link to a FIFO";
        case Planted::kLinkToFile:
            return "a link to another file";
        case Planted::kHardLinkToFile:
            return "a hard link to another file";
        case Planted::kDanglingLink:
            return "a dangling link";
        case Planted::kMissing:
            return "nothing";
    }
    return "?";
}

const std::vector<Planted>& EveryPlanted() {
    static const std::vector<Planted> all = {
        Planted::kFolder,         Planted::kFifo,         Planted::kFifoWithPeer,
        Planted::kLinkToFolder,   Planted::kLinkToFifo,   Planted::kLinkToFile,
        Planted::kHardLinkToFile, Planted::kDanglingLink, Planted::kMissing};
    return all;
}

std::filesystem::path PlantTarget(const std::filesystem::path& path) {
    return path.string() + ".target";
}

bool LeadsToAFile(Planted planted) {
    return planted == Planted::kLinkToFile || planted == Planted::kHardLinkToFile;
}

bool IsLink(Planted planted) {
    return planted == Planted::kLinkToFolder || planted == Planted::kLinkToFifo ||
           planted == Planted::kLinkToFile || planted == Planted::kDanglingLink;
}

int Plant(const std::filesystem::path& path, Planted planted) {
    const auto target = PlantTarget(path);
    bool made = true;
    int peer = -1;
    switch (planted) {
        case Planted::kFolder:
            made = std::filesystem::create_directory(path);
            break;
        case Planted::kFifo:
            made = mkfifo(path.c_str(), 0600) == 0;
            break;
        case Planted::kFifoWithPeer:
            made = mkfifo(path.c_str(), 0600) == 0;
            peer = open(path.c_str(), O_RDONLY | O_NONBLOCK);
            break;
        case Planted::kLinkToFolder:
            made = std::filesystem::create_directory(target);
            break;
        case Planted::kLinkToFifo:
            made = mkfifo(target.c_str(), 0600) == 0;
            break;
        case Planted::kLinkToFile:
        case Planted::kHardLinkToFile:
            std::ofstream(target, std::ios::binary) << "victim";
            break;
        case Planted::kDanglingLink:
        case Planted::kMissing:
            break;
    }
    if (IsLink(planted)) std::filesystem::create_symlink(target, path);
    if (planted == Planted::kHardLinkToFile) std::filesystem::create_hard_link(target, path);
    if (!made)
        throw std::runtime_error("cannot plant " + Describe(planted) + " at " + path.string());
    return peer;
}

}  // namespace testsupport
