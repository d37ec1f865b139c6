#include "frontend/editors/ui/editor_neighbours.h"

#include "frontend/app/app.h"

namespace corvane::editors::neighbours {

bool OutputPlayerPlayingOrSeeking(const FrmMain&) {
    return false;
}

}  // namespace corvane::editors::neighbours
