#pragma once

// What a check box shows: clear, ticked, or greyed, which only the program sets.
enum class BoxState { Clear, Ticked, Greyed };
