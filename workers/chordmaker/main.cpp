// Tressil, the chord maker: proposes a chord for every half measure and writes Data.aco.
#include "workers/chordmaker/chordmaker_driver.h"
#include "workers/common/worker_skeleton.h"

int main(int argc, char** argv) {
    return worker::RunWorker(worker::JoinCommandLine(argc, argv), chordmaker::kWorkerConfig);
}
