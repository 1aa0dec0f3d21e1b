#pragma once

#include <QWidget>

class Dialogs;
class QPlainTextEdit;
class QPushButton;

// What the listening heard of the last run, track by track, and saving it as text.
// Hidden until a run is listened to.
class ListenReportPanel : public QWidget {
    Q_OBJECT
public:
    explicit ListenReportPanel(Dialogs& dialogs, QWidget* parent = nullptr);

    void showListening(const QString& input);
    void showReport(const QStringList& lines);
    void showFailure(const QString& message);

private:
    void save();

    Dialogs& m_dialogs;
    QPlainTextEdit* m_text;
    QPushButton* m_save;
};
