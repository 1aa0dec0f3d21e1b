#include "recorder/deck_title.h"

#include <gtest/gtest.h>

TEST(DeckTitle, spellsTitlesInPlainAscii)
{
    const struct {
        QString title;
        QString expected;
    } cases[] = {
        {"Ångström Café", "Angstrom Cafe"},
        {"Cafe\u0301 Ta\u0308nze", "Cafe Tanze"}, // accents typed apart from their letters
        {"Straße STRAẞE", "Strasse STRASSE"},
        {"Æon æther Œuvre œuf Ørsted ø", "AEon aether OEuvre oeuf Orsted o"},
        {"Łódź Đorđe Þór þing Guðrún Kıyı", "Lodz Dorde Thor thing Gudrun Kiyi"},
        {"“Don’t” ‘stop’ – now — «here»…", "\"Don't\" 'stop' - now - \"here\"..."},
        {"¿Qué? ¡Olé! 5 × 2 © ® 3 €", "Que? Ole! 5 x 2 (C) (R) 3 EUR"},
        {"Ｆｕｌｌ ﬁne ½ ™", "Full fine 1/2 TM"},
        {"Москва Щука ЖИЗНЬ Ёлка", "Moskva Shchuka ZhIZN Elka"},
        {"Їжак Єва Ђорђе", "Yizhak Yeva Djordje"},
        {"Αθήνα Ψυχή Θάλασσα ς", "Athina Psychi Thalassa s"},
        // What a deck cannot take goes, a joined emoji whole with its joiners and modifiers.
        {"東京 Tokyo", "Tokyo"},
        {"हिन्दी गाना", ""},
        {"שלום Shalom سلام", "Shalom"},
        {"Family 👨‍👩‍👧‍👦 Song 👍🏽 ❤️ 🇸🇪!", "Family Song !"},
        {"Keycap 1️⃣", "Keycap 1"},
        {"  A\u00a0\u00a0B\t\nC  ", "A B C"},
        {"Bad\x01\x7f\u00adTitle\u200b", "BadTitle"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(deckTitle(c.title, 0), c.expected) << c.title.toStdString();
}

TEST(DeckTitle, cutsBetweenSpellingsAndTrims)
{
    const struct {
        QString title;
        int maxLength;
        QString expected;
    } cases[] = {
        {"Straße", 7, "Strasse"},
        {"Straße", 6, "Strass"},
        {"Straße", 5, "Stra"}, // not through the "ss"
        {"Щука", 3, "Shc"}, // one spelling longer than the room is cut through
        {"Side A  Two", 7, "Side A"},
        {"Side A  Two", 8, "Side A T"},
        {"Песня", 0, "Pesnya"},
        {"Песня", 5, "Pesn"},
        {"東京タワー Tower", 3, "Tow"},
        {"Love ❤️‍🔥 Me", 7, "Love Me"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(deckTitle(c.title, c.maxLength), c.expected) << c.title.toStdString() << " " << c.maxLength;
}

// For a Japanese deck: kana in half-width katakana, a voiced kana as its letter and
// its mark, never parted by a cut; kanji still go, and the rest is spelt as before.
TEST(DeckTitle, spellsKanaInHalfWidthKatakanaForAJapaneseDeck)
{
    const struct {
        QString title;
        int maxLength;
        QString expected;
    } cases[] = {
        {"さくら", 0, "ｻｸﾗ"},
        {"ガンダム", 0, "ｶﾞﾝﾀﾞﾑ"},
        {"ぱぴぷぺぽ パピプペポ", 0, "ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ"},
        {"ヴァイオリン・コンチェルト", 0, "ｳﾞｧｲｵﾘﾝ･ｺﾝﾁｪﾙﾄ"},
        {"ラーメン。「はい」、ね", 0, "ﾗｰﾒﾝ｡｢ﾊｲ｣､ﾈ"},
        {"ゔ ゐゑ ヰヱ ヮヵヶ を", 0, "ｳﾞ ｲｴ ｲｴ ﾜｶｹ ｦ"},
        {"カ\u3099 か\u309a ゛゜", 0, "ｶﾞ ｶﾟ ﾞﾟ"}, // marks typed apart from their letters
        {"ｶﾞﾝﾀﾞﾑ", 0, "ｶﾞﾝﾀﾞﾑ"}, // already half-width
        {"東京タワー Tokyo", 0, "ﾀﾜｰ Tokyo"},
        {"Ｍｏｒｎｉｎｇ　娘。 Café", 0, "Morning ｡ Cafe"},
        {"ゝゞヽヾ", 0, ""},
        {"ガンダム", 2, "ｶﾞ"},
        {"ガンダム", 4, "ｶﾞﾝ"}, // not between ﾀ and its mark
        {"ｶﾞﾝﾀﾞﾑ", 4, "ｶﾞﾝ"},
        {"ﾞ", 0, "ﾞ"}, // a mark with no letter before it
    };
    for (const auto& c : cases)
        EXPECT_EQ(deckTitle(c.title, c.maxLength, DeckLetters::HalfWidthKana), c.expected)
            << c.title.toStdString() << " " << c.maxLength;
    // Without the choice kana have no plain form, half-width ones neither.
    EXPECT_EQ(deckTitle("さくら ｻｸﾗ Sakura", 0), "Sakura");
}
