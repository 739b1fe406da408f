// The order files: a folder of three settings files ("bibsup.cfg",
// "holdsup.cfg", "authsup.cfg") whose sections refill the field-order and
// subfield-order tables of the bibliographic, holdings and authority formats.
#include <string>
#include <vector>

#include "common/ini.h"
#include "common/runtime.h"
#include "common/utli_misc_non_utf8.h"
#include "marc/record/marc_record.h"
#include "platform/profile.h"

namespace {

// The key lines of a section as the file writes them, in file order. The
// section is read in one call of at most 32,000 characters.
std::vector<std::string> ReadOrderSection(Utf8MarcRecordClass& record, const std::string& sSection,
                                          const std::string& sFileName) {
    constexpr uint32_t kSize = 32001;
    std::string sBuffer(kSize - 1, ' ');
    sBuffer += '\0';
    platform::GetPrivateProfileSectionLines(sSection, sBuffer, kSize, sFileName);
    const size_t end = sBuffer.find(std::string(2, '\0'));
    std::string sText = end == std::string::npos ? sBuffer : sBuffer.substr(0, end);
    for (size_t at = sText.find('\0'); at != std::string::npos; at = sText.find('\0'))
        sText = record.SafeStuff(sText, static_cast<int32_t>(at) + 1, 1, "\t");

    // A text of blanks alone, or a single TAB, is an empty section. The lines
    // keep their blanks: the key-line test decides which of them count.
    std::vector<std::string> lines;
    const std::string sTrimmed = rt::Trim(sText);
    if (sTrimmed.empty() || sTrimmed == "\t") return lines;
    while (!sText.empty()) {
        std::string sLine;
        UtliMiscNonUtf8::SplitOffFirst(sText, sLine, "\t");
        int16_t iEquals = 0;
        if (INI::IsIniKeyLine(sLine, iEquals) && iEquals > 0) lines.push_back(sLine);
    }
    return lines;
}

// The position of the first "=" of a key line.
size_t EqualsAt(const std::string& sLine) { return sLine.find('='); }

}  // namespace

std::string Utf8MarcRecordClass::FldOrderFolder() const { return m.FldOrderFolder; }

void Utf8MarcRecordClass::FldOrderFolder(const std::string& vNewValue) {
    if (m.FldCount != 0) return;
    if (vNewValue.empty()) {
        // Back to the default field orders; the subfield tables stay.
        if (m.FldOrderFolder.empty()) return;
        m.FldOrderFolder.clear();
        ClearFldOrder("A");
        ClearFldOrder("B");
        ClearFldOrder("H");
        SetDefaultFldOrderAuth();
        SetDefaultFldOrderBib();
        SetDefaultFldOrderHold();
        return;
    }
    std::string sFolder = vNewValue;
    if (sFolder.back() != '\\') sFolder += '\\';
    if (sFolder == m.FldOrderFolder) return;
    m.OrderSetupPending = true;
    m.FldOrderFolder = sFolder;
    struct OrderFile {
        const char* Letter;
        const char* FileName;
    };
    for (const OrderFile& file :
         {OrderFile{"B", "bibsup.cfg"}, OrderFile{"H", "holdsup.cfg"}, OrderFile{"A", "authsup.cfg"}}) {
        ClearFldOrder(file.Letter);
        FldOrderTableRef fields = FldOrderTableFor(file.Letter);
        FldOrderFileRead(file.Letter, sFolder + file.FileName, fields.Rules, fields.Count, fields.Slots);
        ClearSfdOrder(file.Letter);
        SfdOrderTableRef subfields = SfdOrderTableFor(file.Letter);
        SfdOrderFileRead(file.Letter, sFolder + file.FileName, subfields.Rules, subfields.Count, subfields.Slots);
    }
}

// The rules go in through SetFldOrder, which fills the family's table (the
// one passed here).
void Utf8MarcRecordClass::FldOrderFileRead(const std::string& sMarcFormat, const std::string& sFileName,
                                           std::vector<FieldOrderRule>& /*table*/, int16_t& /*count*/,
                                           int16_t& /*slots*/) {
    ClearFldOrder(sMarcFormat);
    const std::vector<std::string> extended = ReadOrderSection(*this, "ExtendedFieldOrder", sFileName);
    for (const std::string& sLine : extended) {
        // "key=BBB-EEE keyword"
        std::string sValue = sLine.substr(EqualsAt(sLine) + 1);
        std::string sRange;
        UtliMiscNonUtf8::SplitOffFirst(sValue, sRange, " ");
        std::string sEnd = sRange, sBegin;
        UtliMiscNonUtf8::SplitOffFirst(sEnd, sBegin, "-");
        if (sRange.find('-') == std::string::npos) sEnd = sBegin;
        SetFldOrder(sMarcFormat, sBegin, sEnd, FldOrderMethodFromKeyword(sValue));
    }
    if (extended.empty()) {
        // "cXX=keyword": the hundred c00 to c99; "0XX" keeps 001-009 by tag.
        for (const std::string& sLine : ReadOrderSection(*this, "FieldOrder", sFileName)) {
            const std::string sHundred = sLine.substr(0, 1);
            const int16_t iMethod = FldOrderMethodFromKeyword(sLine.substr(EqualsAt(sLine) + 1));
            if (sHundred == "0") {
                SetFldOrder(sMarcFormat, "001", "009", FldOrderMethodFromKeyword("Tag"));
                SetFldOrder(sMarcFormat, "010", "099", iMethod);
            } else {
                SetFldOrder(sMarcFormat, sHundred + "00", sHundred + "99", iMethod);
            }
        }
    }
    SetFldOrder(sMarcFormat, "001", "999", FldOrderMethodFromKeyword("Generic"));
}

void Utf8MarcRecordClass::SfdOrderFileRead(const std::string& sMarcFormat, const std::string& sFileName,
                                           std::vector<SubfieldOrderRule>& /*table*/, int16_t& count,
                                           int16_t& /*slots*/) {
    count = 0;
    for (const std::string& sLine : ReadOrderSection(*this, "SubfieldOrder", sFileName))
        if (EqualsAt(sLine) == 3) SetSfdOrder(sMarcFormat, sLine.substr(0, 3), sLine.substr(4));
}

int16_t Utf8MarcRecordClass::FldOrderMethodFromKeyword(const std::string& sKeyword) {
    struct Keyword {
        const char* Text;
        int16_t Method;
    };
    static constexpr Keyword kKeywords[] = {
        {"TAG", 6},        {"T", 6},          {"7", 1},         {"INDICATOR1", 11}, {"1", 11},
        {"IND1", 11},      {"INDIC1", 11},    {"INDICATOR2", 3}, {"2", 3},          {"IND2", 3},
        {"INDIC2", 3},     {"LOCAL", 4},      {"5", 4},         {"NUC", 4},         {"SFD8", 7},
        {"REFERENCE", 5},  {"REF", 5},        {"PAIRED", 8},    {"P", 8},           {"PAIR", 8},
        {"PAIRED LC", 10}, {"PAIREDLC", 10},  {"PLC", 10},      {"P LC", 10},       {"PAIRLC", 10},
        {"PAIR LC", 10},   {"RDA33X", 12},    {"SUBFIELDC", 13},
    };
    const std::string sUpper = rt::UCase(sKeyword);
    for (const Keyword& keyword : kKeywords)
        if (sUpper == keyword.Text) return keyword.Method;
    return 2;
}
