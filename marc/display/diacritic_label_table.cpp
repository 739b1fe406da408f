// The diacritic-label table: the MARC repertoire as data here, the Hebrew and
// Arabic rows generated from Unicode's character names by
// tools/gen_diacritic_label_scripts.py into diacritic_label_scripts.inc.
#include "marc/display/diacritic_label_table.h"

#include <array>
#include <unordered_map>

namespace diacritic_labels {

namespace {

constexpr DiacriticLabelEntry Literal(std::string_view name, char c) {
    return {name, static_cast<uint16_t>(c), static_cast<uint8_t>(c), nullptr};
}
constexpr DiacriticLabelEntry Named(std::string_view name, uint16_t code, uint8_t marc8, RecordGetter getter) {
    return {name, code, marc8, getter};
}
constexpr DiacriticLabelEntry ScriptRow(std::string_view name, uint16_t code) { return {name, code, 0, nullptr}; }

using R = Utf8MarcRecordClass;

}  // namespace

const DiacriticLabelEntry DiacriticLabelTable[kDiacriticLabelCount] = {
    Literal("underscore (spacing)", '_'),
    Literal("tilde (spacing)", '~'),
    Literal("circumflex (spacing)", '^'),
    Named("alif", 0x02BC, 0xAE, &R::MarcAlif),
    Named("ayn", 0x02BB, 0xB0, &R::MarcAyn),
    Named("miagkii znak", 0x02B9, 0xA7, &R::MarcMiagkiiZnak),
    Named("tverdii znak", 0x02BA, 0xB7, &R::MarcTverdiiZnak),
    Named("dot middle", 0x00B7, 0xA8, &R::MarcDotMiddle),
    Named("flat", 0x266D, 0xA9, &R::MarcFlat),
    Named("O hook", 0x01A0, 0xAC, &R::MarcOHookUpper),
    Named("U hook", 0x01AF, 0xAD, &R::MarcUHookUpper),
    Named("O slash", 0x00D8, 0xA2, &R::MarcOSlashUpper),
    Named("L slash", 0x0141, 0xA1, &R::MarcLSlashUpper),
    Named("D slash", 0x0110, 0xA3, &R::MarcDSlashUpper),
    Named("Thorn", 0x00DE, 0xA4, &R::MarcThornUpper),
    Named("AE ligature", 0x00C6, 0xA5, &R::MarcAEUpper),
    Named("OE ligature", 0x0152, 0xA6, &R::MarcOEUpper),
    Named("l slash", 0x0142, 0xB1, &R::MarcLSlashLower),
    Named("o slash", 0x00F8, 0xB2, &R::MarcOSlashLower),
    Named("d slash", 0x0111, 0xB3, &R::MarcDSlashLower),
    Named("thorn", 0x00FE, 0xB4, &R::MarcThornLower),
    Named("ae ligature", 0x00E6, 0xB5, &R::MarcAELower),
    Named("oe ligature", 0x0153, 0xB6, &R::MarcOELower),
    Named("i without dot", 0x0131, 0xB8, &R::MarcIDotless),
    Named("pound sterling", 0x00A3, 0xB9, &R::MarcBritishPound),
    Named("eth", 0x00F0, 0xBA, &R::MarcEth),
    Named("o hook", 0x01A1, 0xBC, &R::MarcOHookLower),
    Named("u hook", 0x01B0, 0xBD, &R::MarcUHookLower),
    // The next five take their octet from the output set ("V", and "O" for script l).
    Named("degree", 0x00B0, 0xC0, &R::MarcDegree),
    Named("l script", 0x2113, 0xC1, &R::MarcLScript),
    Named("sharp", 0x266F, 0xC4, &R::MarcSharp),
    Named("? inverted", 0x00BF, 0xC5, &R::MarcQuestionInverted),
    Named("! inverted", 0x00A1, 0xC6, &R::MarcExclamationInverted),
    Named("pseudo question", 0x0309, 0xE0, &R::MarcQuestionPseudo),
    Named("grave", 0x0300, 0xE1, &R::MarcGrave),
    Named("acute", 0x0301, 0xE2, &R::MarcAcute),
    Named("circumflex (non-spacing)", 0x0302, 0xE3, &R::MarcCircumflex),
    Named("tilde (non-spacing)", 0x0303, 0xE4, &R::MarcTilde),
    Named("macron", 0x0304, 0xE5, &R::MarcMacron),
    Named("breve", 0x0306, 0xE6, &R::MarcBreve),
    Named("dot above", 0x0307, 0xE7, &R::MarcDotAbove),
    Named("umlaut", 0x0308, 0xE8, &R::MarcUmlaut),
    Named("hacek", 0x030C, 0xE9, &R::MarcHacek),
    Named("angstrom", 0x030A, 0xEA, &R::MarcAngstrom),
    Named("ligature left half", 0xFE20, 0xEB, &R::MarcLigatureLeft),
    Named("ligature right half", 0xFE21, 0xEC, &R::MarcLigatureRight),
    Named("high comma off-center", 0x0315, 0xED, &R::MarcCommaHighOffCenter),
    Named("double acute", 0x030B, 0xEE, &R::MarcAcuteDouble),
    Named("candrabindu", 0x0310, 0xEF, &R::MarcCandrabindu),
    Named("cedilla", 0x0327, 0xF0, &R::MarcCedilla),
    Named("right hook", 0x0328, 0xF1, &R::MarcHookRight),
    Named("dot below", 0x0323, 0xF2, &R::MarcDotBelow),
    Named("double dot below", 0x0324, 0xF3, &R::MarcDotBelowDouble),
    Named("circle below", 0x0325, 0xF4, &R::MarcCircleBelow),
    Named("double underscore", 0x0333, 0xF5, &R::MarcUnderscoreDouble),
    Named("underscore (non-spacing)", 0x0332, 0xF6, &R::MarcUnderscore),
    Named("left hook", 0x0326, 0xF7, &R::MarcHookLeft),
    Named("inverted cedilla", 0x031C, 0xF8, &R::MarcCedillaRight),
    Named("upadhmaniya", 0x032E, 0xF9, &R::MarcUpadhmaniya),
    Named("double tilde left half", 0xFE22, 0xFA, &R::MarcTildeDoubleLeft),
    Named("double tilde right half", 0xFE23, 0xFB, &R::MarcTildeDoubleRight),
    Named("high comma centered", 0x0313, 0xFE, &R::MarcCommaHighCentered),
    // Direction controls: UTF-8 records only (their getters give "" elsewhere).
    Named("RTL", 0x200F, 0, &R::MarcRightToLeftMarker),
    Named("LTR", 0x200E, 0, &R::MarcLeftToRightMarker),
    Named("LTRE", 0x202A, 0, &R::MarcLeftToRightEmbedding),
    Named("RTLE", 0x202B, 0, &R::MarcRightToLeftEmbedding),
    Named("PDF", 0x202C, 0, &R::MarcPopDirectionalFormatting),
    Named("LTRO", 0x202D, 0, &R::MarcLeftToRightOverride),
    Named("RTLO", 0x202E, 0, &R::MarcRightToLeftOverride),
#include "marc/display/diacritic_label_scripts.inc"
};

namespace {

// Script entries by code point, U+0590 to U+06FF; -1 where there is none.
constexpr uint32_t kScriptFirst = 0x0590, kScriptLast = 0x06FF;

const std::array<int16_t, kScriptLast - kScriptFirst + 1>& ScriptIndex() {
    static const auto index = [] {
        std::array<int16_t, kScriptLast - kScriptFirst + 1> a{};
        a.fill(-1);
        for (int i = kMarcLabelCount; i < kDiacriticLabelCount; ++i)
            a[DiacriticLabelTable[i].Code - kScriptFirst] = static_cast<int16_t>(i);
        return a;
    }();
    return index;
}

}  // namespace

const DiacriticLabelEntry* FindLabelByName(std::string_view name) {
    static const auto byName = [] {
        std::unordered_map<std::string_view, const DiacriticLabelEntry*> map;
        for (const DiacriticLabelEntry& e : DiacriticLabelTable) map.emplace(e.Name, &e);
        return map;
    }();
    const auto it = byName.find(name);
    return it == byName.end() ? nullptr : it->second;
}

const DiacriticLabelEntry* FindScriptLabel(uint32_t code) {
    if (code < kScriptFirst || code > kScriptLast) return nullptr;
    const int16_t i = ScriptIndex()[code - kScriptFirst];
    return i < 0 ? nullptr : &DiacriticLabelTable[i];
}

}  // namespace diacritic_labels
