#!/usr/bin/env bash
# Loads a file of 100,000 real UTF-8 records (Debian's sample MARCXML
# collections turned into ISO 2709 by yaz, repeated) and times TextRaw of
# every record (the loading is not timed), beside `yaz-marcdump FILE`, which
# reads and prints every record as text; best of three runs each. Prints both
# rates and the ratio (1.0 or more means formatting alone is no slower per
# record than yaz's whole read and print).
# Usage: scripts/bench_text_raw.sh [RECORDS]
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/bench_records.sh
bench_build text_raw_file

records=${1:-100000}
work=build/bench-iso2709
bench_records "$records" "$work/records-$records.mrc"
input="$work/records-$records.mrc"

ours=""
for _ in 1 2 3; do
  t=$(build/bin/text_raw_file "$input" | sed 's/.* seconds \([0-9.]*\) .*/\1/')
  ours=$(python3 -c "import sys; t=float(sys.argv[1]); b=sys.argv[2]; print(t if b=='' or t<float(b) else b)" "$t" "$ours")
done
yaz=$(best yaz-marcdump "$input")
report_rates "$records" "$ours" "$yaz"
