#include "discs/cd_entry.h"
#include "support/failure_text.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

// One reading of a CD entry's path, which adding, the run and the scan all go through:
// its disc is the folder or sheet it lies in, its track comes from its file name alone.
TEST(CdEntry, everyUserReadsTheSameTrackFromTheFileNameAlone)
{
    const struct { QString path, disc; int track; /* 0: names no CD track */ } cases[] = {
        { "/home/u/Music/Track 2 Remixes/album.cue/Track01.cda", "/home/u/Music/Track 2 Remixes/album.cue", 1 },
        { "/rips/album.cue/Track03 track99999.cda", "/rips/album.cue", 3 }, // the first "track" counts
        { "D:\\Track03.cda", "D:", 3 },
        { "/media/cdrom/TRACK07.CDA", "/media/cdrom", 7 },
        { "/cd/track 12.cda", "/cd", 12 },
        { "Track05.cda", "", 5 },
        { "/cd/Track2.5.cda", "/cd", 2 }, // rounded half to even
        { "/cd/Spår01.cda", "", 0 },
        { "/rips/good.cue/01.cda", "", 0 },
        { "/rips/good.cue/Track1e9.cda", "", 0 },
        { "/rips/good.cue/Track00.cda", "", 0 },
        { "/rips/good.cue/Track100.cda", "", 0 },
        { "/rips/good.cue/Track.cda", "", 0 },
        { "/rips/Track 5/Track-1.cda", "", 0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        ASSERT_TRUE(isCdEntry(c.path));
        EXPECT_EQ(cdEntryOf(c.path), c.track ? std::optional(CdEntry { c.disc, c.track }) : std::nullopt);
        EXPECT_EQ(failureOf([&] { readCdEntry(c.path); }),
                  c.track ? QString() : c.path + " does not name a CD track (Track01.cda to Track99.cda).");
    }
    // A media file is no CD entry, whatever its name holds.
    for (const char* path : { "/music/Track05.mp3", "/music/song.cda.mp3", "/music/Track01.cda.old" })
        EXPECT_TRUE(!isCdEntry(QString::fromUtf8(path)) && !cdEntryOf(QString::fromUtf8(path))) << path;
}
