#pragma once

#include <QWidget>

class QLabel;

// "Cord screenshot" (Form4): the cable that joins the sound card to the deck.
class CordWindow : public QWidget {
    Q_OBJECT
public:
    explicit CordWindow(QWidget* parent = nullptr);

    QLabel* cordPicture;
};
