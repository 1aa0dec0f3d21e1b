#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

class QWidget;

// Lets files be dropped on a widget from a file manager. A drag is accepted only when
// it carries local files, and only as a copy, so the source never deletes its files.
// The paths of the dropped local files are handed over once the drop event has
// returned: the file manager is not kept waiting while they are added.
class FileDropFilter : public QObject {
    Q_OBJECT
public:
    FileDropFilter(QWidget* target, std::function<void(const QStringList&)> onDrop);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(const QStringList&)> m_onDrop;
};
