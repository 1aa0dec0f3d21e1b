#pragma once

// The program's own version, shown in the caption and compared by the update check.
constexpr int kVersionMajor = 1;
constexpr int kVersionMinor = 6;
constexpr int kVersionRevision = 5;
