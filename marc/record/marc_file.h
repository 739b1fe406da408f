#pragma once
// Utf8MarcFileClass: reads a file of MARC records and hands out one ISO 2709
// record text per call, in file order. Two layouts are recognised when the
// file is opened:
// - plain: records one after another, each starting with its five-digit
//   length; anything that is not a digit before a record is skipped (line
//   breaks, and at the start of the file octets above 127 such as a UTF-8
//   byte-order mark);
// - segmented: each record in segments with a five-character header (type
//   "0" whole record, "1" first, "2" middle, "3" last; four-digit segment
//   length counting the header), non-digits skipped before each segment;
//   after a bad segment length reading resumes where a record's first
//   segment begins.
// The layout is tested from the first digit of the file. A record cut short
// (by the end of the file, by the next record, or in a segmented file by a
// bad segment) is delivered as far as it goes, for the load to refuse.
// The file is read in blocks through the platform's numbered files; at most
// one record (and the characters pushed back after it) is held at a time.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class Utf8MarcRecordClass;

class Utf8MarcFileClass {
public:
    Utf8MarcFileClass();
    // Closes the file.
    ~Utf8MarcFileClass();
    Utf8MarcFileClass(const Utf8MarcFileClass&) = delete;
    Utf8MarcFileClass& operator=(const Utf8MarcFileClass&) = delete;

    // Opens a file (the name goes through the Windows-path mapping) and
    // tests its layout. A file that cannot be opened or holds fewer than 29
    // octets leaves no file open and EndOfFile True; nothing is reported.
    // An empty name only closes the file open before. bDebug has no effect.
    void OpenFile(const std::string& sMarcFileName, bool bDebug = false);
    // The open file has the segmented layout.
    bool FileIsSegmented() const;
    // True unless the last ReadNextRecord delivered a record; it does not
    // foretell the end.
    bool EndOfFile() const;
    // The next record text into sRecord; False (the file closed, sRecord
    // empty) when there is none: non-digits at the end are no record. A
    // record whose terminator stands before or after the place its length
    // field names is cut at its terminator and its length field rewritten to
    // the true length; what follows the terminator is read next. Where
    // another record that ends on that terminator begins after the first
    // character (a record without its terminator, or cut short, followed by
    // a sound one), the text before it is delivered as read and that record
    // next: two records are never delivered as one. bDebug has no effect.
    bool ReadNextRecord(std::string& sRecord, bool bDebug = false);
    void CloseFile();
    // The file's character set, "M", "O", "V" or "U", from the verdicts of
    // all its records; the file is read from the start and the caller's
    // position restored. "M" without an open file.
    std::string CharacterizeCharacterSet();
    std::string MarcFileName() const;
    // Opens the file.
    void MarcFileName(const std::string& vNewValue);
    // Records delivered since the file was opened.
    int32_t RecordIndex() const;

private:
    // Reads the first 29 octets and decides the layout, then opens the file
    // again at its start. Raises when the file is too short or unreadable.
    void ProbeLayout();
    bool ReadSegmentedRecord(std::string& sRecord);
    // Passes over characters up to the next place where a record's first
    // segment begins, or to the end of the file.
    void SkipToRecordSegment();

    // The reading source: CarryOver, which holds the characters pushed back
    // and a block read ahead, then the file. NextChar takes one octet;
    // TakeChars appends n octets and is false when the file ends first (what
    // there was is appended).
    bool NextChar(char& c);
    bool TakeChars(size_t n, std::string& sOut);
    // Puts characters back in front of what is still to be read.
    void PushBack(std::string_view sText);
    // Characters in CarryOver not yet taken; taking n of them; reading up to
    // n more from the file behind them (false when the file ends first).
    size_t Buffered() const;
    void Consume(size_t n);
    bool Fill(size_t n);
    // NextChar with the leading octets above 127 passed over while
    // SkipLeadingHighOctets is set.
    bool NextCharAfterHighOctets(char& c);
    // The end of reading: the file closed, no record, False.
    bool EndReading();
    // A record delivered.
    bool Deliver(std::string& sRecord, std::string&& sText);
    // A plain record whose first terminator, at d, is not where its length
    // field says: delivered up to d with its true length, or up to where
    // another record that ends at d begins; the rest is read next.
    bool DeliverUpTo(std::string& sRecord, std::string&& sText, size_t d);
    // The file's record object, made on first use.
    Utf8MarcRecordClass& Record();

    std::string MarcFileName_;
    bool FileIsSegmented_ = false;
    bool EndOfFile_ = true;
    bool SkipLeadingHighOctets = false;
    int32_t RecordIndex_ = 0;
    int16_t FileNumber = 0;
    std::unique_ptr<Utf8MarcRecordClass> RecordObject;
    // Characters read beyond the end of the last record: the beginning of the
    // next one, read first by the next call, from CarryOverPosition on.
    std::string CarryOver;
    size_t CarryOverPosition = 0;
    // How many characters from CarryOverPosition on are known to hold no
    // record terminator.
    size_t CarryOverSearched = 0;
};
