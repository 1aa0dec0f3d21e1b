#include "playlist/adding_controller.h"

#include "common/busy_state.h"
#include "common/dialogs.h"
#include "common/failure.h"
#include "common/flat_button.h"
#include "playlist/audio_cd_folder.h"
#include "playlist/default_gap.h"
#include "playlist/file_drop_filter.h"
#include "playlist/file_name_run.h"
#include "playlist/long_operation.h"
#include "playlist/media_extensions.h"
#include "playlist/playlist.h"

#include <QFileInfo>
#include <QUrl>

namespace {

// Unwinds an add, load or drop when the window is closed in the middle of it.
struct WindowClosed {};

} // namespace

AddingController::AddingController(const Controls& controls, const Services& services, QObject* parent)
    : QObject(parent)
    , m_controls(controls)
    , m_services(services)
    , m_adder({services.playlist, services.discs, services.player,
               [this] { return takeDefaultGap(*m_controls.defaultGapEdit); },
               [this] { letEventsRun(); }, [this](const QString& text) { warn(text); }})
{
    connect(controls.addFiles, &QPushButton::clicked, this, &AddingController::addFiles);
    connect(controls.loadPlaylist, &QPushButton::clicked, this, &AddingController::loadPlaylist);
    new FileDropFilter(controls.dropTarget, [this](const QStringList& paths) { dropFiles(paths); });
}

// A close of the window that arrives here ends the operation silently, as a cancel
// would; what was added stays.
void AddingController::letEventsRun()
{
    m_events.letEventsRun();
    if (m_services.busy.stopWanted())
        throw WindowClosed();
}

void AddingController::warn(const QString& text)
{
    m_services.dialogs.message(m_controls.dialogParent, text, QStringLiteral("Trelvik"), QMessageBox::Warning);
}

void AddingController::report(const Failure& failure)
{
    warn(failure.description());
}

void AddingController::addFiles()
{
    if (m_services.busy.busy())
        return;
    // A cancelled or failed dialog leaves the way every add does, the total shown.
    const auto leaveUnchanged = [this] { m_services.playlist.updateTotal(); };
    QStringList chosen;
    bool everyType = false;
    try {
        // Always offered, even with no disc in, so the user learns where CD tracks appear.
        m_services.audioCd.refresh();
        Dialogs::FileRequest request{QStringLiteral("Choose files to put on playlist"), addFilesFilters(), {},
                                     {QUrl::fromLocalFile(m_services.audioCd.path())}};
        chosen = m_services.dialogs.openFiles(m_controls.dialogParent, request);
        everyType = request.selectedFilter == everyTypeFilter();
    } catch (const Failure& failure) {
        leaveUnchanged();
        report(failure);
        return;
    }
    if (chosen.isEmpty()) {
        leaveUnchanged();
        return;
    }
    try {
        const LongOperation operation(m_services.busy, m_services.playlist);
        const QString run = passThroughFileList(fileNameRun(chosen), m_services.programDirectory);
        const QStringList names = namesToAdd(run, chosen, everyType);
        for (const QString& name : names) {
            m_adder.addChosenFile(name);
            letEventsRun();
        }
    } catch (const Failure& failure) {
        report(failure);
    } catch (const WindowClosed&) {
    }
}

void AddingController::loadPlaylist()
{
    if (m_services.busy.busy())
        return;
    try {
        Dialogs::FileRequest request{QStringLiteral("Load playlist"),
                                     {QStringLiteral("M3U playlist (*.m3u)"), QStringLiteral("PLS playlist (*.pls)")},
                                     {}, {}};
        const std::optional<QString> path = m_services.dialogs.openFile(m_controls.dialogParent, request);
        if (!path)
            return;
        const LongOperation operation(m_services.busy, m_services.playlist);
        m_adder.addPlaylist(*path);
    } catch (const Failure& failure) {
        report(failure);
    } catch (const WindowClosed&) {
    }
}

void AddingController::dropFiles(const QStringList& paths)
{
    if (m_services.busy.busy())
        return;
    try {
        const LongOperation operation(m_services.busy, m_services.playlist);
        for (const QString& path : paths) {
            const std::optional<FileExtension> extension = endingExtension(path);
            if (!extension || QFileInfo(path).isDir())
                continue;
            if (extension->kind == FileKind::M3uPlaylist || extension->kind == FileKind::PlsPlaylist) {
                m_adder.addPlaylist(path);
            } else {
                m_adder.addDroppedFile(path);
                letEventsRun();
            }
        }
    } catch (const Failure& failure) {
        report(failure);
    } catch (const WindowClosed&) {
    }
}
