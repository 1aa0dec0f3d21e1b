#pragma once

#include <QColor>
#include <QPushButton>

// A flat command button whose caption turns red while the mouse is over it.
class FlatButton : public QPushButton {
    Q_OBJECT
public:
    explicit FlatButton(const QString& caption, QWidget* parent = nullptr);

    void setCaptionColor(const QColor& color);
    QColor captionColor() const { return m_captionColor; }

    // Free text that travels with the button (the volume button keeps its program here).
    QString tag;

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void showColor(const QColor& color);

    QColor m_captionColor = Qt::black;
    bool m_hovered = false;
};

// Switch a set of command buttons off (grey captions first, then disabled) and on
// again (enabled first, then black captions).
void switchButtonsOff(const QList<FlatButton*>& buttons);
void switchButtonsOn(const QList<FlatButton*>& buttons);
