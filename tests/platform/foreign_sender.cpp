// foreign_sender SOCKET COUNT [send-only]: what a hostile neighbour would try against a
// completion receiver: send COUNT well-formed completions to its socket (a path, or "@name" for
// an abstract address), then, unless "send-only", take the socket's name over. Prints what got
// through:
//   delivered=<datagrams sent> taken=<0|1>
// The completion-channel test runs it as another user; the worker runner's test sends stray
// completions with it as the same user.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    const bool sendOnly = argc == 4 && std::strcmp(argv[3], "send-only") == 0;
    if (argc != 3 && !sendOnly) {
        std::fprintf(stderr, "usage: foreign_sender SOCKET COUNT [send-only]\n");
        return 2;
    }
    const std::string name = argv[1];
    const int count = std::atoi(argv[2]);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (name.size() >= sizeof address.sun_path) return 2;
    std::memcpy(address.sun_path, name.data(), name.size());
    if (name[0] == '@') address.sun_path[0] = '\0';
    const socklen_t length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + name.size() +
                                                    (name[0] == '@' ? 0 : 1));

    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK, 0);
    if (fd < 0) return 2;
    // A completion of the key detector saying "failed".
    const unsigned char payload[12] = {0x01, 0x01, 0, 0, 46, 0, 0, 0, 0, 0, 0, 0x20};
    int delivered = 0;
    for (int i = 0; i < count; ++i) {
        if (sendto(fd, payload, sizeof payload, MSG_DONTWAIT,
                   reinterpret_cast<const sockaddr*>(&address), length) == sizeof payload) {
            ++delivered;
        }
    }
    close(fd);

    int taken = 0;
    if (!sendOnly && name[0] != '@' && unlink(name.c_str()) == 0) {
        const int own = socket(AF_UNIX, SOCK_DGRAM, 0);
        taken = own >= 0 && bind(own, reinterpret_cast<const sockaddr*>(&address), length) == 0;
    }
    std::printf("delivered=%d taken=%d\n", delivered, taken);
    return 0;
}
