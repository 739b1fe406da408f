// The shelf order of ordinary LC call numbers under NormalizeCallNumber,
// checked against Perl's Library::CallNumber::LC (Debian's
// liblibrary-callnumber-lc-perl). The two forms differ by design; only the
// order they give is compared.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "common/test_support.h"
#include "marc/record/marc_record.h"

namespace {

// Class letters, class numbers with decimals, one or two cutters, a year.
const std::vector<std::string> kCallNumbers = {
    "QA76.73 .C15 S64 1998", "QA76.9 .D3 D3 2003",    "QA76 .B3 1990",         "QA76.5 .B3 1990",
    "QA9 .A1 1975",          "QA9.58 .C67",           "QA90 .G7",              "QA76.76 .O63 T3 2005",
    "QA76.76 .O63 T35 2005", "QA767 .M3",             "PR6045 .O72 Z5 1990",   "PR6045 .O72 Z49 1985",
    "PR9 .C5",               "PS3545 .I345 Z46 1995", "B72 .R8 1945",          "BF173 .F85 1952",
    "BF173 .F85 1923",       "E185.61 .K5 1963",      "E185.6 .K5",            "E185 .K5 1963",
    "KF101 .A2",             "KF4558 .A5 1987",       "KF4558 .A5",            "Z1001 .S3 2000",
    "HV8138 .W3",            "ML410 .B4 S6 1977",     "N6537 .W28 A4 1989",    "G1019 .N3 2004",
    "DS135 .P6 A1 1990",     "DS135.P6 A12",          "PN1995.9 .S3 B3 1999",  "PN1995 .B3",
    "HD9502 .U52 E5 2001",   "QH45.5 .A7 2010",       "QH45 .A7",              "QH451 .A7",
    "TK5105.875 .I57 C6 2000", "TK5105.8 .C6",        "TK5105 .C6",            "Z675.U5 B3 1985",
    "qa76.73.c15 s64 1997",  "PR6045.O72Z5 1991",
};

// Perl's normal form of each call number, one a line.
std::vector<std::string> PerlForms(const std::vector<std::string>& callNumbers) {
    testsupport::TempSettingsFolder folder;
    std::string list;
    for (const std::string& n : callNumbers) list += n + "\n";
    testsupport::WriteFile(folder.File("callnumbers.txt"), list);
    const std::string command = "perl -MLibrary::CallNumber::LC -ne "
                                "'chomp; print Library::CallNumber::LC->new($_)->normalize, qq(\\n)' " +
                                folder.File("callnumbers.txt");
    std::vector<std::string> forms;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return forms;
    std::string line;
    for (int c; (c = std::fgetc(pipe)) != EOF;) {
        if (c == '\n') {
            forms.push_back(line);
            line.clear();
        } else {
            line += static_cast<char>(c);
        }
    }
    pclose(pipe);
    return forms;
}

std::vector<std::string> SortedBy(const std::vector<std::string>& callNumbers, const std::vector<std::string>& keys) {
    std::vector<size_t> order(callNumbers.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return keys[a] < keys[b]; });
    std::vector<std::string> sorted;
    for (size_t i : order) sorted.push_back(callNumbers[i]);
    return sorted;
}

TEST(CallNumberOrder, LcFormsSortAsPerlsCallNumberModuleDoes) {
    std::vector<std::string> shuffled = kCallNumbers;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(20261210));

    const std::vector<std::string> perl = PerlForms(shuffled);
    ASSERT_EQ(perl.size(), shuffled.size()) << "Perl's Library::CallNumber::LC (liblibrary-callnumber-lc-perl) did not run";
    Utf8MarcRecordClass record;
    std::vector<std::string> ours;
    for (const std::string& n : shuffled) ours.push_back(record.NormalizeCallNumber(n, "0"));
    // No two call numbers share a form, so the order is fixed by the forms alone.
    EXPECT_EQ(std::set<std::string>(ours.begin(), ours.end()).size(), ours.size());
    EXPECT_EQ(std::set<std::string>(perl.begin(), perl.end()).size(), perl.size());
    EXPECT_EQ(SortedBy(shuffled, ours), SortedBy(shuffled, perl));
}

}  // namespace
