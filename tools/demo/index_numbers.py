"""Index rows of the generated records that the number searches read: the
call-number types of the library (unlike the reader's built-in rows: no "c",
a local "8" source, and the codes "5" and "b" of its own), the bibliographic
index's call-number entries of each holdings record, and electronic links with
duplicates, escaped blanks, underscores and apostrophes. Deterministic: it
draws no random numbers, so the rest of the generated data stays as it was."""

CALL_NO_TYPES = [("0", "lcc"), ("1", "ddc"), ("2", "nlm"), ("3", "sudocs"), ("8", "local"), ("5", "udc"),
                 ("b", "cambrdg")]
CALL_NUMBER_INDEX_CODES = {"0": "0500", "1": "0820", "2": "0600", "3": "0700"}


def cut_octets(text, limit=150):
    return text.encode("utf-8")[:limit].decode("utf-8", "ignore")


def add_number_indexes(t):
    """Adds CALL_NO_TYPE, BIB_INDEX and ELINK_INDEX rows to the tables t."""
    t["CALL_NO_TYPE"] = list(CALL_NO_TYPES)
    bibs_of = {}
    for bib, mfhd in t["BIB_MFHD"]:
        bibs_of.setdefault(mfhd, []).append(bib)
    index = t.setdefault("BIB_INDEX", [])
    for mfhd, _location, _suppress, type_code, display, normalized in t["MFHD_MASTER"]:
        code = CALL_NUMBER_INDEX_CODES.get(type_code, "090A")
        for bib in bibs_of.get(mfhd, []):
            index.append((bib, code, cut_octets(normalized), display))
    links = t.setdefault("ELINK_INDEX", [])
    for n, bib in enumerate(sorted({b for b, _ in t["BIB_MFHD"]})[:8]):
        links.append((bib, "B", "http://example.org/record/%d" % bib))
        links.append((bib, "B", "http://example.org/record/%d" % bib))  # a duplicate
        links.append((bib, "B", ["http://example.org/a%20b/", "http://example.org/a_b/",
                                 "http://example.org/o'brien/", "http://example.org/axb/"][n % 4] + str(bib)))
