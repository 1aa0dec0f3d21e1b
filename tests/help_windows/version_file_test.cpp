#include "help_windows/version_file.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

QStringList asList(const VersionFields& fields)
{
    return QStringList(fields.begin(), fields.end());
}

const QString kZip = QStringLiteral("http://velkor.example/trelvik/update.zip");
const QString kSetup = QStringLiteral("https://velkor.example/trelvik/setup.zip");

QString file(const QString& versions)
{
    return versions + u'*' + kZip + u'*' + kSetup + QStringLiteral("*x*y");
}

} // namespace

TEST(VersionFileTest, splitsTenFieldsEmptyValuesTakeNoField)
{
    const struct {
        const char* text;
        QStringList fields;
    } cases[] = {
        // An empty value leaves its field free: the next value lands there.
        {"1**6*0*1*7*0*a*b*x*y", {"1", "6", "0", "1", "7", "0", "a", "b", "x", "y"}},
        // Field 10 takes the rest, further "*" included; line ends stay in it.
        {"1*2*3*4*5*6*7*8*9*10*11*12\r\n", {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10*11*12\r\n"}},
        // Missing fields stay empty; the last value always lands in field 10.
        {"1*6*5", {"1", "6", "", "", "", "", "", "", "", "5"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(asList(splitVersionFile(QString::fromLatin1(c.text))), c.fields) << c.text;
}

// The plain case of each outcome, its caption and its steps are checked where the update window shows them.
TEST(VersionFileTest, decidesTheFourOutcomes)
{
    // Each part weighs as one digit, so 1.10.0 counts as 2.0.0.
    EXPECT_EQ(versionNumber(1, 10, 0), 200);
    const struct {
        const char* versions;
        UpdateDecision::Outcome outcome;
        QString command;
    } cases[] = {
        {"1*6*5*1*7*0", UpdateDecision::ZipUpdate, kZip}, // ours is the oldest the ZIP updates
        {"1*0*0*1*6*0", UpdateDecision::Nothing, {}},
        // Too old for the ZIP update wins even when the newest is ours.
        {"1*7*0*1*6*5", UpdateDecision::FullSetup, kSetup},
        // The newest is rounded to a whole number: 164.6 counts as 165.
        {"1*6*0*1*6*4.6", UpdateDecision::NoUpdate, {}},
        // A newest version beyond any 16-bit number cannot be ours: the file is ignored.
        {"1*6*0*400*0*0", UpdateDecision::Nothing, {}},
    };
    for (const auto& c : cases) {
        const UpdateDecision decision = decideUpdate(splitVersionFile(file(QString::fromLatin1(c.versions))), 165);
        EXPECT_EQ(decision.outcome, c.outcome) << c.versions;
        EXPECT_EQ(decision.linkCommand, c.command) << c.versions;
    }
}

TEST(VersionFileTest, onlyWebAddressesMayBeOpened)
{
    const struct {
        const char* field;
        const char* address;
    } cases[] = {
        {"http://velkor.example/u.zip", "http://velkor.example/u.zip"},
        {" https://velkor.example/u.zip\r\n", "https://velkor.example/u.zip"},
        {"https://velkor.example/a b.zip", "https://velkor.example/a%20b.zip"},
        {"/usr/bin/xterm", ""},
        {"//velkor.example/u.zip", ""},
        {"ftp://velkor.example/u.zip", ""},
        {"http://", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(webAddress(QString::fromLatin1(c.field)), QString::fromLatin1(c.address)) << c.field;
}
