#!/usr/bin/env python3
"""Generates the Unicode 3.0 category and case tables of the character object.

Writes chars/category_table.cpp and chars/case_table.cpp, for the tests
chars/decomposition_tags_test.inc, and normalize/compatibility_table.cpp (the
compatibility decompositions). The builds never run this script; its output
is committed.

Source data:
  - /usr/share/unicode/DerivedAge.txt and /usr/share/unicode/UnicodeData.txt
    of Debian's package `unicode-data`: which code points Unicode 3.0 had, and
    the simple case mappings (fields 12 and 13);
  - Python's unicodedata.ucd_3_2_0: general category, decomposition tag and
    decomposition mapping.
The differences between those sources and Unicode 3.0 are listed below and
applied by hand.

Usage: python3 tools/gen_unicode30_tables.py [repository-folder]   (default: .)
"""

import os
import sys
import unicodedata

UCD = "/usr/share/unicode"
GENERATOR = "tools/gen_unicode30_tables.py"
PACKAGE = "Debian package unicode-data"

# ---------------------------------------------------------------- source data


def age_map():
    """Code point -> age (major, minor) for the basic plane."""
    ages = {}
    with open(os.path.join(UCD, "DerivedAge.txt"), encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            rng, age = [x.strip() for x in line.split(";")]
            major, minor = (int(x) for x in age.split("."))
            if ".." in rng:
                lo, hi = (int(x, 16) for x in rng.split(".."))
            else:
                lo = hi = int(rng, 16)
            for cp in range(lo, min(hi, 0xFFFF) + 1):
                ages[cp] = (major, minor)
    return ages


AGES = age_map()


def in_30(cp):
    return cp in AGES and AGES[cp] <= (3, 0)


# ---------------------------------------------------------------- categories

# Categories that later versions changed; the table keeps those of 3.0.
CATEGORY_30 = {0x06DD: "Me", 0x0B83: "Mc", 0x16EE: "No", 0x16EF: "No", 0x16F0: "No",
               0x17D7: "Po", 0x17DC: "Po", 0x180B: "Cf", 0x180C: "Cf", 0x180D: "Cf",
               0x200B: "Zs", 0x30FB: "Pc"}

FORMAT_TAGS = ["font", "noBreak", "initial", "medial", "final", "isolated", "circle", "super",
               "sub", "vertical", "wide", "narrow", "small", "square", "fraction", "compat"]

CODES = ["Cc", "Cf", "Co", "Cs", "Ll", "Lm", "Lo", "Lt", "Lu", "Mc", "Me", "Mn", "Nd", "Nl",
         "No", "Pc", "Pd", "Pe", "Pf", "Pi", "Po", "Ps", "Sc", "Sk", "Sm", "So", "Zl", "Zp",
         "Zs", "ZZ"]


def characters_30():
    """(code point, code, tag) of every basic-plane character of Unicode 3.0, in order."""
    out = []
    for cp in range(0x10000):
        if not in_30(cp):
            continue
        ch = chr(cp)
        cat = CATEGORY_30.get(cp, unicodedata.ucd_3_2_0.category(ch))
        if cat == "Cn":  # noncharacters such as U+FFFE are in no list of 3.0
            continue
        dec = unicodedata.ucd_3_2_0.decomposition(ch)
        tag = ""
        if dec.startswith("<"):
            tag = dec[1:dec.index(">")]
            assert tag in FORMAT_TAGS, (hex(cp), tag)
            cat = "ZZ"
        out.append((cp, cat, tag))
    return out


def spans_30(chars):
    """Spans [first, last, code] over code points, merged as the table wants them."""
    spans = []
    for cp, code, _ in chars:
        # These characters begin a span of their own even where the code agrees.
        forced_break = cp in (0x0080, 0x2040, 0x0AE0, 0x0B56)
        if spans and code != "ZZ" and spans[-1][2] == code and not forced_break:
            spans[-1][1] = cp
        else:
            spans.append([cp, cp, code])
    by_first = {s[0]: s for s in spans}
    # U+0AD1..U+0ADF and U+0B4E..U+0B55 are in no span: the spans on either side
    # end at U+0AD0 and U+0B4D and begin at U+0AE0 and U+0B56.
    for first, last in ((0x0AD0, 0x0AD0),):
        assert by_first[first][1] == last
    # The Tamil digits run from U+0BE6.
    tamil = by_first[0x0BE7]
    assert tamil[2] == "Nd"
    tamil[0] = 0x0BE6
    # The CJK compatibility ideographs run on to U+FA6A.
    cjk = by_first[0xF900]
    assert cjk[2] == "Lo" and cjk[1] == 0xFA2D
    cjk[1] = 0xFA6A
    # The table ends with U+FFF9..U+FFFB "Cf": U+FFFC and U+FFFD are in no span.
    spans = [s for s in spans if s[0] < 0xFFFC]
    assert spans[-1] == [0xFFF9, 0xFFFB, "Cf"], spans[-1]
    return spans


def utf8_value(cp):
    v = 0
    for b in chr(cp).encode("utf-8", "surrogatepass"):
        v = v * 256 + b
    return v


# The eleven lists of spans: the code point each begins with, and the octet
# value from which it takes values (list 2 takes the lone octets 0x80 to 0xFF
# and the two-octet sequences below C2 80 as well).
LIST_FIRST = [0x0000, 0x0080, 0x0200, 0x0903, 0x1E00, 0x2000, 0x2F00, 0x3280, 0xA3B3, 0xFD00,
              0xFF01]
LIST_VALUE = [0x0, 0x80, 0xC880, 0xE0A483, 0xE1B880, 0xE28080, 0xE2BC80, 0xE38A80, 0xEA8EB3,
              0xEFB480, 0xEFBC81]


def split_into_lists(spans):
    """Cuts the one span that crosses a list boundary, and checks the others do not."""
    out = []
    for first, last, code in spans:
        for b in LIST_FIRST[1:]:
            if first < b <= last:
                assert (first, last, code) == (0x3400, 0xA48C, "Lo"), (hex(first), hex(last))
                out.append([first, b - 1, code])
                first = b
        out.append([first, last, code])
    return out


def category_of(spans_v, value):
    import bisect
    firsts = [s[0] for s in spans_v]
    i = bisect.bisect_right(firsts, value) - 1
    if i >= 0 and spans_v[i][1] >= value:
        return spans_v[i][2]
    return ""


def check_categories(chars, spans):
    spans_v = [(utf8_value(a), utf8_value(b), c) for a, b, c in spans]
    counts = {}
    for cp in range(0x10000):
        c = category_of(spans_v, utf8_value(cp))
        counts[c] = counts.get(c, 0) + 1
    expected = {"Lo": 43322, "Co": 6400, "": 5149, "So": 3044, "ZZ": 2172, "Cs": 2048,
                "Mn": 821, "Ll": 779, "Lu": 638, "Sm": 273, "Nd": 189, "Po": 177, "Mc": 147,
                "Cc": 65, "No": 63, "Sk": 49, "Lm": 28, "Lt": 27, "Sc": 24, "Cf": 24, "Ps": 21,
                "Pe": 20, "Nl": 14, "Pd": 11, "Me": 10, "Pi": 6, "Zs": 5, "Pc": 4, "Pf": 4,
                "Zl": 1, "Zp": 1}
    assert counts == expected, sorted(set(counts.items()) ^ set(expected.items()))
    tags = {}
    for _, _, tag in chars:
        if tag:
            tags[tag] = tags.get(tag, 0) + 1
    expected_tags = {"compat": 660, "final": 240, "isolated": 237, "circle": 197, "square": 193,
                     "initial": 171, "narrow": 122, "wide": 102, "medial": 82, "super": 48,
                     "font": 37, "small": 26, "vertical": 21, "fraction": 16, "sub": 15,
                     "noBreak": 5}
    assert tags == expected_tags, tags


# ---------------------------------------------------------------- case


def case_tables():
    upper, lower = {}, {}
    with open(os.path.join(UCD, "UnicodeData.txt"), encoding="utf-8") as f:
        for line in f:
            fields = line.rstrip("\n").split(";")
            cp = int(fields[0], 16)
            if cp > 0xFFFF or not in_30(cp):
                continue
            for field, table in ((12, upper), (13, lower)):
                if fields[field]:
                    target = int(fields[field], 16)
                    if target <= 0xFFFF and in_30(target):
                        table[cp] = target
    # Where Unicode 3.0 differs from the current data.
    upper[0x03F2] = 0x03A3
    for cp in [0x04C0, *range(0x10A0, 0x10C6), *range(0x13A0, 0x13F5), 0x2132, 0x2183]:
        lower.pop(cp, None)
    for cp in [0x0180, 0x019A, 0x019B, 0x019E, 0x0250, 0x0251, 0x0252, 0x025C, 0x0261, 0x0264,
               0x0265, 0x0266, 0x026A, 0x026B, 0x026C, 0x0271, 0x027D, 0x0282, 0x0287, 0x0289,
               0x028C, 0x029D, 0x029E, 0x03D7, 0x03F3, *range(0x10D0, 0x10F9)]:
        upper.pop(cp, None)
    assert len(lower) == 696, len(lower)
    assert len(upper) == 706, len(upper)
    return lower, upper


# ---------------------------------------------------------------- output

HEADER = """\
// Generated by {gen} -- do not edit.
// Source data: DerivedAge.txt and UnicodeData.txt of the {pkg}
// ({ucd}), restricted to the characters of Unicode 3.0; general categories
// and decomposition tags from Python's unicodedata.ucd_3_2_0, with the
// categories that changed after 3.0 set back to their 3.0 values.
"""


def octets_literal(cp):
    return '"' + "".join("\\x%02X" % b for b in chr(cp).encode("utf-8", "surrogatepass")) + '"'


def write_category(path, spans):
    lines = [HEADER.format(gen=GENERATOR, pkg=PACKAGE, ucd=UCD),
             '#include "chars/unicode_tables.h"', "", "#include <iterator>", "", "namespace unicode30 {", ""]
    lines.append("const char* const kCategoryCodes[] = {")
    lines.append("    " + ", ".join('"%s"' % c for c in CODES) + "};")
    lines.append("const std::size_t kCategoryCodeCount = std::size(kCategoryCodes);")
    lines.append("")
    lines.append("// Spans of octet values, in ascending order: first, last, index of the code.")
    lines.append("const CategorySpan kCategorySpans[] = {")
    starts = []
    for i, (first, last, code) in enumerate(spans):
        while len(starts) < len(LIST_FIRST) and first >= LIST_FIRST[len(starts)]:
            starts.append(i)
            lines.append("    // list %d, from U+%04X" % (len(starts), LIST_FIRST[len(starts) - 1]))
        lines.append("    {0x%Xu, 0x%Xu, %d},  // U+%04X..U+%04X %s" % (
            utf8_value(first), utf8_value(last), CODES.index(code), first, last, code))
    lines.append("};")
    lines.append("const std::size_t kCategorySpanCount = std::size(kCategorySpans);")
    lines.append("")
    assert len(starts) == len(LIST_FIRST)
    lines.append("// The octet value from which each list takes values, and the index of its")
    lines.append("// first span; the last entry closes list 11.")
    lines.append("const CategoryList kCategoryLists[kCategoryListCount + 1] = {")
    for n, (value, i) in enumerate(zip(LIST_VALUE, starts)):
        lines.append("    {0x%Xu, %d},  // list %d: U+%04X" % (value, i, n + 1, LIST_FIRST[n]))
    lines.append("    {0xFFFFFFFFu, %d}," % len(spans))
    lines.append("};")
    lines.append("")
    lines.append("}  // namespace unicode30")
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")
    return len(spans)


def write_case(path, lower, upper):
    lines = [HEADER.format(gen=GENERATOR, pkg=PACKAGE, ucd=UCD).replace(
        "general categories\n// and decomposition tags from Python's unicodedata.ucd_3_2_0, with the\n"
        "// categories that changed after 3.0 set back to their 3.0 values.",
        "simple case mappings\n// (fields 12 and 13) whose key and result are both of Unicode 3.0, with\n"
        "// the mappings that changed after 3.0 set back to their 3.0 values."), '#include "chars/unicode_tables.h"', "", "#include <iterator>", "", "namespace unicode30 {", ""]
    for name, table in (("kLowerCase", lower), ("kUpperCase", upper)):
        lines.append("// Key: octet value of the character; result: UTF-8 octets.")
        lines.append("const CaseEntry %s[] = {" % name)
        for cp in sorted(table, key=utf8_value):
            lines.append("    {0x%Xu, %s},  // U+%04X -> U+%04X" % (
                utf8_value(cp), octets_literal(table[cp]), cp, table[cp]))
        lines.append("};")
        lines.append("const std::size_t %sCount = std::size(%s);" % (name, name))
        lines.append("")
    lines.append("}  // namespace unicode30")
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


def write_tags(path, chars):
    """The characters that answer "ZZ", with their decomposition tags: test data."""
    lines = [HEADER.format(gen=GENERATOR, pkg=PACKAGE, ucd=UCD),
             "// The characters with a compatibility decomposition, as code point and",
             "// index into kDecompositionTags. Included by the tests only.", "",
             "inline constexpr const char* kDecompositionTags[] = {"]
    lines.append("    " + ", ".join('"%s"' % t for t in FORMAT_TAGS) + "};")
    lines.append("")
    lines.append("struct TaggedCharacter {")
    lines.append("    uint16_t CodePoint;")
    lines.append("    uint8_t Tag;")
    lines.append("};")
    lines.append("")
    lines.append("inline constexpr TaggedCharacter kTaggedCharacters[] = {")
    items = ["{0x%04X, %d}" % (cp, FORMAT_TAGS.index(tag)) for cp, _, tag in chars if tag]
    for i in range(0, len(items), 6):
        lines.append("    " + ", ".join(items[i:i + 6]) + ",")
    lines.append("};")
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


def compatibility_mappings(chars):
    """Code point -> mapped code points, one level deep, of every tagged character."""
    mappings = {}
    for cp, _, tag in chars:
        if not tag:
            continue
        fields = unicodedata.ucd_3_2_0.decomposition(chr(cp)).split()
        assert fields[0] == "<%s>" % tag, (hex(cp), fields)
        mapped = [int(x, 16) for x in fields[1:]]
        assert mapped and all(m <= 0xFFFF for m in mapped), hex(cp)
        mappings[cp] = mapped
    assert len(mappings) == 2172, len(mappings)
    return mappings


def write_compatibility(path, mappings):
    lines = [HEADER.format(gen=GENERATOR, pkg=PACKAGE, ucd=UCD).replace(
        "general categories\n// and decomposition tags from Python's unicodedata.ucd_3_2_0, with the\n"
        "// categories that changed after 3.0 set back to their 3.0 values.",
        "the decomposition\n// mappings with a formatting tag from Python's unicodedata.ucd_3_2_0, one\n"
        "// level deep (the mapped characters are not decomposed again)."),
        '#include "normalize/compatibility_table.h"', "", "#include <iterator>", "",
        "namespace unicode30 {", "",
        "// Key: octet value of the character; result: UTF-8 octets of its mapping.",
        "const CompatibilityEntry kCompatibilityDecompositions[] = {"]
    for cp in sorted(mappings, key=utf8_value):
        octets = "".join("\\x%02X" % b for m in mappings[cp] for b in chr(m).encode("utf-8"))
        lines.append('    {0x%Xu, "%s"},  // U+%04X -> %s' % (
            utf8_value(cp), octets, cp, " ".join("U+%04X" % m for m in mappings[cp])))
    lines.append("};")
    lines.append("const std::size_t kCompatibilityDecompositionCount = std::size(kCompatibilityDecompositions);")
    lines.append("")
    lines.append("}  // namespace unicode30")
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else "."
    out = os.path.join(root, "chars")
    chars = characters_30()
    spans = spans_30(chars)
    check_categories(chars, spans)
    spans = split_into_lists(spans)
    check_categories(chars, spans)
    n = write_category(os.path.join(out, "category_table.cpp"), spans)
    write_tags(os.path.join(out, "decomposition_tags_test.inc"), chars)
    lower, upper = case_tables()
    write_case(os.path.join(out, "case_table.cpp"), lower, upper)
    mappings = compatibility_mappings(chars)
    write_compatibility(os.path.join(root, "normalize", "compatibility_table.cpp"), mappings)
    print("spans %d, lower %d, upper %d, compatibility %d" % (n, len(lower), len(upper), len(mappings)))


if __name__ == "__main__":
    main()
