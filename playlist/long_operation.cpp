#include "playlist/long_operation.h"

#include <QApplication>

LongOperation::LongOperation(BusyState& busy, Playlist& playlist)
    : m_batch(std::in_place, playlist)
    , m_claim(busy, BusyState::Activity::Adding)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

// The claim ends after this body, so whoever waits for its end finds the total
// recounted and the pointer restored.
LongOperation::~LongOperation()
{
    m_batch.reset();
    QApplication::restoreOverrideCursor();
}
