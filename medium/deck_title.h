#pragma once

#include <QString>

// A title as a deck's keyboard and its title memory take it: printable ASCII.
// Accented letters lose their accents, letters and signs without a plain form get
// one ("ß" "ss", "Æ" "AE", "…" "..."), Cyrillic and Greek are spelt in Latin
// letters; a character with no such rule (an emoji, a Hebrew, Arabic or Chinese
// letter) is left out, as are control characters; any run of white space becomes
// one space. Cut to maxLength characters
// (0: no limit), before a letter spelt in several rather than through it, and
// trimmed.
// With half-width kana, for a Japanese deck, hiragana and katakana are spelt in
// the half-width katakana such decks take, a voiced kana as its letter and its
// mark, which a cut never parts; so are the Japanese full stop, comma, brackets,
// middle dot and long-vowel mark. Kanji still have no plain form.
enum class DeckLetters { Ascii, HalfWidthKana };
QString deckTitle(const QString& title, int maxLength, DeckLetters letters = DeckLetters::Ascii);
