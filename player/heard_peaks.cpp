#include "player/heard_peaks.h"

#include <algorithm>
#include <cmath>

void HeardPeaks::write(qint64 frame, const float* samples, qint64 frames)
{
    for (qint64 first = 0; first < frames; first += kBlockFrames) {
        const qint64 end = std::min(first + kBlockFrames, frames);
        float left = 0;
        float right = 0;
        for (const float* sample = samples + 2 * first; sample != samples + 2 * end; sample += 2) {
            left = std::max(left, std::abs(sample[0]));
            right = std::max(right, std::abs(sample[1]));
        }
        // What goes beyond full scale is heard as full scale.
        publish(frame + end, std::min(left, 1.0f), std::min(right, 1.0f));
    }
}

void HeardPeaks::publish(qint64 endFrame, float left, float right)
{
    const quint64 number = m_written.load(std::memory_order_relaxed);
    Block& block = m_blocks[number % kBlocks];
    block.sequence.store(2 * number + 1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    block.endFrame.store(endFrame, std::memory_order_relaxed);
    block.left.store(left, std::memory_order_relaxed);
    block.right.store(right, std::memory_order_relaxed);
    block.sequence.store(2 * number + 2, std::memory_order_release);
    m_written.store(number + 1, std::memory_order_release);
}

StereoPeak HeardPeaks::take(qint64 heardFrame)
{
    const quint64 written = m_written.load(std::memory_order_acquire);
    StereoPeak peak;
    quint64 number = std::max(m_taken, written > kBlocks ? written - kBlocks : 0);
    for (; number < written; ++number) {
        const Block& block = m_blocks[number % kBlocks];
        const quint64 sequence = block.sequence.load(std::memory_order_acquire);
        const qint64 endFrame = block.endFrame.load(std::memory_order_relaxed);
        const float left = block.left.load(std::memory_order_relaxed);
        const float right = block.right.load(std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_acquire);
        if (sequence != 2 * number + 2 || block.sequence.load(std::memory_order_relaxed) != sequence)
            continue; // written over by a newer block while the taker was behind
        if (endFrame > heardFrame)
            break;
        peak.left = std::max(peak.left, left);
        peak.right = std::max(peak.right, right);
    }
    m_taken = number;
    return peak;
}

void HeardPeaks::reset()
{
    m_written = 0;
    m_taken = 0;
}
