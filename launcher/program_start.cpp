#include "launcher/program_start.h"

#include <spawn.h>

#include <vector>

extern char** environ;

namespace vessane {

bool StartProgram(const std::string& name) {
    if (name.empty() || name.find('/') != std::string::npos) return false;
    // A relative path, not a search of PATH: only the program folder's copy may start.
    std::string path = "./" + name;
    std::string argument0 = name;
    std::vector<char*> argv = {argument0.data(), nullptr};

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    pid_t pid = 0;
    // glibc reports a failed exec (missing file, no execute permission, a folder) here.
    const int error =
        ::posix_spawn(&pid, path.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    return error == 0;
}

}  // namespace vessane
