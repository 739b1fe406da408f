// MODS section: genre, from the coded fixed fields and the 655 headings.
//
// The coded terms come from fixed tables keyed by the record's kind: 008
// positions read one at a time (equality) or as a run (containment, where the
// terms follow the table's order, not the order of the letters in the
// record), and for maps the 007 fields. The 655 headings follow them, one
// genre element per field, with the source from the second indicator.
#include <string>
#include <string_view>

#include "marc/record/marc_record.h"
#include "marc/xml/xml_codes.h"

namespace {

struct CodeTerm {
    char code;
    std::string_view term;
};

// Books (008/24-27) and serials (the same positions, never "j"): nature of
// contents, tried letter by letter in this order.
constexpr CodeTerm kNatureOfContents[] = {
    {'a', "abstract or summary"},
    {'b', "bibliography"},
    {'c', "catalog"},
    {'d', "dictionary"},
    {'e', "encyclopedia"},
    {'f', "handbook"},
    {'g', "legal article"},
    {'i', "index"},
    {'j', "patent"},
    {'k', "discography"},
    {'l', "legislation"},
    {'m', "theses"},
    {'n', "survey of literature"},
    {'o', "review"},
    {'p', "programmed text"},
    {'q', "filmography"},
    {'r', "directory"},
    {'s', "statistics"},
    {'t', "technical report"},
    {'v', "legal case and case notes"},
    {'w', "law report or digest"},
    {'z', "treaty"},
};

// Books, 008/33: literary form.
constexpr CodeTerm kLiteraryForm[] = {
    {'1', "fiction"},
    {'c', "comic strip"},
    {'d', "drama"},
    {'e', "essay"},
    {'f', "novel"},
    {'h', "humor, satire"},
    {'i', "letter"},
    {'j', "short story"},
    {'p', "poetry"},
    {'s', "speech"},
};

// Serials, 008/21: type of continuing resource.
constexpr CodeTerm kContinuingResource[] = {
    {'d', "database"},
    {'l', "looseleaf"},
    {'m', "series"},
    {'n', "newspaper"},
    {'p', "periodical"},
    {'w', "web site"},
};

// Music, 008/30-31: literary text for sound recordings, in this order ("k"
// stands between "h" and "i").
constexpr CodeTerm kLiteraryText[] = {
    {'a', "autobiography"},
    {'b', "biography"},
    {'c', "conference publication"},
    {'d', "drama"},
    {'e', "essay"},
    {'f', "fiction"},
    {'g', "reporting"},
    {'h', "history"},
    {'k', "humor, satire"},
    {'i', "instruction"},
    {'j', "language instruction"},
    {'m', "memoir"},
    {'o', "folktale"},
    {'p', "poetry"},
    {'r', "rehearsal"},
    {'s', "speech"},
    {'t', "interview"},
};

// Maps, 008/25: type of cartographic material; any other value sends the
// section to the 007 fields.
constexpr CodeTerm kCartographicMaterial[] = {
    {'a', "map"},
    {'b', "map"},
    {'c', "map"},
    {'d', "globe"},
    {'e', "atlas"},
};

// Maps, 007/00-01 when 008/25 gives no term.
struct PrefixTerm {
    std::string_view prefix;
    std::string_view term;
};
constexpr PrefixTerm kMapPhysicalForm[] = {
    {"ad", "atlas"},
    {"aj", "map"},
    {"aq", "model"},
    {"ar", "remote sensing image"},
};

// Visual materials, 008/33: type of visual material.
constexpr CodeTerm kVisualMaterial[] = {
    {'a', "art original"},
    {'b', "kit/graphic"},
    {'c', "art reproduction"},
    {'d', "diorama"},
    {'f', "filmstrip"},
    {'i', "picture"},
    {'k', "graphic"},
    {'l', "technical drawing"},
    {'m', "motion picture"},
    {'n', "chart"},
    {'o', "flash card"},
    {'p', "microscope slide"},
    {'q', "model"},
    {'r', "realia"},
    {'s', "slide"},
    {'t', "transparency"},
    {'v', "videorecording"},
    {'w', "toy"},
};

// Computer files, 008/26: type of computer file.
constexpr CodeTerm kComputerFile[] = {
    {'a', "numeric data"},
    {'e', "database"},
    {'f', "font"},
    {'g', "game"},
    {'h', "sound"},
};

// The term of the table row whose code is the one character of sValue; an
// empty or longer value (a missing 008 or position) matches no row.
template <size_t N>
std::string_view TermOfCode(const CodeTerm (&table)[N], const std::string& sValue) {
    if (sValue.size() != 1) return {};
    for (const CodeTerm& row : table)
        if (row.code == sValue[0]) return row.term;
    return {};
}

}  // namespace

std::string Utf8MarcRecordClass::XmlRecordOutGenreSection(std::string& sOut, const std::string& sCrlfTabTab) {
    const std::string sStartTag = "genre authority=" + AddQuotes("marcgt");
    auto line = [&](std::string_view term) {
        if (term.empty()) return;
        sOut += sCrlfTabTab;
        sOut += XmlTags(sStartTag, std::string(term));
    };
    // Each letter of the table found anywhere in the run gives its term once.
    auto contained = [&](const auto& table, const std::string& sRun, char skip) {
        for (const CodeTerm& row : table)
            if (row.code != skip && sRun.find(row.code) != std::string::npos) line(row.term);
    };

    const std::string sKind = MarcRecordFormat();
    if (sKind == "B") {
        contained(kNatureOfContents, Get008Value(24, 4), '\0');
        if (Get008Value(29, 1) == "1") line("conference publication");
        if (Get008Value(30, 1) == "1") line("festschrift");
        line(TermOfCode(kLiteraryForm, Get008Value(33, 1)));
        const std::string sBiography = Get008Value(34, 1);
        if (sBiography.size() == 1 && std::string_view("abcd").find(sBiography[0]) != std::string_view::npos)
            line("biography");
    } else if (sKind == "S") {
        line(TermOfCode(kContinuingResource, Get008Value(21, 1)));
        contained(kNatureOfContents, Get008Value(24, 4), 'j');
        if (Get008Value(29, 1) == "1") line("conference publication");
    } else if (sKind == "M") {
        contained(kLiteraryText, Get008Value(30, 2), '\0');
    } else if (sKind == "P") {
        const std::string_view term = TermOfCode(kCartographicMaterial, Get008Value(25, 1));
        if (!term.empty()) {
            line(term);
        } else {
            FldMoveTop();
            while (FldFindNext("007", "")) {
                const std::string sText = FldText();
                for (const PrefixTerm& row : kMapPhysicalForm)
                    if (sText.compare(0, 2, row.prefix) == 0) line(row.term);
            }
        }
    } else if (sKind == "F") {
        line(TermOfCode(kVisualMaterial, Get008Value(33, 1)));
    } else if (sKind == "D") {
        line(TermOfCode(kComputerFile, Get008Value(26, 1)));
    }
    return sOut;
}

void Utf8MarcRecordClass::XmlModsGenreHeadings(std::string& sOut) {
    FldMoveTop();
    while (FldFindNext("655", "")) {
        const std::string sInd = FldInd();
        const char ind2 = sInd.size() >= 2 ? sInd[1] : ' ';
        std::string sAuthority;
        if (ind2 == '7') {
            // The source code is record text like any other: escaped.
            if (SfdFindFirst("2", "")) sAuthority = " authority=" + AddQuotes(XmlRecordTextEscaped(SfdText()));
        } else if (const std::string_view source = xml_codes::ThesaurusOfSecondIndicator(ind2); !source.empty()) {
            sAuthority = " authority=" + AddQuotes(std::string(source));
        }
        // The element is built from the field's first subfield on, whatever
        // the search for $2 left current.
        SfdMoveTop();
        const std::string sElement =
            XmlElementFromSubfields("genre" + sAuthority, 0, "abvxyz", "", " - ", false, false);
        if (sElement.empty()) continue;
        sOut += m.XmlCrlfTabTab;
        sOut += sElement;
    }
}
