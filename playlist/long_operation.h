#pragma once

class MainWindow;

// The frame of a long operation (adding, loading, dropping): while it lives the
// pointer is the hourglass, the command buttons are off and the busy flag is set.
// However the operation ends, the total is recomputed, the buttons come back, the
// flag is cleared and the pointer is restored; a close of the window that came
// meanwhile is carried out then.
class LongOperation {
public:
    explicit LongOperation(MainWindow& window);
    ~LongOperation();
    LongOperation(const LongOperation&) = delete;
    LongOperation& operator=(const LongOperation&) = delete;

private:
    MainWindow& m_window;
};
