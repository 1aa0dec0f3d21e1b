#include "common/link_label.h"

#include <QDesktopServices>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

// Takes the addresses the desktop would be asked to open.
class LinkOpener : public QObject {
    Q_OBJECT
public:
    LinkOpener() { QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "open"); }
    ~LinkOpener() override { QDesktopServices::unsetUrlHandler(QStringLiteral("https")); }
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl& url) { opened << url; }
};

TEST(LinkLabelTest, isDarkRedInAFocusedWindowAndBrightRedWhileClicked)
{
    LinkOpener desktop;
    LinkLabel link(QStringLiteral("Velkor Software's homepage"));
    link.command = QStringLiteral("https://velkor.example/trelvik/");
    link.show();
    const auto shown = [&link](QPalette::ColorGroup group) { return link.palette().color(group, QPalette::WindowText); };
    for (auto group : {QPalette::Active, QPalette::Inactive})
        EXPECT_EQ(shown(group), QColor(128, 0, 0));

    QTest::mousePress(&link, Qt::LeftButton);
    EXPECT_EQ(shown(QPalette::Active), QColor(255, 0, 0));
    QTest::mouseRelease(&link, Qt::LeftButton);
    EXPECT_EQ(shown(QPalette::Active), QColor(128, 0, 0));
    ASSERT_EQ(desktop.opened.size(), 1);
    EXPECT_EQ(desktop.opened[0], QUrl(link.command));

    link.setEnabled(false);
    QTest::mouseClick(&link, Qt::LeftButton);
    EXPECT_EQ(desktop.opened.size(), 1);
}

#include "link_label_test.moc"
