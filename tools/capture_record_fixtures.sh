#!/usr/bin/env bash
# Makes the record fixtures of testdata/records/ from Debian's sample records
# (idzebra-2.0-examples: 43 bibliographic records and 20 name authorities in
# MARCXML; libmarc-perl: microlif.001) with yaz-marcdump. Run once; the
# output is committed and the demo generator varies it.
#
#   bib-utf8.mrc, auth-utf8.mrc    UTF-8, decomposed, leader/09 "a"; six
#                                  bibliographic records carry 880 fields in
#                                  Cyrillic, Greek and CJK
#   bib-marc8.mrc, auth-marc8.mrc  the same records in MARC-8 (marks before
#                                  the base letter), leader/09 blank
#   microlif.mrc                   the records of microlif.001 (MARC-8, ASCII)
set -euo pipefail
cd "$(dirname "$0")/.."
out=testdata/records
examples=/usr/share/doc/idzebra-2.0/examples/marcxml
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

zcat "$examples/collection-opera-43.xml.gz" > "$work/bib.xml"
zcat "$examples/collection-namemrc.xml.gz" > "$work/auth.xml"
yaz-marcdump -i marcxml -o marc -t utf-8 "$work/bib.xml" > "$work/bib.mrc"
yaz-marcdump -i marcxml -o marc -t utf-8 "$work/auth.xml" > "$work/auth.mrc"

python3 - "$work" <<'PY'
import sys, unicodedata
work = sys.argv[1]
sys.path.insert(0, "tools/demo")
from make_demo import parse_record, build_record

def parse(data):
    for raw in data.split(b"\x1d")[:-1]:
        leader, fields = parse_record(raw + b"\x1d")
        yield leader, fields

def build(leader, fields):
    return build_record(leader[:9] + b"a" + leader[10:], fields)

def nfd(b):
    return unicodedata.normalize("NFD", b.decode("utf-8")).encode("utf-8")

SCRIPTS = [
    ("(N", "Чайковский, Пётр Ильич", "Евгений Онегин : лирические сцены"),
    ("(S", "Θεοδωράκης, Μίκης", "Ζορμπάς ο Έλληνας : μπαλέτο"),
    ("$1", "松本, 清張", "蝶々夫人 : 歌劇"),
]
for kind in ("bib", "auth"):
    records = []
    for n, (leader, fields) in enumerate(parse(open("%s/%s.mrc" % (work, kind), "rb").read())):
        fields = [(t, nfd(c)) for t, c in fields]
        if kind == "bib" and n < 6:
            script, name, title = SCRIPTS[n % 3]
            # 100 and 245 get a $6 to an 880 in another script.
            out, linked = [], []
            for tag, content in fields:
                if tag in ("100", "245"):
                    occurrence = "%02d" % (len(linked) + 1)
                    linked.append((tag, occurrence))
                    content = content[:2] + ("\x1f6880-" + occurrence).encode() + content[2:]
                out.append((tag, content))
            for tag, occurrence in linked:
                text = name if tag == "100" else title
                ind = "1 " if tag == "100" else "10"
                out.append(("880", nfd((ind + "\x1f6" + tag + "-" + occurrence + "/" + script + "\x1fa" + text).encode())))
            fields = out
        records.append(build(leader, fields))
    open("%s/%s-utf8.mrc" % (work, kind), "wb").write(b"".join(records))
PY

for kind in bib auth; do
  cp "$work/$kind-utf8.mrc" "$out/$kind-utf8.mrc"
  yaz-marcdump -i marc -o marc -f utf-8 -t marc8 -l 9=32 "$work/$kind-utf8.mrc" > "$out/$kind-marc8.mrc"
done
python3 - /usr/share/doc/libmarc-perl/examples/microlif.001 "$out/microlif.mrc" <<'PY'
import sys
records = [r for r in open(sys.argv[1], "rb").read().split(b"\x1d") if r[:5].isdigit()]
open(sys.argv[2], "wb").write(b"".join(r + b"\x1d" for r in records))
PY
