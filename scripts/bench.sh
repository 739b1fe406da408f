#!/usr/bin/env bash
# Builds the benchmarks, makes a library of one million items with the demo
# generator (once; kept in build/bench-library), and runs the exit-check
# benchmark: the whole road from barcode to verdict, without the window. Then
# makes a library of 100,000 stored bibliographic records (120,000 holdings,
# 10,000 authorities; once, in build/bench-records) and runs the reader's
# record look-ups on it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build

library=build/bench-library
items=${BENCH_ITEMS:-1000000}
# Made again when the item count changed, or when its data source is of an
# older kind that lets the driver create a missing database.
if [ ! -f "$library/library.db" ] || [ "$(cat "$library/items" 2>/dev/null)" != "$items" ] ||
   ! grep -qx 'NoCreat=1' "$library/odbc.ini" 2>/dev/null; then
  driver=$(sed -n 's/^Driver=//p' build/odbc/odbcinst.ini | head -n 1)
  python3 tools/demo/make_demo.py --schema testdata/library_schema.sql --driver "$driver" \
    --extension build/lib/libcompat.so --normal-forms build/bin/normal_forms --out "$library" --items "$items" --sample-barcodes 20000
  echo "$items" > "$library/items"
fi
EXITDESK_BENCH_LIBRARY=$PWD/$library build/bin/bench_exit_check "$@"

records_library=build/bench-records
records=${BENCH_RECORDS:-100000}
if [ ! -f "$records_library/library.db" ] || [ "$(cat "$records_library/records" 2>/dev/null)" != "$records indexed" ]; then
  driver=$(sed -n 's/^Driver=//p' build/odbc/odbcinst.ini | head -n 1)
  python3 tools/demo/make_demo.py --schema testdata/library_schema.sql --driver "$driver" \
    --extension build/lib/libcompat.so --normal-forms build/bin/normal_forms --out "$records_library" --items 1000 --records "$records"
  echo "$records indexed" > "$records_library/records"
fi
EXITDESK_BENCH_RECORDS=$PWD/$records_library build/bin/bench_record_retrieval "$@"
