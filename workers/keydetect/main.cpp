// Sorvik, the key detector: finds the melody's key and key changes and writes the key list.
#include "workers/common/worker_skeleton.h"
#include "workers/keydetect/keydetect_driver.h"

int main(int argc, char** argv) {
    return worker::RunWorker(worker::JoinCommandLine(argc, argv), keydetect::kWorkerConfig);
}
