#pragma once

// The web addresses the program uses: the maker's, and a web service.
inline constexpr char kHomePageAddress[] = "https://velkor.example/trelvik/";
inline constexpr char kVersionFileAddress[] = "https://velkor.example/trelvik/trelvikversion.dat";
// The web service that names the tracks of discs without CD-Text, by their disc ID.
inline constexpr char kMusicBrainzAddress[] = "https://musicbrainz.org";
