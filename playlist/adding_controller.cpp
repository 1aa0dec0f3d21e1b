#include "playlist/adding_controller.h"

#include "app/main_window.h"
#include "common/dialogs.h"
#include "common/failure.h"
#include "common/flat_button.h"
#include "playlist/default_gap.h"
#include "playlist/file_drop_filter.h"
#include "playlist/file_name_run.h"
#include "playlist/long_operation.h"
#include "playlist/media_extensions.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QTreeView>

AddingController::AddingController(MainWindow& window)
    : QObject(&window)
    , m_window(window)
    , m_adder({window.table(), window.model(), window.cd(), window.MediaPlayer1(),
               [this] { return defaultGap(); }, [this] { letEventsRun(); },
               [this](const QString& text) { warn(text); }})
{
    connect(window.ui.addFiles, &QPushButton::clicked, this, &AddingController::addFiles);
    connect(window.ui.loadPlaylist, &QPushButton::clicked, this, &AddingController::loadPlaylist);
    new FileDropFilter(window.ui.ListView1->viewport(),
                       [this](const QStringList& paths) { dropFiles(paths); });
}

// A close of the window that arrives here ends the operation silently, as a cancel
// would; what was added stays.
void AddingController::letEventsRun()
{
    m_events.letEventsRun();
    if (m_window.closeWanted)
        throw Failure(QStringLiteral("The window was closed."), Failure::kCancelled);
}

double AddingController::defaultGap()
{
    QString text = m_window.ui.Text1->text();
    const double gap = takeDefaultGap(text);
    if (text != m_window.ui.Text1->text())
        m_window.ui.Text1->setText(text);
    return gap;
}

void AddingController::warn(const QString& text)
{
    m_window.dialogs().message(&m_window, text, QStringLiteral("Trelvik"), QMessageBox::Warning);
}

void AddingController::report(const Failure& failure)
{
    if (!failure.cancelled())
        warn(failure.description());
}

void AddingController::addFiles()
{
    if (m_window.busy)
        return;
    QStringList chosen;
    try {
        Dialogs::FileRequest request{QStringLiteral("Choose files to put on playlist"), addFilesFilters(), {}};
        chosen = m_window.dialogs().openFiles(&m_window, request);
    } catch (const Failure& failure) {
        // A cancelled or failed dialog leaves the way every add does: buttons on, total shown.
        m_window.ea();
        m_window.räknatid();
        report(failure);
        return;
    }
    try {
        const LongOperation operation(m_window);
        const QString run = passThroughFileList(fileNameRun(chosen), m_window.programDirectory());
        const QStringList names = namesToAdd(run, chosen);
        for (const QString& name : names) {
            m_adder.läggtillpålista(name);
            letEventsRun();
        }
    } catch (const Failure& failure) {
        report(failure);
    }
}

void AddingController::loadPlaylist()
{
    if (m_window.busy)
        return;
    try {
        Dialogs::FileRequest request{QStringLiteral("Load playlist"),
                                     {QStringLiteral("M3U playlist (*.m3u)"), QStringLiteral("PLS playlist (*.pls)")},
                                     {}};
        const QString path = m_window.dialogs().openFile(&m_window, request);
        const LongOperation operation(m_window);
        m_adder.addPlaylist(path);
    } catch (const Failure& failure) {
        report(failure);
    }
}

void AddingController::dropFiles(const QStringList& paths)
{
    if (m_window.recording || m_window.busy)
        return;
    try {
        const LongOperation operation(m_window);
        for (const QString& path : paths) {
            const std::optional<FileExtension> extension = endingExtension(path);
            if (!extension || QFileInfo(path).isDir())
                continue;
            if (extension->kind == FileKind::M3uPlaylist || extension->kind == FileKind::PlsPlaylist) {
                m_adder.addPlaylist(path);
            } else {
                m_adder.läggtillpålista_dd(path);
                letEventsRun();
            }
        }
    } catch (const Failure& failure) {
        report(failure);
    }
}
