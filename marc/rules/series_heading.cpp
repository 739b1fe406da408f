// The last step of a series sort key: leading words that merely repeat the
// series heading (its initials, its words, its first word with the initials
// of the rest) are removed, so that the key begins with a number or a
// caption code.
#include <string>
#include <vector>

#include "common/runtime.h"
#include "common/utli_misc_non_utf8.h"
#include "marc/record/marc_record.h"
#include "marc/rules/series_tables.h"
#include "marc/rules/series_text.h"

using namespace series_text;
namespace tables = series_tables;

namespace {

std::vector<std::string> Words(std::string s) {
    std::vector<std::string> words;
    while (!s.empty()) {
        std::string w;
        UtliMiscNonUtf8::SplitOffFirst(s, w, " ");
        words.push_back(w);
    }
    return words;
}

// The first characters of the words, without the words of a stop list.
std::string Initials(const std::string& s, std::string_view sStopWords = {}) {
    std::string initials;
    for (const std::string& w : Words(s))
        if (!w.empty() && (sStopWords.empty() || !InWords(sStopWords, w))) initials += w[0];
    return initials;
}

std::string Join(const std::vector<std::string>& words, size_t from, const std::string& sBetween) {
    std::string joined;
    for (size_t i = from; i < words.size(); ++i) joined += (i > from ? sBetween : "") + words[i];
    return joined;
}

// The key's lead (its words before the first word that begins with a digit) and its rest.
struct KeyParts {
    std::vector<std::string> Lead;
    std::string Rest;
};
KeyParts SplitKey(const std::string& sKey) {
    KeyParts parts;
    const std::vector<std::string> words = Words(sKey);
    size_t i = 0;
    while (i < words.size() && !IsDigit(Ch(words[i], 1))) parts.Lead.push_back(words[i++]);
    parts.Rest = Join(words, i, " ");
    return parts;
}

bool OnlyRomanLetters(const std::string& w) { return w.find_first_not_of(tables::RomanLetters) == std::string::npos; }

}  // namespace

void Utf8MarcRecordClass::RemoveTitleDerivedCaptions(const std::string& sOriginalHeading, const std::string& sHeading,
                                                     std::string& sKey) {
    if (sKey.empty() || IsDigit(Ch(sKey, 1))) return;
    if (tables::KeptKeyPrefixes.find("*" + sKey.substr(0, 4) + "*") != std::string_view::npos) return;
    if (StartsWith(sKey, tables::KeptHorsPrefix)) return;
    const std::string sSeries(tables::SeriesCode);
    auto beginsWithDigit = [&] { return IsDigit(Ch(sKey, 1)); };

    // The key's first word is a Roman numeral.
    const size_t firstBlank = sKey.find(' ');
    const bool R = firstBlank != std::string::npos && OnlyRomanLetters(sKey.substr(0, firstBlank));

    // 1. The lead is the heading's initials.
    std::string S;
    {
        const KeyParts parts = SplitKey(sKey);
        const std::string J = Join(parts.Lead, 0, "");
        std::string sHyphenAll, sHyphenSignificant;
        if (sOriginalHeading.find('-') != std::string::npos) {
            const std::string N = rt::Trim(NormString(sOriginalHeading, true, "V"));
            sHyphenAll = Initials(N);
            sHyphenSignificant = Initials(N, tables::HeadingStopWords);
        }
        auto matches = [&](const std::string& H) {
            S = Initials(H, tables::HeadingStopWords);
            if (J.size() <= 1 || J == sSeries) return false;
            for (const std::string& initials : {Initials(H), S, sHyphenAll, sHyphenSignificant})
                if (!initials.empty() && initials.find(J) != std::string::npos) return true;
            return false;
        };
        if (matches(sHeading)) {
            sKey = parts.Rest;
        } else if (const size_t open = sOriginalHeading.find('('); open != std::string::npos) {
            // The parenthesized qualifier moves to the front.
            const std::string sMoved = sOriginalHeading.substr(open) + " " + sOriginalHeading.substr(0, open);
            if (matches(rt::Trim(NormString(RemoveDelimiters(sMoved, ""), true, "V")))) sKey = parts.Rest;
        }
    }

    // 2. The heading stands within the lead (an empty heading stands in none).
    if (!beginsWithDigit() && !rt::Trim(sHeading).empty()) {
        const KeyParts parts = SplitKey(sKey);
        if (parts.Lead.size() >= 2 && Join(parts.Lead, 0, " ").find(sHeading) != std::string::npos) sKey = parts.Rest;
    }

    // 3. The first word is a word of the heading.
    if (!beginsWithDigit()) {
        const std::string w = FirstWord(sKey);
        if (sKey.find(' ') != std::string::npos && w.size() >= 2 && w != sSeries &&
            (StartsWith(sHeading, w) || (!R && sHeading.find(" " + w) != std::string::npos)))
            sKey = rt::Trim(AfterFirstWord(sKey));
    }

    // 4. The first word is the heading's first word followed by the initials of the rest.
    if (!beginsWithDigit() && sHeading.find(' ') != std::string::npos) {
        const std::string A = FirstWord(sHeading) + Initials(AfterFirstWord(sHeading));
        const std::string w = FirstWord(sKey);
        if (sKey.find(' ') != std::string::npos && w.size() >= 2 && StartsWith(A, w))
            sKey = rt::Trim(AfterFirstWord(sKey));
    }

    // 5. The lead is the initials of the heading without its articles.
    std::string T;
    if (!beginsWithDigit()) {
        const KeyParts parts = SplitKey(sKey);
        const std::string J = Join(parts.Lead, 0, "");
        T = Initials(sHeading, tables::HeadingArticles);
        bool bArticle = false;
        for (const std::string& w : Words(sHeading)) bArticle = bArticle || InWords(tables::HeadingArticles, w);
        if (bArticle && J.size() > 1 && J != sSeries && T.find(J) != std::string::npos) sKey = parts.Rest;
    }

    // 6. Leading words of the heading, one by one.
    if (!R && !beginsWithDigit()) {
        const std::string N = rt::Trim(NormString(sOriginalHeading, true, "V"));
        const KeyParts parts = SplitKey(sKey);
        const std::vector<std::string>& lead = parts.Lead;
        auto keyFrom = [&](size_t i) { return rt::Trim(Join(lead, i, " ") + " " + parts.Rest); };
        for (size_t i = 0; i < lead.size(); ++i) {
            const std::string& w = lead[i];
            if (OnlyRomanLetters(w)) break;
            if (InWords(tables::LeadStopWords, w) || w.size() == 1) {
                sKey = keyFrom(i);
                break;
            }
            if (w.size() >= 2 && (StartsWith(N, w) || S.find(w) != std::string::npos || T.find(w) != std::string::npos)) {
                if (i + 1 == lead.size()) {
                    sKey = parts.Rest;
                    break;
                }
                continue;
            }
            sKey = keyFrom(i);
            break;
        }
    }
}
