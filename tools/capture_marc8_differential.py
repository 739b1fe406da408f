#!/usr/bin/env python3
"""Makes the MARC-8 records of the differential test and captures yaz's UTF-8 reading of them.

Writes, from small UTF-8 records defined below (their text in decomposed form, as a MARC-8
writer expects it):
  testdata/marc8_differential/records.mrc  the records in MARC-8, written by
      `yaz-marcdump -i marcxml -o marc -f utf8 -t marc8`;
  testdata/marc8_differential/yaz_utf8.tsv  yaz's UTF-8 reading of records.mrc
      (`yaz-marcdump -i marc -o marcxml -f marc8 -t utf8`), one line per leader and field:
      record number (from 1), tag ("LDR" for the leader), indicators, data. The data of a data
      field writes each subfield as "$" code text, and a "$" of the text as "$$". Each run of
      combining marks is put in canonical order (a stable sort on combining class), so that the
      order of marks of different classes does not count in the comparison.

Usage: python3 tools/capture_marc8_differential.py   (from the top of the source tree; needs yaz)
"""
import os
import subprocess
import sys
import unicodedata
import xml.etree.ElementTree as ET
from xml.sax.saxutils import escape

OUT = "testdata/marc8_differential"
NS = "{http://www.loc.gov/MARC21/slim}"


def nfd(s):
    return unicodedata.normalize("NFD", s)


# Each record: its fields as (tag, indicators, [(code, text)]); text is taken as written
# (decomposed where it matters: the writer does not decompose).
RECORDS = [
    # Latin with stacked marks: equal classes (circumflex and acute, both above), different
    # classes (dot below under circumflex, cedilla with acute) in either order; nonfiling
    # count of an article with a mark.
    [("245", "13", [("a", "L\u0301a vi\u0302\u0301e\u0323\u0302t"),
                     ("b", "e\u0302\u0323 c\u0327\u0301 a\u0301\u0300\u0308 \u01a1\u0303 u\u0308\u0304")]),
     ("500", "  ", [("a", "\u01a0\u0309 " + nfd("Ảnh Ụ Đà Nẵng, Łódź, Ōsaka, Çà, naïve, Dvořák, Ångström."))])],
    # The special letters and symbols of the Latin set.
    [("245", "00", [("a", "\u0141\u0142 \u00d8\u00f8 \u0110\u0111 \u00de\u00fe \u00c6\u00e6 \u0152\u0153 "
                           "\u02b9\u02ba \u0131 \u00a3 \u00f0 \u01a0\u01a1 \u01af\u01b0 \u2113 \u2117 \u00a9 "
                           "\u266d \u266f \u00ae \u00b1 \u00b0 \u00bf \u00a1 \u00df \u20ac \u02bb \u02bc "
                           "\u00b7 \u02be")]),
     ("020", "  ", [("a", "0-19-852663-6"), ("c", "$12.50 (\u00a38)")])],
    # Cyrillic with the letters of the extended set.
    [("245", "10", [("a", nfd("Ёлка и ёж")), ("b", "\u0491\u0430\u043d\u043e\u043a \u0490 \u0456\u0457 \u0454 \u045e")]),
     ("520", "  ", [("a", "\u0421\u043e\u0432\u0440\u0435\u043c\u0435\u043d\u043d\u0430\u044f "
                          "\u0440\u0443\u0441\u0441\u043a\u0430\u044f \u043f\u0440\u043e\u0437\u0430.")])],
    # Hebrew and Arabic in 880 fields beside their romanised fields.
    [("066", "  ", [("c", "(2"), ("c", "(3")]),
     ("245", "10", [("6", "880-01"), ("a", "Sefer ha-shanah")]),
     ("880", "10", [("6", "245-01/(2/r"), ("a", "\u05e1\u05e4\u05e8 \u05d4\u05e9\u05e0\u05d4 \u05ea\u05e9\u05e4\u05f4\u05d1")]),
     ("260", "  ", [("6", "880-02"), ("a", nfd("al-Qāhirah"))]),
     ("880", "  ", [("6", "260-02/(3/r"), ("a", "\u0627\u0644\u0642\u0627\u0647\u0631\u0629 \u0661\u0669\u0669\u0660")])],
    # Greek with its marks.
    [("245", "10", [("a", nfd("Ἡ Ἀθῆναι καὶ ἡ Ἑλλάς")), ("b", nfd("ΑΒΓΔ αβγδ ω"))])],
    # Subscripts and superscripts.
    [("245", "00", [("a", "H\u2082O and CO\u2082, x\u00b2 + y\u00b3, \u207d\u00b9\u207e \u2080\u208b\u208a\u208d\u2089\u208e \u2070\u207b\u207a\u2079")])],
    # CJK and Hangul (composed syllables) in 880 fields.
    [("066", "  ", [("c", "$1")]),
     ("245", "10", [("6", "880-01"), ("a", "Kankoku bunka")]),
     ("880", "10", [("6", "245-01/$1"), ("a", "\u97d3\u570b\u6587\u5316 \ud55c\uad6d \ubb38\ud654")]),
     ("500", "  ", [("a", "\u4e2d\u6587 \u3042\u3044 \u30ab\u30bf")])],
    # Ligature and double tilde marks over two letters; character references written as text.
    [("245", "10", [("a", "t\u0361s Ott\u0361so n\u0360g"), ("b", "&#x2113; &#x4E2D;, A&#xZZ; and &amp;")])],
]


def marcxml(records):
    out = ['<?xml version="1.0" encoding="UTF-8"?>', '<collection xmlns="http://www.loc.gov/MARC21/slim">']
    for n, fields in enumerate(records, 1):
        out.append("<record><leader>00000nam  2200000 a 4500</leader>")
        out.append('<controlfield tag="001">d18-%d</controlfield>' % n)
        out.append('<controlfield tag="008">990101s1999    xx            000 0 und d</controlfield>')
        for tag, ind, subfields in fields:
            out.append('<datafield tag="%s" ind1="%s" ind2="%s">' % (tag, ind[0], ind[1]))
            for code, text in subfields:
                out.append('<subfield code="%s">%s</subfield>' % (code, escape(text)))
            out.append("</datafield>")
        out.append("</record>")
    out.append("</collection>")
    return "\n".join(out) + "\n"


def canonical(s):
    """Each run of combining marks in ascending class, equal classes kept in their order."""
    out, run = [], []
    for c in s:
        if unicodedata.combining(c):
            run.append(c)
        else:
            out.extend(sorted(run, key=unicodedata.combining))
            run = []
            out.append(c)
    out.extend(sorted(run, key=unicodedata.combining))
    return "".join(out)


def main():
    os.makedirs(OUT, exist_ok=True)
    xml = os.path.join(OUT, "records.xml")
    mrc = os.path.join(OUT, "records.mrc")
    with open(xml, "w", encoding="utf-8") as f:
        f.write(marcxml(RECORDS))
    with open(mrc, "wb") as f:
        subprocess.run(["yaz-marcdump", "-i", "marcxml", "-o", "marc", "-f", "utf8", "-t", "marc8", xml],
                       stdout=f, check=True)
    os.remove(xml)
    reading = subprocess.run(["yaz-marcdump", "-i", "marc", "-o", "marcxml", "-f", "marc8", "-t", "utf8", mrc],
                             stdout=subprocess.PIPE, check=True).stdout
    version = subprocess.run(["yaz-marcdump", "-V"], stdout=subprocess.PIPE).stdout.decode().split()
    root = ET.fromstring(reading)
    lines = ["# yaz-marcdump -f marc8 -t utf8 (Debian yaz %s) of records.mrc, marks in canonical order;"
             % (version[2] if len(version) > 2 else "?"),
             "# captured by tools/capture_marc8_differential.py",
             "# record\ttag\tindicators\tdata"]
    for n, record in enumerate(root.iter(NS + "record"), 1):
        lines.append("%d\tLDR\t\t%s" % (n, record.find(NS + "leader").text))
        for field in record:
            if field.tag == NS + "controlfield":
                lines.append("%d\t%s\t\t%s" % (n, field.get("tag"), field.text or ""))
            elif field.tag == NS + "datafield":
                data = "".join("$" + sf.get("code") + canonical(sf.text or "").replace("$", "$$")
                               for sf in field.iter(NS + "subfield"))
                lines.append("%d\t%s\t%s%s\t%s" % (n, field.get("tag"), field.get("ind1"), field.get("ind2"), data))
    with open(os.path.join(OUT, "yaz_utf8.tsv"), "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    sys.exit(main())
