#include "frontend/core/ui/playback_controls.h"

#include "frontend/core/ui/make_control.h"

namespace corvane {

void PlaybackControls::CreatePlaybackControls(QObject* form) {
    MMControl1 = MakeObject<platform::qt::MMControl>(form, "MMControl1");
    MMControl2 = MakeObject<platform::qt::MMControl>(form, "MMControl2");
}

}  // namespace corvane
