#include "playlist/list_editing.h"

#include "common/busy_state.h"
#include "common/dialogs.h"
#include "common/flat_button.h"
#include "common/up_down_control.h"
#include "playlist/list_edits.h"
#include "playlist/playlist.h"
#include "playlist/row_form.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTreeView>
#include <algorithm>

ListEditing::ListEditing(const Controls& controls, const Services& services, QObject* parent)
    : QObject(parent)
    , m_controls(controls)
    , m_services(services)
    , m_popupMenu(new QMenu(controls.list))
{
    m_popupMenu->setObjectName(QStringLiteral("meny"));
    QAction* remove = m_popupMenu->addAction(QStringLiteral("&Remove from the list"));
    remove->setObjectName(QStringLiteral("tabort"));
    QAction* changeGap = m_popupMenu->addAction(QStringLiteral("&Change gap"));
    changeGap->setObjectName(QStringLiteral("ändragap"));
    connect(remove, &QAction::triggered, this, [this] { removeSelected(false); });
    connect(changeGap, &QAction::triggered, this, &ListEditing::changeSelectedGap);

    connect(controls.upDown, &UpDownControl::upClicked, this, &ListEditing::moveSelectedUp);
    connect(controls.upDown, &UpDownControl::downClicked, this, &ListEditing::moveSelectedDown);
    connect(controls.clearList, &QPushButton::clicked, this, &ListEditing::clearList);
    connect(controls.shuffle, &QPushButton::clicked, this, &ListEditing::shuffle);

    // The edits count on a selected row whenever the list has rows; the view marks
    // none by itself after a rebuild or the first append.
    QAbstractItemModel* model = controls.list->model();
    connect(model, &QAbstractItemModel::modelReset, this, &ListEditing::selectFirstRowIfNone);
    connect(model, &QAbstractItemModel::rowsInserted, this, &ListEditing::selectFirstRowIfNone);
    connect(controls.list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ListEditing::showSelectedPath);
    connect(controls.list, &QAbstractItemView::clicked, this, &ListEditing::showSelectedPath);

    controls.list->installEventFilter(this);
    controls.list->viewport()->installEventFilter(this);
}

bool ListEditing::eventFilter(QObject* watched, QEvent* event)
{
    // The type is tested first: the list still gets events (hiding, child removal)
    // while it is destroyed.
    if (event->type() == QEvent::KeyPress && watched == m_controls.list)
        return handleListKey(static_cast<QKeyEvent*>(event));
    // The press goes on to the view, which selects the row under the pointer: the
    // menu then acts on that row.
    if (event->type() == QEvent::MouseButtonPress && watched == m_controls.list->viewport())
        handleListPress(static_cast<QMouseEvent*>(event));
    return false;
}

// The other edits need not wait for an add, load or drop: an adder fills each slot
// it takes before it lets events run, so meanwhile the table holds whole entries.
bool ListEditing::locked() const
{
    return m_services.busy.busy();
}

int ListEditing::rows() const
{
    return (*m_controls.list->model()).rowCount();
}

int ListEditing::selectedRow() const
{
    const QModelIndexList selected = m_controls.list->selectionModel()->selectedRows();
    return selected.isEmpty() ? 0 : selected.first().row() + 1;
}

void ListEditing::selectRow(int row)
{
    m_controls.list->selectionModel()->setCurrentIndex(
        (*m_controls.list->model()).index(row - 1, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ListEditing::selectFirstRowIfNone()
{
    if (rows() > 0 && !m_controls.list->selectionModel()->hasSelection())
        selectRow(1);
}

void ListEditing::showSelectedPath()
{
    if (m_services.busy.recording())
        return; // the run keeps its own tool-tip
    const int row = selectedRow();
    if (m_services.playlist.isEmpty())
        m_controls.list->setToolTip(QString());
    else if (row > 0)
        m_controls.list->setToolTip(m_services.playlist.at(row - 1).path);
}

void ListEditing::showEdit(int row)
{
    if (row > 0)
        selectRow(row);
    showSelectedPath();
}

bool ListEditing::handleListKey(const QKeyEvent* event)
{
    if (m_services.busy.recording() || m_services.playlist.isEmpty())
        return false;
    const Qt::KeyboardModifiers held =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool exactlyShift = held == Qt::ShiftModifier;
    const int row = selectedRow();
    switch (event->key()) {
    case Qt::Key_Up:
        if (!exactlyShift || row <= 1)
            return false;
        moveSelectedUp();
        return true;
    case Qt::Key_Down:
        if (!exactlyShift || row == 0 || row >= rows())
            return false;
        moveSelectedDown();
        return true;
    case Qt::Key_F2:
        if (row == 0)
            return false;
        changeSelectedGap();
        return true;
    case Qt::Key_Delete:
        if (row == 0)
            return false;
        removeSelected(true);
        return true;
    default:
        return false;
    }
}

void ListEditing::handleListPress(const QMouseEvent* event)
{
    if (event->button() != Qt::RightButton || m_services.busy.recording() || rows() == 0 || selectedRow() == 0)
        return;
    m_popupMenu->popup(event->globalPosition().toPoint());
}

void ListEditing::removeSelected(bool fromKeyboard)
{
    const int row = selectedRow();
    if (locked() || row == 0)
        return;
    const BusyState::Claim editing(m_services.busy, BusyState::Activity::Editing);
    m_services.playlist.remove(row - 1);
    // From the keyboard the selection stays in place, on the track that followed,
    // or on the new last row.
    showEdit(fromKeyboard ? std::min(row, m_services.playlist.count()) : 0);
}

void ListEditing::moveSelectedUp()
{
    const int row = selectedRow();
    if (m_services.busy.recording() || row <= 1)
        return;
    m_services.playlist.exchange(row - 2, row - 1);
    showEdit(row - 1);
}

void ListEditing::moveSelectedDown()
{
    const int row = selectedRow();
    if (m_services.busy.recording() || row == 0 || row >= rows())
        return;
    m_services.playlist.exchange(row - 1, row);
    showEdit(row + 1);
}

void ListEditing::changeSelectedGap()
{
    const int row = selectedRow();
    if (m_services.busy.recording() || row == 0)
        return;
    const std::optional<QString> answer =
        m_services.dialogs.input(m_controls.dialogParent, QStringLiteral("Enter new gap length:"),
                                 QStringLiteral("Change gap length"),
                                 rowText(m_services.playlist.at(row - 1), row - 1, PlaylistColumn::Gap));
    if (answer && !answer->isEmpty()) {
        if (const std::optional<double> gap = gapMilliseconds(*answer)) {
            m_services.playlist.setGap(row - 1, *gap);
            showEdit(row);
        } else {
            m_services.dialogs.message(m_controls.dialogParent, QStringLiteral("The gap length is out of range."),
                                       QStringLiteral("Trelvik"), QMessageBox::Warning);
        }
    }
    selectRow(row);
}

void ListEditing::clearList()
{
    if (locked())
        return;
    m_services.playlist.clear();
    m_controls.list->setToolTip(QString());
}

void ListEditing::shuffle()
{
    if (m_services.busy.recording() || m_services.playlist.isEmpty())
        return;
    m_services.playlist.shuffle(m_services.random);
    showEdit(0);
}
