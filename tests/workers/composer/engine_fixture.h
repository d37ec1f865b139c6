// The composing engine on a song held in memory, for tests that drive its routines one by one:
// a small song set-up, the engine with its message log, and helpers to give a part cells and
// to count the events it made.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "workers/composer/composer.h"

namespace composer {

// `measures` measures alternating C and F (the last on C, the key chord), every slot on
// `style` at 100 percent, echo levels 65 and 78.
ComposeSetup SongSetup(int measures = 4, int numerator = 4,
                       const std::string& style = "Abcd12.sty");

struct Engine {
    MessageLog log;
    Composer c;
    explicit Engine(ComposeSetup setup = SongSetup()) : c(std::move(setup), log) {
        c.PrepareSong();
    }
    // Runs `f`; true when it stopped the run.
    bool Aborts(const std::function<void()>& f);
};

int CountEvents(const Composer& c, int status, int data1 = -1, int data2 = -1);

// Loads `style` into slots 1 and 2 and makes track `track` (1..5) of slot 1 the current part,
// as a track pass starts it.
void StartTrackInSlotOne(Engine& e, int track, const std::vector<std::uint8_t>& style);

// A part on track 2 (channel 2) whose working style has the given cells in every mode.
void PreparePart(Composer& c, int mode, const std::vector<std::pair<int, std::int64_t>>& rowCells);

}  // namespace composer
