#include "workers/common/worker_skeleton.h"
#include "workers/keydetect/keydetect_driver.h"

int main(int argc, char** argv) {
    return worker::RunWorker(worker::JoinCommandLine(argc, argv), keydetect::kSorvikConfig);
}
