// Diacritic labels: record text with the characters of the label table
// written as "<-", a label name and "->", and the way back.
//
// Both walks go from the last octet to the first. The writer prepends each
// character's label or octets to a text built backwards, so no label is ever
// examined again. The reader keeps the text from the current position on as
// a stack (last octet at the bottom), with the positions of every "->" in it,
// so that the search for the "->" that closes a "<-" costs nothing and a
// replacement pops the label and pushes its character.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/runtime.h"
#include "marc/display/diacritic_label_table.h"
#include "marc/display/display_text.h"
#include "marc/record/marc_record.h"

namespace {

using diacritic_labels::DiacriticLabelEntry;
using diacritic_labels::DiacriticLabelTable;
using display_text::BackwardText;

std::string Label(std::string_view name) {
    std::string s;
    s.reserve(name.size() + 4);
    s += "<-";
    s += name;
    s += "->";
    return s;
}

// The label of a Hebrew or Arabic character given by its UcsHex, or the
// character's own octets. Only a 4-digit form in [first, last] matches.
std::string ScriptLabel(const Utf8CharClass& ch, uint32_t first, uint32_t last) {
    const std::string hex = ch.UcsHex();
    if (hex.size() == 4) {
        uint32_t code = 0;
        for (char c : hex) code = code * 16 + static_cast<uint32_t>(rt::HexDigitValue(c));
        if (code >= first && code <= last)
            if (const DiacriticLabelEntry* e = diacritic_labels::FindScriptLabel(code)) return Label(e->Name);
    }
    return ch.Utf8Char();
}

// A code point of the basic plane as its 4-digit UcsHexString.
std::string FourDigitHex(uint32_t code) {
    static const char digits[] = "0123456789ABCDEF";
    return {digits[(code >> 12) & 0xF], digits[(code >> 8) & 0xF], digits[(code >> 4) & 0xF], digits[code & 0xF]};
}

}  // namespace

std::string Utf8MarcRecordClass::TranslateDiacriticsIntoLabels_OneHebrewCharacter(
    const Utf8CharClass& LocalCharacterObject) {
    return ScriptLabel(LocalCharacterObject, 0x0590, 0x05FF);
}

std::string Utf8MarcRecordClass::TranslateDiacriticsIntoLabels_OneArabicCharacter(
    const Utf8CharClass& LocalCharacterObject) {
    return ScriptLabel(LocalCharacterObject, 0x0600, 0x06FF);
}

std::string Utf8MarcRecordClass::TranslateDiacriticsIntoLabels(const std::string& sText) {
    using diacritic_labels::kMarcLabelCount;
    if (sText.empty()) return sText;
    if (!m.RecordIsUtf8)
        return DisplayAsUtf8(sText, [&](const std::string& s) { return TranslateDiacriticsIntoLabels(s); });

    // The characters of the MARC repertoire in this record's encoding now.
    std::array<std::string, kMarcLabelCount> forms;
    for (int i = 0; i < kMarcLabelCount; ++i) {
        const DiacriticLabelEntry& e = DiacriticLabelTable[i];
        forms[i] = e.Getter ? (this->*e.Getter)() : std::string(1, static_cast<char>(e.Marc8));
    }

    Utf8CharClass& ch = SharedChar();
    BackwardText out(sText.size() * 2);
    const std::string_view text(sText);
    int32_t p = static_cast<int32_t>(sText.size());
    while (p >= 1) {
        const int32_t s = ch.Utf8CharFindFirstOctet(sText, p);
        const size_t start = static_cast<size_t>(s - 1);
        const size_t n = display_text::CharacterStartingAt(text, start);
        if (n == 0 || start + n > static_cast<size_t>(p)) {
            // A lead octet without the continuation octets it announces, or
            // continuation octets without a lead: no character, left as it is.
            out.Prepend(text.substr(start, static_cast<size_t>(p) - start));
        } else {
            // Continuation octets beyond the character stay behind its label.
            out.Prepend(text.substr(start + n, static_cast<size_t>(p) - start - n));
            const std::string_view octets = text.substr(start, n);
            ch.Utf8Char(std::string(octets));
            int found = -1;
            for (int i = 0; i < kMarcLabelCount && found < 0; ++i)
                if (forms[i] == octets) found = i;
            if (found >= 0) {
                out.Prepend(Label(DiacriticLabelTable[found].Name));
            } else {
                const std::string hex = ch.UcsHex();
                if (hex >= "0590" && hex <= "05FF") out.Prepend(TranslateDiacriticsIntoLabels_OneHebrewCharacter(ch));
                else if (hex >= "0600" && hex <= "06FF") out.Prepend(TranslateDiacriticsIntoLabels_OneArabicCharacter(ch));
                else out.Prepend(octets);
            }
        }
        p = s - 1;
    }
    return out.Text();
}

std::string Utf8MarcRecordClass::TranslateLabelsIntoDiacritics(std::string sText) {
    // The text from the current position on, last octet first; arrows holds
    // the index in it of the ">" of every "->", the frontmost last.
    std::string rest;
    rest.reserve(sText.size());
    std::vector<size_t> arrows;
    auto push = [&rest, &arrows](char c) {
        if (c == '-' && !rest.empty() && rest.back() == '>') arrows.push_back(rest.size() - 1);
        rest.push_back(c);
    };

    for (size_t i = sText.size(); i-- > 0;) {
        const char c = sText[i];
        if (c == '<' && !rest.empty() && rest.back() == '-' && !arrows.empty()) {
            // The candidate runs from this "<-" to the first "->" after it.
            const size_t close = arrows.back(), size = rest.size();
            if (size - close >= 4) {
                std::string name(rest.rbegin() + 1, rest.rend() - static_cast<std::ptrdiff_t>(close) - 2);
                const DiacriticLabelEntry* e = diacritic_labels::FindLabelByName(name);
                if (e && !(diacritic_labels::IsScriptLabel(*e) && !m.RecordIsUtf8)) {
                    std::string replacement;
                    if (e->Getter) replacement = (this->*e->Getter)();
                    else if (e->Code < 0x80) replacement = std::string(1, static_cast<char>(e->Code));
                    else replacement = SharedChar().UcsHex2Utf8(FourDigitHex(e->Code));
                    rest.resize(close);
                    while (!arrows.empty() && arrows.back() >= close) arrows.pop_back();
                    for (size_t k = replacement.size(); k-- > 0;) push(replacement[k]);
                    continue;
                }
            }
        }
        push(c);
    }
    return std::string(rest.rbegin(), rest.rend());
}
