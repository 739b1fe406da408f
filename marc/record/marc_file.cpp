// The reader of files of MARC records, plain and segmented.
#include "marc/record/marc_file.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "common/raised_error.h"
#include "common/runtime.h"
#include "marc/record/marc_record.h"
#include "platform/text_file.h"

namespace {

// No record is longer than its five-digit length field can say.
constexpr size_t kMaxRecordLength = 99999;
constexpr size_t kLengthFieldWidth = 5;
constexpr size_t kProbeLength = 29;
// Octets read at a time while looking for the start of a record.
constexpr size_t kBlockLength = 4096;
// The platform's error for a read past the end of a file.
constexpr int32_t kInputPastEnd = 62;

// The layout test looks at the first 11 characters from the first digit on.
constexpr size_t kLayoutTestLength = 11;
// A segment header, the record length and leader/05: what shows where a
// record's first segment begins.
constexpr size_t kSegmentStartLength = 11;

bool IsHighOctet(char c) { return static_cast<unsigned char>(c) > 127; }

// Where a record's first segment begins: type "0" or "1", a segment length
// of digits that holds a record length, the record length in five digits and
// leader/05, a letter. Reading resumes there after a bad segment.
bool IsRecordSegmentStart(std::string_view s) {
    if (s.size() < kSegmentStartLength || (s[0] != '0' && s[0] != '1')) return false;
    for (size_t i = 1; i < 10; ++i)
        if (!rt::IsAsciiDigit(s[i])) return false;
    return rt::Digits(s.substr(1, 4), rt::DigitSkip::Nothing) >= 10 && rt::IsAsciiLetter(s[10]);
}

int64_t LengthValue(const std::string& sText) {
    return rt::Digits(sText, rt::DigitSkip::BlanksTabsLineFeeds);
}

// Four characters that read as a segment length: digits, with the blanks,
// tabs and line feeds that the reading passes over, of at least the header's
// own five.
bool IsSegmentLength(const std::string& sLength) {
    return sLength.find_first_not_of("0123456789 \t\n") == std::string::npos &&
           LengthValue(sLength) >= static_cast<int64_t>(kLengthFieldWidth);
}

// Where another record begins in a text that ends with a record terminator:
// the first place after the text's first character with five digits that
// count exactly the characters from there to the end, a letter at leader/05
// and five digits at leader/12-16. npos when there is none. A record that
// lost its terminator, or was cut short, followed by a sound one, reads as
// one record up to the sound one's terminator; this finds where it ends.
size_t NextRecordStart(std::string_view sText) {
    constexpr size_t kBaseAddressEnd = 17;
    const size_t n = sText.size();
    const auto spellsLength = [&](size_t p) {
        size_t value = n - p;
        for (size_t i = kLengthFieldWidth; i-- > 0; value /= 10)
            if (sText[p + i] != static_cast<char>('0' + value % 10)) return false;
        return value == 0;
    };
    const auto digits = [&](size_t at) {
        for (size_t i = at; i < at + kLengthFieldWidth; ++i)
            if (!rt::IsAsciiDigit(sText[i])) return false;
        return true;
    };
    size_t p = std::max<size_t>(1, n - std::min(n, kMaxRecordLength));
    // The last digit of the length field, which rules out most places, is
    // tested first; it counts down by one from one place to the next.
    for (char last = static_cast<char>('0' + (n - p) % 10); p + kBaseAddressEnd < n;
         ++p, last = last == '0' ? '9' : static_cast<char>(last - 1))
        if (sText[p + kLengthFieldWidth - 1] == last && spellsLength(p) &&
            rt::IsAsciiLetter(sText[p + kLengthFieldWidth]) && digits(p + 12))
            return p;
    return std::string_view::npos;
}

// The record's first d characters with its length field rewritten to d.
std::string WithTrueLength(const std::string& sRecord, size_t d) {
    std::string sLength = std::to_string(d);
    std::string sOut(kLengthFieldWidth - std::min(kLengthFieldWidth, sLength.size()), '0');
    sOut += sLength;
    if (d > kLengthFieldWidth) sOut.append(sRecord, kLengthFieldWidth, d - kLengthFieldWidth);
    return sOut;
}

}  // namespace

Utf8MarcFileClass::Utf8MarcFileClass() = default;

Utf8MarcFileClass::~Utf8MarcFileClass() { CloseFile(); }

bool Utf8MarcFileClass::FileIsSegmented() const { return FileIsSegmented_; }
bool Utf8MarcFileClass::EndOfFile() const { return EndOfFile_; }
std::string Utf8MarcFileClass::MarcFileName() const { return MarcFileName_; }
void Utf8MarcFileClass::MarcFileName(const std::string& vNewValue) { OpenFile(vNewValue, false); }
int32_t Utf8MarcFileClass::RecordIndex() const { return RecordIndex_; }

Utf8MarcRecordClass& Utf8MarcFileClass::Record() {
    if (!RecordObject) RecordObject = std::make_unique<Utf8MarcRecordClass>();
    return *RecordObject;
}

void Utf8MarcFileClass::OpenFile(const std::string& sMarcFileName, bool /*bDebug*/) {
    MarcFileName_ = sMarcFileName;
    RecordIndex_ = 0;
    CloseFile();
    EndOfFile_ = true;
    CarryOver.clear();
    CarryOverPosition = 0;
    CarryOverSearched = 0;
    if (sMarcFileName.empty()) return;
    try {
        FileNumber = platform::FreeFile();
        platform::OpenFile(FileNumber, sMarcFileName, platform::FileMode::Input);
        ProbeLayout();
    } catch (const RaisedError&) {
        CloseFile();
        return;
    }
    SkipLeadingHighOctets = true;
    EndOfFile_ = false;
}

void Utf8MarcFileClass::ProbeLayout() {
    FileIsSegmented_ = false;
    std::string sProbe;
    if (!platform::ReadChars(FileNumber, kProbeLength, sProbe)) RaiseRuntimeError(kInputPastEnd);
    // Both readers pass over what stands before the first digit (a byte-order
    // mark, line breaks, blanks, other junk), so the test starts there.
    for (;;) {
        sProbe.erase(0, std::min(sProbe.find_first_of("0123456789"), sProbe.size()));
        if (sProbe.size() >= kLayoutTestLength || !platform::ReadChars(FileNumber, kBlockLength, sProbe)) break;
    }
    // Plain: characters 1-5 the record length, 6 leader/05 (a letter).
    // Segmented: 1-5 the segment header, 6-10 the record length, 11 leader/05.
    if (sProbe.size() >= kLayoutTestLength && rt::IsAsciiDigit(sProbe[5]) && !rt::IsAsciiDigit(sProbe[10]))
        FileIsSegmented_ = true;
    platform::CloseFile(FileNumber);
    FileNumber = 0;
    FileNumber = platform::FreeFile();
    platform::OpenFile(FileNumber, MarcFileName_, platform::FileMode::Input);
}

void Utf8MarcFileClass::CloseFile() {
    if (FileNumber != 0) platform::CloseFile(FileNumber);
    FileNumber = 0;
    EndOfFile_ = true;
}

size_t Utf8MarcFileClass::Buffered() const { return CarryOver.size() - CarryOverPosition; }

void Utf8MarcFileClass::Consume(size_t n) {
    CarryOverPosition += n;
    CarryOverSearched = CarryOverSearched > n ? CarryOverSearched - n : 0;
    if (CarryOverPosition == CarryOver.size()) {
        CarryOver.clear();
        CarryOverPosition = 0;
    }
}

bool Utf8MarcFileClass::Fill(size_t n) {
    // What was taken is dropped once it outweighs a record, so that the
    // buffer stays within two records' length.
    if (CarryOverPosition > kMaxRecordLength) {
        CarryOver.erase(0, CarryOverPosition);
        CarryOverPosition = 0;
    }
    return platform::ReadChars(FileNumber, n, CarryOver);
}

bool Utf8MarcFileClass::NextChar(char& c) {
    if (Buffered() == 0) Fill(kBlockLength);
    if (Buffered() == 0) return false;
    c = CarryOver[CarryOverPosition];
    Consume(1);
    return true;
}

bool Utf8MarcFileClass::TakeChars(size_t n, std::string& sOut) {
    const size_t fromBuffer = std::min(n, Buffered());
    sOut.append(CarryOver, CarryOverPosition, fromBuffer);
    Consume(fromBuffer);
    return fromBuffer == n || platform::ReadChars(FileNumber, n - fromBuffer, sOut);
}

void Utf8MarcFileClass::PushBack(std::string_view sText) {
    if (sText.empty()) return;
    // Into the place of characters already taken where there is room, so that
    // what is still buffered is not copied.
    if (CarryOverPosition >= sText.size()) {
        CarryOverPosition -= sText.size();
        CarryOver.replace(CarryOverPosition, sText.size(), sText);
    } else {
        CarryOver.replace(0, CarryOverPosition, sText);
        CarryOverPosition = 0;
    }
    CarryOverSearched = 0;
}

bool Utf8MarcFileClass::NextCharAfterHighOctets(char& c) {
    while (NextChar(c)) {
        if (!SkipLeadingHighOctets) return true;
        if (!IsHighOctet(c)) {
            SkipLeadingHighOctets = false;
            return true;
        }
    }
    return false;
}

bool Utf8MarcFileClass::EndReading() {
    CloseFile();
    return false;
}

bool Utf8MarcFileClass::Deliver(std::string& sRecord, std::string&& sText) {
    if (RecordIndex_ == INT32_MAX) RaiseRuntimeError(ErrorNumber::Overflow);
    sRecord = std::move(sText);
    EndOfFile_ = false;
    ++RecordIndex_;
    return true;
}

bool Utf8MarcFileClass::DeliverUpTo(std::string& sRecord, std::string&& sText, size_t d) {
    // Another record that ends on this terminator: the text before it (a
    // record that lost its terminator or was cut short) is delivered as read,
    // for the load to refuse, and that record is read next.
    const size_t next = NextRecordStart(std::string_view(sText).substr(0, d));
    if (next != std::string_view::npos) {
        PushBack(std::string_view(sText).substr(next));
        sText.resize(next);
        return Deliver(sRecord, std::move(sText));
    }
    // Else the record ends here, and its length field tells the true length.
    PushBack(std::string_view(sText).substr(d));
    return Deliver(sRecord, WithTrueLength(sText, d));
}

bool Utf8MarcFileClass::ReadNextRecord(std::string& sRecord, bool /*bDebug*/) {
    sRecord.clear();
    EndOfFile_ = true;
    if (FileNumber == 0) return EndReading();
    if (FileIsSegmented_) return ReadSegmentedRecord(sRecord);

    // The length field: the first digit after anything that is not one, and
    // the four characters after it.
    char c = 0;
    do {
        if (!NextCharAfterHighOctets(c)) return EndReading();
    } while (!rt::IsAsciiDigit(c));
    // A record cut short by the end of the file is delivered as far as it
    // goes, so that the load refuses it with its message.
    std::string sText(1, c);
    if (!TakeChars(kLengthFieldWidth - 1, sText)) return Deliver(sRecord, std::move(sText));
    const auto lLength = static_cast<size_t>(LengthValue(sText));
    const bool bWhole = lLength <= kLengthFieldWidth || TakeChars(lLength - kLengthFieldWidth, sText);

    // The record ends at its first terminator. Where that is where the length
    // field says, the record is delivered as read; elsewhere (an overstated
    // length, or the end of the file before the stated length) it is cut
    // there (or where another record begins before it), and what follows is
    // read next.
    const std::string sEnd = Record().MarcEndOfRecord();
    const size_t at = sText.find(sEnd);
    if (at != std::string::npos) {
        const size_t d = at + 1;
        if (d == lLength && d == sText.size()) return Deliver(sRecord, std::move(sText));
        return DeliverUpTo(sRecord, std::move(sText), d);
    }
    if (!bWhole) return Deliver(sRecord, std::move(sText));

    // An understated length: reading goes on to the next terminator, up to
    // the longest record there can be. Without one there, the record is
    // delivered as its length field says and the rest is read next. The
    // search looks ahead in the buffer, and what it has searched is not
    // searched again for the records that follow.
    const size_t lMore = kMaxRecordLength - std::min(kMaxRecordLength, sText.size());
    if (Buffered() < lMore) Fill(lMore - Buffered());
    const size_t lLookAhead = std::min(lMore, Buffered());
    const size_t found = std::string_view(CarryOver)
                             .substr(CarryOverPosition, lLookAhead)
                             .find(sEnd, std::min(CarryOverSearched, lLookAhead));
    if (found != std::string_view::npos) {
        sText.append(CarryOver, CarryOverPosition, found + 1);
        Consume(found + 1);
        const size_t d = sText.size();
        return DeliverUpTo(sRecord, std::move(sText), d);
    }
    CarryOverSearched = lLookAhead;
    return Deliver(sRecord, std::move(sText));
}

bool Utf8MarcFileClass::ReadSegmentedRecord(std::string& sRecord) {
    sRecord.clear();
    EndOfFile_ = true;
    std::string sAssembled;
    // A segment of this record has been read: from then on the record is
    // delivered, whole or as far as it goes, so that a cut one reaches the
    // load, which refuses it with its message.
    bool bBegun = false;
    // The record is as long as its own length field says; what follows is
    // filler. A length field that is no number gives an empty record.
    const auto deliver = [&] {
        const auto lLength = static_cast<size_t>(LengthValue(sAssembled.substr(0, kLengthFieldWidth)));
        sAssembled.resize(std::min(lLength, sAssembled.size()));
        return Deliver(sRecord, std::move(sAssembled));
    };
    const auto cut = [&] { return bBegun ? deliver() : EndReading(); };
    for (;;) {
        // The segment header: the type after anything that is not a digit
        // (blanks, line breaks, filler, junk, as in the plain layout), then
        // four characters of length, which counts the header.
        char cType = 0;
        do {
            if (!NextCharAfterHighOctets(cType)) return cut();
        } while (!rt::IsAsciiDigit(cType));
        std::string sLength;
        if (!TakeChars(4, sLength)) return cut();
        if (!IsSegmentLength(sLength)) {
            // A bad segment: reading resumes where a record's first segment
            // begins; the record it interrupted is cut.
            PushBack(sLength);
            SkipToRecordSegment();
            if (bBegun) return deliver();
            continue;
        }
        const int iType = cType - '0';
        if ((iType == 0 || iType == 1) && bBegun) {
            // A new record begins before this one ended: this one is cut.
            PushBack(cType + sLength);
            return deliver();
        }
        bBegun = true;
        const auto lData = static_cast<size_t>(LengthValue(sLength)) - kLengthFieldWidth;
        std::string sData;
        const bool bWhole = TakeChars(lData, sData);
        // No record is longer than 99,999 characters: the rest of an overlong
        // assembly is read and dropped.
        sAssembled.append(sData, 0, std::min(sData.size(), kMaxRecordLength - sAssembled.size()));
        if (!bWhole || iType == 0 || iType == 3) return deliver();
    }
}

void Utf8MarcFileClass::SkipToRecordSegment() {
    for (;;) {
        if (Buffered() < kSegmentStartLength) Fill(kBlockLength);
        if (Buffered() < kSegmentStartLength) {
            Consume(Buffered());
            return;
        }
        if (IsRecordSegmentStart(std::string_view(CarryOver).substr(CarryOverPosition, kSegmentStartLength))) return;
        Consume(1);
    }
}

std::string Utf8MarcFileClass::CharacterizeCharacterSet() {
    if (FileNumber == 0) return "M";
    const int32_t lNoted = RecordIndex_;
    const std::string sName = MarcFileName_;
    CloseFile();
    OpenFile(sName, false);

    std::string sLetters;
    std::string sRecord;
    bool bUtf8 = false;
    while (ReadNextRecord(sRecord, false)) {
        const std::string sVerdict = Record().CharacterizeCharacterSet(sRecord).substr(0, 1);
        if (sVerdict == "U") {
            bUtf8 = true;
            break;
        }
        if (sLetters.find(sVerdict) == std::string::npos) sLetters += sVerdict;
    }

    auto has = [&](char letter) { return sLetters.find(letter) != std::string::npos; };
    std::string sFileVerdict = "M";
    if (bUtf8 || has('U')) sFileVerdict = "U";
    else if (sLetters == "MX" || sLetters == "XM" || sLetters == "OX" || sLetters == "XO") sFileVerdict = "O";
    else if (has('X') && !has('O')) sFileVerdict = "V";
    else if (has('X') && has('O')) sFileVerdict = has('Y') || has('V') ? "M" : "O";
    else if (has('Y') && has('V')) sFileVerdict = "V";

    // Back to where the caller was.
    OpenFile(sName, false);
    while (RecordIndex_ < lNoted && ReadNextRecord(sRecord, false)) {
    }
    return sFileVerdict;
}
