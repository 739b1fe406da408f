#pragma once
// The fixed-field block that heads a record's formatted text: the coded values
// of the leader and of the 008 field behind short labels, in one of three
// styles. The blocks themselves are constant tables in fixed_field_block.cpp;
// nothing else knows them.

#include <cstdint>
#include <string>

// The block of style iFixedFieldFormat for a record: 0 mnemonic (upper-case
// mnemonics, bibliographic blocks chosen by leader/06), 1 labelled (labels
// ending in a colon), 2 aligned (labels padded into columns); "" for any other
// style.
//   sRecordFormat  the record's format code ("A", "B", "D", "F", "H", "M",
//                  "P", "S", "U" have blocks; compared exactly)
//   sLeader        the record's leader, read as it is
//   s008Text       the text of the first 008 field, fill characters shown as "?"
//   sLineEnd       CR LF, or "\par " for the RTF output forms
//   bRtfFlag       set when the caller builds a whole RTF document; the
//                  mnemonic authority block then begins in the fixed-pitch font
// A value is the run of characters of its source from its position, as many
// of them as exist up to its length; nothing is padded. With the line end
// "\par " every value goes through EscapeRtfReserved, so that no leader or
// 008 text can unbalance the RTF around the block; labels are written as they
// stand. Changes nothing and raises nothing.
std::string FixedFieldBlock(int32_t iFixedFieldFormat, const std::string& sRecordFormat, const std::string& sLeader,
                            const std::string& s008Text, const std::string& sLineEnd, bool bRtfFlag);

// sText with every "\", "{" and "}" written as the RTF escapes \u92?, \u123?
// and \u125?; every other octet as it is.
std::string EscapeRtfReserved(const std::string& sText);
// Appends one octet to RTF text the same way.
void AppendRtfReserved(std::string& sOut, char c);
