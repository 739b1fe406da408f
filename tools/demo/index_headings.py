"""Heading and standard-number index rows of the generated records: the
bibliographic index's headings (under the index codes of the reader's five
heading lists) and standard numbers (010, 020, 022, 024, 028, 035), the
authority index's numbers (A10A, A10Z, A35A), the heading table with its
bibliographic and authority links, and the subdivisions of subject headings
(authorized or not) with their links.

Display texts are the headings' subfields as stored; every normal column is
the project's own normal form of that text (tools/normal_forms), so the
reader's searches find the rows. Fields of a MARC-8 record are indexed only
when they are plain ASCII (the same octets in UTF-8). Deterministic: it draws
no random numbers, so the rest of the generated data stays as it was.

Choices of this generator (the searches take the values as they find them):
INDEX_TYPE "A" names, "T" uniform titles and series, "S" subjects;
HEADING_TYPE "p", "c", "m" for personal, corporate and meeting names, "u" for
uniform titles, and a subject's thesaurus (its second indicator) for subjects
and their subdivisions; REFERENCE_TYPE "A" an authority's own heading, "S" a
see reference (4XX), "R" a see-also reference (5XX); a subdivision is
authorized when it is topical or a form ($x, $v) and not when chronological or
geographic ($y, $z); STAFFREFS counts a heading's authority links and is NULL
without any; OPACBIBS counts the records not suppressed, STAFFBIBS all."""

DELIMITER = b"\x1f"

# Bibliographic index codes: a heading tag's code ends in "H", a title's in "0";
# a topical subject's in its thesaurus digit.
H_CODE_TAGS = {"100", "110", "111", "400", "410", "411", "600", "610", "611", "630", "651", "654", "655",
               "700", "710", "711", "800", "810", "811"}
ZERO_CODE_TAGS = {"130", "210", "211", "212", "214", "222", "240", "245", "246", "247", "440", "730", "740",
                  "760", "762", "767", "772", "773", "780", "785", "830"}
# Tags whose headings go into the heading table, with their index and heading types.
HEADING_TAGS = {}
for _tags, _index_type, _heading_type in (
        (("100", "400", "500", "700", "800"), "A", "p"), (("110", "410", "510", "710", "810"), "A", "c"),
        (("111", "411", "511", "711", "811"), "A", "m"), (("130", "240", "430", "440", "530", "730", "830"), "T", "u"),
        (("600", "610", "611", "630", "650", "651", "655"), "S", None), (("150", "151", "155", "450", "451", "550",
                                                                          "551"), "S", "0")):
    for _tag in _tags:
        HEADING_TAGS[_tag] = (_index_type, _heading_type)
# Of a bibliographic record: names, uniform titles, series and subjects (4XX and 5XX are notes there, but 440).
BIB_HEADING_TAGS = {tag for tag in HEADING_TAGS if tag[0] in "12678" or tag == "440"}
AUTHORITY_HEADING_TAGS = {"100", "110", "111", "130", "150", "151", "155"}

BIB_NUMBER_CODES = {"010": "az", "020": "az", "022": "ayz", "024": "az", "028": "a", "035": "az9"}
AUTH_NUMBER_CODES = {("010", "a"): "A10A", ("010", "z"): "A10Z", ("035", "a"): "A35A"}
SUBDIVISION_CODES = "vxyz"
AUTHORIZED_SUBDIVISION_CODES = "vx"

ALL_LETTERS = "abcdefghijklmnopqrstuvwxyz"


def counting_codes(record_format, tag):
    """The subfields that make up a heading of that tag, as the field normal form counts them."""
    if record_format == "A":
        for tags, codes in ((("100", "400", "500", "700"), "abcdfgklmnoprsqt"),
                            (("110", "410", "510", "710"), "abcdfgklmnoprst"),
                            (("111", "411", "511", "711"), "acdefgklnpsqt"),
                            (("130", "430", "530", "730"), "adfgklmnoprst"), (("150", "450", "550", "750"), "abcd"),
                            (("151", "451", "551", "751"), "a"), (("155", "455", "555", "755"), "ab")):
            if tag in tags:
                return codes + "vxyz"
        return ALL_LETTERS
    codes = ALL_LETTERS
    for tags, listed in ((("100", "400", "500", "600", "700", "800"), "abcdfgklmnoprsqt"),
                         (("110", "410", "510", "610", "710", "810"), "abcdfgklmnoprst"),
                         (("111", "411", "511", "611", "711", "811"), "acdefgklnpsqt"),
                         (("130", "440", "490", "530", "630", "730", "830"), "adfgklmnoprst"),
                         (("210", "211", "245", "246", "740"), "abnp"), (("650",), "abcd"), (("651",), "a"),
                         (("655",), "ab")):
        if tag in tags:
            codes = listed
            break
    return codes + "vxyz" if tag.startswith("6") and codes != ALL_LETTERS else codes


def cut_octets(text, limit):
    return text.encode("utf-8")[:limit].decode("utf-8", "ignore")


def fields_of(raw):
    """(tag, indicators, [(code, text)]) of each data field that can be read as UTF-8 text."""
    utf8 = raw[9:10] == b"a"
    base = int(raw[12:17])
    directory = raw[24:base - 1]
    out = []
    for i in range(0, len(directory), 12):
        tag = directory[i:i + 3].decode()
        length, start = int(directory[i + 3:i + 7]), int(directory[i + 7:i + 12])
        content = raw[base + start:base + start + length - 1]
        if tag.startswith("00") or len(content) < 3:
            continue
        if not utf8 and any(b >= 0x80 or b == 0x1B for b in content):
            continue
        try:
            parts = content[2:].split(DELIMITER)
            subfields = [(p[:1].decode(), p[1:].decode("utf-8")) for p in parts[1:] if p]
        except UnicodeDecodeError:
            continue
        out.append((tag, content[:2].decode("latin-1"), subfields))
    return out


def linked_tag(tag, subfields):
    """An 880's tag is the one its $6 names."""
    if tag != "880":
        return tag
    six = next((text for code, text in subfields if code == "6"), "")
    return six[:3] if len(six) >= 3 and six[:3].isdigit() else None


def display_of(record_format, tag, subfields):
    """The heading's counting subfields: subdivisions after "--", the others after a blank."""
    codes = counting_codes(record_format, tag)
    text = ""
    for code, value in subfields:
        value = value.strip()
        if code not in codes or not value:
            continue
        if not text:
            text = value
        elif code in SUBDIVISION_CODES:
            text += "--" + value
        else:
            text += " " + value
    return text


def bib_index_code(tag, indicators):
    if tag in H_CODE_TAGS:
        return tag + "H"
    if tag in ZERO_CODE_TAGS:
        return tag + "0"
    if tag == "650" and indicators[1:2] in tuple("01234567"):
        return "650" + indicators[1]
    return None


class HeadingIndexes:
    """Asks for the normal forms of every heading, number and subdivision
    (collect), then, once they are answered, writes the rows (finish)."""

    def __init__(self, forms):
        self.forms = forms
        self.bib_index = []       # (bib, code, slot, display)
        self.auth_index = []      # (auth, code, slot, display)
        self.headings = []        # (kind, record, index_type, heading_type, slot, display, reference_type, scope, main)
        self.subdivisions = []    # (bib, heading entry, code, heading_type, slot, display)

    def collect_bib(self, bib, raw):
        for tag, indicators, subfields in fields_of(raw):
            if tag in BIB_NUMBER_CODES:
                for code, value in subfields:
                    if code in BIB_NUMBER_CODES[tag] and value.strip():
                        self.bib_index.append((bib, tag + code.upper(), self.forms.standard(tag, value), value))
                continue
            tag = linked_tag(tag, subfields)
            if tag is None:
                continue
            display = display_of("B", tag, subfields)
            if not display:
                continue
            code = bib_index_code(tag, indicators)
            if code:
                self.bib_index.append((bib, code, self.forms.bib(tag, indicators, display), cut_octets(display, 300)))
            if tag in BIB_HEADING_TAGS:
                index_type, heading_type = HEADING_TAGS[tag]
                heading_type = heading_type or (indicators[1:2].strip() or "0")
                entry = ("B", bib, index_type, heading_type, self.forms.heading(display), cut_octets(display, 300),
                         None, None, None)
                self.headings.append(entry)
                if index_type == "S":
                    for sub_code, value in subfields:
                        if sub_code in SUBDIVISION_CODES and value.strip():
                            self.subdivisions.append((bib, len(self.headings) - 1, sub_code, heading_type,
                                                      self.forms.heading(value), value.strip()))

    def collect_auth(self, auth, raw):
        fields = fields_of(raw)
        scope = "Y" if any(tag == "680" for tag, _, _ in fields) else "N"
        main = None
        for tag, indicators, subfields in fields:
            for code, value in subfields:
                if (tag, code) in AUTH_NUMBER_CODES and value.strip():
                    self.auth_index.append((auth, AUTH_NUMBER_CODES[(tag, code)], self.forms.standard(tag, value),
                                            value))
            kind = tag[0]
            if kind not in "145" or tag[1:] not in {t[1:] for t in AUTHORITY_HEADING_TAGS}:
                continue
            display = display_of("A", tag, subfields)
            if not display:
                continue
            index_type, heading_type = HEADING_TAGS.get("1" + tag[1:], ("A", "p"))
            heading_type = heading_type or "0"
            if kind == "1":
                main = len(self.headings)
            self.headings.append(("A", auth, index_type, heading_type, self.forms.heading(display),
                                  cut_octets(display, 300), {"1": "A", "4": "S", "5": "R"}[kind], scope,
                                  None if kind == "1" else main))

    def finish(self, t, first_auth, auth_count):
        """Writes the rows into the tables t, the normal forms answered."""
        f = self.forms
        t.setdefault("BIB_INDEX", []).extend((bib, code, f[slot], display) for bib, code, slot, display in self.bib_index
                                            if f[slot])
        t.setdefault("AUTH_INDEX", []).extend((auth, code, f[slot], display)
                                             for auth, code, slot, display in self.auth_index if f[slot])
        suppressed = {bib for bib, _library, suppress in t.get("BIB_MASTER", []) if not (suppress or "").startswith("N")}

        ids = {}
        heading_id_of = []
        for kind, record, index_type, heading_type, slot, display, *_ in self.headings:
            key = (index_type, heading_type, f[slot])
            heading_id_of.append(ids.setdefault(key, len(ids) + 1) if f[slot] else None)
        bibs_of = {i: set() for i in ids.values()}
        refs_of = {i: 0 for i in ids.values()}
        bib_heading, auth_heading = [], []
        for n, (kind, record, _it, _ht, _slot, display, reference_type, scope, main) in enumerate(self.headings):
            heading_id = heading_id_of[n]
            if heading_id is None:
                continue
            if kind == "B":
                if record not in bibs_of[heading_id]:
                    bibs_of[heading_id].add(record)
                    bib_heading.append((record, heading_id, display))
            else:
                pointee = heading_id_of[main] if main is not None else None
                auth_heading.append((record, heading_id, pointee, reference_type, scope, display))
                refs_of[heading_id] += 1
        t["HEADING"] = [(heading_id, index_type, heading_type, normal,
                         len(bibs_of[heading_id] - suppressed), len(bibs_of[heading_id]), refs_of[heading_id] or None)
                        for (index_type, heading_type, normal), heading_id in ids.items()]
        t["BIB_HEADING"] = bib_heading
        t["AUTH_HEADING"] = auth_heading

        subdiv_ids, subdiv_display = {}, {}
        bib_subdivision, heading_subdivision = set(), set()
        t["BIB_SUBDIVISION"], t["HEADING_SUBDIVISION"] = [], []
        for bib, heading, code, heading_type, slot, display in self.subdivisions:
            if not f[slot]:
                continue
            subdiv_id = subdiv_ids.setdefault((code, heading_type, f[slot]), len(subdiv_ids) + 1)
            subdiv_display.setdefault(subdiv_id, display)
            if (bib, subdiv_id) not in bib_subdivision:
                bib_subdivision.add((bib, subdiv_id))
                t["BIB_SUBDIVISION"].append((bib, subdiv_id, display))
            heading_id = heading_id_of[heading]
            if heading_id is not None and (heading_id, subdiv_id) not in heading_subdivision:
                heading_subdivision.add((heading_id, subdiv_id))
                t["HEADING_SUBDIVISION"].append((heading_id, subdiv_id))
        t["SUBDIVISION"] = [(subdiv_id, code, normal, "Y" if code in AUTHORIZED_SUBDIVISION_CODES else "N",
                             heading_type) for (code, heading_type, normal), subdiv_id in subdiv_ids.items()]
        # An authorized subdivision is established by an authority record of the library.
        t["AUTH_SUBDIVISION"] = [(first_auth + (subdiv_id - 1) % auth_count, subdiv_id, "A", subdiv_display[subdiv_id])
                                 for (code, _ht, _normal), subdiv_id in subdiv_ids.items()
                                 if code in AUTHORIZED_SUBDIVISION_CODES and auth_count > 0]
