// Feeds arbitrary octets to the display members of the record, in a record
// of each output set and in every display flavour, and checks what their
// callers rely on: MsoftAscii2Marc changes a text exactly when it holds an
// octet from 0x80; the Latin-1 form of UTF-8 text is UTF-8 of U+0000-U+00FF;
// the plain-letter members never lengthen a text; in a UTF-8 record the
// diacritic-label writer changes nothing in its own output and labels read
// back to a well-formed text that held no "<-" of its own; the reader never
// lengthens a text; the hex display reads back to the text
// when it held no "|" and no "\&H", and hex digit strings to their octets;
// the screen-font members leave text of sets "U" and "L" alone and, in set
// "V", keep every combining mark and (on the way back) the length. RTF text
// is 7-bit and reads back to well-formed UTF-8 text; plain text is ASCII and
// proposals ASCII or four Windows-1252 signs; printer lines lose no octet
// other than blanks and the break characters, at any width (0 included); and
// every output form of a field, a subfield and a record built from the text
// is made without a fault.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "common/raised_error.h"
#include "common/utli_misc_non_utf8.h"
#include "fuzz/fuzz_utf8.h"
#include "marc/record/marc_record.h"
#include "platform/printer.h"

namespace {

bool HasHighOctet(const std::string& s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    return false;
}

bool IsLatin1Utf8(const std::string& s) {
    for (size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) continue;
        if ((c != 0xC2 && c != 0xC3) || i + 1 >= s.size() || (static_cast<unsigned char>(s[i + 1]) & 0xC0) != 0x80)
            return false;
        ++i;
    }
    return true;
}

size_t MarkCount(const std::string& s) {
    size_t n = 0;
    for (char c : s) n += static_cast<unsigned char>(c) >= 0xE0;
    return n;
}

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

bool AllBelow(const std::string& s, unsigned limit, const char* allowed = "") {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= limit && std::strchr(allowed, c) == nullptr) return false;
    return true;
}

// The octets of a text that are not blanks, line ends or break characters.
std::string Kept(const std::string& s) {
    std::string out;
    for (char c : s)
        if (c != ' ' && c != '\r' && c != '\n' && c != '|' && c != '-' && c != '\x1F') out += c;
    return out;
}

void CheckRtfAndText(Utf8MarcRecordClass& r, bool bUtf8, const std::string& text) {
    Check(AllBelow(r.TranslateMarc2RTF(text, false, 10), 0x80));
    const std::string wrapped = r.TranslateMarc2RTF(text, true, 10);
    try {
        const std::string back = r.TranslateRTF2Marc(text);
        if (!bUtf8) Check(back.size() <= text.size());
    } catch (const RaisedError& e) {
        Check(bUtf8 && e.Number() == 5);
    }
    if (bUtf8 && IsWellFormedUtf8(text) && text.find("\xED") == std::string::npos &&
        text.find("\xE2\x80\xA1") == std::string::npos) {
        size_t lead = 0;
        while (lead < text.size() && text[lead] == ' ') ++lead;
        Check(r.TranslateRTF2Marc(wrapped) == text.substr(lead));
    }
    Check(AllBelow(r.Marc2PlainText(text), 0x80));
    Check(AllBelow(r.Marc2SacoProposal(text), 0x80, "\xA9\xBF\xA1\xB1"));
    for (double width : {0.0, 7.0, 60.0, 11520.0}) {
        platform::ScopedPrinterMetrics printer(std::make_shared<platform::FixedPitchPrinter>(1, width));
        Check(Kept(r.BreakLongLinesForPrinter(text)) == Kept(text));
    }
}

// A record in the set with the text as a 245 and a 001: every form of the
// field, subfield and record members.
void CheckFormattedText(const char* set, const std::string& text) {
    Utf8MarcRecordClass r;
    r.CharacterSetOut(set);
    r.NewRecord("a", "m");
    r.FldAdd("001", "", text, false);
    r.FldAdd("245", "10", "\x1F" "a" + text, false);
    for (int32_t form = -1; form <= 15; ++form) {
        for (const char* tag : {"001", "245"}) {
            if (!r.FldFindFirst(tag, "")) continue;
            r.FldTextFormatted(form, true, 10, "abc", "b");
            r.SfdMoveFirst();
            r.SfdTextFormatted(form);
        }
        const int16_t entry = r.FldPointer();
        r.TextFormatted(form, (form + 4) % 4, "", true, 10);
        Check(r.FldPointer() == entry);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const char* const kSets[] = {"U", "M", "O", "V", "L"};
    static std::unique_ptr<Utf8MarcRecordClass> records[5];
    if (!records[0]) {
        for (int i = 0; i < 5; ++i) {
            records[i] = std::make_unique<Utf8MarcRecordClass>();
            records[i]->CharacterSetOut(kSets[i]);
        }
    }
    // The first four octets give one more flavour, the rest is the text.
    int32_t flavour = 0;
    const size_t n = size < sizeof flavour ? size : sizeof flavour;
    std::memcpy(&flavour, data, n);
    const std::string text(reinterpret_cast<const char*>(data) + n, size - n);

    for (int i = 0; i < 5; ++i) {
        Utf8MarcRecordClass& r = *records[i];
        const bool bUtf8 = i == 0;
        Check((r.MsoftAscii2Marc(text) != text) == HasHighOctet(text));
        for (int32_t f : {0, 1, 2, 7, 9, flavour}) {
            const std::string shown = r.Marc2MsoftAscii(text, f);
            if (bUtf8 && f != 1 && f != 9) Check(IsLatin1Utf8(shown));
        }
        Check(r.SubstituteRegularCharacters(text).size() <= text.size());
        Check(r.RemoveDiacritics(text).size() <= text.size());

        // A record held in an 8-bit set labels its text as read into UTF-8,
        // so its labels neither come back to the 8-bit octets nor label again alike.
        const std::string labelled = r.TranslateDiacriticsIntoLabels(text);
        const bool bLabelsRoundTrip = bUtf8;
        if (bLabelsRoundTrip) Check(r.TranslateDiacriticsIntoLabels(labelled) == labelled);
        Check(r.TranslateLabelsIntoDiacritics(text).size() <= text.size());
        if (bLabelsRoundTrip && text.find("<-") == std::string::npos && (!bUtf8 || IsWellFormedUtf8(text)))
            Check(r.TranslateLabelsIntoDiacritics(labelled) == text);

        const std::string hex = r.Marc2HexDisplay(text);
        if (text.find('|') == std::string::npos && text.find("\\&H") == std::string::npos)
            Check(r.HexDisplay2Marc(hex) == text);
        Check(r.HexDisplay2Marc(text).size() <= text.size());
        if (text.size() <= 16384) Check(r.Hex2CharString(UtliMiscNonUtf8::TextToHex(text)) == text);

        const std::string screen = r.Marc2OclcScreenFont(text);
        const std::string back = text.size() <= 32767 ? r.OclcScreenFont2Marc(text) : text;
        if (i == 0 || i == 4) Check(screen == text && back == text);
        if (i == 3) Check(MarkCount(screen) == MarkCount(text) && MarkCount(back) == MarkCount(text) &&
                          back.size() == text.size());
        if (i < 4) CheckRtfAndText(r, bUtf8, text);
    }
    if (text.size() <= 2000) {
        CheckFormattedText("U", text);
        CheckFormattedText("M", text);
    }
    return 0;
}
