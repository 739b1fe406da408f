#pragma once
// Utf8CharClass: the character object. One instance holds one character at a
// time, the current character, in three forms kept in step: its UTF-8 octets,
// its UCS form (big-endian UTF-16) and its octet value. It also converts single
// characters between UTF-8, UCS and hexadecimal text, answers case partners and
// general categories from Unicode 3.0 tables, and (in the sections further down,
// implemented in their own folders) translates MARC-8 and makes normal forms.
//
// The class validates nothing: malformed UTF-8 or hexadecimal input yields some
// character rather than an error. It never reads or writes outside its inputs.
//
// This header is the one declaration of the class. Members that belong to
// other subsystems are declared in their commented sections below and
// implemented in those subsystems' folders.

#include <cstdint>
#include <string>

// Text whose every character is one octet (UTF-8, MARC-8 or hexadecimal text).
using OctetString = std::string;

// The UTF-8 octets of a string read as one big-endian unsigned number (only the
// last four octets count): A is 65, é (C3 A9) is 50089. Always a whole number
// from 0 to 4,294,967,295, held exactly in an integer.
using OctetValue = int64_t;

class Utf8CharClass {
public:
    Utf8CharClass();

    // ---- chars/: conversions and the current character ----

    // UCS form (2 octets, or 4 for a surrogate pair) to UTF-8 octets.
    OctetString Ucs2Utf8(const OctetString& sUcsCharacter) const;
    // The current character's UCS form as hexadecimal digits (4, or 8 for a pair).
    std::string UcsHex() const;
    // UTF-8 octets (1 to 4) to the UCS form.
    OctetString Utf82Ucs(const OctetString& sUtf8Character) const;
    // Octet value of a string: its last four octets, big-endian; 0 for "".
    OctetValue Utf8Asc(const OctetString& sUtf8Character) const;
    // Lower-case partner of the current character (Unicode 3.0, simple mapping).
    OctetString Utf8CharLCase() const;
    // UCS hexadecimal digits (either case, 0 to 8 digits) to UTF-8 octets.
    OctetString UcsHex2Utf8(const std::string& sInput) const;
    // Upper-case partner of the current character (Unicode 3.0, simple mapping).
    OctetString Utf8CharUCase() const;
    // The current character's octets; set: the first character of the value.
    OctetString Utf8Char() const;
    void Utf8Char(const OctetString& vNewValue);
    // Octet count announced by the first octet of sChar; for "" the current
    // character's count.
    int16_t Utf8CharOctets(const OctetString& sChar) const;
    // The current character's UCS form; set: a UCS form of 2 or 4 octets.
    OctetString UcsChar() const;
    void UcsChar(const OctetString& vNewValue);
    // The current character's octet value; set: the character of those octets.
    OctetValue Utf8CharAsc() const;
    void Utf8CharAsc(const OctetValue& vNewValue);
    // Set the current character from UCS hexadecimal digits.
    void UcsHex(const std::string& vNewValue);

    // ---- normalize/: normal forms and substitution ----
    // (SubstituteUtf8Char follows with the substitution members.)

    // The object's scheme letter, "V" or "P"; set: the trimmed value's first
    // character in upper case, anything but "P" or "V" giving "V".
    std::string NormalizationScheme() const;
    void NormalizationScheme(const std::string& vNewValue);
    // Comparison form of the current character: capitals without diacritics,
    // punctuation blank or dropped, at most two characters. sScheme "P" keeps
    // "@"; the object's letter "P" keeps the subfield delimiter. Fills the
    // category cache.
    OctetString Utf8CharNorm(const std::string& sScheme);

    // ---- normalize/: character substitution (normalize/substitute_char.cpp) ----

    // Whether one UTF-8 character is to be replaced in record text, and by what: a precomposed
    // Latin letter of U+00C0 to U+024F and U+1E00 to U+1EFF by its full canonical decomposition
    // (normalize/latin_letters.h; the letters with horn stay whole); sharp s, the ligatures
    // IJ and ij, L and l with middle dot and 'n by plain letters; the Windows-1252 dashes and
    // trade mark of the C1 range, the dashes, quotation marks and ellipsis of U+2010 to U+2026
    // by ASCII; the click letter U+01C2 by the subfield delimiter; a private-use character of
    // PuaIdeographTable by its ideograph or symbol. Only the first character of sInputChar
    // counts (the private-use look-up needs exactly three octets), and only a well-formed one:
    // a malformed sequence has no substitute. sReturnChar is sInputChar unless the result is
    // True. An input of two or more octets becomes the current character.
    bool SubstituteUtf8Char(OctetString sInputChar, OctetString& sReturnChar);
    // The private-use characters and their replacements as one text of entries
    // " EEA4B0:E4BA99": the six hexadecimal digits of each one's UTF-8 octets.
    static const std::string& PuaIdeographTable();

    // ---- chars/: general category ----

    // General category of the current character in Unicode 3.0 ("Lu", "Nd"...),
    // "ZZ" for a compatibility decomposition, "" for a value in no span. Cached
    // until the current character is set again.
    std::string Utf8CharCategory();

    // ---- marc8/: MARC-8 tables and translation ----
    // (Marc8Char, TranslateMarc2Utf8OneCharacter, TranslateUtf82MarcOneCharacter,
    // the named characters and the other MARC-8 members.)

    // A MARC-8 set named by one character: "1" Latin (ASCII and ANSEL), "2" Greek symbols,
    // "3" subscripts, "4" superscripts, "5" Hebrew, "6" basic Cyrillic, "7" basic Arabic,
    // "8" Greek, "9" East Asian (EACC), ":" extended Cyrillic, ";" extended Arabic; "?" for none.
    // The UTF-8 to MARC-8 table files both Cyrillic sets under "6" and both Arabic sets under "7".
    using Marc8TableCode = std::string;
    // What selects the set of a MARC-8 octet, compared exactly: a table code, a one-letter
    // escape ("s", "g", "b", "p") or the characters after the escape of a designation ("(B",
    // ")!E", "(2", ")N", "$1" ...).
    using Marc8TableDesignation = std::string;

    // The UTF-8 to MARC-8 tables of the single-octet sets as constant text (" C298:88:1 ..."):
    // the main table, and the tables consulted first for the output sets "V" and "O".
    // marc8/marc8_tables.h holds their entries, the EACC table and the look-ups.
    static const std::string& Utf82MarcTable();
    static const std::string& Utf82MarcTableV();
    static const std::string& Utf82MarcTableO();

    // One MARC-8 character (one octet, three for EACC) in the set that sTableDesignation selects,
    // to UTF-8. Only sCharacterSetIn "V" reads the Latin octets of the 8-bit variant. A character
    // that cannot be translated gives bCharacterError True and an empty sUtf8Character; bChanged
    // tells whether the result differs from the (adjusted) character. Raises nothing; leaves the
    // object as it is.
    void TranslateMarc2Utf8OneCharacter(std::string sCharacterSetIn, Marc8TableDesignation sTableDesignation,
                                        OctetString sMarc8Character, OctetString& sUtf8Character, bool& bChanged,
                                        bool& bCharacterError) const;
    // A whole Latin MARC-8 text to UTF-8: ASCII, ANSEL with its combining marks moved after their
    // base characters, the superscript, subscript and Greek-symbol escape runs; sInputCharacterSet
    // "V" reads 0xC0 to 0xC8 as superscripts and its own octets (0x90, 0x92 to 0x96, 0xA0, 0xAF,
    // 0xBE, 0xBF) as that set holds them. Unknown octets and other escape runs are dropped.
    OctetString Marc82Utf8(const OctetString& sIn, const std::string& sInputCharacterSet) const;

    // The named MARC-8 and UTF-8 characters (marc8/named_characters.def): for
    // each X, Marc8X gives the MARC-8 form and Utf8X the UTF-8 form. They keep
    // no state and leave the current character alone.
#define EXITDESK_NAMED_FIXED(X, marc8, ucs) \
    OctetString Marc8##X() const;           \
    OctetString Utf8##X() const;
#define EXITDESK_NAMED_BY_SET(X, marc8, v, o, ucs)                \
    OctetString Marc8##X(const std::string& sCharacterSet) const; \
    OctetString Utf8##X() const;
#define EXITDESK_NAMED_RUN(X, set, octet, v, ucs) EXITDESK_NAMED_BY_SET(X, 0, v, 0, ucs)
#include "marc8/named_characters.def"
#undef EXITDESK_NAMED_FIXED
#undef EXITDESK_NAMED_BY_SET
#undef EXITDESK_NAMED_RUN

    // The directional controls, the zero-width controls under their second
    // names, and the spacing underscore (marc8/named_controls.cpp).
    OctetString Utf8RightToLeftMarker() const;
    OctetString Utf8LeftToRightMarker() const;
    OctetString Utf8LeftToRightEmbedding() const;
    OctetString Utf8PopDirectionalFormatting() const;
    OctetString Utf8ZeroWidthJoiner() const;
    OctetString Utf8ZeroWidthNonJoiner() const;
    OctetString Utf8RightToLeftEmbedding() const;
    OctetString Utf8LeftToRightOverride() const;
    OctetString Utf8RightToLeftOverride() const;
    OctetString Utf8SpacingUnderscore() const;
    OctetString Marc8SpacingUnderscore() const;

    // ---- marc8/: UTF-8 to MARC-8, one character (marc8/utf8_to_marc8_char.cpp) ----

    // One UTF-8 character to MARC-8: sMarc8Character gets the octet (three for EACC) and
    // sTableName the table code ("1", "3" to "9", ":", ";"). The output sets "V" and "O" have
    // their own octets for a few characters. The directional marks give "". A character with no
    // MARC-8 form gives bCharacterError True, sTableName "1", and sMarc8Character "" (a one-octet
    // character leaves it as passed); bChanged is written only on success.
    void TranslateUtf82MarcOneCharacter(std::string& sCharacterSetOut, Marc8TableCode& sTableName,
                                        OctetString& sUtf8Character, OctetString& sMarc8Character, bool& bChanged,
                                        bool& bCharacterError) const;
    // The table code of the current character by this class's own list, or "?".
    Marc8TableCode Utf8CharCategoryMarc8() const;
    // Make the current character from a MARC-8 octet: one character is an octet of set "V",
    // table "1"; otherwise set letter, table designation and octet. An octet that does not
    // translate leaves the current character; CurrentUcs keeps the previous character's form.
    void Marc8Char(const OctetString& vNewValue);

    // ---- chars/: control characters and character tests ----

    // Position (1-based) of the lead octet of the UTF-8 character covering lPtr.
    int32_t Utf8CharFindFirstOctet(const OctetString& sIn, int32_t lPtr) const;
    OctetString MarcDelimiter() const { return DelimiterChar; }
    OctetString MarcEndOfRecord() const { return EndOfRecordChar; }
    OctetString MarcEndOfField() const { return EndOfFieldChar; }
    OctetString MarcFill() const { return FillChar; }
    OctetString MarcEscape() const { return EscapeChar; }
    const OctetString& Utf8NonSortBegin() const { return NonSortBeginUtf8; }
    const OctetString& Utf8NonSortEnd() const { return NonSortEndUtf8; }
    OctetString Utf8Delimiter() const { return DelimiterChar; }
    OctetString Utf8EndOfField() const { return EndOfFieldChar; }
    OctetString Utf8EndOfRecord() const { return EndOfRecordChar; }
    OctetString Utf8Escape() const { return EscapeChar; }
    OctetString Utf8Fill() const { return FillChar; }
    const OctetString& MarcNonSortEnd() const { return NonSortEndMarc8; }
    // Decimal value (0 to 9) of a digit character of category Nd; 0 otherwise.
    // Makes sChar's first character the current one unless it already is.
    int16_t Utf8CharVal(const OctetString& sChar);
    OctetString MarcNonSortBegin() const { return OctetString(1, '\x88'); }
    // First octet of sChar as two upper-case hexadecimal digits; "" for "".
    std::string Char2Hex(const OctetString& sChar) const;
    // The octet named by the last two hexadecimal digits of sString.
    OctetString Hex2Char(const std::string& sString) const;
    // UTF-8 of the basic-plane character whose code is the low 16 bits of the value.
    OctetString UcsNumericToUtf8(int32_t lInputValue) const;
    // True for characters outside the Roman repertoire (U+0370 up, less the
    // superscripts and subscripts and the combining half marks).
    bool Utf8CharNonRoman() const;
    // The current character's octets as upper-case hexadecimal digits.
    std::string Utf8CharHex() const;

private:
    // Control characters, fixed at construction.
    OctetString DelimiterChar;
    OctetString EndOfFieldChar;
    OctetString EndOfRecordChar;
    OctetString FillChar;
    OctetString EscapeChar;
    OctetString NonSortBeginUtf8;
    OctetString NonSortEndUtf8;
    OctetString NonSortEndMarc8;
    // The current character.
    OctetString CurrentUtf8;
    OctetString CurrentUcs;
    // Normalization scheme letter ("V" or "P"), used by the normalize/ members.
    std::string SchemeLetter;
    // Category of the current character while CategoryIsCached is set.
    std::string CachedCategory;
    OctetValue CurrentValue = 0;
    int16_t CurrentOctetCount = 0;
    // Set while one setter passes the character on to the other form.
    bool SyncInProgress = false;
    bool CategoryIsCached = false;

    // ---- marc8/: private state and helpers ----

    // The UTF-8 form of a three-octet EACC character, looked up in chunk iChunk of the EACC table;
    // bCharacterError True and an empty result when the chunk does not hold it.
    void Eacc2Utf8(OctetString sEaccCharacter, OctetString& sUtf8Character, int16_t iChunk,
                   bool& bCharacterError) const;
    // The UTF-8 to MARC-8 look-ups: the single-octet tables (the "V" and "O" tables first for those
    // output sets) and the EACC table in reverse, lowest code first.
    void FindUtf82MarcEntry(const std::string& sCharacterSetOut, const OctetString& sUtf8Character,
                            OctetString& sMarc8Character, const std::string& sTable, bool& bCharacterError,
                            Marc8TableCode& sTableName) const;
    void FindEaccCode(const OctetString& sUtf8Character, OctetString& sMarc8Character, bool& bCharacterError) const;

    // ---- normalize/: private state and helpers ----

    // The rules of Utf8CharNorm, one per general category.
    OctetString Utf8CharNormCc();
    OctetString Utf8CharNormCf();
    OctetString Utf8CharNormCo();
    OctetString Utf8CharNormCs();
    OctetString Utf8CharNormLl();
    OctetString Utf8CharNormLm();
    OctetString Utf8CharNormLo();
    OctetString Utf8CharNormLu();
    OctetString Utf8CharNormLt();
    OctetString Utf8CharNormMe();
    OctetString Utf8CharNormMn();
    OctetString Utf8CharNormMc();
    OctetString Utf8CharNormNd();
    OctetString Utf8CharNormNl();
    OctetString Utf8CharNormNo();
    OctetString Utf8CharNormPc();
    OctetString Utf8CharNormPd();
    OctetString Utf8CharNormPe();
    OctetString Utf8CharNormPf();
    OctetString Utf8CharNormPi();
    OctetString Utf8CharNormPo(const std::string& sScheme);
    OctetString Utf8CharNormPs();
    OctetString Utf8CharNormZl();
    OctetString Utf8CharNormZp();
    OctetString Utf8CharNormZs();
    OctetString Utf8CharNormZZ();
    OctetString Utf8CharNormSc();
    OctetString Utf8CharNormSk();
    OctetString Utf8CharNormSm();
    OctetString Utf8CharNormSo();

    // ---- normalize/: compatibility decompositions ----

    // The UTF-8 text of a character's Unicode 3.0 compatibility mapping, one
    // level deep, or of its folding when it is one of the special Latin
    // letters without a mapping; otherwise the argument unchanged.
    OctetString CompatibilityDecomposition(const OctetString& sUtf8Character) const;
    friend struct Utf8CharTestAccess;
};
