#!/usr/bin/env bash
# Turns the MARCXML fixtures of the ISO 2709 tests into ISO 2709 with yaz
# (Debian package `yaz`), leader/09 "a": testdata/iso2709/utf8_records.xml
# becomes utf8_records.mrc. The output is committed; builds never run this.
set -euo pipefail
cd "$(dirname "$0")/../testdata/iso2709"
yaz-marcdump -i marcxml -o marc -l 9=97 utf8_records.xml > utf8_records.mrc
