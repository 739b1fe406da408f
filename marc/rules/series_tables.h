#pragma once
// The constant tables of series numbering: caption words, series and
// new-series words, abbreviations, ordinal endings, heading stop words and the
// written forms of Roman digits. Word lists hold their words between single
// blanks, so a word w belongs to a list exactly when " w " occurs in it.
// Everything here is data; marc/rules/series_*.cpp hold the code.

#include <array>
#include <string_view>

namespace series_tables {

// ---- the tables built into the record object ----

// Brackets, the ASCII punctuation, and the MARC-8 octets counted as punctuation
// of an 8-bit numbering.
extern const std::string_view Brackets;
extern const std::string_view AsciiPunctuation;
extern const std::string_view Marc8Punctuation;
// The caption words: a lead, five lists joined as they stand, and a tail of
// single letters.
extern const std::string_view CaptionsLead;
extern const std::array<std::string_view, 5> CaptionLists;
extern const std::string_view CaptionsTail;

// ---- sort key construction ----

extern const std::string_view SeriesWordList;
extern const std::string_view NewWordList;
extern const std::string_view HorsWordList;
extern const std::string_view NewSeriesAbbreviationList;
extern const std::string_view EastAsianOrdinalPrefixes;
extern const std::string_view EastAsianCounterWords;
// Groups of variant words, each followed by its abbreviation marked with "*".
extern const std::string_view WordAbbreviationTable;
// Codes written into a key.
extern const std::string_view SeriesCode;       // "SER"
extern const std::string_view NewSeriesCode;    // "NEW SER"
extern const std::string_view HorsSeriesCode;   // "HORS SER"
// Ordinal letters dropped between a number and a moved series word.
extern const std::string_view OrdinalLetters;
// Words before which a series word stays as it is ("GANZ", "WHOL": 4 characters).
extern const std::array<std::string_view, 2> WholeWordPrefixes;

// ---- ordinal endings ----

// One list of endings of a row, and whether the last-piece rule keeps them.
struct OrdinalSuffixList {
    std::string_view Suffixes;
    bool LastPieceRule;
};
// One row of the ordinal table: the digits before the ending, the endings
// always removed, and the endings removed beside a series word, in order.
struct OrdinalSuffixRow {
    std::string_view Digits;
    std::string_view Always;
    std::array<OrdinalSuffixList, 3> BesideSeriesWord;
    int ListCount;
};
extern const std::array<OrdinalSuffixRow, 4> OrdinalSuffixRows;
// Words that count as series words beside an ordinal besides SeriesWordList.
extern const std::string_view OrdinalTestWords;

// ---- captions, chapters and numero signs ----

// The ten pieces of the caption abbreviation table, joined in order.
extern const std::array<std::string_view, 10> CaptionAbbreviationPieces;
extern const std::string_view ChapterWordList;
extern const std::string_view SingleLetterCaptions;
// The caption letters of the single-letter pass (small letters).
extern const std::string_view SingleCaptionLetters;
// A chapter caption at the start of a text without digits.
struct ChapterCaption {
    std::string_view Prefix;
    bool RestInCapitals;
};
extern const std::array<ChapterCaption, 6> ChapterCaptions;
// Numero signs spelled with a full stop, colon or semicolon ("N.O" ...).
extern const std::array<std::string_view, 4> SpelledNumeroSigns;

// ---- heading-derived words ----

extern const std::string_view HeadingStopWords;
extern const std::string_view HeadingArticles;
extern const std::string_view RomanLetters;
// The key prefixes that keep a key as it is: 4-character ones between "*".
extern const std::string_view KeptKeyPrefixes;
extern const std::string_view KeptHorsPrefix;
// Lead words that stop the removal of heading words.
extern const std::string_view LeadStopWords;

// ---- Roman numerals ----

struct RomanPlace {
    char One;
    std::string_view SubtractiveFour;  // "CD", "XL", "IV"
    std::string_view SubtractiveNine;  // "CM", "XC", "IX"
    std::string_view FiveToEight;      // "DCCC", "LXXX", "VIII"
    std::string_view AdditiveLow;      // "CCCC", "XXXX", "IIII"
    std::string_view AdditiveHigh;     // "DCCCC", "LXXXX", "VIIII"
};
extern const RomanPlace RomanHundredsPlace;
extern const RomanPlace RomanTensPlace;
extern const RomanPlace RomanUnitsPlace;
extern const char RomanThousandLetter;
// The seven digits and their values.
extern const std::string_view RomanDigits;
extern const std::array<int, 7> RomanDigitValues;

// ---- patterns ----

// Captions of a new series at the start of a numbering and what they cover.
struct PatternCaption {
    std::string_view Caption;
    int Length;
};
extern const std::array<PatternCaption, 3> Pattern1Captions;
extern const std::array<PatternCaption, 7> Pattern2Captions;
extern const std::string_view Pattern1Etc;  // " ETC"
extern const std::string_view Pattern2Etc;  // " ETC."
// The joins of numbers, each with the characters it removes.
extern const std::array<PatternCaption, 5> PatternJoins;

}  // namespace series_tables
