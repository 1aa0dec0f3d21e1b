#include "scan/loudness_meter.h"

#include <ebur128.h>
#include <cmath>
#include <limits>
#include <new>

struct LoudnessMeter::Library {
    ebur128_state* state = nullptr;
    ~Library() { ebur128_destroy(&state); }
};

LoudnessMeter::LoudnessMeter()
    : m_library(std::make_unique<Library>())
{
    // The integrated loudness alone: the true peak would cost five times as much as
    // the loudness and the samples' peak is in the level envelope already.
    m_library->state = ebur128_init(2, 44100, EBUR128_MODE_I);
    if (!m_library->state)
        throw std::bad_alloc();
}

LoudnessMeter::~LoudnessMeter() = default;

void LoudnessMeter::add(const float* interleavedStereo, qint64 frames)
{
    if (frames > 0 && ebur128_add_frames_float(m_library->state, interleavedStereo, size_t(frames)) != EBUR128_SUCCESS)
        throw std::bad_alloc(); // its only failure: no memory for the gating blocks
}

double LoudnessMeter::integratedLufs() const
{
    double lufs = 0;
    ebur128_loudness_global(m_library->state, &lufs);
    return std::isfinite(lufs) ? lufs : -std::numeric_limits<double>::infinity();
}
