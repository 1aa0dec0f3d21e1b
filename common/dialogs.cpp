#include "common/dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QInputDialog>

namespace {

// The places the sidebar did not show yet are put at its end; those are returned.
QList<QUrl> addPlaces(QFileDialog& dialog, const QList<QUrl>& places)
{
    QList<QUrl> added;
    for (const QUrl& place : places) {
        if (!dialog.sidebarUrls().contains(place))
            added << place;
    }
    if (!added.isEmpty())
        dialog.setSidebarUrls(dialog.sidebarUrls() + added);
    return added;
}

// Qt keeps a dialog's sidebar for every later file dialog of every Qt program, so
// places shown for one request are taken out before the dialog goes.
void removePlaces(QFileDialog& dialog, const QList<QUrl>& added)
{
    if (added.isEmpty())
        return;
    QList<QUrl> kept = dialog.sidebarUrls();
    kept.removeIf([&added](const QUrl& url) { return added.contains(url); });
    dialog.setSidebarUrls(kept);
}

QStringList runFileDialog(QWidget* parent, Dialogs::FileRequest& request,
                          QFileDialog::FileMode mode, QFileDialog::AcceptMode accept)
{
    QFileDialog dialog(parent, request.title, QDir::currentPath());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(mode);
    dialog.setAcceptMode(accept);
    dialog.setNameFilters(request.filters);
    if (!request.selectedFilter.isEmpty())
        dialog.selectNameFilter(request.selectedFilter);
    const QList<QUrl> added = addPlaces(dialog, request.places);
    const int result = dialog.exec();
    removePlaces(dialog, added);
    if (result != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    request.selectedFilter = dialog.selectedNameFilter();
    const QStringList files = dialog.selectedFiles();
    QDir::setCurrent(QFileInfo(files.first()).absolutePath());
    return files;
}

std::optional<QString> oneFile(const QStringList& files)
{
    if (files.isEmpty())
        return std::nullopt;
    return files.first();
}

} // namespace

void QtDialogs::message(QWidget* parent, const QString& text, const QString& title,
                        QMessageBox::Icon icon)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

bool QtDialogs::question(QWidget* parent, const QString& text, const QString& title)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    // Going on is the choice to make on purpose.
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> QtDialogs::input(QWidget* parent, const QString& prompt,
                                        const QString& title, const QString& defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QStringList QtDialogs::openFiles(QWidget* parent, FileRequest& request)
{
    return runFileDialog(parent, request, QFileDialog::ExistingFiles, QFileDialog::AcceptOpen);
}

std::optional<QString> QtDialogs::openFile(QWidget* parent, FileRequest& request)
{
    return oneFile(runFileDialog(parent, request, QFileDialog::ExistingFile, QFileDialog::AcceptOpen));
}

std::optional<QString> QtDialogs::saveFile(QWidget* parent, FileRequest& request)
{
    return oneFile(runFileDialog(parent, request, QFileDialog::AnyFile, QFileDialog::AcceptSave));
}
