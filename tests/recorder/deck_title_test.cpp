#include "recorder/deck_title.h"

#include <gtest/gtest.h>

// Titles spelt in plain ASCII, or for a Japanese deck with kana in half-width katakana,
// a voiced kana as its letter and its mark, never parted by a cut; kanji and what else
// a deck cannot take go, and a cut falls between spellings and trims.
TEST(DeckTitle, spellsTitlesAsADeckTakesThemAndCutsBetweenSpellings)
{
    const struct {
        QString title;
        int maxLength;
        QString expected;
        DeckLetters letters = DeckLetters::Ascii;
    } cases[] = {
        {"Ångström Café", 0, "Angstrom Cafe"},
        {"Cafe\u0301 Ta\u0308nze", 0, "Cafe Tanze"}, // accents typed apart from their letters
        {"Straße STRAẞE", 0, "Strasse STRASSE"},
        {"Æon æther Œuvre œuf Ørsted ø", 0, "AEon aether OEuvre oeuf Orsted o"},
        {"Łódź Đorđe Þór þing Guðrún Kıyı", 0, "Lodz Dorde Thor thing Gudrun Kiyi"},
        {"“Don’t” ‘stop’ – now — «here»…", 0, "\"Don't\" 'stop' - now - \"here\"..."},
        {"¿Qué? ¡Olé! 5 × 2 © ® 3 €", 0, "Que? Ole! 5 x 2 (C) (R) 3 EUR"}, {"Ｆｕｌｌ ﬁne ½ ™", 0, "Full fine 1/2 TM"},
        {"Москва Щука ЖИЗНЬ Ёлка", 0, "Moskva Shchuka ZhIZN Elka"}, {"Їжак Єва Ђорђе", 0, "Yizhak Yeva Djordje"},
        {"Αθήνα Ψυχή Θάλασσα ς", 0, "Athina Psychi Thalassa s"},
        // What a deck cannot take goes, a joined emoji whole with its joiners and modifiers.
        {"東京 Tokyo", 0, "Tokyo"}, {"हिन्दी गाना", 0, ""}, {"שלום Shalom سلام", 0, "Shalom"},
        {"Family 👨‍👩‍👧‍👦 Song 👍🏽 ❤️ 🇸🇪!", 0, "Family Song !"}, {"Keycap 1️⃣", 0, "Keycap 1"},
        {"  A\u00a0\u00a0B\t\nC  ", 0, "A B C"}, {"Bad\x01\x7f\u00adTitle\u200b", 0, "BadTitle"},
        {"Straße", 7, "Strasse"}, {"Straße", 6, "Strass"},
        {"Straße", 5, "Stra"}, // not through the "ss"
        {"Щука", 3, "Shc"}, // one spelling longer than the room is cut through
        {"Side A  Two", 7, "Side A"}, {"Side A  Two", 8, "Side A T"}, {"Песня", 0, "Pesnya"}, {"Песня", 5, "Pesn"},
        {"東京タワー Tower", 3, "Tow"}, {"Love ❤️‍🔥 Me", 7, "Love Me"}, {"さくら", 0, "ｻｸﾗ", DeckLetters::HalfWidthKana},
        {"ガンダム", 0, "ｶﾞﾝﾀﾞﾑ", DeckLetters::HalfWidthKana},
        {"ぱぴぷぺぽ パピプペポ", 0, "ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ", DeckLetters::HalfWidthKana},
        {"ヴァイオリン・コンチェルト", 0, "ｳﾞｧｲｵﾘﾝ･ｺﾝﾁｪﾙﾄ", DeckLetters::HalfWidthKana},
        {"ラーメン。「はい」、ね", 0, "ﾗｰﾒﾝ｡｢ﾊｲ｣､ﾈ", DeckLetters::HalfWidthKana},
        {"ゔ ゐゑ ヰヱ ヮヵヶ を", 0, "ｳﾞ ｲｴ ｲｴ ﾜｶｹ ｦ", DeckLetters::HalfWidthKana},
        {"カ\u3099 か\u309a ゛゜", 0, "ｶﾞ ｶﾟ ﾞﾟ", DeckLetters::HalfWidthKana}, // marks typed apart from their letters
        {"ｶﾞﾝﾀﾞﾑ", 0, "ｶﾞﾝﾀﾞﾑ", DeckLetters::HalfWidthKana}, // already half-width
        {"東京タワー Tokyo", 0, "ﾀﾜｰ Tokyo", DeckLetters::HalfWidthKana},
        {"Ｍｏｒｎｉｎｇ　娘。 Café", 0, "Morning ｡ Cafe", DeckLetters::HalfWidthKana},
        {"ゝゞヽヾ", 0, "", DeckLetters::HalfWidthKana}, {"ガンダム", 2, "ｶﾞ", DeckLetters::HalfWidthKana},
        {"ガンダム", 4, "ｶﾞﾝ", DeckLetters::HalfWidthKana}, // not between ﾀ and its mark
        {"ｶﾞﾝﾀﾞﾑ", 4, "ｶﾞﾝ", DeckLetters::HalfWidthKana},
        {"ﾞ", 0, "ﾞ", DeckLetters::HalfWidthKana}, // a mark with no letter before it
    };
    for (const auto& c : cases)
        EXPECT_EQ(deckTitle(c.title, c.maxLength, c.letters), c.expected) << c.title.toStdString() << " " << c.maxLength;
    // Without the choice kana have no plain form, half-width ones neither.
    EXPECT_EQ(deckTitle("さくら ｻｸﾗ Sakura", 0), "Sakura");
}
