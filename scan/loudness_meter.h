#pragma once

#include <QtGlobal>
#include <memory>

// A track's integrated loudness after EBU R 128, in LUFS, measured as its samples
// come: interleaved stereo at 44.1 kHz, full scale being 1.
class LoudnessMeter {
public:
    LoudnessMeter();
    ~LoudnessMeter();

    void add(const float* interleavedStereo, qint64 frames);
    // Minus infinity for a track with nothing above the measure's absolute gate
    // (-70 LUFS), silence among it; never a NaN.
    double integratedLufs() const;

private:
    struct Library; // the measuring library's state; its header stays with the meter
    std::unique_ptr<Library> m_library;
};
