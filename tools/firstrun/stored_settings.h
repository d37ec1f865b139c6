// The settings the front end's start-up reads when nothing is stored. Apart from first_run.cpp
// because the front end's settings header and its command line header each declare the version
// stamp, so one file cannot include both.
#pragma once

#include <array>

namespace firstrun {

struct StoredSettings {
    std::array<int, 2> echoVoice{};  // programs 1..128
    std::array<int, 2> echoLevel{};  // 0..9
    int sectVol = 0;                 // percent, every slot
};

StoredSettings SettingsOfAFirstRun();

}  // namespace firstrun
