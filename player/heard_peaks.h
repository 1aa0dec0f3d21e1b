#pragma once

#include "player/media_player.h"

#include <QtGlobal>
#include <array>
#include <atomic>

// The loudest samples of what an output writes, in blocks of about 10 ms placed on
// its timeline, kept until they are heard and taken. The output's thread writes and
// the user-interface thread takes; neither ever waits for the other. A taker that
// falls more than kBlocks behind finds only the newest blocks.
class HeardPeaks {
public:
    // The output's thread: interleaved stereo samples, the first at frame.
    void write(qint64 frame, const float* samples, qint64 frames);
    // The user-interface thread: the loudest of each channel in the blocks heard
    // whole by heardFrame and not taken yet.
    StereoPeak take(qint64 heardFrame);
    // While nothing writes: the output starts anew.
    void reset();

    static constexpr qint64 kBlockFrames = 441;
    static constexpr quint64 kBlocks = 1024; // 10 s, twice what a sink holds ahead at most

private:
    // A block is read while it may be written again; its sequence, odd while it is
    // being written, tells a reader that it read two writes mixed.
    struct Block {
        std::atomic<quint64> sequence { 0 };
        std::atomic<qint64> endFrame { 0 };
        std::atomic<float> left { 0 };
        std::atomic<float> right { 0 };
    };

    void publish(qint64 endFrame, float left, float right);

    std::array<Block, kBlocks> m_blocks;
    std::atomic<quint64> m_written { 0 }; // blocks, since the output started
    quint64 m_taken = 0;
};
