#include "common/dialogs.h"

#include "common/failure.h"

#include <QDir>
#include <QFileDialog>
#include <QInputDialog>

namespace {

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
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        throw Failure(QStringLiteral("Cancel was selected."), Failure::kCancelled);
    request.selectedFilter = dialog.selectedNameFilter();
    const QStringList files = dialog.selectedFiles();
    QDir::setCurrent(QFileInfo(files.first()).absolutePath());
    return files;
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

QString QtDialogs::openFile(QWidget* parent, FileRequest& request)
{
    return runFileDialog(parent, request, QFileDialog::ExistingFile, QFileDialog::AcceptOpen).first();
}

QString QtDialogs::saveFile(QWidget* parent, FileRequest& request)
{
    return runFileDialog(parent, request, QFileDialog::AnyFile, QFileDialog::AcceptSave).first();
}
