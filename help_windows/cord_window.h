#pragma once

#include <QWidget>

class QLabel;

// Form4, "Cord screenshot": the cable that joins the sound card to the deck.
class Form4 : public QWidget {
    Q_OBJECT
public:
    explicit Form4(QWidget* parent = nullptr);

    QLabel* Image1;
};
