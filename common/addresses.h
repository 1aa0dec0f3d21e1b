#pragma once

// The maker's web addresses.
inline constexpr char kHomePageAddress[] = "https://velkor.example/trelvik/";
inline constexpr char kVersionFileAddress[] = "https://velkor.example/trelvik/trelvikversion.dat";
