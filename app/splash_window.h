#pragma once

#include <QWidget>

// Form6: the small window shown while the main window is prepared.
class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget* parent = nullptr);
};
