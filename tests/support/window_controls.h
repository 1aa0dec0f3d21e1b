#pragma once

#include <QComboBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QWidget>

// Picks an item of a combo box as a user does, so that whoever listens to it hears.
inline void choose(QComboBox* box, int index) { box->setCurrentIndex(index); Q_EMIT box->activated(index); }

// Chooses the recorder of that id in the Recorder window, or in a window that holds one.
inline void chooseRecorder(const QWidget& window, const QString& id)
{
    auto* box = window.findChild<QComboBox*>(QStringLiteral("RecorderChoice"));
    choose(box, box->findData(id));
}

// The push button showing that caption; buttons whose caption changes have no object name.
inline QPushButton* buttonCalled(const QWidget& window, const QString& caption)
{
    const QList<QPushButton*> buttons = window.findChildren<QPushButton*>();
    const auto found = std::find_if(buttons.begin(), buttons.end(), [&](QPushButton* button) { return button->text() == caption; });
    return found == buttons.end() ? nullptr : *found;
}

// The scan's findings as "number|track|found", a row each.
inline QStringList findingRows(const QWidget& window)
{
    const auto* tree = window.findChild<QTreeWidget*>();
    QStringList rows;
    for (int i = 0; tree && i < tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = tree->topLevelItem(i);
        rows << item->text(0) + u'|' + item->text(1) + u'|' + item->text(2);
    }
    return rows;
}
