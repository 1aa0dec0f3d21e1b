#pragma once

// The "When done" choices, as settings.dat keeps them and the end of a run follows them.
struct WhenDoneChoices {
    int save = 0;     // "Save playlist": 0 clear, 1 ticked, 2 greyed
    int format = 1;   // 1 M3U, 2 PLS, 0 neither
    int exit = 0;     // "Exit program"
    int shutdown = 0; // "Shut down computer"
};
