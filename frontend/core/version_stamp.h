// The version stamp the front end shares with its workers: it names the settings store's
// application ("Orvella 2426") and stands on the command lines the workers check.
#pragma once

namespace corvane {

constexpr int kVersionStamp = 2426;

}  // namespace corvane
