#!/usr/bin/env bash
# UTF-8 records set to MARC-8, against yaz. First runs the differential test
# (UTF-8 records written to MARC-8 by this system and read back by
# `yaz-marcdump -f marc8 -t utf8`, field by field); then loads 100,000 real
# UTF-8 records (Debian's sample MARCXML collections turned into ISO 2709 by
# yaz, repeated) with CharacterSetOut "M" and writes them with
# bench/iso2709_copy.cpp (sets "U" in, "M" out), and copies the same file with
# `yaz-marcdump -f UTF-8 -t MARC-8 -i marc -o marc`; best of three runs each.
# Prints both rates and the ratio (yaz's time over ours).
# Usage: scripts/bench_utf8_to_marc8.sh [RECORDS]
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/bench_records.sh
bench_build iso2709_copy
cmake --build build --target marc_tests
build/bin/marc_tests --gtest_filter='Utf8ToMarc8Differential.*:*Utf8FieldToMarc8*:TranslateUtf82MarcOneField.*:TranslateRecordUtf8ToMarc8.*'

records=${1:-100000}
work=build/bench-utf8-to-marc8
bench_records "$records" "$work/records-$records.mrc"
input="$work/records-$records.mrc"

ours=$(best build/bin/iso2709_copy "$input" "$work/ours.mrc" U M)
yaz=$(best sh -c "yaz-marcdump -f UTF-8 -t MARC-8 -i marc -o marc '$input' > '$work/yaz.mrc'")
build/bin/iso2709_copy "$input" "$work/ours.mrc" U M
report_rates "$records" "$ours" "$yaz"
