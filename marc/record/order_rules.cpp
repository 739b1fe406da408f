// Installing the field-order and subfield-order rules: the four rule tables of
// each kind, their default contents, completion of a field-order table, and
// the compiler of subfield-order patterns.
#include <algorithm>
#include <string_view>
#include <utility>

#include "common/runtime.h"
#include "marc/record/marc_record.h"
#include "marc/record/order_family.h"

namespace {

using order_rules::OrderFamily;

struct DefaultFieldRule {
    const char* BeginTag;
    const char* EndTag;
    int16_t Method;
};

// The default field orders; each ends with 880 method 8, which only switches
// the pairing of 880 fields on.
constexpr DefaultFieldRule kDefaultFldOrderAuth[] = {
    {"001", "399", 6}, {"400", "499", 5}, {"500", "599", 5}, {"600", "641", 6}, {"642", "642", 4},
    {"643", "643", 6}, {"644", "644", 4}, {"645", "645", 4}, {"646", "646", 4}, {"647", "699", 6},
    {"700", "799", 3}, {"800", "999", 6}, {"880", "880", 8},
};
constexpr DefaultFieldRule kDefaultFldOrderBib[] = {
    {"001", "399", 6}, {"400", "599", 2}, {"600", "655", 3}, {"652", "699", 6}, {"700", "700", 1}, {"710", "711", 1},
    {"730", "740", 6}, {"741", "799", 2}, {"800", "840", 2}, {"850", "999", 2}, {"880", "880", 8},
};
constexpr DefaultFieldRule kDefaultFldOrderHold[] = {
    {"001", "852", 6}, {"853", "869", 7}, {"870", "999", 6}, {"880", "880", 8},
};
constexpr DefaultFieldRule kDefaultFldOrderOther[] = {
    {"001", "009", 6}, {"010", "999", 2}, {"880", "880", 8},
};

// Default subfield-order patterns: blank-separated tags sharing a pattern.
struct DefaultSubfieldPatterns {
    const char* Tags;
    const char* Pattern;
};

constexpr DefaultSubfieldPatterns kDefaultSfdOrderAuth[] = {
    {"010", "az"},
    {"014", "6a"},
    {"016", "az2"},
    {"017", "6ab"},
    {"020", "6{#acz}"},
    {"022", "6{#ayz}"},
    {"035 073", "6az"},
    {"040", "6abcdef"},
    {"045", "abc"},
    {"050 060", "6{#abd}5"},
    {"052", "ab"},
    {"053", "abcd"},
    {"055", "6abd5"},
    {"066", "{abc}"},
    {"070", "6{#abd}"},
    {"072", "6ax2"},
    {"082", "6{#abd}25"},
    {"083", "6{#abcz}25"},
    {"086", "6{#adz}25"},
    {"087", "6{abc}"},
    {"100", "6a{#qbcdek}{u4}{!tkfghlmnoprs}{#vxyz}"},
    {"110", "6a{#bcdgkn}{eu4}{!tfhldgknmoprs}{#vxyz}"},
    {"111", "6a{#bqdceng}{u4}{!tnfhklps}{#vxyz}"},
    {"130", "6a{#nplfksdhmorgt}{#vxyz}"},
    {"150 151 155", "6a{#vxyz}"},
    {"180", "6{^xvyz}"},
    {"181", "6{^zvxy}"},
    {"182", "6{^yvxz}"},
    {"183", "6{^vxyz}"},
    {"400 500", "6wa{#qbcdek}{u4}{!tkfghlmnoprs}{#vxyz}"},
    {"410", "{6}{w}{a}{#bcdgkn}{eu4}{!tfhldgknmoprs}{#vxyz}"},
    {"411 511", "6wa{#bqdceng}{u4}{!tnfhklps}{#vxyz}"},
    {"430 530", "6wa{#nplfksdhmorgt}{#vxyz}"},
    {"450 451 455 550 551 555", "6wa{#vxyz}"},
    {"480 580", "6w{^xvyz}"},
    {"481 581", "6w{^zvxy}"},
    {"482 582", "6w{^yvxz}"},
    {"483 583", "6w{^vxyz}"},
    {"510", "6wa{#bcdgkn}{eu4}{!tfhldgknmoprs}{#vxyz}"},
    {"700", "68wa{#qbcdek}{u4}{!tkfghlmnoprs}{#vxyz}205"},
    {"710", "68wa{#bcdgkn}{eu4}{!tfhldgknmoprs}{#vxyz}205"},
    {"711", "68wa{#bqdceng}{u4}{!tnfhklps}{#vxyz}205"},
    {"730", "68wa{#nplfksdhmorgt}{#vxyz}205"},
    {"750 751 755", "68wa{#vxyz}205"},
    {"780", "68w{^xvyz}205"},
    {"781", "68w{^zvxy}205"},
    {"782", "68w{^yvxz}205"},
    {"783", "68w{^vxyz}205"},
    {"788", "6{#ai}25"},
};

constexpr DefaultSubfieldPatterns kDefaultSfdOrderBib[] = {
    {"010", "abz"},
    {"013", "6a{#bcdef}"},
    {"015 254 256 257 306 502 508 511 515 516 522 525 538 547 550 567 580 653", "6a"},
    {"016", "az2"},
    {"017 028 032 036 222 250 307 310 321 504 507 513 545", "6ab"},
    {"020", "6{^abcz}"},
    {"022", "6{^ayz}"},
    {"024", "6{^acdz}2"},
    {"027 030 035 088 362 556", "6az"},
    {"033", "63{^abc}"},
    {"034", "6a{#bcdefghjkmnpst}"},
    {"037", "6a{#bcfgn}"},
    {"040", "6abc{#de}"},
    {"041 536", "6a{#bcdefgh}"},
    {"043 084 210", "6ab2"},
    {"044", "6abc2"},
    {"045 753", "6abc"},
    {"046", "6abcde"},
    {"048", "ab"},
    {"050", "3{#ab}"},
    {"051", "abc"},
    {"052", "6abd2"},
    {"055", "ab2"},
    {"060 070", "{#ab}"},
    {"061 071", "{#abc}"},
    {"066", "{abc}"},
    {"072", "6ax2"},
    {"074", "az"},
    {"080", "6abx2"},
    {"082", "{^ab}2"},
    {"086", "6az2"},
    {"100", "6a{#bcdgq}{eu4}{!tfgklnp}"},
    {"110", "6a{#bcdgkn}{eu4}{!tdfghlkmnoprs}"},
    {"111", "6a{#bcdegnq}{u4}{!tfhklnps}"},
    {"130", "6a{#dfghklmnoprst}"},
    {"240 243", "6a{#dfghklmnoprs}"},
    {"242", "6a{#bchnpy}"},
    {"245", "6a{#bcfghknps}"},
    {"246", "6{i}{!abfghnp}5"},
    {"247", "6a{#bfghnpx}"},
    {"255", "6abcdefg"},
    {"260", "63{#abcdefg}"},
    {"261", "6{#abdef}"},
    {"262", "6{#abckl}"},
    {"264 351", "63{#abc}"},
    {"270", "6{#abcdefghijklmnpqrz}4"},
    {"300", "63{#abcefg}"},
    {"340", "63{#abcdefhi}"},
    {"342", "6{#abcdefghijklmnopqrstuvw}2"},
    {"343", "6{#abcdefghi}"},
    {"352", "6{#abcdefgi}"},
    {"355", "6{#abcdefghj}"},
    {"357", "6{#abcg}"},
    {"400", "6a{#qbcdek}{u4}{!tkfghlmnoprs}{#vx}"},
    {"410", "6a{#bcdgkn}{eu4}{!tfhldgknmoprs}{#vx}"},
    {"411", "6a{#bqdceng}{u4}{!tnfhklps}{#vx}"},
    {"440", "6a{#np}{#xv}"},
    {"490", "63{^alvx}"},
    {"500 561 585", "63a5"},
    {"501", "6a5"},
    {"505", "6{#agrt}"},
    {"506", "63a{#bcde}5"},
    {"510", "63a{#bcx}"},
    {"514", "6a{#bcdefghijkm}"},
    {"518 586", "63a"},
    {"520 521 546", "63ab"},
    {"524", "63a2"},
    {"526", "6{i}{#abcdxz}5"},
    {"530", "63abcd"},
    {"533", "63a{#bcdefmn}7"},
    {"534", "63p{#atbmceflnzxk}"},
    {"535", "63a{#bcdg}"},
    {"540", "63abcd5"},
    {"541", "63{#abcdefhno}5"},
    {"544", "63{#abcden}"},
    {"551", "6a{#bcdefghijklmnop}"},
    {"555", "63a{#bcd}"},
    {"562", "63{#abcde}5"},
    {"565", "63a{#bcde}"},
    {"581", "63az"},
    {"583", "63a{#bcdefhijklnoxz}5"},
    {"584", "63ab5"},
    {"600", "63a{#bcdgq}{eu4}{!tfgklmnoprs}{#vxyz}20"},
    {"610", "63a{#bcdgkn}{eu4}{!tfhldgknmoprs}{#vxyz}2"},
    {"611", "63a{#bqdceng}{u4}{!tnfhklps}{#vxyz}2"},
    {"630", "63a{#nplfksdhmorgt}{#vxyz}2"},
    {"650", "63a{#bcde}{#vxyz}2"},
    {"651 657", "63a{#vxyz}2"},
    {"654", "{#abcvyz}23"},
    {"655", "63a{#bc}{#vxyz}25"},
    {"656", "63ak{#vxyz}2"},
    {"658", "6a{#bcd}2"},
    {"700", "63a{#qbcdek}{u4}{!tkfghlmnoprsx}5"},
    {"710", "63a{#bcdgkn}{eu4}{!tfhldgknmoprsx}5"},
    {"711", "63a{#bqdceng}{u4}{!tnfhklpsx}5"},
    {"720", "6a{e4}"},
    {"730", "63a{#nplfksdhmorgtx}5"},
    {"740", "6a{#hnp}5"},
    {"752", "6abcd"},
    {"754", "6a2"},
    {"760 762", "67{#abcdghimnostwxy}"},
    {"765 767 770 772 774 776 780 785 787", "67{#abcdghikmnorstuwxyz}"},
    {"773", "673{#abdghikmnoprstuwxyz}"},
    {"775", "67{#abcdefghikmnorstuwxyz}"},
    {"777", "67{#abcdghikmnostwxy}"},
    {"786", "67{#abcdghijkmnorstuvwxyz}"},
    {"800", "6a{#qbcdek}{u4}{!tkfghlmnoprs}v"},
    {"810", "6a{#bcdgkn}{eu4}{!tfhldgknmoprs}v"},
    {"811", "6a{#bqdceng}{u4}{!tnfhklps}v"},
    {"830", "63a{#nplfksdhmorgt}vx"},
    {"891", "9{638}{abcdefghijklmnouvwxyz}"},
};

// Every code a rule does not list goes to a last group that takes any order.
constexpr const char* kAnyCodeAnyOrder = "{#abcdefghijklmnopqrstuvwxyz0123456789}";

// The (tag, pattern) pairs of a default table in ascending tag order.
template <size_t N>
std::vector<std::pair<std::string, std::string>> ByTag(const DefaultSubfieldPatterns (&patterns)[N]) {
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const DefaultSubfieldPatterns& entry : patterns) {
        std::string sTags = entry.Tags;
        for (size_t start = 0; start < sTags.size(); start += 4) pairs.emplace_back(sTags.substr(start, 3), entry.Pattern);
    }
    std::sort(pairs.begin(), pairs.end());
    return pairs;
}

}  // namespace

// ------------------------------------------------------------ field order

Utf8MarcRecordClass::FldOrderTableRef Utf8MarcRecordClass::FldOrderTableFor(const std::string& sMarcFormat) {
    switch (OrderFamily(sMarcFormat)) {
        case 'A': return {m.FldOrderAuth, m.FldOrderAuthCount, m.FldOrderAuthSlots};
        case 'B': return {m.FldOrderBib, m.FldOrderBibCount, m.FldOrderBibSlots};
        case 'H': return {m.FldOrderHold, m.FldOrderHoldCount, m.FldOrderHoldSlots};
        default: return {m.FldOrderOther, m.FldOrderOtherCount, m.FldOrderOtherSlots};
    }
}

void Utf8MarcRecordClass::ClearFldOrder(const std::string& sMarcFormat) {
    if (m.FldCount != 0) return;
    m.OrderSetupPending = true;
    ++m.FldOrderRulesGeneration;
    FldOrderTableFor(sMarcFormat).Count = 0;
    switch (OrderFamily(sMarcFormat)) {
        case 'A': m.FldOrderPairedAuth = false; break;
        case 'B':
            m.FldOrderPairedBib = false;
            m.FldOrderPairedLcBib = false;
            break;
        case 'H': m.FldOrderPairedHold = false; break;
        default: break;  // the other formats share the holdings pairing flag
    }
}

void Utf8MarcRecordClass::SetFldOrder(const std::string& sMarcFormat, const std::string& sBeginTag,
                                      const std::string& sEndTag, int16_t iSortMethod) {
    if (m.FldCount != 0) return;
    const char family = OrderFamily(sMarcFormat);
    if (iSortMethod == 8 || iSortMethod == 10) {
        // The paired methods switch pairing on and are otherwise generic.
        if (family == 'A') m.FldOrderPairedAuth = true;
        else if (family == 'B') m.FldOrderPairedBib = true;
        else m.FldOrderPairedHold = true;
        if (iSortMethod == 10 && family == 'B') m.FldOrderPairedLcBib = true;
        if (sBeginTag == "880" && (sEndTag == "880" || sEndTag.empty())) return;
        iSortMethod = 2;
    }
    FldOrderTableRef table = FldOrderTableFor(sMarcFormat);
    ++m.FldOrderRulesGeneration;
    table.Count = rt::ToInt16(int32_t{table.Count} + 1);
    if (table.Count > table.Slots || table.Slots == 0) {
        table.Slots = rt::ToInt16(int32_t{table.Slots} + 5);
        table.Rules.resize(static_cast<size_t>(table.Slots) + 1);
    }
    table.Rules[static_cast<size_t>(table.Count)] = FieldOrderRule{sBeginTag, sEndTag, iSortMethod};
}

namespace {

template <size_t N>
void SetFldOrders(Utf8MarcRecordClass& record, const char* sFamily, const DefaultFieldRule (&rules)[N]) {
    record.ClearFldOrder(sFamily);
    for (const DefaultFieldRule& rule : rules) record.SetFldOrder(sFamily, rule.BeginTag, rule.EndTag, rule.Method);
}

}  // namespace

void Utf8MarcRecordClass::SetDefaultFldOrderAuth() { SetFldOrders(*this, "A", kDefaultFldOrderAuth); }
void Utf8MarcRecordClass::SetDefaultFldOrderBib() { SetFldOrders(*this, "B", kDefaultFldOrderBib); }
void Utf8MarcRecordClass::SetDefaultFldOrderHold() { SetFldOrders(*this, "H", kDefaultFldOrderHold); }
void Utf8MarcRecordClass::SetDefaultFldOrderOther() { SetFldOrders(*this, "O", kDefaultFldOrderOther); }

void Utf8MarcRecordClass::FldOrderCompleteTable(std::vector<FieldOrderRule>& table, int16_t& count,
                                                int16_t& slots) {
    if (count > 0 && static_cast<size_t>(count) < table.size()) {
        const FieldOrderRule& last = table[static_cast<size_t>(count)];
        if (last.BeginTag == "001" && last.EndTag == "999") return;
    }
    ++m.FldOrderRulesGeneration;
    count = rt::ToInt16(int32_t{count} + 1);
    if (count > slots) {
        slots = count;
        table.resize(static_cast<size_t>(slots) + 1);
    }
    table[static_cast<size_t>(count)] = FieldOrderRule{"001", "999", 2};
}

void Utf8MarcRecordClass::FldOrderInstall(const std::string& sMarcFormat) {
    FldOrderTableRef table = FldOrderTableFor(sMarcFormat);
    if (table.Count > 0) {
        FldOrderCompleteTable(table.Rules, table.Count, table.Slots);
        return;
    }
    switch (OrderFamily(sMarcFormat)) {
        case 'A': SetDefaultFldOrderAuth(); break;
        case 'B': SetDefaultFldOrderBib(); break;
        case 'H': SetDefaultFldOrderHold(); break;
        default: SetDefaultFldOrderOther(); break;
    }
}

// ------------------------------------------------------------ subfield order

Utf8MarcRecordClass::SfdOrderTableRef Utf8MarcRecordClass::SfdOrderTableFor(const std::string& sMarcFormat) {
    switch (OrderFamily(sMarcFormat)) {
        case 'A': return {m.SfdOrderAuth, m.SfdOrderAuthCount, m.SfdOrderAuthSlots};
        case 'B': return {m.SfdOrderBib, m.SfdOrderBibCount, m.SfdOrderBibSlots};
        case 'H': return {m.SfdOrderHold, m.SfdOrderHoldCount, m.SfdOrderHoldSlots};
        default: return {m.SfdOrderOther, m.SfdOrderOtherCount, m.SfdOrderOtherSlots};
    }
}

void Utf8MarcRecordClass::ClearSfdOrder(const std::string& sMarcFormat) {
    m.OrderSetupPending = true;
    SfdOrderTableFor(sMarcFormat).Count = 0;
    SfdOrderMemo::RulesChanged(m);
}

void Utf8MarcRecordClass::SetSfdOrder(const std::string& sMarcFormat, const std::string& sTag,
                                      const std::string& sInstruction) {
    if (m.FldCount != 0) return;
    SfdOrderTableRef table = SfdOrderTableFor(sMarcFormat);
    SfdOrderParse(table.Rules, table.Count, table.Slots, sTag, sInstruction);
}

void Utf8MarcRecordClass::SfdOrderAddStep(SubfieldOrderRule& rule, int16_t& iPendingType,
                                          std::string& sPendingCodes) {
    rule.StepTop = rt::ToInt16(int32_t{rule.StepTop} + 1);
    if (rule.StepTop > rule.StepSlots || rule.StepSlots == 0) {
        rule.StepSlots = rt::ToInt16(int32_t{rule.StepSlots} + 2);
        rule.Steps.resize(static_cast<size_t>(rule.StepSlots) + 1);
    }
    rule.Steps[static_cast<size_t>(rule.StepTop)] = SubfieldOrderStep{iPendingType, sPendingCodes};
    sPendingCodes.clear();
    iPendingType = 0;
}

void Utf8MarcRecordClass::SfdOrderParse(std::vector<SubfieldOrderRule>& table, int16_t& count, int16_t& slots,
                                        const std::string& sTag, const std::string& sPattern) {
    SfdOrderMemo::RulesChanged(m);
    // The rule of the tag is rebuilt in place; a new tag gets a new rule.
    int16_t index = 0;
    for (int16_t i = 1; i <= count; ++i)
        if (table[static_cast<size_t>(i)].Tag == sTag) {
            index = i;
            break;
        }
    if (index == 0) {
        count = rt::ToInt16(int32_t{count} + 1);
        index = count;
        if (count > slots || slots == 0) {
            slots = rt::ToInt16(int32_t{slots} + 5);
            table.resize(static_cast<size_t>(slots) + 1);
        }
    }
    SubfieldOrderRule& rule = table[static_cast<size_t>(index)];
    rule = SubfieldOrderRule{};
    rule.Tag = sTag;

    std::string sPending, sSeen, sLeads, sAtCodes, sRepeated;
    int16_t iPendingType = 0;
    bool bInGroup = false;
    if (sPattern.empty()) SfdOrderAddStep(rule, iPendingType, sPending);  // an empty pattern is one empty step
    for (size_t i = 0; i < sPattern.size(); ++i) {
        const char c = sPattern[i];
        if (c == '{') {
            if (!sPending.empty()) SfdOrderAddStep(rule, iPendingType, sPending);
            const char next = i + 1 < sPattern.size() ? sPattern[i + 1] : '\0';
            const std::string sAfter = i + 2 < sPattern.size() ? sPattern.substr(i + 2, 1) : "";
            if (next == '#') {
                iPendingType = 1;
                ++i;
            } else if (next == '!' || next == '^') {
                iPendingType = next == '!' ? 2 : 3;
                sLeads += sAfter;
                ++i;
            } else if (next == '@') {
                iPendingType = 4;
                if (!sAfter.empty() && sAtCodes.find(sAfter) == std::string::npos) sAtCodes += sAfter;
                ++i;
            } else {
                iPendingType = 0;
            }
            bInGroup = true;
        } else if (c == '}') {
            if (!sPending.empty()) SfdOrderAddStep(rule, iPendingType, sPending);
            bInGroup = false;
        } else if (bInGroup) {
            sPending += c;
            if (sSeen.find(c) != std::string::npos) sRepeated += c;
            else sSeen += c;
        } else {
            std::string sCode(1, c);
            SfdOrderAddStep(rule, iPendingType, sCode);
        }
    }
    if (!sPending.empty()) SfdOrderAddStep(rule, iPendingType, sPending);
    rule.RepeatedCodes = sRepeated;
    rule.LeadCodes = sLeads;

    // An "@" group whose lead code was seen: its last such step takes type 5.
    for (char code : sAtCodes)
        for (int16_t s = rule.StepTop; s >= 1; --s) {
            SubfieldOrderStep& step = rule.Steps[static_cast<size_t>(s)];
            if (step.StepType == 4 && step.Codes.find(code) != std::string::npos) {
                step.StepType = 5;
                break;
            }
        }
}

namespace {

template <size_t N>
void SetSfdOrders(Utf8MarcRecordClass& record, const char* sFamily, const DefaultSubfieldPatterns (&patterns)[N]) {
    record.ClearSfdOrder(sFamily);
    for (const auto& [sTag, sPattern] : ByTag(patterns)) record.SetSfdOrder(sFamily, sTag, sPattern);
}

}  // namespace

void Utf8MarcRecordClass::SetDefaultSfdOrders() {
    SetDefaultSfdOrderAuth();
    SetDefaultSfdOrderBib();
    SetDefaultSfdOrderHold();
    SetDefaultSfdOrderOther();
}

void Utf8MarcRecordClass::SetDefaultSfdOrderAuth() { SetSfdOrders(*this, "A", kDefaultSfdOrderAuth); }
void Utf8MarcRecordClass::SetDefaultSfdOrderBib() { SetSfdOrders(*this, "B", kDefaultSfdOrderBib); }

void Utf8MarcRecordClass::SetDefaultSfdOrderHold() {
    ClearSfdOrder("H");
    SetSfdOrder("H", "999", kAnyCodeAnyOrder);
}

void Utf8MarcRecordClass::SetDefaultSfdOrderOther() {
    ClearSfdOrder("O");
    SetSfdOrder("O", "999", kAnyCodeAnyOrder);
}
