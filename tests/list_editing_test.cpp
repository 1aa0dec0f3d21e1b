#include "support/main_window_fixture.h"

#include "common/flat_button.h"
#include "common/up_down_control.h"
#include "playlist/row_form.h"

#include <QAction>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <functional>

namespace {

// Names a track by its file; the length and gap say which track it is too.
PlaylistEntry track(const QString& name, int seconds = 100, double gap = 2000)
{
    return {QStringLiteral("/music/") + name, QString::number(seconds), gap};
}

class ListEditingTest : public MainWindowTest {
protected:
    QTreeView* list = nullptr;

    void SetUp() override
    {
        load();
        window->show();
        list = window->ui.ListView1;
        list->setFocus();
    }

    void fillNames(const QStringList& names)
    {
        for (const QString& name : names) {
            fill({track(name, 100 + name.at(0).unicode(), 1000 + name.at(0).unicode())});
        }
    }

    QString text(int row, PlaylistColumn column) const
    {
        return window->model().index(row - 1, int(column)).data().toString();
    }

    // The File column without its folder, row by row.
    QStringList shownNames() const
    {
        QStringList names;
        for (int row = 1; row <= window->model().rowCount(); ++row) {
            EXPECT_EQ(text(row, PlaylistColumn::Track), QString::number(row));
            names << text(row, PlaylistColumn::File).mid(7);
        }
        return names;
    }

    // Each track still has the length and gap that fillNames gave it.
    void expectFieldsTogether() const
    {
        for (int i = 0; i <= window->table().lastIndex(); ++i) {
            const PlaylistEntry& entry = window->table()[i];
            const int code = entry.path.at(7).unicode();
            EXPECT_EQ(entry.length, QString::number(100 + code)) << i;
            EXPECT_EQ(entry.gap, 1000 + code) << i;
        }
    }

    int selectedRow() const
    {
        const QModelIndexList rows = list->selectionModel()->selectedRows();
        return rows.size() == 1 ? rows.first().row() + 1 : 0;
    }

    QPoint rowCentre(int row) const
    {
        return list->visualRect(window->model().index(row - 1, 1)).center();
    }

    void clickRow(int row) { QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(row)); }

    void key(int key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(list, Qt::Key(key), modifiers);
    }

    QMenu* meny() const { return window->findChild<QMenu*>(QStringLiteral("meny")); }
    QAction* menuItem(const char* name) const { return meny()->findChild<QAction*>(QString::fromUtf8(name)); }

    // Right-clicks the row and picks the item of the popup menu.
    void chooseFromMenu(int row, const char* item)
    {
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, rowCentre(row));
        ASSERT_TRUE(meny()->isVisible());
        meny()->hide();
        menuItem(item)->trigger();
    }

    void clickArrow(bool up)
    {
        QToolButton* arrow = up ? window->ui.UpDown1->upButton() : window->ui.UpDown1->downButton();
        QTest::mouseClick(arrow, Qt::LeftButton);
    }
};

} // namespace

TEST_F(ListEditingTest, del_keepsSelectionInPlaceOrOnNewLastRow)
{
    struct Case {
        int row;
        QStringList left;
        int selected;
    };
    const Case cases[] = {
        {5, {"A", "B", "C", "D"}, 4},
        {2, {"A", "C", "D", "E"}, 2},
        {1, {"B", "C", "D", "E"}, 1},
    };
    for (const Case& c : cases) {
        window->ui.clearList->click();
        fillNames({"A", "B", "C", "D", "E"});
        clickRow(c.row);
        key(Qt::Key_Delete);
        EXPECT_EQ(shownNames(), c.left) << c.row;
        EXPECT_EQ(selectedRow(), c.selected) << c.row;
        EXPECT_EQ(list->toolTip(), window->table()[c.selected - 1].path);
        EXPECT_EQ(window->ui.Frame1->title(), QStringLiteral("Playlist - 4 files"));
        expectFieldsTogether();
        EXPECT_FALSE(window->busy);
        EXPECT_TRUE(window->ui.addFiles->isEnabled());
    }
}

TEST_F(ListEditingTest, del_onTheOnlyTrackEmptiesEverything)
{
    fill({track("only", 30)});
    key(Qt::Key_Delete, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(window->model().rowCount(), 0);
    EXPECT_TRUE(window->table().isEmpty());
    EXPECT_EQ(list->toolTip(), QString());
    EXPECT_EQ(window->ui.Label2->text(), QStringLiteral("Total time: 00:00"));
    EXPECT_EQ(window->ui.Frame1->title(), QStringLiteral("Playlist"));
}

TEST_F(ListEditingTest, menuRemoval_renumbersAndSelectsFirstRow)
{
    fillNames({"A", "B", "C", "D", "E"});
    chooseFromMenu(3, "tabort");
    EXPECT_EQ(shownNames(), QStringList({"A", "B", "D", "E"}));
    EXPECT_EQ(selectedRow(), 1);
    EXPECT_EQ(list->toolTip(), QStringLiteral("/music/A"));
    expectFieldsTogether();
}

TEST_F(ListEditingTest, popupMenu_hasItsItemsAndActsOnTheClickedRow)
{
    fillNames({"A", "B", "C"});
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, rowCentre(2));
    ASSERT_TRUE(meny()->isVisible());
    const QList<QAction*> items = meny()->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->text(), QStringLiteral("&Remove from the list"));
    EXPECT_EQ(items[1]->text(), QStringLiteral("&Change gap"));
    EXPECT_EQ(selectedRow(), 2);
    meny()->hide();

    // Only the right button opens it.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(3));
    EXPECT_FALSE(meny()->isVisible());
}

TEST_F(ListEditingTest, moves_atTheEndsDoNothing)
{
    fillNames({"A", "B", "C"});
    struct Case {
        int row;
        std::function<void()> act;
    };
    const Case cases[] = {
        {1, [this] { key(Qt::Key_Up, Qt::ShiftModifier); }},
        {3, [this] { key(Qt::Key_Down, Qt::ShiftModifier); }},
        {1, [this] { clickArrow(true); }},
        {3, [this] { clickArrow(false); }},
    };
    for (const Case& c : cases) {
        clickRow(c.row);
        c.act();
        EXPECT_EQ(shownNames(), QStringList({"A", "B", "C"})) << c.row;
        EXPECT_EQ(selectedRow(), c.row);
    }
}

TEST_F(ListEditingTest, moves_carryTheTrackAndTheSelection)
{
    struct Case {
        const char* how;
        int row;
        std::function<void()> act;
        QStringList order;
        int selected;
    };
    const Case cases[] = {
        {"Shift+Down", 2, [this] { key(Qt::Key_Down, Qt::ShiftModifier); },
         {"A", "C", "B", "D"}, 3},
        {"down arrow", 2, [this] { clickArrow(false); }, {"A", "C", "B", "D"}, 3},
        {"Shift+Up", 3, [this] { key(Qt::Key_Up, Qt::ShiftModifier); },
         {"A", "C", "B", "D"}, 2},
        {"up arrow", 3, [this] { clickArrow(true); }, {"A", "C", "B", "D"}, 2},
        {"Shift+Down on the last but one", 3, [this] { key(Qt::Key_Down, Qt::ShiftModifier); },
         {"A", "B", "D", "C"}, 4},
        {"Shift+Up on row 2", 2, [this] { key(Qt::Key_Up, Qt::ShiftModifier); },
         {"B", "A", "C", "D"}, 1},
    };
    for (const Case& c : cases) {
        window->ui.clearList->click();
        fillNames({"A", "B", "C", "D"});
        clickRow(c.row);
        const QString moved = window->table()[c.row - 1].path;
        c.act();
        EXPECT_EQ(shownNames(), c.order) << c.how;
        EXPECT_EQ(selectedRow(), c.selected) << c.how;
        EXPECT_EQ(window->table()[c.selected - 1].path, moved) << c.how;
        EXPECT_EQ(list->toolTip(), moved) << c.how;
        expectFieldsTogether();
    }
}

TEST_F(ListEditingTest, moves_needExactlyShift)
{
    fillNames({"A", "B", "C"});
    const Qt::KeyboardModifiers others[] = {
        Qt::ShiftModifier | Qt::ControlModifier,
        Qt::ShiftModifier | Qt::AltModifier,
        Qt::ControlModifier,
        Qt::NoModifier,
    };
    for (Qt::KeyboardModifiers modifiers : others) {
        clickRow(2);
        key(Qt::Key_Down, modifiers);
        key(Qt::Key_Up, modifiers);
        EXPECT_EQ(shownNames(), QStringList({"A", "B", "C"})) << modifiers.toInt();
    }
}

TEST_F(ListEditingTest, moves_changeTheTotalOnlyWhenTheLastTrackChanges)
{
    fill({track("A", 100, 2000), track("B", 100, 2000), track("C", 100, 5000)});
    EXPECT_EQ(window->playlistTotal(), 304);
    clickRow(1);
    clickArrow(false);
    EXPECT_EQ(window->playlistTotal(), 304);
    clickRow(3);
    key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(window->playlistTotal(), 307);
    EXPECT_EQ(window->ui.Label2->text(), QStringLiteral("Total time: 05:07"));
}

TEST_F(ListEditingTest, changeGap_readsTheAnswer)
{
    struct Case {
        std::optional<QString> answer;
        double gap;
        QString shown;
    };
    const Case cases[] = {
        {QString(), 1500, "1.5"},
        {std::nullopt, 1500, "1.5"},
        {QStringLiteral("1.5"), 1500, "1.5"},
        {QStringLiteral("3"), 3000, "3"},
        {QStringLiteral("abc"), 0, "0"},
        {QStringLiteral("1.5 s"), 1500, "1.5"},
        {QStringLiteral("-1"), -1000, "-1"},
    };
    for (const Case& c : cases) {
        window->ui.clearList->click();
        fill({track("A", 100, 2000), track("B", 100, 1500), track("C", 100, 2000)});
        clickRow(2);
        dialogs.inputs.clear();
        dialogs.inputAnswers = {c.answer};
        key(Qt::Key_F2);
        ASSERT_EQ(dialogs.inputs.size(), 1u);
        EXPECT_EQ(dialogs.inputs[0].prompt, QStringLiteral("Enter new gap length:"));
        EXPECT_EQ(dialogs.inputs[0].title, QStringLiteral("Change gap length"));
        EXPECT_EQ(dialogs.inputs[0].defaultText, QStringLiteral("1.5"));
        EXPECT_EQ(window->table()[1].gap, c.gap);
        EXPECT_EQ(text(2, PlaylistColumn::Gap), c.shown);
        EXPECT_EQ(window->playlistTotal(), 300 + 2 + c.gap / 1000);
        EXPECT_EQ(window->table()[0].gap, 2000);
        EXPECT_EQ(selectedRow(), 2);
    }
    EXPECT_EQ(window->ui.Text1->text(), QStringLiteral("2.0"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ListEditingTest, changeGap_fromTheMenuOnTheLastTrackKeepsTheTotal)
{
    fill({track("A", 100, 2000), track("B", 100, 2000)});
    dialogs.inputAnswers = {QStringLiteral("3")};
    chooseFromMenu(2, "ändragap");
    ASSERT_EQ(dialogs.inputs.size(), 1u);
    EXPECT_EQ(dialogs.inputs[0].defaultText, QStringLiteral("2"));
    EXPECT_EQ(text(2, PlaylistColumn::Gap), QStringLiteral("3"));
    EXPECT_EQ(window->playlistTotal(), 202);
    EXPECT_EQ(selectedRow(), 2);

    // Moving it up makes its gap count.
    clickArrow(true);
    EXPECT_EQ(window->playlistTotal(), 203);
}

TEST_F(ListEditingTest, changeGap_tooLongForATimerIsRefusedWithAMessage)
{
    fill({track("A"), track("B")});
    dialogs.inputAnswers = {QStringLiteral("1e300")};
    key(Qt::Key_F2);
    EXPECT_EQ(window->table()[0].gap, 2000);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Trelvik"));
    EXPECT_EQ(dialogs.messages[0].icon, QMessageBox::Warning);
    EXPECT_EQ(window->ui.Label2->text(), QStringLiteral("Total time: 03:22"));
}

TEST_F(ListEditingTest, rowsAreNeverEditedInPlace)
{
    fillNames({"A", "B"});
    clickRow(2);
    dialogs.inputAnswers = {std::nullopt};
    key(Qt::Key_F2);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(2));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rowCentre(2));
    EXPECT_EQ(list->findChild<QLineEdit*>(), nullptr);
    EXPECT_EQ(shownNames(), QStringList({"A", "B"}));
}

TEST_F(ListEditingTest, clickingARowShowsItsFileAsToolTip)
{
    fillNames({"A", "B", "C"});
    clickRow(3);
    EXPECT_EQ(list->toolTip(), QStringLiteral("/music/C"));
    list->setToolTip(QStringLiteral("run text"));
    clickRow(3);
    EXPECT_EQ(list->toolTip(), QStringLiteral("/music/C"));

    window->recording = true;
    list->setToolTip(QStringLiteral("run text"));
    clickRow(1);
    EXPECT_EQ(list->toolTip(), QStringLiteral("run text"));
}

TEST_F(ListEditingTest, clearList_emptiesAndKeepsTheColumns)
{
    for (int tracks : {3, 0}) {
        fillNames(QStringList({"A", "B", "C"}).mid(0, tracks));
        window->ui.clearList->click();
        EXPECT_TRUE(window->table().isEmpty());
        EXPECT_EQ(window->model().rowCount(), 0);
        EXPECT_EQ(list->toolTip(), QString());
        EXPECT_EQ(window->ui.Label2->text(), QStringLiteral("Total time: 00:00"));
        EXPECT_EQ(window->ui.Frame1->title(), QStringLiteral("Playlist"));
        ASSERT_EQ(list->header()->count(), 4);
        EXPECT_EQ(window->model().headerData(3, Qt::Horizontal, Qt::DisplayRole), QStringLiteral("Gap (sec)"));
        EXPECT_EQ(list->header()->sectionSize(1), 4850 / 15);
    }
}

TEST_F(ListEditingTest, shuffle_firstThingAfterAStartGivesTheSameOrder)
{
    // With the unseeded generator four tracks always come out C, D, B, A first,
    // then D, B, A, C on the second shuffle of the same run.
    for (int start = 0; start < 2; ++start) {
        load();
        window->show();
        list = window->ui.ListView1;
        fillNames({"A", "B", "C", "D"});
        window->ui.shuffle->click();
        EXPECT_EQ(shownNames(), QStringList({"C", "D", "B", "A"})) << start;
        EXPECT_EQ(selectedRow(), 1);
        EXPECT_EQ(list->toolTip(), QStringLiteral("/music/C"));
        expectFieldsTogether();
    }
    window->ui.shuffle->click();
    EXPECT_EQ(shownNames(), QStringList({"D", "B", "A", "C"}));
}

TEST_F(ListEditingTest, shuffle_changesTheTotalByTheGapsOfTheLastTracks)
{
    fill({track("A", 100, 2000), track("B", 100, 2000), track("C", 100, 2000), track("D", 100, 7000)});
    EXPECT_EQ(window->playlistTotal(), 406);
    window->ui.shuffle->click(); // D ends up second: its 7 s now count, A's 2 s not
    EXPECT_EQ(window->playlistTotal(), 411);

    window->ui.clearList->click();
    window->ui.shuffle->click();
    EXPECT_EQ(window->model().rowCount(), 0);
}

TEST_F(ListEditingTest, nothingChangesDuringARunOrWhileBusy)
{
    for (bool* flag : {&window->recording, &window->busy}) {
        window->ui.clearList->click();
        fillNames({"A", "B", "C"});
        clickRow(2);
        const QString total = window->ui.Label2->text();
        *flag = true;
        dialogs.inputAnswers = {QStringLiteral("9"), QStringLiteral("9")};

        key(Qt::Key_Delete);
        key(Qt::Key_F2);
        key(Qt::Key_Down, Qt::ShiftModifier);
        clickRow(2);
        key(Qt::Key_Up, Qt::ShiftModifier);
        clickRow(2);
        clickArrow(true);
        clickArrow(false);
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, rowCentre(2));
        EXPECT_FALSE(meny()->isVisible());
        menuItem("tabort")->trigger();
        menuItem("ändragap")->trigger();
        window->ui.shuffle->click();
        window->ui.clearList->click();

        EXPECT_EQ(shownNames(), QStringList({"A", "B", "C"}));
        expectFieldsTogether();
        EXPECT_TRUE(dialogs.inputs.empty());
        EXPECT_EQ(window->ui.Label2->text(), total);
        *flag = false;
    }
}
