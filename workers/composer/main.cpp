// Compose, the composer: writes the accompaniment of the song in the chosen styles.
#include "workers/common/worker_skeleton.h"
#include "workers/composer/composer_driver.h"

int main(int argc, char** argv) {
    return worker::RunWorker(worker::JoinCommandLine(argc, argv), composer::kWorkerConfig);
}
