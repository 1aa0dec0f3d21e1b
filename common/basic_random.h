#pragma once

#include <cstdint>

// The classic 24-bit generator of BASIC. It is never seeded, so every start of the
// program draws the same sequence and a shuffle done first thing repeats itself.
class BasicRandom {
public:
    // Uniform on [0, 1) in single precision.
    float next()
    {
        m_state = (m_state * 1140671485u + 12820163u) & 0xFFFFFFu;
        return float(m_state) / float(1u << 24);
    }

private:
    std::uint64_t m_state = 327680;
};
