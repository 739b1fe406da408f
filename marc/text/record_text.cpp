// Record text: the whole record as lines of text (or an RTF document): a
// head, then one line for every live field that the tag list lets through.
#include <string>

#include "common/runtime.h"
#include "marc/record/marc_record.h"
#include "marc/text/fixed_field_block.h"
#include "marc/text/subfield_bars.h"

namespace {

const char kDocumentStart[] = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\formshade\\deflang1033";
const char kStylesheet[] =
    "{\\stylesheet {\\ql \\li0\\ri0\\widctlpar\\wrapdefault\\aspalpha\\aspnum\\faauto\\adjustright\\rin0\\lin0\\itap0 "
    "\\fs24\\lang1033\\langfe1033\\cgrid\\langnp1033\\langfenp1033 \\snext0 Normal;}{\\*\\cs10 \\additive "
    "\\ssemihidden Default Paragraph Font;}{\\*\\ts11\\tsrowd\\trftsWidthB3\\trpaddl108\\trpaddr108\\trpaddfl3"
    "\\trpaddft3\\trpaddfb3\\trpaddfr3\\trcbpat1\\trcfpat1\\tblind0\\tblindtype3\\tscellwidthfts0\\tsvertalt\\tsbrdrt"
    "\\tsbrdrl\\tsbrdrb\\tsbrdrr\\tsbrdrdgl\\tsbrdrdgr\\tsbrdrh\\tsbrdrv \\ql \\li0\\ri0\\widctlpar\\wrapdefault"
    "\\aspalpha\\aspnum\\faauto\\adjustright\\rin0\\lin0\\itap0 \\fs20\\lang1024\\langfe1024\\cgrid\\langnp1024"
    "\\langfenp1024 \\snext11 \\ssemihidden Normal Table;}}";
const char kFontTable[] =
    "{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 Arial Unicode MS;}{\\f1\\fmodern\\fprq1\\fcharset0 Courier New;}}";
const char kColourTable[] =
    "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red0\\green255\\blue255;\\red0\\green255\\blue0;"
    "\\red255\\green0\\blue255;\\red255\\green0\\blue0;\\red255\\green255\\blue0;\\red255\\green255\\blue255;"
    "\\red0\\green0\\blue128;\\red0\\green128\\blue128;\\red0\\green128\\blue0;\\red128\\green0\\blue128;"
    "\\red128\\green0\\blue0;\\red128\\green128\\blue0;\\red128\\green128\\blue128;\\red192\\green192\\blue192;"
    "\\red225\\green255\\blue225;\\red225\\green255\\blue225;}";
const char kParagraphMiddle[] =
    "\\ri0\\widctlpar\\wrapdefault\\aspalpha\\aspnum\\faauto\\adjustright\\rin0\\lin360\\itap0\\lang1033"
    "\\langfe1033\\cgrid\\langnp1033\\langfenp1033\\f1\\fs";

// Puts the entry field back on every way out of the record walk.
class FieldPointerRestorer {
public:
    FieldPointerRestorer(Utf8MarcRecordClass& record, int16_t iEntry) : record_(record), entry_(iEntry) {}
    ~FieldPointerRestorer() {
        try {
            record_.FldPointer(entry_);
        } catch (...) {
            // Setting a pointer that was valid on entry does not fail; an
            // error already travelling must not be replaced.
        }
    }
    FieldPointerRestorer(const FieldPointerRestorer&) = delete;
    FieldPointerRestorer& operator=(const FieldPointerRestorer&) = delete;

private:
    Utf8MarcRecordClass& record_;
    int16_t entry_;
};

}  // namespace

std::string Utf8MarcRecordClass::TextFormatted(int32_t iOutput, int32_t iFixedFieldFormat,
                                               const std::string& sTagList, bool bIncludeRtfWrapper,
                                               int16_t iRtfFontSizeInPoints) {
    const int16_t iSize = iRtfFontSizeInPoints < 3 ? int16_t{10} : iRtfFontSizeInPoints;
    const bool bRtfLines = iOutput == 10 || iOutput == 11 || iOutput == 13 || iOutput == 14;
    const std::string sLineEnd = bRtfLines ? "\\par " : "\r\n";
    const bool bRtfFlag = bRtfLines && bIncludeRtfWrapper;
    // The document's sizes are checked before the walk, so that a size too
    // large fails without moving anything.
    std::string sHalfPoints;
    std::string sIndent;
    if (bRtfFlag) {
        sHalfPoints = std::to_string(rt::ToInt16(2 * static_cast<int64_t>(iSize)));
        sIndent = std::to_string(rt::ToInt16(100 * static_cast<int64_t>(iSize)));
    }
    const bool bAllTags = sTagList.empty();
    auto listed = [&](const char* sTag) { return bAllTags || sTagList.find(sTag) != std::string::npos; };

    const FieldPointerRestorer restorer(*this, FldPointer());
    std::string sText;
    // Text that does not pass through the RTF translation is escaped in the
    // RTF lines, so that no "\", "{" or "}" of a tag or hex display is read
    // as RTF.
    auto appendPlain = [bRtfLines, &sText](const std::string& s) {
        if (bRtfLines) sText += EscapeRtfReserved(s);
        else sText += s;
    };
    if (iOutput == 3) {
        if (listed("000")) sText = " 000     " + m.Leader;
    } else if (listed("008") && FldFindFirst("008", "")) {
        std::string s008 = FldText();
        const char fill = SharedChar().MarcFill()[0];
        for (char& c : s008)
            if (c == fill) c = '?';
        sText += FixedFieldBlock(iFixedFieldFormat, m.MarcRecordFormat, m.Leader, s008, sLineEnd, bRtfFlag);
    }
    if (bRtfFlag) sText += "\\f0\\fs" + sHalfPoints + " \\f0";

    const bool bWalkingForm = iOutput == 4 || iOutput == 13 || iOutput == 14;
    const std::string sMarkFont = bRtfFlag ? " \\f1 " : "";
    const std::string sAfterControlTag = bRtfFlag ? "     \\f0 " : "     ";
    const std::string sAfterIndicators = bRtfFlag ? ": \\f0 " : ": ";
    FldMoveTop();
    while (FldMoveNext(true)) {
        if (FldDeleted()) continue;
        const std::string sTag = FldTag();
        if (!bAllTags && sTagList.find(sTag) == std::string::npos) continue;
        const int16_t iField = FldPointer();
        const char sMark = FldChanged() ? '*' : ' ';
        if (sTag == "008") {
            if (iOutput == 3) {
                sText += sLineEnd;
                sText += " 008     ";
                sText += Marc2HexDisplay(FldText());
            }
        } else if (FldIsControl()) {
            sText += sLineEnd;
            sText += sMarkFont;
            sText += sMark;
            appendPlain(sTag);
            sText += sAfterControlTag;
            appendPlain(Marc2HexDisplay(FldText()));
        } else {
            sText += sLineEnd;
            sText += sMarkFont;
            sText += sMark;
            appendPlain(sTag);
            sText += ':';
            appendPlain(FldInd());
            sText += sAfterIndicators;
            // Every subfield, whatever its code; form 3 straight from the subfields where it can be.
            const int16_t fld = CurrentField();
            if (iOutput != 3 || fld < 0 || !field_text::AppendBarsFromSubfields(m.Fields[static_cast<size_t>(fld)], sText))
                sText += FldTextFormatted(iOutput, false, 10, "", "");
        }
        // Only the subfield walks move the subfield cursor; after the other
        // forms the cursor still stands where the move put it.
        if (bWalkingForm) FldPointer(iField);
    }

    if (!bRtfFlag) return sText;
    std::string sDocument;
    sDocument.reserve(sText.size() + 2000);
    sDocument += kDocumentStart;
    sDocument += kStylesheet;
    sDocument += kFontTable;
    sDocument += kColourTable;
    sDocument += "\\viewkind4\\uc1\\pard\\plain \\ql \\fi-" + sIndent + "\\li" + sIndent;
    sDocument += kParagraphMiddle;
    sDocument += sHalfPoints + " ";
    sDocument += sText;
    sDocument += "\\par}";
    return sDocument;
}

std::string Utf8MarcRecordClass::TextRaw() { return TextFormatted(3, 2, "", true, 10); }
