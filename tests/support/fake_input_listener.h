#pragma once

#include "player/input_listener.h"

// An input the test speaks into: hear() hands samples over as the listener's thread would.
class FakeInputListener : public InputListener {
public:
    QString input; // the one listened on; empty while off
    int starts = 0;

    void start(const QString& name, Take take, Failed failed) override
    {
        input = name;
        ++starts;
        m_take = std::move(take);
        m_failed = std::move(failed);
    }
    void stop() override { input.clear(); }

    void hear(const std::vector<float>& interleavedStereo)
    {
        if (!input.isEmpty())
            m_take(interleavedStereo.data(), qint64(interleavedStereo.size() / 2));
    }
    void lose(const QString& message) { m_failed(message); }

private:
    Take m_take;
    Failed m_failed;
};
