#include "recording/media_player.h"

#include "common/failure.h"

// Stand-in until the GStreamer player is in place.
namespace {
class SilentPlayer : public MediaPlayer {
public:
    void setFileName(const QString&) override { throw Failure(QStringLiteral("No media player")); }
    double duration() const override { return 0; }
    void play() override {}
    void stop() override {}
    double currentPosition() const override { return 0; }
};
} // namespace

std::unique_ptr<MediaPlayer> makeMediaPlayer()
{
    return std::make_unique<SilentPlayer>();
}
