#!/usr/bin/env python3
"""Captures how Python reads the octets 0x80 to 0xFF as Windows-1252.

Writes testdata/cp1252_nfd.tsv, one line per octet: the octet, the code point
that Python's `cp1252` codec gives it ("-" where the codec has none), and the
UTF-8 octets of that character's canonical decomposition (NFD), all in
hexadecimal. The tests compare the letters with a diacritic of
MsoftAscii2Marc and the Windows-1252 octets of Marc2MsoftAscii with it. Run
once; the output is committed.

Usage: python3 tools/capture_cp1252_nfd.py [output-file]   (default: testdata/cp1252_nfd.tsv)
"""

import codecs
import sys
import unicodedata


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else "testdata/cp1252_nfd.tsv"
    lines = ["# octet\tcode point\tNFD as UTF-8 (python3 codecs cp1252, unicodedata "
             + unicodedata.unidata_version + ")"]
    for octet in range(0x80, 0x100):
        try:
            char = codecs.decode(bytes([octet]), "cp1252")
        except UnicodeDecodeError:
            lines.append("%02X\t-\t-" % octet)
            continue
        nfd = unicodedata.normalize("NFD", char).encode("utf-8")
        lines.append("%02X\t%04X\t%s" % (octet, ord(char), nfd.hex(" ").upper()))
    with open(path, "w", encoding="ascii") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
