// The subfield table of a field: splitting a field's text into subfields,
// adding and inserting subfields with their two normal forms and their place
// under the tag's subfield-order rule, change, deletion, the shifts and the
// small accessors of the current subfield.
#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>

#include "common/raised_error.h"
#include "common/runtime.h"
#include "marc/record/marc_record.h"

namespace {

constexpr char kDelimiter = '\x1F';
// The 8-bit forms overflow past 32,767 codes between the two octet maps, and
// no octet gives more than two: a text up to here cannot overflow.
constexpr size_t kLongestDeferredEightBitText = 32767 / 2;
constexpr int32_t kMostSubfields = 32767;

std::string_view TrimView(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

// Walks a data field's text subfield by subfield as the split reads it: the
// text before the first delimiter is dropped, a delimiter's next character is
// the code, and with trimming the code, the text and the rest are trimmed.
// Positions are plain offsets, so texts of any length split whole.
class SubfieldReader {
public:
    SubfieldReader(std::string_view sText, bool bTrim) : trim_(bTrim) {
        const size_t first = sText.find(kDelimiter);
        if (first == std::string_view::npos) return;
        started_ = true;
        code_ = sText.substr(first + 1, 1);  // the first code is never trimmed
        rest_ = sText.substr(std::min(sText.size(), first + 2));
        if (trim_) rest_ = TrimView(rest_);
    }

    // The next code and text; false when the text is used up.
    bool Next(std::string_view& sCode, std::string_view& sText) {
        if (!started_ || done_) return false;
        sCode = code_;
        const size_t next = rest_.find(kDelimiter);
        if (next == std::string_view::npos) {
            sText = rest_;
            rest_ = {};
        } else {
            sText = rest_.substr(0, next);
            code_ = rest_.substr(next + 1, 1);
            rest_ = rest_.substr(std::min(rest_.size(), next + 2));
            if (trim_) {
                sText = TrimView(sText);
                code_ = TrimView(code_);
                rest_ = TrimView(rest_);
            }
        }
        done_ = rest_.empty();
        return true;
    }

private:
    bool trim_;
    bool started_ = false;
    bool done_ = false;
    std::string_view code_;
    std::string_view rest_;
};

// Whether a text is the one character c, and a tag the three characters of
// sTag (the comparisons of every subfield, made without a call).
constexpr bool IsChar(std::string_view s, char c) { return s.size() == 1 && s[0] == c; }
bool IsTag(std::string_view s, const char (&sTag)[4]) {
    return s.size() == 3 && s[0] == sTag[0] && s[1] == sTag[1] && s[2] == sTag[2];
}
// Equal short texts (a scheme letter), compared octet by octet.
bool SameShort(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) return false;
    return true;
}

// A tag at or after "011", as the comparison of the two texts orders them.
bool TagFrom011(std::string_view sTag) {
    constexpr std::string_view k011 = "011";
    for (size_t i = 0; i < k011.size(); ++i) {
        if (i == sTag.size()) return false;
        const auto c = static_cast<unsigned char>(sTag[i]), d = static_cast<unsigned char>(k011[i]);
        if (c != d) return c > d;
    }
    return true;
}

// A subfield's code written over the last one of its slot; a one-octet code
// over a one-octet code is written in place.
void StoreCode(std::string& sStored, std::string_view sCode) {
    if (sStored.size() == 1 && sCode.size() == 1) sStored[0] = sCode[0];
    else sStored.assign(sCode);
}

// The code that SfdAdd stores for a given code.
std::string_view StoredCode(std::string_view sCode) {
    return (sCode == " " || sCode.size() != 1) ? std::string_view("9") : sCode;
}

}  // namespace

// ---------------------------------------------------------------- splitting

void Utf8MarcRecordClass::FldRaiseIfTooManySubfields(const std::string& sTag, const std::string& sFieldText) const {
    // Every subfield that takes a slot begins with a delimiter, so a text of
    // no more octets than the limit cannot pass it: only a longer one is
    // counted.
    if (sFieldText.size() <= static_cast<size_t>(kMostSubfields)) return;
    // Count the subfields that will take a slot: the first always, a later
    // one when it has text (or is 853 $a). Text in fields below 011 (the 010)
    // keeps its blanks.
    SubfieldReader counter(sFieldText, TagFrom011(sTag));
    std::string_view sCode, sText;
    int32_t lSlots = 0;
    while (counter.Next(sCode, sText))
        if (lSlots == 0 || !sText.empty() || (StoredCode(sCode) == "a" && sTag == "853")) ++lSlots;
    if (lSlots > kMostSubfields) RaiseRuntimeError(ErrorNumber::Overflow);
}

void Utf8MarcRecordClass::FldSplitText(int16_t iFieldPointer, const std::string& sFieldText) {
    if (iFieldPointer < 0 || iFieldPointer >= m.FldCount) return;
    const FieldEntry& field = m.Fields[static_cast<size_t>(iFieldPointer)];
    // Text in fields below 011 (the 010) keeps its blanks.
    const bool bTrim = TagFrom011(field.Tag);
    const bool bControl = field.IsControl;

    // Nothing changes before the count.
    if (!bControl) FldRaiseIfTooManySubfields(field.Tag, sFieldText);

    FieldEntry& entry = m.Fields[static_cast<size_t>(iFieldPointer)];
    entry.FirstSubfield = -1;
    entry.LastSubfield = -1;
    entry.SubfieldTop = -1;

    struct SplittingGuard {
        bool& flag;
        explicit SplittingGuard(bool& f) : flag(f) { flag = true; }
        ~SplittingGuard() { flag = false; }
    };
    // The slots that the adds of the split take into use are recycled as
    // they are taken; at the end those that no subfield took are recycled.
    struct FreshSlots {
        Utf8MarcRecordState& state;
        const int16_t iField;
        const int16_t iFieldBefore = state.SfdSplitFreshField;
        const int16_t iFromBefore = state.SfdSplitFreshFrom;
        FreshSlots(Utf8MarcRecordState& s, int16_t iFieldPointer) : state(s), iField(iFieldPointer) {
            state.SfdSplitFreshField = iField;
            state.SfdSplitFreshFrom = -1;
        }
        ~FreshSlots() {
            if (iField < state.FldCount)
                state.Fields[static_cast<size_t>(iField)].RecycleFreshSlots(state.SfdSplitFreshFrom);
            state.SfdSplitFreshField = iFieldBefore;
            state.SfdSplitFreshFrom = iFromBefore;
        }
        FreshSlots(const FreshSlots&) = delete;
        FreshSlots& operator=(const FreshSlots&) = delete;
    } fresh(m, iFieldPointer);

    if (bControl) {
        SplittingGuard splitting(m.SplittingField);
        SfdAdd("", sFieldText);
        return;
    }
    SubfieldReader reader(sFieldText, bTrim);
    std::string_view sCode, sText;
    while (reader.Next(sCode, sText)) {
        SplittingGuard splitting(m.SplittingField);
        if (!SfdSplitAppend(sCode, sText)) SfdAddText(sCode, sText, true);
    }
}

void Utf8MarcRecordClass::SfdFillSlot(SubfieldEntry& entry, std::string_view sCode, std::string_view sText,
                                      bool bKeepBlanks, bool bTitleSeen, bool bPiece) {
    entry.Deleted = false;
    SfdOrderPositionInto(entry, sCode, bTitleSeen);
    StoreCode(entry.Code, sCode);
    entry.Text = bKeepBlanks ? sText : TrimView(sText);
    SfdStoreOrDeferForms(entry, nullptr, false, bPiece);
}

bool Utf8MarcRecordClass::SfdSplitAppend(std::string_view sCode, std::string_view sText) {
    // Only a later subfield of a one-octet code other than the blank, with
    // text, in a field whose placed subfields are tracked; any other piece
    // (and an OCLC number in 035 $a) takes the whole add. Nothing is changed
    // before that is known.
    FieldEntry* field = CurrentFieldEntry();
    if (!field || field->IsControl || field->SubfieldTop < 0 || sText.empty() || sCode.size() != 1 ||
        sCode[0] == ' ')
        return false;
    const int16_t iAnchor = field->LastSubfield;
    if (iAnchor < 0 || iAnchor > field->SubfieldTop) return false;
    if (sCode[0] == 'a' && m.RemoveDuplicateOclcNumbers && IsTag(field->Tag, "035")) return false;
    // (Where it answers false it has changed nothing.)
    if (!SfdSplitTracked(*field)) return false;

    // As the add leaves it: the cursor on the last subfield, then on the new one.
    field->Changed = true;
    m.SfdPointer = iAnchor;
    m.SfdWasFound = true;
    m.SfdAtTop = false;
    m.SfdAtBottom = false;
    const bool bKeepBlanks = IsTag(field->Tag, "010") || (sCode[0] == '0' && IsChar(m.MarcRecordFormat, 'A'));
    const bool bTitleSeen = m.SfdSplitTitle && !m.IgnoreSfdOrder && m.SfdOrderCurrent->Code(sCode[0]).Repeated;

    const int16_t iSlot = field->NewSubfieldSlot(SfdSplitFreshSlots());
    field->SubfieldTop = iSlot;
    m.SfdPointer = iSlot;

    SubfieldEntry& entry = field->Subfields[static_cast<size_t>(iSlot)];
    SfdFillSlot(entry, sCode, sText, bKeepBlanks, bTitleSeen, true);
    SubfieldEntry& anchor = field->Subfields[static_cast<size_t>(iAnchor)];
    entry.PrevSubfield = iAnchor;
    entry.NextSubfield = anchor.NextSubfield;
    if (anchor.NextSubfield >= 0) field->Subfields[static_cast<size_t>(anchor.NextSubfield)].PrevSubfield = iSlot;
    else field->LastSubfield = iSlot;
    anchor.NextSubfield = iSlot;

    const bool bPlacedDirectly = SfdSplitPlace(*field, iSlot);
    if (!bPlacedDirectly) SfdOrderLoop(true);
    SfdSplitPlaced(*field, iSlot, bPlacedDirectly);
    return true;
}

// ---------------------------------------------------------------- normal forms

void Utf8MarcRecordClass::SfdStoreForms(SubfieldEntry& entry, const std::string& sText, bool bSwitchSchemes) {
    // Only the first subfield added to a field switches schemes: its normal
    // form under "V", its NACO form under "P". Elsewhere the scheme in force
    // serves both.
    if (bSwitchSchemes) NormalizationScheme("V");
    entry.FormsPending = false;
    entry.FormsWritten = true;
    entry.Norm = NormString(sText, true, "V");
    if (bSwitchSchemes) NormalizationScheme("P");
    SfdMakeNacoForm(entry, sText, CurrentTag(), m.MarcRecordFormat);
}

void Utf8MarcRecordClass::SfdMakeForms(SubfieldEntry& entry, const std::string& sText, const std::string& sTag,
                                       const std::string& sFormat) {
    entry.FormsWritten = true;
    entry.Norm = NormString(sText, true, "V");
    SfdMakeNacoForm(entry, sText, sTag, sFormat);
}

void Utf8MarcRecordClass::SfdStoreOrDeferForms(SubfieldEntry& entry, const std::string* pFormText,
                                               bool bSwitchSchemes, bool bPiece) {
    const std::string& sText = pFormText ? *pFormText : entry.Text;
    // The forms of UTF-8 text depend on the scheme only through a delimiter
    // in it; a valid scheme in force comes back after the add as it was.
    // Those of 8-bit text depend on the output set alone (no tag, format or
    // scheme); a text they may overflow on is not deferred.
    static const std::string kNoTag;
    const FieldEntry* field = CurrentFieldEntry();
    const std::string& sTag = field ? field->Tag : kNoTag;
    char cSet = 0;
    if (!m.RecordIsUtf8)
        cSet = IsChar(m.CharacterSetOut, 'V') ? 'V'
               : IsChar(m.CharacterSetOut, 'M') || IsChar(m.CharacterSetOut, 'O') ? 'M'
                                                                                  : 0;
    const bool bDefer =
        m.SplittingField && (IsChar(m.NormalizationScheme, 'V') || IsChar(m.NormalizationScheme, 'P')) &&
        sTag.size() <= sizeof entry.FormsTag && m.MarcRecordFormat.size() <= 1 &&
        (m.RecordIsUtf8 ? (bPiece && !pFormText) || sText.find(kDelimiter) == std::string::npos
                        : cSet != 0 && sText.size() <= kLongestDeferredEightBitText);
    if (!bDefer) {
        SfdStoreForms(entry, sText, bSwitchSchemes);
        return;
    }
    if (entry.FormsWritten) {
        if (!entry.Norm.empty()) entry.Norm.clear();
        if (!entry.NormNaco.empty()) entry.NormNaco.clear();
    }
    entry.FormsPending = true;
    entry.FormsSet = cSet;
    entry.FormsTextSeparate = pFormText != nullptr;
    if (pFormText) {
        entry.FormsWritten = true;
        entry.FormsText = *pFormText;
    }
    // (Both fit, as tested above: copied octet by octet.)
    entry.FormsTagLength = static_cast<uint8_t>(sTag.size());
    for (size_t i = 0; i < sTag.size(); ++i) entry.FormsTag[i] = sTag[i];
    entry.FormsFormatLength = static_cast<uint8_t>(m.MarcRecordFormat.size());
    if (!m.MarcRecordFormat.empty()) entry.FormsFormat = m.MarcRecordFormat[0];
}

void Utf8MarcRecordClass::SfdFormsReady(const SubfieldEntry& entry) const {
    if (!entry.FormsPending) return;
    // The forms are part of the stored subfield; making them late changes
    // nothing else that can be seen. They are made in the set of the add.
    auto& self = const_cast<Utf8MarcRecordClass&>(*this);
    auto& ready = const_cast<SubfieldEntry&>(entry);
    ready.FormsPending = false;
    struct SetGuard {
        Utf8MarcRecordState& state;
        bool bUtf8;
        std::string sOut;  // the set out, while another one stands in for it
        bool bSwapped = false;
        ~SetGuard() {
            state.RecordIsUtf8 = bUtf8;
            if (bSwapped) state.CharacterSetOut.swap(sOut);
        }
    } guard{self.m, self.m.RecordIsUtf8, std::string()};
    self.m.RecordIsUtf8 = ready.FormsSet == 0;
    if (ready.FormsSet != 0) {
        guard.sOut.assign(1, ready.FormsSet);
        self.m.CharacterSetOut.swap(guard.sOut);
        guard.bSwapped = true;
    }
    self.SfdMakeForms(ready, ready.FormsTextSeparate ? ready.FormsText : ready.Text,
                      std::string(ready.FormsTag, ready.FormsTagLength),
                      std::string(&ready.FormsFormat, ready.FormsFormatLength));
    ready.FormsText.clear();
}

void Utf8MarcRecordClass::SfdMakeNacoForm(SubfieldEntry& entry, const std::string& sText, const std::string& sTag,
                                          const std::string& sFormat) {
    entry.FormsWritten = true;
    const size_t comma = sText.find(',');
    if (entry.Code != "a") {
        entry.NormNaco = NormStringNaco(sText, true, "P", sFormat, sTag, entry.Code);
    } else if (comma == std::string::npos || comma + 1 == sText.size()) {
        entry.NormNaco = NormString(sText, true, "P");
    } else {
        // A name's first comma stays between the forms of its two halves.
        std::string sNaco = NormString(sText.substr(0, comma), true, "V");
        sNaco += ", ";
        sNaco += NormString(sText.substr(comma + 1), true, "P");
        entry.NormNaco = std::move(sNaco);
    }
}

// ---------------------------------------------------------------- adding

void Utf8MarcRecordClass::SfdAdd(const std::string& sSubfieldCode, const std::string& sSubfieldText) {
    if (m.SplittingField) {
        SfdAddText(sSubfieldCode, sSubfieldText, false);
        return;
    }
    // A split hands over texts of its own; any other caller's text is copied,
    // for it may live in the table that this add changes.
    const std::string sCodeCopy = sSubfieldCode;
    const std::string sTextCopy = sSubfieldText;
    SfdAddText(sCodeCopy, sTextCopy, false);
}

void Utf8MarcRecordClass::SfdAddText(std::string_view sSubfieldCode, std::string_view sGivenText, bool bPiece) {
    if (!CurrentFieldEntry()) return;
    std::string_view sCode = sSubfieldCode;

    // An OCLC number in 035 $a takes its normal form, and another 035 whose
    // $a holds the same number makes this field a duplicate: it is deleted,
    // and still gets the subfield.
    std::string sNormalized;
    const bool bOclcNumber = IsTag(CurrentFieldEntry()->Tag, "035") && IsChar(sCode, 'a') &&
                             m.RemoveDuplicateOclcNumbers &&
                             IsOclcNumber(std::string(sGivenText), sNormalized);
    const std::string_view sText = bOclcNumber ? std::string_view(sNormalized) : sGivenText;
    if (bOclcNumber) bPiece = false;
    if (bOclcNumber) {
        const int16_t iField = m.FldPointer;
        FldMoveTop();
        while (FldFindNext("035", "")) {
            if (m.FldPointer == iField) continue;
            std::string sOther;
            if (SfdFindFirst("a", "") && IsOclcNumber(SfdText(), sOther) && sOther == sText) {
                FldPointer(iField);
                FldDelete();
                break;
            }
        }
        FldPointer(iField);
        if (!CurrentFieldEntry()) return;
    }

    // A $6 added while editing goes first and gives the field its linkage.
    if (IsChar(sCode, '6') && !m.SplittingField) {
        const std::string sTag = CurrentFieldEntry()->Tag;
        const std::string sKey =
            FldOrderKey(sTag, FldInd(), std::string(1, kDelimiter) + "6" + std::string(sText) + FldText());
        const int32_t lMarker = rt::InStr(sKey, m.Subfield6Marker);
        if (lMarker > 0 && CurrentFieldEntry()) CurrentFieldEntry()->OrderKeySuffix = rt::Mid(sKey, lMarker);
        SfdMoveFirst();
        SfdInsert("6", sText, false);
        return;
    }

    // Code check: a blank, empty or longer code is stored as "9".
    if (IsChar(sCode, ' ') || sCode.size() != 1) {
        sCode = "9";
        if (!CurrentFieldEntry()->IsControl) m.MarcRecordModified = true;
    }

    FieldEntry& field = *CurrentFieldEntry();
    const std::string& sTag = field.Tag;

    // An authority record's local $5 under a rule of method 4 (local $5
    // first). The rule number is read from the order key; a key that names no
    // rule of the table ("*", a non-number, 0, past the count) is no such case.
    bool bLocal5 = false;
    if (IsChar(m.MarcRecordFormat, 'A') && IsChar(sCode, '5')) {
        const double dRule = rt::Val(rt::Left(field.OrderKey, 3));
        if (dRule >= 1 && dRule <= m.FldOrderAuthCount && dRule == static_cast<int16_t>(dRule)) {
            const size_t iRule = static_cast<size_t>(dRule);
            bLocal5 = iRule < m.FldOrderAuth.size() && m.FldOrderAuth[iRule].Method == 4;
        }
    }
    // A control field that has its subfield: the text is replaced.
    if (field.IsControl && field.SubfieldTop >= 0) {
        field.Changed = true;
        const int16_t iOnly = field.FirstSubfield >= 0 ? field.FirstSubfield : field.SubfieldTop;
        SubfieldEntry& only = field.Subfields[static_cast<size_t>(iOnly)];
        only.FormsPending = false;
        only.FormsWritten = true;
        only.Text = sText;
        only.NormNaco = NormStringNaco(only.Text, true, "P", m.MarcRecordFormat, sTag, std::string(sCode));
        only.Norm = NormString(only.Text, true, "V");
        return;
    }

    // The first subfield of a field.
    if (field.SubfieldTop == -1) {
        const std::string sSchemeFound = m.NormalizationScheme;
        struct SchemeGuard {
            Utf8MarcRecordClass& record;
            const std::string& scheme;
            ~SchemeGuard() {
                // Setting the scheme in force again would change nothing.
                if (SameShort(record.m.NormalizationScheme, scheme) &&
                    SameShort(record.SharedChar().NormalizationScheme(), scheme))
                    return;
                try {
                    record.NormalizationScheme(scheme);
                } catch (...) {  // the scheme found was valid; nothing to report
                }
            }
        } restore{*this, sSchemeFound};

        const int16_t iSlot = field.NewSubfieldSlot(SfdSplitFreshSlots());
        field.SubfieldTop = iSlot;
        SubfieldEntry& slot = field.Subfields[static_cast<size_t>(iSlot)];
        SfdOrderPositionInto(slot, sCode, false);
        slot.Deleted = false;
        StoreCode(slot.Code, sCode);
        slot.Text = sText;

        // The forms of a $a leave its nonfiling characters out; the field's
        // indicators stay as they are.
        // (Only a text that loses something is copied.)
        std::string sWithoutNonfiling;
        bool bWithoutNonfiling = false;
        if (IsChar(sCode, 'a')) {
            const std::string sKind = m.Leader.size() >= 7 && m.Leader[6] == 'z' ? "A" : "B";
            if (NonfilingChangesText(sKind, sTag, field.Indicators, slot.Text)) {
                // Copies, for the removal may yield to other work.
                const std::string sTagCopy = sTag;
                const std::string sTextCopy = slot.Text;
                std::string sIndicators = field.Indicators;
                sWithoutNonfiling = RemoveNonfilingCharacters(sKind, sTagCopy, sIndicators, sTextCopy, true);
                bWithoutNonfiling = true;
            }
        }
        // The slot stays where it is whatever happened to the field table.
        FieldEntry& entry = *CurrentFieldEntry();
        SfdStoreOrDeferForms(slot, bWithoutNonfiling ? &sWithoutNonfiling : nullptr, true, bPiece);
        slot.NextSubfield = -1;
        slot.PrevSubfield = -1;
        entry.FirstSubfield = iSlot;
        entry.LastSubfield = iSlot;
        SfdPointer(iSlot);
        return;
    }

    // Any further subfield goes after the last one.
    field.Changed = true;
    SfdMoveLast();
    SfdInsert(sCode, sText, true, bPiece);

    // A $5 of one of our own institutions places the field anew by its new
    // order key.
    if (bLocal5 && !m.SplittingField && !m.Nuc.empty()) {
        std::string sInstitution(sText);
        const size_t iDelimiter = sInstitution.find(kDelimiter);
        if (iDelimiter != std::string::npos) sInstitution = rt::Trim(sInstitution.substr(0, iDelimiter));
        if (rt::InStr(m.Nuc, "(" + sInstitution) > 0 ||
            rt::InStr(m.NucSubfield5List, std::string(1, kDelimiter) + "5" + sInstitution) > 0) {
            std::string sFieldTag, sIndicators, sField;
            FldLoadInfo(sFieldTag, sIndicators, sField);
            FldDelete();
            FldAdd(sFieldTag, sIndicators, sField, false);
        }
    }
}

// ---------------------------------------------------------------- insertion

void Utf8MarcRecordClass::SfdInsertBefore(const std::string& sSubfieldCode, const std::string& sSubfieldText) {
    SfdInsert(sSubfieldCode, sSubfieldText, false);
}

void Utf8MarcRecordClass::SfdInsertAfter(const std::string& sSubfieldCode, const std::string& sSubfieldText) {
    SfdInsert(sSubfieldCode, sSubfieldText, true);
}

void Utf8MarcRecordClass::SfdInsert(std::string_view sSubfieldCode, std::string_view sSubfieldText, bool bAfter,
                                    bool bPiece) {
    FieldEntry* field = CurrentFieldEntry();
    if (!field || field->IsControl) return;
    if (sSubfieldCode.empty()) return;
    if (sSubfieldText.empty() && !(bAfter && IsChar(sSubfieldCode, 'a') && IsTag(field->Tag, "853"))) return;
    const bool bKeepBlanks =
        IsTag(field->Tag, "010") || (IsChar(m.MarcRecordFormat, 'A') && IsChar(sSubfieldCode, '0'));

    // The anchor: the current subfield, else the last (after) or the first
    // (before) subfield of a field that has some.
    int16_t iAnchor = CurrentSubfieldEntry() ? m.SfdPointer : int16_t{-1};
    if (iAnchor < 0) iAnchor = bAfter ? field->LastSubfield : field->FirstSubfield;
    field->Changed = true;

    // Title seen: a $t (deleted or not) up to and including the anchor
    // (after), or before it (before). Only a repeated code of the rule asks
    // for it, so the walk is left out for every other code; a split that
    // appends knows the answer without it.
    const bool bSplitTracked = m.SplittingField && bAfter && iAnchor >= 0 && iAnchor == field->LastSubfield &&
                               SfdSplitTracked(*field);
    const bool bTitleMatters =
        !m.IgnoreSfdOrder && m.SfdOrderCurrent->With(sSubfieldCode, [](const SubfieldOrderCode& c) { return c.Repeated; });
    bool bTitleSeen = bSplitTracked && bTitleMatters && m.SfdSplitTitle;
    for (int16_t i = bTitleMatters && !bSplitTracked ? field->FirstSubfield : int16_t{-1}; i >= 0;) {
        const SubfieldEntry& walked = field->Subfields[static_cast<size_t>(i)];
        if (i == iAnchor && !bAfter) break;
        if (IsChar(walked.Code, 't')) bTitleSeen = true;
        if (i == iAnchor) break;
        i = walked.NextSubfield;
    }
    m.SfdAtTop = false;
    m.SfdAtBottom = false;

    const int16_t iSlot = field->NewSubfieldSlot(SfdSplitFreshSlots());
    field->SubfieldTop = iSlot;
    SfdPointer(iSlot);

    SubfieldEntry& entry = field->Subfields[static_cast<size_t>(iSlot)];
    SfdFillSlot(entry, sSubfieldCode, sSubfieldText, bKeepBlanks, bTitleSeen, bPiece);
    entry.NextSubfield = -1;
    entry.PrevSubfield = -1;

    if (field->SubfieldTop == 0 || iAnchor < 0) {
        field->FirstSubfield = iSlot;
        field->LastSubfield = iSlot;
        return;
    }
    SubfieldEntry& anchor = field->Subfields[static_cast<size_t>(iAnchor)];
    if (bAfter) {
        entry.PrevSubfield = iAnchor;
        entry.NextSubfield = anchor.NextSubfield;
        if (anchor.NextSubfield >= 0) {
            field->Subfields[static_cast<size_t>(anchor.NextSubfield)].PrevSubfield = iSlot;
        } else {
            field->LastSubfield = iSlot;
        }
        anchor.NextSubfield = iSlot;
    } else {
        entry.NextSubfield = iAnchor;
        entry.PrevSubfield = anchor.PrevSubfield;
        if (anchor.PrevSubfield >= 0) {
            field->Subfields[static_cast<size_t>(anchor.PrevSubfield)].NextSubfield = iSlot;
        } else {
            field->FirstSubfield = iSlot;
        }
        anchor.PrevSubfield = iSlot;
    }
    if (!bSplitTracked) {
        SfdOrderLoop(bAfter);
        return;
    }
    const bool bPlacedDirectly = SfdSplitPlace(*field, iSlot);
    if (!bPlacedDirectly) SfdOrderLoop(bAfter);
    SfdSplitPlaced(*field, iSlot, bPlacedDirectly);
}

// ---------------------------------------------------------------- order

namespace {

// The tests of one shifting run keep what they learnt of the $t before the
// subfield; any other edit between two runs starts afresh.
struct SfdTitleRun {
    Utf8MarcRecordState& state;
    explicit SfdTitleRun(Utf8MarcRecordState& s) : state(s) {
        if (state.SfdTitleRunDepth++ == 0) state.SfdTitleCacheValid = false;
    }
    ~SfdTitleRun() {
        if (--state.SfdTitleRunDepth == 0) state.SfdTitleCacheValid = false;
    }
    SfdTitleRun(const SfdTitleRun&) = delete;
    SfdTitleRun& operator=(const SfdTitleRun&) = delete;
};

}  // namespace

namespace {

// The step that SfdOrderPosition gives for a code under a rule, null for
// none, and its match count.
const SubfieldOrderStep* OrderStepOf(const CompiledSubfieldOrderRule& rule, std::string_view sCode, bool bTitleSeen,
                                     int16_t& iPosition, int16_t& iMatchCount) {
    rule.With(sCode, [&](const SubfieldOrderCode& code) {
        // A repeated code after a $t belongs to a title step.
        const bool bTitle = bTitleSeen && code.Repeated;
        iMatchCount = bTitle ? code.TitleMatchCount : code.MatchCount;
        iPosition = bTitle ? code.TitlePosition : code.Position;
    });
    return iPosition >= 0 ? &rule.Rule.Steps[static_cast<size_t>(iPosition)] : nullptr;
}

}  // namespace

void Utf8MarcRecordClass::SfdOrderPosition(const std::string& sCode, bool bTitleSeen, int16_t& iPosition,
                                           int16_t& iStepType, std::string& sStepCodes, int16_t& iMatchCount) {
    iPosition = 1;
    iStepType = 2;
    iMatchCount = 0;
    if (m.IgnoreSfdOrder) return;
    int16_t iStep = -1;
    const SubfieldOrderStep* step = OrderStepOf(*m.SfdOrderCurrent, sCode, bTitleSeen, iStep, iMatchCount);
    if (!step) return;
    iPosition = iStep;
    iStepType = step->StepType;
    sStepCodes = step->Codes;
}

void Utf8MarcRecordClass::SfdOrderPositionInto(SubfieldEntry& entry, std::string_view sCode, bool bTitleSeen) {
    entry.OrderPosition = 1;
    entry.OrderStepType = 2;
    entry.OrderStepCodes.clear();
    if (m.IgnoreSfdOrder) return;
    int16_t iStep = -1, iMatchCount = 0;
    const SubfieldOrderStep* step = OrderStepOf(*m.SfdOrderCurrent, sCode, bTitleSeen, iStep, iMatchCount);
    if (!step) return;
    entry.OrderPosition = iStep;
    entry.OrderStepType = step->StepType;
    entry.OrderStepCodes = step->Codes;
}

// Shifts the new subfield (the current one) into order, or reports it where
// the switches keep it in place. One insertion shifts at most twice the
// field's subfield count, so a rule that sends a subfield back and forth
// cannot hold it for ever; past that it is reported where it stands.
void Utf8MarcRecordClass::SfdOrderLoop(bool bAfter) {
    FieldEntry* field = CurrentFieldEntry();
    if (!field || !CurrentSubfieldEntry()) return;
    const SfdTitleRun run(m);
    const int16_t iSlot = m.SfdPointer;
    const std::string sTag = field->Tag;
    const bool bRecorded = !IsChar(field->Subfields[static_cast<size_t>(iSlot)].Code, 'w');
    const int32_t lMostShifts = 2 * (int32_t{field->SubfieldTop} + 1);
    const bool bOnlyReport = m.MakeNoChange || !m.TestSubfieldOrder;

    auto addTag = [&](bool bTrimList) { SfdOrderNoteTag(sTag, bTrimList); };
    auto report = [&](bool bTrimList) {
        if (!bRecorded) return;
        m.SubfieldsOutOfOrder = true;
        addTag(bTrimList);
    };

    for (int32_t lShifts = 0;; ++lShifts) {
        FieldEntry& current = m.Fields[static_cast<size_t>(m.FldPointer)];
        const SubfieldEntry& subfield = current.Subfields[static_cast<size_t>(iSlot)];
        const int16_t iVerdict = SfdOrderTest(current.Subfields, iSlot);
        if (iVerdict == 0) return;
        // Only SfdInsertAfter trims the list, and only when moving left.
        const bool bTrimList = bAfter && iVerdict < 0;
        if (iVerdict < 0 && subfield.PrevSubfield < 0) return;
        if (iVerdict > 0 && subfield.NextSubfield < 0) return;
        if (bOnlyReport || lShifts >= lMostShifts) {
            report(bTrimList);
            return;
        }
        if (iVerdict < 0) {
            SfdShiftLeft();
            if (bRecorded) m.SfdOrderChanged = true;
            if (bRecorded) addTag(bTrimList);
        } else {
            if (bRecorded) m.SfdOrderChanged = true;
            if (bRecorded) addTag(bTrimList);
            SfdShiftRight();
        }
    }
}

void Utf8MarcRecordClass::SfdOrderNoteTag(const std::string& sTag, bool bTrimList) {
    if (rt::InStr(m.FldsWithSfdsOutOfOrder, sTag) > 0) return;
    m.FldsWithSfdsOutOfOrder += " " + sTag;
    if (bTrimList) m.FldsWithSfdsOutOfOrder = rt::Trim(m.FldsWithSfdsOutOfOrder);
}

// A split appends each subfield and the order loop shifts it left one place
// at a time, which costs the field's length for every subfield that belongs
// near its front. Without the $t switch the test is a comparison of ranks,
// so the subfields placed so far stand sorted by rank, and the loop's shifts
// end right after the last subfield whose rank is not greater than the new
// one's (at the front without one): the split puts it there at once.

bool Utf8MarcRecordClass::SfdSplitTracked(const FieldEntry& field) {
    if (field.SubfieldTop == 0 && field.FirstSubfield == 0) {
        // The second subfield: the first one stands alone.
        const std::string& sCode = field.Subfields[0].Code;
        m.SfdSplitField = m.FldPointer;
        m.SfdSplitCount = 1;
        m.SfdSplitTitle = IsChar(sCode, 't');
        m.SfdSplitSorted = true;
        m.SfdSplitRuleGeneration = m.SfdOrderCurrentGeneration;
        m.SfdSplitLastOfRank.assign(1, {SfdOrderRank(sCode), int16_t{0}});
        return true;
    }
    return m.SfdSplitField == m.FldPointer && m.SfdSplitCount == int32_t{field.SubfieldTop} + 1;
}

bool Utf8MarcRecordClass::SfdSplitPlace(FieldEntry& field, int16_t iSlot) {
    SubfieldEntry& entry = field.Subfields[static_cast<size_t>(iSlot)];
    const bool bTitleSwitch =
        m.SfdSplitTitle && m.SfdOrderCurrent->With(entry.Code, [](const SubfieldOrderCode& c) { return c.Repeated; });
    if (!m.SfdSplitSorted || m.SfdSplitRuleGeneration != m.SfdOrderCurrentGeneration || m.IgnoreSfdOrder ||
        m.MakeNoChange || !m.TestSubfieldOrder || bTitleSwitch || entry.NextSubfield >= 0)
        return false;

    const int64_t lRank = SfdOrderRank(entry.Code);
    auto& ranks = m.SfdSplitLastOfRank;
    auto above = std::upper_bound(ranks.begin(), ranks.end(), lRank,
                                  [](int64_t l, const std::pair<int64_t, int16_t>& r) { return l < r.first; });
    const int16_t iAfter = above == ranks.begin() ? int16_t{-1} : std::prev(above)->second;
    if (iAfter != entry.PrevSubfield) {
        // Off the end of the list, then after iAfter or to the front.
        auto at = [&](int16_t i) -> SubfieldEntry& { return field.Subfields[static_cast<size_t>(i)]; };
        field.LastSubfield = entry.PrevSubfield;
        at(entry.PrevSubfield).NextSubfield = -1;
        const int16_t iBefore = iAfter >= 0 ? at(iAfter).NextSubfield : field.FirstSubfield;
        entry.PrevSubfield = iAfter;
        entry.NextSubfield = iBefore;
        at(iBefore).PrevSubfield = iSlot;
        if (iAfter >= 0) at(iAfter).NextSubfield = iSlot;
        else field.FirstSubfield = iSlot;
        if (!IsChar(entry.Code, 'w')) {
            m.SfdOrderChanged = true;
            SfdOrderNoteTag(field.Tag, true);
        }
    }
    if (above != ranks.begin() && std::prev(above)->first == lRank) std::prev(above)->second = iSlot;
    else ranks.insert(above, {lRank, iSlot});
    return true;
}

void Utf8MarcRecordClass::SfdSplitPlaced(const FieldEntry& field, int16_t iSlot, bool bPlacedDirectly) {
    m.SfdSplitCount = static_cast<int16_t>(m.SfdSplitCount + 1);
    if (IsChar(field.Subfields[static_cast<size_t>(iSlot)].Code, 't')) m.SfdSplitTitle = true;
    // The loop may have left the subfields in an order of its own.
    if (!bPlacedDirectly) m.SfdSplitSorted = false;
}

// ---------------------------------------------------------------- shifts

void Utf8MarcRecordClass::SfdShiftLeft() { SfdShift(true); }

void Utf8MarcRecordClass::SfdShiftRight() { SfdShift(false); }

void Utf8MarcRecordClass::SfdShift(bool bLeft) {
    FieldEntry* field = CurrentFieldEntry();
    if (!field || !CurrentSubfieldEntry()) return;
    const int16_t iMoved = m.SfdPointer;
    auto at = [&](int16_t i) -> SubfieldEntry& { return field->Subfields[static_cast<size_t>(i)]; };
    const int16_t iOther = bLeft ? at(iMoved).PrevSubfield : at(iMoved).NextSubfield;
    if (iOther < 0) return;

    // Exchange the two neighbours in list order; the slots stay.
    const int16_t iFirst = bLeft ? iOther : iMoved;   // the one in front
    const int16_t iSecond = bLeft ? iMoved : iOther;  // the one behind it
    const int16_t iBefore = at(iFirst).PrevSubfield;
    const int16_t iAfter = at(iSecond).NextSubfield;
    at(iSecond).PrevSubfield = iBefore;
    at(iSecond).NextSubfield = iFirst;
    at(iFirst).PrevSubfield = iSecond;
    at(iFirst).NextSubfield = iAfter;
    if (iBefore >= 0) {
        at(iBefore).NextSubfield = iSecond;
    } else {
        field->FirstSubfield = iSecond;
    }
    if (iAfter >= 0) {
        at(iAfter).PrevSubfield = iFirst;
    } else {
        field->LastSubfield = iFirst;
    }

    const SfdTitleRun run(m);
    // A nested shift only exchanges.
    if (m.SfdShiftInProgress) {
        m.SfdShiftInProgress = false;
        return;
    }
    // A shift that breaks the rule is undone; a subfield that belongs further
    // on keeps moving.
    for (;;) {
        const int16_t iVerdict = SfdOrderTest(field->Subfields, iMoved);
        const bool bBack = bLeft ? iVerdict == 1 : iVerdict == -1;
        const bool bOn = bLeft ? iVerdict == -1 : iVerdict == 1;
        const bool bHasBack = bLeft ? at(iMoved).NextSubfield >= 0 : at(iMoved).PrevSubfield >= 0;
        const bool bHasOn = bLeft ? at(iMoved).PrevSubfield >= 0 : at(iMoved).NextSubfield >= 0;
        if (bOn && bHasOn) {
            m.SfdShiftInProgress = true;
            SfdShift(bLeft);
            continue;
        }
        if (bBack && bHasBack) {
            m.SfdShiftInProgress = true;
            SfdShift(!bLeft);
        }
        return;
    }
}

// ---------------------------------------------------------------- change and deletion

void Utf8MarcRecordClass::SfdChange(const std::string& sSubfieldCode, const std::string& sSubfieldText) {
    FieldEntry* field = CurrentFieldEntry();
    SubfieldEntry* subfield = CurrentSubfieldEntry();
    if (!field || !subfield || field->IsControl) return;
    SfdFormsReady(*subfield);
    subfield->Code = sSubfieldCode;
    const bool bAuthority = m.MarcRecordFormat == "A";
    const bool bKeepBlanks = field->Tag == "010" && (!bAuthority || sSubfieldCode == "0");
    subfield->Text = bKeepBlanks ? sSubfieldText : rt::Trim(sSubfieldText);
    std::string sField;
    for (int16_t i = field->FirstSubfield; i >= 0;) {
        const SubfieldEntry& walked = field->Subfields[static_cast<size_t>(i)];
        if (!walked.Deleted) {
            sField += kDelimiter;
            sField += walked.Code;
            sField += walked.Text;
        }
        i = walked.NextSubfield;
    }
    FldReplace(field->Tag, field->Indicators, sField);
}

void Utf8MarcRecordClass::SfdDelete(bool bConsider245HPunctuation) {
    FieldEntry* field = CurrentFieldEntry();
    SubfieldEntry* subfield = CurrentSubfieldEntry();
    if (!field || !subfield) return;
    // The punctuation after the last "]" of a 245 or 8XX $h goes to the
    // subfield before it.
    std::string sPunctuation;
    if (bConsider245HPunctuation && (field->Tag == "245" || field->Tag.substr(0, 1) == "8") && subfield->Code == "h" &&
        subfield->Text.find(']') != std::string::npos)
        sPunctuation = rt::Mid(subfield->Text, Rat(subfield->Text, "]") + 1);
    subfield = CurrentSubfieldEntry();  // Rat yields
    field = CurrentFieldEntry();
    if (!field || !subfield) return;
    subfield->Deleted = true;
    field->Changed = true;
    if (sPunctuation.empty()) return;

    // A deleted subfield before it takes nothing: its text is gone from the
    // field, and the rewrite would renumber the slots under a caller that is
    // deleting every subfield (FldText let "").
    const int16_t iRemembered = m.SfdPointer;
    if (SfdMovePrev() && !SfdDeleted()) {
        const std::string sPrevious = SfdText();
        if (sPrevious.size() < sPunctuation.size() ||
            sPrevious.compare(sPrevious.size() - sPunctuation.size(), sPunctuation.size(), sPunctuation) != 0)
            SfdText(sPrevious + sPunctuation);
    }
    SfdPointer(iRemembered);
}

void Utf8MarcRecordClass::SfdUndelete() {
    FieldEntry* field = CurrentFieldEntry();
    SubfieldEntry* subfield = CurrentSubfieldEntry();
    if (!field || !subfield) return;
    subfield->Deleted = false;
    field->Changed = true;
}

// ---------------------------------------------------------------- small members

std::string Utf8MarcRecordClass::CurrentTag() const {
    const FieldEntry* field = CurrentFieldEntry();
    return field ? field->Tag : std::string();
}

std::string Utf8MarcRecordClass::SfdCode() const {
    const SubfieldEntry* subfield = CurrentSubfieldEntry();
    return subfield && !m.SfdAtTop ? subfield->Code : std::string();
}

void Utf8MarcRecordClass::SfdCode(const std::string& vNewValue) {
    if (!CurrentSubfieldEntry()) return;
    SfdChange(vNewValue, SfdText());
}

std::string Utf8MarcRecordClass::SfdText() const {
    const SubfieldEntry* subfield = CurrentSubfieldEntry();
    return subfield && !m.SfdAtTop ? subfield->Text : std::string();
}

void Utf8MarcRecordClass::SfdText(const std::string& vNewValue) {
    if (!CurrentSubfieldEntry()) return;
    if (!vNewValue.empty() && vNewValue[0] == kDelimiter) {
        SfdChange(rt::Mid(vNewValue, 2, 1), rt::Mid(vNewValue, 3));
    } else {
        SfdChange(SfdCode(), vNewValue);
    }
}

std::string Utf8MarcRecordClass::SfdNorm() const {
    const SubfieldEntry* subfield = CurrentSubfieldEntry();
    if (!subfield) return std::string();
    SfdFormsReady(*subfield);
    return subfield->Norm;
}

std::string Utf8MarcRecordClass::SfdNormNaco() const {
    const SubfieldEntry* subfield = CurrentSubfieldEntry();
    if (!subfield) return std::string();
    SfdFormsReady(*subfield);
    return subfield->NormNaco;
}

bool Utf8MarcRecordClass::SfdDeleted() const {
    const SubfieldEntry* subfield = CurrentSubfieldEntry();
    return subfield ? subfield->Deleted : true;
}

bool Utf8MarcRecordClass::SfdBoolean1() const {
    const SubfieldEntry* subfield = CurrentSubfieldEntry();
    return subfield && subfield->Boolean1;
}

void Utf8MarcRecordClass::SfdBoolean1(bool vNewValue) {
    if (SubfieldEntry* subfield = CurrentSubfieldEntry()) subfield->Boolean1 = vNewValue;
}

bool Utf8MarcRecordClass::Sfdboolean2() const {
    const SubfieldEntry* subfield = CurrentSubfieldEntry();
    return subfield && subfield->Boolean2;
}

void Utf8MarcRecordClass::Sfdboolean2(bool vNewValue) {
    if (SubfieldEntry* subfield = CurrentSubfieldEntry()) subfield->Boolean2 = vNewValue;
}

std::string Utf8MarcRecordClass::SfdDelim(const std::string& sSubfieldCode) {
    return std::string(1, kDelimiter) + rt::Left(sSubfieldCode, 1);
}

std::string Utf8MarcRecordClass::SfdMake(std::string& sSubfieldCode, std::string& sSubfieldText) {
    sSubfieldCode = rt::Trim(sSubfieldCode);
    if (sSubfieldCode.empty()) return "";
    if (sSubfieldCode.size() > 1)
        sSubfieldCode = sSubfieldCode[0] == kDelimiter ? rt::Mid(sSubfieldCode, 2, 1) : rt::Left(sSubfieldCode, 1);
    if (sSubfieldText.empty()) return "";
    return std::string(1, kDelimiter) + sSubfieldCode + sSubfieldText;
}

int16_t Utf8MarcRecordClass::SfdMax() const { return m.SfdOrderBibCount; }

bool Utf8MarcRecordClass::TestSubfieldOrder() const { return m.TestSubfieldOrder; }
void Utf8MarcRecordClass::TestSubfieldOrder(bool vNewValue) { m.TestSubfieldOrder = vNewValue; }
bool Utf8MarcRecordClass::IgnoreSfdOrder() const { return m.IgnoreSfdOrder; }
void Utf8MarcRecordClass::IgnoreSfdOrder(bool vNewValue) { m.IgnoreSfdOrder = vNewValue; }
bool Utf8MarcRecordClass::SubfieldsOutOfOrder() const { return m.SubfieldsOutOfOrder; }
bool Utf8MarcRecordClass::SfdOrderChanged() const { return m.SfdOrderChanged; }
std::string Utf8MarcRecordClass::FldsWithSfdsOutOfOrder() const { return m.FldsWithSfdsOutOfOrder; }
