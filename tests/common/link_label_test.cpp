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

TEST(LinkLabelTest, isDarkRedInAFocusedWindowOrNotBrightRedWhileClickedAndOpensItsAddressWhileEnabled)
{
    LinkOpener desktop;
    LinkLabel link(QStringLiteral("Velkor Software's homepage"));
    link.command = QStringLiteral("https://velkor.example/trelvik/");
    link.show();
    const auto shown = [&link](QPalette::ColorGroup group) { return link.palette().color(group, QPalette::WindowText).name(); };
    EXPECT_EQ(shown(QPalette::Active) + shown(QPalette::Inactive), "#800000#800000");
    QTest::mousePress(&link, Qt::LeftButton);
    EXPECT_EQ(shown(QPalette::Active), "#ff0000");
    QTest::mouseRelease(&link, Qt::LeftButton);
    EXPECT_EQ(shown(QPalette::Active), "#800000");
    link.setEnabled(false);
    QTest::mouseClick(&link, Qt::LeftButton);
    EXPECT_EQ(desktop.opened, QList<QUrl>({QUrl(link.command)}));
}

#include "link_label_test.moc"
