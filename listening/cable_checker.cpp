#include "listening/cable_checker.h"

#include "common/failure.h"

CableChecker::CableChecker(CableProbe& probe, QObject* parent)
    : QObject(parent)
    , m_probe(probe)
{
}

CableChecker::~CableChecker()
{
    m_cancel = true;
    if (m_thread.joinable())
        m_thread.join();
}

void CableChecker::start(const QString& output, const QString& input)
{
    if (checking())
        return;
    m_thread = std::thread([this, output, input] {
        std::optional<CableFindings> findings;
        QString failure;
        try {
            findings = checkCable(m_probe, output, input, m_cancel);
        } catch (const Failure& error) {
            failure = error.description();
        }
        if (m_cancel)
            return; // the checker is going: nobody waits for the answer
        QMetaObject::invokeMethod(this, [this, findings, failure] {
            m_thread.join(); // it has ended, or is about to
            if (findings)
                Q_EMIT checked(*findings);
            else
                Q_EMIT failed(failure);
        }, Qt::QueuedConnection);
    });
}
