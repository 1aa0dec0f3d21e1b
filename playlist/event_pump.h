#pragma once

#include <QElapsedTimer>

// Lets pending window events run between the files of a long operation, so the
// window repaints, shows the new rows and stays responsive. Repainting the list after
// each of thousands of files would cost more than measuring them, so events run at
// most once per frame: a new row still shows at once to the eye.
class EventPump {
public:
    void letEventsRun();

private:
    QElapsedTimer m_sinceLastRun;
};
