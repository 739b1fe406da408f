// The record's format code, leader changes and the default 008.
#include "common/runtime.h"
#include "marc/record/leader_rules.h"
#include "marc/record/marc_record.h"
#include "platform/clock.h"

namespace {

constexpr const char* kBibliographicTypes = "acdefgijkmoprt";
constexpr const char* kHoldingsTypes = "uvxy";

bool OneOf(const std::string& sChar, const char* sSet) {
    return !sChar.empty() && rt::InStr(sSet, sChar.substr(0, 1)) > 0;
}

}  // namespace

bool SerialBibliographicLeader(const std::string& sLeader) {
    std::string sTypeAndLevel;
    if (sLeader.size() == 2) sTypeAndLevel = sLeader;
    else if (sLeader.size() > 6) sTypeAndLevel = rt::Mid(sLeader, 7, 2);
    else return false;
    // An absent level (a seven-character leader) counts as one of them.
    return rt::Left(sTypeAndLevel, 1) == "a" && rt::InStr("bis", rt::Mid(sTypeAndLevel, 2, 1)) > 0;
}

bool Utf8MarcRecordClass::SerialBibliographicRecord(const std::string& sLeader) {
    // An empty argument asks about the record's own leader, which is read at
    // leader/06-07 only (a short one gives false).
    if (sLeader.empty()) return m.Leader.size() > 6 && SerialBibliographicLeader(m.Leader);
    return SerialBibliographicLeader(sLeader);
}

std::string Utf8MarcRecordClass::SetFormatCode(const std::string& sMarcLeader) {
    std::string sType;
    if (sMarcLeader.empty()) sType = rt::Mid(m.Leader, 7, 1);
    else if (sMarcLeader.size() >= 24) sType = rt::Mid(sMarcLeader, 7, 1);
    else sType = rt::Left(sMarcLeader, 1);

    if (sType == "a") return SerialBibliographicRecord(sMarcLeader) ? "S" : "B";
    if (sType.empty()) return "?";
    switch (sType[0]) {
        case 't': return "B";
        case 'c': case 'd': case 'i': case 'j': return "M";
        case 'e': case 'f': return "P";
        case 'g': case 'k': case 'o': case 'r': return "F";
        case 'm': return "D";
        case 'b': case 'p': return "U";
        case 'u': case 'v': case 'x': case 'y': return "H";
        case 'z': return "A";
        case 'q': return "Q";
        case 'w': return "W";
        default: return "?";
    }
}

void Utf8MarcRecordClass::ChangeLeaderValue(int16_t iStartingPosition, const std::string& sNewLeaderValue) {
    // A position before the leader would put the value in front of it.
    if (iStartingPosition < 0) return;
    const int32_t n = static_cast<int32_t>(sNewLeaderValue.size());
    const int32_t p = rt::ToInt16(int32_t{iStartingPosition} + 1);
    if (n < 1 || p + n > 25 || p > 24 || m.Leader.size() < 24) return;

    // The type of record may change only within its kind; a blank allows any.
    if (iStartingPosition == 6 && m.Leader[6] != ' ') {
        const std::string sCurrent = m.Leader.substr(6, 1);
        bool bAccepted = false;
        if (OneOf(sCurrent, kBibliographicTypes)) bAccepted = OneOf(sNewLeaderValue, kBibliographicTypes);
        else if (OneOf(sCurrent, kHoldingsTypes)) bAccepted = OneOf(sNewLeaderValue, kHoldingsTypes);
        if (!bAccepted) return;
    }

    const std::string sOldLeader = m.Leader;
    m.Leader = SafeStuff(m.Leader, p, static_cast<int16_t>(n), sNewLeaderValue);

    if (iStartingPosition == 9 && m.Leader.size() > 9 && m.Leader[9] != sOldLeader[9]) {
        try {
            if (m.Leader[9] == 'a') {
                // A record already held in UTF-8 keeps its output set, the LC
                // pattern of "ULC" included.
                CharacterSetOut(m.RecordIsUtf8 && m.OutputIsUlc ? "ULC" : "U");
            } else {
                m.Leader[9] = ' ';
                CharacterSetOut(m.Default8BitSet);
            }
        } catch (...) {
            // A refused change of the output set leaves the leader as it was,
            // so that leader/09 and the record's set never disagree.
            m.Leader = sOldLeader;
            throw;
        }
    }
    if (iStartingPosition == 6 || iStartingPosition == 7) m.MarcRecordFormat = SetFormatCode("");
}

std::string Utf8MarcRecordClass::Default008(const std::string& sSingleCharacterMarcFormatCode,
                                            const std::string& sSuppliedDateOfCreation) {
    const std::string* pTemplate = nullptr;
    if (sSingleCharacterMarcFormatCode.size() == 1) {
        switch (sSingleCharacterMarcFormatCode[0]) {
            case 'A': pTemplate = &m.Default008TemplateA; break;
            case 'B': pTemplate = &m.Default008TemplateB; break;
            case 'D': pTemplate = &m.Default008TemplateD; break;
            case 'F': pTemplate = &m.Default008TemplateF; break;
            case 'H': pTemplate = &m.Default008TemplateH; break;
            case 'M': pTemplate = &m.Default008TemplateM; break;
            case 'P': pTemplate = &m.Default008TemplateP; break;
            case 'Q': pTemplate = &m.Default008TemplateQ; break;
            case 'S': pTemplate = &m.Default008TemplateS; break;
            case 'U': pTemplate = &m.Default008TemplateU; break;
            case 'W': pTemplate = &m.Default008TemplateW; break;
            default: break;
        }
    }
    if (pTemplate == nullptr) return "";
    const std::string sDate = sSuppliedDateOfCreation.size() == 6 ? sSuppliedDateOfCreation
                                                                   : rt::FormatDate(platform::Now(), "yymmdd");
    return sDate + rt::Mid(*pTemplate, 7);
}
