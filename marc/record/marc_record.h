#pragma once
// Utf8MarcRecordClass: one MARC 21 record in memory (bibliographic, authority or
// holdings) with everything that works on it. The record is a leader, the
// directory it was loaded from, and a linked table of fields, each with a
// linked table of subfields; entries are never removed, only flagged, so an
// index stays a handle of its field or subfield until the next load or
// NewRecord. A field cursor and a subfield cursor, order rules for fields and
// subfields, the character sets in force, the switches callers set and a set
// of constant strings filled once by the constructor complete the object.
//
// This header is the one declaration of the class. Members that belong to
// other subsystems are declared in their commented sections below and
// implemented in those subsystems' folders. All state lives in the member `m`
// (type Utf8MarcRecordState) under its given names, so that properties can
// carry the same names as the values they give.
//
// Indices into the record's tables are 16-bit with -1 for none. Text is
// std::string of octets: UTF-8 while RecordIsUtf8 is set, else one octet per
// character of an 8-bit set.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "chars/utf8_char.h"
#include "marc/record/slot_table.h"

// One rule of a field-order table: a range of tags and its order method.
struct FieldOrderRule {
    std::string BeginTag;
    std::string EndTag;
    int16_t Method = 0;
};

// One compiled step of a subfield-order pattern.
struct SubfieldOrderStep {
    int16_t StepType = 0;
    std::string Codes;
};

// The subfield-order rule of one tag: its compiled pattern.
struct SubfieldOrderRule {
    std::string Tag;
    std::vector<SubfieldOrderStep> Steps;  // indexes 0 to StepSlots once a step was added
    int16_t StepTop = -1;
    int16_t StepSlots = 0;
    std::string RepeatedCodes;
    std::string LeadCodes;
};

// Where a subfield-order rule puts one code: its step (the first step before
// the last that holds it, else the last; with the title switch only steps
// that hold "t" qualify), that step's type when the step is one after the
// first (else -1), the code's place in the step's codes (as InStr gives it)
// and whether the code is the step's first.
struct SubfieldOrderCodePlace {
    int16_t Step = -1;
    int16_t StepType = -1;
    int32_t Place = 0;
    bool Lead = false;
};

// All the order members read of a rule for one code: its place without and
// with the title switch, the step that SfdOrderPosition gives (-1 none) and
// its match count, both without and with the title seen, and whether the
// code is one of the rule's repeated codes.
struct SubfieldOrderCode {
    SubfieldOrderCodePlace Plain;
    SubfieldOrderCodePlace Title;
    int16_t Position = -1;
    int16_t MatchCount = 0;
    int16_t TitlePosition = -1;
    int16_t TitleMatchCount = 0;
    bool Repeated = false;
};

// A subfield-order rule made ready for use: the rule and the answers for
// every one-octet code. It never changes once made, so the record's current
// rule and its kept rules share it; a change of the rule tables makes new
// ones.
struct CompiledSubfieldOrderRule {
    SubfieldOrderRule Rule;
    SubfieldOrderCode Codes[256];

    static std::shared_ptr<const CompiledSubfieldOrderRule> Compile(const SubfieldOrderRule& rule);
    // The rule of no steps, in force before any rule is loaded.
    static const std::shared_ptr<const CompiledSubfieldOrderRule>& Empty();
    // The answers for a code of any length, worked out from the rule.
    static SubfieldOrderCode CodeOf(const SubfieldOrderRule& rule, std::string_view sCode);
    // The answers for a code: from the table for one octet.
    SubfieldOrderCode Code(std::string_view sCode) const {
        return sCode.size() == 1 ? Codes[static_cast<unsigned char>(sCode[0])] : CodeOf(Rule, sCode);
    }
    const SubfieldOrderCode& Code(char c) const { return Codes[static_cast<unsigned char>(c)]; }
    // What read(answers) gives for a code, the table's answers read in place.
    template <class Read>
    auto With(std::string_view sCode, Read read) const {
        if (sCode.size() == 1) return read(Codes[static_cast<unsigned char>(sCode[0])]);
        return read(CodeOf(Rule, sCode));
    }
};

// A combining mark waiting in the canonical-order buffer of the translations.
// Arrival numbers are 32-bit, so that a text of more than 32,767 marks on
// one base character collects without overflow.
struct CombiningMarkEntry {
    std::string Mark;
    int16_t CombiningClass = 0;
    int32_t Sequence = 0;
};

// The combining marks that the MARC-8 reader looks up for every character it reads: the marks
// of the lists above and below by code point, each with its class from the list of classes (-1
// where that list has none). Exact: the lists hold whole UTF-8 characters, so that a look-up here
// answers as a search of the lists would. Built on first use.
struct Utf8MarkClassTable {
    bool Built = false;
    bool Exact = false;
    std::vector<std::pair<char32_t, int16_t>> Marks;  // ascending code point
};

// One cell of the single-octet set-to-set translation table.
struct TranslationCell {
    bool Changed = false;
    std::string Replacement;
};

// The comparison form of one octet of an 8-bit set: up to two octets, and
// how many MARC-8 codes it passed through between the two octet maps.
struct NormOctetForm {
    char Text[2] = {};
    uint8_t Length = 0;
    uint8_t CodeLength = 0;
};

// One subfield of a field.
struct SubfieldEntry {
    // (The small members lead, so that they, the code and the text that every
    // add writes share the entry's first cache line.)
    int16_t NextSubfield = -1;
    int16_t PrevSubfield = -1;
    int16_t OrderPosition = 0;
    int16_t OrderStepType = 0;
    bool Deleted = false;
    bool Boolean1 = false;
    bool Boolean2 = false;
    // ---- marc/record/: slot reuse ----
    // False while the entry is as Recycle leaves it: NewSubfieldSlot sets it
    // for the slot it hands out, and a writer of an entry after its Recycle
    // sets it again.
    bool Written = false;
    // ---- marc/record/: forms made on first use ----
    // A split leaves Norm and NormNaco to be made when first read
    // (FormsPending): from FormsText when the forms leave nonfiling
    // characters out (FormsTextSeparate), else from Text, under the tag and
    // record format that were current when the subfield was stored.
    // The tag (up to three characters) and the format (up to one) are held
    // in place, with their lengths. FormsSet: 0 for forms of UTF-8 text,
    // else the 8-bit output set they are made in ('V', or 'M' for "M" and "O").
    bool FormsPending = false;
    char FormsSet = 0;
    bool FormsTextSeparate = false;
    uint8_t FormsTagLength = 0;
    uint8_t FormsFormatLength = 0;
    char FormsTag[3] = {};
    char FormsFormat = 0;
    // Norm, NormNaco or FormsText may hold text: every writer of them sets
    // it, so that a recycling leaves the three (and their cache lines) alone
    // while it is false.
    bool FormsWritten = false;
    // (The strings an add writes first; the forms, which a split defers, last.)
    std::string Code;
    std::string Text;
    std::string OrderStepCodes;
    std::string Norm;
    std::string NormNaco;
    std::string FormsText;

    // Back to a default entry, its strings keeping their memory (a member
    // added above is reset here too, or in RecycleForAdd when an add does
    // not write it); an entry not written since costs nothing.
    void Recycle();
    // Recycle for a slot whose code, text, order step, deletion flag and
    // links the add that takes it writes anyway: only the rest is reset.
    void RecycleForAdd();
};

// One field of the record.
struct FieldEntry {
    std::string Tag;
    std::string Indicators;
    bool IsControl = false;
    std::string OrderKey;
    std::string OrderKeySuffix;
    bool Changed = false;
    bool Deleted = false;
    bool Boolean1 = false;
    bool Boolean2 = false;
    std::string DirectoryEntry;
    int16_t NextField = -1;
    int16_t PrevField = -1;
    int16_t FirstSubfield = -1;
    int16_t LastSubfield = -1;
    int16_t SubfieldSlots = 0;
    int16_t SubfieldTop = -1;
    SlotTable<SubfieldEntry> Subfields;  // bounds 0 to SubfieldSlots once a subfield was added

    // The slot for the next subfield, SubfieldTop + 1, made available: when it
    // exceeds SubfieldSlots (or no slot was ever allocated) the allocation grows
    // by 5, keeping the contents. Raises error 6 past 32,767 slots.
    // With pFreshFrom (an add that writes the slot's code, text, order step,
    // deletion flag and links), the slots a growth takes into the table are
    // left as they are, the first of them noted in *pFreshFrom (when -1),
    // and the slot handed out from there is recycled for the add; the caller
    // recycles the rest (RecycleFreshSlots) before they can be read.
    int16_t NewSubfieldSlot(int16_t* pFreshFrom = nullptr);
    // Recycles the slots from iFreshFrom that no subfield took.
    void RecycleFreshSlots(int16_t iFreshFrom);

    // Back to a default entry, its strings and subfield slots keeping their
    // memory (a member added above is reset here too).
    void Recycle();
};

// A character object the record makes on first use. A copy of the record
// state starts without one and makes its own when it needs one, so that a
// copy never shares the working character of the state it came from.
class OwnedUtf8Char : public std::unique_ptr<Utf8CharClass> {
public:
    OwnedUtf8Char() = default;
    OwnedUtf8Char(const OwnedUtf8Char&) noexcept : std::unique_ptr<Utf8CharClass>() {}
    OwnedUtf8Char(OwnedUtf8Char&&) noexcept = default;
    OwnedUtf8Char& operator=(const OwnedUtf8Char&) noexcept {
        reset();
        return *this;
    }
    OwnedUtf8Char& operator=(OwnedUtf8Char&&) noexcept = default;
    OwnedUtf8Char& operator=(std::unique_ptr<Utf8CharClass>&& owned) noexcept {
        std::unique_ptr<Utf8CharClass>::operator=(std::move(owned));
        return *this;
    }
    ~OwnedUtf8Char() = default;
};

// Every member variable of a record object, under its given name.
struct Utf8MarcRecordState {
    // ---- record parts ----
    std::string Leader;
    std::string Directory;
    std::string RecordDataIn;
    std::string MarcRecordIn;
    std::string CharacterEncodingScheme;
    std::string MarcRecordFormat;
    bool IsAuthority = false;
    int16_t Fld008Length = 0;
    std::string IsMarcErrorText;
    std::string LoadWarningText;
    bool NewRecordCreated = false;
    bool MarcRecordModified = false;

    // ---- field table: slots 0 to FldCount - 1 in use, bounds 0 to FldCount ----
    SlotTable<FieldEntry> Fields = SlotTable<FieldEntry>(1);
    int16_t FldCount = 0;
    int16_t FldFirst = -1;
    int16_t FldLast = -1;
    int16_t Fld008Pointer = -1;
    // Every entry's OrderKey is at most its successor's (deleted entries
    // included) while the list is the one whose tail is FldKeysSortedLast and
    // whose count is FldKeysSortedCount; placement then passes over the
    // leading entries of smaller keys without looking at them.
    int16_t FldKeysSortedLast = -1;
    int16_t FldKeysSortedCount = -1;

    // ---- cursor ----
    int16_t FldPointer = -1;
    int16_t SfdPointer = -1;
    bool FldWasFound = false;
    bool SfdWasFound = false;
    bool FldAtTop = false;
    bool FldAtBottom = false;
    bool SfdAtTop = false;
    bool SfdAtBottom = false;
    std::string FldSearchTags;
    std::string FldSearchText;
    std::string SfdSearchCodes;
    std::string SfdSearchText;

    // ---- order rules (first rule at index 1) and their results ----
    std::vector<FieldOrderRule> FldOrderAuth;
    std::vector<FieldOrderRule> FldOrderBib;
    std::vector<FieldOrderRule> FldOrderHold;
    std::vector<FieldOrderRule> FldOrderOther;
    int16_t FldOrderAuthCount = 0;
    int16_t FldOrderBibCount = 0;
    int16_t FldOrderHoldCount = 0;
    int16_t FldOrderOtherCount = 0;
    int16_t FldOrderAuthSlots = 0;
    int16_t FldOrderBibSlots = 0;
    int16_t FldOrderHoldSlots = 0;
    int16_t FldOrderOtherSlots = 0;
    std::vector<SubfieldOrderRule> SfdOrderAuth;
    std::vector<SubfieldOrderRule> SfdOrderBib;
    std::vector<SubfieldOrderRule> SfdOrderHold;
    std::vector<SubfieldOrderRule> SfdOrderOther;
    int16_t SfdOrderAuthCount = 0;
    int16_t SfdOrderBibCount = 0;
    int16_t SfdOrderHoldCount = 0;
    int16_t SfdOrderOtherCount = 0;
    int16_t SfdOrderAuthSlots = 0;
    int16_t SfdOrderBibSlots = 0;
    int16_t SfdOrderHoldSlots = 0;
    int16_t SfdOrderOtherSlots = 0;
    // The rule of the current field's tag (shared, never changed in place:
    // a change of the tables leaves it as it was until the next load).
    std::shared_ptr<const CompiledSubfieldOrderRule> SfdOrderCurrent = CompiledSubfieldOrderRule::Empty();
    bool FldOrderPairedBib = false;
    bool FldOrderPairedAuth = false;
    bool FldOrderPairedHold = false;
    bool FldOrderPairedLcBib = false;
    std::string Subfield6Marker;
    bool OrderSetupPending = false;
    bool FldsOutOfOrder = false;
    bool SubfieldsOutOfOrder = false;
    std::string FldsWithSfdsOutOfOrder;
    bool SfdOrderChanged = false;
    bool FldOrderChanged = false;

    // ---- switches and settings ----
    bool TestFieldOrder = true;
    bool TestSubfieldOrder = true;
    bool MakeNoChange = false;
    bool PreserveLeadingNumericSubfields = false;
    bool IgnoreSfdOrder = false;
    std::string FldOrderFolder;
    std::string Nuc;
    std::string NucSubfield5List;
    std::string NationalAuthorityInstitutions;
    std::string SortingIndicatorFor653Field;
    bool AustralianSubdivisionPractice = false;
    bool RemoveDuplicateOclcNumbers = false;
    bool RemoveOclcAlphabeticPrefix = false;
    bool OclcNumbersHaveLeadingZeroes = false;
    bool RdaReCast502Fields = false;
    std::string FieldsToTestForEmptySubfieldsBib;
    std::string FieldsToTestForEmptySubfieldsHold;
    std::string FieldsToTestForEmptySubfieldsAuth;

    // ---- operation state ----
    bool SfdShiftInProgress = false;
    bool SplittingField = false;
    bool SeriesNumberingTablesReady = false;

    // ---- character sets ----
    std::string CharacterSetIn;
    std::string CharacterSetInEffective;
    std::string CharacterSetOut;
    // True from the start: the settings read before the sets are assigned use
    // the UTF-8 comparison form.
    bool RecordIsUtf8 = true;
    bool OutputIsUlc = false;
    std::string Default8BitSet;
    std::string NormalizationScheme;
    std::vector<CombiningMarkEntry> CombiningMarks;  // entries from 1
    int32_t CombiningMarkCount = 0;
    int32_t CombiningMarkSlots = 0;
    std::vector<TranslationCell> TranslationTable;  // 0 to 255 once built
    int16_t TranslationTableTop = 0;
    std::string TranslationTableName;

    // ---- shared character objects ----
    OwnedUtf8Char MyUtf8Char;
    OwnedUtf8Char MyUtf8CharCallNumber;
    OwnedUtf8Char MyUtf8CharCallNumber2;

    // ---- constants filled by the constructor ----
    std::string YearPadding;
    std::string YearMaximum;
    int32_t YearMaximumValue = 0;
    std::string Marc8Diacritics;
    std::string Marc8DiacriticsAbove;
    std::string Marc8DiacriticsBelow;
    std::string Utf8DiacriticsAbove;
    std::string Utf8DiacriticsBelow;
    std::string Marc8DiacriticClasses;
    std::string Utf8DiacriticClasses;
    Utf8MarkClassTable Utf8MarkClasses;  // made from the three lists above
    std::string Marc8CurrencySigns;
    std::string Marc8MathSigns;
    std::string Marc8SpecialUpper;
    std::string Marc8SpecialLower;
    std::string AsciiLower;
    std::string AsciiUpper;
    std::string Marc8CodeLSlashUpper;
    std::string Marc8CodeOSlashUpper;
    std::string Marc8CodeDSlashUpper;
    std::string Marc8CodeThornUpper;
    std::string Marc8CodeAEUpper;
    std::string Marc8CodeOEUpper;
    std::string Marc8CodeOHookUpper;
    std::string Marc8CodeUHookUpper;
    std::string Marc8CodeLScript;
    std::string Marc8CodeAlpha;
    std::string Marc8CodeBeta;
    std::string Marc8CodeGamma;
    std::string Marc8CodeDegree;
    std::string Marc8CodePressing;
    std::string Marc8CodeCopyright;
    std::string Marc8CodeSharp;
    std::string Marc8CodeQuestionInverted;
    std::string Marc8CodeExclamationInverted;
    std::string Marc8CodeBraceLeft;
    std::string Marc8CodeSuperscriptPlus;
    std::string Marc8CodeSuperscriptMinus;
    std::string Marc8CodeSuperscriptParensLeft;
    std::string Marc8CodeSuperscriptParensRight;
    std::string Marc8CodeBritishPound;
    std::string Marc8CodeEth;
    std::string Marc8CodeFlat;
    int16_t Marc8ValueDegree = 0;
    int16_t Marc8ValuePressing = 0;
    int16_t Marc8ValueCopyright = 0;
    int16_t Marc8ValueSharp = 0;
    int16_t Marc8ValueQuestionInverted = 0;
    int16_t Marc8ValueExclamationInverted = 0;
    std::string TranslationLScriptM;
    std::string TranslationLScriptO;
    std::string TranslationDegree;
    std::string TranslationPressing;
    std::string TranslationCopyright;
    std::string TranslationSharp;
    std::string TranslationQuestionInverted;
    std::string TranslationExclamationInverted;
    std::string SubscriptCodesV;
    std::string SuperscriptCodesV;
    std::string GreekCodesV;
    std::string Utf8AlifVariant;
    std::string Utf8Alif;
    std::string QuoteCharacter;
    std::string OclcScreenFontLabels;
    std::string OclcScreenFontDelimiter;
    std::string OclcScreenFontCodes;
    std::string OclcScreenFontMarcCodes;
    std::string DefaultLeader;
    std::string Default008TemplateA;
    std::string Default008TemplateB;
    std::string Default008TemplateD;
    std::string Default008TemplateF;
    std::string Default008TemplateH;
    std::string Default008TemplateM;
    std::string Default008TemplateP;
    std::string Default008TemplateQ;
    std::string Default008TemplateS;
    std::string Default008TemplateU;
    std::string Default008TemplateW;
    std::string SeriesNumberingBrackets;
    std::string SeriesNumberingPunctuation;
    std::string SeriesNumberingCaptions;
    std::string SeriesNumberingAllPunctuation;
    std::string SeriesNumberingSeparator;
    std::string SeriesNumberingSuperscriptDigits;
    std::string SeriesNumberingSubscriptDigits;

    // ---- marc/record/: ISO 2709 output ----
    // Why the last MarcRecordOut gave "" for a record that does not fit the
    // format's widths; "" after every other output.
    std::string MarcRecordOutErrorText;
    // ---- marc/record/: field-order look-up memo ----
    // Every change of a field-order table counts FldOrderRulesGeneration up.
    // FldOrderRuleMemo keeps, per family (A, B, H, other) and digit tag 000 to
    // 999, the first rule whose range holds the tag (0 for none, -1 not yet
    // looked up), valid while its generation is the tables' one.
    uint32_t FldOrderRulesGeneration = 1;
    uint32_t FldOrderRuleMemoGeneration[4] = {};
    std::vector<int16_t> FldOrderRuleMemo[4];
    // ---- marc/record/: subfield-order test ----
    // Titles before the subfield under test, kept across the tests of one
    // shifting run (SfdTitleRunDepth above 0) so that each test after a shift
    // by one place costs no walk of the field.
    int16_t SfdTitleRunDepth = 0;
    bool SfdTitleCacheValid = false;
    int16_t SfdTitleCacheField = -1;
    int16_t SfdTitleCacheSubfield = -1;
    int16_t SfdTitleCachePrev = -1;
    int16_t SfdTitleCacheNext = -1;
    int32_t SfdTitleCacheCount = 0;
    // ---- marc/record/: subfield placement while a field is split ----
    // Of the field SfdSplitField, whose first SfdSplitCount subfields the split
    // has placed: whether one of them is a $t, and, while SfdSplitSorted, that
    // they stand in the order of their rank under the rule of generation
    // SfdSplitRuleGeneration (SfdOrderRank), with the last subfield of each
    // rank, ranks ascending. A new subfield then goes straight to its place.
    int16_t SfdSplitField = -1;
    int16_t SfdSplitCount = 0;
    // The field being split (-1: none) and the first slot of its table that
    // the split took into use without recycling it (-1: none; NewSubfieldSlot).
    int16_t SfdSplitFreshField = -1;
    int16_t SfdSplitFreshFrom = -1;
    bool SfdSplitTitle = false;
    bool SfdSplitSorted = false;
    uint32_t SfdSplitRuleGeneration = 0;
    std::vector<std::pair<int64_t, int16_t>> SfdSplitLastOfRank;
    // Counts the changes of SfdOrderCurrent to another rule.
    uint32_t SfdOrderCurrentGeneration = 0;
    // ---- marc/record/: subfield-order rule look-up ----
    // The rule index found for a numeric tag (-1: not looked up), per family
    // table (authority, bibliographic, holdings, other), kept from record to
    // record while the table stays the same: every change of a rule table
    // forgets them (SfdOrderMemo::Forget).
    int16_t SfdOrderMemoDepth = 0;
    const SubfieldOrderRule* SfdOrderMemoRules[4] = {};
    int16_t SfdOrderMemoCount[4] = {};
    std::vector<int16_t> SfdOrderMemoIndex[4];
    // The compiled rules of each family table by rule index, made on first
    // use and kept until a rule table changes (SfdOrderMemo::RulesChanged).
    std::vector<std::shared_ptr<const CompiledSubfieldOrderRule>> SfdOrderCompiled[4];
    // The numeric tag and the family table of the last look-up, whose rule
    // is SfdOrderCurrent (no table: none), so that the loads of one field's
    // rule after the first cost a comparison; forgotten with the look-ups.
    const std::vector<SubfieldOrderRule>* SfdOrderLastTable = nullptr;
    char SfdOrderLastTag[3] = {};
    // The record format of that look-up when it was one octet (else -1), so
    // that a repeated load under the same format skips the family look-up.
    int16_t SfdOrderLastFormat = -1;

    // ---- state of later members, by folder ----
    // marc/record/: field table stand-ins
    // The order key of a field while the tests supply one (tag, indicators, text).
    std::function<std::string(const std::string&, const std::string&, const std::string&)> FldOrderKeyForTests;
    // marc8/
    bool MarcRecordTranslated = false;
    // normalize/
    // The comparison form of every octet of set "V" (entries 0 to 255) and of
    // sets "M" and "O" (256 to 511); empty until the first 8-bit form.
    std::vector<NormOctetForm> NormOctetForms;
    // marc/display/
    // marc/text/
    // marc/xml/: the form-5 profile switch of one call.
    bool LocalProfile = false;
    // The line starts of one call: two TABs, CR LF and two TABs, three TABs,
    // CR LF and three TABs.
    std::string XmlTabTab;
    std::string XmlCrlfTabTab;
    std::string XmlTabTabTab;
    std::string XmlCrlfTabTabTab;
    // The local repository's handle prefix the MODS identifiers put before an
    // 856 $9; empty by default, which leaves the handle identifier out.
    std::string LocalHandlePrefix;
    // marc/rules/: series numbering
    // The output set the series-numbering tables were built in; they are
    // built again when CharacterSetOut has changed since.
    std::string SeriesNumberingTablesSet;
    // The caption abbreviations, joined on first use.
    bool CaptionAbbreviationTableBuilt = false;
    std::string CaptionAbbreviationTable;
    // ---- marc8/: decomposition of UTF-8 records on load ----
    // The preference that turns the decomposition off has been read, and what it said.
    bool AutoDecomposePreferenceRead = false;
    bool AutoDecomposeBypassed = false;
    // ---- marc8/: MARC-8 to UTF-8 of fields and records ----
    // Set while the record walk translates from MARC-8: the field octets are then in
    // CharacterSetInEffective, otherwise in CharacterSetOut.
    bool Marc8ToUtf8RecordRun = false;
};

class Utf8MarcRecordClass {
public:
    // Reads the four options of "MarcRecordClass.INI" and fills every default;
    // holds no record until a load or NewRecord.
    Utf8MarcRecordClass();
    ~Utf8MarcRecordClass();
    Utf8MarcRecordClass(const Utf8MarcRecordClass&) = delete;
    Utf8MarcRecordClass& operator=(const Utf8MarcRecordClass&) = delete;

    // ---- marc/record/: construction and settings ----

    // Starts an empty record of the given type (leader/06) and level (leader/07)
    // from DefaultLeader, in the output set in force.
    void NewRecord(const std::string& sRecordType, const std::string& sBibliographicLevel);
    // One digit that orders 653 fields with a blank second indicator.
    std::string SortingIndicatorFor653Field() const;
    void SortingIndicatorFor653Field(const std::string& vNewValue);
    // Blank-separated codes of the national authority institutions; set stores
    // the comparison form of the value.
    std::string NationalAuthorityInstitutions() const;
    void NationalAuthorityInstitutions(const std::string& vNewValue);

    // ---- marc/record/: leader, format code and default 008 ----

    // The RecordFormatCode of a leader ("" for the record's own), of a type
    // code, or of leader/06-07 given as two characters.
    std::string SetFormatCode(const std::string& sMarcLeader);
    // Leader/06 "a" with leader/07 "b", "i" or "s".
    bool SerialBibliographicRecord(const std::string& sLeader);
    // Writes a value into the leader at a zero-based position, under the guard
    // of leader/06 and keeping the format code and output set in step.
    void ChangeLeaderValue(int16_t iStartingPosition, const std::string& sNewLeaderValue);
    // The default 008 of a format: the date (today's "yymmdd" unless six
    // characters are supplied) and the format's template from position 06.
    std::string Default008(const std::string& sSingleCharacterMarcFormatCode,
                           const std::string& sSuppliedDateOfCreation);

    // ---- marc/record/: field and subfield order rules ----

    // Empty a family's field-order table (only while the record has no fields).
    void ClearFldOrder(const std::string& sMarcFormat);
    // Add a field-order rule to a family's table (only while the record has no fields).
    void SetFldOrder(const std::string& sMarcFormat, const std::string& sBeginTag, const std::string& sEndTag,
                     int16_t iSortMethod);
    void SetDefaultFldOrderAuth();
    void SetDefaultFldOrderBib();
    void SetDefaultFldOrderHold();
    // Empty a family's subfield-order table, whether or not the record has fields.
    void ClearSfdOrder(const std::string& sMarcFormat);
    // Compile a subfield-order pattern into the family's rule for a tag (only
    // while the record has no fields).
    void SetSfdOrder(const std::string& sMarcFormat, const std::string& sTag, const std::string& sInstruction);

    // ---- marc/record/: order keys, order summaries, order files, local institution codes ----

    // One line per field-order rule of "A", "B" or "H" (CR LF between lines);
    // "" for any other letter.
    std::string SummarizeFieldOrderInstructions(const std::string& sType);
    bool FldOrderChanged() const;
    // The folder of the order files; set reads them (only while the record
    // has no fields, and only when the value changes).
    std::string FldOrderFolder() const;
    void FldOrderFolder(const std::string& vNewValue);
    // The local institution codes, blank-separated.
    std::string Nuc() const;
    void Nuc(const std::string& vNewValue);

    // ---- marc/record/: text helpers ----
    // Positions count octets from 1 unless RecordIsUtf8 makes a member count
    // UTF-8 characters. None loops on any argument; none raises but where said.

    // Replace iLengthToRemoveInOctets octets at the start by the replacement;
    // a start outside the text inserts at the nearer end. Never raises.
    std::string SafeStuff(const std::string& sOriginalText, int32_t lStartingPositionInOctets,
                          int16_t iLengthToRemoveInOctets, const std::string& sReplacementText);
    // Substring that tolerates any start and length; -1 means to the end.
    std::string SafeMid(const std::string& sSourceString, int32_t lStart, int32_t lLengthInCharacters,
                        bool bStartIsGivenInUtf8CharactersNotOctets = false);
    // The last characters; a length of 0 or below gives "".
    std::string SafeRight(const std::string& sSourceString, int32_t lLengthInCharacters);
    // Last position of a text within another, 0 when absent; yields before every comparison.
    int32_t Rat(std::string sSourceString, std::string sStringToFind);
    int32_t RatExtended(const std::string& sSourceString, const std::string& sStringToFind,
                        std::optional<int32_t> ComparisonType = std::nullopt);
    // Replace every occurrence of a text, scanning from the right.
    std::string ReplaceCharacters(const std::string& sIn, const std::string& sCharacterToRemove,
                                  const std::string& sReplacementCharacter,
                                  bool bReplaceMultipleSpacesWithSingle = false);
    // Collapse every run of a text to one copy.
    std::string RemoveRepeatedCharacters(const std::string& sOriginalString,
                                         const std::string& sSingleCharToRemoveIfMultiple);
    std::string RemoveSpaces(const std::string& sText);
    std::string AddSpacesAroundDelimiters(const std::string& sInputMarcString);
    std::string RemoveSpacesAroundDelimiters(const std::string& sText);
    // Each delimiter (with its code, for a blank or empty replacement) replaced.
    std::string RemoveDelimiters(const std::string& sMarcText, const std::string& sDelimiterReplacement);
    // The text of the next subfield with the code from a position on; returns
    // the position to continue from, 0 when there is none.
    int32_t ExtractSubfield(const std::string& sOriginalField, const std::string& sSubfieldCodeWithoutDelimiter,
                            std::string& sReturnedSubfieldText, int32_t lStartingPosition = 1);
    // Octet position of the first difference within the shorter length, 0 for none.
    int32_t CLCL(const std::string& sString1, const std::string& sString2);
    std::string LeftPad(const std::string& sIn, int16_t iFinishedLengthInOctets,
                        const std::string& sPaddingCharacter);
    std::string LeftPadNumber(int32_t lIn, int16_t iFinishedLengthInOctets, const std::string& sPaddingCharacter);
    std::string RemoveLeadingCharacter(const std::string& sOriginalString, const std::string& sCharacterToRemove);
    std::string RemoveTrailingCharacter(const std::string& sOriginalString, const std::string& sCharacterToRemove);
    // Remove a phrase from the front of a text, comparing comparison forms
    // (UTF-8 records only); True when it was removed.
    bool RemoveTextFromFront(const std::string& sTextToRemove, std::string& sTextFromWhichToRemove,
                             bool bRemoveAdditionalNulls);
    // The smaller of two positions, a 0 ignored.
    int32_t LesserNonZero(int32_t lNumeral1, int32_t lNumeral2);

    // ---- marc/record/: case and character-class helpers ----
    // In a UTF-8 record each character goes through the shared character
    // object; in an 8-bit record only the ASCII and MARC-8 special letters
    // have case. Subfield codes never change case.

    std::string SafeUCase(const std::string& sSourceString);
    std::string SafeLCase(const std::string& sSourceString);
    std::string UCaseFirstWord(const std::string& sString, bool bUppercaseAtHyphens = false);
    std::string LCaseFirstWord(const std::string& sString);
    std::string SafeTitleCase(const std::string& sSourceString, const std::string& sWordsNotToBeUppercased);
    std::string SafeSentenceCase(const std::string& sSourceString);
    // A settings text read as a Boolean: TRUE, YES, Y, T or 1 in any case.
    bool IsTrue(const std::string& sInput);
    // Decimal digit test; the value goes to iReturnValue unless it holds -99.
    bool CharIsNumeric(const std::string& sInChar, int16_t& iReturnValue);
    bool CharIsAlpha(const std::string& sInChar);
    bool CharIsUpper(const std::string& sInChar);
    bool CharIsLower(const std::string& sInChar);
    bool StringIsNumeric(const std::string& sInString, const std::string& sAdditionalAllowedCharacters);
    std::string CharCategory(const std::string& sChar);
    int32_t SafeLen(const std::string& sString);
    int32_t LengthInCharacters(const std::string& sString);
    std::string LastNondiacriticCharacter(const std::string& sMarcString);

    // ---- marc/record/: ISO 2709 input and output, leader, 008 and fixed fields ----

    // Loads a record text: repairs a leader that lost characters, tests it
    // with IsMarc, builds the field table from the directory in the record's
    // own set and translates it into the output set. Get: the text as last
    // accepted (after the repair); "" after a failed or empty load.
    std::string MarcRecordIn() const;
    void MarcRecordIn(const std::string& sMarcRecord);
    // The eight structural tests of a record text, in order; the first that
    // fails sets IsMarcErrorText. Does not touch the record.
    bool IsMarc(const std::string& sSuspect);
    std::string IsMarcErrorText() const;
    // What the last load found damaged in a record it still loaded: "" after
    // the load of an undamaged record and after a refused load; otherwise
    // one message on the first damaged entry in directory order. It names a
    // field by its tag and says what happened to it, e.g. "Field 245 has no
    // field terminator" (its span does not end with one), "Field 520
    // overlaps field 893" (the spans share octets), "Field 100 reaches past
    // the end of the data", "Field 245 is read one octet later than its
    // directory entry says", "Field 650 has length 0 and is dropped"; or it
    // names the directory entry by its number where the entry names no
    // field: "Directory entry 3 has no tag of three printable characters"
    // (with "; its field is dropped" when the entry held a field), "Directory
    // entry 12 has only 1 octet" (stray octets after the last entry). A
    // field's content is its span up to the first field terminator in it, or
    // the whole span (cut at the end of the data) when it holds none; a span
    // a little off its field is read where the field stands (see
    // LoadFieldsFromDirectory). A record from which no field can be read is
    // refused: IsMarcErrorText then says "No readable field in the record".
    // Fields whose tag is three printable characters but not digits (local
    // tags such as FMT or CAT) are kept: a data field when a delimiter follows
    // two indicator characters, else a control field; they sort after the
    // digit tags and keep their tag and kind through rewrites and output. A
    // second 008 is kept as a field of its own; the 008 members work on the
    // first.
    std::string LoadWarningText() const;
    std::string MarcRecordFormat() const;
    bool IsAuthority() const;
    // The record as ISO 2709 text in the set it is held in; "" for a record
    // without fields, and "" with MarcRecordOutErrorText for one that does
    // not fit the format's widths.
    std::string MarcRecordOut();
    std::string MarcRecordOutErrorText() const;
    // The directory of the last loaded record; the current field's entry in it.
    std::string Directory() const;
    std::string FldDirectory() const;
    int16_t Fld008Length() const;
    // The leader; set takes the per-position changes of 05-09 and 17-19 in
    // turn, then stores the first 24 characters of the value.
    std::string Leader() const;
    void Leader(const std::string& vNewValue);
    // Zero-based reads of the leader and the 008; "" when they do not apply.
    std::string GetLeaderValue(int16_t MarcLeaderPosition, int16_t MarcLeaderLength);
    std::string Get008Value(int16_t Marc008Position, int16_t Marc008Length);
    // Zero-based reads and changes of the current field when it is an 006,
    // 007 or 008; an empty one first gets the blank template of its kind.
    std::string GetFixedField(int16_t iMarcStartingPosition, int16_t iLength);
    void ChangeFixedField(int16_t iMarcStartingPosition, int16_t iLength, const std::string& sNewValue);
    // ---- marc/record/: subfield table, subfield editing, subfield cursor and search ----
    // Every member works on the current field (FldPointer) and its current
    // subfield (SfdPointer); without them they do nothing or give "", False or
    // -1 (SfdDeleted gives True).

    // Adds a subfield at the end of the current field, with the special cases
    // of 035 OCLC numbers, $6 while editing, a control field's one subfield and
    // the first subfield of a field.
    void SfdAdd(const std::string& sSubfieldCode, const std::string& sSubfieldText);
    // Insert before or after the current subfield (before the first or after
    // the last one when there is none), then let the order rule place it.
    void SfdInsertBefore(const std::string& sSubfieldCode, const std::string& sSubfieldText);
    void SfdInsertAfter(const std::string& sSubfieldCode, const std::string& sSubfieldText);
    // Replaces code and text of the current subfield and rewrites the field.
    void SfdChange(const std::string& sSubfieldCode, const std::string& sSubfieldText);
    // Flags the current subfield deleted; with the flag, a 245 or 8XX $h hands
    // the punctuation after its last "]" to the subfield before it.
    void SfdDelete(bool bConsider245HPunctuation);
    void SfdUndelete();
    // Move the current subfield one place, then let the order rule settle it.
    void SfdShiftLeft();
    void SfdShiftRight();
    std::string SfdCode() const;
    void SfdCode(const std::string& vNewValue);
    std::string SfdText() const;
    void SfdText(const std::string& vNewValue);
    std::string SfdNorm() const;
    std::string SfdNormNaco() const;
    bool SfdDeleted() const;
    bool SfdBoolean1() const;
    void SfdBoolean1(bool vNewValue);
    bool Sfdboolean2() const;
    void Sfdboolean2(bool vNewValue);
    // Delimiter + the code's first character.
    std::string SfdDelim(const std::string& sSubfieldCode);
    // Delimiter + code + text; trims the code in place and cuts it to one
    // character (the one after a leading delimiter).
    std::string SfdMake(std::string& sSubfieldCode, std::string& sSubfieldText);
    // The number of bibliographic subfield-order rules.
    int16_t SfdMax() const;

    // The cursor. Moves never skip deleted subfields; finds do. Top and bottom
    // stand before the first and after the last subfield.
    bool SfdMoveFirst();
    bool SfdMoveLast();
    bool SfdMoveNext();
    bool SfdMovePrev();
    bool SfdMoveTop();
    bool SfdMoveBottom();
    // Finds by a list of codes ("" reuses the last list) and a prefix of the
    // comparison form ("" applies none).
    bool SfdFindFirst(const std::string& sSubfieldCode, const std::string& sNormalizedSubfieldText);
    bool SfdFindNext(const std::string& sSubfieldCode, const std::string& sNormalizedSubfieldText);
    bool SfdFindLast(const std::string& sSubfieldCode, const std::string& sNormalizedSubfieldText);
    bool Sfdfindprev(const std::string& sSubfieldCode, const std::string& sNormalizedSubfieldText);
    // The finds without a text, with the cursor, its found state and the
    // saved code list put back.
    bool SfdTestFirst(const std::string& sSubfieldCode);
    bool SfdTestNext(const std::string& sSubfieldCode);
    bool SfdTestPrev(const std::string& sSubfieldCode);
    int16_t SfdPointer() const;
    void SfdPointer(int16_t vNewValue);
    bool SfdWasFound() const;

    // The switches the subfield editing reads and the results it sets.
    bool TestSubfieldOrder() const;
    void TestSubfieldOrder(bool vNewValue);
    bool IgnoreSfdOrder() const;
    void IgnoreSfdOrder(bool vNewValue);
    bool SubfieldsOutOfOrder() const;
    bool SfdOrderChanged() const;
    std::string FldsWithSfdsOutOfOrder() const;

    // ---- marc/record/: field table, field editing and field cursor ----
    // Every member works on the current field, FldPointer; without one the
    // members that need it do nothing and the gets give "", False or 0.
    // Fields are never removed: a delete only flags the entry, and a rewrite
    // that moves a field leaves the old entry deleted.

    // Adds a field placed by its order key; the cursor ends on it. A tag that
    // is not three digits adds nothing; a second 008 changes the first. A
    // text needing more than 32,767 subfields raises error 6 and adds nothing.
    void FldAdd(const std::string& sNewTag, const std::string& sNewIndicators, const std::string& sNewFieldText,
                bool bForceToFirstPosition);
    void FldAddGeneric(const std::string& sNewTag, const std::string& sNewIndicators,
                       const std::string& sNewFieldText, int16_t iForceTagLength);
    // Insert next to the current field (the last live one without a current
    // field) when the order keys allow it, else add in order.
    void FldInsertBefore(const std::string& sNewTag, const std::string& sNewInd, const std::string& sNewFieldText);
    void FldInsertAfter(const std::string& sNewTag, const std::string& sNewInd, const std::string& sNewFieldText);
    // Rewrite the current field's tag, indicators and text (an empty tag keeps
    // all three); in place when it still fits its neighbours, else moved. A
    // new tag that is not three digits changes nothing, unless the field
    // carries it already; such a field stays a control or a data field as it
    // was loaded. A data field's text gets "$a" in front when it does not
    // begin with a subfield. A text needing more than 32,767 subfields raises
    // error 6 before anything changes (also for FldText let and FldTag let).
    void FldChange(const std::string& sTag, const std::string& sIndicators, const std::string& sField);
    void FldReset(const std::string& sTag, const std::string& sIndicators, const std::string& sField);
    // The current field's text: delimiter, code and text of every live
    // subfield; a control field's text alone. Let "" deletes every subfield.
    std::string FldText() const;
    void FldText(const std::string& vNewValue);
    // The live subfields whose code is in the include list (empty: digits and
    // lower-case letters) and not in the exclude list.
    std::string FldTextWithOnlyCertainSubfields(const std::string& sSubfieldsToInclude,
                                                const std::string& sSubfieldsToExclude) const;
    std::string FldTag() const;
    void FldTag(const std::string& vNewValue);
    std::string FldInd() const;
    void FldInd(const std::string& vNewValue);
    std::string FldInd1() const;
    void FldInd1(const std::string& vNewValue);
    std::string FldInd2() const;
    void FldInd2(const std::string& vNewValue);
    bool FldIsControl() const;
    bool FldDeleted() const;
    bool FldChanged() const;
    void FldChanged(bool vNewValue);
    bool FldBoolean1() const;
    void FldBoolean1(bool vNewValue);
    bool FldBoolean2() const;
    void FldBoolean2(bool vNewValue);
    // Flags the current field deleted; it stays linked and counted.
    void FldDelete();
    // Does nothing: a deleted field stays deleted.
    void FldUndelete();
    void FldLoadInfo(std::string& sTag, std::string& sIndicators, std::string& sField);
    void FldGetInfo(std::string& sTag, std::string& sIndicators, std::string& sField);
    // Swap the current field with its linked predecessor when both have the
    // same order key; ShiftDown does so from the next live field.
    void FldShiftUp();
    void FldShiftDown();
    // Clears the Changed flag of every live field, yielding once per field;
    // the cursor is put back.
    void FldChangedClearAll();
    void DisplayWithStack();
    int32_t CountWithStack();
    // Writes a value into the 008 at a zero-based position (ending by 008/39)
    // and marks the 008 changed; nothing without an 008, for a negative
    // position or one past the end of its text.
    void Change008Value(int16_t iStartingPosition, const std::string& sNew008Value);

    // The order switches placement reads, and its results.
    bool TestFieldOrder() const;
    void TestFieldOrder(bool vNewValue);
    bool MakeNoChange() const;
    void MakeNoChange(bool vNewValue);
    bool PreserveLeadingNumericSubfields() const;
    void PreserveLeadingNumericSubfields(bool vNewValue);
    bool FldsOutOfOrder() const;
    bool MarcRecordModified() const;

    // The field cursor. Let of an index outside the table leaves no current
    // field; on a field it puts the subfield cursor on the first subfield.
    int16_t FldPointer() const;
    void FldPointer(int16_t vNewValue);
    bool FldWasFound() const;
    // Moves in list order; with skipping they pass deleted fields, yielding
    // once for each. They return FldWasFound.
    bool FldMoveFirst(const bool& bSkipDeletedFields);
    bool FldMoveNext(const bool& bSkipDeletedFields);
    bool FldMovePrev(const bool& bSkipDeletedFields);
    bool FldMoveLast(const bool& bSkipDeletedFields);
    // Before the first live field and after the last one.
    bool FldMoveTop();
    bool FldMoveBottom();
    // Finds of a live field by tag list ("X" matches any character) and by
    // the beginning of its comparison form; empty arguments reuse the saved
    // search under each find's own rule.
    bool FldFindFirst(const std::string& sTagToFind, const std::string& sNormalizedFieldText);
    bool FldFindNext(const std::string& sTagToFind, const std::string& sNormalizedFieldText);
    bool FldFindLast(const std::string& sTagToFind, const std::string& sNormalizedFieldText);
    bool FldFindPrev(const std::string& sTagToFind, const std::string& sNormalizedFieldText);
    // Whether the find would succeed; the cursor, the saved tags and
    // FldWasFound are put back.
    bool FldTestFirst(const std::string& sTag);
    bool FldTestNext(const std::string& sTag);
    bool FldTestPrev(const std::string& sTag);
    bool FldTestLast(const std::string& sTag);
    // Tags of the linked neighbours, deleted or not.
    std::string FldNextTag() const;
    std::string FldPrevTag() const;
    bool TagCompare(const std::string& sTagWantedOrListOfTags, const std::string& sComparisonTag,
                    int16_t iTagWantedLength = 0) const;

    // ---- marc/record/: record kind and heading tests ----

    // An authority record (format "A") from a national authority file: it has
    // an 010, or an 035 whose $a holds a code of NationalAuthorityInstitutions
    // or begins with an authority-number prefix ("SH", "N ", "NO" ...), or an
    // 040 with $a DNLM. sReturnedAuthorityStandardNumber receives "010: " or
    // "035: " and the text found ("" for the 040). The field cursor is put back.
    bool NationalAuthorityRecord(std::string& sReturnedAuthorityStandardNumber);
    // The current 4XX or 5XX field of an authority record is an earlier form
    // of the heading ($w/02 not "n"), or a reference not to be displayed
    // ($w/03 not "n"); a $w too short for the position reads "n" there. The
    // subfield cursor is put back.
    bool FldIsFormerHeading();
    bool FldIsSuppressedReference();
    // $w/02 of the first live $w of the current field, trimmed, is not "n",
    // whatever the tag; the subfield cursor does not move.
    bool FldFormerHeading();
    // A diagnostic of the tables: does nothing.
    void DumpArray(const std::string& sTagList, bool bIncludeSubfieldDetails);

    // ---- marc8/: character sets and the record's named characters ----

    // The configured input set ("V", "O", "M", "U" or "L"); get gives the set
    // of the record last loaded when there is one.
    std::string CharacterSetIn() const;
    void CharacterSetIn(const std::string& vNewValue);
    // The set the record is held in; "Y" is taken as "M", "ULC" as "U" with
    // the LC pattern of bidirectional controls.
    std::string CharacterSetOut() const;
    void CharacterSetOut(const std::string& vNewValue);
    // Leader/09 of the record last given to the load; a blank after an empty
    // or invalid one.
    std::string CharacterEncodingScheme() const;
    // The last translation run changed at least one field.
    bool MarcRecordTranslated() const;
    // The verdict on an 8-bit record's octets after the leader ("M", "O",
    // "V", "X" for "V" or "O", "Y" for "M" or "V"), followed by
    // " Illegal character(s): " and their decimal values when there are any;
    // "U" when leader/09 is "a". An empty text means the record last loaded.
    std::string CharacterizeCharacterSet(const std::string& sMarcRecord);

    // The named characters in the record's encoding: the UTF-8 form while the
    // record is held in UTF-8, else the MARC-8 form for the output set.
#define MarcTvyerdiZnak MarcTverdiiZnak  // the record's spelling of the hard sign
#define EXITDESK_NAMED_FIXED(X, marc8, ucs) OctetString Marc##X();
#define EXITDESK_NAMED_BY_SET(X, marc8, v, o, ucs) OctetString Marc##X();
#define EXITDESK_NAMED_RUN(X, set, octet, v, ucs) OctetString Marc##X();
#include "marc8/named_characters.def"
#undef EXITDESK_NAMED_FIXED
#undef EXITDESK_NAMED_BY_SET
#undef EXITDESK_NAMED_RUN
#undef MarcTvyerdiZnak
    // Control characters: the same octets in every encoding (the nonfiling
    // marks in their MARC-8 octets).
    OctetString MarcNonSortBegin();
    OctetString MarcNonSortEnd();
    OctetString MarcEscape();
    OctetString MarcDelimiter();
    OctetString MarcEndOfField();
    OctetString MarcEndOfRecord();
    OctetString MarcFill();
    // Directional controls: "" in an 8-bit set.
    OctetString MarcRightToLeftMarker();
    OctetString MarcLeftToRightMarker();
    OctetString MarcLeftToRightEmbedding();
    OctetString MarcPopDirectionalFormatting();
    OctetString MarcRightToLeftEmbedding();
    OctetString MarcLeftToRightOverride();
    OctetString MarcRightToLeftOverride();
    OctetString MarcSpacingUnderscore();

    // ---- marc8/: UTF-8 to MARC-8, one character ----

    // The designation written after the escape when a MARC-8 field switches to the table of a
    // table code ("1" gives "(B", "9" gives "$1"); any other text is returned unchanged.
    std::string TranslateUtf82MarcShortCodeToLong(const std::string& sShortCharacterSetCode) const;

    // ---- marc8/: MARC-8 to UTF-8 of fields and records ----

    // One MARC-8 (or "O", "V") field to UTF-8: escapes switch the G0 and G1 tables, marks move
    // behind their base character, "&#x...;" references are decoded, the nonfiling count loses
    // marks at the end of its zone. bChanged and bError are only ever set to True.
    void TranslateMarc2Utf8OneField(std::string sMarcRecordFormat, std::string sTag, std::string& sIndicators,
                                    std::string& sField, bool& bChanged, bool& bError);
    // One piece with no escape under the G0 and G1 codes; "880" lets any set hold marks.
    void TranslateMarc2Utf8Text(std::string& sMarc8CharacterSetCode0, std::string& sMarc8CharacterSetCode1,
                                std::string sTag, std::string& sText, bool& bChanged, bool& bError);
    // The code of the escape at 1-based iEscape of sWork; sWork loses the escape and all before it.
    void TranslateMarc2Utf8OneFieldFindBreakAdjustCode(std::string& sNextCharacterSet, int32_t iEscape,
                                                       std::string& sWork);
    // Right-to-left marks around the subfields of Hebrew and Arabic 880 fields.
    std::string TranslateMarc2Utf8OneFieldLcPattern(std::string sTag, std::string sOut);
    // Kept in the interface; they do nothing.
    void TranslateMarc2Utf8OneField_Save(std::string sMarcRecordFormat, std::string sTag, std::string& sIndicators,
                                         std::string& sField, bool& bChanged, bool& bError);
    void TranslateMarc2Utf8OneFieldFindBreak_Save(std::string& sWork, std::string& sPiece, std::string sCharacterSet,
                                                  std::string& sNextCharacterSet);

    // ---- marc8/: UTF-8 to MARC-8 of fields and records ----

    // One UTF-8 field (delimiters included) to MARC-8, subfield by subfield: an escape at every
    // change of code table, marks before their base character, "&#x...;" for a character MARC-8
    // lacks (and for each malformed octet, as U+FFFD), every subfield ending in the basic set.
    // 880 fields join digits and punctuation to their script runs, record the script in $6 and
    // extend sMarc8CharacterSetCodes (" 5  7 ", one record's codes). bChanged and bError are only
    // ever set to True.
    void TranslateUtf82MarcOneField(std::string& sMarc8CharacterSetCodes, std::string& sTag, std::string& sText,
                                    bool& bChanged, bool& bError);
    // Whether every character of a UTF-8 text belongs to the basic or extended Latin tables;
    // the empty text does. The last character tested stays the current one of MyUtf8Char.
    bool Utf8TextContainsOnlyMarc8Characters(std::string sIn);
    // Kept in the interface; it does nothing.
    void TranslateUtf8Text2Marc(std::string& X, std::string& Y);

    // ---- marc8/: single-byte set translation, 8-bit text to UTF-8, the ----
    // ---- combining-mark buffer, 880 linkage and vernacular scripts      ----

    // Puts the table of a translation mode in force: 0 "M2O", 1 "M2V",
    // 2 "O2M", 3 "O2V", 4 "V2M", 5 "V2O"; other numbers and the mode in force
    // change nothing.
    void SetUpTranslation(int32_t& Translation);
    // One piece of an 880 field through the mode in force.
    void Translate880FieldTranslateThePiece(std::string& sPiece, bool& bChanged);
    // 8-bit Latin text (read in CharacterSetOut) to UTF-8, each MARC-8
    // combining mark moved behind the character that follows it; other sets
    // reached by escapes character by character; what no table holds as
    // "[MARC+hh]". sText is rewritten only when bChanged ends True.
    void LatinMarc8Text2Utf8(std::string& sText, bool& bChanged);
    // The combining-mark buffer: collect the marks of one base character with
    // their class from a class list, then take them in canonical order
    // (ascending class, class-230 marks in reverse arrival).
    void CollectCombiningMark(std::string sMark, std::string sClassList);
    std::string FlushCombiningMarks();
    // Linked tag, occurrence number (two digits at least) and "/"-led suffix of a $6.
    void IdentifySubfield6Pieces(std::string sIncomingSubfield6Text, std::string& sReturnTag,
                                 std::string& sReturnSequence, std::string& sReturnSuffix);
    // The current field's tag; for an 880 the linked tag of its first $6.
    std::string FldTagTrue() const;
    // Whether UTF-8 text holds non-Latin characters; the letter of each
    // script met is appended once to sCharacterSetsPresent. Yields once per
    // octet position.
    bool VernacularDataCharacterize(std::string sIn, std::string& sCharacterSetsPresent);
    bool VernacularDataPresent(std::string sIn);
    // The same tests on the live subfields of the current field, or on the
    // current subfield.
    bool FldCharacterizeVernacularData(std::string& sCharacterSetsContained);
    bool FldContainsVernacularData();
    bool SfdContainsVernacularData();
    // Hebrew or Arabic letters or a directional mark, embedding or override.
    bool ContainsRightToLeftCharacters(std::string sIn);

    // ---- normalize/: comparison forms ----

    // "V" or "P"; passed on to the shared character object.
    std::string NormalizationScheme() const;
    void NormalizationScheme(const std::string& vNewValue);
    // Comparison form of a text in the record's output set: capitals without
    // diacritics, punctuation blank or dropped, runs of blanks collapsed,
    // trimmed with bTrim. sScheme changes nothing. Sets other than "U", "V",
    // "M" and "O" give "". An 8-bit text beyond 32,767 octets raises error 6.
    std::string NormString(const std::string& sCharacterString, bool bTrim, const std::string& sScheme);
    // The NACO form of one subfield's text, always trimmed: under scheme "P"
    // in a UTF-8 record the commas of a heading's $a stay (a last one goes)
    // and the hyphen of an open date in a personal name's $d stays.
    std::string NormStringNaco(const std::string& sCharacterString, bool bTrim, const std::string& sScheme,
                               const std::string& sRecordFormat, const std::string& sTag,
                               const std::string& sSfdCode);

    // ---- normalize/: field normal forms, nonfiling characters, standard numbers ----

    // The form of a field given as tag, indicators and text, built from the
    // subfields that count for the tag and format: "V" joins their normal
    // forms with blanks; "P" and "Q" (NACO, almost NACO) keep delimiter and
    // code of each; any other scheme is "V". The counting subfields, as
    // given, go to sReturnedSubfieldsOfInterestButNotNormalized. The record's
    // NormalizationScheme is put back on every way out.
    std::string NormalizeWholeField(const std::string& sNormalizationScheme, const std::string& sMarcFormat,
                                    const std::string& sTag, const std::string& sIndicators,
                                    const std::string& sInputText,
                                    std::string& sReturnedSubfieldsOfInterestButNotNormalized);
    // The codes of the subfields that count in a heading of that tag and format.
    std::string ListSubfieldsForNormalization(const std::string& sFormat, const std::string& sTag);
    // The three forms of the current field ("" without one).
    std::string FldNorm();
    std::string FldNormNaco();
    std::string FldNormNacoAlmost();
    // The NACO form of an authority heading's raw field text.
    std::string GenerateNacoFormFromRaw(const std::string& sTag, const std::string& sField);
    // The current field's counting subfields as delimiter, code and text.
    std::string FldTextNormalizable();
    void FldLoadInfoNormalizable(std::string& sTag, std::string& sIndicators, std::string& sField);

    // A text without its leading nonfiling characters, by nonsort zone or by
    // the count in the tag's nonfiling indicator; that indicator of
    // sIndicators comes back "0".
    std::string RemoveNonfilingCharacters(const std::string& sRecordType, const std::string& sTag,
                                          std::string& sIndicators, const std::string& sField,
                                          bool bUppercaseFirstWord);
    // Removes every nonsort zone from the text; True when one was removed.
    bool RemoveNonfilingZone(std::string& sTextIn);

    // The comparison form of a number from an 010, 020, 022 or 035 field.
    std::string NormalizeStandardNumber(const std::string& sStandardNumberTag,
                                        const std::string& sStandardNumberText);
    // An ISSN, ISBN-10, 13-digit number or 10-character ISMN with a right
    // check character.
    bool CheckISXN(const std::string& sIsbnOrIssn);
    std::string ConvertISBN13To10(const std::string& s13CharacterISBN);
    std::string ConvertISBN10To13(const std::string& s10CharacterISBN);

    // ---- normalize/: call numbers ----

    // The searchable form of a shelf call number by the library system's
    // call-number type, compared exactly: "0", "2", "L", "N" Library of
    // Congress and National Library of Medicine; "1", "D" Dewey; "3", "S"
    // SuDoc; any other type the text in upper case, blanks collapsed,
    // trimmed. Never raises: a text the rules cannot take gives "".
    std::string NormalizeCallNumber(const std::string& sCallNumber, const std::string& sCallNumbertype);
    // Whether an 852 field carries a real call number: a non-empty $i always;
    // else a non-empty $h, unless the field shows one of the placeholders of
    // the database whose table-name prefix normalizes to "ZIZAZ".
    bool TestForCallNumber(const std::string& sIndicators, const std::string& sField, const std::string& sTnp);

    // The placeholders of TestForCallNumber: words whose presence in the
    // normalized $h marks a placeholder, the location code of the "nn-nnnn"
    // placeholders, and the normalized table-name prefix they apply to.
    struct CallNumberPlaceholderTable {
        const char* Words[6];
        const char* LocationCode;
        const char* TablePrefix;
    };
    static const CallNumberPlaceholderTable CallNumberPlaceholders;

    // ---- normalize/: sorting forms of fields, name dates and chronological subdivisions ----
    // A sorting form is a text whose plain octet comparison puts headings in
    // filing order. None of these raises for any text.

    // The sorting form of the current subfield ("" without a current field or
    // subfield): $a by its NACO form (in a personal name without the blanks
    // before its first ", "; elsewhere split at its first "("), $d and $y by
    // their date keys, any other code by its NACO form.
    std::string SfdSortingForm(bool bSubfieldComesFromPersonalNameHeading);
    // The sorting forms of the current field's counting subfields, each
    // behind its separator; a personal name's $q and $c wait for the next $d.
    // The subfield cursor is put back.
    std::string FldSortingForm(bool bIncludeRedundantSubfieldC);
    // The key of a name-date text ($d): start year and extension, era letter
    // "C" or "D", end year and extension, all digits but the era letter.
    std::string SfdSortingFormD(const std::string& sSfdText);
    // Four digits, month code and day, of a month and day text; "" for "".
    std::string SfdSortingFormDExtension(const std::string& sMonthAndDay);
    // The key of a chronological subdivision ($y); a text in which no period
    // is found comes back in its normal form.
    std::string SfdSortingFormY(const std::string& sSfdText);

    // ---- marc/display/: Windows-1252 text both ways, plain letters ----

    // Windows-1252 text in the record's encoding (UTF-8 while RecordIsUtf8 is
    // set, else MARC-8, with the "V" forms for output set "V"): letters with
    // a diacritic taken apart, other characters named, spelled out in ASCII or
    // dropped. Octets below 0x80 pass unchanged and every other octet is
    // replaced, so the result equals sIn exactly when sIn is ASCII.
    std::string MsoftAscii2Marc(const std::string& sIn);
    // Record text for display: Windows-1252 for an 8-bit record and, for a
    // UTF-8 record, in flavours 1 and 9; UTF-8 limited to U+0000-U+00FF for a
    // UTF-8 record in the other flavours. Marks merge with their letters,
    // delimiters show as " |a ", and what has no equivalent becomes the
    // bullet in flavours 2 and 9 (U+0095 in the UTF-8 form) and nothing in
    // the others.
    std::string Marc2MsoftAscii(const std::string& sIn, int32_t sFlavor);
    // UTF-8 text with each special Latin letter of the plain-letter table
    // (eng, U+0180-U+02AF) replaced by one or two ASCII letters. Yields to the
    // event loop before every character and once more at the end.
    std::string SubstituteRegularCharacters(const std::string& sIn);
    // UTF-8 text without its combining marks (category "Mn").
    std::string RemoveDiacritics(const std::string& sIn);

    // ---- marc/display/: diacritic labels, hex display, OCLC screen font ----

    // The text with every character of the diacritic-label table written as
    // "<-", its label name and "->": in a UTF-8 record the MARC repertoire,
    // the direction controls and the Hebrew and Arabic characters (whole,
    // well-formed characters only); in an 8-bit record the 62 MARC-8 octets
    // for the output set in force. Everything else stays octet for octet.
    std::string TranslateDiacriticsIntoLabels(const std::string& sText);
    // The label of the object's current character when it is one of the
    // Hebrew (Arabic) entries, judged by its 4-digit UcsHex; otherwise the
    // character's own octets.
    std::string TranslateDiacriticsIntoLabels_OneHebrewCharacter(const Utf8CharClass& LocalCharacterObject);
    std::string TranslateDiacriticsIntoLabels_OneArabicCharacter(const Utf8CharClass& LocalCharacterObject);
    // The reverse: each label whose name is in the table (exact octets)
    // becomes its character in the record's encoding at the time of the call;
    // a direction label vanishes in an 8-bit record, Hebrew and Arabic labels
    // stay there as they are. Other text, unknown labels included, stays.
    std::string TranslateLabelsIntoDiacritics(std::string sText);
    // Record text shown octet by octet: "\&H" and two hex digits for every
    // octet of a multi-octet character (UTF-8 record) or for every octet up
    // to 0x1E and from 0x80 (8-bit record); the delimiter as "|".
    std::string Marc2HexDisplay(std::string sField);
    // The reverse, in one pass from the left: "\&H" and up to two digits
    // become one octet ("0" to "9", "A" to "F" and "a" to "f" their values,
    // any other character 15), a "|" the delimiter; decoded octets are not
    // read again.
    std::string HexDisplay2Marc(std::string sField);
    // Pairs of hex digits (a leading "0" added to an odd count) as octets, by
    // the same digit rule. More than 32,768 digits raise error 6.
    std::string Hex2CharString(std::string sIn);
    // Record text of set "M", "O" or "V" in the OCLC screen font, through set
    // "V" (the translation mode stays in force): each run of combining marks
    // after the character it stood before (above marks first, each group in
    // reverse), the font's codes for script l, subscripts and superscripts,
    // ASCII labels for the Greek letters and five signs, 0xDF for the
    // delimiter. Text of other sets comes back unchanged. Yields to the event
    // loop once per octet of the walk.
    std::string Marc2OclcScreenFont(std::string sField);
    // The reverse into the record's set: marks back before their character
    // (above first before a special character, other first before an ASCII
    // one), codes to set "V" and then to "M" or "O", 0x02 to the alif; labels
    // are not read back. More than 32,767 octets raise error 6.
    std::string OclcScreenFont2Marc(std::string sField);

    // ---- marc/display/: RTF text ----

    // Record text as 7-bit RTF text: every character from U+0080 as "\u", its
    // code in decimal and "?" (beyond U+FFFF its two surrogates), "\", "{" and
    // "}" as \u92?, \u123?, \u125?, the delimiter as the double dagger
    // \u8225?; 8-bit text is translated to UTF-8 first, as the current field's.
    // A malformed octet is written by its own value. With the wrapper, a one-
    // paragraph document in Arial Unicode MS at the size; twice the size must
    // fit 16 bits (error 6).
    std::string TranslateMarc2RTF(std::string sIn, bool bIncludeRtfWrapper, int16_t iFontSizeForRtfInPoints);
    // The reverse: the paragraph's text cut out of such a document (after the
    // first "\fs" with a number and its blank, before the last "\par" control
    // word); in a UTF-8 record "\uN" escapes (N up to 65,535, negative N from
    // 65,536 down; a surrogate pair joined; the double dagger as the delimiter)
    // and "\'hh" escapes (Windows-1252) decoded in one pass, never read again.
    // Another N raises error 5.
    std::string TranslateRTF2Marc(std::string sIn);

    // ---- marc/text/: formatted text of fields, subfields and records, ----
    // ---- subject proposals, plain text and printer lines               ----

    // The current field (subfield) in output form iOutput: 0 hex display,
    // 1, 2, 9 Windows-1252 flavours, 3 raw, 4 subject proposal, 5 by tag 880,
    // 7, 8 plain (field: delimiters as blanks; subfield 7: Marc2PlainText),
    // 10 to 14 RTF (field member only); "" without a current field or form.
    std::string FldTextFormatted(int32_t iOutput, bool bIncludeRtfWrapper, int16_t iRtfFontSizeInPoints,
                                 const std::string& sSubfieldsToInclude, const std::string& sSubfieldsToExclude);
    std::string SfdTextFormatted(int32_t iOutput);
    // The whole record: a head (the leader line in form 3, else the fixed-field
    // block of style iFixedFieldFormat), then a line per live field that the tag
    // list lets through; with the RTF forms 10, 11, 13, 14 and the wrapper a
    // whole RTF document. The current field is the entry one on every way out.
    std::string TextFormatted(int32_t iOutput, int32_t iFixedFieldFormat, const std::string& sTagList,
                              bool bIncludeRtfWrapper, int16_t iRtfFontSizeInPoints);
    std::string TextRaw();
    // Field text as a subject-proposal line: "$" for the delimiter, special
    // letters and marks named in "{(}...{)}", other scripts left out.
    std::string Marc2SacoProposal(const std::string& sIn);
    // Record text as plain ASCII: plain letters, short forms of symbols, marks
    // and other scripts left out.
    std::string Marc2PlainText(const std::string& sIn);
    // One line of text as printer lines joined by CR LF, each fitting the
    // printable width of platform::PrinterMetricsInUse where a break point
    // allows; always ends and places every octet.
    std::string BreakLongLinesForPrinter(const std::string& sIn);

    // ---- marc/text/ ----

    // ---- marc/xml/: XML output frame, element helpers and MARCXML ----

    // The record as one UTF-8 XML document: form 0 MARCXML for every kind of
    // record; forms 2 and 4 Dublin Core (RDF, OAI); forms 1, 3 and 5 the MADS
    // (authority records) and MODS documents (form 5 with the local profile);
    // "" for any
    // other form or for a kind the form does not cover. The field and
    // subfield cursor and the output set are put back on every way out.
    // Under output set "L", and under any set whose translation back from
    // "U" is not built, error 5 is raised before anything changes.
    std::string XMLRecordOut(int32_t sForm);
    // The value between double quotes, nothing escaped.
    std::string AddQuotes(const std::string& sInputString);
    // One element; the closing tag names the part of sTag before its first blank.
    std::string XmlTags(const std::string& sTag, const std::string& sText);
    // Text for XML content or attribute values in one pass: the five special
    // characters as references; in UTF-8 text each character XML forbids and
    // each malformed sequence as U+FFFD; in 8-bit text the forbidden
    // controls dropped.
    std::string XmlConditionText(const std::string& sText);

    // ---- marc/xml/: MODS name builders ----

    // The current name field as a MODS name element appended to sOut after
    // sCrlfTabTab: its parts by kind of name (a $4 as a coded role term, a $u
    // as an affiliation), the role (for a personal name the first $e when
    // sRole is empty) as a text role term. Nothing without a $a. sAuthority
    // holding a double quote is pasted in as ready-made attribute text, so it
    // must be escaped by the caller; the record's own callers pass "naf", ""
    // or escaped text.
    void XmlModsAssembleNamePersonal(std::string& sOut, std::string sRole, std::string sType,
                                     std::string sCrlfTabTab, std::string& sAuthority);
    void XmlModsAssembleNameCorporate(std::string& sOut, std::string sRole, std::string sType,
                                      std::string sCrlfTabTab, std::string& sAuthority);
    void XmlModsAssembleNameConference(std::string& sOut, std::string sRole, std::string sType,
                                       std::string sCrlfTabTab, std::string& sAuthority);
    // One name element of the parts in sField ("<name >" without type and
    // authority); nothing when sField is empty. The role text is escaped.
    void XmlModsAssembleNameGeneric(std::string& sOut, std::string sField, std::string sType, std::string sRole,
                                    std::string& sCrlfTabTab, std::string& sAuthority);

    // ---- marc/xml/: MODS genre section ----

    // The coded genre terms of the MODS document (authority "marcgt"), each
    // on a line after sCrlfTabTab, appended to sOut: 008 positions by record
    // kind, and for a map whose 008/25 gives no term its 007 fields. Returns
    // sOut as it stands then. Moves the field cursor only for that 007 scan.
    std::string XmlRecordOutGenreSection(std::string& sOut, const std::string& sCrlfTabTab);

    // ---- marc/xml/: MODS identifier properties ----

    // The start of the URL that resolves a local handle, to which an 856 $9
    // is appended in the MODS "Handle" identifier; while empty that
    // identifier is left out.
    std::string LocalHandlePrefix() const;
    void LocalHandlePrefix(const std::string& vNewValue);

    // ---- marc/xml/: entity decoding ----

    // Text from XML or HTML back into record text (UTF-8 records only; an
    // 8-bit record gets the text unchanged): named entities of the entity
    // table, including its "#n" keys, give decomposed letters and ASCII
    // substitutes; with bTranslateUnknownAmpsersandNotations other numeric
    // references ("#n", "#xh", "xh") give the character when XML allows it
    // and stay as they are otherwise; C2 A0 becomes a blank; CR and LF are
    // removed. A reference ends at ";" (taken with it), a blank or a line
    // feed. Never raises.
    std::string XmlUnconditionText(const std::string& sText, bool bTranslateUnknownAmpsersandNotations);

    // ---- marc/rules/: cataloguing rules ----

    // ---- marc/rules/: OCLC-number options ----

    // How an OCLC number added as a 035 $a is treated: duplicates of another
    // 035 removed, no letter prefix, padded to eight digits. Each set writes
    // the option to "MarcRecordClass.INI", [Booleans], for the next object.
    bool RemoveDuplicateOclcNumbers() const;
    void RemoveDuplicateOclcNumbers(bool vNewValue);
    bool RemoveOclcAlphabeticPrefix() const;
    void RemoveOclcAlphabeticPrefix(bool vNewValue);
    bool OclcNumbersHaveLeadingZeroes() const;
    void OclcNumbersHaveLeadingZeroes(bool vNewValue);

    // ---- marc/rules/: full-stop rule ----

    // Whether the full stop at the end of a word, heading or field text is
    // part of it: 1 yes (an abbreviation, an initial, or no full stop at
    // all), 2 no (a digit before it, or the word stands elsewhere in the
    // record without it), 3 undecided. The field and subfield cursor stay.
    int16_t IsTheFullStopAtTheEndProbablyIntegral(std::string sHeadingOrWordToTest);

    // ---- marc/rules/: record tests for empty, leading and blank subfields ----

    // Each test empties sReturnMessages, writes one line per fault (lines
    // joined by CR LF) and returns whether it wrote any. Subfields whose
    // comparison form is empty, in the live fields as they now stand, chosen
    // by the list of the record's format; the cursor is put back.
    bool TestRecordForEmptySubfields(std::string& sReturnMessages);
    // Headings, titles and access fields of the record text as loaded that
    // do not begin with their expected subfield (bibliographic and
    // authority formats only).
    bool TestRecordForLeadingSubfield(std::string& sReturnMessages);
    // Fields of the record text as loaded with a delimiter followed by a blank.
    bool TestRecordForBlankSubfieldCodes(std::string& sReturnMessages);
    // The tags the empty-subfield test examines per format, matched anywhere
    // in the text; "*" (read back for an empty value) or fewer than three
    // characters mean every field.
    std::string FieldsToTestForEmptySubfieldsBib() const;
    void FieldsToTestForEmptySubfieldsBib(const std::string& vNewValue);
    std::string FieldsToTestForEmptySubfieldsAuth() const;
    void FieldsToTestForEmptySubfieldsAuth(const std::string& vNewValue);
    std::string FieldsToTestForEmptySubfieldsHold() const;
    void FieldsToTestForEmptySubfieldsHold(const std::string& vNewValue);

    // ---- marc/rules/: place names and indirect subdivisions ----

    // A place heading (plain, or a field's text with $a) as the subdivisions
    // $z larger place $z local place; a heading without a qualifier as one
    // $z; a qualifier that names a type of jurisdiction leaves it unchanged.
    std::string IndirectSubdivisionForm(const std::string& sHeading);
    // Replaces an abbreviated larger place by its full name. For the
    // District of Columbia sZ2 becomes "" and sField the whole heading; an
    // Australian place under "Australia" (the option False) keeps the whole
    // heading in sField too.
    void ExpandPlaceAbbreviation(std::string& sZ2, const std::string& sOldField, std::string& sField);
    // sIn, in comparison form, names a type of jurisdiction.
    bool IndirectSubdivisionFormIsJurisdiction(const std::string& sIn);
    // The abbreviation of a full place name, else sIn; the short name of the
    // Congo only when bOnlyReturnAbbreviations is False.
    std::string AbbreviatePlaceName(const std::string& sIn, bool bOnlyReturnAbbreviations);
    // True: Australian places under their state or territory; False: under
    // "Australia" with the heading kept whole.
    bool AustralianSubdivisionPractice() const;
    void AustralianSubdivisionPractice(bool vNewValue);

    // ---- marc/rules/: thesis notes, 502 recast, 533/539, GMD and dates ----

    // Reads a dissertation note (plain, or a 502's text with a leading $a) into
    // degree, institution and date; status 1 when read, else why not (99: it
    // already has $b, $c or $d; -1 to -12: see thesis_note.cpp). The
    // miscellaneous text may be set even when the status is not 1. The date
    // of 008/07-10 stands in when the note names none.
    int32_t ParseThesisNote(std::string sIncomingWhole502Field, std::string sDateFrom008_07,
                            std::string& sReturnedDegreeType, std::string& sReturnedInstitution,
                            std::string& sReturnedDate, std::string& sReturnedMiscellaneous,
                            bool bUppercaseDegreeType);
    // The option stored in "MarcRecordClass.INI"; the set writes it at once.
    // Output recasts the 502 fields whatever it holds.
    bool RdaReCast502Fields() const;
    void RdaReCast502Fields(bool vNewValue);
    // The 040 has a $e "rda" (an authority record only with 008/10 "z").
    bool RdaRecord();
    // The 15 characters of a 533 $7 as the text of a 539 field ($a to $g),
    // and back.
    std::string Convert533Sfd7To539(std::string s533Subfield7);
    std::string Convert539To533Sfd7(std::string sWhole539Field);
    // Adds a general material designation ($h) to the current field, in a
    // 245 before its $b or $c, taking over the punctuation before it.
    void FldInsertSubfieldH(std::string sSubfieldHText);
    // The text from its first four-digit number on (not beginning with "0"),
    // else the whole text.
    std::string FindDateInString(std::string sText);
    // ---- marc/rules/: series numbering, Roman numerals and numbering patterns ----

    // A series numbering ($v) in a form whose plain comparison gives filing
    // order: 1 the normal form, 2 numbers padded to eight digits, 3 the same
    // after leading captions, 4 the full sort key (captions dropped or
    // abbreviated, new-series and out-of-series codes, words that repeat the
    // heading removed). Any other mode gives "".
    std::string NormalizeSeriesNumberForSorting(int32_t NormalizationMode, const std::string& sOriginalHeading,
                                                const std::string& sHeading, const std::string& sSeriesSubfieldV);
    // The value of a text of Roman digits (capitals, blanks skipped); 0 for
    // any other character. A digit smaller than the largest to its right is
    // subtracted. A total outside 32 bits raises error 6.
    int32_t RomanNumberValue(const std::string& sNormalizedPutativeRomanNumeral);
    // True when the text, exactly as passed, is a Roman numeral written in
    // subtractive or additive form place by place.
    bool IsThisARomanNumeral(const std::string& sPotentialRomanNumeral);
    // The shape of a numbering: its normal form with every number "0" and a
    // Roman numeral "R"; the second keeps case and punctuation and writes a
    // capital standing alone as "A".
    std::string ReduceSeriesNumberingToPattern1(const std::string& sSeriesNumbering);
    std::string ReduceSeriesNumberingToPattern2(const std::string& sSeriesNumbering);

    // ---- marc/rules/: series treatment policies ----

    // How an institution treats the series of an authority record, from its
    // 644 (analysis), 645 (tracing), 646 (classification) and 642 (numbering
    // pattern) fields whose $5 names the institution: the first character of
    // the field's first subfield, or for a numbering pattern the text of its
    // first $a. lReturnFieldPointer receives the index of the field that gave
    // the answer; when none does it is left as passed, except where a DPCC
    // property says 0. The field and subfield cursor are put back, an error
    // included; the saved field and subfield searches stay as the walk set them.
    // DLC and DPCC answer only for a series (008/12 in "abcz", or none) with
    // an 010; the local ones test $5 against the codes of Nuc.
    std::string SeriesAnalysisPolicyDlc(int32_t& lReturnFieldPointer);
    std::string SeriesTracingPolicyDlc(int32_t& lReturnFieldPointer);
    std::string SeriesClassificationPolicyDlc(int32_t& lReturnFieldPointer);
    std::string SeriesNumberingPatternDlc(int32_t& lReturnFieldPointer);
    // DPCC 645, else "n" with 0 for a series-like phrase (008/12 "c"), else
    // the whole first subfield of a traced ("t") 645 with a $5 of another
    // institution than the local ones; nothing found gives "" with 0.
    std::string SeriesTracingPolicyDpcc(int32_t& lReturnFieldPointer);
    // Always "" with 0.
    std::string SeriesAnalysisPolicyDpcc(int32_t& lReturnFieldPointer);
    std::string SeriesClassificationPolicyDpcc(int32_t& lReturnFieldPointer);
    // DPCC 642, else the first subfield of a 642 with a $5 of another
    // institution than DLC and the local ones; nothing found gives "" with 0.
    std::string SeriesNumberingPatternDpcc(int32_t& lReturnFieldPointer);
    std::string SeriesAnalysisPolicyLocal(int32_t& lReturnFieldPointer);
    // A 645 of the first local code wins over one of a later code.
    std::string SeriesTracingPolicyLocal(int32_t& lReturnFieldPointer);
    std::string SeriesClassificationPolicyLocal(int32_t& lReturnFieldPointer);
    std::string SeriesNumberingPatternLocal(int32_t& lReturnFieldPointer);

    // ---- marc8/: decomposition of UTF-8 records on load ----

    // The UTF-8 text with every character that the shared character object's
    // SubstituteUtf8Char replaces put in its substitute's place, in one pass.
    // An octet that begins no well-formed character stays as it stands, and so
    // does the code octet after a subfield delimiter. bChanged is set to True
    // when something was replaced and never cleared.
    std::string DecomposeUnicodeCharactersInString(const std::string& sField, bool& bChanged);

private:
    friend struct RecordTestAccess;

    Utf8MarcRecordState m;

    // ---- marc/display/: private members ----

    // Whether the record is held in Windows-1252 (output set "L").
    bool RecordHeldInWindows1252() const;
    // A text of the record in UTF-8, as the same record loaded into UTF-8
    // reads it: Windows-1252 by its chart, "M", "O" and "V" by the one
    // MARC-8 reader (TranslateMarc2Utf8OneField, as a field of the current
    // field's tag). UTF-8 text is given back as it is.
    std::string TextReadAsUtf8(const std::string& sText);
    // The display of a text of a record held in an 8-bit set as a display
    // member gives it for the same record loaded into UTF-8: the text read by
    // TextReadAsUtf8 and the record taken as UTF-8 while display runs.
    std::string DisplayAsUtf8(const std::string& sText, const std::function<std::string(const std::string&)>& display);

    // ---- marc/xml/: private members ----

    // XmlConditionText appended to sOut; for an attribute value (bAttribute)
    // TAB and LF are written as character references too, as CR always is.
    void AppendXmlConditionText(std::string& sOut, std::string_view sText, bool bAttribute = false) const;
    // The MARCXML document of the record, built in UTF-8.
    std::string XmlMarcxmlDocument();
    // A text the documents take from the record, in UTF-8: under an 8-bit
    // output set (an element built outside XMLRecordOut, which builds every
    // document from the record in UTF-8) it is read by TextReadAsUtf8 on its
    // own, so that no escape run reaches past it.
    std::string XmlTextFromRecord(const std::string& sText);

    // ---- marc/xml/: element builders, Dublin Core and MADS ----

    // One element from the subfields of the current field, from the current
    // subfield on: the texts of the codes in sCodes joined by the separator
    // (or the per-code separator table), the walk ending before a stop code;
    // the first iNonfiling characters as a nonSort sibling; a label after a
    // TAB as displayLabel unless bNoLabel; a final ":" or "/" trimmed from a
    // title or subTitle when bTrimTitle. "" when nothing was taken.
    std::string XmlElementFromSubfields(std::string sElement, int16_t iNonfiling, std::string sCodes,
                                        std::string sStopCodes, std::string sSeparator, bool bTrimTitle,
                                        bool bNoLabel);
    // A text from the record in UTF-8, escaped.
    std::string XmlRecordTextEscaped(const std::string& sText);
    // Form 2 (one RDF description) or, with bOai, form 4 (oai_dc).
    std::string XmlDublinCoreDocument(bool bOai);

    // ---- marc/xml/: MODS document ----

    // Forms 1, 3 and 5 for a bibliographic record: the frame and its
    // sections in order. Each section walks the record on its own and
    // appends its lines to sOut.
    std::string XmlModsDocument();
    void XmlModsTitleInfo(std::string& sOut);
    void XmlModsName(std::string& sOut);
    void XmlModsTypeOfResource(std::string& sOut);
    void XmlModsOriginInfo(std::string& sOut);
    void XmlModsLanguage(std::string& sOut);
    void XmlModsPhysicalDescription(std::string& sOut);
    void XmlModsAbstract(std::string& sOut);
    void XmlModsTableOfContents(std::string& sOut);
    void XmlModsTargetAudience(std::string& sOut);
    void XmlModsNote(std::string& sOut);
    void XmlModsSubject(std::string& sOut);
    void XmlModsClassification(std::string& sOut);
    void XmlModsRelatedItem(std::string& sOut);
    void XmlModsIdentifier(std::string& sOut);
    void XmlModsLocation(std::string& sOut);
    void XmlModsAccessCondition(std::string& sOut);
    void XmlModsRecordInfo(std::string& sOut);

    // ---- marc/xml/: MODS language, physicalDescription and notes helpers ----

    // The language codes of one 041 subfield text: the text in UTF-8 cut into
    // pieces of three characters (the first piece always, shorter when the
    // text is; a last piece shorter than three dropped), each piece escaped.
    // The raw text is cut, so a reference is never split.
    std::vector<std::string> XmlLanguageCodes(const std::string& sText);
    // " xlink:href=" and the current field's first $u escaped and quoted; ""
    // without $u. Moves the subfield cursor.
    std::string XmlModsLinkAttribute();
    // " displayLabel=" and the text after the first TAB escaped and quoted;
    // "" without a TAB.
    std::string XmlModsLabelAttribute(const std::string& sText);

    // ---- marc/xml/: MADS document ----

    // Forms 1, 3 and 5 for an authority record: one mads element in a
    // madsCollection holding the record's heading (authority), its see-also
    // references and linking entries (related), its see references
    // (variant), identifiers and recordInfo.
    std::string XmlMadsDocument();
    // The heading of the current field as MADS elements joined without line
    // breaks, its kind read from the tag's last two characters; the first
    // walk starts on the current subfield (the first one, or at top).
    // sAuthority is quoted as it stands: callers pass a fixed code or text
    // already escaped. "" for a tag of no heading kind.
    std::string XmlMadsHeading(std::string sAuthority);

    // ---- marc/xml/: MODS genre helpers ----

    // One genre element per 655 field, in field order, after the coded terms:
    // its $a $b $v $x $y $z joined by " - ", the source from the second
    // indicator (for "7" the first $2, escaped). Moves the field cursor.
    void XmlModsGenreHeadings(std::string& sOut);

    // ---- marc8/: whether a whole-record translation is built ----

    // Raises the error that CharacterSetOut's let would raise for a change of
    // a loaded record from one set to the other when that translation is not
    // built; changes nothing.
    void RequireRecordTranslation(const std::string& sFrom, const std::string& sTo) const;

    // ---- marc8/: private members ----

    // A record is present: a loaded record text, or a record made by NewRecord.
    bool RecordPresent() const;
    // Translates the record in memory from CharacterSetInEffective to
    // CharacterSetOut; raises when that translation is not available.
    void TranslateRecordCharacterSet();
    // The character-set steps of a load whose text passed the validity test:
    // the set of the record (from the configured set, leader/09 and the
    // octets) and CharacterEncodingScheme; then the record held in that set
    // while its fields are built, returning the output set to go back to;
    // then the way back, which translates.
    void DecideCharacterSetInEffective(const std::string& sMarcRecord);
    std::string HoldLoadInInputSet();
    void ReturnLoadToOutputSet(const std::string& sReturnTo);

    // ---- marc8/: decomposition of UTF-8 records on load, private members ----

    // Decomposes the text of every live variable field of the record just
    // loaded, unless the current user's preference "BypassAutoDecompose"
    // (read once per object) is "TRUE" in any case. A field is rewritten only
    // when its text changed.
    void AutoDecomposeFields();
    // A registry value as text: a REG_SZ as it is, a REG_DWORD as its signed
    // decimal; "" for a root key outside HKEY_CLASSES_ROOT to HKEY_DYN_DATA, a
    // missing key or value, or another type.
    std::string ReadRegistryValue(int32_t hRootKey, const std::string& sKeyPath, const std::string& sValueName);

    // ---- marc8/: MARC-8 to UTF-8 of fields and records, private members ----

    // Every field of the loaded record from MARC-8 to UTF-8; 066 goes, leader/09 becomes "a".
    void TranslateRecordMarc8ToUtf8();
    // The next piece of sField from iAt, which ends at iPieceEnd, and the escape that ends it read
    // into the next codes; iAt moves to where the piece after it starts. A cut escape (the text ends
    // inside it, or a delimiter, a terminator or ESC follows before it is whole) changes no code
    // and is left in sUnreadEscape.
    void TranslateMarc2Utf8OneFieldFindBreak(const std::string& sField, std::size_t& iAt, std::size_t& iPieceEnd,
                                             const std::string& sCharacterSet0, const std::string& sCharacterSet1,
                                             std::string& sNextCharacterSet0, std::string& sNextCharacterSet1,
                                             std::string& sUnreadEscape);
    // "&#x" references with one to four hex digits left in the text, either case of x.
    void TranslateHexCharacterReferences(std::string& sText);
    // Which octet ranges a text holds: 0x20-0x2F, 0x30-0x3F, anything else.
    void ClassifyTextOctets(std::string sText, bool& b20To2F, bool& b30To3F, bool& bOther);
    // The combining-mark buffer in ascending class, equal classes in arrival order.
    std::string FlushCombiningMarksByClass();

    // Both translations of a record delete every 066: the record as
    // `while (FldFindFirst("066", "")) FldDelete();` leaves it.
    void FldDeleteEvery066();

    // ---- marc8/: UTF-8 to MARC-8 of fields and records, private members ----

    // Every data field of a UTF-8 record to MARC-8; the 066 is rebuilt from the scripts of the
    // 880 fields, leader/09 becomes a blank, the cursor is put back.
    void TranslateRecordUtf8ToMarc8();
    // One piece (a delimiter, its code and the subfield's text, or the text before the first
    // delimiter) to MARC-8 into sResult. For 880 fields the table code of every base character
    // is put in front of sCodeList (text order) and each new one added to the record's list.
    void TranslateUtf82MarcPiece(std::string sTag, std::string sPiece, std::string& sResult, bool& bChanged,
                                 bool& bError, std::string& sMarc8CharacterSetCodes, std::string& sCodeList);
    // In a translated 880 piece with Hebrew, Cyrillic or Arabic runs, basic-set runs of digits
    // and punctuation between (or after) runs of one script join them; sScratch is overwritten.
    void TidyVernacularEscapes(std::string& sPiece, std::string& sScratch);
    // Script identification codes ("(2", "(N", "(3", "(S", "$1") of a blank-separated list of
    // table codes, each led by the separator; yields before each code.
    std::string ScriptCodesFromTableCodes(std::string sCodes, std::string sSeparator);

    // ---- marc8/: single-byte set translation and 8-bit text to UTF-8, private members ----

    // Translates a text with the mode in force.
    void ApplyTranslation(std::string& sText, bool& bChanged);
    // The table of the mode in force on the octets read in the Latin sets, following the escapes
    // as the field reader does; bKeepEscapes keeps every escape (880 fields), else "M2V" and
    // "O2V" turn Greek, superscript and subscript runs into octets of "V".
    void TranslateFollowingEscapes(std::string& sText, bool& bChanged, bool bKeepEscapes);
    // An 880 field's text with escapes, piece by piece; the escapes stay.
    void Translate880FieldText(std::string& sText, bool& bChanged);
    // The mode in force on the current field's text, rewritten when it changed.
    void TranslateCurrentField();
    // The mode in force on every field that existed when the walk began;
    // ends with no current field.
    void TranslateRecordFields();
    void TranslateRecordM2O();
    void TranslateRecordM2V();
    void TranslateRecordO2M();
    void TranslateRecordO2V();
    void TranslateRecordV2M();
    void TranslateRecordV2O();
    // Windows-1252 records: to the 8-bit output set through the field walk,
    // and to UTF-8 (leader/09 "a", no 066 fields, the cursor put back).
    void TranslateRecordL2M();
    void TranslateRecordL2U();
    // Every occurrence of sFind replaced, searching again from the start; an
    // empty sFind, or one that the replacement holds, leaves the text alone.
    void ReplaceAllOccurrences(std::string& sText, const std::string& sFind, const std::string& sReplacement,
                               bool& bChanged);
    // Older record walks that nothing calls.
    void TranslateEscapedFields();
    void TranslateFieldsByLinks();
    // Older members of the 8-bit to UTF-8 family that nothing calls.
    void MoveMarc8DiacriticsBehindBase(std::string& sText, bool& bChanged);
    void LatinMarc8Text2Utf8Backward(std::string& sText, bool& bChanged);
    void LatinMarc8Text2Utf8WithEscapes(std::string& sText, bool& bChanged);

    // ---- normalize/: private members ----

    // The comparison forms of UTF-8 text, character by character, and of
    // 8-bit text, octet by octet, appended with runs of blanks collapsed.
    void AppendUtf8NormForm(std::string& sForm, const std::string& sText, const std::string& sScheme,
                            bool bKeepCommas, bool bKeepHyphens);
    void AppendEightBitNormForm(std::string& sForm, const std::string& sText);
    void BuildNormOctetForms();
    // The maps of the 8-bit forms: an octet of set "V", or of sets "M" and
    // "O", into MARC-8 codes; then a MARC-8 code into its form.
    std::string NormOctetV(const std::string& sOctet);
    std::string NormOctetMarc8(const std::string& sOctet);
    std::string NormOctetFinal(const std::string& sCode);

    // ---- marc/record/: ISO 2709 input and output, private members ----

    // The field table from Directory and RecordDataIn: each entry's span of
    // the data, moved where it is a little off its field (an entry one or two
    // octets early or late, a stray octet before the data, a lost field
    // terminator), then read up to its first field terminator.
    void LoadFieldsFromDirectory();
    // An empty field table with no current field or subfield.
    void EmptyFieldTable();
    // Sets MarcRecordModified when the list order of the fields, or of the
    // subfields of a field, is not the order in which they were added.
    void MarkModifiedIfReordered();
    // The output text; bReCast502 runs the thesis-note recast first, and
    // sErrorText receives why a record that does not fit is refused.
    std::string ComposeMarcRecordOut(bool bReCast502, std::string& sErrorText);
    // Gives a field without a live first subfield a live control subfield
    // (code "9", empty text), refilling its table from slot 0; returns it.
    int16_t GiveLiveControlSubfield(int16_t iField);
    // The text of a control field: its first subfield's, "" when deleted.
    std::string ControlFieldText(int16_t iField) const;
    // ---- marc/record/: order keys, subfield-order rules and order files, private members ----

    // The order key of a field: the key of the first rule whose range holds
    // the tag, with the linkage suffix of a paired field; "*" keeps the order.
    std::string FldOrderKey(const std::string& sTag, const std::string& sIndicators, const std::string& sFieldText);
    // Makes the subfield-order rule of a tag the current one (SfdOrderCurrent).
    void SfdOrderLoad(const std::string& sTag);
    // The key of a field under one field-order rule.
    std::string FldOrderKeyForRule(int32_t lRuleNumber, int16_t iMethod, const std::string& sTag,
                                   const std::string& sIndicators, const std::string& sFieldText);
    std::string FldOrderSummaryText(const std::vector<FieldOrderRule>& table, int16_t count);
    // Gives every rule the final group of all codes and appends the catch-all "XXX".
    void SfdOrderCompleteTable(std::vector<SubfieldOrderRule>& table, int16_t& count, int16_t& slots);
    // The subfield half of the installation step for a format's family.
    void SfdOrderInstall(const std::string& sMarcFormat);
    // The $t switch of the subfield-order test: a "t" before the subfield
    // cursor, with the cursor and edge flags left as a walk from the top leaves them.
    bool SfdTitleBeforeCursor();
    void FldOrderFileRead(const std::string& sMarcFormat, const std::string& sFileName,
                          std::vector<FieldOrderRule>& table, int16_t& count, int16_t& slots);
    void SfdOrderFileRead(const std::string& sMarcFormat, const std::string& sFileName,
                          std::vector<SubfieldOrderRule>& table, int16_t& count, int16_t& slots);
    int16_t FldOrderMethodFromKeyword(const std::string& sKeyword);

    // ---- marc/record/: subfield table private members ----

    // SfdAdd of a code and a text that stay unchanged while it runs (a
    // split's pieces of the field text, or the public SfdAdd's copies);
    // bPiece: the text is a piece of a data field's text between two
    // delimiters, so it holds none.
    void SfdAddText(std::string_view sSubfieldCode, std::string_view sSubfieldText, bool bPiece);
    // Fills a field's subfield table from its text (the field is current).
    // Raises error 6, the field unchanged, for more than 32,767 subfields.
    void FldSplitText(int16_t iFieldPointer, const std::string& sFieldText);
    // A split's add of a later subfield to the end of the current field, with
    // the results of SfdAddText for it; false, nothing changed, for a piece
    // that needs SfdAddText itself.
    bool SfdSplitAppend(std::string_view sCode, std::string_view sText);
    // Raises error 6 when a data field's text would need more than 32,767
    // subfields, so that an add or a rewrite can refuse it before it changes
    // anything.
    void FldRaiseIfTooManySubfields(const std::string& sTag, const std::string& sFieldText) const;
    // The step of the current subfield-order rule that holds a code.
    void SfdOrderPosition(const std::string& sCode, bool bTitleSeen, int16_t& iPosition, int16_t& iStepType,
                          std::string& sStepCodes, int16_t& iMatchCount);
    // The same for the slot of a new subfield: its OrderPosition,
    // OrderStepType and OrderStepCodes.
    void SfdOrderPositionInto(SubfieldEntry& entry, std::string_view sCode, bool bTitleSeen);
    // A slot just taken for a subfield after the first: live, with its order
    // position, its code, its text (trimmed unless the blanks are kept) and
    // its forms, made or deferred.
    void SfdFillSlot(SubfieldEntry& entry, std::string_view sCode, std::string_view sText, bool bKeepBlanks,
                     bool bTitleSeen, bool bPiece);
    // -1 when the subfield belongs before its predecessor, 1 after its
    // successor, 0 in place, under the current subfield-order rule.
    int16_t SfdOrderTest(SlotTable<SubfieldEntry>& Subfields, int16_t iSubfield);
    // The step of a code under the current rule, as the test finds it; with
    // bTitleSteps only steps that hold "t" qualify.
    int16_t SfdOrderStepOf(const std::string& sCode, bool bTitleSteps) const;
    // Where the test puts a code when no $t switch applies: its step, then its
    // place within a step whose codes are ordered. The test finds a subfield
    // out of order exactly when its neighbour's rank is on the wrong side.
    int64_t SfdOrderRank(const std::string& sCode) const;
    int16_t SfdNextPointer() const;
    int16_t SfdPrevPointer() const;
    // The current field's tag, "" without one.
    std::string CurrentTag() const;
    // The current field and subfield, or null (read several times for every
    // subfield added, so defined here).
    FieldEntry* CurrentFieldEntry() {
        if (m.FldPointer < 0 || m.FldPointer >= m.FldCount) return nullptr;
        return &m.Fields[static_cast<size_t>(m.FldPointer)];
    }
    const FieldEntry* CurrentFieldEntry() const {
        if (m.FldPointer < 0 || m.FldPointer >= m.FldCount) return nullptr;
        return &m.Fields[static_cast<size_t>(m.FldPointer)];
    }
    SubfieldEntry* CurrentSubfieldEntry() {
        FieldEntry* field = CurrentFieldEntry();
        if (!field || m.SfdPointer < 0 || m.SfdPointer > field->SubfieldTop) return nullptr;
        return &field->Subfields[static_cast<size_t>(m.SfdPointer)];
    }
    const SubfieldEntry* CurrentSubfieldEntry() const {
        const FieldEntry* field = CurrentFieldEntry();
        if (!field || m.SfdPointer < 0 || m.SfdPointer > field->SubfieldTop) return nullptr;
        return &field->Subfields[static_cast<size_t>(m.SfdPointer)];
    }
    // The two insertions, the order loop that follows them and the shifts.
    void SfdInsert(std::string_view sSubfieldCode, std::string_view sSubfieldText, bool bAfter, bool bPiece = false);
    void SfdOrderLoop(bool bAfter);
    void SfdShift(bool bLeft);
    // Adds a field's tag to FldsWithSfdsOutOfOrder, once.
    void SfdOrderNoteTag(const std::string& sTag, bool bTrimList);
    // While a field is split: whether what is known of its placed subfields
    // holds (set up at its second subfield); the direct placement of the new
    // last subfield iSlot, false when the order loop must place it; and the
    // update after a subfield was placed.
    bool SfdSplitTracked(const FieldEntry& field);
    // The note of the slots taken without recycling, for NewSubfieldSlot:
    // while a subfield of the field being split is added, else null.
    int16_t* SfdSplitFreshSlots() {
        return m.SplittingField && m.FldPointer == m.SfdSplitFreshField ? &m.SfdSplitFreshFrom : nullptr;
    }
    bool SfdSplitPlace(FieldEntry& field, int16_t iSlot);
    void SfdSplitPlaced(const FieldEntry& field, int16_t iSlot, bool bPlacedDirectly);
    // The normal form and the NACO form of a subfield's text.
    void SfdStoreForms(SubfieldEntry& entry, const std::string& sText, bool bSwitchSchemes);
    // ---- marc/record/: forms made on first use ----
    // Both forms of a subfield's text under a tag and a record format.
    void SfdMakeForms(SubfieldEntry& entry, const std::string& sText, const std::string& sTag,
                      const std::string& sFormat);
    // Stores the forms of a subfield, or, where they come out the same when
    // made later (a split under a valid scheme: of UTF-8 text with no
    // delimiter in it, or of 8-bit text too short to overflow), marks them
    // to be made on first use. pFormText: the text of
    // the forms when it is not the subfield's text; bPiece: the subfield's
    // text is known to hold no delimiter.
    void SfdStoreOrDeferForms(SubfieldEntry& entry, const std::string* pFormText, bool bSwitchSchemes,
                              bool bPiece = false);
    // Makes the forms of a subfield marked to be made on first use.
    void SfdFormsReady(const SubfieldEntry& entry) const;
    void SfdMakeNacoForm(SubfieldEntry& entry, const std::string& sText, const std::string& sTag,
                         const std::string& sFormat);
    // The finds forwards and backwards, from a subfield that is a candidate.
    bool SfdFindFrom(bool bForward, bool bFilter);
    // SfdFindNext and Sfdfindprev: the subfields after (before) the cursor.
    bool SfdFindBeyondCursor(bool bForward, const std::string& sSubfieldCode,
                             const std::string& sNormalizedSubfieldText);

    // ---- marc/rules/: OCLC numbers ----

    // An OCLC control number in one of its prefixed forms; its normal form
    // under the record's options goes to sNormalized.
    bool IsOclcNumber(std::string sText, std::string& sNormalized);
    // ---- marc/rules/: private members of series treatment policies ----
    // 008/12 in "abcz" (empty counts) and an 010; both are always looked at.
    bool SeriesPolicyRecordQualifies();
    // Before the first field, with no text filter on the next field finds.
    void SeriesPolicyFieldsTop();
    // The first field of sTag whose $5 (after the answer's subfield) begins
    // with sInstitution, or, for an empty sInstitution, names a local code.
    std::string SeriesPolicyFirstMatch(const std::string& sTag, bool bNumberingPattern,
                                       const std::string& sInstitution, int32_t& lReturnFieldPointer);
    // The walk in its frame: the cursor put back, and for an institution
    // other than the local one ("") the series-authority test first.
    std::string SeriesPolicyOf(const std::string& sTag, bool bNumberingPattern, const std::string& sInstitution,
                               int32_t& lReturnFieldPointer);
    // Where "5" + the $5 text, cut before its first "-", stands in
    // NucSubfield5List; 0 when absent.
    int32_t SeriesPolicyLocalPosition(const std::string& sSubfield5) const;
    // The $5 text trimmed and cut before its first "-" or else its first "/"
    // begins one of the codes of Nuc.
    bool SeriesPolicyIsLocalCode(const std::string& sSubfield5) const;

    // ---- marc/rules/: private members of series numbering ----

    // The series-numbering strings in the output set in force.
    void BuildSeriesNumberingTables();
    void EnsureSeriesNumberingTables();
    std::string PadNumbersForSorting(const std::string& sText);
    std::string PadNumbersAfterCaptions(const std::string& sText);
    std::string RemoveChapterCaption(const std::string& sText);
    std::string SeriesNumberSortKey(const std::string& sOriginalHeading, const std::string& sHeading,
                                    const std::string& sSeriesSubfieldV);
    // The character rewriting of the sort key, from the last character to the first.
    std::string RewriteSeriesNumberCharacters(const std::string& sText);
    // The first character of a numbering without digits is punctuation.
    bool StartsWithSeriesNumberingPunctuation(const std::string& sText);
    void AppendPieceToSortKey(std::string& sKey, std::string sPiece, const std::string& sSeparatorAfter,
                              const std::string& sSeparatorBefore, bool bLastPiece, bool bWordSeen,
                              bool bEastAsianOrdinal);
    void AppendWordTokenToSortKey(std::string& sKey, std::string& sToken, bool bSlashContext, bool& bNumberSeen,
                                  bool bWholeToken, bool& bSeriesWordFound, bool& bEastAsianOrdinal);
    void AppendNumberTokenToSortKey(std::string& sKey, std::string& sNumber);
    bool ContainsDigit(const std::string& sText);
    std::string RemoveOrdinalSuffixes(const std::string& sPiece, bool bLastPiece);
    bool IsNextToSeriesWord(const std::string& sBefore, const std::string& sAfter);
    std::string SeparateVolumeLetter(const std::string& sText, bool bUpperFirst);
    std::string SeparateSingleLetterCaptions(const std::string& sLetters, const std::string& sText, bool bUpperFirst);
    bool IsLetterInSeriesPhrase(int32_t iPosition, const std::string& sText, std::string_view sPartnerWords,
                                std::string_view sExcludedWords);
    bool FirstWordIsRomanNumeral(const std::string& sText);
    bool TextHasDigit(const std::string& sText);
    // The first word of the trimmed normal form of the text from a 1-based
    // position on, and the trimmed normal form of the text before one (or a
    // tail of it that begins at a word and holds enough words and octets),
    // made from a window of the text around the position.
    std::string SeriesNormFirstWord(const std::string& sText, int64_t lFrom);
    std::string SeriesNormTail(const std::string& sText, int64_t lBefore, size_t iWords, size_t iOctets,
                               bool& bWhole);
    std::string NormalizeCaptionWords(const std::string& sText, bool bNormalOnly);
    std::string SeparateNumeroSign(const std::string& sText, const std::string& sMark);
    std::string SeparateNumeroSignEarlier(const std::string& sText, const std::string& sMark);
    void RemoveTitleDerivedCaptions(const std::string& sOriginalHeading, const std::string& sHeading,
                                    std::string& sKey);
    // The written form of one place of a value in Roman digits.
    std::string RomanThousands(int32_t lValue);
    std::string RomanHundreds(int32_t lValue);
    std::string RomanHundredsAdditive(int32_t lValue);
    std::string RomanTens(int32_t lValue);
    std::string RomanTensAdditive(int32_t lValue);
    std::string RomanUnits(int32_t lValue);
    std::string RomanUnitsAdditive(int32_t lValue);
    // ---- marc/record/: record kind and heading tests, private members ----

    // The code at a 1-based position of the current tracing's first $w.
    bool FldReferenceCodeIsSet(int32_t iPosition);
    // ---- marc/record/: field table and field cursor, private members ----

    // The current field's slot, or -1 when FldPointer names none.
    int16_t CurrentField() const;
    // How an added field's tag is taken: a caller's tag (ByTag) must be three
    // digits and says itself whether the field is a control field, and a
    // second 008 changes the first; a field of a known kind (a loaded field,
    // or one that a rewrite moves) may carry any three printable ASCII
    // characters, and an 008 added while one exists is a field of its own.
    enum class FieldKind : int8_t { ByTag, Control, Data };
    // A caller's tag: three digits. A tag that a loaded field may carry:
    // three printable ASCII characters.
    // (Defined here so that the load's per-field tests are inlined.)
    static bool IsDigitTag(const std::string& sTag) {
        return sTag.size() == 3 && sTag[0] >= '0' && sTag[0] <= '9' && sTag[1] >= '0' && sTag[1] <= '9' &&
               sTag[2] >= '0' && sTag[2] <= '9';
    }
    static bool IsLoadableTag(const std::string& sTag) {
        return sTag.size() == 3 && sTag[0] >= ' ' && sTag[0] <= '~' && sTag[1] >= ' ' && sTag[1] <= '~' &&
               sTag[2] >= ' ' && sTag[2] <= '~';
    }
    // Takes tag and indicators by value, and the text as a working copy that
    // it may change, so that a caller adding many fields (a load) keeps one
    // buffer for all their texts.
    void FldAddOfKind(std::string sNewTag, std::string sNewIndicators, std::string& sNewFieldText,
                      bool bForceToFirstPosition, FieldKind kind);
    // The live subfields of the current field whose code is not in the
    // exclude list, whatever the code; a control field's text alone.
    // With pInclude, only the codes it lists are taken.
    std::string FldTextWithoutCertainSubfields(const std::string& sSubfieldsToExclude,
                                               const std::string* pInclude = nullptr) const;
    // The rewrite behind every member that changes the current field.
    void FldReplace(const std::string& sNewTag, const std::string& sNewIndicators, const std::string& sNewFieldText);
    // Places the new last entry n by its order key (FldAdd); bKeysSorted: the
    // keys stood in list order before n was appended.
    void FldPlace(int16_t n, const std::string& sTag, bool bPairing, bool bForceToFirstPosition, bool bKeysSorted);
    // Where placement of the tail entry n starts to look: in a sorted list the
    // first entry of the run at the end whose keys are greater than n's (or
    // equal, with bEqualToo); FldFirst otherwise.
    int16_t FldPlaceStart(int16_t n, bool bKeysSorted, bool bEqualToo) const;
    // Whether the keys stand in list order (see FldKeysSortedLast), and the
    // update after entry n was linked or rekeyed in a list that was sorted.
    bool FldKeysSorted() const;
    void FldKeysSortedAround(int16_t n, bool bWasSorted);
    // FldInsertBefore and FldInsertAfter.
    void FldInsert(const std::string& sNewTag, const std::string& sNewInd, const std::string& sNewFieldText,
                   bool bBefore);
    // Relinking of entry n, which is the tail: before c, or after c and after
    // the entries that follow c with c's key and c's or n's suffix.
    void FldMoveBefore(int16_t n, int16_t c);
    void FldLinkAfter(int16_t n, int16_t c);
    // The linked neighbours of the current field; -1 without one or for a
    // link outside the table.
    int16_t FldNextPointer() const;
    int16_t FldPrevPointer() const;
    // A move: the cursor to iFirst, then with skipping onward past deleted fields.
    bool FldMoveFrom(int16_t iFirst, bool bForward, const bool& bSkipDeletedFields);
    // A find run as a test, with the cursor put back.
    using FldFindMember = bool (Utf8MarcRecordClass::*)(const std::string&, const std::string&);
    bool FldTest(FldFindMember find, const std::string& sTag);
    // The search state of a find: the tag argument reduced and upper-cased
    // replaces the saved tags when not empty.
    void FldTakeSearchTags(const std::string& sTagToFind);
    // The current field is live and passes the saved tag list and, when on,
    // the saved text.
    bool FldMatchesSearch(bool bTextTest);
    // The walk of a find over live fields, from the list's end (else from the
    // current field) in one direction, to the first match; none leaves no
    // current field.
    bool FldFindWalk(bool bFromEnd, bool bForward, bool bTextTest);

    // ---- normalize/: standard numbers and nonfiling characters, private members ----

    // Removes, in place, every octet of sText that is not in sAllowedCharacters.
    void KeepOnlyCharacters(std::string& sText, const std::string& sAllowedCharacters);
    // The text holds a nonsort marker of the record's encoding.
    bool HasNonsortMarker(const std::string& sText);
    // RemoveNonfilingCharacters can change the text: the tag has a nonfiling
    // indicator in that record type, or the text holds a marker.
    bool NonfilingMayApply(const std::string& sRecordType, const std::string& sTag, const std::string& sField);
    // RemoveNonfilingCharacters with these indicators can give another text
    // than the given one: the text holds a marker, or the tag's nonfiling
    // indicator holds a count of 1 to 9.
    bool NonfilingChangesText(const std::string& sRecordType, const std::string& sTag, const std::string& sIndicators,
                              const std::string& sField);

    // ---- normalize/: call-number rules ----

    // The three rule sets of NormalizeCallNumber; they raise RaisedError
    // where a step cannot be carried out.
    std::string NormalizeCallNumberLc(const std::string& sCallNumber);
    std::string NormalizeCallNumberDewey(const std::string& sCallNumber);
    std::string NormalizeCallNumberSudoc(const std::string& sCallNumber);
    // The character objects of the marker and of look-ahead, made on first use.
    Utf8CharClass& CallNumberChar();
    Utf8CharClass& CallNumberChar2();
    // Earlier pieces of the LC rules, kept but called by no member: the
    // leading class letters of a text, and a number right-aligned in four
    // (or five) columns.
    bool CallNumberTakeLetters(std::string& sCallNumber, std::string& sLetters);
    void CallNumberTakeNumber(std::string& sCallNumber, std::string& sOutput, bool bWide, bool& bAppendBlank,
                              std::string& sDigits);

    // ---- normalize/: sorting forms of name dates and chronological subdivisions, private members ----

    // Sets the B.C. and A.D. flags from the era words of the upper-case text
    // and tidies the comma in front of the era word found.
    void DetectEraMarkers(std::string& sText, bool& bBC, bool& bAD);
    // The upper-case text without era words, qualifiers, brackets and final
    // punctuation, blanks collapsed and trimmed.
    std::string CleanDateText(const std::string& sText);
    // True when the text is, or begins with, a month name (its first three
    // letters pick the month); the code "01" to "12" goes to sCode, "" when False.
    bool MonthNameCode(const std::string& sWord, std::string& sCode);
    // Century words and open-start phrases of a $y text, lLastBlank the
    // position of its last blank: 0 not handled, 1 sText is the final key,
    // 2 sText is a range (start, hyphen, end) and the flags may have changed.
    int16_t PeriodPhraseForm(std::string& sText, int32_t lLastBlank, bool& bBC, bool& bAD);
    // A digit 1-9 stands four places after lPosition (the place of a " TO ").
    bool DigitFollowsTo(const std::string& sText, int32_t lPosition);

    // ---- marc/rules/: thesis notes and the 502 recast ----

    // A degree abbreviation in comparison form: a fixed form, or capitals
    // spaced by single blanks ("M A").
    bool IsDegreeAbbreviation(const std::string& sWord);
    // The note holds a phrase, in any case, of a note that is no plain thesis note.
    bool ContainsNonThesisPhrase(std::string sText);
    // The current 502 rewritten as $b $g $c $d when its note reads and the
    // parts account for every word of it.
    void ReCast502Field();
    bool ThesisRecastAccountsForNote(const std::string& sNote, const std::string& sDateFrom008,
                                     const std::string& sDegree, const std::string& sMiscellaneous,
                                     const std::string& sInstitution, const std::string& sDate);
    // Every live 502 recast, as output does first; the field and subfield
    // cursor are put back as they were on every way out.
    void ReCastAll502Fields();

    // ---- marc/text/: private members of formatted text ----

    // The first pass of the proposal and the plain text: UTF-8 text rebuilt in
    // set "V", Latin characters only, marks in front of their letters.
    std::string RebuildTextInSetV(const std::string& sText);
    // The subfield walk of forms 4, 13 and 14 over the current field's live
    // subfields; leaves no current subfield.
    std::string FldTextByWalk(int32_t iOutput, const std::string& sSubfieldsToInclude,
                              const std::string& sSubfieldsToExclude);

    // ---- marc/record/: private members ----

    // The shared character object, made first when it is absent.
    Utf8CharClass& SharedChar();
    // The texts of a new record's 005 (date and time of the clock, ".0"), its
    // date "yymmdd" and its 008 (the format's default, dated).
    void NewRecordDateFields(std::string& s005Text, std::string& sDate, std::string& s008Text);
    // The field-order table of a format's family, with its count and allocation.
    struct FldOrderTableRef {
        std::vector<FieldOrderRule>& Rules;
        int16_t& Count;
        int16_t& Slots;
    };
    FldOrderTableRef FldOrderTableFor(const std::string& sMarcFormat);
    // The number of the first field-order rule whose range holds the tag, 0
    // for none; remembered per digit tag until a field-order table changes.
    int16_t FldOrderRuleFor(const FldOrderTableRef& table, char family, const std::string& sTag);
    // Whether FldOrderKey may run other code after it loaded the tag's
    // subfield-order rule (the yield of the other formats, a key of the tests,
    // any yield with an event pump installed).
    bool KeyMayRunCode() const;
    struct SfdOrderTableRef {
        std::vector<SubfieldOrderRule>& Rules;
        int16_t& Count;
        int16_t& Slots;
    };
    SfdOrderTableRef SfdOrderTableFor(const std::string& sMarcFormat);
    // ---- marc/record/: subfield-order look-up memo ----
    // Held over a stretch of work that changes no rule table (a load, a walk
    // of the fields; SfdOrderMemoDepth counts the holders). The look-ups are
    // kept whether or not one is held; the static members forget them.
    class SfdOrderMemo {
    public:
        explicit SfdOrderMemo(Utf8MarcRecordState& state);
        ~SfdOrderMemo();
        SfdOrderMemo(const SfdOrderMemo&) = delete;
        SfdOrderMemo& operator=(const SfdOrderMemo&) = delete;
        // Every look-up kept is forgotten (the tables may be others).
        static void Forget(Utf8MarcRecordState& state);
        // A rule table changed: the look-ups and the compiled rules are
        // forgotten (the current rule stays as it was).
        static void RulesChanged(Utf8MarcRecordState& state);

    private:
        Utf8MarcRecordState& state_;
    };
    void SetDefaultFldOrderOther();
    // Makes the table end with 001-999 generic.
    void FldOrderCompleteTable(std::vector<FieldOrderRule>& table, int16_t& count, int16_t& slots);
    // The field half of the installation step for a format's family: a table
    // with rules is completed, an empty one gets the family's defaults.
    void FldOrderInstall(const std::string& sMarcFormat);
    void SfdOrderParse(std::vector<SubfieldOrderRule>& table, int16_t& count, int16_t& slots,
                       const std::string& sTag, const std::string& sPattern);
    void SfdOrderAddStep(SubfieldOrderRule& rule, int16_t& iPendingType, std::string& sPendingCodes);
    void SetDefaultSfdOrders();
    void SetDefaultSfdOrderAuth();
    void SetDefaultSfdOrderBib();
    void SetDefaultSfdOrderHold();
    void SetDefaultSfdOrderOther();
    // Takes the next slot of the field table (FldCount) as a fresh entry: the
    // table's bounds become 0 to FldCount. Raises error 6 past 32,767 fields.
    int16_t NewFieldSlot();
    // UCaseFirstWord and LCaseFirstWord of 8-bit text, after the prefix.
    void ChangeFirstLetter8Bit(std::string& s, char delimiter, bool bUpper);
    // SafeUCase and SafeLCase in both kinds of record.
    std::string ChangeCase(const std::string& sSourceString, bool bUpper);
    // Octet count of the UTF-8 character whose lead octet is at the 0-based index.
    int32_t CharStepAt(const std::string& s, size_t index);
};
