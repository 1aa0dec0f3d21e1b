#include "common/playlist_table.h"
#include "medium/deck_title.h"
#include "medium/title_import_file.h"
#include "medium/track_list_text.h"
#include "support/generated_media.h"

#include <gtest/gtest.h>

TEST(TrackListText, titlesFromTagsNamesCdTracksAndTheLookupAndTheTitleImportHasADiscRowThenOneATrack)
{
    GeneratedMedia media;
    const auto flac = [&](const QString& name, const QStringList& metadata) {
        QStringList options;
        for (const QString& item : metadata)
            options << QStringLiteral("-metadata") << item;
        return media.makeWithFfmpeg(name, 0.2, false, options);
    };
    const QString both = flac(QStringLiteral("both.flac"), {"artist=Ana Ruiz", "title=Río Lento", "album=Mar, Tierra"});
    const QString titleOnly = flac(QStringLiteral("title only.flac"), {"title=Only Title", "album=Mar, Tierra"});
    const QString untagged = flac(QStringLiteral("my.song.flac"), {});
    const QString other = flac(QStringLiteral("other.flac"), {"album=Otro"});
    ASSERT_FALSE(both.isEmpty() || titleOnly.isEmpty() || untagged.isEmpty() || other.isEmpty()) << "ffmpeg failed";
    const QString looked = QStringLiteral("/cd/Track07.cda");

    const PlaylistTable table{{both, 225, 2000}, {titleOnly, 61, 2000}, {untagged, 3725, 2000},
                              {"/cd/Track05.cda", 3599, 2000}, {looked, 30, 2000}, {"/gone/missing.mp3", 0, 2000}};
    const TitleLookup lookup = [&](const QString& path) {
        return path == looked ? QStringLiteral("From the sheet") : QString();
    };
    EXPECT_EQ(trackListText(table, lookup),
              QStringLiteral("1. Ana Ruiz - Río Lento 3:45\n"
                             "2. Only Title 1:01\n"
                             "3. my.song 1:02:05\n"
                             "4. Track 5 59:59\n"
                             "5. From the sheet 0:30\n"
                             "6. missing 0:00"));
    // As a deck takes them: a title wholly in letters it cannot show still names its track.
    const TitleLookup cjk = [&](const QString& path) { return path == looked ? QStringLiteral("東京") : QString(); };
    TrackListOptions deck;
    deck.deckTitleLength = 10;
    EXPECT_EQ(trackListText(table, cjk, deck).split(u'\n').mid(3, 2),
              QStringList({"4. Track 5 59:59", "5. Track 5 0:30"}));
    EXPECT_EQ(entryTitle(QStringLiteral("/cd/odd.cda"), 3, {}), "Track 3"); // the name gives no number

    // The disc is named after the album only when every entry's tags name the same one.
    // A CD track names the album its disc does.
    const QString cd = QStringLiteral("/cd/Track05.cda");
    const AlbumLookup albums = [](const QString& path) { return path.startsWith("/cd/") ? "Mar, Tierra" : ""; };
    EXPECT_EQ(QStringList({sharedAlbum({{both, 1, 0}, {titleOnly, 1, 0}}, {}), sharedAlbum({{both, 1, 0}, {other, 1, 0}}, albums),
                           sharedAlbum({{both, 1, 0}, {untagged, 1, 0}}, albums), sharedAlbum({{both, 1, 0}, {cd, 1, 0}}, albums),
                           sharedAlbum({{cd, 1, 0}, {QStringLiteral("/cd2/Track01.cda"), 1, 0}}, albums)}),
              QStringList({"Mar, Tierra", "", "", "Mar, Tierra", ""}));

    const DiscTitles titles{"Mar, Tierra", {"Uno, dos, tres", "Back\\slash", "Ends in\\", "Two\nlines", "", "ｶﾞﾝﾀﾞﾑ"},
                            {183.4, 200.6, 59, 1, std::nan(""), 30}, "SPS"};
    // An importer splits the rows on commas that no backslash escapes; a backslash that ends
    // a title would escape the comma after it. A length that is no number counts as none.
    EXPECT_EQ(titleImportCsv(titles).mid(1),
              QStringList({"0,0-0,,,Mar\\, Tierra,,474,", "1,,,,Uno\\, dos\\, tres,,183,SPS", "2,,,,Back\\slash,,201,SPS",
                           "3,,,,Ends in,,59,SPS", "4,,,,Two lines,,1,SPS", "5,,,,,,0,SPS", "6,,,,ｶﾞﾝﾀﾞﾑ,,30,SPS"}));
    EXPECT_EQ(titleImportLines(titles), QStringList({"Uno, dos, tres", "Back\\slash", "Ends in\\", "Two lines", "", "ｶﾞﾝﾀﾞﾑ"}));
    EXPECT_EQ(titleImportCsv({}).size(), 2); // an empty list still names its disc row

    EXPECT_EQ(netMdEncoding("minidisc-80-lp2") + netMdEncoding("minidisc-60-lp4"), "LP2LP4"); // SPS is pinned in the Recorder window
}

// Titles spelt in plain ASCII, or for a Japanese deck with kana in half-width katakana,
// a voiced kana as its letter and its mark, never parted by a cut; kanji and what else
// a deck cannot take go, and a cut falls between spellings and trims.
TEST(DeckTitle, spellsTitlesAsADeckTakesThemAndCutsBetweenSpellings)
{
    struct Case { QString title; int maxLength; QString expected; };
    const std::pair<DeckLetters, std::vector<Case>> tables[] = {
        {DeckLetters::Ascii, {
            {"Ångström Cafe\u0301 Ta\u0308nze", 0, "Angstrom Cafe Tanze"}, // accents whole or typed apart
            {"Straße STRAẞE Æon œuf Ørsted Łódź Đorđe Þór Guðrún Kıyı", 0, "Strasse STRASSE AEon oeuf Orsted Lodz Dorde Thor Gudrun Kiyi"},
            {"“Don’t” – now — «here»… ¿Qué? × © ® € Ｆｕｌｌ ﬁne ½ ™", 0, "\"Don't\" - now - \"here\"... Que? x (C) (R) EUR Full fine 1/2 TM"},
            {"Москва Щука ЖИЗНЬ Ёлка Їжак Єва Ђорђе Αθήνα Ψυχή Θάλασσα ς", 0, "Moskva Shchuka ZhIZN Elka Yizhak Yeva Djordje Athina Psychi Thalassa s"},
            // What a deck cannot take goes, a joined emoji whole with its joiners and modifiers.
            {"東京 Tokyo שלום سلام", 0, "Tokyo"}, {"हिन्दी गाना", 0, ""}, {"Family 👨‍👩‍👧‍👦 Song 👍🏽 ❤️ 🇸🇪! 1️⃣", 0, "Family Song ! 1"},
            {"  A\u00a0\u00a0B\t\nC  ", 0, "A B C"}, {"Bad\x01\x7f\u00adTitle\u200b", 0, "BadTitle"}, {"Straße", 7, "Strasse"},
            {"Straße", 6, "Strass"}, {"Straße", 5, "Stra"}, // not through the "ss"
            {"Щука", 3, "Shc"}, // one spelling longer than the room is cut through
            {"Side A  Two", 7, "Side A"}, {"Side A  Two", 8, "Side A T"}, {"東京タワー Tower", 3, "Tow"}, {"Love ❤️‍🔥 Me", 7, "Love Me"},
        }},
        {DeckLetters::HalfWidthKana, {
            {"さくら ガンダム ぱぴぷぺぽ パピプペポ", 0, "ｻｸﾗ ｶﾞﾝﾀﾞﾑ ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ"},
            {"ヴァイオリン・コンチェルト ラーメン。「はい」、ね", 0, "ｳﾞｧｲｵﾘﾝ･ｺﾝﾁｪﾙﾄ ﾗｰﾒﾝ｡｢ﾊｲ｣､ﾈ"},
            {"ゔ ゐゑ ヰヱ ヮヵヶ を カ\u3099 か\u309a ゛゜ ｶﾞﾝﾀﾞﾑ", 0, "ｳﾞ ｲｴ ｲｴ ﾜｶｹ ｦ ｶﾞ ｶﾟ ﾞﾟ ｶﾞﾝﾀﾞﾑ"}, // marks typed apart, what is half-width already
            {"東京タワー Tokyo", 0, "ﾀﾜｰ Tokyo"}, {"Ｍｏｒｎｉｎｇ　娘。 Café", 0, "Morning ｡ Cafe"}, {"ゝゞヽヾ", 0, ""},
            {"ガンダム", 2, "ｶﾞ"}, {"ガンダム", 4, "ｶﾞﾝ"}, {"ｶﾞﾝﾀﾞﾑ", 4, "ｶﾞﾝ"}, // not between ﾀ and its mark
            {"ﾞ", 0, "ﾞ"}, // a mark with no letter before it
        }},
    };
    for (const auto& [letters, cases] : tables) {
        for (const Case& c : cases)
            EXPECT_EQ(deckTitle(c.title, c.maxLength, letters), c.expected) << c.title.toStdString() << " " << c.maxLength;
    }
    // Without the choice kana have no plain form, half-width ones neither.
    EXPECT_EQ(deckTitle("さくら ｻｸﾗ Sakura", 0), "Sakura");
}
