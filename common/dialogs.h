#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

class QWidget;

// Message boxes, input boxes and file dialogs. The program asks through this seam
// so that tests can answer with scripted replies instead of modal windows.
class Dialogs {
public:
    struct FileRequest {
        QString title;
        QStringList filters; // "MP3 File (*.mp3)", in the order shown
        QString selectedFilter; // the filter shown first; on return from saveFile: the one chosen
        QList<QUrl> places; // folders offered in the sidebar after the usual ones
    };

    virtual ~Dialogs() = default;

    virtual void message(QWidget* parent, const QString& text, const QString& title,
                         QMessageBox::Icon icon) = 0;
    // A question answered with Yes or No; true for Yes.
    virtual bool question(QWidget* parent, const QString& text, const QString& title) = 0;
    // The typed text, or nothing when the user cancelled.
    virtual std::optional<QString> input(QWidget* parent, const QString& prompt,
                                         const QString& title, const QString& defaultText) = 0;
    // The chosen existing files as full paths, in the dialog's order; none when the
    // user cancelled. The dialog opens in the current directory and makes the
    // chosen folder current.
    virtual QStringList openFiles(QWidget* parent, FileRequest& request) = 0;
    // The chosen file, or nothing when the user cancelled.
    virtual std::optional<QString> openFile(QWidget* parent, FileRequest& request) = 0;
    // As openFile; asks before replacing an existing file.
    virtual std::optional<QString> saveFile(QWidget* parent, FileRequest& request) = 0;
};

// The real dialogs: Qt's own, not the desktop's.
class QtDialogs : public Dialogs {
public:
    void message(QWidget* parent, const QString& text, const QString& title,
                 QMessageBox::Icon icon) override;
    bool question(QWidget* parent, const QString& text, const QString& title) override;
    std::optional<QString> input(QWidget* parent, const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    QStringList openFiles(QWidget* parent, FileRequest& request) override;
    std::optional<QString> openFile(QWidget* parent, FileRequest& request) override;
    std::optional<QString> saveFile(QWidget* parent, FileRequest& request) override;
};
