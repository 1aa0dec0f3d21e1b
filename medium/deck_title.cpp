#include "medium/deck_title.h"

#include <QHash>
#include <algorithm>
#include <optional>
#include <vector>

namespace {

// Letters and signs with no decomposition to plain letters, in both cases where
// the case matters.
const QHash<char32_t, QString>& plainForms()
{
    static const QHash<char32_t, QString> forms{
        {U'ß', "ss"}, {U'ẞ', "SS"}, {U'Æ', "AE"}, {U'æ', "ae"}, {U'Ø', "O"}, {U'ø', "o"}, {U'Œ', "OE"},
        {U'œ', "oe"}, {U'Ł', "L"}, {U'ł', "l"}, {U'Đ', "D"}, {U'đ', "d"}, {U'Ð', "D"}, {U'ð', "d"},
        {U'Þ', "Th"}, {U'þ', "th"}, {U'ı', "i"}, {U'ȷ', "j"}, {U'Ħ', "H"}, {U'ħ', "h"}, {U'Ŋ', "Ng"},
        {U'ŋ', "ng"}, {U'ƒ', "f"}, {U'µ', "u"},
        {U'‘', "'"}, {U'’', "'"}, {U'‚', "'"}, {U'‛', "'"}, {U'′', "'"}, {U'´', "'"}, {U'ʼ', "'"},
        {U'‹', "'"}, {U'›', "'"}, {U'“', "\""}, {U'”', "\""}, {U'„', "\""}, {U'‟', "\""}, {U'«', "\""},
        {U'»', "\""}, {U'‐', "-"}, {U'‒', "-"}, {U'–', "-"}, {U'—', "-"}, {U'―', "-"}, {U'−', "-"},
        {U'…', "..."}, {U'×', "x"}, {U'÷', "/"}, {U'⁄', "/"}, {U'©', "(C)"}, {U'®', "(R)"}, {U'€', "EUR"},
        {U'¿', ""}, {U'¡', ""},
    };
    return forms;
}

// Cyrillic and Greek small letters in Latin ones; a capital takes its small
// letter's spelling with the first letter raised. Accents come off beforehand.
const QHash<char32_t, QString>& latinSpellings()
{
    static const QHash<char32_t, QString> spellings{
        {U'а', "a"}, {U'б', "b"}, {U'в', "v"}, {U'г', "g"}, {U'д', "d"}, {U'е', "e"}, {U'ж', "zh"},
        {U'з', "z"}, {U'и', "i"}, {U'й', "y"}, {U'к', "k"}, {U'л', "l"}, {U'м', "m"}, {U'н', "n"},
        {U'о', "o"}, {U'п', "p"}, {U'р', "r"}, {U'с', "s"}, {U'т', "t"}, {U'у', "u"}, {U'ф', "f"},
        {U'х', "kh"}, {U'ц', "ts"}, {U'ч', "ch"}, {U'ш', "sh"}, {U'щ', "shch"}, {U'ъ', ""}, {U'ы', "y"},
        {U'ь', ""}, {U'э', "e"}, {U'ю', "yu"}, {U'я', "ya"}, {U'і', "i"}, {U'ї', "yi"}, {U'є', "ye"},
        {U'ґ', "g"}, {U'ђ', "dj"}, {U'ј', "j"}, {U'љ', "lj"}, {U'њ', "nj"}, {U'ћ', "c"}, {U'џ', "dz"},
        {U'\u0455', "dz"}, // Macedonian dze, written as a code: it looks like a Latin s
        {U'α', "a"}, {U'β', "v"}, {U'γ', "g"}, {U'δ', "d"}, {U'ε', "e"}, {U'ζ', "z"}, {U'η', "i"},
        {U'θ', "th"}, {U'ι', "i"}, {U'κ', "k"}, {U'λ', "l"}, {U'μ', "m"}, {U'ν', "n"}, {U'ξ', "x"},
        {U'ο', "o"}, {U'π', "p"}, {U'ρ', "r"}, {U'σ', "s"}, {U'ς', "s"}, {U'τ', "t"}, {U'υ', "y"},
        {U'φ', "f"}, {U'χ', "ch"}, {U'ψ', "ps"}, {U'ω', "o"},
    };
    return spellings;
}

bool isPlainAscii(char32_t c)
{
    return c >= 0x20 && c < 0x7f;
}

// The plain form of one character without decomposing it; none if it has no rule.
std::optional<QString> plainFormOf(char32_t c)
{
    if (isPlainAscii(c))
        return QString(QChar(c));
    if (const auto form = plainForms().constFind(c); form != plainForms().cend())
        return *form;
    const char32_t small = QChar::toLower(c);
    const auto spelling = latinSpellings().constFind(small);
    if (spelling == latinSpellings().cend())
        return std::nullopt;
    QString text = *spelling;
    if (small != c && !text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

// A character through its compatibility decomposition ("é" is "e" and an accent,
// "ﬁ" is "fi", "½" is "1⁄2"), the accents dropped; none if a part has no rule.
std::optional<QString> decomposedFormOf(char32_t c)
{
    const QString parts = QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_KD);
    QString text;
    for (const char32_t part : parts.toUcs4()) {
        if (QChar::isMark(part))
            continue;
        const std::optional<QString> form = plainFormOf(part);
        if (!form)
            return std::nullopt;
        text += *form;
    }
    return text;
}

constexpr char32_t kHalfWidthFirst = 0xff61; // the half-width full stop
constexpr char32_t kHalfWidthLast = 0xff9f;  // the half-width semi-voiced mark
constexpr char32_t kHalfWidthVoiced = 0xff9e;

bool isHalfWidthKana(char32_t c)
{
    return c >= kHalfWidthFirst && c <= kHalfWidthLast;
}

// Each full-width katakana or sign that has a half-width form, and that form. The
// half-width forms' compatibility decompositions name them; the voiced marks
// decompose to the combining ones.
const QHash<char32_t, char32_t>& halfWidthForms()
{
    static const QHash<char32_t, char32_t> forms = [] {
        QHash<char32_t, char32_t> made;
        for (char32_t half = kHalfWidthFirst; half <= kHalfWidthLast; ++half) {
            const QList<uint> full = QString::fromUcs4(&half, 1).normalized(QString::NormalizationForm_KC).toUcs4();
            if (full.size() == 1)
                made.insert(full.front(), half);
        }
        // The spacing voiced marks (U+309B, U+309C), and the old and small kana that have
        // no half-width form of their own (wi, we, small wa, ka, ke) as the nearest letter.
        made.insert(U'\u309B', kHalfWidthVoiced);
        made.insert(U'\u309C', kHalfWidthLast);
        made.insert(U'\u30F0', made.value(U'\u30A4'));
        made.insert(U'\u30F1', made.value(U'\u30A8'));
        made.insert(U'\u30EE', made.value(U'\u30EF'));
        made.insert(U'\u30F5', made.value(U'\u30AB'));
        made.insert(U'\u30F6', made.value(U'\u30B1'));
        return made;
    }();
    return forms;
}

// A kana or Japanese sign in half-width katakana; none for any other character.
std::optional<QString> halfWidthKanaOf(char32_t c)
{
    if (isHalfWidthKana(c))
        return QString::fromUcs4(&c, 1);
    if (c >= U'\u3041' && c <= U'\u3096')
        c += U'\u30A1' - U'\u3041'; // hiragana and katakana lie in the same order
    QString text;
    // A voiced kana is its letter and its mark.
    for (char32_t part : QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_D).toUcs4()) {
        const auto form = halfWidthForms().constFind(part);
        if (form == halfWidthForms().cend())
            return std::nullopt;
        text += QString::fromUcs4(&*form, 1);
    }
    return text;
}

// What each character of the title became; a cut falls between pieces. A character
// with no plain form is left out: a deck shows it as garbage or refuses the title,
// and a joined emoji goes whole, its joiners and modifiers with it.
std::vector<QString> piecesOf(const QString& title, DeckLetters letters)
{
    std::vector<QString> pieces;
    // Composed first, so that a letter typed with a separate accent meets the same rules.
    for (const char32_t c : title.normalized(QString::NormalizationForm_C).toUcs4()) {
        if (QChar::isSpace(c)) {
            pieces.push_back(QStringLiteral(" "));
            continue;
        }
        if (letters == DeckLetters::HalfWidthKana) {
            if (const std::optional<QString> kana = halfWidthKanaOf(c)) {
                // A half-width voiced mark typed as such stays with its letter.
                const bool mark = kana->size() == 1 && kana->front().unicode() >= kHalfWidthVoiced;
                if (mark && !pieces.empty() && pieces.back() != u' ')
                    pieces.back() += *kana;
                else
                    pieces.push_back(*kana);
                continue;
            }
        }
        std::optional<QString> form = plainFormOf(c);
        if (!form && !QChar::isMark(c))
            form = decomposedFormOf(c);
        if (form)
            pieces.push_back(*form);
    }
    return pieces;
}

qsizetype characterCount(const QString& text)
{
    return text.toUcs4().size();
}

QString firstCharacters(const QString& text, qsizetype count)
{
    const QList<uint> characters = text.toUcs4();
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(characters.constData()),
                             std::min(count, characters.size()));
}

} // namespace

QString deckTitle(const QString& title, int maxLength, DeckLetters letters)
{
    QString text;
    qsizetype length = 0;
    for (const QString& piece : piecesOf(title, letters)) {
        if (piece.isEmpty())
            continue;
        const bool space = piece == u' ';
        if (space && (text.isEmpty() || text.endsWith(u' ')))
            continue;
        const qsizetype pieceLength = characterCount(piece);
        if (maxLength > 0 && length + pieceLength > maxLength) {
            // A title of one long spelling is cut through it rather than left empty.
            if (text.isEmpty())
                text = firstCharacters(piece, maxLength);
            break;
        }
        text += piece;
        length += pieceLength;
    }
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}
