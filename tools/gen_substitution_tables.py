#!/usr/bin/env python3
"""Generates the tables of Utf8CharClass.SubstituteUtf8Char and of the
decomposition of precomposed Latin letters.

Writes normalize/substitution_tables.cpp:
- kLatinDecompositions: every letter of U+00C0 to U+024F and U+1E00 to U+1EFF
  that Unicode 3.0 assigns and gives a canonical decomposition, with its full
  canonical decomposition in UTF-8: the mappings are followed while their
  first character decomposes again, and the marks stand in canonical order
  (ascending combining class, the order of equal classes kept). The letters
  with horn (U+01A0, U+01A1, U+01AF, U+01B0) are letters of their own in
  MARC-8 and in the comparison forms: they have no entry, and a decomposition
  that reaches one stops there (U+1EDC gives U+01A0 U+0300);
- the text of PuaIdeographTable: " " + six hex digits of the private-use
  character's UTF-8 octets + ":" + six hex digits of its replacement's, for
  each of the 230 entries of PUA_ROWS below.

Source data: /usr/share/unicode/UnicodeData.txt (decomposition mappings,
combining classes) and /usr/share/unicode/DerivedAge.txt (the characters of
Unicode 3.0) of Debian's package `unicode-data`; the decompositions are
checked against Python's unicodedata.ucd_3_2_0, whose canonical mappings of
these blocks are those of Unicode 3.0. The private-use rows are the library
system's own list, kept here as data.

The builds never run this script; its output is committed.
Usage: python3 tools/gen_substitution_tables.py [output-folder]   (default: normalize)
"""

import os
import sys
import unicodedata

UCD_FOLDER = "/usr/share/unicode"
GENERATOR = "tools/gen_substitution_tables.py"

LATIN_RANGES = [(0x00C0, 0x024F), (0x1E00, 0x1EFF)]
HORN_LETTERS = {0x01A0, 0x01A1, 0x01AF, 0x01B0}

# The private-use characters and their replacements, in rows of sixteen: the
# row's first code point, then the replacement of each ("-" for none).
PUA_ROWS = [
    (0xE8B0, "- 318D - - - - - - - - - - - - - -"),
    (0xE900, "53F0 7CFB 4EC3 5C3D 5F53 7F57 6C47 5386 6B20 53EA 83B7 5DF4 7B7E 80E1 7CFB 810F"),
    (0xE910, "5DF4 80E1 80E1 51B2 8F9F 53EA 53F0 53D1 677E 80E1 987B 6076 53F0 56E2 7EA4 575B"),
    (0xE920, "8298 8298 5CC4 89D2 8F9F 961D - - - - - - - - - -"),
    (0xE930, "4E99 5349 5606 5662 56AE 58C7 5C64 5DBA 5EE3 6035 6046 60C5 61F2 62D0 62F4 6368"),
    (0xE940, "63DB 6813 6C2F 6C89 6F22 6FEB 7235 749C 75CA 7672 78FA 7D0D 7DF4 7FCE 8392 85CD"),
    (0xE950, "8853 8AA4 8ACB 8B01 8D08 8E8D 8F42 8FF0 9139 9234 96E3 975B 97FF 9818 985E 9D12"),
    (0xE960, "9F61 4EB6 55E2 6798 6B4E 6CAD 6D34 6F62 701E 778B 79EB 7A19 7B04 7CE8 82AE 8343"),
    (0xE970, "8507 919B 9942 9957 53BF 8FE9 50BB 5C06 690D 6D45 830E 82FA 55D4 - 6168 6B8B"),
    (0xE980, "753B 7F6E 6B96 9BFD 53A9 542F 788C 865E 8A25 8801 97DE 9BD6 4EE4 4F36 5029 50E7"),
    (0xE990, "5168 634C 537F 5668 56A5 - 5F25 5F84 618E 601C 61CA 6994 6ADB 6DB5 6EDE 6FB3"),
    (0xE9A0, "731C 7F3E 761F 76F4 775B 77D7 7985 79F0 7C27 7F9A 66DC 8046 81ED 82D3 83C1 83BD"),
    (0xE9B0, "82A6 8708 873B 8910 8983 8DF5 9119 9686 975C 9EB8 57F4 5BC3 5F4D 80AD 71E0 74F4"),
    (0xE9C0, "7B4C 5FAD 86C9 8872 8941 9306 7E8A - - - - - - - - -"),
    (0xE9D0, "7953 7BEA 975A 868B 89F5 8019 9C51 7962 784E - - - - - - -"),
    (0xE9E0, "5406 5C5B 4ECE 5306 5365 5C58 5B82 5C8D 63C5 63D1 64A7 6C31 7096 7B59 8201 4610"),
    (0xE9F0, "93BE 9420 9B2E 9EFE 5211 6F97 5231 5E32 5259 9699 50B2 586D - - - -"),
    (0xEA00, "212C 3761 2251 22C4 349E - - - - - - - - - - -"),
]


def c_octets(text):
    return "".join("\\x%02X" % b for b in text.encode("utf-8"))


def codes(text):
    return " ".join("U+%04X" % ord(c) for c in text)


def assigned_in_30():
    """The code points that Unicode 3.0 assigns (DerivedAge.txt)."""
    assigned = set()
    with open(os.path.join(UCD_FOLDER, "DerivedAge.txt"), encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            rng, age = [x.strip() for x in line.split(";")]
            if tuple(int(x) for x in age.split(".")) > (3, 0):
                continue
            lo, _, hi = rng.partition("..")
            assigned.update(range(int(lo, 16), int(hi or lo, 16) + 1))
    return assigned


def unicode_data():
    """Code point -> (combining class, canonical mapping or None)."""
    data = {}
    with open(os.path.join(UCD_FOLDER, "UnicodeData.txt"), encoding="utf-8") as f:
        for line in f:
            fields = line.split(";")
            mapping = fields[5]
            canonical = None
            if mapping and not mapping.startswith("<"):
                canonical = [int(x, 16) for x in mapping.split()]
            data[int(fields[0], 16)] = (int(fields[3]), canonical)
    return data


def full_decomposition(cp, data):
    """The letter's canonical decomposition, followed through its first
    character, marks in canonical order; a letter with horn stays whole."""
    out = [cp]
    while out[0] not in HORN_LETTERS and data.get(out[0], (0, None))[1]:
        out = data[out[0]][1] + out[1:]
    base, marks = out[0], out[1:]
    assert all(data[m][0] > 0 for m in marks), hex(cp)
    return [base] + sorted(marks, key=lambda m: data[m][0])  # sorted() is stable


def latin_decompositions():
    assigned = assigned_in_30()
    data = unicode_data()
    entries = []
    for lo, hi in LATIN_RANGES:
        for cp in range(lo, hi + 1):
            if cp not in assigned or cp in HORN_LETTERS or not data.get(cp, (0, None))[1]:
                continue
            d = "".join(chr(c) for c in full_decomposition(cp, data))
            # Unicode 3.0 agrees, but where the horn is kept.
            nfd = unicodedata.ucd_3_2_0.normalize("NFD", chr(cp))
            assert nfd == unicodedata.ucd_3_2_0.normalize("NFD", d), hex(cp)
            assert (nfd == d) == ("\u031B" not in nfd), hex(cp)
            entries.append((cp, d))
    return entries


def hex_octets(cp):
    return "".join("%02X" % b for b in chr(cp).encode("utf-8"))


def table_lines(entries):
    """The entries of the decomposition table, its end and its count."""
    lines = ['    {0x%04X, "%s"},  // %s' % (cp, c_octets(d), codes(d)) for cp, d in entries]
    return lines + ["};", "const std::size_t kLatinDecompositionCount = std::size(kLatinDecompositions);"]


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else "normalize"
    latin = latin_decompositions()
    pua = []
    for first, row in PUA_ROWS:
        cells = row.split()
        assert len(cells) == 16, hex(first)
        for i, cell in enumerate(cells):
            if cell != "-":
                pua.append((first + i, int(cell, 16)))
    assert len(latin) == 493, len(latin)
    assert len(pua) == 230, len(pua)

    lines = [
        "// Generated by %s -- do not edit." % GENERATOR,
        "// Source data: UnicodeData.txt and DerivedAge.txt of the Debian package unicode-data",
        "// (the letters of Unicode 3.0 and their canonical decompositions);",
        "// the private-use replacements from the generator's own rows.",
        "",
        '#include "normalize/substitution_tables.h"',
        "",
        "#include <iterator>",
        "",
        "namespace substitution {",
        "",
        "// Code point and the UTF-8 octets of its full canonical decomposition.",
        "const LatinDecomposition kLatinDecompositions[] = {",
    ]
    lines += table_lines(latin)
    lines += [
        "",
        "// \" \", the private-use character's octets, \":\", the replacement's octets.",
        "const char kPuaIdeographTableText[] =",
    ]
    for i in range(0, len(pua), 5):
        chunk = "".join(" %s:%s" % (hex_octets(a), hex_octets(b)) for a, b in pua[i:i + 5])
        lines.append('    "%s"' % chunk)
    lines[-1] += ";"
    lines += ["", "}  // namespace substitution", ""]
    with open(os.path.join(out_dir, "substitution_tables.cpp"), "w") as f:
        f.write("\n".join(lines))


if __name__ == "__main__":
    main()
