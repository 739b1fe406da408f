#!/usr/bin/env python3
"""Builds a demo library for the exit-check program in one folder.

    make_demo.py --schema testdata/library_schema.sql --driver /path/libsqlite3odbc.so \
                 --extension build/lib/libcompat.so --out build/demo [--items 3000] [--records 200] [--seed 7]
    make_demo.py --sql-out records.sql [--records 300] [--seed 7]
    (either form also takes --normal-forms build/bin/normal_forms)

Writes into the folder:
  library.db            SQLite database made from the schema, with sample data, and
                        stored bibliographic, authority and holdings records varied
                        from testdata/records/ (UTF-8 and MARC-8, one to over ten
                        segments), their master, history and link rows, libraries
                        and cataloguing operators
  odbcinst.ini, odbc.ini the data source EXITDESK_DEMO (the SQLite ODBC driver,
                        loading the compatibility extension; it never makes
                        a database file that is missing)
  settings/             ClearedForExit.INI (password in its scrambled form),
                        VGERREAD.INI
  sounds/               good.wav and bad.wav
  demo-barcodes.txt     a few barcodes of each kind, with the verdict each gives
  sample-barcodes.txt   with --sample-barcodes N: N scans for the benchmark

The data are made from a seeded random generator, so the same arguments give
the same database. Only Python's standard library is used.
"""

import argparse
import math
import os
import random
import sqlite3
import struct
import sys
import wave

from index_headings import HeadingIndexes
from index_numbers import add_number_indexes
from normal_forms import NormalForms, TextOctets, default_tool

DSN = "EXITDESK_DEMO"
PASSWORD = "exitdesk"
USER = "circread"
# Patron groups whose charges may not leave the building (carrels), and the ordinary ones.
CARREL_GROUPS = [5, 15]
ORDINARY_GROUPS = [1, 2, 3, 4, 6, 11, 25, 51]
FIRST_ITEM_ID = 100001
FIRST_BIB_ID = 5001

LOCATIONS = [
    # id, code, display name, name, spine label
    (1, "main", "Main Library, Stacks", "Main Stacks", "MAIN"),
    (2, "ref", "Main Library, Reference", "Reference", "REF"),
    (3, "bibz", "Bibliothèque centrale, Réserve", "Réserve", "RÉS"),
    (4, "mag", "Magazin Süd, Ebene −1", "Magazin Süd", "MAG"),
    (5, "musi", "Музыкальный отдел", "Музыка", "МУЗ"),
    (6, "eas", "東アジア文庫", "東アジア", "EAS"),
    (7, "carr", "Carrel Room, 3rd floor", "Carrels", "CARREL"),
    (8, "læse", "Læsesal Ærø", "Læsesal", "LÆS"),
    (9, "maps", "Map Collection", "Maps", "MAP"),
    (10, "spec", "Special Collections", "Special Coll.", "SPEC"),
]

ITEM_TYPES = [(1, "book"), (2, "serial"), (3, "dvd"), (4, "map"), (5, "score"), (6, "cd"), (7, "thesis")]
ITEM_STATUS_TYPES = [
    (1, "Not Charged"), (2, "Charged"), (3, "Renewed"), (4, "Overdue"), (5, "Recall Request"),
    (12, "Missing"), (13, "Lost--Library Applied"), (17, "Withdrawn"), (19, "Cataloging Review"),
]

TITLE_WORDS = [
    "history", "music", "river", "garden", "mathematics", "letters", "voyage", "kingdom", "light",
    "Geschichte", "Übersetzung", "Straße", "l'été", "bibliothèque", "mémoire", "niño", "año",
    "Москва", "история", "東京", "物語", "Kraków", "Ærø", "São Paulo", "çocuk", "Ελλάδα",
]
AUTHORS = [
    "Müller, Jürgen", "García Márquez, Gabriel", "Brontë, Charlotte", "Dvořák, Antonín",
    "Толстой, Лев", "夏目漱石", "Øksnevad, Åse", "Smith, John", "Nguyễn, Văn An", "Ibsen, Henrik",
]
NOTES = [
    "Accompanying CD in pocket",
    "Beilage fehlt — Karte in Tasche",
    "Reliure abîmée ; à restaurer",
    "Не выдаётся на дом",
    "附录光盘一张",
    "Spine label reads “Vol. 2”",
    "Ex libris: Ærø Skole",
    "Donated by the Nuñez family",
]


# ----------------------------------------------------------------------------------------------
# Barcodes: 14 digits, a library prefix, a serial number and a check digit (Luhn).

def luhn_digit(digits):
    total = 0
    for i, ch in enumerate(reversed(digits)):
        d = int(ch)
        if i % 2 == 0:
            d *= 2
            if d > 9:
                d -= 9
        total += d
    return str((10 - total % 10) % 10)


def barcode(serial, prefix="31234"):
    body = prefix + "%08d" % serial
    return body + luhn_digit(body)


# ----------------------------------------------------------------------------------------------
# MARC 21 records in ISO 2709, UTF-8, for the record tables.

def iso2709(leader, fields):
    directory = b""
    data = b""
    for tag, content in fields:
        body = content.encode("utf-8") + b"\x1e"
        directory += tag.encode() + b"%04d%05d" % (len(body), len(data))
        data += body
    directory += b"\x1e"
    base = 24 + len(directory)
    total = base + len(data) + 1
    lead = ("%05d" % total) + leader[5:12] + ("%05d" % base) + leader[17:]
    return lead.encode() + directory + data + b"\x1d"


def subfields(*pairs):
    return "".join("\x1f" + code + text for code, text in pairs)


def bib_record(bib_id, title, author, year):
    return iso2709("00000nam a2200000 a 4500", [
        ("001", str(bib_id)),
        ("005", "20240115093000.0"),
        ("008", "240115s%4d    xx            000 0 und d" % year),
        ("100", "1 " + subfields(("a", author))),
        ("245", "10" + subfields(("a", title + " /"), ("c", author))),
        ("264", " 1" + subfields(("a", "Place"), ("b", "Publisher"), ("c", str(year)))),
    ])


def holdings_record(mfhd_id, bib_id, location_code, call_number):
    return iso2709("00000nx  a2200000un 4500", [
        ("001", str(mfhd_id)),
        ("004", str(bib_id)),
        ("008", "2401150u    8   4001uu   0000000"),
        ("852", "0 " + subfields(("b", location_code), ("h", call_number))),
    ])


def segments(record, width):
    return [record[i:i + width] for i in range(0, len(record), width)] or [b""]


# ----------------------------------------------------------------------------------------------
# Stored records varied from real ones (testdata/records/: Debian's sample
# records, UTF-8 and MARC-8), with their master, history and link rows, the
# libraries, and the cataloguing operators with their profiles.

RECORDS_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "testdata", "records")
FIRST_RECORD_BIB_ID = 10000001
FIRST_RECORD_MFHD_ID = 20000001
FIRST_RECORD_ITEM_ID = 30000001
FIRST_AUTH_ID = 1

LIBRARIES = [
    # id, name, display name, NUC code; BIB_MASTER also names library 9, which LIBRARY lacks
    (1, "Demo Library", "Demo Library — Campus", "XDL"),
    (2, "Bibliothèque d'étude", "Bibliothèque d'étude, Genève", "SzGBE"),
    (3, "Staatsbibliothek Süd", "Staatsbibliothek Süd — Lesesaal", "GyStS"),
    (4, "Научная библиотека", "Научная библиотека им. Горького", "RuSPN"),
    (5, "Branch Library", "Branch Library", None),
]
OWNING_LIBRARY_IDS = [1, 1, 1, 2, 3, 4, 5, 9, None]
BIB_SUPPRESS = ["N", "N", "N", "n", "Y", "y", None]
HOLD_SUPPRESS = ["N", "N", "N", "n", "Y", "y", None]
OPERATORS = ["cat01", "cat02", "o'neill", "müller", "loader", "batch"]
CALL_NUMBER_TYPES = [
    # type code (MFHD_MASTER.CALL_NO_TYPE and 852 first indicator), a display call number maker
    ("0", lambda r: "%s%d .%s%d %d" % (r.choice("ABDHNPQ"), r.randint(1, 9999), r.choice("ABCKMRS"),
                                          r.randint(10, 99), r.randint(1900, 2024))),
    ("1", lambda r: "%03d.%d %s" % (r.randint(0, 999), r.randint(1, 999), r.choice(["SMI", "MÜL", "GAR"]))),
    ("2", lambda r: "W%s %d .%s%d" % (r.choice(["B", "G", "Z", "S"]), r.randint(100, 999),
                                      r.choice("ABCDE"), r.randint(1, 99))),
    ("3", lambda r: "%s %d.%d:%d/%d" % (r.choice(["Y 4.", "I 19.", "C 3.", "HE 20."]), r.randint(1, 200),
                                        r.randint(1, 99), r.randint(1, 999), r.randint(1, 9))),
    ("8", lambda r: "%s %d" % (r.choice(["Folio", "Kasten", "Шкаф", "Mikrofilm"]), r.randint(1, 500))),
]
CAT_PROFILES = [
    # id, name, BIB_ADD .. AUTH_DELETE (twelve)
    (1, "Cataloguer", ["Y"] * 12),
    (2, "Student", ["Y", "N", "y", None, "Yes", "N", "N", "N", "N", "N", "N", "Y"]),
    (3, "Holdings", ["N", "N", "N", "Y", "Y", "Y", "Y", "Y", "N", "N", "N", "N"]),
]
CAT_OPERATORS = [("cat01", 1), ("o'neill", 2), ("hold01", 3), ("nolocs", 4)]
# Profile locations, one listed twice; the cataloguing policy of each location.
CAT_SECURITY_LOCS = [(1, 1), (1, 3), (1, 8), (1, 3), (2, 4), (3, 1), (3, 2), (3, 5)]
CAT_POLICY_LOCS = [(1, "Y"), (2, "N"), (3, "Y"), (4, "y"), (5, None), (8, "Yes")]


def read_records(name):
    with open(os.path.join(RECORDS_DIR, name), "rb") as f:
        return [r + b"\x1d" for r in f.read().split(b"\x1d")[:-1]]


def parse_record(raw):
    base = int(raw[12:17])
    fields = []
    directory = raw[24:base - 1]
    for i in range(0, len(directory), 12):
        tag = directory[i:i + 3].decode()
        length, start = int(directory[i + 3:i + 7]), int(directory[i + 7:i + 12])
        fields.append((tag, raw[base + start:base + start + length - 1]))
    return raw[:24], fields


def build_record(leader, fields):
    directory, body = b"", b""
    for tag, content in fields:
        content += b"\x1e"
        directory += tag.encode() + b"%04d%05d" % (len(content), len(body))
        body += content
    directory += b"\x1e"
    base = 24 + len(directory)
    return b"%05d" % (base + len(body) + 1) + leader[5:12] + b"%05d" % base + leader[17:] + directory + body + b"\x1d"


def with_field(fields, tag, content):
    """The fields with one more, placed in tag order."""
    at = next((i for i, (t, _) in enumerate(fields) if t > tag and t != "880"), len(fields))
    return fields[:at] + [(tag, content)] + fields[at:]


def shaped(leader, fields, width, shape, rng):
    """The record, with a note that gives it the wanted length: "exact" a
    multiple of the segment width, "over" one octet more, "blanks" a run of
    blanks across a segment boundary, "long" more than ten segments."""
    record = build_record(leader, fields)
    if shape == "plain":
        return record
    if shape == "long":
        while len(record) <= 10 * width:
            text = " ".join(rng.choice(TITLE_WORDS_ASCII) for _ in range(min(width, 900) // 6))
            fields = with_field(fields, "500", b"  \x1fa" + text.encode())
            record = build_record(leader, fields)
        return record
    if shape in ("exact", "over"):
        grown = len(record) + 13 + 20
        target = -(-grown // width) * width + (1 if shape == "over" else 0)
        size = target - len(record) - 13
        return build_record(leader, with_field(fields, "500", b"  \x1fa" + b"n" * (size - 4)))
    # blanks: a note of more than one width, its blank run centred on a boundary
    size = width + 60
    marker = b"\x1fa" + b"#" * (size - 4)
    probe = build_record(leader, with_field(fields, "500", b"  " + marker))
    start = probe.index(marker) + 2
    boundary = -(-(start + 20) // width) * width
    before = boundary - 15 - start
    text = b"m" * before + b" " * 30
    text += b"m" * (size - 4 - len(text))
    return build_record(leader, with_field(fields, "500", b"  \x1fa" + text))


def stored_segments(record, width, strip_blanks):
    parts = [record[i:i + width] for i in range(0, len(record), width)]
    if strip_blanks:
        parts = [p.rstrip(b" ") if i < len(parts) - 1 else p for i, p in enumerate(parts)]
    return parts


# A varying title that the first record gains: its heading form is longer
# than the 150 octets the bibliographic heading search keeps, and the cut
# falls inside a Cyrillic letter.
LONG_CYRILLIC_TITLE = ("246", ("1 \x1faЕвгений Онегин : лирические сцены в трех действиях и семи картинах, либретто "
                               "К. С. Шиловского и П. И. Чайковского по роману в стихах А. С. Пушкина").encode())

TITLE_WORDS_ASCII = ["history", "music", "river", "garden", "letters", "voyage", "kingdom", "light", "opera"]


def history(rng, updates_max=3):
    """Creation (type 1, sometimes missing) and 0 to 3 later actions of other types."""
    rows = []
    day = rng.randint(0, 9000)
    def stamp(d):
        y, rest = divmod(d, 360)
        return "%04d-%02d-%02d %02d:%02d:%02d" % (1995 + y, rest // 30 + 1, rest % 30 + 1,
                                                  rng.randint(0, 23), rng.randint(0, 59), rng.randint(0, 59))
    if rng.random() < 0.9:
        rows.append((stamp(day), rng.choice(OPERATORS), 1))
    for _ in range(rng.randint(0, updates_max)):
        day += rng.randint(1, 400)
        rows.append((stamp(day), rng.choice(OPERATORS), rng.choice([2, 3, 4])))
    rng.shuffle(rows)
    return rows


def history_expected(rows):
    created = [r for r in rows if r[2] == 1]
    updated = sorted((r for r in rows if r[2] != 1), key=lambda r: r[0], reverse=True)
    c = created[0] if created else ("", "", 1)
    u = updated[0] if updated else ("", "", 0)
    return [c[0], c[1], u[0], u[1]]


def charset_of(record):
    return "U" if record[9:10] == b"a" else "M"


def records_section(count, rng, tool=None):
    """Rows of the record tables and the reference tables, by table, and the
    manifest: one line per record with what the reader should find. Normal
    forms come from the project's tool (tools/normal_forms), run once."""
    forms = NormalForms(tool or default_tool())
    headings = HeadingIndexes(forms)
    t = {name: [] for name in ("LOCATION", "LIBRARY", "BIB_MASTER", "BIB_DATA", "BIB_HISTORY", "AUTH_MASTER", "AUTH_DATA",
                               "AUTH_HISTORY", "MFHD_MASTER", "MFHD_DATA", "MFHD_HISTORY", "BIB_MFHD", "MFHD_ITEM",
                               "CAT_OPERATOR", "CAT_PROFILE", "CAT_SECURITY_LOCS", "CAT_POLICY_LOCS")}
    manifest = []
    t["LOCATION"] = [(*location, "N") for location in LOCATIONS]
    t["LIBRARY"] = list(LIBRARIES)
    t["CAT_PROFILE"] = [(pid, name, *flags) for pid, name, flags in CAT_PROFILES]
    t["CAT_OPERATOR"] = list(CAT_OPERATORS)
    t["CAT_SECURITY_LOCS"] = list(CAT_SECURITY_LOCS)
    t["CAT_POLICY_LOCS"] = list(CAT_POLICY_LOCS)
    for lib in LIBRARIES:
        manifest.append(["library", str(lib[0]), lib[1], lib[2], lib[3] or ""])

    bib_pool = read_records("bib-utf8.mrc") + read_records("bib-marc8.mrc") + read_records("microlif.mrc")
    auth_pool = read_records("auth-utf8.mrc") + read_records("auth-marc8.mrc")
    shapes = ["plain"] * 10 + ["exact", "over", "blanks", "blanks"] + ["long"]

    def vary(raw, number, width, shape, extra=()):
        leader, fields = parse_record(raw)
        fields = [(tag, c) for tag, c in fields if tag not in ("001", "005")]
        stamp = "%04d%02d%02d%02d%02d%02d.0" % (rng.randint(1995, 2024), rng.randint(1, 12), rng.randint(1, 28),
                                               rng.randint(0, 23), rng.randint(0, 59), rng.randint(0, 59))
        fields = [("001", str(number).encode()), ("005", stamp.encode())] + fields
        for tag, content in extra:
            fields = with_field(fields, tag, content)
        return shaped(leader, fields, width, shape, rng)

    def store(table, key, number, record, width, shape):
        for seq, seg in enumerate(stored_segments(record, width, shape == "blanks"), 1):
            t[table].append((number, seq, seg))

    bib_ids = []
    for n in range(count):
        bib = FIRST_RECORD_BIB_ID + n
        bib_ids.append(bib)
        shape = shapes[n % len(shapes)] if n < 2 * len(shapes) else rng.choice(shapes)
        record = vary(bib_pool[n % len(bib_pool)] if n < len(bib_pool) else rng.choice(bib_pool), bib, 990, shape,
                      [LONG_CYRILLIC_TITLE] if n == 0 else [])
        store("BIB_DATA", "BIB_ID", bib, record, 990, shape)
        headings.collect_bib(bib, record)
        library = OWNING_LIBRARY_IDS[n % len(OWNING_LIBRARY_IDS)]
        suppress = BIB_SUPPRESS[n % len(BIB_SUPPRESS)]
        t["BIB_MASTER"].append((bib, library, suppress))
        rows = history(rng)
        t["BIB_HISTORY"] += [(bib, *r) for r in rows]
        manifest.append(["bib", str(bib), charset_of(record), record.hex().upper(),
                         "0" if (suppress or "").startswith("N") else "1", "" if library is None else str(library)]
                        + history_expected(rows))

    for n in range(max(1, count // 10)):
        auth = FIRST_AUTH_ID + n
        shape = shapes[n % len(shapes)]
        record = vary(auth_pool[n % len(auth_pool)], auth, 990, shape)
        store("AUTH_DATA", "AUTH_ID", auth, record, 990, shape)
        headings.collect_auth(auth, record)
        t["AUTH_MASTER"].append((auth,))
        rows = history(rng)
        t["AUTH_HISTORY"] += [(auth, *r) for r in rows]
        manifest.append(["auth", str(auth), charset_of(record), record.hex().upper()] + history_expected(rows))

    item = FIRST_RECORD_ITEM_ID
    for n in range(count * 6 // 5):
        mfhd = FIRST_RECORD_MFHD_ID + n
        bib = bib_ids[n % len(bib_ids)]
        linked = [bib]
        if n % 9 == 4 and len(bib_ids) > 1:
            linked.append(rng.choice([b for b in bib_ids if b != bib]))
        type_code, maker = CALL_NUMBER_TYPES[n % len(CALL_NUMBER_TYPES)]
        display = maker(rng)
        location = None if n % 97 == 50 else rng.choice(LOCATIONS)
        marc8 = n % 4 == 3
        code = location[1] if location else "none"
        if marc8:
            display = display.encode("ascii", "replace").decode()
            code = code.encode("ascii", "replace").decode()
        normalized = forms.call(type_code, display)  # a slot, answered below
        raw = holdings_record(mfhd, bib, code, display)
        leader, fields = parse_record(raw)
        fields[-1] = ("852", type_code.encode() + fields[-1][1][1:])
        if marc8:
            leader = leader[:9] + b" " + leader[10:]
        shape = ["plain", "plain", "exact", "over", "blanks", "long"][n % 6]
        record = shaped(leader, fields, 300, shape, rng)
        store("MFHD_DATA", "MFHD_ID", mfhd, record, 300, shape)
        suppress = HOLD_SUPPRESS[n % len(HOLD_SUPPRESS)]
        t["MFHD_MASTER"].append((mfhd, location[0] if location else None, suppress, type_code, display, normalized))
        t["BIB_MFHD"] += [(b, mfhd) for b in linked]
        rows = history(rng)
        t["MFHD_HISTORY"] += [(mfhd, *r) for r in rows]
        items = []
        for _ in range(n % 4):
            items.append(item)
            t["MFHD_ITEM"].append((mfhd, item, None, None, None, None, None))
            item += 1
        manifest.append(["hold", str(mfhd), charset_of(record), record.hex().upper(), str(min(linked)),
                         "1" if len(linked) > 1 else "0", "1" if (suppress or "").upper().startswith("Y") else "0",
                         str(location[0]) if location else "", normalized, display, type_code]
                        + history_expected(rows) + [" ".join(str(i) for i in items),
                                                    " ".join(str(b) for b in sorted(linked)),
                                                    location[1] if location else "", location[3] if location else ""])
    forms.run()
    # The holdings' normal call numbers, as the normal call-number search compares them.
    for n, row in enumerate(t["MFHD_MASTER"]):
        t["MFHD_MASTER"][n] = row[:5] + (forms[row[5]],)
    for line in manifest:
        if line[0] == "hold":
            line[8] = forms[line[8]]
    headings.finish(t, FIRST_AUTH_ID, max(1, count // 10))
    add_number_indexes(t)
    return t, manifest


def sql_literal(value):
    if value is None:
        return "NULL"
    if isinstance(value, TextOctets):
        return "CAST(X'" + value.hex().upper() + "' AS TEXT)"
    if isinstance(value, bytes):
        return "X'" + value.hex().upper() + "'"
    if isinstance(value, int):
        return str(value)
    return "'" + value.replace("'", "''") + "'"


def write_records_sql(path, tables, manifest):
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        out.write("-- Made by tools/demo/make_demo.py --sql-out: stored records and their rows.\nBEGIN;\n")
        for table, rows in tables.items():
            for row in rows:
                out.write("INSERT INTO %s VALUES (%s);\n" % (table, ", ".join(sql_literal(v) for v in row)))
        out.write("COMMIT;\n")
    with open(os.path.splitext(path)[0] + ".tsv", "w", encoding="utf-8", newline="\n") as out:
        for line in manifest:
            out.write("\t".join(line) + "\n")


def insert_records(db, tables):
    for table, rows in tables.items():
        if rows:
            octets = {i for row in rows for i, value in enumerate(row) if isinstance(value, TextOctets)}
            marks = ", ".join("CAST(? AS TEXT)" if i in octets else "?" for i in range(len(rows[0])))
            db.executemany("INSERT INTO %s VALUES (%s)" % (table, marks), rows)


# ----------------------------------------------------------------------------------------------
# The stored password: one number per character of a decoded text, the length
# (plus 70) at the fifth place; odd places hold the code plus 5, even places
# the code minus 5. A password shorter than 10 is the end of the decoded text.

def scramble_password(password, rng):
    if len(password) >= 10:
        chars = list(password)
    else:
        chars = [rng.choice("abcdefghijkmnpqrstuvwxyz") for _ in range(4)] + list(password)
    numbers = []
    place = 0
    queue = list(chars)
    while queue or place < 5:
        place += 1
        if place == 5:
            numbers.append(len(password) + 70)
            continue
        if not queue:
            break
        code = ord(queue.pop(0))
        numbers.append(code + 5 if place % 2 == 1 else code - 5)
    return " ".join(str(n) for n in numbers)


# ----------------------------------------------------------------------------------------------
# Sounds: 16-bit mono WAV files.

def write_wav(path, notes, rate=22050):
    frames = bytearray()
    for freq, seconds, shape in notes:
        n = int(rate * seconds)
        for i in range(n):
            t = i / rate
            env = min(1.0, i / 200.0) * min(1.0, (n - i) / 400.0)
            if shape == "sine":
                v = math.sin(2 * math.pi * freq * t) * math.exp(-3.0 * t)
            else:  # a buzz: a few odd harmonics
                v = sum(math.sin(2 * math.pi * freq * k * t) / k for k in (1, 3, 5, 7)) * 0.8
            frames += struct.pack("<h", int(11000 * env * v))
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(rate)
        out.writeframes(bytes(frames))


# ----------------------------------------------------------------------------------------------

def write_text(path, text):
    with open(path, "w", encoding="utf-8", newline="") as out:
        out.write(text)


def build_database(path, schema_file, items, records, rng, tool=None):
    if os.path.exists(path):
        os.remove(path)
    db = sqlite3.connect(path)
    db.execute("PRAGMA journal_mode = OFF")
    db.execute("PRAGMA synchronous = OFF")
    with open(schema_file, encoding="utf-8") as f:
        db.executescript(f.read())

    db.execute("INSERT INTO VERSIONS VALUES ('DATABASE', '2001.2.0')")
    db.execute("INSERT INTO VERSIONS VALUES ('CAT', '2001.2.0')")
    db.execute("INSERT INTO BASE_CURRENCY VALUES ('United States', 'USD', 'US Dollar', 2, '.')")
    db.executemany("INSERT INTO ITEM_TYPE VALUES (?, ?)", ITEM_TYPES)
    db.executemany("INSERT INTO ITEM_STATUS_TYPE VALUES (?, ?)", ITEM_STATUS_TYPES)

    # Kinds of item, by share of the collection; the first few of each kind are
    # fixed so that the demo's list of barcodes does not depend on chance.
    kinds = ["ordinary"] * 30 + ["carrel"] * 6 + ["free"] * 58 + ["several"] * 6
    fixed = ["ordinary", "carrel", "free", "several"] * 5

    bib_rows, bib_data, mfhd_master, mfhd_data, bib_mfhd = [], [], [], [], []
    item_rows, barcode_rows, mfhd_item, status_rows, bib_item, note_rows, circ_rows = [], [], [], [], [], [], []
    examples = {"ordinary": [], "carrel": [], "free": [], "several": [], "note": [], "location": []}

    bib_id = FIRST_BIB_ID - 1
    mfhd_id = 900000
    item_id = FIRST_ITEM_ID - 1
    serial = 0
    batch = 50000

    def flush():
        db.executemany("INSERT INTO BIB_MASTER VALUES (?, 1, 'N')", bib_rows)
        db.executemany("INSERT INTO BIB_DATA VALUES (?, ?, ?)", bib_data)
        db.executemany("INSERT INTO MFHD_MASTER VALUES (?, ?, 'N', '0', ?, ?)", mfhd_master)
        db.executemany("INSERT INTO MFHD_DATA VALUES (?, ?, ?)", mfhd_data)
        db.executemany("INSERT INTO BIB_MFHD VALUES (?, ?)", bib_mfhd)
        db.executemany("INSERT INTO ITEM VALUES (?, ?, ?, ?, ?, ?, NULL, 1, ?, NULL, 'N', 'Y', ?, ?, 'loader', ?)",
                       item_rows)
        db.executemany("INSERT INTO ITEM_BARCODE VALUES (?, ?, ?, ?)", barcode_rows)
        db.executemany("INSERT INTO MFHD_ITEM VALUES (?, ?, ?, NULL, ?, NULL, NULL)", mfhd_item)
        db.executemany("INSERT INTO ITEM_STATUS VALUES (?, ?)", status_rows)
        db.executemany("INSERT INTO BIB_ITEM VALUES (?, ?)", bib_item)
        db.executemany("INSERT INTO ITEM_NOTE VALUES (?, ?)", note_rows)
        db.executemany("INSERT INTO CIRC_TRANSACTIONS VALUES (?, ?)", circ_rows)
        for rows in (bib_rows, bib_data, mfhd_master, mfhd_data, bib_mfhd, item_rows, barcode_rows, mfhd_item,
                     status_rows, bib_item, note_rows, circ_rows):
            rows.clear()

    made = 0
    while made < items:
        bib_id += 1
        mfhd_id += 1
        location = rng.choice(LOCATIONS)
        title = " ".join(rng.choice(TITLE_WORDS) for _ in range(rng.randint(2, 5))).capitalize()
        author = rng.choice(AUTHORS)
        year = rng.randint(1890, 2024)
        call_number = "%s%d .%s%d %d" % (rng.choice("ABDEGHNPQ"), rng.randint(1, 9999),
                                         rng.choice("ABCDEFGHKLMNPRSTW"), rng.randint(10, 99), year)
        bib_rows.append((bib_id,))
        for seq, seg in enumerate(segments(bib_record(bib_id, title, author, year), 990), 1):
            bib_data.append((bib_id, seq, seg))
        mfhd_master.append((mfhd_id, location[0], call_number, call_number.upper()))
        for seq, seg in enumerate(segments(holdings_record(mfhd_id, bib_id, location[1], call_number), 300), 1):
            mfhd_data.append((mfhd_id, seq, seg))
        bib_mfhd.append((bib_id, mfhd_id))

        for copy in range(1, rng.choice((1, 1, 1, 2, 3)) + 1):
            if made >= items:
                break
            item_id += 1
            kind = fixed[made] if made < len(fixed) else rng.choice(kinds)
            made += 1
            serial += 1
            code = barcode(serial)
            created = "%04d-%02d-%02d 10:%02d:00" % (rng.randint(1995, 2023), rng.randint(1, 12),
                                                     rng.randint(1, 28), rng.randint(0, 59))
            modified = created if rng.random() < 0.5 else None
            item_rows.append((item_id, location[0], location[0] if rng.random() < 0.05 else 0, copy,
                              "", rng.choice(ITEM_TYPES)[0], rng.randint(500, 12000), created, modified,
                              None if modified is None else "circ01"))
            barcode_rows.append((item_id, code, 1, created))
            if kind == "several":
                # Earlier barcodes, replaced: the item answers to each of them.
                for _ in range(rng.randint(1, 2)):
                    serial += 1
                    old = barcode(serial)
                    barcode_rows.append((item_id, old, 2, created))
                    examples["several"].append((old, code))
            mfhd_item.append((mfhd_id, item_id, "v.%d" % copy if copy > 1 else None, str(year)))
            bib_item.append((bib_id, item_id))
            if kind in ("ordinary", "carrel", "several") and not (kind == "several" and rng.random() < 0.5):
                group = rng.choice(CARREL_GROUPS if kind == "carrel" else ORDINARY_GROUPS)
                circ_rows.append((item_id, group))
                status_rows.append((item_id, 2))
                if kind != "several":
                    examples[kind].append((code, group))
            else:
                status_rows.append((item_id, 1))
                if kind == "free":
                    examples["free"].append((code, None))
            if rng.random() < 0.1 or made <= 3:
                note = rng.choice(NOTES)
                note_rows.append((item_id, note))
                examples["note"].append((code, note))
            if location[0] in (3, 4, 5, 6, 8):
                examples["location"].append((code, location[2]))
        if len(item_rows) >= batch:
            flush()
    flush()
    insert_records(db, records_section(records, random.Random(rng.random()), tool)[0])
    db.commit()
    db.execute("ANALYZE")
    db.commit()
    db.close()
    examples["serials"] = serial
    return examples


def demo_barcode_list(examples, circ_groups_of):
    lines = ["# Demo barcodes of the exit-check program: barcode, then the verdict it gives.", ""]

    def show(title, rows, verdict, count=3):
        lines.append("## " + title)
        for row in rows[:count]:
            lines.append("%s   %s" % (row[0], verdict(row)))
        lines.append("")

    show("Charged to an ordinary patron group: green", examples["ordinary"],
         lambda r: "green  Item OK to leave building (patron group %d)" % r[1])
    show("Charged to a carrel group (excluded): red", examples["carrel"],
         lambda r: "red    Carrel charge; may not leave building (patron group %d)" % r[1])
    show("Not charged: red", examples["free"], lambda r: "red    Item not checked out")
    show("An item's earlier barcode (items with several barcodes)", examples["several"],
         lambda r: "%-6s same item as %s" % (circ_groups_of(r[1]), r[1]))
    show("Items with a non-ASCII note", examples["note"], lambda r: "note: " + r[1])
    show("Items in a location with a non-ASCII name", examples["location"], lambda r: "location: " + r[1])
    lines.append("## Barcodes that are not in the database or not acceptable")
    lines.append("%s   red    Barcode not in Voyager (a 14-digit barcode that no item has)" % barcode(99999999, "39999"))
    lines.append("3123400000A017   red    Item barcode not acceptable (a letter in it)")
    lines.append("(empty)          red    No barcode supplied (press Enter on an empty box)")
    lines.append("")
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--schema")
    parser.add_argument("--driver", help="the SQLite ODBC driver library")
    parser.add_argument("--extension", help="the compatibility extension (libcompat.so)")
    parser.add_argument("--out")
    parser.add_argument("--items", type=int, default=3000)
    parser.add_argument("--records", type=int, default=200,
                        help="stored bibliographic records (with 6/5 as many holdings and 1/10 as many "
                             "authorities), varied from testdata/records/")
    parser.add_argument("--sql-out", help="write only the stored records and their rows, as SQL for a "
                                           "database made from the schema, to this file, and beside it "
                                           "(.tsv) one line per record with what a reader should find")
    parser.add_argument("--seed", type=int, default=7)
    parser.add_argument("--normal-forms", help="the project's normal forms tool (default: $EXITDESK_NORMAL_FORMS, "
                                               "else build/bin/normal_forms of the source tree)")
    parser.add_argument("--seconds-before-reset", type=int, default=3)
    parser.add_argument("--sample-barcodes", type=int, default=0,
                        help="also write sample-barcodes.txt: this many scans for a benchmark, "
                             "one in twenty of a barcode that no item has")
    args = parser.parse_args()

    rng = random.Random(args.seed)
    if args.sql_out:
        write_records_sql(args.sql_out, *records_section(args.records, rng, args.normal_forms))
        return 0
    if not (args.schema and args.driver and args.extension and args.out):
        parser.error("--schema, --driver, --extension and --out are needed to build a demo library")
    out = os.path.abspath(args.out)
    settings = os.path.join(out, "settings")
    sounds = os.path.join(out, "sounds")
    for folder in (out, settings, sounds):
        os.makedirs(folder, exist_ok=True)

    db_path = os.path.join(out, "library.db")
    examples = build_database(db_path, args.schema, args.items, args.records, rng, args.normal_forms)

    write_text(os.path.join(out, "odbcinst.ini"),
               "[ExitDesk SQLite3]\nDescription=SQLite3 ODBC driver\nDriver=%s\nDontDLClose=1\n" % os.path.abspath(args.driver))
    write_text(os.path.join(out, "odbc.ini"),
               "[%s]\nDescription=Demo library (SQLite)\nDriver=ExitDesk SQLite3\nDatabase=%s\nLoadExt=%s\n"
               "NoCreat=1\nTimeout=5000\n" % (DSN, db_path, os.path.abspath(args.extension)))

    good = os.path.join(sounds, "good.wav")
    bad = os.path.join(sounds, "bad.wav")
    write_wav(good, [(1046.5, 0.12, "sine"), (1318.5, 0.12, "sine"), (1568.0, 0.25, "sine")])
    write_wav(bad, [(196.0, 0.45, "buzz")])

    groups = ", ".join(str(g) for g in CARREL_GROUPS)
    write_text(os.path.join(settings, "ClearedForExit.INI"),
               "[Connection]\r\nDSN=%s\r\nTNP=main\r\n\r\n[Read]\r\nUID=%s\r\nPWD=%s\r\n\r\n"
               "[Behavior]\r\nGood=%s\r\nBad=%s\r\nSecondsBeforeReset=%d\r\n\r\n"
               "[Circulation]\r\nPatronGroupsExcluded=%s\r\n\r\n"
               "[Texts]\r\nProgramDisplayTitle=Cleared for exit? (demo library)\r\n"
               % (DSN, USER, scramble_password(PASSWORD, rng), good, bad, args.seconds_before_reset, groups))
    write_text(os.path.join(settings, "VGERREAD.INI"),
               "[General]\r\nSettingsAreAutomatic=TRUE\r\nDebuggingOn=FALSE\r\n")

    db = sqlite3.connect(db_path)

    def verdict_of(active_barcode):
        row = db.execute("SELECT c.PATRON_GROUP_ID FROM ITEM_BARCODE b JOIN CIRC_TRANSACTIONS c "
                         "ON c.ITEM_ID = b.ITEM_ID WHERE b.ITEM_BARCODE = ?", (active_barcode,)).fetchone()
        if row is None:
            return "red"
        return "red" if row[0] in CARREL_GROUPS else "green"

    write_text(os.path.join(out, "demo-barcodes.txt"), demo_barcode_list(examples, verdict_of))
    db.close()
    if args.sample_barcodes:
        sample = []
        for _ in range(args.sample_barcodes):
            serial = rng.randint(1, examples["serials"])
            sample.append(barcode(serial, "39999") if rng.random() < 0.05 else barcode(serial))
        write_text(os.path.join(out, "sample-barcodes.txt"), "\n".join(sample) + "\n")
    print("Demo library: %d items in %s" % (args.items, out))


if __name__ == "__main__":
    sys.exit(main())
