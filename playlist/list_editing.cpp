#include "playlist/list_editing.h"

#include "app/main_window.h"
#include "common/dialogs.h"
#include "common/flat_button.h"
#include "common/up_down_control.h"
#include "playlist/list_edits.h"
#include "playlist/row_form.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTreeView>
#include <algorithm>

ListEditing::ListEditing(MainWindow& window)
    : QObject(&window)
    , m_window(window)
    , m_meny(new QMenu(&window))
{
    m_meny->setObjectName(QStringLiteral("meny"));
    QAction* tabort = m_meny->addAction(QStringLiteral("&Remove from the list"));
    tabort->setObjectName(QStringLiteral("tabort"));
    QAction* ändragap = m_meny->addAction(QStringLiteral("&Change gap"));
    ändragap->setObjectName(QStringLiteral("ändragap"));
    connect(tabort, &QAction::triggered, this, [this] { tabort_Click(false); });
    connect(ändragap, &QAction::triggered, this, &ListEditing::ändragap_Click);

    Form1Controls& ui = window.ui;
    connect(ui.UpDown1, &UpDownControl::upClicked, this, &ListEditing::UpDown1_UpClick);
    connect(ui.UpDown1, &UpDownControl::downClicked, this, &ListEditing::UpDown1_DownClick);
    connect(ui.clearList, &QPushButton::clicked, this, &ListEditing::clearList_Click);
    connect(ui.shuffle, &QPushButton::clicked, this, &ListEditing::shuffle_Click);

    // The edits count on a selected row whenever the list has rows; the view marks
    // none by itself after a rebuild or the first append.
    connect(&window.model(), &QAbstractItemModel::modelReset, this, &ListEditing::selectFirstRowIfNone);
    connect(&window.model(), &QAbstractItemModel::rowsInserted, this, &ListEditing::selectFirstRowIfNone);
    connect(ui.ListView1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ListEditing::showSelectedPath);
    connect(ui.ListView1, &QAbstractItemView::clicked, this, &ListEditing::showSelectedPath);

    ui.ListView1->installEventFilter(this);
    ui.ListView1->viewport()->installEventFilter(this);
}

bool ListEditing::eventFilter(QObject* watched, QEvent* event)
{
    // The type is tested first: the list still gets events (hiding, child removal) while
    // the window is destroyed, when the window's fields are gone.
    if (event->type() == QEvent::KeyPress && watched == m_window.ui.ListView1)
        return ListView1_KeyDown(static_cast<QKeyEvent*>(event));
    // The press goes on to the view, which selects the row under the pointer: the
    // menu then acts on that row.
    if (event->type() == QEvent::MouseButtonPress && watched == m_window.ui.ListView1->viewport())
        ListView1_MouseDown(static_cast<QMouseEvent*>(event));
    return false;
}

// The other edits need not wait for an add, load or drop: an adder fills each slot
// it takes before it lets events run, so meanwhile the table holds whole entries.
bool ListEditing::locked() const
{
    return m_window.recording || m_window.busy;
}

int ListEditing::rows() const
{
    return m_window.model().rowCount();
}

int ListEditing::selectedRow() const
{
    const QModelIndexList selected = m_window.ui.ListView1->selectionModel()->selectedRows();
    return selected.isEmpty() ? 0 : selected.first().row() + 1;
}

void ListEditing::selectRow(int row)
{
    m_window.ui.ListView1->selectionModel()->setCurrentIndex(
        m_window.model().index(row - 1, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ListEditing::selectFirstRowIfNone()
{
    if (rows() > 0 && !m_window.ui.ListView1->selectionModel()->hasSelection())
        selectRow(1);
}

void ListEditing::showSelectedPath()
{
    if (m_window.recording)
        return; // the run keeps its own tool-tip
    const int row = selectedRow();
    if (m_window.table().isEmpty())
        m_window.ui.ListView1->setToolTip(QString());
    else if (row > 0)
        m_window.ui.ListView1->setToolTip(m_window.table()[row - 1].path);
}

void ListEditing::showEdit(int row)
{
    m_window.udlista();
    m_window.räknatid();
    if (row > 0)
        selectRow(row);
    showSelectedPath();
}

bool ListEditing::ListView1_KeyDown(const QKeyEvent* event)
{
    if (m_window.recording || m_window.table().isEmpty())
        return false;
    const Qt::KeyboardModifiers held =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool exactlyShift = held == Qt::ShiftModifier;
    const int row = selectedRow();
    switch (event->key()) {
    case Qt::Key_Up:
        if (!exactlyShift || row <= 1)
            return false;
        UpDown1_UpClick();
        return true;
    case Qt::Key_Down:
        if (!exactlyShift || row == 0 || row >= rows())
            return false;
        UpDown1_DownClick();
        return true;
    case Qt::Key_F2:
        if (row == 0)
            return false;
        ändragap_Click();
        return true;
    case Qt::Key_Delete:
        if (row == 0)
            return false;
        tabort_Click(true);
        return true;
    default:
        return false;
    }
}

void ListEditing::ListView1_MouseDown(const QMouseEvent* event)
{
    if (event->button() != Qt::RightButton || m_window.recording || rows() == 0 || selectedRow() == 0)
        return;
    m_meny->popup(event->globalPosition().toPoint());
}

void ListEditing::tabort_Click(bool fromKeyboard)
{
    const int row = selectedRow();
    if (locked() || row == 0)
        return;
    m_window.da();
    m_window.busy = true;
    removeEntry(m_window.table(), row - 1);
    // From the keyboard the selection stays in place, on the track that followed,
    // or on the new last row.
    showEdit(fromKeyboard ? std::min(row, m_window.table().count()) : 0);
    m_window.ea();
    m_window.busy = false;
}

void ListEditing::UpDown1_UpClick()
{
    const int row = selectedRow();
    if (m_window.recording || row <= 1)
        return;
    exchangeEntries(m_window.table(), row - 2, row - 1);
    showEdit(row - 1);
}

void ListEditing::UpDown1_DownClick()
{
    const int row = selectedRow();
    if (m_window.recording || row == 0 || row >= rows())
        return;
    exchangeEntries(m_window.table(), row - 1, row);
    showEdit(row + 1);
}

void ListEditing::ändragap_Click()
{
    const int row = selectedRow();
    if (m_window.recording || row == 0)
        return;
    PlaylistEntry& entry = m_window.table()[row - 1];
    const std::optional<QString> answer =
        m_window.dialogs().input(&m_window, QStringLiteral("Enter new gap length:"),
                                 QStringLiteral("Change gap length"),
                                 rowText(entry, row - 1, PlaylistColumn::Gap));
    if (answer && !answer->isEmpty()) {
        if (const std::optional<double> gap = gapMilliseconds(*answer)) {
            entry.gap = *gap;
            showEdit(row);
        } else {
            m_window.dialogs().message(&m_window, QStringLiteral("The gap length is out of range."),
                                       QStringLiteral("Trelvik"), QMessageBox::Warning);
        }
    }
    selectRow(row);
}

void ListEditing::clearList_Click()
{
    if (locked())
        return;
    m_window.setUpColumns();
    m_window.table().clear();
    m_window.ui.ListView1->setToolTip(QString());
    m_window.räknatid();
}

void ListEditing::shuffle_Click()
{
    if (m_window.recording || m_window.table().isEmpty())
        return;
    shuffleEntries(m_window.table(), m_window.random());
    showEdit(0);
}
