#!/usr/bin/env bash
# MARC-8 records loaded as UTF-8, against yaz. First runs the differential test
# (the records of testdata/marc8_differential, written in MARC-8 by yaz, loaded
# with CharacterSetIn "M" and CharacterSetOut "U" and compared field by field
# with yaz's own UTF-8 reading of them); then copies the same records, repeated
# to 50,000, through MarcRecordIn and MarcRecordOut with bench/iso2709_copy.cpp
# (sets "M" in, "U" out) and through
# `yaz-marcdump -f MARC-8 -t UTF-8 -i marc -o marc`; best of three runs each.
# Prints both rates and the ratio (yaz's time over ours).
# Usage: scripts/bench_marc8.sh [RECORDS]
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/bench_records.sh
bench_build iso2709_copy
cmake --build build --target marc_tests
build/bin/marc_tests --gtest_filter='Marc8Differential.*'

records=${1:-50000}
work=build/bench-marc8
mkdir -p "$work"
input="$work/marc8-$records.mrc"
[ -f "$input" ] || repeat_records testdata/marc8_differential/records.mrc "$records" "$input"

ours=$(best build/bin/iso2709_copy "$input" "$work/ours.mrc" M U)
yaz=$(best sh -c "yaz-marcdump -f MARC-8 -t UTF-8 -i marc -o marc '$input' > '$work/yaz.mrc'")
build/bin/iso2709_copy "$input" "$work/ours.mrc" M U
report_rates "$records" "$ours" "$yaz"
