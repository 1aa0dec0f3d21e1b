#pragma once

#include "common/box_state.h"
#include "playlist_files/playlist_format.h"

// The "When done" choices, as settings.dat keeps them and the end of a run follows
// them; only a ticked box counts.
struct WhenDoneChoices {
    BoxState save = BoxState::Clear;             // "Save playlist"
    PlaylistFormat format = PlaylistFormat::M3u; // None when neither option is selected
    BoxState exit = BoxState::Clear;             // "Exit program"
    BoxState shutdown = BoxState::Clear;         // "Shut down computer"
};
