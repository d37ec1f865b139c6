#include "workers/common/worker_skeleton.h"
#include "workers/songloader/song_loader.h"

int main(int argc, char** argv) {
    return worker::RunWorker(worker::JoinCommandLine(argc, argv), songloader::AmbrelConfig());
}
