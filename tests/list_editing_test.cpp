#include "support/main_window_fixture.h"

#include "common/flat_button.h"
#include "common/number_text.h"
#include "common/up_down_control.h"
#include "playlist/row_form.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <functional>

namespace {

// Tracks named by one letter; the letter also makes each track's length and gap,
// so a track that lost or swapped a field shows up.
PlaylistEntry track(QChar name)
{
    return {QStringLiteral("/music/") + name, QString::number(100 + name.unicode()), 1000.0 + name.unicode()};
}

class ListEditingTest : public MainWindowTest {
protected:
    QTreeView* list = nullptr;

    void SetUp() override { start(); }

    void start()
    {
        load();
        window->show();
        list = window->ui.ListView1;
        list->setFocus();
    }

    void refill(const QString& names)
    {
        window->ui.clearList->click();
        for (QChar name : names)
            fill({track(name)});
    }

    QString text(int row, PlaylistColumn column) const
    {
        return window->model().index(row - 1, int(column)).data().toString();
    }

    // The letters as the rows show them; checks the numbering and every track's fields.
    QString shown() const
    {
        QString names;
        for (int row = 1; row <= window->model().rowCount(); ++row) {
            EXPECT_EQ(text(row, PlaylistColumn::Track), QString::number(row));
            const PlaylistEntry& entry = window->table()[row - 1];
            const PlaylistEntry expected = track(entry.path.back());
            EXPECT_EQ(entry.length, expected.length);
            EXPECT_EQ(entry.gap, expected.gap);
            names += entry.path.back();
        }
        return names;
    }

    int selectedRow() const
    {
        const QModelIndexList rows = list->selectionModel()->selectedRows();
        return rows.size() == 1 ? rows.first().row() + 1 : 0;
    }

    QPoint rowCentre(int row) const { return list->visualRect(window->model().index(row - 1, 1)).center(); }
    void clickRow(int row, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(list->viewport(), button, {}, rowCentre(row));
    }
    void key(int key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(list, Qt::Key(key), modifiers); }
    void clickArrow(bool up)
    {
        QTest::mouseClick(up ? window->ui.UpDown1->upButton() : window->ui.UpDown1->downButton(), Qt::LeftButton);
    }

    QMenu* meny() const { return window->findChild<QMenu*>(QStringLiteral("meny")); }
    QAction* menuItem(const char* name) const { return meny()->findChild<QAction*>(QString::fromUtf8(name)); }

    // Right-clicks the row and picks the item of the popup menu.
    void chooseFromMenu(int row, const char* item)
    {
        clickRow(row, Qt::RightButton);
        ASSERT_TRUE(meny()->isVisible());
        meny()->hide();
        menuItem(item)->trigger();
    }
};

using Action = std::function<void()>;

} // namespace

TEST_F(ListEditingTest, del_keepsTheSelectionInPlaceOrOnTheNewLastRow)
{
    const struct {
        int row;
        const char* left;
        int selected;
    } cases[] = {{5, "ABCD", 4}, {2, "ACDE", 2}, {1, "BCDE", 1}};
    for (const auto& c : cases) {
        refill("ABCDE");
        clickRow(c.row);
        key(Qt::Key_Delete, Qt::ShiftModifier); // any Shift state
        EXPECT_EQ(shown(), c.left) << c.row;
        EXPECT_EQ(selectedRow(), c.selected) << c.row;
        EXPECT_EQ(list->toolTip(), window->table()[c.selected - 1].path);
        EXPECT_EQ(window->ui.Frame1->title(), QStringLiteral("Playlist - 4 files"));
        EXPECT_FALSE(window->busy);
        EXPECT_TRUE(window->ui.addFiles->isEnabled());
    }

    refill("A");
    key(Qt::Key_Delete);
    EXPECT_EQ(window->model().rowCount(), 0);
    EXPECT_EQ(list->toolTip(), QString());
    EXPECT_EQ(window->ui.Label2->text(), QStringLiteral("Total time: 00:00"));
}

TEST_F(ListEditingTest, menuRemoval_renumbersAndLeavesTheFirstRowSelected)
{
    refill("ABCDE");
    clickRow(3, Qt::LeftButton);
    EXPECT_FALSE(meny()->isVisible()); // only the right button opens it
    chooseFromMenu(4, "tabort"); // the right press selects the row under the pointer
    EXPECT_EQ(shown(), QStringLiteral("ABCE"));
    EXPECT_EQ(selectedRow(), 1);
    EXPECT_EQ(list->toolTip(), QStringLiteral("/music/A"));
}

TEST_F(ListEditingTest, moves_carryTheTrackAndTheSelection)
{
    const struct {
        const char* how;
        int row;
        Action act;
        const char* order;
        int selected;
    } cases[] = {
        {"Shift+Down", 2, [this] { key(Qt::Key_Down, Qt::ShiftModifier); }, "ACBD", 3},
        {"down arrow", 2, [this] { clickArrow(false); }, "ACBD", 3},
        {"Shift+Up", 3, [this] { key(Qt::Key_Up, Qt::ShiftModifier); }, "ACBD", 2},
        {"up arrow", 3, [this] { clickArrow(true); }, "ACBD", 2},
        {"Shift+Down onto the last row", 3, [this] { key(Qt::Key_Down, Qt::ShiftModifier); }, "ABDC", 4},
        {"Shift+Up onto the first row", 2, [this] { key(Qt::Key_Up, Qt::ShiftModifier); }, "BACD", 1},
    };
    for (const auto& c : cases) {
        refill("ABCD");
        clickRow(c.row);
        const QString moved = window->table()[c.row - 1].path;
        c.act();
        EXPECT_EQ(shown(), c.order) << c.how;
        EXPECT_EQ(selectedRow(), c.selected) << c.how;
        EXPECT_EQ(window->table()[c.selected - 1].path, moved) << c.how;
        EXPECT_EQ(list->toolTip(), moved) << c.how;
    }
}

TEST_F(ListEditingTest, moves_beyondTheEndsOrWithOtherModifiersDoNothing)
{
    const struct {
        int row;
        Action act;
    } cases[] = {
        {1, [this] { key(Qt::Key_Up, Qt::ShiftModifier); }},
        {3, [this] { key(Qt::Key_Down, Qt::ShiftModifier); }},
        {1, [this] { clickArrow(true); }},
        {3, [this] { clickArrow(false); }},
        {2, [this] { key(Qt::Key_Down, Qt::ShiftModifier | Qt::ControlModifier); }},
        {2, [this] { key(Qt::Key_Up, Qt::ShiftModifier | Qt::AltModifier); }},
        {2, [this] { key(Qt::Key_Down, Qt::ControlModifier); }},
    };
    refill("ABC");
    for (const auto& c : cases) {
        clickRow(c.row);
        c.act();
        EXPECT_EQ(shown(), QStringLiteral("ABC")) << c.row;
    }
}

TEST_F(ListEditingTest, total_changesOnlyWithTheLastTracksGap)
{
    fill({{"a", "100", 2000}, {"b", "100", 2000}, {"c", "100", 5000}});
    clickRow(1);
    clickArrow(false);
    EXPECT_EQ(window->playlistTotal(), 304);
    clickRow(3);
    key(Qt::Key_Up, Qt::ShiftModifier); // c is no longer last: its 5 s count
    EXPECT_EQ(window->ui.Label2->text(), QStringLiteral("Total time: 05:07"));

    dialogs.inputAnswers = {QStringLiteral("9")};
    chooseFromMenu(3, "ändragap"); // the last track's gap never counts
    EXPECT_EQ(text(3, PlaylistColumn::Gap), QStringLiteral("9"));
    EXPECT_EQ(window->playlistTotal(), 307);
    EXPECT_EQ(selectedRow(), 3);
}

TEST_F(ListEditingTest, changeGap_readsTheAnswerAsSeconds)
{
    const struct {
        std::optional<QString> answer;
        double gap;
    } cases[] = {
        {QString(), 1500}, {std::nullopt, 1500}, {QStringLiteral("1.5"), 1500}, {QStringLiteral("3"), 3000},
        {QStringLiteral("abc"), 0}, {QStringLiteral("1.5 s"), 1500}, {QStringLiteral("-1"), -1000},
    };
    for (const auto& c : cases) {
        window->ui.clearList->click();
        fill({{"a", "100", 2000}, {"b", "100", 1500}, {"c", "100", 2000}});
        clickRow(2);
        dialogs.inputs.clear();
        dialogs.inputAnswers = {c.answer};
        key(Qt::Key_F2);
        ASSERT_EQ(dialogs.inputs.size(), 1u);
        EXPECT_EQ(dialogs.inputs[0].prompt, QStringLiteral("Enter new gap length:"));
        EXPECT_EQ(dialogs.inputs[0].title, QStringLiteral("Change gap length"));
        EXPECT_EQ(dialogs.inputs[0].defaultText, QStringLiteral("1.5"));
        EXPECT_EQ(window->table()[1].gap, c.gap);
        EXPECT_EQ(text(2, PlaylistColumn::Gap), plainNumber(c.gap / 1000));
        EXPECT_EQ(window->playlistTotal(), 302 + c.gap / 1000);
        EXPECT_EQ(selectedRow(), 2);
    }
    EXPECT_EQ(window->ui.Text1->text(), QStringLiteral("2.0"));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(list->findChild<QLineEdit*>(), nullptr); // never an in-place editor

    // A gap no timer can wait is refused with a message.
    dialogs.inputAnswers = {QStringLiteral("1e300")};
    key(Qt::Key_F2);
    EXPECT_EQ(window->table()[1].gap, -1000);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].icon, QMessageBox::Warning);
}

TEST_F(ListEditingTest, rowsAreNeverEditedInPlace)
{
    refill("AB");
    clickRow(2);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(2));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rowCentre(2));
    EXPECT_EQ(list->findChild<QLineEdit*>(), nullptr);
}

TEST_F(ListEditingTest, toolTip_followsTheClickedRowExceptDuringARun)
{
    refill("ABC");
    list->setToolTip(QStringLiteral("left by a run"));
    clickRow(3);
    EXPECT_EQ(list->toolTip(), QStringLiteral("/music/C"));

    window->recording = true;
    list->setToolTip(QStringLiteral("the run's"));
    clickRow(1);
    EXPECT_EQ(list->toolTip(), QStringLiteral("the run's"));
}

TEST_F(ListEditingTest, clearList_emptiesTheListAndKeepsItsColumns)
{
    for (const char* names : {"ABC", ""}) {
        refill(QString::fromLatin1(names));
        window->ui.clearList->click();
        EXPECT_TRUE(window->table().isEmpty());
        EXPECT_EQ(window->model().rowCount(), 0);
        EXPECT_EQ(window->model().columnCount(), 4);
        EXPECT_EQ(list->toolTip(), QString());
        EXPECT_EQ(window->ui.Label2->text(), QStringLiteral("Total time: 00:00"));
        EXPECT_EQ(window->ui.Frame1->title(), QStringLiteral("Playlist"));
    }
}

TEST_F(ListEditingTest, shuffle_firstThingAfterEachStartGivesTheSameOrder)
{
    // The unseeded generator's first draws exchange slots (2,2) (2,1) (1,3) (0,3),
    // then (3,2) (0,1) (3,3) (1,3).
    for (int run = 0; run < 2; ++run) {
        start();
        refill("ABCD");
        window->ui.shuffle->click();
        EXPECT_EQ(shown(), QStringLiteral("CDBA")) << run;
        EXPECT_EQ(selectedRow(), 1);
        EXPECT_EQ(list->toolTip(), QStringLiteral("/music/C"));
        // D's gap now counts and A's, last, does not.
        EXPECT_DOUBLE_EQ(window->playlistTotal(), 4 * 100 + 65 + 66 + 67 + 68 + 1.067 + 1.068 + 1.066);
    }
    window->ui.shuffle->click();
    EXPECT_EQ(shown(), QStringLiteral("DBAC"));

    window->ui.clearList->click();
    window->ui.shuffle->click();
    EXPECT_EQ(window->model().rowCount(), 0);
}

TEST_F(ListEditingTest, nothingChangesDuringARunOrWhileBusy)
{
    for (bool* flag : {&window->recording, &window->busy}) {
        refill("ABC");
        clickRow(2);
        const QString total = window->ui.Label2->text();
        *flag = true;
        const Action attempts[] = {
            [this] { key(Qt::Key_Delete); },
            [this] { key(Qt::Key_F2); },
            [this] { key(Qt::Key_Down, Qt::ShiftModifier); },
            [this] { key(Qt::Key_Up, Qt::ShiftModifier); },
            [this] { clickArrow(true); },
            [this] { clickArrow(false); },
            [this] { menuItem("tabort")->trigger(); },
            [this] { menuItem("ändragap")->trigger(); },
            [this] { window->ui.shuffle->click(); },
            [this] { window->ui.clearList->click(); },
        };
        for (const Action& attempt : attempts) {
            clickRow(2);
            attempt();
        }
        clickRow(2, Qt::RightButton);
        EXPECT_FALSE(meny()->isVisible());
        EXPECT_EQ(shown(), QStringLiteral("ABC"));
        EXPECT_TRUE(dialogs.inputs.empty());
        EXPECT_EQ(window->ui.Label2->text(), total);
        *flag = false;
    }
}
