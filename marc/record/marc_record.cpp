// Construction of the record object, its defaults, NewRecord and the two
// settings properties.
#include "marc/record/marc_record.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "common/ini.h"
#include "common/raised_error.h"
#include "common/runtime.h"
#include "common/utli_misc_non_utf8.h"
#include "platform/clock.h"

namespace {

// The record settings file and its four options, in the order they are read.
constexpr const char* kRecordSettingsFile = "MarcRecordClass.INI";
constexpr const char* kBooleansSection = "Booleans";

// Octets from hexadecimal pairs separated by blanks.
std::string Hex(const std::string& sPairs) {
    std::string digits;
    for (char c : sPairs)
        if (c != ' ') digits += c;
    return UtliMiscNonUtf8::HexToText(digits);
}

using Getter = OctetString (Utf8CharClass::*)() const;

// A MARC-8 combining mark: its name, its two getters, whether it is written
// above the letter (else below), and its combining class.
struct CombiningMark {
    const char* Name;
    Getter Marc8;
    Getter Utf8;
    bool Above;
    const char* CombiningClass;
};

constexpr bool kAbove = true;
constexpr bool kBelow = false;
#define EXITDESK_MARK(X, position, cls) {#X, &Utf8CharClass::Marc8##X, &Utf8CharClass::Utf8##X, position, cls}

// The combining marks in MARC-8 order (E0 to FB, then FE).
constexpr CombiningMark kMarks[] = {
    EXITDESK_MARK(QuestionPseudo, kAbove, "230"),
    EXITDESK_MARK(Grave, kAbove, "230"),
    EXITDESK_MARK(Acute, kAbove, "230"),
    EXITDESK_MARK(Circumflex, kAbove, "230"),
    EXITDESK_MARK(Tilde, kAbove, "230"),
    EXITDESK_MARK(Macron, kAbove, "230"),
    EXITDESK_MARK(Breve, kAbove, "230"),
    EXITDESK_MARK(DotAbove, kAbove, "230"),
    EXITDESK_MARK(Umlaut, kAbove, "230"),
    EXITDESK_MARK(Hacek, kAbove, "230"),
    EXITDESK_MARK(Angstrom, kAbove, "230"),
    EXITDESK_MARK(LigatureLeft, kAbove, "230"),
    EXITDESK_MARK(LigatureRight, kAbove, "230"),
    EXITDESK_MARK(CommaHighOffCenter, kAbove, "232"),
    EXITDESK_MARK(AcuteDouble, kAbove, "230"),
    EXITDESK_MARK(Candrabindu, kAbove, "230"),
    EXITDESK_MARK(Cedilla, kBelow, "202"),
    EXITDESK_MARK(HookRight, kBelow, "202"),
    EXITDESK_MARK(DotBelow, kBelow, "220"),
    EXITDESK_MARK(DotBelowDouble, kBelow, "220"),
    EXITDESK_MARK(CircleBelow, kBelow, "220"),
    EXITDESK_MARK(UnderscoreDouble, kBelow, "220"),
    EXITDESK_MARK(Underscore, kBelow, "220"),
    EXITDESK_MARK(HookLeft, kBelow, "220"),
    EXITDESK_MARK(CedillaRight, kBelow, "220"),
    EXITDESK_MARK(Upadhmaniya, kBelow, "220"),
    EXITDESK_MARK(TildeDoubleLeft, kAbove, "220"),
    EXITDESK_MARK(TildeDoubleRight, kAbove, "220"),
    EXITDESK_MARK(CommaHighCentered, kAbove, "230"),
};
#undef EXITDESK_MARK

// The marks written above (or below) the letter, in the alphabetical order of
// their names.
std::vector<const CombiningMark*> MarksByName(bool bAbove) {
    std::vector<const CombiningMark*> marks;
    for (const CombiningMark& mark : kMarks)
        if (mark.Above == bAbove) marks.push_back(&mark);
    std::sort(marks.begin(), marks.end(),
              [](const CombiningMark* a, const CombiningMark* b) { return std::string_view(a->Name) < b->Name; });
    return marks;
}

}  // namespace

void SubfieldEntry::Recycle() {
    if (!Written) return;
    // What an add writes anyway, then the rest. An empty string is left
    // alone: its clear would only touch its memory.
    for (std::string* s : {&Code, &Text, &OrderStepCodes})
        if (!s->empty()) s->clear();
    NextSubfield = -1;
    PrevSubfield = -1;
    OrderPosition = 0;
    OrderStepType = 0;
    Deleted = false;
    RecycleForAdd();
    Written = false;
}

void SubfieldEntry::RecycleForAdd() {
    if (!Written) return;
    if (FormsWritten) {
        for (std::string* s : {&Norm, &NormNaco, &FormsText})
            if (!s->empty()) s->clear();
        FormsWritten = false;
    }
    Boolean1 = false;
    Boolean2 = false;
    FormsPending = false;
    FormsSet = 0;
    FormsTextSeparate = false;
    FormsTagLength = 0;
    FormsFormatLength = 0;
    std::fill(std::begin(FormsTag), std::end(FormsTag), '\0');
    FormsFormat = 0;
}

void FieldEntry::Recycle() {
    Tag.clear();
    Indicators.clear();
    IsControl = false;
    OrderKey.clear();
    OrderKeySuffix.clear();
    Changed = false;
    Deleted = false;
    Boolean1 = false;
    Boolean2 = false;
    DirectoryEntry.clear();
    NextField = -1;
    PrevField = -1;
    FirstSubfield = -1;
    LastSubfield = -1;
    SubfieldSlots = 0;
    SubfieldTop = -1;
    Subfields.clear();
}

int16_t FieldEntry::NewSubfieldSlot(int16_t* pFreshFrom) {
    int16_t slot = rt::ToInt16(int32_t{SubfieldTop} + 1);
    if (slot > SubfieldSlots || SubfieldSlots < 1) {
        const auto iTaken = static_cast<int16_t>(Subfields.size());
        // Grows by 5, the last time only up to the largest 16-bit slot.
        SubfieldSlots = static_cast<int16_t>(std::min<int32_t>(int32_t{SubfieldSlots} + 5, 32767));
        if (pFreshFrom) {
            if (*pFreshFrom < 0) *pFreshFrom = iTaken;
            Subfields.resize_as_they_are(static_cast<size_t>(SubfieldSlots) + 1);
        } else {
            Subfields.resize(static_cast<size_t>(SubfieldSlots) + 1);
        }
    }
    SubfieldEntry& entry = Subfields[static_cast<size_t>(slot)];
    if (pFreshFrom && *pFreshFrom >= 0 && slot >= *pFreshFrom) entry.RecycleForAdd();
    entry.Written = true;
    return slot;
}

void FieldEntry::RecycleFreshSlots(int16_t iFreshFrom) {
    if (iFreshFrom < 0) return;
    const size_t from = static_cast<size_t>(std::max<int32_t>(iFreshFrom, int32_t{SubfieldTop} + 1));
    for (size_t i = from; i < Subfields.size(); ++i) Subfields[i].Recycle();
}

Utf8MarcRecordClass::Utf8MarcRecordClass() {
    // 1. The four options of the record settings file.
    struct Option {
        const char* Key;
        bool Utf8MarcRecordState::*Member;
    };
    static constexpr Option kOptions[] = {
        {"RemoveDuplicateOclcNumbers", &Utf8MarcRecordState::RemoveDuplicateOclcNumbers},
        {"RemoveOclcAlphabeticPrefix", &Utf8MarcRecordState::RemoveOclcAlphabeticPrefix},
        {"OclcNumbersHaveLeadingZeroes", &Utf8MarcRecordState::OclcNumbersHaveLeadingZeroes},
        {"RdaReCast502fields", &Utf8MarcRecordState::RdaReCast502Fields},
    };
    for (const Option& option : kOptions)
        m.*option.Member = IsTrue(INI::ReadIniValue(kRecordSettingsFile, kBooleansSection, option.Key, "False", 15));

    // 2. Settings and year bounds.
    m.SortingIndicatorFor653Field = "9";
    m.NationalAuthorityInstitutions = "DLC DNLM CMalG-V";
    m.YearMaximum = "9999";
    m.YearMaximumValue = rt::CLng(m.YearMaximum);
    m.YearPadding = "0000";

    // 3. Fields of the three main families keep the order they are added in.
    for (const char* family : {"A", "B", "H"}) {
        ClearFldOrder(family);
        SetFldOrder(family, "000", "999", 9);
    }

    // 4. ASCII and MARC-8 strings.
    m.Marc8CurrencySigns = "$" + Hex("B9");
    m.Marc8MathSigns = "+-=" + Hex("AB");
    m.AsciiLower = "abcdefghijklmnopqrstuvwxyz";
    m.AsciiUpper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    m.Utf8AlifVariant = Hex("CA BE");
    m.Utf8Alif = Hex("CA BC");

    // 5. One-octet codes of named characters, and the values of six of them.
    m.Marc8CodeLSlashUpper = Hex("A1");
    m.Marc8CodeOSlashUpper = Hex("A2");
    m.Marc8CodeDSlashUpper = Hex("A3");
    m.Marc8CodeThornUpper = Hex("A4");
    m.Marc8CodeAEUpper = Hex("A5");
    m.Marc8CodeOEUpper = Hex("A6");
    m.Marc8CodeOHookUpper = Hex("AC");
    m.Marc8CodeUHookUpper = Hex("AD");
    m.Marc8CodeAlpha = Hex("AF");
    m.Marc8CodeBeta = Hex("BE");
    m.Marc8CodeGamma = Hex("BF");
    m.Marc8CodeDegree = Hex("C0");
    m.Marc8CodeLScript = Hex("C1");
    m.Marc8CodePressing = Hex("C2");
    m.Marc8CodeCopyright = Hex("C3");
    m.Marc8CodeSharp = Hex("C4");
    m.Marc8CodeQuestionInverted = Hex("C5");
    m.Marc8CodeExclamationInverted = Hex("C6");
    m.Marc8CodeSuperscriptPlus = Hex("CA");
    m.Marc8CodeSuperscriptMinus = Hex("CB");
    m.Marc8CodeSuperscriptParensLeft = Hex("CC");
    m.Marc8CodeSuperscriptParensRight = Hex("CD");
    m.Marc8CodeBraceLeft = "{";
    m.QuoteCharacter = "\"";
    m.Marc8ValueDegree = static_cast<int16_t>(rt::Asc(m.Marc8CodeDegree));
    m.Marc8ValuePressing = static_cast<int16_t>(rt::Asc(m.Marc8CodePressing));
    m.Marc8ValueCopyright = static_cast<int16_t>(rt::Asc(m.Marc8CodeCopyright));
    m.Marc8ValueSharp = static_cast<int16_t>(rt::Asc(m.Marc8CodeSharp));
    m.Marc8ValueQuestionInverted = static_cast<int16_t>(rt::Asc(m.Marc8CodeQuestionInverted));
    m.Marc8ValueExclamationInverted = static_cast<int16_t>(rt::Asc(m.Marc8CodeExclamationInverted));

    // 6.
    AustralianSubdivisionPractice(false);
    m.Subfield6Marker = std::string(1, '\x1F') + "6";
    m.Marc8SpecialLower = Hex("B1 B2 B3 B4 B5 B6 BC BD");
    m.Marc8SpecialUpper = Hex("A1 A2 A3 A4 A5 A6 AC AD");

    // 7. The OCLC screen-font tables.
    m.OclcScreenFontCodes = Hex("C1 C2 C4 91 92 93 94 95 96 97 98 99 90 9D 9C 9A 9B 81 82 83 84 85 86 87 88 89 80 8C "
                                "8D 8A 8B BE DF FC");
    m.OclcScreenFontMarcCodes =
        Hex("AF BE BF D1 D2 D3 D4 D5 D6 D7 D8 D9 D0 DA DB DC DD C1 C2 C3 C4 C5 C6 C7 C8 C9 C0 CA CB CC CD A0") +
        MarcDelimiter() + MarcFill();
    m.OclcScreenFontLabels = Hex("AF") + "[alpha] " + Hex("BE") + "[beta] " + Hex("BF") + "[gamma] " + Hex("92") +
                             "(p) " + Hex("93") + "(c) " + Hex("94") + "# " + Hex("95") + "? " + Hex("96") + "! " +
                             Hex("90 80") + " ";
    m.OclcScreenFontDelimiter = Hex("DF");

    // 8. More codes, and the targets of the set-to-set translations.
    m.Marc8CodeBritishPound = Hex("B9");
    m.Marc8CodeEth = Hex("BA");
    m.Marc8CodeFlat = Hex("A9");
    m.TranslationLScriptM = Hex("C1");
    m.TranslationLScriptO = Hex("BE");
    m.TranslationDegree = Hex("C0");
    m.TranslationPressing = Hex("C2");
    m.TranslationCopyright = Hex("C3");
    m.TranslationSharp = Hex("C4");
    m.TranslationQuestionInverted = Hex("C5");
    m.TranslationExclamationInverted = Hex("C6");

    // 9. Character sets, format, scheme.
    CharacterSetIn("U");
    m.CharacterSetIn = "U";
    CharacterSetOut("U");
    m.MarcRecordFormat = "B";
    NormalizationScheme("V");
    m.Default8BitSet = "V";

    // 10. The single-octet Greek letters, superscripts and subscripts of set V.
    m.GreekCodesV = Hex("AF BE BF");
    m.SuperscriptCodesV = Hex("C0 C1 C2 C3 C4 C5 C6 C7 C8 C9 CA CB CC CD");
    m.SubscriptCodesV = Hex("D0 D1 D2 D3 D4 D5 D6 D7 D8 D9 DA DB DC DD");

    // 11. The default 008 of every format, and the default leader.
    const std::string fill = SharedChar().MarcFill();
    m.Default008TemplateA = "000000n" + fill + " aaannaabn          " + fill + "n ana     d";
    m.Default008TemplateB = "000000n                      000 0     d";
    m.Default008TemplateD = "000000n                   " + fill + "   000 0    d";
    m.Default008TemplateF = "000000n           " + fill + fill + fill + "            " + fill + "     d";
    m.Default008TemplateH = "0000000u    8   1001uu   0000000";
    m.Default008TemplateM = "000000n           " + fill + fill + fill + "                  d";
    m.Default008TemplateP = "000000n                  " + fill + "     0       d";
    m.Default008TemplateQ = "000000uuuuuuunk";
    m.Default008TemplateS = "000000n            " + fill + "         0         d";
    m.Default008TemplateU = "0000000u    0   1001aa   0000000";
    m.Default008TemplateW = "000000aaaaaaaa";
    m.DefaultLeader = "00000n    2200000n  4500";

    // 12. The combining marks, from the character object's named characters.
    const Utf8CharClass& chars = SharedChar();
    for (const CombiningMark* mark : MarksByName(kAbove)) {
        m.Marc8DiacriticsAbove += (chars.*mark->Marc8)();
        m.Utf8DiacriticsAbove += (chars.*mark->Utf8)();
    }
    for (const CombiningMark* mark : MarksByName(kBelow)) {
        m.Marc8DiacriticsBelow += (chars.*mark->Marc8)();
        m.Utf8DiacriticsBelow += (chars.*mark->Utf8)();
    }
    m.Utf8DiacriticsAbove += chars.UcsHex2Utf8("0342") + chars.UcsHex2Utf8("0343") + chars.UcsHex2Utf8("0344");
    m.Utf8DiacriticsBelow += chars.UcsHex2Utf8("0345");
    for (const CombiningMark& mark : kMarks) {
        m.Marc8DiacriticClasses += (chars.*mark.Marc8)() + mark.CombiningClass;
        m.Marc8Diacritics += (chars.*mark.Marc8)();
        m.Utf8DiacriticClasses += (chars.*mark.Utf8)() + mark.CombiningClass;
    }
    m.Utf8DiacriticClasses += chars.UcsHex2Utf8("0342") + "230" + chars.UcsHex2Utf8("0343") + "230" +
                              chars.UcsHex2Utf8("0344") + "230" + chars.UcsHex2Utf8("0345") + "220";

    // 13. The default subfield orders of all four families.
    SetDefaultSfdOrders();
}

Utf8MarcRecordClass::~Utf8MarcRecordClass() = default;

Utf8CharClass& Utf8MarcRecordClass::SharedChar() {
    if (!m.MyUtf8Char) m.MyUtf8Char = std::make_unique<Utf8CharClass>();
    return *m.MyUtf8Char;
}

int16_t Utf8MarcRecordClass::NewFieldSlot() {
    int16_t slot = m.FldCount;
    m.FldCount = rt::ToInt16(int32_t{m.FldCount} + 1);
    // The entry past the last field is kept as Recycle leaves it (the growth
    // recycles the entry it takes into use, a shrink recycles the one it
    // leaves there), so the slot handed out is a default entry already.
    m.Fields.resize(static_cast<size_t>(m.FldCount) + 1);
    m.FldKeysSortedCount = -1;  // the caller that links the entry knows
    return slot;
}

void Utf8MarcRecordClass::NewRecord(const std::string& sRecordType, const std::string& sBibliographicLevel) {
    m.MarcRecordIn.clear();
    m.NewRecordCreated = true;
    m.FldOrderChanged = false;
    m.SfdOrderChanged = false;

    // Holdings and authority-like types have no bibliographic level.
    std::string sLevel = sBibliographicLevel;
    if (rt::InStr("wuvxyz", sRecordType) > 0) sLevel = " ";
    const std::string sEncoding = m.RecordIsUtf8 ? "a" : " ";

    m.FldFirst = -1;
    m.FldLast = -1;
    m.Fields.clear();
    m.Fields.resize(1);
    m.Fld008Pointer = -1;
    m.FldCount = 0;

    m.Leader = m.DefaultLeader;
    ChangeLeaderValue(6, sRecordType);
    ChangeLeaderValue(7, sLevel);
    ChangeLeaderValue(9, sEncoding);
    m.MarcRecordFormat = SetFormatCode("");
    FldOrderInstall(m.MarcRecordFormat);

    // The 005 from the clock, then the 008 of the format dated from the 005;
    // holdings also get the date at 008/26 as the date of report.
    std::string s005Text, sDate, s008Text;
    NewRecordDateFields(s005Text, sDate, s008Text);
    FldAdd("005", "", s005Text, false);
    FldAdd("008", "", s008Text, false);
    if (m.MarcRecordFormat == "H") Change008Value(26, sDate);
}

void Utf8MarcRecordClass::NewRecordDateFields(std::string& s005Text, std::string& sDate, std::string& s008Text) {
    s005Text = rt::FormatDate(platform::Now(), "yyyymmddhhnnss") + ".0";
    sDate = rt::Mid(s005Text, 3, 6);
    s008Text = Default008(m.MarcRecordFormat, sDate);
}

std::string Utf8MarcRecordClass::SortingIndicatorFor653Field() const { return m.SortingIndicatorFor653Field; }

void Utf8MarcRecordClass::SortingIndicatorFor653Field(const std::string& vNewValue) {
    std::string sValue = rt::Left(rt::Trim(vNewValue), 1);
    if (sValue.empty() || !rt::IsAsciiDigit(sValue[0])) sValue = "9";
    m.SortingIndicatorFor653Field = sValue;
}

std::string Utf8MarcRecordClass::NationalAuthorityInstitutions() const { return m.NationalAuthorityInstitutions; }

void Utf8MarcRecordClass::NationalAuthorityInstitutions(const std::string& vNewValue) {
    m.NationalAuthorityInstitutions = NormString(vNewValue, true, "V");
}
