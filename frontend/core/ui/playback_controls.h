// The main window's two players: MMControl1 plays the composed output, MMControl2 the input song.
// FrmMain inherits them.
#pragma once

#include <QObject>

#include "platform/qt/mm_control.h"

namespace corvane {

struct PlaybackControls {
    platform::qt::MMControl* MMControl1 = nullptr;  // the output player
    platform::qt::MMControl* MMControl2 = nullptr;  // the input player

    void CreatePlaybackControls(QObject* form);
};

}  // namespace corvane
