#!/usr/bin/env bash
# Writes the MARCXML of 100,000 records (Debian's sample records microlif.001,
# specials.001 and sample-marc repeated, leader/09 set to "a" by yaz so that
# neither side translates) with bench/marcxml_write, and the same file with
# `yaz-marcdump -i marc -o marcxml`; best of three runs each, output to
# /dev/null. Prints the times and two ratios, yaz's time over ours (1.0 or
# more means ours is no slower):
#   whole command: read, load and write, against yaz's whole run;
#   XMLRecordOut(0) alone (records loaded first, the load not timed),
#   against yaz's whole run.
# Usage: scripts/bench_marcxml.sh [RECORDS]
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/bench_records.sh
bench_build marcxml_write

records=${1:-100000}
work=build/bench-marcxml
input="$work/records-$records.mrc"
mkdir -p "$work"
if [ ! -f "$input" ]; then
  : > "$work/samples.mrc"
  for f in /usr/share/doc/libmarc-perl/examples/microlif.001 /usr/share/doc/libmarc-perl/examples/specials.001; do
    yaz-marcdump -i marc -o marc -l 9=97 "$f" >> "$work/samples.mrc"
  done
  zcat /usr/share/doc/idzebra-2.0/examples/marc21/sample-marc.gz > "$work/sample-marc.mrc"
  yaz-marcdump -i marc -o marc -l 9=97 "$work/sample-marc.mrc" >> "$work/samples.mrc" 2>/dev/null || true
  python3 - "$work/samples.mrc" "$input" "$records" <<'PY'
import sys
samples = [r + b"\x1d" for r in open(sys.argv[1], "rb").read().split(b"\x1d") if r.strip(b"\x00")]
n = int(sys.argv[3])
with open(sys.argv[2], "wb") as out:
    for i in range(n):
        out.write(samples[i % len(samples)])
PY
fi

ours=$(best sh -c "build/bin/marcxml_write '$input' 2>/dev/null")
yaz=$(best yaz-marcdump -i marc -o marcxml "$input")
# XMLRecordOut alone: the best of three of the time the command reports.
xml=""
for _ in 1 2 3; do
  t=$(build/bin/marcxml_write "$input" 2>&1 > /dev/null | sed 's/.*xml_seconds //')
  xml=$(python3 -c "import sys; t=float(sys.argv[1]); b=sys.argv[2]; print(t if b=='' or t<float(b) else b)" "$t" "$xml")
done
python3 - "$records" "$ours" "$xml" "$yaz" <<'PY'
import sys
n, ours, xml, yaz = int(sys.argv[1]), float(sys.argv[2]), float(sys.argv[3]), float(sys.argv[4])
print(f"records {n}")
print(f"yaz-marcdump -o marcxml:        {yaz:.3f} s, {yaz * 1e6 / n:.2f} us/record")
print(f"ours, whole command:            {ours:.3f} s, {ours * 1e6 / n:.2f} us/record")
print(f"ours, XMLRecordOut(0) alone:    {xml:.3f} s, {xml * 1e6 / n:.2f} us/record")
print(f"ratio, whole command (target 1): {yaz / ours:.2f}")
print(f"ratio, XMLRecordOut(0) (target 3): {yaz / xml:.2f}")
PY
