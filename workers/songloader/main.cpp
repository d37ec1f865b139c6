// Ambrel, the song loader: reads the melody of the song input into the measure files.
#include "workers/common/worker_skeleton.h"
#include "workers/songloader/songloader_driver.h"

int main(int argc, char** argv) {
    return worker::RunWorker(worker::JoinCommandLine(argc, argv), songloader::kWorkerConfig);
}
