#!/usr/bin/env bash
# Reads a file of 100,000 real UTF-8 records (Debian's sample MARCXML
# collections turned into ISO 2709 by yaz, repeated) with the file reader to
# its end, and the same file with `yaz-marcdump -n` (reads and checks every
# record, prints nothing); best of three runs each. Prints both rates and the
# ratio (1.0 or more means ours is no slower per record), then the reader's
# peak resident size for 1,000 records and for the whole file, which must be
# about the same: the reader holds one record and one block, never the file;
# and the same with each record loaded into one record object and written out,
# which keeps its tables from one record to the next.
# Usage: scripts/bench_marc_file.sh [RECORDS]
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/bench_records.sh
bench_build marc_file_read

records=${1:-100000}
work=build/bench-iso2709
bench_records "$records" "$work/records-$records.mrc"
bench_records 1000 "$work/records-1000.mrc"
input="$work/records-$records.mrc"

ours=$(best build/bin/marc_file_read "$input")
yaz=$(best yaz-marcdump -n "$input")
report_rates "$records" "$ours" "$yaz"
for n in 1000 "$records"; do
  echo "peak resident size, $n records: $(build/bin/marc_file_read "$work/records-$n.mrc" | sed 's/.*peak_rss_kb //') KiB"
done
# The same with each record loaded into one record object and written out.
for n in 1000 "$records"; do
  echo "peak resident size, $n records loaded: $(build/bin/marc_file_read --load "$work/records-$n.mrc" | sed 's/.*peak_rss_kb //') KiB"
done
