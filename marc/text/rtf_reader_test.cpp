// The RTF that the record writes, read by a real reader: LibreOffice turns
// every document into UTF-8 text in one run, and the text must be what the
// record holds (delimiters shown as the double dagger).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "common/test_support.h"
#include "marc/display/display_test_text.h"
#include "marc/record/marc_record.h"
#include "marc/text/fixed_field_block.h"

namespace {

using display_test::T;

const std::string kDagger = "\xE2\x80\xA1";

bool HaveSoffice() { return std::system("command -v soffice > /dev/null 2>&1") == 0; }

// Record text as the reader shows it: the delimiter as the double dagger.
std::string Shown(const std::string& s) {
    std::string out;
    for (char c : s) out += c == '\x1F' ? kDagger : std::string(1, c);
    return out;
}

// Without a byte-order mark, CR and the line ends at the end.
std::string Normalized(std::string s) {
    if (s.rfind("\xEF\xBB\xBF", 0) == 0) s.erase(0, 3);
    std::string out;
    for (char c : s)
        if (c != '\r') out += c;
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

struct Document {
    std::string name;
    std::string rtf;
    std::string expected;
};

TEST(RtfReader, LibreOfficeReadsWhatTheRecordWrites) {
    if (!HaveSoffice()) GTEST_SKIP() << "soffice is not installed";
    Utf8MarcRecordClass r;
    r.CharacterSetOut("U");
    r.NewRecord("a", "m");
    r.FldFindFirst("005", "");
    r.FldDelete();
    r.FldFindFirst("008", "");
    const std::string s008 = "850101s1985    nyu           000 0 eng d";
    r.FldText(s008);
    r.FldAdd("001", "", "a\\b{", false);
    r.FldAdd("245", "10", T("$aCafe<CC 81> {x}\\$bSub<F0 9F 98 80>"), false);
    r.FldAdd("700", "1 ", T("$a<D0 9F><D1 80>$b<CE B1><CE B2> <D7 90><D7 91>"), false);
    r.FldChangedClearAll();
    ASSERT_TRUE(r.FldFindFirst("245", ""));
    r.FldChanged(true);

    std::vector<Document> documents;
    const std::string text = T("$aCaf<C3 A9> {x}\\$b<F0 9F 98 80> <D7 90><D7 91> <CE B1> <D0 9F>");
    documents.push_back({"wrapper", r.TranslateMarc2RTF(text, true, 12), Shown(text)});
    const std::string s245 = Shown(T("$a Cafe<CC 81> {x}\\ $b Sub<F0 9F 98 80>"));
    ASSERT_TRUE(r.FldFindFirst("245", ""));
    const std::vector<std::pair<int32_t, std::string>> forms = {
        {10, s245},
        {11, Shown(T("$a Cafe<3C>-acute-<3E> {x}\\ $b Sub<F0 9F 98 80>"))},
        {12, Shown(T("Cafe<CC 81> {x}\\ Sub<F0 9F 98 80>"))},
    };
    for (const auto& [form, expected] : forms)
        documents.push_back({"form" + std::to_string(form), r.FldTextFormatted(form, true, 10, "", ""), expected});
    // Forms 13 and 14: the stored forms of the subfields, as the record keeps them.
    for (int32_t form : {13, 14}) {
        std::string expected;
        r.SfdMoveFirst();
        do {
            expected += " " + kDagger + r.SfdCode() + " " + (form == 13 ? r.SfdNormNaco() : r.SfdNorm());
        } while (r.SfdMoveNext());
        ASSERT_TRUE(r.FldFindFirst("245", ""));
        documents.push_back({"form" + std::to_string(form), r.FldTextFormatted(form, true, 10, "ab", ""),
                             Shown(std::string(expected.substr(1)))});
        ASSERT_TRUE(r.FldFindFirst("245", ""));
    }
    std::string record = FixedFieldBlock(1, "B", r.Leader(), s008, "\n", false);
    record += "\n  001     a\\b{";
    record += "\n *245:10: " + s245;
    record += "\n  700:1 : " + Shown(T("$a <D0 9F><D1 80> $b <CE B1><CE B2> <D7 90><D7 91>"));
    documents.push_back({"record", r.TextFormatted(10, 1, "", true, 10), record});

    testsupport::TempSettingsFolder folder;
    std::string files;
    for (const Document& d : documents) {
        testsupport::WriteFile(folder.File(d.name + ".rtf"), d.rtf);
        files += " '" + folder.File(d.name + ".rtf") + "'";
    }
    const std::string command = "soffice -env:UserInstallation=file://" + std::string(EXITDESK_BINARY_DIR) +
                                "/soffice-profile --headless --convert-to 'txt:Text (encoded):UTF8' --outdir '" +
                                folder.Path() + "'" + files + " > /dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    for (const Document& d : documents)
        EXPECT_EQ(Normalized(testsupport::ReadFile(folder.File(d.name + ".txt"))), d.expected) << d.name;
}

}  // namespace
