#!/usr/bin/env bash
# Copies a file of 100,000 real UTF-8 records (Debian's sample MARCXML
# collections turned into ISO 2709 by yaz, repeated) through MarcRecordIn and
# MarcRecordOut, and the same file through `yaz-marcdump -i marc -o marc`;
# best of three runs each. Prints both rates and the ratio (ours per record
# against yaz's: 1.0 or more means ours is no slower).
# Usage: scripts/bench_iso2709.sh [RECORDS]
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/bench_records.sh
bench_build iso2709_copy

records=${1:-100000}
work=build/bench-iso2709
bench_records "$records" "$work/records-$records.mrc"
input="$work/records-$records.mrc"

ours=$(best build/bin/iso2709_copy "$input" "$work/ours.mrc")
yaz=$(best sh -c "yaz-marcdump -i marc -o marc '$input' > '$work/yaz.mrc'")
build/bin/iso2709_copy "$input" "$work/ours.mrc"
report_rates "$records" "$ours" "$yaz"
