#pragma once

#include "listening/cable_check.h"

#include <QObject>
#include <atomic>
#include <thread>

// Checks the cable on a thread of its own, one check at a time; going, it stops a
// check that is on and waits for its thread.
class CableChecker : public QObject {
    Q_OBJECT
public:
    explicit CableChecker(CableProbe& probe, QObject* parent = nullptr);
    ~CableChecker() override;

    bool checking() const { return m_thread.joinable(); }
    // Does nothing while a check is on.
    void start(const QString& output, const QString& input);

Q_SIGNALS:
    void checked(const CableFindings& findings);
    // The check could not be made, in a sentence fit to show.
    void failed(const QString& message);

private:
    CableProbe& m_probe;
    std::atomic<bool> m_cancel = false;
    std::thread m_thread;
};
