#!/usr/bin/env bash
# Builds the search benchmark, makes the library of 100,000 stored
# bibliographic records with their index rows (120,000 holdings, 10,000
# authorities; once, in build/bench-records, shared with scripts/bench.sh) and
# runs the reader's searches on it: each search form's median with the first
# 20 rows fetched, the rows each term matches, and the check that every
# statement searches an index.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target bench_searches normal_forms sqlite_compat

records_library=build/bench-records
records=${BENCH_RECORDS:-100000}
# Made again when the record count changed, or when it was made before the
# generator wrote the index rows.
if [ ! -f "$records_library/library.db" ] || [ "$(cat "$records_library/records" 2>/dev/null)" != "$records indexed" ]; then
  driver=$(sed -n 's/^Driver=//p' build/odbc/odbcinst.ini | head -n 1)
  python3 tools/demo/make_demo.py --schema testdata/library_schema.sql --driver "$driver" \
    --extension build/lib/libcompat.so --normal-forms build/bin/normal_forms --out "$records_library" \
    --items 1000 --records "$records"
  echo "$records indexed" > "$records_library/records"
fi
EXITDESK_BENCH_RECORDS=$PWD/$records_library build/bin/bench_searches "$@"
