// Order keys of fields under the field-order rules, the summary of a
// field-order table, the local institution codes, and the subfield-order
// rules at work: completion of a table, loading the rule of a tag, and the
// test of one subfield against its neighbours.
#include <algorithm>
#include <memory>
#include <string>
#include <string_view>

#include "common/runtime.h"
#include "marc/record/marc_record.h"
#include "marc/record/order_family.h"
#include "platform/events.h"

using order_rules::OrderFamily;

namespace {

constexpr char kDelimiter = '\x1F';

std::string Delimited(char code) { return std::string{kDelimiter, code}; }

// The text of the first subfield of a code, up to the next delimiter; false
// when the field has none.
bool FirstSubfieldText(const std::string& sFieldText, char code, std::string& sText) {
    const size_t at = sFieldText.find(Delimited(code));
    if (at == std::string::npos) return false;
    sText = sFieldText.substr(at + 2);
    const size_t end = sText.find(kDelimiter);
    if (end != std::string::npos) sText.resize(end);
    return true;
}

std::string CutBeforeDelimiter(std::string s) {
    const size_t end = s.find(kDelimiter);
    if (end != std::string::npos) s.resize(end);
    return s;
}

// The last three characters of "000" followed by the text.
std::string ThreeDigits(const std::string& sNumber) {
    const std::string s = "000" + sNumber;
    return s.substr(s.size() - 3);
}

}  // namespace

// ------------------------------------------------------------ field order keys

std::string Utf8MarcRecordClass::FldOrderKey(const std::string& sTag, const std::string& sIndicators,
                                             const std::string& sFieldText) {
    SfdOrderLoad(sTag);
    if (m.FldOrderKeyForTests) return m.FldOrderKeyForTests(sTag, sIndicators, sFieldText);

    const char family = OrderFamily(m.MarcRecordFormat);
    const bool bPaired = family == 'A'   ? m.FldOrderPairedAuth
                         : family == 'B' ? m.FldOrderPairedBib
                                         : m.FldOrderPairedHold;
    std::string sSuffix;
    // The tag and indicators the key is made of: the field's own, or those of
    // the field an 880 is linked to.
    const std::string* pKeyTag = &sTag;
    const std::string* pKeyIndicators = &sIndicators;
    std::string sLinkedTag;
    std::string sLinkedIndicators;
    const size_t at6 = bPaired ? sFieldText.find(Delimited('6')) : std::string::npos;
    if (at6 != std::string::npos) {
        // The linkage: the linked tag, then the occurrence number.
        const std::string sLinkage = rt::Trim(sFieldText.substr(at6 + 2));
        const std::string sRest = CutBeforeDelimiter(sLinkage.size() > 3 ? sLinkage.substr(3) : "");
        if (sTag == "880") {
            sLinkedTag = sLinkage.substr(0, 3);
            if (family == 'B' && m.FldOrderPairedLcBib && sLinkedTag.substr(0, 1) == "6" &&
                rt::Mid(sIndicators, 2, 1) == "4") {
                sLinkedIndicators = rt::Left(sIndicators, 1) + "0";
                pKeyIndicators = &sLinkedIndicators;
            }
            if (!sRest.empty()) {
                const std::string sNumber = rt::DigitsAbsoluteText(sRest);
                sSuffix = m.Subfield6Marker + (sNumber == "0" ? "000" : ThreeDigits(sNumber) + " G");
            }
            pKeyTag = &sLinkedTag;
        } else if (!sRest.empty()) {
            sSuffix = m.Subfield6Marker + ThreeDigits(rt::DigitsAbsoluteText(sRest));
        }
    }

    FldOrderTableRef table = FldOrderTableFor(m.MarcRecordFormat);
    if (family == 'O') platform::DoEvents();
    std::string sKey;
    const int16_t r = FldOrderRuleFor(table, family, *pKeyTag);
    if (r > 0) {
        sKey = FldOrderKeyForRule(r, table.Rules[static_cast<size_t>(r)].Method, *pKeyTag, *pKeyIndicators, sFieldText);
    } else if (table.Count > 0 && static_cast<size_t>(table.Count) < table.Rules.size()) {
        // A tag in no range takes the last rule's method; with an empty table
        // the key is the suffix alone.
        const int32_t lRule = family == 'O' ? int32_t{table.Count} + 1 : int32_t{table.Count};
        sKey = FldOrderKeyForRule(lRule, table.Rules[static_cast<size_t>(table.Count)].Method, *pKeyTag,
                                  *pKeyIndicators, sFieldText);
    }
    if (sKey.size() == 1 && sKey[0] == '*') return sKey;
    sKey += sSuffix;
    return sKey;
}

bool Utf8MarcRecordClass::KeyMayRunCode() const {
    // Every key may yield with a pump installed (the search for a local $5).
    return static_cast<bool>(m.FldOrderKeyForTests) || OrderFamily(m.MarcRecordFormat) == 'O' ||
           platform::EventPumpInstalled();
}

int16_t Utf8MarcRecordClass::FldOrderRuleFor(const FldOrderTableRef& table, char family, const std::string& sTag) {
    const auto search = [&] {
        for (int16_t r = 1; r <= table.Count && static_cast<size_t>(r) < table.Rules.size(); ++r) {
            const FieldOrderRule& rule = table.Rules[static_cast<size_t>(r)];
            if (rule.BeginTag <= sTag && sTag <= rule.EndTag) return r;
        }
        return int16_t{0};
    };
    if (!IsDigitTag(sTag)) return search();
    const size_t f = family == 'A' ? 0 : family == 'B' ? 1 : family == 'H' ? 2 : 3;
    std::vector<int16_t>& memo = m.FldOrderRuleMemo[f];
    if (m.FldOrderRuleMemoGeneration[f] != m.FldOrderRulesGeneration || memo.empty()) {
        memo.assign(1000, -1);
        m.FldOrderRuleMemoGeneration[f] = m.FldOrderRulesGeneration;
    }
    int16_t& found = memo[static_cast<size_t>((sTag[0] - '0') * 100 + (sTag[1] - '0') * 10 + (sTag[2] - '0'))];
    if (found < 0) found = search();
    return found;
}

std::string Utf8MarcRecordClass::FldOrderKeyForRule(int32_t lRuleNumber, int16_t iMethod, const std::string& sTag,
                                                    const std::string& sIndicators, const std::string& sFieldText) {
    if (iMethod == 9) return "*";
    // The rule number's last three digits.
    std::string sKey;
    if (lRuleNumber >= 0) {
        const char digits[3] = {static_cast<char>('0' + lRuleNumber / 100 % 10),
                                static_cast<char>('0' + lRuleNumber / 10 % 10),
                                static_cast<char>('0' + lRuleNumber % 10)};
        sKey.assign(digits, 3);
    } else {
        sKey = ThreeDigits(std::to_string(lRuleNumber));
    }
    std::string s;
    switch (iMethod) {
        case 1: sKey += sFieldText.find(Delimited('t')) != std::string::npos ? "7T" : "7 "; break;
        case 2:
            if (!sTag.empty()) sKey += sTag[0];
            break;
        case 3: {
            const std::string sSecond = rt::Mid(sIndicators, 2, 1);
            if (sSecond == " ") sKey += sTag == "653" ? m.SortingIndicatorFor653Field : std::string(1, '\xFF');
            else sKey += sSecond;
            if ((sSecond == "7" || sTag == "654") && FirstSubfieldText(sFieldText, '2', s)) {
                if (s == "lcsh") sKey += "0";
                else if (s == "lcshac") sKey += "1";
                else if (s == "mesh") sKey += "2";
                else if (s == "nal") sKey += "3";
                else if (s == "cash") sKey += "5";
                else if (s == "rvm") sKey += "6";
                else sKey += s;
            }
            break;
        }
        case 4: {
            sKey += sTag;
            if (m.Nuc.empty()) break;
            const int32_t l5 = Rat(sFieldText, Delimited('5'));
            if (l5 == 0) {
                sKey += "9";
                break;
            }
            const std::string sCode = rt::Trim(CutBeforeDelimiter(rt::Trim(rt::Mid(sFieldText, l5 + 2))));
            const std::string sCutCode = sCode.substr(0, sCode.find('-'));
            if (rt::InStr(m.Nuc, "(" + sCode + ")") > 0) sKey += "5";
            else if (rt::InStr(m.NucSubfield5List, Delimited('5') + sCutCode) > 0) sKey += "6";
            else sKey += "9";
            break;
        }
        case 5: {
            sKey += sTag.substr(0, 1);
            const size_t atW = sFieldText.find(Delimited('w'));
            sKey += atW == std::string::npos ? "n" : sFieldText.substr(atW + 2, 1);
            std::string sHeading = sFieldText;
            if (atW == 0) {
                const size_t next = sFieldText.find(kDelimiter, 2);
                sHeading = next == std::string::npos ? sFieldText.substr(2) : sFieldText.substr(next);
            } else if (atW != std::string::npos) {
                sHeading = sFieldText.substr(0, atW);
            }
            const size_t at5 = sHeading.find(Delimited('5'), 1);
            if (at5 != std::string::npos) sHeading.resize(at5);
            sKey += NormString(RemoveDelimiters(sHeading, ""), true, "V");
            break;
        }
        case 6: sKey += sTag; break;
        case 7: {
            const size_t at8 = sFieldText.find(Delimited('8'));
            s = at8 == std::string::npos ? "0" : rt::Trim(CutBeforeDelimiter(rt::Trim(sFieldText.substr(at8 + 2))));
            const size_t dot = s.find('.');
            if (dot == std::string::npos) sKey += s.size() > 2 ? s : ThreeDigits(s);
            else if (dot < 3) sKey += std::string(3 - dot, '0') + s + sTag;
            else sKey += s + sTag;
            break;
        }
        case 11: sKey += sIndicators.substr(0, 1); break;
        case 12:
            sKey += FirstSubfieldText(sFieldText, '3', s) ? NormString(s, true, "V") : "*";
            sKey += sTag;
            break;
        case 13: sKey += FirstSubfieldText(sFieldText, 'c', s) ? s : "00000000"; break;
        default: break;
    }
    return sKey;
}

// ------------------------------------------------------------ summaries and switches

std::string Utf8MarcRecordClass::SummarizeFieldOrderInstructions(const std::string& sType) {
    if (sType != "A" && sType != "B" && sType != "H") return "";
    FldOrderTableRef table = FldOrderTableFor(sType);
    return FldOrderSummaryText(table.Rules, table.Count);
}

std::string Utf8MarcRecordClass::FldOrderSummaryText(const std::vector<FieldOrderRule>& table, int16_t count) {
    std::string sSummary;
    for (int16_t r = 1; r <= count && static_cast<size_t>(r) < table.size(); ++r) {
        const FieldOrderRule& rule = table[static_cast<size_t>(r)];
        if (r > 1) sSummary += "\r\n";
        sSummary += rule.BeginTag + "-" + rule.EndTag;
        switch (rule.Method) {
            case 1: sSummary += " by LCRI 21.30J"; break;
            case 3: sSummary += " by second indicator"; break;
            case 4: sSummary += " local $5 comes first"; break;
            case 5: sSummary += " in reference order"; break;
            case 6: sSummary += " by tag"; break;
            case 11: sSummary += " by first indicator"; break;
            default: sSummary += " in generic order"; break;
        }
    }
    return sSummary;
}

bool Utf8MarcRecordClass::FldOrderChanged() const { return m.FldOrderChanged; }

// ------------------------------------------------------------ local institution codes

std::string Utf8MarcRecordClass::Nuc() const { return m.Nuc; }

void Utf8MarcRecordClass::Nuc(const std::string& vNewValue) {
    m.Nuc = RemoveRepeatedCharacters(rt::Trim(vNewValue), " ");
    if (!m.Nuc.empty())
        m.NucSubfield5List = Delimited('5') + ReplaceCharacters(m.Nuc, " ", " " + Delimited('5'));
}

// ------------------------------------------------------------ subfield-order rules at work

void Utf8MarcRecordClass::SfdOrderCompleteTable(std::vector<SubfieldOrderRule>& table, int16_t& count,
                                                int16_t& slots) {
    const std::string sAll = order_rules::kAllSubfieldCodes;
    if (count > 0 && static_cast<size_t>(count) < table.size() && table[static_cast<size_t>(count)].Tag == "XXX")
        return;
    SfdOrderMemo::RulesChanged(m);
    for (int16_t r = 1; r <= count && static_cast<size_t>(r) < table.size(); ++r) {
        SubfieldOrderRule& rule = table[static_cast<size_t>(r)];
        if (rule.StepTop >= 0 && static_cast<size_t>(rule.StepTop) < rule.Steps.size() &&
            rule.Steps[static_cast<size_t>(rule.StepTop)].Codes == sAll)
            continue;
        rule.StepTop = rt::ToInt16(int32_t{rule.StepTop} + 1);
        if (rule.StepTop > rule.StepSlots) rule.StepSlots = rule.StepTop;
        if (rule.Steps.size() < static_cast<size_t>(rule.StepSlots) + 1)
            rule.Steps.resize(static_cast<size_t>(rule.StepSlots) + 1);
        rule.Steps[static_cast<size_t>(rule.StepTop)] = SubfieldOrderStep{1, sAll};
    }
    count = rt::ToInt16(int32_t{count} + 1);
    if (count > slots) slots = count;
    if (table.size() < static_cast<size_t>(slots) + 1) table.resize(static_cast<size_t>(slots) + 1);
    SubfieldOrderRule catchAll;
    catchAll.Tag = "XXX";
    catchAll.Steps = {SubfieldOrderStep{1, sAll}};
    catchAll.StepTop = 0;
    table[static_cast<size_t>(count)] = std::move(catchAll);
}

// ------------------------------------------------------------ compiled subfield-order rules

SubfieldOrderCode CompiledSubfieldOrderRule::CodeOf(const SubfieldOrderRule& rule, std::string_view sCode) {
    SubfieldOrderCode code;
    code.Repeated = rt::InStr(rule.RepeatedCodes, sCode) > 0;
    const auto steps = static_cast<int32_t>(rule.Steps.size());
    auto holds = [&](int16_t s, std::string_view sOf) { return rt::InStr(rule.Steps[static_cast<size_t>(s)].Codes, sOf) > 0; };
    // The step of the test: the first before the last that holds the code.
    auto place = [&](bool bTitleSteps) {
        SubfieldOrderCodePlace at;
        at.Step = rule.StepTop;
        for (int16_t s = 0; s < rule.StepTop && s < steps; ++s)
            if (holds(s, sCode) && (!bTitleSteps || holds(s, "t"))) {
                at.Step = s;
                break;
            }
        if (at.Step > 0 && at.Step < steps) {
            const SubfieldOrderStep& step = rule.Steps[static_cast<size_t>(at.Step)];
            at.StepType = step.StepType;
            at.Place = rt::InStr(step.Codes, sCode);
            at.Lead = sCode == std::string_view(step.Codes).substr(0, 1);
        }
        return at;
    };
    code.Plain = place(false);
    code.Title = place(true);
    // The step of a new subfield: the first that holds the code; with the
    // title seen, a repeated code takes the first that also holds "t", else
    // the last that holds it without one (past the first step).
    int16_t iFallback = -1;
    for (int16_t s = 0; s <= rule.StepTop && s < steps; ++s) {
        if (!holds(s, sCode)) continue;
        if (++code.MatchCount == 1) code.Position = s;
        if (!holds(s, "t")) {
            iFallback = s;
            continue;
        }
        if (++code.TitleMatchCount == 1) code.TitlePosition = s;
    }
    if (code.TitleMatchCount == 0 && iFallback > 0) code.TitlePosition = iFallback;
    return code;
}

std::shared_ptr<const CompiledSubfieldOrderRule> CompiledSubfieldOrderRule::Compile(const SubfieldOrderRule& rule) {
    auto compiled = std::make_shared<CompiledSubfieldOrderRule>();
    compiled->Rule = rule;
    SubfieldOrderCode* codes = compiled->Codes;
    // The answers of CodeOf for every octet at once, from one walk over the
    // steps' codes (each step's codes taken once per octet).
    const auto steps = static_cast<int32_t>(rule.Steps.size());
    const int32_t walked = std::min<int32_t>(int32_t{rule.StepTop} + 1, steps);
    int16_t fallback[256];
    int32_t seenIn[256];
    for (int c = 0; c < 256; ++c) {
        codes[c].Plain.Step = rule.StepTop;
        codes[c].Title.Step = rule.StepTop;
        fallback[c] = -1;
        seenIn[c] = -1;
    }
    for (char c : rule.RepeatedCodes) codes[static_cast<unsigned char>(c)].Repeated = true;
    for (int16_t s = 0; s < walked; ++s) {
        const std::string& sCodes = rule.Steps[static_cast<size_t>(s)].Codes;
        const bool bTitleStep = sCodes.find('t') != std::string::npos;
        for (char c : sCodes) {
            const auto octet = static_cast<unsigned char>(c);
            if (seenIn[octet] == s) continue;
            seenIn[octet] = s;
            SubfieldOrderCode& code = codes[octet];
            if (s < rule.StepTop && code.Plain.Step == rule.StepTop) code.Plain.Step = s;
            if (s < rule.StepTop && bTitleStep && code.Title.Step == rule.StepTop) code.Title.Step = s;
            if (++code.MatchCount == 1) code.Position = s;
            if (!bTitleStep) fallback[octet] = s;
            else if (++code.TitleMatchCount == 1) code.TitlePosition = s;
        }
    }
    // The places within the steps found, from a second walk.
    for (int c = 0; c < 256; ++c) seenIn[c] = -1;
    for (int16_t s = 1; s < walked; ++s) {
        const SubfieldOrderStep& step = rule.Steps[static_cast<size_t>(s)];
        for (size_t i = 0; i < step.Codes.size(); ++i) {
            const auto octet = static_cast<unsigned char>(step.Codes[i]);
            if (seenIn[octet] == s) continue;
            seenIn[octet] = s;
            for (SubfieldOrderCodePlace* at : {&codes[octet].Plain, &codes[octet].Title})
                if (at->Step == s) at->Place = static_cast<int32_t>(i) + 1;
        }
    }
    for (int c = 0; c < 256; ++c) {
        SubfieldOrderCode& code = codes[c];
        if (code.TitleMatchCount == 0 && fallback[c] > 0) code.TitlePosition = fallback[c];
        for (SubfieldOrderCodePlace* at : {&code.Plain, &code.Title}) {
            if (at->Step <= 0 || at->Step >= steps) continue;
            const SubfieldOrderStep& step = rule.Steps[static_cast<size_t>(at->Step)];
            at->StepType = step.StepType;
            at->Lead = !step.Codes.empty() && static_cast<unsigned char>(step.Codes[0]) == c;
        }
    }
    return compiled;
}

const std::shared_ptr<const CompiledSubfieldOrderRule>& CompiledSubfieldOrderRule::Empty() {
    static const std::shared_ptr<const CompiledSubfieldOrderRule> empty = Compile(SubfieldOrderRule{});
    return empty;
}

void Utf8MarcRecordClass::SfdOrderLoad(const std::string& sTag) {
    // The same numeric tag under the same format as the last look-up.
    const std::string& sFormat = m.MarcRecordFormat;
    if (m.SfdOrderLastTable && sFormat.size() == 1 && m.SfdOrderLastFormat == static_cast<unsigned char>(sFormat[0]) &&
        sTag.size() == 3 && sTag[0] == m.SfdOrderLastTag[0] && sTag[1] == m.SfdOrderLastTag[1] &&
        sTag[2] == m.SfdOrderLastTag[2])
        return;
    SfdOrderTableRef table = SfdOrderTableFor(m.MarcRecordFormat);
    if (table.Count == 0) SfdOrderCompleteTable(table.Rules, table.Count, table.Slots);
    // The last tag looked up was numeric.
    if (m.SfdOrderLastTable == &table.Rules && sTag.size() == 3 && sTag[0] == m.SfdOrderLastTag[0] &&
        sTag[1] == m.SfdOrderLastTag[1] && sTag[2] == m.SfdOrderLastTag[2])
        return;
    const bool bNumeric = sTag.size() == 3 && rt::IsAsciiDigit(sTag[0]) && rt::IsAsciiDigit(sTag[1]) &&
                          rt::IsAsciiDigit(sTag[2]);
    auto search = [&] {
        int16_t found = table.Count;
        for (int16_t r = 1; r < table.Count; ++r) {
            const std::string& sRuleTag = table.Rules[static_cast<size_t>(r)].Tag;
            // A three-character tag compared in place, as == would.
            const bool bSame = bNumeric ? sRuleTag.size() == 3 && sRuleTag[0] == sTag[0] && sRuleTag[1] == sTag[1] &&
                                              sRuleTag[2] == sTag[2]
                                        : sRuleTag == sTag;
            if (bSame) {
                found = r;
                break;
            }
        }
        return found;
    };
    const size_t family = &table.Rules == &m.SfdOrderAuth   ? 0
                          : &table.Rules == &m.SfdOrderBib  ? 1
                          : &table.Rules == &m.SfdOrderHold ? 2
                                                            : 3;
    int16_t found = -1;
    if (bNumeric) {
        if (m.SfdOrderMemoRules[family] != table.Rules.data() || m.SfdOrderMemoCount[family] != table.Count) {
            m.SfdOrderMemoRules[family] = table.Rules.data();
            m.SfdOrderMemoCount[family] = table.Count;
            m.SfdOrderMemoIndex[family].assign(1000, -1);
        }
        int16_t& memo = m.SfdOrderMemoIndex[family][static_cast<size_t>((sTag[0] - '0') * 100 + (sTag[1] - '0') * 10 +
                                                                         (sTag[2] - '0'))];
        if (memo < 0) memo = search();
        found = memo;
        m.SfdOrderLastTable = &table.Rules;
        sTag.copy(m.SfdOrderLastTag, 3);
        m.SfdOrderLastFormat = sFormat.size() == 1 ? int16_t{static_cast<unsigned char>(sFormat[0])} : int16_t{-1};
    } else {
        found = search();
        m.SfdOrderLastTable = nullptr;
    }
    auto& compiled = m.SfdOrderCompiled[family];
    if (compiled.size() <= static_cast<size_t>(found)) compiled.resize(static_cast<size_t>(found) + 1);
    std::shared_ptr<const CompiledSubfieldOrderRule>& rule = compiled[static_cast<size_t>(found)];
    if (!rule) rule = CompiledSubfieldOrderRule::Compile(table.Rules[static_cast<size_t>(found)]);
    if (rule == m.SfdOrderCurrent) return;
    m.SfdOrderCurrent = rule;
    ++m.SfdOrderCurrentGeneration;
}

Utf8MarcRecordClass::SfdOrderMemo::SfdOrderMemo(Utf8MarcRecordState& state) : state_(state) {
    ++state_.SfdOrderMemoDepth;
}

Utf8MarcRecordClass::SfdOrderMemo::~SfdOrderMemo() { --state_.SfdOrderMemoDepth; }

void Utf8MarcRecordClass::SfdOrderMemo::Forget(Utf8MarcRecordState& state) {
    for (const SubfieldOrderRule*& rules : state.SfdOrderMemoRules) rules = nullptr;
    state.SfdOrderLastTable = nullptr;
}

void Utf8MarcRecordClass::SfdOrderMemo::RulesChanged(Utf8MarcRecordState& state) {
    Forget(state);
    for (auto& compiled : state.SfdOrderCompiled) compiled.clear();
}

void Utf8MarcRecordClass::SfdOrderInstall(const std::string& sMarcFormat) {
    SfdOrderTableRef table = SfdOrderTableFor(sMarcFormat);
    if (table.Count > 0) {
        SfdOrderCompleteTable(table.Rules, table.Count, table.Slots);
        return;
    }
    switch (OrderFamily(sMarcFormat)) {
        case 'A': SetDefaultSfdOrderAuth(); break;
        case 'B': SetDefaultSfdOrderBib(); break;
        case 'H': SetDefaultSfdOrderHold(); break;
        default: SetDefaultSfdOrderOther(); break;
    }
}

bool Utf8MarcRecordClass::SfdTitleBeforeCursor() {
    const int16_t iCursor = m.SfdPointer;
    FieldEntry* field = CurrentFieldEntry();
    const SubfieldEntry* cursor = CurrentSubfieldEntry();
    int32_t lTitles = 0;
    bool bKnown = false;
    if (field && cursor && m.SfdTitleRunDepth > 0 && m.SfdTitleCacheValid &&
        m.SfdTitleCacheField == m.FldPointer && m.SfdTitleCacheSubfield == iCursor) {
        // Within a shifting run the subfield moves one place between tests.
        auto isTitle = [&](int16_t i) { return field->Subfields[static_cast<size_t>(i)].Code == "t" ? 1 : 0; };
        const int16_t iPrev = m.SfdTitleCachePrev, iNext = m.SfdTitleCacheNext;
        if (cursor->PrevSubfield == iPrev && cursor->NextSubfield == iNext) {
            lTitles = m.SfdTitleCacheCount;
            bKnown = true;
        } else if (iPrev >= 0 && cursor->NextSubfield == iPrev &&
                   field->Subfields[static_cast<size_t>(iPrev)].PrevSubfield == iCursor) {
            lTitles = m.SfdTitleCacheCount - isTitle(iPrev);
            bKnown = true;
        } else if (iNext >= 0 && cursor->PrevSubfield == iNext &&
                   field->Subfields[static_cast<size_t>(iNext)].NextSubfield == iCursor) {
            lTitles = m.SfdTitleCacheCount + isTitle(iNext);
            bKnown = true;
        }
    }
    bool bReached = bKnown;
    if (field && !bKnown) {
        // The walk from the top of the field to the cursor.
        int32_t lSteps = 0;
        for (int16_t i = field->FirstSubfield; i >= 0 && i <= field->SubfieldTop && lSteps <= field->SubfieldTop;
             i = field->Subfields[static_cast<size_t>(i)].NextSubfield, ++lSteps) {
            if (i == iCursor) {
                bReached = true;
                break;
            }
            if (field->Subfields[static_cast<size_t>(i)].Code == "t") ++lTitles;
        }
    }
    m.SfdTitleCacheValid = field && cursor && bReached && m.SfdTitleRunDepth > 0;
    if (m.SfdTitleCacheValid) {
        m.SfdTitleCacheField = m.FldPointer;
        m.SfdTitleCacheSubfield = iCursor;
        m.SfdTitleCachePrev = cursor->PrevSubfield;
        m.SfdTitleCacheNext = cursor->NextSubfield;
        m.SfdTitleCacheCount = lTitles;
    }
    // Where a walk from the top leaves the cursor once it is put back.
    m.SfdAtTop = false;
    m.SfdAtBottom = false;
    SfdPointer(iCursor);
    return lTitles > 0;
}

int16_t Utf8MarcRecordClass::SfdOrderTest(SlotTable<SubfieldEntry>& Subfields, int16_t iSubfield) {
    if (m.IgnoreSfdOrder) return 0;
    if (iSubfield < 0 || static_cast<size_t>(iSubfield) >= Subfields.size()) return 0;
    const CompiledSubfieldOrderRule& rule = *m.SfdOrderCurrent;
    const SubfieldEntry& subfield = Subfields[static_cast<size_t>(iSubfield)];
    const std::string& sCode = subfield.Code;
    const int16_t iPrev = subfield.PrevSubfield;
    const int16_t iNext = subfield.NextSubfield;
    const SubfieldOrderCode own = rule.Code(sCode);
    const bool bTitle = own.Repeated && SfdTitleBeforeCursor();

    // After a $t, a repeated code only in a step with "t".
    auto placeOf = [&](const SubfieldOrderCode& code) -> SubfieldOrderCodePlace {
        return bTitle && code.Repeated ? code.Title : code.Plain;
    };
    auto validSubfield = [&](int16_t i) { return i >= 0 && static_cast<size_t>(i) < Subfields.size(); };
    const bool bHasPrev = validSubfield(iPrev), bHasNext = validSubfield(iNext);
    if (!bHasPrev && !bHasNext) return 0;

    // Two codes of one step compare by their places in its codes, and in a
    // "!" step by which of them is the step's first code.
    const SubfieldOrderCodePlace at = placeOf(own);
    const int16_t k = at.Step;
    if (bHasPrev) {
        const std::string& sPrevCode = Subfields[static_cast<size_t>(iPrev)].Code;
        const SubfieldOrderCodePlace prev = placeOf(rule.Code(sPrevCode));
        if (prev.Step > k) return -1;
        if (prev.Step == k) {
            if (at.StepType == 0 && at.Place < prev.Place) return -1;
            if (at.StepType == 2 && at.Lead && sPrevCode != sCode) return -1;
        }
    }
    if (bHasNext) {
        const std::string& sNextCode = Subfields[static_cast<size_t>(iNext)].Code;
        const SubfieldOrderCodePlace next = placeOf(rule.Code(sNextCode));
        if (k < next.Step) return 0;
        if (next.Step < k) return 1;
        if (at.StepType == 0 && next.Place < at.Place) return 1;
        if (at.StepType == 2 && next.Lead && sNextCode != sCode) return 1;
    }
    return 0;
}

int16_t Utf8MarcRecordClass::SfdOrderStepOf(const std::string& sCode, bool bTitleSteps) const {
    return m.SfdOrderCurrent->With(
        sCode, [&](const SubfieldOrderCode& code) { return bTitleSteps ? code.Title.Step : code.Plain.Step; });
}

int64_t Utf8MarcRecordClass::SfdOrderRank(const std::string& sCode) const {
    return m.SfdOrderCurrent->With(sCode, [](const SubfieldOrderCode& code) {
        const SubfieldOrderCodePlace& at = code.Plain;
        // As the test compares two codes of one step: in a plain step by their
        // first places in its codes, in a "!" step the first code before the others.
        const int64_t lPlace = at.StepType == 0 ? at.Place : at.StepType == 2 ? (at.Lead ? 0 : 1) : 0;
        return int64_t{at.Step} * (int64_t{1} << 32) + lPlace;
    });
}
