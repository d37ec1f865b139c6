// floor OP...: the least a worker's run can cost, to measure the workers against. It starts the
// way a worker starts (linked the same way), does each file operation in the order given and
// ends; nothing else:
//   r:NAME          reads the file NAME whole
//   w:NAME:BYTES    creates (or empties) NAME and writes BYTES bytes in one write
//   a:NAME:BYTES    the same through a temporary file beside it, flushed to the disk and renamed
//                   over NAME, as files replaced whole are written
// Exit code 0, or 1 with a line on standard error when an operation fails.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool ReadWhole(const char* name) {
    const int fd = open(name, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat status;
    bool ok = fstat(fd, &status) == 0;
    std::vector<char> bytes(ok ? static_cast<std::size_t>(status.st_size) + 1 : 0);
    std::size_t used = 0;
    while (ok) {
        const ssize_t got = read(fd, bytes.data() + used, bytes.size() - used);
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        used += static_cast<std::size_t>(got);
        if (used == bytes.size()) bytes.resize(bytes.size() * 2);
    }
    close(fd);
    return ok;
}

bool WriteBytes(const std::string& name, std::size_t size, bool sync, int flags) {
    const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | flags, 0666);
    if (fd < 0) return false;
    const std::vector<char> bytes(size, 'x');
    bool ok = size == 0 || write(fd, bytes.data(), size) == static_cast<ssize_t>(size);
    if (sync) ok = fsync(fd) == 0 && ok;
    return close(fd) == 0 && ok;
}

bool Run(const std::string& op) {
    if (op.size() < 3 || op[1] != ':') return false;
    const std::string rest = op.substr(2);
    if (op[0] == 'r') return ReadWhole(rest.c_str());
    const std::size_t colon = rest.rfind(':');
    if (colon == std::string::npos) return false;
    const std::string name = rest.substr(0, colon);
    const std::size_t size = std::strtoull(rest.c_str() + colon + 1, nullptr, 10);
    if (op[0] == 'w') return WriteBytes(name, size, false, O_TRUNC);
    if (op[0] != 'a') return false;
    const std::string temporary = name + ".floor-tmp";
    return WriteBytes(temporary, size, true, O_TRUNC) &&
           rename(temporary.c_str(), name.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (!Run(argv[i])) {
            std::fprintf(stderr, "floor: cannot do %s\n", argv[i]);
            return 1;
        }
    }
    return 0;
}
