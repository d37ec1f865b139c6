// Quenby, the melody importer: imports a track of a MIDI file, or makes a melody, as the song
// input.
#include "workers/common/worker_skeleton.h"
#include "workers/melody/melody_driver.h"

int main(int argc, char** argv) {
    return worker::RunWorker(worker::JoinCommandLine(argc, argv), melody::kWorkerConfig);
}
